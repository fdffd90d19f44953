// The settings window's filling, take-over and click handling.
#include "setup/SettingsWindow.h"

#include "forms/TakeOver.h"
#include "forms/Window.h"
#include "setup/EntryRules.h"

#include <QLineEdit>

namespace setup {

SettingsWindow::SettingsWindow(forms::Window& window, SetupRecord& record, Followers followers,
                               QObject* parent)
    : QObject(parent), m_window(window), m_record(record), m_followers(std::move(followers))
{
    m_form.setupUi(window.content());
    buildEntries();
    m_takeOver = new forms::TakeOver([this] { takeOver(); }, this);
    for (const Entry& e : m_entries)
        m_takeOver->watchField(e.field);
    m_takeOver->listenTo(window, {1});
    connectChoices();
    connect(&window, &forms::Window::shownChanged, this, [this](bool on) { m_shown = on; });
    m_shown = window.isVisible();
    refill();
}

SettingsWindow::~SettingsWindow() = default;

void SettingsWindow::add(QLineEdit* field, const char* name, int element)
{
    const FieldDescriptor* descriptor = findField(QString::fromLatin1(name));
    Q_ASSERT(descriptor);
    if (descriptor)
        m_entries.push_back({field, descriptor, element});
}

void SettingsWindow::buildEntries()
{
    auto& f = m_form;
    add(f.coilChargeTime, "coilChargeTime");
    add(f.timingStep, "timingStep");
    add(f.cylinderOffset12, "cylinderOffset12");
    add(f.cylinderOffset23, "cylinderOffset23");
    add(f.sensorAngle, "sensorAngle");
    add(f.limiterSpeed, "limiterSpeed");
    add(f.limiterRetard, "limiterRetard");
    add(f.ignitionOffSpeed, "ignitionOffSpeed");
    add(f.limiterHysteresis, "limiterHysteresis");
    add(f.output1Speed1, "output1Speed1");
    add(f.output1Speed2, "output1Speed2");
    add(f.output2Speed1, "output2Speed1");
    add(f.output2Speed2, "output2Speed2");
    add(f.injectionStartAngle, "injectionStartAngle");
    add(f.startInjectionTime, "startInjectionTime");
    add(f.startInjectionRevs, "startInjectionRevs");
    for (int i = 0; i < cylinders; ++i)
        add(f.injectionExtension[i], "injectionExtension", i);
    for (int i = 0; i < cylinders; ++i)
        add(f.injectorDeadTime[i], "injectorDeadTime", i);
    add(f.quickStartSpeed, "quickStartSpeed");
    add(f.triggerTeeth, "triggerTeeth");
    add(f.triggerGaps, "triggerGaps");
    static const char* const calibration[3][4] = {
        {"engineTempCal1Volt", "engineTempCal1Temp", "engineTempCal2Volt", "engineTempCal2Temp"},
        {"airTempCal1Volt", "airTempCal1Temp", "airTempCal2Volt", "airTempCal2Temp"},
        {"throttleCal1Volt", "throttleCal1Percent", "throttleCal2Volt", "throttleCal2Percent"},
    };
    for (int row = 0; row < 3; ++row)
        for (int i = 0; i < 4; ++i)
            add(f.calibration[row][i], calibration[row][i]);
    add(f.sensorDamping, "sensorDamping");
    add(f.tachoPulses, "tachoPulses");
    add(f.dynamicFactor1, "dynamicFactor1");
    add(f.dynamicSpeed1, "dynamicSpeed1");
    add(f.dynamicFactor2, "dynamicFactor2");
    add(f.dynamicSpeed2, "dynamicSpeed2");
    add(f.limpMinEngineTemp, "limpMinEngineTemp");
    add(f.limpIgnitionOffSpeed, "limpIgnitionOffSpeed");
    add(f.limpTiming, "limpTiming");
    add(f.limpEnrichment, "limpEnrichment");
    add(f.overrunMinEngineTemp, "overrunMinEngineTemp");
    add(f.overrunThrottleMax, "overrunThrottleMax");
    add(f.overrunMinSpeed, "overrunMinSpeed");
    add(f.overrunInjectionShare, "overrunInjectionShare");
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

void SettingsWindow::open()
{
    m_window.open([this] { refill(); });
    m_shown = m_window.isVisible();
}

void SettingsWindow::refill()
{
    for (const Entry& e : m_entries)
        e.field->setText(
            displayText(e.descriptor->encoding, e.descriptor->get(m_record, e.element)));
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
    for (const Entry& e : m_entries) {
        const int value = entryValue(*e.descriptor, e.field->text());
        e.descriptor->set(m_record, e.element, value);
        // The output speeds are limited first and put in order once both pairs are read.
        if (e.field == m_form.output2Speed2)
            orderOutputSpeeds(m_record);
    }
    for (const Entry& e : m_entries)
        e.field->setText(
            displayText(e.descriptor->encoding, e.descriptor->get(m_record, e.element)));
    notifyFollowers();
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
