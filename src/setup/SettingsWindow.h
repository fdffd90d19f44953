// The settings window: shows and edits the KVT's scalar setup values in the SetupRecord, takes
// its input fields over all at once, and shows the sensor voltages while it is open.
#pragma once

#include "forms/Einstellungendialog.h"
#include "setup/SetupRecord.h"

#include <QObject>
#include <array>
#include <functional>

namespace forms {
class FieldBinding;
class TakeOver;
class Window;
}  // namespace forms

namespace setup {

class SettingsWindow final : public QObject {
    Q_OBJECT
public:
    // Values other windows show and that follow every take-over at once.
    struct Followers {
        // Main window, beside "Begrenzer (": limiter speed in rpm and retard in °KW.
        std::function<void(int rpm, int retard)> limiterShown;
        // Test window: coil charge time in µs and sensor angle in °KW.
        std::function<void(int coilMicros, int sensorAngle)> testValuesShown;
        // Main window live panel.
        std::function<void()> refreshLivePanel;
    };

    SettingsWindow(forms::Window& window, SetupRecord& record, Followers followers = {},
                   QObject* parent = nullptr);
    ~SettingsWindow() override;

    // Fill every control from the record (also after a whole setup replacement).
    void refill();
    // Read, convert, limit and write back every input field in the window's order.
    void takeOver();
    // "Messwert:" column, volts of engine temperature, intake air and throttle sensors.
    void showSensorVoltages(const std::array<double, 3>& volts);

    // settingsWindowShown: the polling cycle reads the sensor voltages while it is set.
    bool shown() const { return m_shown; }

    forms::Einstellungendialog& form() { return m_form; }
    forms::TakeOver& takeOverMechanism();

private:
    void bindFields();
    void connectChoices();
    void notifyFollowers();

    forms::Window& m_window;
    SetupRecord& m_record;
    Followers m_followers;
    forms::Einstellungendialog m_form;
    forms::FieldBinding* m_fields = nullptr;  // in take-over order
    bool m_shown = false;
};

}  // namespace setup
