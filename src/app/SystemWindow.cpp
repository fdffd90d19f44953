// The system window's filling, take-over, check boxes, EEPROM erase and window positions.
#include "app/SystemWindow.h"

#include "app/WindowSet.h"
#include "app/core/SystemRules.h"
#include "forms/FieldBinding.h"
#include "forms/Window.h"
#include "logger/LogTable.h"
#include "setup/EntryRules.h"

#include <QLineEdit>

namespace app {
namespace {

qint64 wholeEntry(const QString& text)
{
    return setup::wholeValue(text);
}

// Volts typed with decimals, kept as whole mV.
double millivoltEntry(const QString& text)
{
    const qint64 mv = setup::scaledDecimal(text, 3, setup::Rounding::HalfEven);
    return double(steppedEntry(mv, 1, 0, 1500));
}

}  // namespace

SystemWindow::SystemWindow(WindowSet& windows, ProgramSettings& settings, Dialogs& dialogs,
                           MessageLog& log, logger::LogTable& logTable, Hooks hooks,
                           QObject* parent)
    : QObject(parent), m_windows(windows), m_window(windows[WindowId::System]),
      m_settings(settings), m_dialogs(dialogs), m_log(log), m_logTable(logTable),
      m_hooks(std::move(hooks))
{
    m_form.setupUi(m_window.content());
    // Event 2 takes over like Return in this window.
    m_fields = new forms::FieldBinding(
        m_window, {app::FieldMenuEvent::TakeOver, app::FieldMenuEvent::TakeOverKeypad}, this);
    bindFields();
    connectBoxes();

    // The firmware transfer is not part of this window's own work: its controls stay inert
    // until the update procedure takes them over.
    m_form.chooseFirmware->setEnabled(false);
    m_form.updateFirmware->setEnabled(false);
    connect(m_form.eraseEeprom, &QPushButton::clicked, this, &SystemWindow::eraseEepromClicked);
    connect(m_form.setupHistory, &QPushButton::clicked, this, [this] {
        if (m_hooks.showHistory)
            m_hooks.showHistory();
    });

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
    m_window.setFiller([this] { refill(); });
    refill();
}

SystemWindow::~SystemWindow() = default;

forms::TakeOver& SystemWindow::takeOverMechanism()
{
    return m_fields->mechanism();
}

void SystemWindow::bindFields()
{
    auto& f = m_form;
    ProgramSettings& s = m_settings;
    forms::FieldBinding& b = *m_fields;
    // A whole number truncated to its step and limited.
    const auto stepped = [&b](QLineEdit* field, qint64& value, qint64 step, qint64 lo, qint64 hi,
                              std::function<void(qint64)> changed = {}) {
        b.bind(
            field,
            [&value, step, lo, hi, changed](const QString& text) {
                const qint64 entered = steppedEntry(wholeEntry(text), step, lo, hi);
                const bool differs = entered != value;
                value = entered;
                if (differs && changed)
                    changed(entered);
            },
            [&value] { return QString::number(value); });
    };
    // The order in which the fields are read.
    stepped(f.injectionWarnPercent, s.injectionWarnPercent, 1, 75, 100);
    stepped(f.comTimer, s.comTimerPeriod, 5, 5, 500, [this](qint64 ms) {
        if (m_hooks.comPeriodChanged)
            m_hooks.comPeriodChanged(int(ms));
    });
    stepped(f.powerSampleInterval, s.powerSampleInterval, 1, 1, 10);
    stepped(f.powerMinSpeed, s.powerMinSpeed, 50, 50, 2000);
    b.bind(
        f.printoutText, [&s](const QString& text) { s.printoutText = printoutTextEntry(text); },
        [&s] { return printoutTextEntry(s.printoutText); });
    stepped(f.sensorErrorMinSpeed, s.sensorErrorMinSpeed, 1, 0, 16000);
    stepped(f.loggerPeriod, s.loggerPeriod, 100, 100, 2000, [this](qint64 ms) {
        if (m_hooks.loggerPeriodChanged)
            m_hooks.loggerPeriodChanged(int(ms));
    });
    b.bind(
        f.loggerCapacity, [this](const QString& text) { takeOverLogger(text); },
        [&s] { return QString::number(s.loggerCapacity); });
    stepped(f.rpmWarning, s.rpmWarning, 100, 4000, 16000);
    stepped(f.rpmRounding, s.rpmRounding, 1, 1, 500);
    // Volts typed with decimals, kept as whole mV.
    for (const auto& [field, value] :
         {std::pair<QLineEdit*, float*>{f.lambdaVeryRich, &s.lambdaVeryRich},
          {f.lambdaRich, &s.lambdaRich},
          {f.lambdaLean, &s.lambdaLean},
          {f.lambdaVeryLean, &s.lambdaVeryLean}}) {
        b.bind(
            field, [value](const QString& text) { *value = float(millivoltEntry(text)); },
            [value] { return voltsText(*value); });
    }
    b.setAfterShow([this] {
        showLoggerEstimate();
        showLambdaWarning();
        refreshDisplays();
    });
}

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
    m_fields->showAll();
    showLambdaWarning();
    f.showLambda[0]->setChecked(s.showLambda1);
    f.showLambda[1]->setChecked(s.showLambda2);
    f.showLambda[2]->setChecked(s.showLambda3);
    f.showLearnLimits->setChecked(s.showLearnLimits);
    f.sliderDisplays->setChecked(s.sliderDisplays);
    showLoggerEstimate();
    f.comAtStart->setChecked(s.comAtStart);
    f.readSetupAfterIdentification->setChecked(s.readSetupAfterIdentification);
    f.messageFile->setChecked(s.messageFile);
}

void SystemWindow::takeOver()
{
    m_fields->takeOver();
}

void SystemWindow::takeOverLogger(const QString& text)
{
    const qint64 previous = m_settings.loggerCapacity;
    qint64 capacity = steppedEntry(wholeEntry(text), 1, 100, 9999999);
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
}

void SystemWindow::showLoggerEstimate()
{
    m_form.loggerTime->setText(loggerTimeText(m_settings.loggerCapacity, m_settings.loggerPeriod));
    m_form.loggerSize->setText(loggerSizeText(m_settings.loggerCapacity));
}

void SystemWindow::showLambdaWarning()
{
    const ProgramSettings& s = m_settings;
    m_form.lambdaWarning->setText(
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
    if (id == WindowId::BigDisplay)
        window.resize(640, 480);
    else if (id == WindowId::Logger)
        window.resize(920, window.height());
    window.centreOn(id == WindowId::Main ? main.screenArea() : main.frameGeometry());
    window.show();
    if (!wasShown && id != WindowId::Main)
        window.hide();
}

}  // namespace app
