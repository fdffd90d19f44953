// The program's windows: creation order, design sizes and title texts.
#pragma once

#include <QString>
#include <array>

namespace app {

// In the order the windows are created at start-up.
enum class WindowId {
    Main,
    Settings,
    Test,
    Help,
    Expert,
    System,
    Learn,
    BigDisplay,
    PowerComparison,
    Logger,
    LambdaLogger,
    History,
    SetupCompare,
};

struct WindowInfo {
    WindowId id;
    int width;
    int height;
    const char16_t* titleSuffix;
    bool resizeLimited;  // user may resize only between 100 x 100 and the design size
};

inline constexpr std::array<WindowInfo, 13> windowTable{{
    {WindowId::Main, 830, 755, u" - Zünd- & Einspritzsteuerung", true},
    {WindowId::Settings, 750, 755, u" - Einstellungen", true},
    {WindowId::Test, 900, 575, u" - Test", true},
    {WindowId::Help, 640, 480, u" - Hilfe", true},
    {WindowId::Expert, 950, 535, u" - Expertfenster... FINGER WEG!", true},
    {WindowId::System, 600, 530, u" - Systemeinstellungen", true},
    {WindowId::Learn, 505, 305, u" - Lern-Modus", true},
    {WindowId::BigDisplay, 640, 480, u" - Grossbild", false},
    {WindowId::PowerComparison, 905, 760, u" - Leistungsvergleich", true},
    {WindowId::Logger, 920, 605, u" - Logger", false},
    {WindowId::LambdaLogger, 755, 485, u" - Lambdalogger", true},
    {WindowId::History, 820, 520, u" - Setup-Historie", false},
    {WindowId::SetupCompare, 700, 600, u" - Setup-Vergleich", false},
}};

inline const WindowInfo& windowInfo(WindowId id)
{
    return windowTable[static_cast<int>(id)];
}

// The ten windows whose geometry the settings file keeps, in the file's order.
inline constexpr std::array<WindowId, 10> storedWindowOrder{
    WindowId::Main,   WindowId::BigDisplay,   WindowId::Logger, WindowId::PowerComparison,
    WindowId::Learn,  WindowId::Settings,     WindowId::Test,   WindowId::System,
    WindowId::Expert, WindowId::LambdaLogger,
};

}  // namespace app
