// The editor's marks drawn over a map or curve: the selected block as a yellow outline with a
// dot on each of its cells, the cells that differ from a reference as magenta dots, and the
// drawn point of every cell for the mouse.
#pragma once

#include "maps/Scene.h"

#include <functional>

namespace maps {

inline constexpr Rgb selectionColour{255, 255, 0};
inline constexpr Rgb differenceColour{255, 0, 255};

// pointOf gives the canvas point of a cell's value; rows is 9 for the maps, 1 for the curves.
void addCellMarks(Scene& scene, const ViewCursor& marks, int columns, int rows,
                  const std::function<QPointF(CellAt)>& pointOf);

}  // namespace maps
