// The main window's live labels, identity, limiter, link lamp and buttons, offscreen.
#include "display/MainWindow.h"

#include "forms/Lamp.h"

#include "support/TestApplication.h"

#include <QApplication>
#include <QPushButton>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <vector>

namespace display {
namespace {

QColor textColor(const QLabel* label)
{
    return label->palette().color(QPalette::WindowText);
}

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest()
    {
        testsupport::application();
        for (const app::WindowInfo& info : app::windowTable)
            m_windows[info.id] = std::make_unique<forms::Window>(info);
        m_form.setupUi(main().content());
        m_window = std::make_unique<MainWindow>(
            main(), m_form, [this](app::WindowId id) -> forms::Window& { return *m_windows[id]; },
            m_settings);
    }

    forms::Window& main() { return *m_windows[app::WindowId::Main]; }
    forms::Window& window(app::WindowId id) { return *m_windows[id]; }

    static devlink::LiveRecord record()
    {
        devlink::LiveRecord r;
        r.rpm = 6000;
        r.rpmForMaps = 6000;
        r.throttle = 50;
        r.engineTemp = 80;
        r.airTemp = 25;
        r.ignitionBase = 30;
        r.ignitionAngle = 75;
        r.injectionBase = 2000;
        r.airTempCorrection = 100;
        r.engineTempCorrection = 95;
        r.injectionTime = 1900;
        r.output1 = 1;
        r.output2 = 0;
        r.input1 = 1;
        r.input2 = 0;
        r.input3 = 1;
        r.lambda = {850, 450, 1000};
        r.cpuTemperature = 40;
        return r;
    }

