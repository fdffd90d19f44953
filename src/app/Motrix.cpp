#include "app/Motrix.h"

#include "app/FirmwareArea.h"
#include "app/LinkViewHub.h"
#include "app/StartWindow.h"
#include "app/SystemWindow.h"
#include "app/core/MenuEvents.h"
#include "app/core/SettingsStore.h"
#include "forms/Lamp.h"
#include "link/PortDetails.h"
#include "link/PortHelp.h"
#include "link/PosixSerialPort.h"
#include "logger/LogRecorder.h"
#include "logger/LoggerWindow.h"
#include "maps/LearnWindow.h"
#include "maps/ViewGeometry.h"
#include "power/PowerWindow.h"
#include "setup/ExpertWindow.h"
#include "setup/SettingsWindow.h"
#include "setup/SetupBlock.h"
#include "setup/SetupWarnings.h"
#include "test/TestWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace app {

Motrix::Motrix(Dialogs& dialogs, QString programDirectory, devlink::PortFactory ports)
    : m_dialogs(dialogs), m_programDirectory(std::move(programDirectory)),
      m_log(m_programDirectory), m_loop(dialogs), m_setupStore(dialogs, m_log, m_programDirectory)
{
    setup::SetupRecord& record = m_document.record;
    m_logTable.resize(100);
    m_link = std::make_unique<devlink::DeviceLink>(
        m_log, ports ? std::move(ports) : devlink::PosixSerialPort::factory());
    m_link->setSetupReadWanted([this] { return m_settings.readSetupAfterIdentification; });
    m_transfer = std::make_unique<devlink::SetupTransfer>(*m_link, m_log, m_dialogs, record);
    m_cells = std::make_unique<maps::DeviceCellLink>(*m_link);

    m_mainForm.setupUi(m_windows[WindowId::Main].content());
    m_mainWindow = std::make_unique<display::MainWindow>(
        m_windows[WindowId::Main], m_mainForm,
        [this](WindowId id) -> forms::Window& { return m_windows[id]; }, m_settings);
    m_mainWindow->showLimiter(record);
    m_helpForm.setupUi(m_windows[WindowId::Help].content());
    m_log.setStatusSink([this](const QString& text) { m_mainForm.statusLine->setText(text); });

    SystemWindow::Hooks systemHooks;
    systemHooks.refreshDisplays = [this] {
        refreshLivePanel();
        m_lambdaWindow->drawAxes();
    };
    systemHooks.comPeriodChanged = [this](int ms) { m_loop.setComPeriod(ms); };
    systemHooks.loggerPeriodChanged = [this](int ms) { m_loop.setLoggerPeriod(ms); };
    // No "X" while the boot loader owns the line.
    systemHooks.identified = [this] { return m_link->identified() && !m_link->firmwareBusy(); };
    systemHooks.eraseEeprom = [this] { m_link->commands().eraseEeprom(); };
    systemHooks.loggerCapacityChanged = [this](qint64) { m_recorder->capacityChanged(); };
    systemHooks.showHistory = [this] { m_windows[WindowId::History].open(); };
    m_systemWindow = std::make_unique<SystemWindow>(m_windows, m_settings, m_dialogs, m_log,
                                                    m_logTable, std::move(systemHooks));
    m_firmwareArea = std::make_unique<FirmwareArea>(m_systemWindow->form(), *m_link, m_dialogs,
                                                    m_log, m_programDirectory);

    m_mapKeys = std::make_unique<maps::MapPanel>(
        maps::MapPanel::Windows{m_windows[WindowId::Main], m_windows[WindowId::Help],
                                m_windows[WindowId::System], m_windows[WindowId::Expert]},
        m_mainForm, &m_helpForm, record, m_settings, m_dialogs, m_log, *m_cells);
    m_mapKeys->setIdentifiedSource([this] { return m_link->identified(); });
    maps::MapPanel::CompareHooks compare;
    compare.kvtSetup = [this] { return m_kvtSetup ? &*m_kvtSetup : nullptr; };
    compare.startDirectory = [this] { return m_setupStore.directory(); };
    compare.cellSent = [this](const maps::CellCommand& command) {
        if (m_kvtSetup)
            maps::setStoredCell(*m_kvtSetup, command.view, command.cell, command.value);
    };
    compare.showComparison = [this](const setup::SetupRecord& reference, const QString& name,
                                    bool fromFile) {
        m_compareWindow->compare({QStringLiteral("Setup in der Motrix"), m_document.record},
                                 {name, reference},
                                 fromFile ? setup::CompareScope::File : setup::CompareScope::Block);
    };
    m_mapKeys->setCompareHooks(std::move(compare));
    // The switch goes to the KVT with "X" 5 as it is clicked (the map panel's handler runs
    // first and sends it).
    connect(m_mainForm.ignitionMapCheck, &QCheckBox::clicked, this, [this] {
        if (m_kvtSetup && m_link->identified() && !m_link->firmwareBusy())
            m_kvtSetup->ignitionMapEnabled = m_document.record.ignitionMapEnabled;
    });

    setup::SettingsWindow::Followers followers;
    followers.limiterShown = [this](int, int) { m_mainWindow->showLimiter(m_document.record); };
    followers.refreshLivePanel = [this] { refreshLivePanel(); };
    followers.testValuesShown = [this](int, int) {
        if (m_testWindow)
            m_testWindow->showResults();
    };
    m_settingsWindow = std::make_unique<setup::SettingsWindow>(m_windows[WindowId::Settings],
                                                               record, std::move(followers));

    maps::LearnWindow::Hooks learnHooks;
    learnHooks.identified = [this] { return m_link->identified(); };
    learnHooks.sendLearnSwitch = [this](int value) { m_link->commands().sendSetValue(8, value); };
    learnHooks.refreshLivePanel = [this] { refreshLivePanel(); };
    learnHooks.redrawInjectionView = [this] { m_mapKeys->redrawView(maps::View::Injection); };
    m_learnWindow = std::make_unique<maps::LearnWindow>(m_windows[WindowId::Learn], record,
                                                        std::move(learnHooks));

    createTestAndExpertWindows();
    createLiveDisplays();
    createPowerWindow();

    m_linkView = std::make_unique<LinkViewHub>(m_mainForm, *m_mainWindow, m_dialogs);
    m_link->setView(m_linkView.get());
    subscribeToLink();
    // Reads the setup after every identification while "Setup automatisch von KVT einlesen" is on.
    m_transfer->readAfterIdentification();

    forms::Window& main = m_windows[WindowId::Main];
    main.setCloseHandler([this] { m_loop.requestQuit(); });
    connect(&main, &forms::Window::menuEvent, this, &Motrix::handleMainMenuEvent);
    connect(m_mainForm.refreshPortsButton, &QPushButton::clicked, this,
            &Motrix::refreshPortListOnRequest);
    m_portScanner = [this] {
        return devlink::scanPorts(devlink::PosixSerialPort::factory(), QStringLiteral("/dev/"),
                                  m_link->portOpen() ? m_link->portName() : QString());
    };

    createLogger();
    createHistory();
    wireSetupActions();
    wireTick();
}

