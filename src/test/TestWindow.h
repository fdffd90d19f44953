// The test window: fills the Testdialog form, runs its validation pass on Return and focus
// loss, starts the output tests on the runner, takes measured injector values into the setup,
// moves the sensor position, sets the ignition mode and shows the sensor checks of every poll.
#pragma once

#include "app/core/EventGate.h"
#include "forms/Testdialog.h"
#include "forms/Window.h"
#include "link/LinkTypes.h"
#include "link/LiveRecord.h"
#include "setup/SetupRecord.h"
#include "test/OutputTest.h"
#include "test/TestEntries.h"
#include "test/TriggerWheel.h"

#include <QObject>
#include <functional>
#include <optional>

namespace app {
class Dialogs;
}  // namespace app

namespace kvttest {

class TestWindow final : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        std::function<bool()> identified;
        std::function<bool()> portOpen;
        // "V": the caller keeps to an open port.
        std::function<void(int output, quint16 value)> switchOutput;
        // "W" index, value (sent only while identified by the link).
        std::function<void(int index, int value)> sendSetValue;
        std::function<void()> restartKvt;
        // The ignition mode byte of the last poll (255 = curve).
        std::function<int()> ignitionMode;
        std::function<devlink::DeviceIdentity()> identity;
        // HW, SW, BL stored with the loaded setup.
        std::function<std::array<QString, 3>()> loadedVersions;
        // The settings window shows coil time and sensor position again.
        std::function<void()> refillSettings;
    };

    // The estimate inputs live in settings: shown from there, and stored there by every
    // validation pass, so that the settings file keeps them.
    TestWindow(forms::Window& window, setup::SetupRecord& record, app::ProgramSettings& settings,
               app::Dialogs& dialogs, Hooks hooks);

    forms::Testdialog& form() { return m_form; }
    // Opening from the main window: fill every field, clear the check mark.
    void refill();
    // The validation pass over every field, then all results.
    void takeOver();
    // After every poll: sensor checks, ignition mode and current angle (only while shown).
    void liveRecord(const devlink::LiveRecord& record, const TriggerChecks& checks);

    // Coil time, sensor position, the identities and every result again (the setup changed
    // elsewhere, for example loaded from a file).
    void showResults();

    // While true, no other command may go to the KVT (the tick holds polling).
    bool testRunning() const { return m_runner.running(); }
    const TestValues& values() const { return m_values; }

private:
    void wire();
    // "Allgemeines": the identified KVT beside the identity stored with the loaded setup.
    void showIdentities();
    void startTest(QPushButton* button, TestSteps steps);
    void startFlowTest(int injector, bool longTest);
    void testFinished(bool aborted, bool portLost);
    void takeInjectorValues();
    void moveSensor(int delta);
    void chooseIgnitionMode(bool fromCurve);
    int repeats() const;

    forms::Window& m_window;
    setup::SetupRecord& m_record;
    app::ProgramSettings& m_settings;
    app::Dialogs& m_dialogs;
    Hooks m_hooks;
    forms::Testdialog m_form;
    TestValues m_values;
    std::array<InjectorFlow, injectors> m_flows{};
    OutputTestRunner m_runner;
    // Held while a test runs: the main loop runs no tick, so nothing else reaches the KVT.
    std::optional<app::EventGate::Hold> m_hold;
    QPushButton* m_testButton = nullptr;
    QString m_testCaption;
    bool m_flowTest = false;
    bool m_filling = false;
};

}  // namespace kvttest
