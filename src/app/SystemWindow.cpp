// The system window's filling, take-over, check boxes, EEPROM erase and window positions.
#include "app/SystemWindow.h"

#include "app/SystemRules.h"
#include "app/WindowSet.h"
#include "forms/TakeOver.h"
#include "forms/Window.h"
#include "logger/LogTable.h"
#include "setup/EntryRules.h"

#include <QGuiApplication>
#include <QScreen>

namespace app {
namespace {

qint64 wholeEntry(const QLineEdit* field) { return setup::wholeValue(field->text()); }

// Volts typed with decimals, kept as whole mV.
double millivoltEntry(const QLineEdit* field)
{
    const qint64 mv = setup::scaledDecimal(field->text(), 3, setup::Rounding::HalfEven);
    return double(steppedEntry(mv, 1, 0, 1500));
}

void show(QLineEdit* field, qint64 value) { field->setText(QString::number(value)); }

}  // namespace

SystemWindow::SystemWindow(WindowSet& windows, ProgramSettings& settings, Dialogs& dialogs,
                           MessageLog& log, logger::LogTable& logTable, Hooks hooks,
                           QObject* parent)
    : QObject(parent),
      m_windows(windows),
      m_window(windows[WindowId::System]),
      m_settings(settings),
      m_dialogs(dialogs),
      m_log(log),
      m_logTable(logTable),
      m_hooks(std::move(hooks))
{
    m_form.setupUi(m_window.content());
    m_takeOver = new forms::TakeOver([this] { takeOver(); }, this);
    m_takeOver->watchFields(m_window.content());
    // Event 2 takes over like Return in this window.
    m_takeOver->listenTo(m_window, {1, 2});
    connectBoxes();

    // The firmware transfer is not part of this window's own work: its controls stay inert
    // until the update procedure takes them over.
    m_form.chooseFirmware->setEnabled(false);
    m_form.updateFirmware->setEnabled(false);
    connect(m_form.eraseEeprom, &QPushButton::clicked, this, &SystemWindow::eraseEepromClicked);

    const std::pair<QPushButton*, WindowId> positions[] = {
        {m_form.centreMain, WindowId::Main},
        {m_form.centreBigDisplay, WindowId::BigDisplay},
        {m_form.centreLogger, WindowId::Logger},
        {m_form.centrePower, WindowId::PowerComparison},
        {m_form.centreLearn, WindowId::Learn},
        {m_form.centreSettings, WindowId::Settings},
        {m_form.centreLambdaLogger, WindowId::LambdaLogger},
        {m_form.centreTest, WindowId::Test},
        {m_form.centreSystem, WindowId::System},
    };
    for (const auto& [button, id] : positions)
        connect(button, &QPushButton::clicked, this, [this, id = id] { centreWindow(id); });
    refill();
}

SystemWindow::~SystemWindow() = default;

void SystemWindow::connectBoxes()
{
    auto& f = m_form;
    const auto flag = [this](QCheckBox* box, bool ProgramSettings::*member, bool refresh) {
        connect(box, &QCheckBox::clicked, this, [this, member, refresh](bool on) {
            m_settings.*member = on;
            if (refresh)
                refreshDisplays();
        });
    };
    flag(f.showLambda[0], &ProgramSettings::showLambda1, true);
    flag(f.showLambda[1], &ProgramSettings::showLambda2, true);
    flag(f.showLambda[2], &ProgramSettings::showLambda3, true);
    flag(f.showLearnLimits, &ProgramSettings::showLearnLimits, true);
    flag(f.sliderDisplays, &ProgramSettings::sliderDisplays, false);
    flag(f.comAtStart, &ProgramSettings::comAtStart, false);
    flag(f.readSetupAfterIdentification, &ProgramSettings::readSetupAfterIdentification, false);
    flag(f.messageFile, &ProgramSettings::messageFile, false);
    connect(f.messageFile, &QCheckBox::clicked, this,
            [this](bool on) { m_log.setFileEnabled(on); });
}

void SystemWindow::refill()
{
    auto& f = m_form;
    const ProgramSettings& s = m_settings;
    show(f.rpmWarning, s.rpmWarning);
    show(f.rpmRounding, s.rpmRounding);
    f.lambdaVeryRich->setText(voltsText(s.lambdaVeryRich));
    f.lambdaRich->setText(voltsText(s.lambdaRich));
    f.lambdaLean->setText(voltsText(s.lambdaLean));
    f.lambdaVeryLean->setText(voltsText(s.lambdaVeryLean));
    f.lambdaWarning->setText(
        lambdaThresholdWarning(s.lambdaVeryRich, s.lambdaRich, s.lambdaLean, s.lambdaVeryLean));
    show(f.sensorErrorMinSpeed, s.sensorErrorMinSpeed);
    f.showLambda[0]->setChecked(s.showLambda1);
    f.showLambda[1]->setChecked(s.showLambda2);
    f.showLambda[2]->setChecked(s.showLambda3);
    f.showLearnLimits->setChecked(s.showLearnLimits);
    f.sliderDisplays->setChecked(s.sliderDisplays);
    show(f.injectionWarnPercent, s.injectionWarnPercent);
    show(f.loggerPeriod, s.loggerPeriod);
    show(f.loggerCapacity, s.loggerCapacity);
    showLoggerEstimate();
    show(f.comTimer, s.comTimerPeriod);
    f.comAtStart->setChecked(s.comAtStart);
    f.readSetupAfterIdentification->setChecked(s.readSetupAfterIdentification);
    f.messageFile->setChecked(s.messageFile);
    show(f.powerSampleInterval, s.powerSampleInterval);
    show(f.powerMinSpeed, s.powerMinSpeed);
    f.printoutText->setText(printoutTextEntry(s.printoutText));
}

void SystemWindow::takeOver()
{
    auto& f = m_form;
    ProgramSettings& s = m_settings;

    s.injectionWarnPercent = steppedEntry(wholeEntry(f.injectionWarnPercent), 1, 75, 100);
    show(f.injectionWarnPercent, s.injectionWarnPercent);
    const qint64 com = steppedEntry(wholeEntry(f.comTimer), 5, 5, 500);
    show(f.comTimer, com);
    if (com != s.comTimerPeriod) {
        s.comTimerPeriod = com;
        if (m_hooks.comPeriodChanged)
            m_hooks.comPeriodChanged(int(com));
    }
    s.powerSampleInterval = steppedEntry(wholeEntry(f.powerSampleInterval), 1, 1, 10);
    show(f.powerSampleInterval, s.powerSampleInterval);
    s.powerMinSpeed = steppedEntry(wholeEntry(f.powerMinSpeed), 50, 50, 2000);
    show(f.powerMinSpeed, s.powerMinSpeed);
    s.printoutText = printoutTextEntry(f.printoutText->text());
    f.printoutText->setText(s.printoutText);
    s.sensorErrorMinSpeed = steppedEntry(wholeEntry(f.sensorErrorMinSpeed), 1, 0, 16000);
    show(f.sensorErrorMinSpeed, s.sensorErrorMinSpeed);
    const qint64 period = steppedEntry(wholeEntry(f.loggerPeriod), 100, 100, 2000);
    show(f.loggerPeriod, period);
    if (period != s.loggerPeriod) {
        s.loggerPeriod = period;
        if (m_hooks.loggerPeriodChanged)
            m_hooks.loggerPeriodChanged(int(period));
    }
    takeOverLogger();
    takeOverDisplayLimits();
    refreshDisplays();
}

void SystemWindow::takeOverLogger()
{
    auto& f = m_form;
    const qint64 previous = m_settings.loggerCapacity;
    qint64 capacity = steppedEntry(wholeEntry(f.loggerCapacity), 1, 100, 9999999);
    // The table keeps its rows when the size stays, so recorded data survives a take-over.
    if (m_logTable.rows() != capacity + 1 && !m_logTable.resize(capacity + 1)) {
        m_dialogs.message(QStringLiteral("Achtung"),
                          QStringLiteral(" Das Datenfeld konnte in dieser Größe nicht angelegt "
                                         "werden.\r\rGgf. ist der Arbeitsspeicher zu klein.\r\r\r"
                                         "Es wird die vorherige Größe benutzt."));
        capacity = previous;
        if (m_logTable.rows() != capacity + 1)
            m_logTable.resize(capacity + 1);
        m_log.logMessage(
            QStringLiteral("Loggerdateigröße nicht vorhanden. Standardgröße verwendet"));
    }
    m_settings.loggerCapacity = capacity;
    if (m_hooks.loggerCapacityChanged)
        m_hooks.loggerCapacityChanged(capacity);
    show(f.loggerCapacity, capacity);
    showLoggerEstimate();
}

void SystemWindow::showLoggerEstimate()
{
    m_form.loggerTime->setText(loggerTimeText(m_settings.loggerCapacity, m_settings.loggerPeriod));
    m_form.loggerSize->setText(loggerSizeText(m_settings.loggerCapacity));
}

void SystemWindow::takeOverDisplayLimits()
{
    auto& f = m_form;
    ProgramSettings& s = m_settings;
    s.rpmWarning = steppedEntry(wholeEntry(f.rpmWarning), 100, 4000, 16000);
    show(f.rpmWarning, s.rpmWarning);
    s.rpmRounding = steppedEntry(wholeEntry(f.rpmRounding), 1, 1, 500);
    show(f.rpmRounding, s.rpmRounding);
    const std::pair<QLineEdit*, float ProgramSettings::*> lambdas[] = {
        {f.lambdaVeryRich, &ProgramSettings::lambdaVeryRich},
        {f.lambdaRich, &ProgramSettings::lambdaRich},
        {f.lambdaLean, &ProgramSettings::lambdaLean},
        {f.lambdaVeryLean, &ProgramSettings::lambdaVeryLean},
    };
    for (const auto& [field, member] : lambdas) {
        s.*member = float(millivoltEntry(field));
        field->setText(voltsText(s.*member));
    }
    f.lambdaWarning->setText(
        lambdaThresholdWarning(s.lambdaVeryRich, s.lambdaRich, s.lambdaLean, s.lambdaVeryLean));
}

void SystemWindow::refreshDisplays()
{
    if (m_hooks.refreshDisplays)
        m_hooks.refreshDisplays();
}

void SystemWindow::eraseEepromClicked()
{
    if (!m_hooks.identified || !m_hooks.identified())
        return;
    const QString title = QStringLiteral("Achtung !");
    if (!m_dialogs.question(title, QStringLiteral("EEPROM in der KVT wird gelöscht !")))
        return;
    if (m_settings.readSetupAfterIdentification &&
        !m_dialogs.question(title,
                            QStringLiteral("Setup automatisch laden ist eingeschaltet.(siehe "
                                           "System)\rNach dem Löschen des EEPROM wird die KVT "
                                           "einen Neustart ausführen\rund das gelöschte Setup in "
                                           "die ") +
                                programName + QStringLiteral(" laden.")))
        return;
    // The link may have dropped while the questions were open.
    if (m_hooks.eraseEeprom && m_hooks.identified())
        m_hooks.eraseEeprom();
}

void SystemWindow::centreWindow(WindowId id)
{
    forms::Window& window = m_windows[id];
    forms::Window& main = m_windows[WindowId::Main];
    const bool wasShown = window.isVisible();
    window.setWindowState(window.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    if (id == WindowId::BigDisplay)
        window.resize(640, 480);
    else if (id == WindowId::Logger)
        window.resize(920, window.height());
    QPoint centre;
    if (id == WindowId::Main) {
        const QScreen* screen = main.screen() ? main.screen() : QGuiApplication::primaryScreen();
        centre = screen ? screen->availableGeometry().center() : main.geometry().center();
    } else {
        centre = main.frameGeometry().center();
    }
    window.move(centre - QPoint(window.width() / 2, window.height() / 2));
    window.show();
    if (!wasShown && id != WindowId::Main)
        window.hide();
}

}  // namespace app