void Motrix::createTestAndExpertWindows()
{
    kvttest::TestWindow::Hooks test;
    test.identified = [this] { return m_link->identified(); };
    test.portOpen = [this] { return m_link->portOpen(); };
    test.switchOutput = [this](int output, quint16 value) {
        m_link->commands().switchOutput(output, value);
    };
    test.sendSetValue = [this](int index, int value) {
        m_link->commands().sendSetValue(index, value);
    };
    test.restartKvt = [this] { m_link->commands().restartKvt(); };
    test.ignitionMode = [this] { return m_link->liveRecord().ignitionMode; };
    test.identity = [this] { return m_link->identity(); };
    test.loadedVersions = [this] {
        const setup::SetupOrigin& o = m_document.loadedOrigin;
        return std::array<QString, 3>{o.hardware, o.software, o.bootLoader};
    };
    test.refillSettings = [this] { m_settingsWindow->refill(); };
    m_testWindow = std::make_unique<kvttest::TestWindow>(
        m_windows[WindowId::Test], m_document.record, m_settings, m_dialogs, std::move(test));

    setup::ExpertWindow::Hooks expert;
    expert.identified = [this] { return m_link->identified(); };
    expert.sendCalibrationByte = [this](quint8 value) {
        m_link->commands().sendCalibrationByte(value);
    };
    expert.resetClockOffset = [this] { m_link->requestClockOffsetReset(); };
    expert.nowMs = [this] { return m_link->line().clock().nowMs(); };
    expert.clockOffset = [this] { return m_link->clockOffset(); };
    m_expertWindow = std::make_unique<setup::ExpertWindow>(m_windows[WindowId::Expert],
                                                           m_document.record, std::move(expert));
}

