// Drawing the big display on its 640 × 480 virtual surface: the static picture and the values.
// The whole picture is drawn as vectors on the scaled surface, so it stays crisp at any size.
#pragma once

#include "app/core/ProgramSettings.h"
#include "link/LiveRecord.h"
#include "setup/SetupRecord.h"

#include <QColor>

class QPainter;

namespace display {

struct BigDisplayState {
    devlink::LiveRecord record;
    int maximum = 0;  // largest shown speed since the last reset
    int sensorErrors = 0;
    QColor background{240, 240, 240};
};

// Draws everything on p, whose coordinates are already the virtual units.
void paintBigDisplay(QPainter& p, const BigDisplayState& state,
                     const app::ProgramSettings& settings, const setup::SetupRecord& setup);
// The two halves: the static picture (background, dial, labels, state rows), drawn once per
// size and setup, and the values drawn over it on every tick.
void paintBigDisplayBackground(QPainter& p, const QColor& background,
                               const app::ProgramSettings& settings,
                               const setup::SetupRecord& setup);
void paintBigDisplayValues(QPainter& p, const BigDisplayState& state,
                           const app::ProgramSettings& settings, const setup::SetupRecord& setup);

}  // namespace display
