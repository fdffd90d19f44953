// The running program: creates the subsystems and windows, wires them together, and runs
// start-up and shutdown. It does no subsystem's work itself.
#pragma once

#include "app/DeviceLambdaLink.h"
#include "app/MainLoop.h"
#include "app/WindowSet.h"
#include "app/core/Dialogs.h"
#include "app/core/MessageLog.h"
#include "app/core/ProgramSettings.h"
#include "display/BigDisplayWindow.h"
#include "display/MainWindow.h"
#include "forms/Hauptdialog.h"
#include "forms/hilfedialog.h"
#include "history/CompareWindow.h"
#include "history/HistoryWindow.h"
#include "history/SetupHistory.h"
#include "lambda/LambdaLogger.h"
#include "lambda/LambdaWindow.h"
#include "link/DeviceLink.h"
#include "link/PortList.h"
#include "link/SetupTransfer.h"
#include "logger/LogTable.h"
#include "maps/LinkAdapters.h"
#include "maps/MapPanel.h"
#include "setup/SetupRecord.h"
#include "setup/SetupStore.h"
#include "test/SensorWatch.h"

#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

namespace setup {
class SettingsWindow;
class ExpertWindow;
}  // namespace setup
namespace kvttest {
class TestWindow;
}
namespace maps {
class LearnWindow;
}
namespace logger {
class LogRecorder;
class LoggerWindow;
}  // namespace logger

namespace power {
class PowerWindow;
}  // namespace power

namespace app {

class LinkViewHub;
class SystemWindow;
class FirmwareArea;

class Motrix final : public QObject {
    Q_OBJECT
public:
    // ports opens the serial devices (the machine's own by default; tests pass a fake).
    Motrix(Dialogs& dialogs, QString programDirectory, devlink::PortFactory ports = {});
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
    display::MainWindow& mainWindow() { return *m_mainWindow; }
    logger::LogTable& logTable() { return m_logTable; }
    logger::LogRecorder& recorder() { return *m_recorder; }
    logger::LoggerWindow& loggerWindow() { return *m_loggerWindow; }
    SystemWindow& systemWindow() { return *m_systemWindow; }
    FirmwareArea& firmwareArea() { return *m_firmwareArea; }
    setup::SettingsWindow& settingsWindow() { return *m_settingsWindow; }
    maps::LearnWindow& learnWindow() { return *m_learnWindow; }
    kvttest::TestWindow& testWindow() { return *m_testWindow; }
    setup::ExpertWindow& expertWindow() { return *m_expertWindow; }
    power::PowerWindow& powerWindow() { return *m_powerWindow; }
    setup::SetupRecord& setupRecord() { return m_document.record; }
    devlink::DeviceLink& link() { return *m_link; }
    devlink::SetupTransfer& setupTransfer() { return *m_transfer; }
    setup::SetupStore& setupStore() { return m_setupStore; }
    maps::MapPanel& mapKeys() { return *m_mapKeys; }
    kvttest::SensorWatch& sensorWatch() { return m_sensorWatch; }
    lambda::LambdaLogger& lambdaLogger() { return *m_lambdaLogger; }
    lambda::LambdaWindow& lambdaWindow() { return *m_lambdaWindow; }
    display::BigDisplayWindow& bigDisplay() { return *m_bigDisplay; }
    display::EmergencyNotice& emergencyNotice() { return *m_emergencyNotice; }
    const QString& programDirectory() const { return m_programDirectory; }
    history::SetupHistory& setupHistory() { return m_history; }
    history::HistoryWindow& historyWindow() { return *m_historyWindow; }
    history::CompareWindow& compareWindow() { return *m_compareWindow; }
    // "Wiederherstellen": the entry's block and description replace the setup as "Laden" does
    // (windows refilled, views redrawn, warnings); nothing is sent to the KVT.
    void restoreFromHistory(const history::Entry& entry);

    // Logger capacity: reserves capacity + 1 rows; on failure falls back to 3600 with its box.
    void reserveLoggerCapacity();