void Motrix::createPowerWindow()
{
    power::PowerWindow::Hooks hooks;
    hooks.nowMs = [] { return devlink::systemClock().nowMs(); };
    hooks.dataInterval = [this] { return int(m_settings.powerSampleInterval); };
    hooks.minSpeed = [this] { return int(m_settings.powerMinSpeed); };
    hooks.printText = [this] { return m_settings.printoutText; };
    hooks.limiterSpeed = [this] { return m_document.record.limiterSpeed * 100; };
    hooks.hardware = [this] { return m_link->identity().hw; };
    hooks.software = [this] { return m_link->identity().sw; };
    m_powerWindow = std::make_unique<power::PowerWindow>(m_windows[WindowId::PowerComparison],
                                                         m_dialogs, m_log, std::move(hooks));
}

void Motrix::subscribeToLink()
{
    devlink::LinkFeed& feed = m_link->feed();
    // Every (interval + 1)-th record of a power run becomes a sample.
    feed.onLiveRecord([this](const devlink::LiveRecord& record) {
        if (m_powerWindow->measuring())
            m_powerWindow->liveSample(record.rpmForMaps, record.timeStamp);
    });
    feed.onLiveRecord([this](const devlink::LiveRecord& record) {
        m_mainWindow->showLiveValues(record);
        // The views mark the live point; an edited view with "auto" ticked moves its cursor.
        m_mapKeys->setLivePoint(maps::livePointOf(record));
        m_mapKeys->followLive(
            maps::autoSpeedIndex(record.rpmForMaps), maps::autoThrottleIndex(record.throttle),
            maps::autoTempIndex(record.airTemp), maps::autoTempIndex(record.engineTemp));
        m_sensorWatch.liveRecord(record);
        m_testWindow->liveRecord(record, m_sensorWatch.checks());
        m_expertWindow->liveRecord(record.rpmForMaps, record.timeStamp, record.teethSeen,
                                   record.toothPeriod, record.gapPeriod);
        // "Vitaldaten lesen" records whether the lambda window is shown or not.
        m_lambdaLogger->onLiveRecord(record);
    });
    // "P" only while the expert window is shown.
    feed.want(devlink::OnDemand::ExpertValues, [this] { return m_expertWindow->shown(); });
    feed.onExpertValues([this](const QByteArray& data) { m_expertWindow->expertValues(data); });
    // The learn window writes the cells into the SetupRecord and redraws the injection view.
    feed.want(devlink::OnDemand::LearnedMap, [this] { return m_learnWindow->learnedMapWanted(); });
    feed.onLearnedMap(
        [this](const devlink::LearnedMap& map) { m_learnWindow->learnedMapRead(map); });
    feed.want(devlink::OnDemand::SensorVoltages, [this] { return m_settingsWindow->shown(); });
    feed.onSensorVoltages([this](const devlink::SensorVoltages& volts) {
        m_settingsWindow->showSensorVoltages(volts);
    });
}

void Motrix::createLogger()
{
    logger::LogRecorder::Hooks hooks;
    hooks.clockMs = [this] { return m_link->line().clock().nowMs(); };
    hooks.startTimer = [this](int ms) { m_loop.setLoggerPeriod(ms); };
    hooks.firmwareBusy = [this] { return m_link->firmwareBusy(); };
    hooks.identified = [this] { return m_link->identified(); };
    hooks.hw = [this] { return m_link->identity().hw; };
    hooks.sw = [this] { return m_link->identity().sw; };
    m_recorder = std::make_unique<logger::LogRecorder>(m_logTable, m_settings, m_dialogs, m_log,
                                                       m_programDirectory, std::move(hooks));
    logger::LoggerWindow::Hooks windowHooks;
    windowHooks.identified = [this] { return m_link->identified(); };
    windowHooks.injectorDeadTimeUs = [this] { return m_document.record.injectorDeadTime[0]; };
    windowHooks.quickStartSpeed = [this] { return m_document.record.quickStartSpeed; };
    windowHooks.capacityChanged = [this](qint64) { m_systemWindow->refill(); };
    m_loggerWindow = std::make_unique<logger::LoggerWindow>(m_windows[WindowId::Logger],
                                                            *m_recorder, std::move(windowHooks));
    // The tick records the live values published last, whether or not a poll came since.
    m_link->feed().onLiveRecord(
        [this](const devlink::LiveRecord& record) { m_recorder->takeLiveRecord(record); });
}

