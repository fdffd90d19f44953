// Drawing the big display on its 640 × 480 virtual surface: the static picture and the values.
// The whole picture is drawn as vectors on the scaled surface, so it stays crisp at any size.
#pragma once

#include "app/core/ProgramSettings.h"
#include "link/LiveRecord.h"
#include "setup/SetupRecord.h"

#include <QColor>
#include <QList>
#include <QRectF>
#include <QSize>
#include <QTransform>

class QPainter;

namespace display {

struct BigDisplayState {
    devlink::LiveRecord record;
    int maximum = 0;  // largest shown speed since the last reset
    int sensorErrors = 0;
    QColor background{240, 240, 240};
};

// A text of the picture as drawn: the rectangle of its ink on the virtual surface.
struct PlacedText {
    QString text;
    QRectF ink;
};
// The texts one painting drew, for checks that none covers another or leaves the surface.
using TextLog = QList<PlacedText>;

// From the virtual surface to a canvas of the given size in pixels (scaled by height / 480).
QTransform surfaceTransform(QSize pixels);

// Draws everything on p, whose coordinates are already the virtual units. Every text keeps to
// its box: one too wide for it is drawn smaller. With a log, each drawn text is noted in it.
void paintBigDisplay(QPainter& p, const BigDisplayState& state,
                     const app::ProgramSettings& settings, const setup::SetupRecord& setup,
                     TextLog* log = nullptr);
// The two halves: the static picture (background, dial, labels, state rows), drawn once per
// size and setup, and the values drawn over it on every tick.
void paintBigDisplayBackground(QPainter& p, const QColor& background,
                               const app::ProgramSettings& settings,
                               const setup::SetupRecord& setup, TextLog* log = nullptr);
void paintBigDisplayValues(QPainter& p, const BigDisplayState& state,
                           const app::ProgramSettings& settings, const setup::SetupRecord& setup,
                           TextLog* log = nullptr);

}  // namespace display
