// Drawing of a correction curve over temperature (intake air or engine).
#pragma once

#include "maps/Scene.h"

#include <array>

namespace maps {

using CurveValues = std::array<quint8, 17>;

// temperature is the live value of the curve's sensor; the marker needs pos.
Scene curveScene(const CurveValues& values, bool pos, double temperature, const ViewCursor& cursor,
                 int width = canvasWidth, int height = curveCanvasHeight);

}  // namespace maps
