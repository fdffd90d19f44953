// The learn mode window's filling, take-over and click handling.
#include "maps/LearnWindow.h"

#include "forms/TakeOver.h"
#include "forms/Window.h"
#include "setup/EntryRules.h"

#include <QLineEdit>
#include <utility>

namespace maps {

LearnWindow::LearnWindow(forms::Window& window, setup::SetupRecord& record, Hooks hooks,
                         QObject* parent)
    : QObject(parent), m_window(window), m_record(record), m_hooks(std::move(hooks))
{
    m_form.setupUi(window.content());
    auto& f = m_form;
    add(f.minEngineTemp, "learnMinEngineTemp");
    add(f.increment, "learnIncrement");
    add(f.rate, "learnRate");
    add(f.speedLow, "learnSpeedLow");
    add(f.speedHigh, "learnSpeedHigh");
    add(f.throttleLow, "learnThrottleLow");
    add(f.throttleHigh, "learnThrottleHigh");
    add(f.lambdaTarget, "lambdaTarget");

    m_takeOver = new forms::TakeOver([this] { takeOver(); }, this);
    for (const Entry& e : m_entries)
        m_takeOver->watchField(e.field);
    m_takeOver->listenTo(window, {1});

    connect(f.learnActive, &QCheckBox::clicked, this, &LearnWindow::learnSwitchClicked);
    for (QCheckBox* box : f.lambdaInputs)
        connect(box, &QCheckBox::clicked, this, &LearnWindow::lambdaInputsClicked);
    connect(&window, &forms::Window::shownChanged, this, [this](bool on) { m_shown = on; });
    m_shown = window.isVisible();
    refill();
}

LearnWindow::~LearnWindow() = default;

void LearnWindow::add(QLineEdit* field, const char* name)
{
    const setup::FieldDescriptor* descriptor = setup::findField(QString::fromLatin1(name));
    Q_ASSERT(descriptor);
    if (descriptor)
        m_entries.push_back({field, descriptor});
}

void LearnWindow::open()
{
    m_window.open([this] { refill(); });
    m_shown = m_window.isVisible();
}

void LearnWindow::refill()
{
    writeBack();
    m_form.learnActive->setChecked(m_record.learnActive != 0);
    for (int i = 0; i < 3; ++i)
        m_form.lambdaInputs[i]->setChecked((m_record.learnLambdaInputs >> i) & 1);
}

void LearnWindow::writeBack()
{
    for (const Entry& e : m_entries)
        e.field->setText(
            setup::displayText(e.descriptor->encoding, e.descriptor->get(m_record, 0)));
}

void LearnWindow::orderLearnLimits(setup::SetupRecord& record)
{
    if (record.learnSpeedHigh < record.learnSpeedLow)
        std::swap(record.learnSpeedHigh, record.learnSpeedLow);
    if (record.learnThrottleHigh < record.learnThrottleLow)
        std::swap(record.learnThrottleHigh, record.learnThrottleLow);
}

void LearnWindow::takeOver()
{
    for (const Entry& e : m_entries)
        e.descriptor->set(m_record, 0, setup::entryValue(*e.descriptor, e.field->text()));
    orderLearnLimits(m_record);
    writeBack();
    if (m_hooks.refreshLivePanel)
        m_hooks.refreshLivePanel();
}

void LearnWindow::learnSwitchClicked(bool on)
{
    m_record.learnActive = on ? 1 : 0;
    // Without an identified KVT only the record changes; "-> KVT" carries it later.
    if (m_hooks.identified && m_hooks.identified() && m_hooks.sendLearnSwitch)
        m_hooks.sendLearnSwitch(m_record.learnActive);
}

void LearnWindow::lambdaInputsClicked()
{
    int bits = 0;
    for (int i = 0; i < 3; ++i)
        if (m_form.lambdaInputs[i]->isChecked())
            bits |= 1 << i;
    m_record.learnLambdaInputs = static_cast<quint8>(bits);
}

bool LearnWindow::mapUpdatesShown() const { return m_form.showMapUpdates->isChecked(); }

void LearnWindow::learnedMapRead(const std::array<quint16, setup::mapCells>& cells)
{
    m_record.injectionMap = cells;
    if (m_hooks.redrawInjectionView)
        m_hooks.redrawInjectionView();
}

}  // namespace maps