    std::map<app::WindowId, std::unique_ptr<forms::Window>> m_windows;
    forms::Hauptdialog m_form;
    app::ProgramSettings m_settings;
    std::unique_ptr<MainWindow> m_window;
};

TEST_F(MainWindowTest, LiveValuesFillEveryLabel)
{
    m_window->showLiveValues(record());
    EXPECT_EQ(m_form.liveRpm->text(), "6000");
    EXPECT_EQ(m_form.liveThrottle->text(), "50");
    EXPECT_EQ(m_form.liveEngineTemp->text(), "80");
    EXPECT_EQ(m_form.liveAirTemp->text(), "25");
    EXPECT_EQ(m_form.liveLambda[0]->text(), "0.85");
    EXPECT_EQ(m_form.liveLambda[1]->text(), "0.45");
    EXPECT_EQ(m_form.liveLambda[2]->text(), "1.00");
    EXPECT_EQ(m_form.liveCpuTemp->text(), "40");
    EXPECT_EQ(m_form.calcInjectionBase->text(), "2000");
    EXPECT_EQ(m_form.calcAirCorrectionPercent->text(), "100%");
    EXPECT_EQ(m_form.calcAirCorrectionUs->text(), "0");
    EXPECT_EQ(m_form.calcEngineCorrectionPercent->text(), "95%");
    EXPECT_EQ(m_form.calcEngineCorrectionUs->text(), "-100");
    EXPECT_EQ(m_form.calcInjectionTime->text(), "1900");
    EXPECT_EQ(m_form.calcIgnitionBase->text(), "30");
    EXPECT_EQ(m_form.calcIgnitionAngle->text(), "25");
    EXPECT_EQ(m_form.output1Value->text(), "Ein");
    EXPECT_EQ(m_form.output2Value->text(), "Aus");
    EXPECT_EQ(m_form.input1Value->text(), "Ein");
    EXPECT_EQ(m_form.input2Value->text(), "Aus");
    EXPECT_EQ(m_form.input3Value->text(), "Ein");
    EXPECT_EQ(textColor(m_form.calcInjectionTime), QColor(0, 0, 0));
    EXPECT_EQ(textColor(m_form.liveCpuTemp), QColor(0, 0, 0));
}

TEST_F(MainWindowTest, SwitchByteOtherThanZeroOrOneKeepsThePreviousText)
{
    m_window->showLiveValues(record());
    devlink::LiveRecord r = record();
    r.output1 = 2;
    r.input3 = 255;
    r.output2 = 1;
    m_window->showLiveValues(r);
    EXPECT_EQ(m_form.output1Value->text(), "Ein");
    EXPECT_EQ(m_form.input3Value->text(), "Ein");
    EXPECT_EQ(m_form.output2Value->text(), "Ein");
}

TEST_F(MainWindowTest, InjectionTimeTurnsRedAboveTheLimitAndBackToBlack)
{
    devlink::LiveRecord r = record();
    r.injectionTime = 8500;  // limit 8499 at 6000 rpm and 85 %
    m_window->showLiveValues(r);
    EXPECT_EQ(textColor(m_form.calcInjectionTime), QColor(255, 0, 0));
    EXPECT_EQ(m_form.calcInjectionTime->text(), "8500");
    r.injectionTime = 8499;
    m_window->showLiveValues(r);
    EXPECT_EQ(textColor(m_form.calcInjectionTime), QColor(0, 0, 0));
}

TEST_F(MainWindowTest, WarningPercentageIsReadAtEveryPoll)
{
    devlink::LiveRecord r = record();
    r.injectionTime = 9000;
    m_window->showLiveValues(r);
    EXPECT_EQ(textColor(m_form.calcInjectionTime), QColor(255, 0, 0));
    m_settings.injectionWarnPercent = 100;
    m_window->showLiveValues(r);
    EXPECT_EQ(textColor(m_form.calcInjectionTime), QColor(0, 0, 0));
}

TEST_F(MainWindowTest, CpuTemperature85IsBlackAnd86Red)
{
    devlink::LiveRecord r = record();
    r.cpuTemperature = 86;
    m_window->showLiveValues(r);
    EXPECT_EQ(textColor(m_form.liveCpuTemp), QColor(255, 0, 0));
    r.cpuTemperature = 85;
    m_window->showLiveValues(r);
    EXPECT_EQ(textColor(m_form.liveCpuTemp), QColor(0, 0, 0));
    EXPECT_EQ(m_form.liveCpuTemp->text(), "85");
}

TEST_F(MainWindowTest, IdentityShownAndCleared)
{
    devlink::DeviceIdentity id;
    id.deviceType = QStringLiteral("KVT-3Zyl....");
    id.hw = QStringLiteral("2.1");
    id.sw = QStringLiteral("3.G");
    m_window->showIdentity(id);
    EXPECT_EQ(m_form.kvtHwValue->text(), "2.1");
    EXPECT_EQ(m_form.kvtSwValue->text(), "3.G");
    m_window->clearIdentity();
    EXPECT_TRUE(m_form.kvtHwValue->text().isEmpty());
    EXPECT_TRUE(m_form.kvtSwValue->text().isEmpty());
}

TEST_F(MainWindowTest, LimiterShowsSpeedTimesHundredAndRetard)
{
    setup::SetupRecord record;
    record.limiterSpeed = 95;
    record.limiterRetard = 12;
    m_window->showLimiter(record);
    EXPECT_EQ(m_form.limiterSpeedValue->text(), "9500");
    EXPECT_EQ(m_form.limiterRetardValue->text(), "12");
}

TEST_F(MainWindowTest, LinkLampStartsGreyAndFollowsTheLinkState)
{
    EXPECT_EQ(m_form.comLamp->color(), QColor(127, 127, 127));
    m_window->drawLinkLamp(true, false, false);
    EXPECT_EQ(m_form.comLamp->color(), QColor(255, 0, 0));
    m_window->drawLinkLamp(true, false, true);
    EXPECT_EQ(m_form.comLamp->color(), QColor(0, 255, 0));
    m_window->drawLinkLamp(true, true, true);
    EXPECT_EQ(m_form.comLamp->color(), QColor(255, 204, 0));
    m_window->drawLinkLamp(false, true, true);
    EXPECT_EQ(m_form.comLamp->color(), QColor(127, 127, 127));
}

TEST_F(MainWindowTest, WindowButtonsFillHiddenWindowsThenShowThem)
{
    std::vector<app::WindowId> filled;
    for (const app::WindowInfo& info : app::windowTable) {
        const app::WindowId id = info.id;
        // Filled before it is shown, from the data of that moment.
        window(id).setFiller([this, id, &filled] {
            EXPECT_FALSE(window(id).isVisible());
            filled.push_back(id);
        });
    }

    const std::pair<QPushButton*, app::WindowId> buttons[] = {
        {m_form.settingsButton, app::WindowId::Settings},
        {m_form.testButton, app::WindowId::Test},
        {m_form.learnButton, app::WindowId::Learn},
        {m_form.lambdaLoggerButton, app::WindowId::LambdaLogger},
        {m_form.loggerButton, app::WindowId::Logger},
        {m_form.powerButton, app::WindowId::PowerComparison},
        {m_form.bigDisplayButton, app::WindowId::BigDisplay},
        {m_form.systemButton, app::WindowId::System},
    };
    std::vector<app::WindowId> expected;
    for (const auto& [button, id] : buttons) {
        ASSERT_FALSE(window(id).isVisible());
        button->click();
        EXPECT_TRUE(window(id).isVisible()) << button->text().toStdString();
        expected.push_back(id);
    }
    EXPECT_EQ(filled, expected);

    // A window already shown is only brought to the front, not filled again, so what the user
    // typed there stays.
    filled.clear();
    m_form.settingsButton->click();
    m_form.systemButton->click();
    EXPECT_TRUE(filled.empty());
    EXPECT_TRUE(window(app::WindowId::Settings).isVisible());

    // After it was closed, it is filled anew when opened again.
    window(app::WindowId::Settings).hide();
    m_form.settingsButton->click();
    EXPECT_EQ(filled, std::vector<app::WindowId>{app::WindowId::Settings});
}

TEST_F(MainWindowTest, SetupButtonsRunTheirActionsAndEmptyTheReadoutsAfterReading)
{
    std::vector<QString> calls;
    MainWindow::Actions actions;
    actions.loadSetup = [&] { calls.push_back("load"); };
    actions.saveSetup = [&] { calls.push_back("save"); };
    actions.readSetup = [&] { calls.push_back("read"); };
    actions.writeSetup = [&] { calls.push_back("write"); };
    actions.storeSetup = [&] { calls.push_back("store"); };
    actions.clearMapReadouts = [&] { calls.push_back("clear"); };
    m_window->setActions(actions);

    m_form.loadButton->click();
    m_form.saveButton->click();
    m_form.readFromKvtButton->click();
    m_form.writeToKvtButton->click();
    m_form.eepromButton->click();
    const std::vector<QString> expected = {"load",  "clear", "save", "read",
                                           "clear", "write", "store"};
    EXPECT_EQ(calls, expected);
}

TEST_F(MainWindowTest, ButtonsWithoutActionsDoNothing)
{
    m_form.loadButton->click();
    m_form.eepromButton->click();
    m_form.settingsButton->click();
    EXPECT_TRUE(window(app::WindowId::Settings).isVisible());
}

TEST_F(MainWindowTest, DescriptionHoldsAtMostHundredCharacters)
{
    m_window->setDescription(QString(150, QLatin1Char('x')));
    EXPECT_EQ(m_window->description().size(), 100);
    m_window->setDescription(QStringLiteral("Rotax 2-Zyl. Prüfstand"));
    EXPECT_EQ(m_window->description(), QStringLiteral("Rotax 2-Zyl. Prüfstand"));
    m_window->showSetupFileName(QStringLiteral("test.kvt"));
    EXPECT_EQ(m_form.setupFileName->text(), "test.kvt");
}

}  // namespace
}  // namespace display
