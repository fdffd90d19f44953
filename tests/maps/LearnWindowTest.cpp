// The learn mode window: its entries and swaps, the lambda input bits, the learn switch that
// goes to the KVT at once only while it is identified, and the learned map display.
#include "app/core/WindowTable.h"
#include "forms/Window.h"
#include "maps/LearnWindow.h"
#include "support/TestApplication.h"

#include <QApplication>
#include <QFocusEvent>
#include <gtest/gtest.h>
#include <vector>

namespace {

using testsupport::application;

struct AppGuard {
    AppGuard() { application(); }
};

struct Fixture : AppGuard {
    forms::Window window{app::windowInfo(app::WindowId::Learn)};
    setup::SetupRecord record;
    bool identified = false;
    std::vector<int> sent;
    int livePanel = 0;
    int redraws = 0;
    maps::LearnWindow learn{
        window,
        record,
        {[this] { return identified; }, [this](int value) { sent.push_back(value); },
         [this] { ++livePanel; }, [this] { ++redraws; }}};
    forms::Lernen& f = learn.form();

    void type(QLineEdit* field, const char* text)
    {
        field->setText(QString::fromUtf8(text));
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(field, &out);
    }
};

TEST(LearnWindow, StartsWithTheRecordsValues)
{
    Fixture fx;
    EXPECT_EQ(fx.f.minEngineTemp->text(), "50");
    EXPECT_EQ(fx.f.speedLow->text(), "2000");
    EXPECT_EQ(fx.f.speedHigh->text(), "16000");
    EXPECT_EQ(fx.f.throttleLow->text(), "10");
    EXPECT_EQ(fx.f.throttleHigh->text(), "100");
    EXPECT_EQ(fx.f.lambdaTarget->text(), "0.750");
    EXPECT_EQ(fx.f.increment->text(), "100");
    EXPECT_EQ(fx.f.rate->text(), "100");
    EXPECT_FALSE(fx.f.showMapUpdates->isChecked());
}

TEST(LearnWindow, EntriesAreConvertedAndLimited)
{
    struct Case {
        QLineEdit* forms::Lernen::*field;
        const char* typed;
        int (*stored)(const setup::SetupRecord&);
        int expectStored;
        const char* expectShown;
    };
    const Case cases[] = {
        {&forms::Lernen::lambdaTarget, "0.75",
         [](const setup::SetupRecord& r) { return int(r.lambdaTarget); }, 750, "0.750"},
        {&forms::Lernen::lambdaTarget, "2",
         [](const setup::SetupRecord& r) { return int(r.lambdaTarget); }, 1500, "1.500"},
        // Volts are truncated to whole mV.
        {&forms::Lernen::lambdaTarget, "0.4569",
         [](const setup::SetupRecord& r) { return int(r.lambdaTarget); }, 456, "0.456"},
        {&forms::Lernen::increment, "1",
         [](const setup::SetupRecord& r) { return int(r.learnIncrement); }, 5, "5"},
        {&forms::Lernen::increment, "900",
         [](const setup::SetupRecord& r) { return int(r.learnIncrement); }, 500, "500"},
        {&forms::Lernen::rate, "abc", [](const setup::SetupRecord& r) { return int(r.learnRate); },
         20, "20"},
        {&forms::Lernen::minEngineTemp, "-40",
         [](const setup::SetupRecord& r) { return int(r.learnMinEngineTemp); }, 0, "-20"},
        {&forms::Lernen::minEngineTemp, "65",
         [](const setup::SetupRecord& r) { return int(r.learnMinEngineTemp); }, 85, "65"},
        {&forms::Lernen::speedLow, "2550",
         [](const setup::SetupRecord& r) { return int(r.learnSpeedLow); }, 25, "2500"},
        {&forms::Lernen::throttleHigh, "120",
         [](const setup::SetupRecord& r) { return int(r.learnThrottleHigh); }, 100, "100"},
    };
    for (const Case& c : cases) {
        Fixture fx;
        QLineEdit* field = fx.f.*c.field;
        fx.type(field, c.typed);
        EXPECT_EQ(c.stored(fx.record), c.expectStored) << c.typed;
        EXPECT_EQ(field->text(), QString::fromUtf8(c.expectShown)) << c.typed;
        EXPECT_EQ(fx.livePanel, 1);
    }
}

TEST(LearnWindow, LimitsEnteredTheWrongWayRoundAreSwapped)
{
    Fixture fx;
    fx.f.speedLow->setText("5000");
    fx.f.speedHigh->setText("3000");
    fx.f.throttleLow->setText("80");
    fx.f.throttleHigh->setText("20");
    emit fx.window.menuEvent(2);  // the keypad's Enter, like Return
    EXPECT_EQ(fx.record.learnSpeedLow, 30);
    EXPECT_EQ(fx.record.learnSpeedHigh, 50);
    EXPECT_EQ(fx.f.speedLow->text(), "3000");
    EXPECT_EQ(fx.f.speedHigh->text(), "5000");
    EXPECT_EQ(fx.record.learnThrottleLow, 20);
    EXPECT_EQ(fx.record.learnThrottleHigh, 80);
    EXPECT_EQ(fx.f.throttleLow->text(), "20");
    EXPECT_EQ(fx.f.throttleHigh->text(), "80");
}

TEST(LearnWindow, LambdaBoxesFormTheInputBits)
{
    Fixture fx;
    fx.f.lambdaInputs[0]->click();
    fx.f.lambdaInputs[2]->click();
    EXPECT_EQ(fx.record.learnLambdaInputs, 5);
    fx.f.lambdaInputs[1]->click();
    EXPECT_EQ(fx.record.learnLambdaInputs, 7);
    fx.f.lambdaInputs[0]->click();
    EXPECT_EQ(fx.record.learnLambdaInputs, 6);
    fx.record.learnLambdaInputs = 1;
    fx.learn.refill();
    EXPECT_TRUE(fx.f.lambdaInputs[0]->isChecked());
    EXPECT_FALSE(fx.f.lambdaInputs[1]->isChecked());
    EXPECT_FALSE(fx.f.lambdaInputs[2]->isChecked());
}

TEST(LearnWindow, LearnSwitchGoesToTheKvtOnlyWhileIdentified)
{
    Fixture fx;
    fx.f.learnActive->click();
    EXPECT_EQ(fx.record.learnActive, 1);
    EXPECT_TRUE(fx.sent.empty());
    fx.identified = true;
    fx.f.learnActive->click();
    fx.f.learnActive->click();
    EXPECT_EQ(fx.record.learnActive, 1);
    EXPECT_EQ(fx.sent, (std::vector<int>{0, 1}));
    // A take-over sends nothing: the limits reach the KVT with the whole setup.
    emit fx.window.menuEvent(1);
    EXPECT_EQ(fx.sent.size(), 2u);
}

TEST(LearnWindow, LearnedMapIsWantedWhileLearningAndShown)
{
    Fixture fx;
    EXPECT_FALSE(fx.learn.learnedMapWanted());
    fx.f.showMapUpdates->click();
    EXPECT_TRUE(fx.learn.mapUpdatesShown());
    EXPECT_FALSE(fx.learn.learnedMapWanted());
    fx.f.learnActive->click();
    EXPECT_TRUE(fx.learn.learnedMapWanted());

    std::array<quint16, setup::mapCells> cells{};
    cells[setup::mapCellIndex(16, 8)] = 4321;
    cells[setup::mapCellIndex(3, 0)] = 1200;
    fx.learn.learnedMapRead(cells);
    EXPECT_EQ(fx.record.injectionCell(16, 8), 4321);
    EXPECT_EQ(fx.record.injectionCell(3, 0), 1200);
    EXPECT_EQ(fx.redraws, 1);
}

TEST(LearnWindow, RefillAndShownFlag)
{
    Fixture fx;
    fx.record.learnActive = 1;
    fx.record.lambdaTarget = 1234;
    fx.record.learnSpeedHigh = 80;
    fx.window.open();
    EXPECT_TRUE(fx.learn.shown());
    EXPECT_TRUE(fx.f.learnActive->isChecked());
    EXPECT_EQ(fx.f.lambdaTarget->text(), "1.234");
    EXPECT_EQ(fx.f.speedHigh->text(), "8000");
    fx.window.close();
    EXPECT_FALSE(fx.learn.shown());
}

}  // namespace