    // Source of the port list; defaults to the serial ports of the machine.
    void setPortLister(std::function<QStringList()> lister);
    void setPortScanner(std::function<devlink::PortScan()> scanner)
    {
        m_portScanner = std::move(scanner);
    }
    // Rebuilds the port box (start-up and "verf. Ports ?").
    devlink::PortScan refreshPortList();
    // "verf. Ports ?": the same, and help when no port can be used.
    void refreshPortListOnRequest();

private:
    void applySettings();
    void collectSettings();
    void handleMainMenuEvent(int number);
    // The windows and watchers that follow what the polling cycle reads.
    void createPowerWindow();
    void subscribeToLink();
    void wireSetupActions();
    void createTestAndExpertWindows();
    void wireTick();
    void createLogger();
    // The lambda logger, the big display and the emergency notice (MotrixDisplays.cpp).
    void createLiveDisplays();
    // Every tick after the poll: big display, lambda grid, emergency notice.
    void refreshLiveDisplays();
    // After the setup was replaced as a whole: every window showing setup values is refilled.
    void refillSetupWindows();
    // The live panel again, after a setting it depends on changed.
    void refreshLivePanel();
    void saveSetupFile();
    void loadSetupFile();
    // The history: opened at start-up, one entry per setup read, written, stored, loaded, saved.
    void createHistory();
    void openHistory();
    void recordHistory(history::Event event, const QString& path = {});
    // The windows after the setup was replaced from a file or the history.
    void showReplacedSetup();

    Dialogs& m_dialogs;
    QString m_programDirectory;
    // The setup in the KVT as far as the program knows: read from it or written to it, and
    // every cell sent since; nothing before the first read.
    std::optional<setup::SetupRecord> m_kvtSetup;
    MessageLog m_log;
    ProgramSettings m_settings;
    WindowSet m_windows;
    forms::Hauptdialog m_mainForm;
    std::unique_ptr<display::MainWindow> m_mainWindow;
    forms::Hilfedialog m_helpForm;
    logger::LogTable m_logTable;
    MainLoop m_loop;
    std::function<devlink::PortScan()> m_portScanner;
    std::unique_ptr<SystemWindow> m_systemWindow;
    std::unique_ptr<FirmwareArea> m_firmwareArea;
    // The one SetupRecord of the program, with the description and the loaded file's origin.
    setup::SetupDocument m_document;
    std::unique_ptr<devlink::DeviceLink> m_link;
    std::unique_ptr<devlink::SetupTransfer> m_transfer;
    setup::SetupStore m_setupStore;
    // Edited map cells go to the KVT through the link.
    std::unique_ptr<maps::DeviceCellLink> m_cells;
    // The map views, their check boxes and read-outs, and the main window's keys.
    std::unique_ptr<maps::MapPanel> m_mapKeys;
    // The windows that edit the setup's scalar values and the learn fields.
    std::unique_ptr<setup::SettingsWindow> m_settingsWindow;
    std::unique_ptr<maps::LearnWindow> m_learnWindow;
    std::unique_ptr<kvttest::TestWindow> m_testWindow;
    std::unique_ptr<setup::ExpertWindow> m_expertWindow;
    std::unique_ptr<power::PowerWindow> m_powerWindow;
    std::unique_ptr<LinkViewHub> m_linkView;
    // Trigger-wheel checks and sensor errors of every poll, shown by the test window.
    kvttest::SensorWatch m_sensorWatch{m_document.record, m_settings};
    // The data logger and its window.
    std::unique_ptr<logger::LogRecorder> m_recorder;
    std::unique_ptr<logger::LoggerWindow> m_loggerWindow;
    // The lambda logger reads and clears the KVT's table through the link.
    std::unique_ptr<DeviceLambdaLink> m_lambdaLink;
    std::unique_ptr<lambda::LambdaLogger> m_lambdaLogger;
    std::unique_ptr<lambda::LambdaWindow> m_lambdaWindow;
    std::unique_ptr<display::BigDisplayWindow> m_bigDisplay;
    std::unique_ptr<display::EmergencyNotice> m_emergencyNotice;
    history::SetupHistory m_history;
    std::unique_ptr<history::CompareWindow> m_compareWindow;
    std::unique_ptr<history::HistoryWindow> m_historyWindow;
};

}  // namespace app
