// The whole program with the test and expert windows: while an output test runs the tick sends
// nothing else to the KVT, "P" is polled only while the expert window is shown, and the test
// window shows the identity of a setup loaded while it is open.
#include "forms/Window.h"
#include "setup/ExpertWindow.h"
#include "setup/SetupFileCodec.h"
#include "support/MotrixOnSimulator.h"
#include "test/TestWindow.h"

#include <QDateTime>
#include <QFile>
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

TEST_F(MotrixTestWindow, ALoadedSetupShowsItsIdentityBesideTheConnectedKvt)
{
    forms::Testdialog& form = motrix->testWindow().form();
    motrix->mainForm().testButton->click();
    ASSERT_TRUE(motrix->windows()[app::WindowId::Test].isVisible());
    const QString path = dir.filePath("other.kvt");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(setup::encodeSetupFile({}, "Prüfstand", {"KVT-Alt", "1.9", "2.0", "1.2", "7"},
                                   QDateTime::currentDateTime()));
    f.close();
    dialogs.answerFile(path);
    motrix->mainForm().loadButton->click();
    EXPECT_EQ(form.loadedVersion[0]->text(), "1.9");
    EXPECT_EQ(form.loadedVersion[1]->text(), "2.0");
    EXPECT_EQ(form.loadedVersion[2]->text(), "1.2");
    // The connected KVT's column keeps the simulator's identity.
    EXPECT_EQ(form.connectedVersion[1]->text(), motrix->link().identity().sw.trimmed());
    EXPECT_FALSE(form.connectedVersion[1]->text().isEmpty());
}

}  // namespace
