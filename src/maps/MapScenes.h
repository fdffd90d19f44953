// Drawings of the injection map and the ignition map or curve in the oblique projection.
#pragma once

#include "maps/Scene.h"
#include "setup/SetupRecord.h"

namespace maps {

struct InjectionViewOptions {
    bool pos = false;    // draw the live marker
    bool start = false;  // green block below and left of the cursor
    bool kapp = false;   // clip at the cap
    int cap = 200;       // injectionViewCap, µs
    int warnPercent = 85;
};

Scene injectionScene(const setup::SetupRecord& record, const InjectionViewOptions& options,
                     const LivePoint& live, const ViewCursor& cursor, int width = canvasWidth,
                     int height = mapCanvasHeight);

// The ignition view; its map switch is the record's ignitionMapEnabled.
Scene ignitionScene(const setup::SetupRecord& record, bool pos, const LivePoint& live,
                    const ViewCursor& cursor, int width = canvasWidth,
                    int height = mapCanvasHeight);

}  // namespace maps
