// The test window's behaviour on its form.
#include "test/TestWindow.h"

#include "app/core/Dialogs.h"
#include "app/core/MenuEvents.h"
#include "setup/EntryRules.h"
#include "setup/SetupFields.h"

namespace kvttest {

TestWindow::TestWindow(forms::Window& window, setup::SetupRecord& record,
                       app::ProgramSettings& settings, app::Dialogs& dialogs, Hooks hooks)
    : QObject(&window), m_window(window), m_record(record), m_settings(settings),
      m_dialogs(dialogs), m_hooks(std::move(hooks)),
      m_runner(
          [this](int output, quint16 value) {
              // "V" is skipped while the port is closed: the test then only counts down.
              if (m_hooks.portOpen())
                  m_hooks.switchOutput(output, value);
          },
          [this] { return m_hooks.portOpen(); })
{
    m_form.setupUi(window.content());
    window.setFiller([this] { refill(); });
    wire();
}

void TestWindow::wire()
{
    for (QLineEdit* field : m_form.inputs()) {
        connect(field, &QLineEdit::editingFinished, this, [this] {
            if (!m_filling)
                takeOver();
        });
    }
    connect(&m_window, &forms::Window::menuEvent, this, [this](int number) {
        switch (app::FieldMenuEvent(number)) {
        case app::FieldMenuEvent::TakeOver:
        case app::FieldMenuEvent::TakeOverKeypad: takeOver(); break;
        // Escape: only the flow test has places to stop early.
        case app::FieldMenuEvent::LeaveTest:
            if (m_runner.running())
                m_runner.requestAbort();
            break;
        default: break;
        }
    });
    connect(&m_runner, &OutputTestRunner::caption, this, [this](const QString& text) {
        if (m_testButton)
            m_testButton->setText(text);
    });
    connect(&m_runner, &OutputTestRunner::finished, this, &TestWindow::testFinished);

    connect(m_form.fuelPump, &QPushButton::clicked, this,
            [this] { startTest(m_form.fuelPump, fuelPumpSteps()); });
    for (int k = 0; k < 2; ++k)
        connect(m_form.outputs[k], &QPushButton::clicked, this,
                [this, k] { startTest(m_form.outputs[k], switchOutputSteps(k + 1, repeats())); });
    for (int k = 0; k < injectors; ++k) {
        connect(m_form.injectors[k], &QPushButton::clicked, this,
                [this, k] { startTest(m_form.injectors[k], injectorSteps(k + 1, repeats())); });
        connect(m_form.coils[k], &QPushButton::clicked, this, [this, k] {
            startTest(m_form.coils[k], coilSteps(k + 1, repeats(), m_record.coilChargeTime));
        });
        connect(m_form.longTest[k], &QPushButton::clicked, this,
                [this, k] { startFlowTest(k, true); });
        connect(m_form.shortTest[k], &QPushButton::clicked, this,
                [this, k] { startFlowTest(k, false); });
    }
    connect(m_form.tacho, &QPushButton::clicked, this, [this] {
        startTest(m_form.tacho, tachoSteps(tachoTestSpeed(m_form.tachoSpeed->text())));
    });
    connect(m_form.resetValues, &QPushButton::clicked, this, [this] {
        m_values.longTenths.fill(0);
        m_values.shortTenths.fill(0);
        showResults();
    });
    connect(m_form.takeValues, &QPushButton::clicked, this, [this] { takeInjectorValues(); });
    connect(m_form.sensorUp, &QPushButton::clicked, this, [this] { moveSensor(+1); });
    connect(m_form.sensorDown, &QPushButton::clicked, this, [this] { moveSensor(-1); });
    connect(m_form.fromCurve, &QRadioButton::clicked, this, [this] { chooseIgnitionMode(true); });
    connect(m_form.constant, &QRadioButton::clicked, this, [this] { chooseIgnitionMode(false); });
    connect(m_form.restart, &QPushButton::clicked, this, [this] {
        if (m_hooks.identified())
            m_hooks.restartKvt();
    });
}

int TestWindow::repeats() const
{
    return m_form.tenTimes->isChecked() ? 10 : 1;
}

void TestWindow::refill()
{
    m_values.coilChargeTime = m_record.coilChargeTime;
    showIdentities();
    m_form.checkMark->setState(forms::CheckMark::State::Clear);
    loadEstimateInputs(m_values, m_settings);
    showResults();
}

void TestWindow::showIdentities()
{
    const devlink::DeviceIdentity id = m_hooks.identity();
    m_form.deviceType->setText(id.deviceType.trimmed());
    m_form.restarts->setText(m_hooks.identified() ? QString::number(id.restartCount) : QString());
    const QString connected[] = {id.hw, id.sw, id.bl};
    const std::array<QString, 3> loaded = m_hooks.loadedVersions();
    for (int i = 0; i < 3; ++i) {
        m_form.connectedVersion[i]->setText(connected[i].trimmed());
        m_form.loadedVersion[i]->setText(loaded[i].trimmed());
    }
}

void TestWindow::takeOver()
{
    TestInputTexts t;
    t.coilUs = m_form.coilTime->text();
    t.constantAngle = m_form.constantAngle->text();
    t.tachoSpeed = m_form.tachoSpeed->text();
    for (int k = 0; k < injectors; ++k) {
        t.longWeight[k] = m_form.longWeight[k]->text();
        t.shortWeight[k] = m_form.shortWeight[k]->text();
    }
    t.injFlow = m_form.injFlow->text();
    t.injMaxSpeed = m_form.injMaxSpeed->text();
    t.injVolume = m_form.injVolume->text();
    t.injEfficiency = m_form.injEfficiency->text();
    t.injMaxDuty = m_form.injMaxDuty->text();
    t.coilMaxSpeed = m_form.coilMaxSpeed->text();
    t.coilVoltage = m_form.coilVoltage->text();
    t.coilResistance = m_form.coilResistance->text();
    t.coilInductance = m_form.coilInductance->text();
    m_values = validate(t, m_values);
    storeEstimateInputs(m_values, m_settings);
    m_record.coilChargeTime = quint8(m_values.coilChargeTime);
    m_hooks.refillSettings();
    // Only while the constant mode is chosen: a Return typed into a weight must not take the
    // engine off its ignition curve.
    if (m_form.constant->isChecked())
        m_hooks.sendSetValue(7, m_values.constantAngle + 50);
    showResults();
}

void TestWindow::showResults()
{
    m_filling = true;
    m_values.coilChargeTime = m_record.coilChargeTime;
    const TestInputTexts t = fieldTexts(m_values);
    m_form.coilTime->setText(t.coilUs);
    m_form.constantAngle->setText(t.constantAngle);
    m_form.tachoSpeed->setText(t.tachoSpeed);
    for (int k = 0; k < injectors; ++k) {
        m_form.longWeight[k]->setText(t.longWeight[k]);
        m_form.shortWeight[k]->setText(t.shortWeight[k]);
    }
    m_form.injFlow->setText(t.injFlow);
    m_form.injMaxSpeed->setText(t.injMaxSpeed);
    m_form.injVolume->setText(t.injVolume);
    m_form.injEfficiency->setText(t.injEfficiency);
    m_form.injMaxDuty->setText(t.injMaxDuty);
    m_form.coilMaxSpeed->setText(t.coilMaxSpeed);
    m_form.coilVoltage->setText(t.coilVoltage);
    m_form.coilResistance->setText(t.coilResistance);
    m_form.coilInductance->setText(t.coilInductance);
    m_filling = false;

    const InjectorEstimate ie = estimateInjector(m_values);
    m_form.injGramPerMin->setText(QString::number(ie.fuelGramPerMin));
    m_form.injRequired->setText(integerText(ie.requiredUs));
    m_form.injAvailable->setText(integerText(ie.availableUs));
    const CoilEstimate ce = estimateCoil(m_values);
    m_form.coilCharge->setText(integerText(ce.chargeUs));
    m_form.coilCurrent->setText(QString::number(ce.maxCurrent, 'f', 3));
    m_form.coilAvailable->setText(integerText(ce.availableUs));

    m_flows = computeFlows(m_values.longTenths, m_values.shortTenths);
    for (int k = 0; k < injectors; ++k) {
        m_form.flow[k]->setText(flowText(m_flows[k]));
        m_form.balance[k]->setText(balanceText(m_flows[k]));
        m_form.switchingTime[k]->setText(switchingTimeText(m_flows[k]));
    }
    m_form.fullLoad->setText(fullLoadText(m_form.flow[0]->text()));
    m_form.sensorAngle->setText(QString::number(m_record.sensorAngle));
    // A setup loaded while the window is open brings its own identity.
    showIdentities();
}

void TestWindow::startTest(QPushButton* button, TestSteps steps)
{
    if (m_runner.running())
        return;
    m_testButton = button;
    m_testCaption = button->text();
    m_hold.emplace(m_dialogs.gate());
    m_runner.start(std::move(steps));
}

void TestWindow::startFlowTest(int injector, bool longTest)
{
    if (m_runner.running())
        return;
    if (!m_hooks.identified()) {
        m_dialogs.message(QStringLiteral("Achtung"),
                          QStringLiteral("COM-Verbindung nicht etabliert.\rTest macht keinen "
                                         "Sinn..."));
        return;
    }
    m_dialogs.message(QStringLiteral("Achtung"),
                      QString::fromUtf8("Aus der Einspritzdüse wird Benzin austreten.\rEs besteht "
                                        "Entzündungsgefahr !\r\rTest-Abbruch mit Taste ESC"));
    m_flowTest = true;
    QPushButton* b = longTest ? m_form.longTest[injector] : m_form.shortTest[injector];
    startTest(b, flowTestSteps(injector + 1, longTest));
}

void TestWindow::testFinished(bool aborted, bool portLost)
{
    m_hold.reset();
    if (m_testButton)
        m_testButton->setText(m_testCaption);
    m_testButton = nullptr;
    const bool flow = std::exchange(m_flowTest, false);
    if (!flow)
        return;
    // The pump is already off (or the port gone) before the box waits for the user.
    if (aborted || portLost)
        m_dialogs.message(QStringLiteral("Achtung"),
                          QStringLiteral("Test abgebrochen.\rErgebnis nicht verwendbar !"));
    showResults();
}

void TestWindow::takeInjectorValues()
{
    const setup::FieldDescriptor& deadTime =
        setup::fieldOf<&setup::SetupRecord::injectorDeadTime>();
    for (int k = 0; k < injectors; ++k) {
        // Injectors without a measurement keep their setup values.
        if (m_flows[k].balance)
            m_record.injectorBalance[k] = quint16(*m_flows[k].balance);
        // The switching time reaches 6000 µs; the dead time keeps to its editing range.
        if (m_flows[k].switchingTime)
            m_record.injectorDeadTime[k] = quint16(
                setup::clampToRange(*m_flows[k].switchingTime, deadTime.minimum, deadTime.maximum));
    }
    m_hooks.refillSettings();
}

void TestWindow::moveSensor(int delta)
{
    m_record.sensorAngle = quint8(sensorAngleStep(m_record.sensorAngle, delta));
    m_form.sensorAngle->setText(QString::number(m_record.sensorAngle));
    m_hooks.refillSettings();
    m_hooks.sendSetValue(6, m_record.sensorAngle);
}

void TestWindow::chooseIgnitionMode(bool fromCurve)
{
    const int mode = m_hooks.ignitionMode();
    if (fromCurve && mode != 255)
        m_hooks.sendSetValue(7, 255);
    else if (!fromCurve && mode == 255)
        m_hooks.sendSetValue(7, m_values.constantAngle + 50);
}

void TestWindow::liveRecord(const devlink::LiveRecord& record, const TriggerChecks& checks)
{
    if (!m_window.isVisible())
        return;
    // The KVT may have been identified (or another one) since the window was opened.
    showIdentities();
    m_form.gap->setText(checks.gapText);
    m_form.signal->setText(checks.signalText);
    m_form.teeth->setText(checks.teethText);
    m_form.revolution->setText(checks.revolutionText);
    m_form.checkMark->setState(checks.allPassed() ? forms::CheckMark::State::Tick
                                                  : forms::CheckMark::State::Cross);
    const IgnitionMode mode = ignitionModeOf(record);
    if (mode.fromCurve) {
        m_form.fromCurve->setChecked(true);
    } else {
        m_form.constant->setChecked(true);
        m_values.constantAngle = mode.constantAngle;
        if (!m_form.constantAngle->hasFocus())
            m_form.constantAngle->setText(QString::number(mode.constantAngle));
    }
    m_form.currentAngle->setText(QString::number(record.ignitionAngle - 50));
}

}  // namespace kvttest