void Motrix::wireSetupActions()
{
    display::MainWindow::Actions& actions = m_mainWindow->actions();
    actions.readSetup = [this] { m_transfer->readSetup(); };
    actions.writeSetup = [this] {
        if (m_transfer->writeSetup()) {
            m_kvtSetup = m_document.record;
            m_mapKeys->setupWritten();
            recordHistory(history::Event::KvtWrite);
        }
    };
    actions.storeSetup = [this] {
        if (m_transfer->storeSetup())
            recordHistory(history::Event::EepromStore);
    };
    actions.clearMapReadouts = [this] { m_mapKeys->clearReadouts(); };
    actions.saveSetup = [this] { saveSetupFile(); };
    actions.loadSetup = [this] { loadSetupFile(); };

    // "-> PC" and the read after identification alike; the KVT's block has no description.
    m_transfer->setReplacedHook([this] {
        m_kvtSetup = m_document.record;
        m_mapKeys->setupReplaced();
        refillSetupWindows();
        recordHistory(history::Event::KvtRead);
    });
    m_setupStore.setReplacedHook([this] {
        showReplacedSetup();
        recordHistory(history::Event::FileLoad, m_document.loadedFileName);
    });
}

void Motrix::showReplacedSetup()
{
    m_mainWindow->setDescription(m_document.description);
    m_mainWindow->showSetupFileName(m_document.loadedFileName);
    m_mapKeys->setupFileLoaded();
    m_mapKeys->setupReplaced();
    refillSetupWindows();
}

void Motrix::createHistory()
{
    m_compareWindow = std::make_unique<history::CompareWindow>(m_windows[WindowId::SetupCompare]);
    m_historyWindow = std::make_unique<history::HistoryWindow>(
        m_windows[WindowId::History], m_history, *m_compareWindow, m_dialogs,
        [this](const history::Entry& entry) { restoreFromHistory(entry); });
}

void Motrix::openHistory()
{
    const history::OpenResult opened = m_history.open(m_programDirectory);
    if (opened.message.isEmpty())
        return;
    m_log.logMessage(opened.ok ? QStringLiteral("Setup-Historie neu angelegt")
                               : QStringLiteral("Setup-Historie nicht verfügbar"));
    m_dialogs.message(QStringLiteral("Setup-Historie"), opened.message);
}

void Motrix::recordHistory(history::Event event, const QString& path)
{
    if (!m_history.isOpen())
        return;
    history::KvtIdentity kvt;
    if (m_link->identified()) {
        const devlink::DeviceIdentity& id = m_link->identity();
        kvt = {id.deviceType, id.hw, id.sw, id.bl, id.restartCount};
    }
    // The description field as it stands: it names what was written or saved.
    const QString description =
        event == history::Event::KvtRead ? QString() : m_mainWindow->description();
    // A failed entry never stops the transfer or the save it belongs to; the log says so.
    if (m_history.record(event, kvt, path, description,
                         setup::encodeSetupBlock(m_document.record)) == 0)
        m_log.logMessage(QStringLiteral("Setup-Historie: Eintrag nicht gespeichert (") +
                         m_history.lastError() + QStringLiteral(")"));
    m_historyWindow->historyChanged();
}

void Motrix::restoreFromHistory(const history::Entry& entry)
{
    m_document.record = setup::decodeSetupBlock(entry.block);
    m_document.description = entry.description;
    m_document.loadedOrigin = setup::makeSetupOrigin(
        entry.kvt.deviceType, entry.kvt.hw, entry.kvt.sw, entry.kvt.bl, entry.kvt.restarts);
    m_document.loadedFileName = entry.path;
    showReplacedSetup();
    m_log.logMessage(QStringLiteral("Setup Nr. ") + QString::number(entry.id) +
                     QStringLiteral(" aus der Setup-Historie geladen"));
    setup::showSetupWarnings(m_document.record, m_dialogs);
}

void Motrix::refillSetupWindows()
{
    m_settingsWindow->refill();
    m_learnWindow->refill();
    m_testWindow->showResults();
    m_mainWindow->showLimiter(m_document.record);
    refreshLivePanel();
}

