// Geometry and colours of the map and curve views.
#include "maps/ViewGeometry.h"

#include "setup/EntryRules.h"

#include <algorithm>
#include <cmath>

namespace maps {

MapProjection mapProjection(int width, int height, int ymax)
{
    MapProjection p;
    p.originX = 120;
    p.originY = height - 30;
    p.dx = (width - 160) / 16;
    p.k = ymax > 0 ? double(height - 135) / ymax : 0;
    return p;
}

int injectionYmax(const setup::SetupRecord& record, bool capped, int cap)
{
    if (capped)
        return std::clamp(cap, 200, 60000);
    const int largest = *std::max_element(record.injectionMap.begin(), record.injectionMap.end());
    return std::clamp(largest, 100, 60000);
}

QList<int> injectionValueTicks(int ymax)
{
    QList<int> ticks;
    const int step = ymax / 8;
    if (step <= 0)
        return ticks;
    for (int v = 0; v < ymax; v += step)
        ticks.append(v);
    return ticks;
}

QList<int> ignitionValueTicks()
{
    return {0, 9, 18, 27, 36, 45};
}

int injectionWarnLimit(int speedIndex, int warnPercent, int maxDeadTime)
{
    if (speedIndex <= 0)
        return 100000;
    return int(std::trunc(600.0 * warnPercent / speedIndex - maxDeadTime));
}

int largestDeadTime(const setup::SetupRecord& record)
{
    return *std::max_element(record.injectorDeadTime.begin(), record.injectorDeadTime.end());
}

Rgb injectionCellColour(int value, int warnLimit, bool blockShown, int speedIndex,
                        int throttleIndex, int cursorSpeed, int cursorThrottle)
{
    if (value > warnLimit)
        return colours::warning;
    if (blockShown && speedIndex < cursorSpeed && throttleIndex < cursorThrottle)
        return colours::block;
    return colours::line;
}

LiveCell interpolateAt(const CellValue& cell, double rpmForMaps, double throttle)
{
    // Negative inputs cannot come from the KVT's unsigned bytes; they are held at the axes so
    // that the cell indices always stay on the map.
    const double sp = std::max(0.0, rpmForMaps / 1000);
    const double tp = std::max(0.0, throttle / 12.5);
    LiveCell c;
    c.s = int(sp);
    c.fs = sp - c.s;
    c.t = int(tp);
    c.ft = tp - c.t;
    if (c.s > 15) {
        c.s = 15;
        c.fs = 0.99;
    }
    if (c.t > 7) {
        c.t = 7;
        c.ft = 0.99;
    }
    c.value = cell(c.s, c.t) * (1 - c.fs) * (1 - c.ft) + cell(c.s + 1, c.t) * c.fs * (1 - c.ft) +
              cell(c.s, c.t + 1) * (1 - c.fs) * c.ft + cell(c.s + 1, c.t + 1) * c.fs * c.ft;
    return c;
}

CurveProjection curveProjection(int width, int height)
{
    CurveProjection p;
    p.originX = 30;
    p.originY = height - 25;
    p.dx = (width - 55) / 16;
    return p;
}

bool curveMarkerShown(double temperature)
{
    return temperature > -20 && temperature < 140;
}

int throttleReadout(int throttleIndex)
{
    return int(setup::roundHalfEven(12.5 * throttleIndex));
}

QString leftAligned(int value, int width)
{
    return QStringLiteral("%1").arg(value, -width);
}

int wheelCap(int cap, bool up)
{
    return up ? std::min(cap + 200, 60000) : std::max(cap - 200, 200);
}

int autoSpeedIndex(double rpmForMaps)
{
    return std::clamp(int(std::floor((rpmForMaps + 500) / 1000)), 0, 16);
}

int autoThrottleIndex(double throttle)
{
    return std::clamp(int(std::floor((throttle + 6.25) / 12.5)), 0, 8);
}

int autoTempIndex(double temperature)
{
    return std::clamp(int(std::floor((temperature + 25) / 10)), 0, 16);
}

}  // namespace maps
