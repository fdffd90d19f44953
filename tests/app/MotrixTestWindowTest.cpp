// The whole program with the test and expert windows: while an output test runs the tick sends
// nothing else to the KVT, "P" is polled only while the expert window is shown, and the test
// window shows the identity of a setup loaded while it is open.
#include "KvtSimulator.h"
#include "app/Motrix.h"
#include "app/SettingsCodec.h"
#include "app/SettingsStore.h"
#include "forms/Window.h"
#include "setup/ExpertWindow.h"
#include "setup/SetupFileCodec.h"
#include "support/FakeDialogs.h"
#include "support/FakeSerialPort.h"
#include "support/TestApplication.h"
#include "test/TestWindow.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct MotrixTestWindow : ::testing::Test {
    QTemporaryDir dir;
    QString programDir = dir.path() + "/";
    testsupport::FakeDialogs dialogs;
    kvtsim::KvtSimulator kvt;
    std::shared_ptr<testsupport::FakeLine> line = std::make_shared<testsupport::FakeLine>();
    QElapsedTimer sinceStart;
    std::unique_ptr<app::Motrix> motrix;

    void SetUp() override
    {
        testsupport::application();
        sinceStart.start();
        line->onWrite = [this](testsupport::FakeLine& l, const QByteArray& bytes) {
            l.feed(kvt.receive(bytes, sinceStart.elapsed()));
        };
        app::ProgramSettings s;
        s.portName = "/dev/tty.kvtsim";
        s.comAtStart = true;
        QFile f(app::settingsFilePath(programDir));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(app::encodeSettings(s));
        f.close();
        motrix = std::make_unique<app::Motrix>(dialogs, programDir,
                                               testsupport::FakeSerialPort::factory(line));
        motrix->setPortLister([] { return QStringList({"/dev/tty.kvtsim"}); });
        motrix->startUp({false, false});
        motrix->loop().stop();  // the test drives the ticks
        motrix->loop().tick(app::Tick::ComTimer);
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