void Motrix::refreshLivePanel()
{
    // A setup or settings value changed: the big display's static picture may show it.
    m_bigDisplay->redrawBackground();
    // Before the first poll the record holds no values worth showing.
    if (m_link->identified())
        m_mainWindow->showLiveValues(m_link->liveRecord());
}

void Motrix::saveSetupFile()
{
    m_document.description = m_mainWindow->description();
    if (m_setupStore.save(m_document, devlink::setupOriginOf(m_link->identity())) ==
        setup::SetupStore::Outcome::Done)
        recordHistory(history::Event::FileSave,
                      QDir(m_setupStore.directory()).filePath(m_setupStore.fileName()));
}

void Motrix::loadSetupFile()
{
    m_document.description = m_mainWindow->description();
    m_setupStore.load(m_document);
}

void Motrix::wireTick()
{
    TickHooks& hooks = m_loop.hooks();
    // While an output test runs nothing else may reach the KVT: identification and polling wait.
    // The boot-loader probe reads its answer before the identification flushes the line and
    // probes after an "I" that went unanswered.
    hooks.connectStep = [this] {
        if (m_testWindow->testRunning())
            return;
        m_firmwareArea->beforeConnectStep();
        m_link->connectStep();
        m_firmwareArea->afterConnectStep();
    };
    hooks.comTicked = [this] { return m_mainForm.comCheck->isChecked(); };
    hooks.identified = [this] { return m_link->identified(); };
    hooks.firmwareBusy = [this] { return m_link->firmwareBusy(); };
    hooks.drawLinkLamp = [this](bool com, bool firmwareBusy, bool identified) {
        m_mainWindow->drawLinkLamp(com, firmwareBusy, identified);
    };
    // While an output test runs, or edited cells are on their way, polling waits.
    hooks.pollCycle = [this] {
        if (!m_testWindow->testRunning() && !m_mapKeys->editor().sender().busy())
            m_link->pollCycle();
    };
    hooks.refreshDisplays = [this] { refreshLiveDisplays(); };
    hooks.firmwareStep = [this] { m_firmwareArea->step(); };
    hooks.powerRunning = [this] { return m_powerWindow->measuring(); };
    hooks.powerProgress = [this] { m_powerWindow->timerTick(); };
    hooks.redrawFollowingViews = [this] { m_mapKeys->redrawFollowingViews(); };
    hooks.loggerTick = [this] { m_recorder->tick(); };
    hooks.drawLoggerLamp = [this] { m_loggerWindow->drawLamp(); };
    // exit() rather than quit(): quit() first tries to close the windows, and closing the main
    // window only asks the quit question again.
    connect(&m_loop, &MainLoop::quitConfirmed, qApp, [] { QCoreApplication::exit(0); });
}

Motrix::~Motrix()
{
    m_link->setView(nullptr);
    m_loggerWindow.reset();
    m_recorder.reset();
}

void Motrix::handleMainMenuEvent(int number)
{
    const auto event = MainMenuEvent(number);
    if (event == MainMenuEvent::Quit || event == MainMenuEvent::QuitCommand)
        m_loop.requestQuit();
    else if (event == MainMenuEvent::ShowHistory)
        m_windows[WindowId::History].open();
}

void Motrix::setPortLister(std::function<QStringList()> lister)
{
    m_portScanner = [lister = std::move(lister)] {
        devlink::PortScan scan;
        scan.ports = lister();
        scan.candidates = int(scan.ports.size());
        return scan;
    };
}

devlink::PortScan Motrix::refreshPortList()
{
    m_mainForm.portCombo->clear();
    devlink::PortScan scan;
    if (m_portScanner)
        scan = m_portScanner();
    m_mainForm.portCombo->addItems(scan.ports);
    const QStringList details = devlink::portDetails(scan.ports);
    for (int i = 0; i < details.size(); ++i)
        m_mainForm.portCombo->setItemData(i, details[i], Qt::ToolTipRole);
    m_link->setRefusedPorts(scan.refused);
    m_mainForm.portCombo->setCurrentIndex(m_mainForm.portCombo->count() > 0 ? 0 : -1);
    return scan;
}

