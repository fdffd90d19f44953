// Selection, difference marks and cell points of a scene.
#include "maps/CellMarks.h"

#include <QLineF>

namespace maps {

void addCellMarks(Scene& scene, const ViewCursor& marks, int columns, int rows,
                  const std::function<QPointF(CellAt)>& pointOf)
{
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            scene.points.append({{c, r}, pointOf({c, r})});

    for (const CellAt& cell : marks.differing)
        scene.circles.append({pointOf(cell), 2.5, differenceColour, true, Part::Difference});

    if (!marks.selection)
        return;
    const CellRect& sel = *marks.selection;
    auto edge = [&](CellAt a, CellAt b) {
        scene.lines.append({pointOf(a), pointOf(b), selectionColour, Part::Selection, a.column,
                            a.row, b.column, b.row});
    };
    // The outline runs along the rectangle's four edges over the drawn values.
    for (int c = sel.column0; c < sel.column1; ++c) {
        edge({c, sel.row0}, {c + 1, sel.row0});
        if (sel.row1 != sel.row0)
            edge({c, sel.row1}, {c + 1, sel.row1});
    }
    for (int r = sel.row0; r < sel.row1; ++r) {
        edge({sel.column0, r}, {sel.column0, r + 1});
        if (sel.column1 != sel.column0)
            edge({sel.column1, r}, {sel.column1, r + 1});
    }
    for (int r = sel.row0; r <= sel.row1; ++r)
        for (int c = sel.column0; c <= sel.column1; ++c)
            scene.circles.append({pointOf({c, r}), 1.5, selectionColour, true, Part::Selection});
}

std::optional<CellAt> cellNear(const Scene& scene, QPointF at)
{
    constexpr double reach = 12;
    std::optional<CellAt> best;
    double bestDistance = reach;
    for (const CellPoint& p : scene.points) {
        const double d = QLineF(p.at, at).length();
        if (d <= bestDistance) {
            bestDistance = d;
            best = p.cell;
        }
    }
    return best;
}

}  // namespace maps
