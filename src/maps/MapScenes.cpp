// Drawings of the injection map and the ignition map or curve.
#include "maps/MapScenes.h"

#include "maps/CellMarks.h"

#include <algorithm>

namespace maps {
namespace {

void addLine(Scene& scene, QPointF a, QPointF b, Rgb colour, Part part = Part::Frame)
{
    scene.lines.append({a, b, colour, part});
}

void addCellLine(Scene& scene, const MapProjection& p, Rgb colour, Part part, int s, int t,
                 double v, int s2, int t2, double v2)
{
    scene.lines.append({p.at(s, t, v), p.at(s2, t2, v2), colour, part, s, t, s2, t2});
}

void addText(Scene& scene, QPointF at, const QString& text)
{
    scene.texts.append({at, text, colours::axis});
}

// Base plane, axes, ticks and labels shared by both map views.
void mapFrame(Scene& scene, const MapProjection& p, int ymax, const QList<int>& valueTicks,
              const QString& unit)
{
    const Rgb black = colours::axis;
    addLine(scene, p.at(0, 0, 0), p.at(16, 0, 0), black);
    addLine(scene, p.at(0, 0, 0), p.at(0, 8, 0), black);
    addLine(scene, p.at(0, 8, 0), p.at(16, 8, 0), black);
    addLine(scene, p.at(16, 0, 0), p.at(16, 8, 0), black);

    // One speed step is only a few pixels wide: each label is centred under its tick and keeps
    // a pixel to either neighbour.
    const double step = p.at(1, 0, 0).x() - p.at(0, 0, 0).x();
    for (int s = 0; s <= 16; ++s) {
        const QPointF base = p.at(s, 0, 0);
        addLine(scene, base, base + QPointF(0, 5), black);
        scene.texts.append({base + QPointF(0, 17), QString::number(s), black, true, step - 2});
    }
    addText(scene, p.at(16, 0, 0) + QPointF(4, 4), QStringLiteral("kUmin"));

    for (int t = 0; t <= 8; ++t) {
        const QPointF base = p.at(0, t, 0);
        addLine(scene, base, base - QPointF(5, 0), black);
        if (t > 0 && t % 2 == 0)
            addText(scene, base + QPointF(-30, 14), QString::number(t * 25 / 2));
    }
    addText(scene, p.at(0, 8, 0) + QPointF(-6, 14), QStringLiteral("%"));

    // Value axis at the back left corner.
    const QPointF corner = p.at(0, 8, 0);
    addLine(scene, corner, p.at(0, 8, ymax), black);
    for (int v : valueTicks) {
        const QPointF at = p.at(0, 8, v);
        addLine(scene, at, at - QPointF(5, 0), black);
        addText(scene, QPointF(0, at.y() + 4), leftAligned(v, 5));
    }
    addText(scene, p.at(0, 8, ymax) + QPointF(4, 2), unit);
}

void cursorCircles(Scene& scene, QPointF at)
{
    scene.circles.append({at, 3, colours::highlight, false, Part::Cursor});
    scene.circles.append({at, 4, colours::highlight, false, Part::Cursor});
}

// Olive lines through the live point, the grey stalk up to the interpolated value.
void liveMarker(Scene& scene, const MapProjection& p, double speedPos, double throttlePos,
                double value)
{
    addLine(scene, p.at(speedPos, 0, 0), p.at(speedPos, 8, 0), colours::marker, Part::LiveMarker);
    addLine(scene, p.at(0, throttlePos, 0), p.at(16, throttlePos, 0), colours::marker,
            Part::LiveMarker);
    const QPointF top = p.at(speedPos, throttlePos, value);
    addLine(scene, p.at(speedPos, throttlePos, 0), top, colours::livePoint, Part::LiveMarker);
    scene.circles.append({top, 2, colours::livePoint, true, Part::LiveMarker});
}

double speedPosition(double rpmForMaps)
{
    return std::clamp(rpmForMaps, 0.0, 16000.0) / 1000;
}
double throttlePosition(double throttle)
{
    return std::max(0.0, throttle) / 12.5;
}

}  // namespace

Scene injectionScene(const setup::SetupRecord& record, const InjectionViewOptions& options,
                     const LivePoint& live, const ViewCursor& cursor, int width, int height)
{
    Scene scene;
    scene.width = width;
    scene.height = height;
    const int ymax = injectionYmax(record, options.kapp, options.cap);
    const MapProjection p = mapProjection(width, height, ymax);
    mapFrame(scene, p, ymax, injectionValueTicks(ymax), QStringLiteral("µs"));
    scene.frameKey = QStringLiteral("injection %1 %2 %3").arg(width).arg(height).arg(ymax);

    const int deadTime = largestDeadTime(record);
    auto value = [&](int s, int t) { return int(record.injectionCell(s, t)); };
    auto clipped = [&](int v1, int v2) {
        return options.kapp && (v1 > options.cap || v2 > options.cap);
    };
    for (int t = 0; t <= 8; ++t) {
        for (int s = 0; s <= 16; ++s) {
            const int v = value(s, t);
            const Rgb colour =
                injectionCellColour(v, injectionWarnLimit(s, options.warnPercent, deadTime),
                                    options.start, s, t, cursor.speedIndex, cursor.throttleIndex);
            if (t < 8 && !clipped(v, value(s, t + 1)))
                addCellLine(scene, p, colour, Part::Cell, s, t, v, s, t + 1, value(s, t + 1));
            if (s < 16 && !clipped(v, value(s + 1, t)))
                addCellLine(scene, p, colour, Part::Cell, s, t, v, s + 1, t, value(s + 1, t));
        }
    }

    if (options.pos) {
        const LiveCell c = interpolateAt(value, live.rpmForMaps, live.throttle);
        liveMarker(scene, p, speedPosition(live.rpmForMaps), throttlePosition(live.throttle),
                   c.value);
        const int corners[5][2] = {
            {c.s, c.t}, {c.s + 1, c.t}, {c.s + 1, c.t + 1}, {c.s, c.t + 1}, {c.s, c.t}};
        for (int i = 0; i < 4; ++i) {
            const int s1 = corners[i][0], t1 = corners[i][1];
            const int s2 = corners[i + 1][0], t2 = corners[i + 1][1];
            if (!clipped(value(s1, t1), value(s2, t2)))
                addCellLine(scene, p, colours::highlight, Part::LiveCell, s1, t1, value(s1, t1), s2,
                            t2, value(s2, t2));
        }
    }

    addCellMarks(scene, cursor, 17, 9,
                 [&](CellAt c) { return p.at(c.column, c.row, value(c.column, c.row)); });
    if (cursor.shown)
        cursorCircles(scene, p.at(cursor.speedIndex, cursor.throttleIndex,
                                  value(cursor.speedIndex, cursor.throttleIndex)));
    return scene;
}

Scene ignitionScene(const setup::SetupRecord& record, bool pos, const LivePoint& live,
                    const ViewCursor& cursor, int width, int height)
{
    Scene scene;
    scene.width = width;
    scene.height = height;
    const MapProjection p = mapProjection(width, height, ignitionYmax);
    mapFrame(scene, p, ignitionYmax, ignitionValueTicks(), QStringLiteral("°KW"));
    scene.frameKey = QStringLiteral("ignition %1 %2").arg(width).arg(height);

    // Any byte but 0 in the switch means "map on" (a file may carry a stray value).
    const int enabled = record.ignitionMapEnabled != 0 ? 1 : 0;
    auto value = [&](int s, int t) { return int(record.ignitionCell(s, t)); };
    for (int t = 8; t >= 0; --t) {
        const Rgb colour = (enabled == 0 && t > 0) ? colours::unused : colours::line;
        for (int s = 0; s <= 16; ++s) {
            const int v = value(s, t);
            if (t > 0)
                addCellLine(scene, p, colour, Part::Cell, s, t, v, s, t - 1, value(s, t - 1));
            if (s < 16)
                addCellLine(scene, p, colour, Part::Cell, s, t, v, s + 1, t, value(s + 1, t));
        }
    }

    if (pos) {
        const double throttle = live.throttle * enabled;
        const LiveCell c = interpolateAt(value, live.rpmForMaps, throttle);
        liveMarker(scene, p, speedPosition(live.rpmForMaps), throttlePosition(throttle), c.value);
        if (enabled) {
            const int corners[5][2] = {
                {c.s, c.t}, {c.s + 1, c.t}, {c.s + 1, c.t + 1}, {c.s, c.t + 1}, {c.s, c.t}};
            for (int i = 0; i < 4; ++i)
                addCellLine(scene, p, colours::highlight, Part::LiveCell, corners[i][0],
                            corners[i][1], value(corners[i][0], corners[i][1]), corners[i + 1][0],
                            corners[i + 1][1], value(corners[i + 1][0], corners[i + 1][1]));
        } else {
            addCellLine(scene, p, colours::highlight, Part::LiveCell, c.s, 0, value(c.s, 0),
                        c.s + 1, 0, value(c.s + 1, 0));
        }
    }

    addCellMarks(scene, cursor, 17, enabled ? 9 : 1,
                 [&](CellAt c) { return p.at(c.column, c.row, value(c.column, c.row)); });
    if (cursor.shown) {
        const int row = cursor.throttleIndex * enabled;
        cursorCircles(scene, p.at(cursor.speedIndex, row, value(cursor.speedIndex, row)));
    }
    return scene;
}

}  // namespace maps