void Motrix::refreshPortListOnRequest()
{
    // Quiet at start-up, where no port is the rule when only files are edited; on request the
    // user learns why a port is missing from the list.
    const devlink::PortScan scan = refreshPortList();
    if (!scan.refused.isEmpty()) {
        m_log.logMessage(devlink::permissionStatusLine(scan.refused.first()));
        m_dialogs.message(devlink::portHelpTitle(),
                          devlink::permissionAdvice(scan.refused.first()));
    } else if (scan.ports.isEmpty()) {
        m_log.logMessage(devlink::noPortStatusLine());
        m_dialogs.message(devlink::portHelpTitle(), devlink::noPortAdvice());
    }
}

void Motrix::startUp(const StartOptions& options)
{
    m_mainWindow->drawLinkLamp(false, false, false);

    if (options.screenCheck) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            if (auto warning = screenSizeWarning(screen->size(), m_windows.largestSize()))
                m_dialogs.message(QStringLiteral("Achtung"), *warning);
        }
    }

    refreshPortList();
    const SettingsSource source =
        readSettingsFile(m_programDirectory, m_settings, m_dialogs, m_log);
    if (source == SettingsSource::File) {
        applySettings();
        logSettingsRead(m_log);
        reserveLoggerCapacity();
    } else {
        m_log.setFileEnabled(m_settings.messageFile);
        reserveLoggerCapacity();
    }
    m_systemWindow->refill();
    m_firmwareArea->startUp();
    openHistory();
    // The logger window's progress and "Datenpunkt:" follow the capacity read.
    m_recorder->capacityChanged();

    if (options.startWindow)
        runStartWindow(m_programDirectory);

    forms::Window& main = m_windows[WindowId::Main];
    main.show();
    main.raise();
    main.activateWindow();
    {
        QEventLoop wait;
        QTimer::singleShot(100, &wait, &QEventLoop::quit);
        wait.exec();
    }
    m_loop.start(int(m_settings.comTimerPeriod), int(m_settings.loggerPeriod));
}

void Motrix::applySettings()
{
    for (std::size_t i = 0; i < storedWindowOrder.size(); ++i) {
        const WindowGeometry& g = m_settings.windows[i];
        m_windows[storedWindowOrder[i]].setGeometry(int(g.x), int(g.y), int(g.width),
                                                    int(g.height));
    }
    m_log.setFileEnabled(m_settings.messageFile);
    const int stored = m_mainForm.portCombo->findText(m_settings.portName);
    if (stored >= 0 && !m_settings.portName.isEmpty()) {
        m_mainForm.portCombo->setCurrentIndex(stored);
        if (m_settings.comAtStart)
            m_mainForm.comCheck->setChecked(true);
    }
}

void Motrix::collectSettings()
{
    for (std::size_t i = 0; i < storedWindowOrder.size(); ++i) {
        const QRect r = m_windows[storedWindowOrder[i]].geometry();
        m_settings.windows[i] = {r.x(), r.y(), r.width(), r.height()};
    }
    m_settings.portName = m_mainForm.portCombo->currentText();
    m_settings.messageFile = m_log.fileEnabled();
}

void Motrix::reserveLoggerCapacity()
{
    const qint64 requested = m_settings.loggerCapacity;
    if (m_logTable.resize(requested + 1))
        return;
    m_settings.loggerCapacity = 3600;
    m_logTable.resize(m_settings.loggerCapacity + 1);
    m_dialogs.message(
        QStringLiteral("Achtung"),
        QStringLiteral(
            "Die eingelesenen Voreinstellungen beinhalten eine max. Feldanzahl für den "
            "Logger.\rEs steht nicht genügend Arbeitsspeicher für die Datenfeldgröße (") +
            QString::number(requested * 65) +
            QStringLiteral(") zur Verfügung.\r\rGgf. ist der Arbeitsspeicher zu klein.\r\r\rDie "
                           "Feldanzahl wird auf den Standardwert gesetzt"));
    m_log.logMessage(QStringLiteral("Logdatei zu groß gefordert. Standard verwendet"));
}

void Motrix::shutDown()
{
    m_loop.stop();
    // Ja to "Beenden?" during an update: the boot loader hears the cancel before the port closes.
    m_firmwareArea->quitting();
    // A recording in progress stops and its file is closed.
    m_recorder->shutDown();
    collectSettings();
    writeSettingsFile(m_programDirectory, m_settings, m_dialogs, m_log);
    m_log.logMessage(QStringLiteral("KVT beenden ... Tschuess..."));
    if (m_link->portOpen())
        m_link->closePort();
}

int Motrix::run()
{
    startUp({});
    QApplication::exec();
    shutDown();
    return 0;
}

}  // namespace app
