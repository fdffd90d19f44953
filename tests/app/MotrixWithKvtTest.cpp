// The whole program wired to a simulated KVT: identification, polling, the setup read after
// identification, the transfer buttons and a map edit reaching the KVT.
#include "KvtSimulator.h"
#include "app/Motrix.h"
#include "app/SettingsCodec.h"
#include "app/SettingsStore.h"
#include "forms/Lamp.h"
#include "setup/SetupBlock.h"
#include "support/FakeDialogs.h"
#include "support/FakeSerialPort.h"
#include "support/TestApplication.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct MotrixWithKvt : ::testing::Test {
    QTemporaryDir dir;
    QString programDir = dir.path() + "/";
    testsupport::FakeDialogs dialogs;
    kvtsim::KvtSimulator kvt;
    std::shared_ptr<testsupport::FakeLine> line = std::make_shared<testsupport::FakeLine>();
    QElapsedTimer sinceStart;
    QStringList logged;
    std::unique_ptr<app::Motrix> motrix;

    void SetUp() override
    {
        testsupport::application();
        sinceStart.start();
        line->onWrite = [this](testsupport::FakeLine& l, const QByteArray& bytes) {
            l.feed(kvt.receive(bytes, sinceStart.elapsed()));
        };
    }

    void start(bool readSetupAfterIdentification)
    {
        app::ProgramSettings s;
        s.portName = "/dev/tty.kvtsim";
        s.comAtStart = true;
        s.readSetupAfterIdentification = readSetupAfterIdentification;
        QFile f(app::settingsFilePath(programDir));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(app::encodeSettings(s));
        f.close();

        motrix = std::make_unique<app::Motrix>(dialogs, programDir,
                                               testsupport::FakeSerialPort::factory(line));
        motrix->setPortLister([] { return QStringList({"/dev/tty.kvtsim"}); });
        motrix->startUp({false, false});
        // The test drives the ticks itself.
        motrix->loop().stop();
        motrix->log().setStatusSink([this](const QString& t) { logged << t; });
    }
};

TEST_F(MotrixWithKvt, FirstTickIdentifiesPollsAndReadsTheSetup)
{
    start(true);
    ASSERT_TRUE(motrix->mainForm().comCheck->isChecked());
    motrix->loop().tick(app::Tick::ComTimer);

    ASSERT_TRUE(motrix->link().identified());
    EXPECT_TRUE(logged.contains("KVT wurde identifiziert"));
    EXPECT_TRUE(logged.contains("Daten von KVT gelesen"));
    // The program's record now is the simulator's setup.
    EXPECT_EQ(setup::encodeSetupBlock(motrix->setupRecord()), kvt.setup());
    // The same tick polled: the live panel shows the engine speed the KVT sent.
    EXPECT_EQ(motrix->mainForm().liveRpm->text(), QString::number(motrix->link().liveRecord().rpm));
    EXPECT_FALSE(motrix->mainForm().kvtHwValue->text().isEmpty());
    EXPECT_EQ(motrix->mainForm().comLamp->color(), QColor(0, 255, 0));
}

TEST_F(MotrixWithKvt, TransferButtonsReachTheKvt)
{
    start(false);
    motrix->loop().tick(app::Tick::ComTimer);
    ASSERT_TRUE(motrix->link().identified());
    EXPECT_FALSE(logged.contains("Daten von KVT gelesen"));

    motrix->mainForm().readFromKvtButton->click();
    EXPECT_EQ(logged.last(), "Daten von KVT gelesen");
    EXPECT_EQ(setup::encodeSetupBlock(motrix->setupRecord()), kvt.setup());

    motrix->setupRecord().limiterSpeed = 123;
    motrix->mainForm().writeToKvtButton->click();
    EXPECT_EQ(logged.last(), "Daten an KVT geschrieben");
    EXPECT_EQ(quint8(kvt.setup()[23]), 123);

    motrix->mainForm().eepromButton->click();
    EXPECT_EQ(quint8(kvt.eeprom()[23]), 123);
}

TEST_F(MotrixWithKvt, ComOffClearsTheIdentityAndGreysTheLamp)
{
    start(false);
    motrix->loop().tick(app::Tick::ComTimer);
    ASSERT_TRUE(motrix->link().identified());
    motrix->mainForm().comCheck->setChecked(false);
    motrix->loop().tick(app::Tick::ComTimer);
    EXPECT_FALSE(motrix->link().portOpen());
    EXPECT_TRUE(logged.contains("COM aus"));
    EXPECT_TRUE(motrix->mainForm().kvtHwValue->text().isEmpty());
    EXPECT_EQ(motrix->mainForm().comLamp->color(), QColor(127, 127, 127));
}

}  // namespace
