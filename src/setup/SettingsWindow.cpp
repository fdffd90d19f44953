// The settings window's filling, take-over and click handling.
#include "setup/SettingsWindow.h"

#include "forms/FieldBinding.h"
#include "forms/Window.h"
#include "setup/EntryRules.h"
#include "setup/SetupFieldBinding.h"

#include <QLineEdit>

namespace setup {

SettingsWindow::SettingsWindow(forms::Window& window, SetupRecord& record, Followers followers,
                               QObject* parent)
    : QObject(parent), m_window(window), m_record(record), m_followers(std::move(followers))
{
    m_form.setupUi(window.content());
    // The keypad's Enter takes the fields over like Return (it gives event 2 in this window).
    m_fields = new forms::FieldBinding(
        window, {app::FieldMenuEvent::TakeOver, app::FieldMenuEvent::TakeOverKeypad}, this);
    bindFields();
    connectChoices();
    connect(&window, &forms::Window::shownChanged, this, [this](bool on) { m_shown = on; });
    m_shown = window.isVisible();
    window.setFiller([this] { refill(); });
    refill();
}

SettingsWindow::~SettingsWindow() = default;

forms::TakeOver& SettingsWindow::takeOverMechanism()
{
    return m_fields->mechanism();
}

void SettingsWindow::bindFields()
{
    auto& f = m_form;
    auto& b = *m_fields;
    SetupRecord& r = m_record;
    using R = SetupRecord;
    bindSetupField<&R::coilChargeTime>(b, f.coilChargeTime, r);
    bindSetupField<&R::timingStep>(b, f.timingStep, r);
    bindSetupField<&R::cylinderOffset12>(b, f.cylinderOffset12, r);
    bindSetupField<&R::cylinderOffset23>(b, f.cylinderOffset23, r);
    bindSetupField<&R::sensorAngle>(b, f.sensorAngle, r);
    bindSetupField<&R::limiterSpeed>(b, f.limiterSpeed, r);
    bindSetupField<&R::limiterRetard>(b, f.limiterRetard, r);
    bindSetupField<&R::ignitionOffSpeed>(b, f.ignitionOffSpeed, r);
    bindSetupField<&R::limiterHysteresis>(b, f.limiterHysteresis, r);
    bindSetupField<&R::output1Speed1>(b, f.output1Speed1, r);
    bindSetupField<&R::output1Speed2>(b, f.output1Speed2, r);
    bindSetupField<&R::output2Speed1>(b, f.output2Speed1, r);
    bindSetupField<&R::output2Speed2>(b, f.output2Speed2, r);
    bindSetupField<&R::injectionStartAngle>(b, f.injectionStartAngle, r);
    bindSetupField<&R::startInjectionTime>(b, f.startInjectionTime, r);
    bindSetupField<&R::startInjectionRevs>(b, f.startInjectionRevs, r);
    for (int i = 0; i < cylinders; ++i)
        bindSetupField<&R::injectionExtension>(b, f.injectionExtension[i], r, i);
    for (int i = 0; i < cylinders; ++i)
        bindSetupField<&R::injectorDeadTime>(b, f.injectorDeadTime[i], r, i);
    bindSetupField<&R::quickStartSpeed>(b, f.quickStartSpeed, r);
    bindSetupField<&R::triggerTeeth>(b, f.triggerTeeth, r);
    bindSetupField<&R::triggerGaps>(b, f.triggerGaps, r);
    const auto& cal = f.calibration;
    bindSetupField<&R::engineTempCal1Volt>(b, cal[0][0], r);
    bindSetupField<&R::engineTempCal1Temp>(b, cal[0][1], r);
    bindSetupField<&R::engineTempCal2Volt>(b, cal[0][2], r);
    bindSetupField<&R::engineTempCal2Temp>(b, cal[0][3], r);
    bindSetupField<&R::airTempCal1Volt>(b, cal[1][0], r);
    bindSetupField<&R::airTempCal1Temp>(b, cal[1][1], r);
    bindSetupField<&R::airTempCal2Volt>(b, cal[1][2], r);
    bindSetupField<&R::airTempCal2Temp>(b, cal[1][3], r);
    bindSetupField<&R::throttleCal1Volt>(b, cal[2][0], r);
    bindSetupField<&R::throttleCal1Percent>(b, cal[2][1], r);
    bindSetupField<&R::throttleCal2Volt>(b, cal[2][2], r);
    bindSetupField<&R::throttleCal2Percent>(b, cal[2][3], r);
    bindSetupField<&R::sensorDamping>(b, f.sensorDamping, r);
    bindSetupField<&R::tachoPulses>(b, f.tachoPulses, r);
    bindSetupField<&R::dynamicFactor1>(b, f.dynamicFactor1, r);
    bindSetupField<&R::dynamicSpeed1>(b, f.dynamicSpeed1, r);
    bindSetupField<&R::dynamicFactor2>(b, f.dynamicFactor2, r);
    bindSetupField<&R::dynamicSpeed2>(b, f.dynamicSpeed2, r);
    bindSetupField<&R::limpMinEngineTemp>(b, f.limpMinEngineTemp, r);
    bindSetupField<&R::limpIgnitionOffSpeed>(b, f.limpIgnitionOffSpeed, r);
    bindSetupField<&R::limpTiming>(b, f.limpTiming, r);
    bindSetupField<&R::limpEnrichment>(b, f.limpEnrichment, r);
    bindSetupField<&R::overrunMinEngineTemp>(b, f.overrunMinEngineTemp, r);
    bindSetupField<&R::overrunThrottleMax>(b, f.overrunThrottleMax, r);
    bindSetupField<&R::overrunMinSpeed>(b, f.overrunMinSpeed, r);
    bindSetupField<&R::overrunInjectionShare>(b, f.overrunInjectionShare, r);
    // The output speeds are limited first and put in order once both pairs are read.
    b.setAfterRead([this] { orderOutputSpeeds(m_record); });
    b.setAfterShow([this] { notifyFollowers(); });
}

void SettingsWindow::connectChoices()
{
    auto& f = m_form;
    const auto choice = [this](QButtonGroup* group, quint8 SetupRecord::*member) {
        connect(group, &QButtonGroup::idClicked, this,
                [this, member](int id) { m_record.*member = static_cast<quint8>(id); });
    };
    choice(f.triggerEdge, &SetupRecord::triggerEdge);
    choice(f.coilDriver, &SetupRecord::coilDriver);
    choice(f.input1Mode, &SetupRecord::input1Mode);
    choice(f.input2Mode, &SetupRecord::input2Mode);
    choice(f.input3Mode, &SetupRecord::input3Mode);
    choice(f.output1Mode, &SetupRecord::output1Mode);
    choice(f.output2Mode, &SetupRecord::output2Mode);
    const auto flag = [this](QCheckBox* box, quint8 SetupRecord::*member) {
        connect(box, &QCheckBox::clicked, this,
                [this, member](bool on) { m_record.*member = on ? 1 : 0; });
    };
    flag(f.overrunCutoff, &SetupRecord::overrunCutoff);
    flag(f.startInjectionAdd, &SetupRecord::startInjectionAdd);
    flag(f.startInjectionOff, &SetupRecord::startInjectionOff);
}

void SettingsWindow::refill()
{
    m_fields->showAll();
    auto& f = m_form;
    for (int i = 0; i < cylinders; ++i)
        f.injectorBalance[i]->setText(QString::number(m_record.injectorBalance[i]));
    const auto select = [](QButtonGroup* group, int id) {
        if (QAbstractButton* button = group->button(id)) {
            button->setChecked(true);
            return;
        }
        // A value without an option (from a damaged setup) shows no option selected.
        group->setExclusive(false);
        for (QAbstractButton* b : group->buttons())
            b->setChecked(false);
        group->setExclusive(true);
    };
    select(f.triggerEdge, m_record.triggerEdge);
    select(f.coilDriver, m_record.coilDriver);
    select(f.input1Mode, m_record.input1Mode);
    select(f.input2Mode, m_record.input2Mode);
    select(f.input3Mode, m_record.input3Mode);
    select(f.output1Mode, m_record.output1Mode);
    select(f.output2Mode, m_record.output2Mode);
    f.overrunCutoff->setChecked(m_record.overrunCutoff != 0);
    f.startInjectionAdd->setChecked(m_record.startInjectionAdd != 0);
    f.startInjectionOff->setChecked(m_record.startInjectionOff != 0);
}

void SettingsWindow::takeOver()
{
    m_fields->takeOver();
}

void SettingsWindow::notifyFollowers()
{
    if (m_followers.limiterShown)
        m_followers.limiterShown(100 * m_record.limiterSpeed, m_record.limiterRetard);
    if (m_followers.testValuesShown)
        m_followers.testValuesShown(250 * m_record.coilChargeTime, m_record.sensorAngle);
    if (m_followers.refreshLivePanel)
        m_followers.refreshLivePanel();
}

void SettingsWindow::showSensorVoltages(const std::array<double, 3>& volts)
{
    for (int i = 0; i < 3; ++i)
        m_form.measuredVoltage[i]->setText(QString::number(volts[i], 'f', 2));
}

}  // namespace setup
