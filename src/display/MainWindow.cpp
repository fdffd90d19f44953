// The main window: live labels, identity, limiter, link lamp and its buttons.
#include "display/MainWindow.h"

#include "app/core/TextCut.h"
#include "display/LiveFormat.h"
#include "forms/Lamp.h"

#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>

namespace display {

namespace {

QColor toColor(Rgb c)
{
    return QColor(c.r, c.g, c.b);
}

void setTextColor(QLabel* label, Rgb c)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, toColor(c));
    label->setPalette(pal);
}

void setIfSome(QLabel* label, const std::optional<QString>& text)
{
    if (text)
        label->setText(*text);
}

}  // namespace

MainWindow::MainWindow(forms::Window& window, forms::Hauptdialog& form, WindowLookup windows,
                       const app::ProgramSettings& settings, QObject* parent)
    : QObject(parent), m_window(window), m_form(form), m_windows(std::move(windows)),
      m_settings(settings)
{
    connectButtons();
    drawLinkLamp(false, false, false);
    // A paste cut by the field's length limit may end in half a character: the field shows
    // what the description keeps once the edit ends.
    connect(m_form.descriptionEdit, &QLineEdit::editingFinished, this, [this] {
        const QString kept = description();
        if (kept != m_form.descriptionEdit->text())
            m_form.descriptionEdit->setText(kept);
    });
}

void MainWindow::connectButtons()
{
    using app::WindowId;
    const std::pair<QPushButton*, WindowId> windowButtons[] = {
        {m_form.settingsButton, WindowId::Settings},
        {m_form.testButton, WindowId::Test},
        {m_form.learnButton, WindowId::Learn},
        {m_form.lambdaLoggerButton, WindowId::LambdaLogger},
        {m_form.loggerButton, WindowId::Logger},
        {m_form.powerButton, WindowId::PowerComparison},
        {m_form.bigDisplayButton, WindowId::BigDisplay},
        {m_form.systemButton, WindowId::System},
    };
    for (const auto& [button, id] : windowButtons)
        connect(button, &QPushButton::clicked, this, [this, id = id] { openWindow(id); });

    connect(m_form.loadButton, &QPushButton::clicked, this, [this] {
        run(m_actions.loadSetup);
        run(m_actions.clearMapReadouts);
    });
    connect(m_form.saveButton, &QPushButton::clicked, this, [this] { run(m_actions.saveSetup); });
    connect(m_form.readFromKvtButton, &QPushButton::clicked, this, [this] {
        run(m_actions.readSetup);
        run(m_actions.clearMapReadouts);
    });
    connect(m_form.writeToKvtButton, &QPushButton::clicked, this,
            [this] { run(m_actions.writeSetup); });
    connect(m_form.eepromButton, &QPushButton::clicked, this,
            [this] { run(m_actions.storeSetup); });
}

void MainWindow::run(const std::function<void()>& action)
{
    if (action)
        action();
}

void MainWindow::showLiveValues(const devlink::LiveRecord& record)
{
    const LiveTexts t = liveTexts(record, int(m_settings.injectionWarnPercent));
    m_form.liveRpm->setText(t.rpm);
    m_form.liveThrottle->setText(t.throttle);
    m_form.liveEngineTemp->setText(t.engineTemp);
    m_form.liveAirTemp->setText(t.airTemp);
    m_form.calcIgnitionBase->setText(t.ignitionBase);
    m_form.calcIgnitionAngle->setText(t.ignitionAngle);
    m_form.calcInjectionBase->setText(t.injectionBase);
    m_form.calcAirCorrectionPercent->setText(t.airCorrectionPercent);
    m_form.calcAirCorrectionUs->setText(t.airCorrectionUs);
    m_form.calcEngineCorrectionPercent->setText(t.engineCorrectionPercent);
    m_form.calcEngineCorrectionUs->setText(t.engineCorrectionUs);
    // The colour goes first, so the new number never shows in the old colour.
    setTextColor(m_form.calcInjectionTime, t.injectionTimeColor);
    m_form.calcInjectionTime->setText(t.injectionTime);
    setIfSome(m_form.output1Value, t.output1);
    setIfSome(m_form.output2Value, t.output2);
    setIfSome(m_form.input1Value, t.input1);
    setIfSome(m_form.input2Value, t.input2);
    setIfSome(m_form.input3Value, t.input3);
    for (std::size_t i = 0; i < t.lambda.size(); ++i)
        m_form.liveLambda[i]->setText(t.lambda[i]);
    setTextColor(m_form.liveCpuTemp, t.cpuTemperatureColor);
    m_form.liveCpuTemp->setText(t.cpuTemperature);
}

void MainWindow::showIdentity(const devlink::DeviceIdentity& identity)
{
    const IdentityTexts t = identityTexts(identity);
    m_form.kvtHwValue->setText(t.hw);
    m_form.kvtSwValue->setText(t.sw);
}

void MainWindow::clearIdentity()
{
    m_form.kvtHwValue->clear();
    m_form.kvtSwValue->clear();
}

void MainWindow::showLimiter(const setup::SetupRecord& record)
{
    const LimiterTexts t = limiterTexts(record.limiterSpeed, record.limiterRetard);
    m_form.limiterSpeedValue->setText(t.speed);
    m_form.limiterRetardValue->setText(t.retard);
}

void MainWindow::drawLinkLamp(bool comTicked, bool firmwareBusy, bool identified)
{
    m_form.comLamp->setColor(toColor(linkLampColor(comTicked, firmwareBusy, identified)));
}

void MainWindow::showSetupFileName(const QString& name)
{
    m_form.setupFileName->setText(name);
}

QString MainWindow::description() const
{
    // The field's own length limit may have cut a pasted character in half.
    return app::cutWhole(m_form.descriptionEdit->text(), 100);
}

void MainWindow::setDescription(const QString& text)
{
    // The field holds at most 100 characters; setText cuts a longer text itself.
    m_form.descriptionEdit->setText(text);
}

void MainWindow::openWindow(app::WindowId id)
{
    m_windows(id).open();
}

}  // namespace display
