// Which map views are redrawn after a pass of the main loop.
#include "maps/RedrawRules.h"

namespace maps {

std::array<bool, 4> viewsToRedraw(const RedrawPass& pass)
{
    std::array<bool, 4> out{};
    if (!pass.identified && !pass.shortcutUsed && !pass.wheelTurned)
        return out;
    const auto& inj = pass.boxes[size_t(View::Injection)];
    out[size_t(View::Injection)] = inj.autoFollow || inj.pos || inj.kapp || pass.wheelTurned ||
                                   pass.shortcutUsed ||
                                   pass.lastControl == LastControl::InjectionStart ||
                                   pass.lastControl == LastControl::InjectionPos ||
                                   pass.lastControl == LastControl::InjectionKapp;
    auto other = [&](View view, LastControl own) {
        const auto& b = pass.boxes[size_t(view)];
        return b.autoFollow || b.pos || pass.shortcutUsed || pass.lastControl == own;
    };
    out[size_t(View::AirTemp)] = other(View::AirTemp, LastControl::AirTempPos);
    out[size_t(View::EngineTemp)] = other(View::EngineTemp, LastControl::EngineTempPos);
    out[size_t(View::Ignition)] = other(View::Ignition, LastControl::IgnitionPos);
    return out;
}

}  // namespace maps
