// The four map and curve views and the edit modes that select them.
#pragma once

#include <array>
#include <optional>

namespace maps {

enum class EditMode {
    None = 0,
    InjectionMap = 1,
    AirTempCurve = 2,
    Ignition = 3,
    EngineTempCurve = 4
};

// The four views, in the order of the main window.
enum class View { Injection = 0, AirTemp = 1, EngineTemp = 2, Ignition = 3 };
inline constexpr std::array<View, 4> allViews{View::Injection, View::AirTemp, View::EngineTemp,
                                              View::Ignition};
EditMode editModeOf(View view);
std::optional<View> viewOf(EditMode mode);

// The maps have 17 speed columns and 9 throttle rows, the curves 17 temperature points.
inline bool isMapView(View view)
{
    return view == View::Injection || view == View::Ignition;
}

}  // namespace maps
