// Geometry and colours of the map and curve views as plain functions: the oblique projection
// of the two maps, the scales, value ticks, warning limits and the bilinear interpolation at
// the live operating point.
#pragma once

#include "app/core/Rgb.h"

#include "setup/SetupRecord.h"

#include <QList>
#include <QPointF>
#include <QString>
#include <functional>

namespace maps {

using app::Rgb;

namespace colours {
inline constexpr Rgb background{128, 128, 128};
inline constexpr Rgb axis{0, 0, 0};
inline constexpr Rgb line{0, 0, 255};
inline constexpr Rgb warning{255, 102, 0};
inline constexpr Rgb block{0, 150, 30};
inline constexpr Rgb highlight{255, 0, 0};   // cells around the live point, cursor circles
inline constexpr Rgb unused{255, 255, 255};  // ignition rows not used in curve mode
inline constexpr Rgb marker{127, 127, 0};
inline constexpr Rgb livePoint{127, 127, 127};
}  // namespace colours

// Canvas sizes of the views in the main window.
inline constexpr int canvasWidth = 385;
inline constexpr int mapCanvasHeight = 255;
inline constexpr int curveCanvasHeight = 100;

// Oblique projection of the two map views: speed runs right, each throttle step goes 10 pixels
// left and 10 up, a value v rises v × k pixels.
struct MapProjection {
    double originX = 120;
    double originY = 0;
    int dx = 0;    // pixels per 1000 rpm
    double k = 0;  // pixels per stored unit

    // Canvas point of (fractional) speed position s, throttle position t and value v.
    QPointF at(double s, double t, double v) const
    {
        return {originX + s * dx - 10 * t, originY - 10 * t - v * k};
    }
};

// The projection for a canvas of width × height whose value axis ends at ymax.
MapProjection mapProjection(int width, int height, int ymax);

// Value range of the injection view: the largest cell (100..60000), or the cap with "kapp".
int injectionYmax(const setup::SetupRecord& record, bool capped, int cap);
// Ticks of the injection view's value axis: every multiple of ymax div 8 below ymax.
QList<int> injectionValueTicks(int ymax);
// The ignition view's fixed value axis.
inline constexpr int ignitionYmax = 50;
QList<int> ignitionValueTicks();

// Injection time above which a cell of speed column s is drawn orange: warnPercent % of one
// revolution at s × 1000 rpm less the largest dead time, truncated; column 0 never warns.
int injectionWarnLimit(int speedIndex, int warnPercent, int maxDeadTime);
int largestDeadTime(const setup::SetupRecord& record);

// Colour of an injection map cell (and the segments starting at it).
Rgb injectionCellColour(int value, int warnLimit, bool blockShown, int speedIndex,
                        int throttleIndex, int cursorSpeed, int cursorThrottle);

// Enclosing cell and interpolated map value at a live operating point.
struct LiveCell {
    int s = 0;  // lower speed index, 0..15
    int t = 0;  // lower throttle index, 0..7
    double fs = 0;
    double ft = 0;
    double value = 0;
};
using CellValue = std::function<double(int speedIndex, int throttleIndex)>;
LiveCell interpolateAt(const CellValue& cell, double rpmForMaps, double throttle);

// Correction curve views: origin (30, H − 25), 0.45 pixels per stored unit.
struct CurveProjection {
    double originX = 30;
    double originY = 0;
    int dx = 0;
    static constexpr double scale = 0.45;
    QPointF at(double i, double v) const { return {originX + i * dx, originY - scale * v}; }
};
CurveProjection curveProjection(int width, int height);
// The curve marker is drawn only strictly inside the curve's temperature range.
bool curveMarkerShown(double temperature);
// Marker position in temperature steps from −20 °C.
inline double curveMarkerPosition(double temperature)
{
    return (temperature + 20) / 10;
}

// Read-out numbers.
inline int speedReadout(int speedIndex)
{
    return 1000 * speedIndex;
}
int throttleReadout(int throttleIndex);  // 12.5 × index, halves to even: 0, 12, 25, 38, ...
inline int temperatureReadout(int tempIndex)
{
    return 10 * tempIndex - 20;
}
inline int correctionReadout(int stored)
{
    return stored + 85;
}

// The number left-aligned in a field of the given width ("12   ").
QString leftAligned(int value, int width);

// injectionViewCap after one wheel step (up raises by 200 to 60000, down lowers to 200).
int wheelCap(int cap, bool up);

// Map "auto" cursor for the live values: column and row of the nearest breakpoints.
int autoSpeedIndex(double rpmForMaps);
int autoThrottleIndex(double throttle);
// Curve "auto" cursor, limited to 0..16.
int autoTempIndex(double temperature);

}  // namespace maps
