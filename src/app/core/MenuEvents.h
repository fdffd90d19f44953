// The numbered menu events the windows' keyboard shortcuts deliver (registered by WindowSet,
// received through forms::Window::menuEvent). Handlers switch over these names, never over
// bare numbers.
#pragma once

namespace app {

// Main window.
enum class MainMenuEvent : int {
    EndEditing = 1,            // Escape
    EditInjectionMap = 2,      // F5
    EditAirTempCurve = 3,      // F6
    EditIgnition = 4,          // F8
    ShowHelp = 20,             // F1
    PadDescription = 21,       // Return
    EditEngineTempCurve = 41,  // F7
    BlockUp = 43,              // F3
    BlockDown = 44,            // F4
    TypeValue = 49,            // F9
    ExpertMode = 50,           // Control + Option + E
    Quit = 60,                 // F10
    QuitCommand = 61,          // the platform's Quit command
    ShowHistory = 70,          // F2
    CentreWindows = 100,       // Shift + F1
};

// The windows with input fields.
enum class FieldMenuEvent : int {
    TakeOver = 1,        // Return
    TakeOverKeypad = 2,  // keypad Enter
    LeaveTest = 3,       // Escape in the test window
    StartPowerRun = 11,  // F11 in the power comparison window
    StopPowerRun = 12,   // F12 in the power comparison window
};

}  // namespace app
