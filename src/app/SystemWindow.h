// The system window: edits the program's own preferences (ProgramSettings), resizes the
// logger's table, erases the KVT's EEPROM on request and brings windows back to the centre.
#pragma once

#include "app/core/Dialogs.h"
#include "app/core/MessageLog.h"
#include "app/core/ProgramSettings.h"
#include "app/core/WindowTable.h"
#include "forms/systemdialog.h"

#include <QObject>
#include <functional>

namespace forms {
class FieldBinding;
class TakeOver;
class Window;
}  // namespace forms

namespace logger {
class LogTable;
}

namespace app {

class WindowSet;

class SystemWindow final : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        // Main window and big display, after the lambda or learn-limit boxes or a take-over.
        std::function<void()> refreshDisplays;
        // Logger window: position 1, scroll range and "1 / " + capacity, chart redrawn.
        std::function<void(qint64 capacity)> loggerCapacityChanged;
        std::function<void(int ms)> comPeriodChanged;
        std::function<void(int ms)> loggerPeriodChanged;
        // Link state, and "X", 20 ms, 3 (the sender logs "EEPROM loeschen").
        std::function<bool()> identified;
        std::function<void()> eraseEeprom;
        // "Setup-Historie ...": opens the history window.
        std::function<void()> showHistory;
    };

    SystemWindow(WindowSet& windows, ProgramSettings& settings, Dialogs& dialogs, MessageLog& log,
                 logger::LogTable& logTable, Hooks hooks, QObject* parent = nullptr);
    ~SystemWindow() override;

    // Fill every control from the settings (at start-up and after they changed elsewhere).
    void refill();
    // Read, convert, limit and write back every field in the window's order.
    void takeOver();
    // "EEPROM löschen".
    void eraseEepromClicked();
    // A window-position button: restore, resize where fixed, centre, keep its shown state.
    void centreWindow(WindowId id);

    forms::Systemdialog& form() { return m_form; }
    forms::TakeOver& takeOverMechanism();

private:
    void bindFields();
    void takeOverLogger(const QString& text);
    void showLoggerEstimate();
    void showLambdaWarning();
    void connectBoxes();
    void refreshDisplays();

    WindowSet& m_windows;
    forms::Window& m_window;
    ProgramSettings& m_settings;
    Dialogs& m_dialogs;
    MessageLog& m_log;
    logger::LogTable& m_logTable;
    Hooks m_hooks;
    forms::Systemdialog m_form;
    forms::FieldBinding* m_fields = nullptr;  // in take-over order
};

}  // namespace app
