// The whole program with the test and expert windows: while an output test runs the tick sends
// nothing else to the KVT, and "P" is polled only while the expert window is shown.
#include "forms/Window.h"
#include "setup/ExpertWindow.h"
#include "support/MotrixOnSimulator.h"
#include "test/TestWindow.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

struct MotrixTestWindow : testsupport::MotrixOnSimulator {
    void SetUp() override
    {
        MotrixOnSimulator::SetUp();
        start();
        tick();
        ASSERT_TRUE(motrix->link().identified());
    }
};

TEST_F(MotrixTestWindow, NoPollWhileAnOutputTestRuns)
{
    motrix->testWindow().form().fuelPump->click();
    ASSERT_TRUE(motrix->testWindow().testRunning());
    QTest::qWait(50);
    const int commands = int(kvt.commandLog().size());
    motrix->loop().tick(app::Tick::ComTimer);
    EXPECT_EQ(int(kvt.commandLog().size()), commands);  // only the "V" so far
    for (int i = 0; i < 500 && motrix->testWindow().testRunning(); ++i)
        QTest::qWait(10);
    ASSERT_FALSE(motrix->testWindow().testRunning());
    EXPECT_EQ(motrix->testWindow().form().fuelPump->text(), "Benzinpumpe");
    motrix->loop().tick(app::Tick::ComTimer);
    EXPECT_TRUE(kvt.commandLog().endsWith('D'));
}

TEST_F(MotrixTestWindow, ExpertValuesOnlyWhileTheExpertWindowIsShown)
{
    motrix->loop().tick(app::Tick::ComTimer);
    EXPECT_FALSE(kvt.commandLog().contains('P'));
    motrix->windows()[app::WindowId::Expert].open();
    motrix->loop().tick(app::Tick::ComTimer);
    EXPECT_TRUE(kvt.commandLog().endsWith("DP"));
    EXPECT_EQ(motrix->expertWindow().calibrationByte(), kvt.calibrationByte());
    motrix->windows()[app::WindowId::Expert].hide();
    motrix->loop().tick(app::Tick::ComTimer);
    EXPECT_TRUE(kvt.commandLog().endsWith("PD"));
}

}  // namespace
