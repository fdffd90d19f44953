// Which map views are redrawn after a pass of the main loop: the views that follow the live
// point or whose own box was just used.
#pragma once

#include "maps/MapEditor.h"

#include <array>

namespace maps {

// The check box that produced the last control event of the main window, if any.
enum class LastControl {
    None,
    InjectionStart,
    InjectionPos,
    InjectionKapp,
    AirTempPos,
    EngineTempPos,
    IgnitionPos
};

struct RedrawPass {
    bool identified = false;    // the KVT is identified (a poll ran)
    bool shortcutUsed = false;  // a keyboard shortcut of the main window was used
    bool wheelTurned = false;   // the mouse wheel over the injection view
    LastControl lastControl = LastControl::None;
    std::array<ViewBoxes, 4> boxes{};
};

// Indexed by View.
std::array<bool, 4> viewsToRedraw(const RedrawPass& pass);

}  // namespace maps
