// The running program: creates the subsystems and windows, wires them together, and runs
// start-up and shutdown. It does no subsystem's work itself.
#pragma once

#include "app/Dialogs.h"
#include "app/MainLoop.h"
#include "app/MessageLog.h"
#include "app/ProgramSettings.h"
#include "app/WindowSet.h"
#include "forms/Hauptdialog.h"
#include "forms/hilfedialog.h"
#include "logger/LogTable.h"

#include <QObject>
#include <QStringList>
#include <functional>

namespace app {

class Motrix final : public QObject {
    Q_OBJECT
public:
    Motrix(Dialogs& dialogs, QString programDirectory);
    ~Motrix() override;

    struct StartOptions {
        bool startWindow = true;  // tests skip the start window
        bool screenCheck = true;
    };
    // Start-up up to the shown main window and the armed timers.
    void startUp(const StartOptions& options);
    // The orderly end: settings written, farewell logged, port closed.
    void shutDown();
    // startUp, the loop until the quit question is answered Ja, shutDown. Returns the exit code.
    int run();

    MessageLog& log() { return m_log; }
    ProgramSettings& settings() { return m_settings; }
    WindowSet& windows() { return m_windows; }
    MainLoop& loop() { return m_loop; }
    forms::Hauptdialog& mainForm() { return m_mainForm; }
    logger::LogTable& logTable() { return m_logTable; }
    const QString& programDirectory() const { return m_programDirectory; }

    // Logger capacity: reserves capacity + 1 rows; on failure falls back to 3600 with its box.
    void reserveLoggerCapacity();

    // Source of the port list; defaults to the serial ports of the machine.
    void setPortLister(std::function<QStringList()> lister) { m_portLister = std::move(lister); }
    void refreshPortList();

private:
    void applySettings();
    void collectSettings();
    void handleMainMenuEvent(int number);

    Dialogs& m_dialogs;
    QString m_programDirectory;
    MessageLog m_log;
    ProgramSettings m_settings;
    WindowSet m_windows;
    forms::Hauptdialog m_mainForm;
    forms::hilfedialog m_helpForm;
    logger::LogTable m_logTable;
    MainLoop m_loop;
    std::function<QStringList()> m_portLister;
};

}  // namespace app
