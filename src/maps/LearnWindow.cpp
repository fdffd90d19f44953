// The learn mode window's filling, take-over and click handling.
#include "maps/LearnWindow.h"

#include "forms/FieldBinding.h"
#include "forms/Window.h"
#include "setup/SetupFieldBinding.h"

#include <QLineEdit>
#include <utility>

namespace maps {

LearnWindow::LearnWindow(forms::Window& window, setup::SetupRecord& record, Hooks hooks,
                         QObject* parent)
    : QObject(parent), m_window(window), m_record(record), m_hooks(std::move(hooks))
{
    m_form.setupUi(window.content());
    auto& f = m_form;
    // The keypad's Enter takes the fields over like Return (it gives event 2 in this window).
    m_fields = new forms::FieldBinding(
        window, {app::FieldMenuEvent::TakeOver, app::FieldMenuEvent::TakeOverKeypad}, this);
    auto& b = *m_fields;
    using R = setup::SetupRecord;
    setup::bindSetupField<&R::learnMinEngineTemp>(b, f.minEngineTemp, record);
    setup::bindSetupField<&R::learnIncrement>(b, f.increment, record);
    setup::bindSetupField<&R::learnRate>(b, f.rate, record);
    setup::bindSetupField<&R::learnSpeedLow>(b, f.speedLow, record);
    setup::bindSetupField<&R::learnSpeedHigh>(b, f.speedHigh, record);
    setup::bindSetupField<&R::learnThrottleLow>(b, f.throttleLow, record);
    setup::bindSetupField<&R::learnThrottleHigh>(b, f.throttleHigh, record);
    setup::bindSetupField<&R::lambdaTarget>(b, f.lambdaTarget, record);
    b.setAfterRead([this] { orderLearnLimits(m_record); });
    b.setAfterShow([this] {
        if (m_hooks.refreshLivePanel)
            m_hooks.refreshLivePanel();
    });

    connect(f.learnActive, &QCheckBox::clicked, this, &LearnWindow::learnSwitchClicked);
    for (QCheckBox* box : f.lambdaInputs)
        connect(box, &QCheckBox::clicked, this, &LearnWindow::lambdaInputsClicked);
    connect(&window, &forms::Window::shownChanged, this, [this](bool on) { m_shown = on; });
    m_shown = window.isVisible();
    window.setFiller([this] { refill(); });
    refill();
}

LearnWindow::~LearnWindow() = default;

forms::TakeOver& LearnWindow::takeOverMechanism()
{
    return m_fields->mechanism();
}

void LearnWindow::refill()
{
    m_fields->showAll();
    m_form.learnActive->setChecked(m_record.learnActive != 0);
    for (int i = 0; i < 3; ++i)
        m_form.lambdaInputs[i]->setChecked((m_record.learnLambdaInputs >> i) & 1);
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
    m_fields->takeOver();
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

bool LearnWindow::mapUpdatesShown() const
{
    return m_form.showMapUpdates->isChecked();
}

void LearnWindow::learnedMapRead(const std::array<quint16, setup::mapCells>& cells)
{
    m_record.injectionMap = cells;
    if (m_hooks.redrawInjectionView)
        m_hooks.redrawInjectionView();
}

}  // namespace maps
