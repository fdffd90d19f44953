// Drawing of a correction curve over temperature.
#include "maps/CurveScene.h"

#include "maps/CellMarks.h"

namespace maps {

Scene curveScene(const CurveValues& values, bool pos, double temperature, const ViewCursor& cursor,
                 int width, int height)
{
    Scene scene;
    scene.width = width;
    scene.height = height;
    scene.frameKey = QStringLiteral("curve %1 %2").arg(width).arg(height);
    const CurveProjection p = curveProjection(width, height);
    const Rgb black = colours::axis;

    scene.lines.append({p.at(0, 0), p.at(16, 0), black});
    scene.lines.append({p.at(0, 0), p.at(0, 150) - QPointF(0, 3), black});
    // Every second tick is labelled, centred under it with two steps of room.
    const double step = p.at(1, 0).x() - p.at(0, 0).x();
    for (int i = 0; i <= 16; ++i) {
        const QPointF base = p.at(i, 0);
        scene.lines.append({base, base + QPointF(0, 5), black});
        if (i % 2 == 0)
            scene.texts.append({base + QPointF(0, 16), QString::number(temperatureReadout(i)),
                                black, true, 2 * step - 2});
    }
    scene.texts.append({p.at(16, 0) + QPointF(step - 5, 16), QStringLiteral("°C"), black});
    for (int v : {0, 50, 100, 150}) {
        const QPointF at = p.at(0, v);
        scene.lines.append({at, at - QPointF(5, 0), black});
        scene.texts.append({QPointF(2, at.y() + 4), leftAligned(correctionReadout(v), 3), black});
    }
    scene.texts.append({p.at(0, 150) + QPointF(5, 3), QStringLiteral("%"), black});

    for (int i = 0; i < 16; ++i)
        scene.lines.append({p.at(i, values[size_t(i)]), p.at(i + 1, values[size_t(i + 1)]),
                            colours::line, Part::Cell, i, 0, i + 1, 0});

    if (pos && curveMarkerShown(temperature)) {
        const double x = curveMarkerPosition(temperature);
        scene.lines.append({p.at(x, 0), p.at(x, 150), colours::marker, Part::LiveMarker});
    }

    addCellMarks(scene, cursor, 17, 1,
                 [&](CellAt c) { return p.at(c.column, values[size_t(c.column)]); });
    if (cursor.shown && cursor.speedIndex >= 0 && cursor.speedIndex <= 16) {
        const QPointF at = p.at(cursor.speedIndex, values[size_t(cursor.speedIndex)]);
        scene.circles.append({at, 3, colours::highlight, false, Part::Cursor});
        scene.circles.append({at, 4, colours::highlight, false, Part::Cursor});
    }
    return scene;
}

}  // namespace maps
