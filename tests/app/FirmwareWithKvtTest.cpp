// The whole program updating the simulated KVT's firmware over a pseudo-terminal: the system
// window's "Firmware" area, the port notifier that sends each frame as soon as its ACK is there,
// the refused start on a closed port, and quitting in the middle of an update.
#include "PtyHost.h"
#include "app/FirmwareArea.h"
#include "app/Motrix.h"
#include "app/core/SettingsCodec.h"
#include "app/core/SettingsStore.h"
#include "app/SystemWindow.h"
#include "forms/Lamp.h"
#include "forms/systemdialog.h"
#include "link/PosixSerialPort.h"
#include "support/FakeDialogs.h"
#include "support/TestApplication.h"

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct FirmwareWithKvt : ::testing::Test {
    QTemporaryDir dir;
    QString programDir = dir.path() + "/";
    QString portPath = dir.filePath(QStringLiteral("tty.kvtsim"));
    testsupport::FakeDialogs dialogs;
    kvtsim::PtyHost host{kvtsim::HostOptions{portPath, true, 0}};
    QStringList logged;
    std::unique_ptr<app::Motrix> motrix;

    void SetUp() override
    {
        testsupport::application();
        QString error;
        ASSERT_TRUE(host.start(&error)) << error.toStdString();
        app::ProgramSettings s;
        s.portName = portPath;
        s.comAtStart = true;
        QFile f(app::settingsFilePath(programDir));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(app::encodeSettings(s));
        f.close();
        motrix =
            std::make_unique<app::Motrix>(dialogs, programDir, devlink::PosixSerialPort::factory());
        motrix->setPortLister([this] { return QStringList{portPath}; });
        motrix->startUp({false, false});
        motrix->loop().stop();  // the test gives the ticks
        motrix->log().setStatusSink([this](const QString& t) { logged << t; });
        tick();
        ASSERT_TRUE(motrix->link().identified());
    }
    void TearDown() override
    {
        motrix.reset();
        host.stop();
    }

    forms::Systemdialog& area() { return motrix->systemWindow().form(); }
    void tick() { motrix->loop().tick(app::Tick::ComTimer); }
    // Bytes from the boot loader are handled by the notifier while events are processed.
    void events(int ms) { QTest::qWait(ms); }
    void choose(const QByteArray& bytes)
    {
        QFile f(dir.filePath(QStringLiteral("kvt.bin")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        dialogs.answerFile(f.fileName());
        area().chooseFirmware->click();
    }
    template <typename T>
    T sim(const std::function<T(kvtsim::KvtSimulator&)>& f)
    {
        return host.withSimulator(f);
    }
};

QByteArray firmwareBytes(int n)
{
    QByteArray out(n, '\0');
    for (int i = 0; i < n; ++i)
        out[i] = char((i * 29 + 7) & 0xFF);
    return out;
}

}  // namespace

TEST_F(FirmwareWithKvt, UpdateRunsOnTheNotifierBetweenTicks)
{
    ASSERT_TRUE(area().updateFirmware->isEnabled());
    choose(firmwareBytes(40 * 128 - 1));
    EXPECT_EQ(area().firmwareFile->text(), QStringLiteral("kvt.bin"));
    area().updateFirmware->click();
    ASSERT_TRUE(motrix->link().firmwareBusy());
    EXPECT_EQ(area().updateFirmware->text(), QStringLiteral("Abbruch"));
    EXPECT_EQ(area().firmwareProgress->maximum(), 40);
    EXPECT_TRUE(motrix->firmwareArea().watching());

    // One tick sends the attention byte; all 40 frames then follow their ACKs without a tick.
    tick();
    EXPECT_EQ(motrix->mainForm().comLamp->color(), QColor(255, 204, 0));
    for (int i = 0; i < 200 && motrix->link().firmwareBusy(); ++i)
        events(10);
    EXPECT_FALSE(motrix->link().firmwareBusy());
    EXPECT_EQ(area().firmwareStatus->text(), QStringLiteral("update erfolgreich beendet"));
    EXPECT_EQ(area().updateFirmware->text(), QStringLiteral("update KVT"));
    EXPECT_FALSE(motrix->firmwareArea().watching());
    EXPECT_EQ(sim<int>([](kvtsim::KvtSimulator& s) { return s.bootLoader().framesAccepted(); }),
              40);
    EXPECT_EQ(sim<QByteArray>([](kvtsim::KvtSimulator& s) { return s.bootLoader().image(); }),
              motrix->firmwareArea().update().image().bytes());

    // The restarted KVT is identified anew at the next tick and polled again.
    tick();
    EXPECT_TRUE(motrix->link().identified());
    EXPECT_EQ(motrix->link().identity().sw, QStringLiteral("5.0"));
    EXPECT_EQ(motrix->mainForm().comLamp->color(), QColor(0, 255, 0));
}

TEST_F(FirmwareWithKvt, AClosedPortRefusesTheStartAndPollingGoesOn)
{
    choose(firmwareBytes(300));
    motrix->mainForm().comCheck->setChecked(false);
    tick();
    ASSERT_FALSE(motrix->link().portOpen());
    dialogs.clear();
    area().updateFirmware->click();
    EXPECT_EQ(dialogs.boxTexts().last(), QStringLiteral("com-port nicht verfügbar"));
    EXPECT_FALSE(motrix->link().firmwareBusy());
    motrix->mainForm().comCheck->setChecked(true);
    tick();
    EXPECT_TRUE(motrix->link().identified());
    EXPECT_EQ(sim<int>([](kvtsim::KvtSimulator& s) { return int(s.inBootLoader()); }), 0);
}

TEST_F(FirmwareWithKvt, QuittingDuringAnUpdateAsksThenSendsTheCancelByte)
{
    sim<int>([](kvtsim::KvtSimulator& s) {
        s.bootLoader().setFaults({0, true, false, 0});  // refuses every frame: never done
        return 0;
    });
    choose(firmwareBytes(3000));
    area().updateFirmware->click();
    tick();
    events(50);
    ASSERT_TRUE(motrix->link().firmwareBusy());
    ASSERT_TRUE(sim<bool>([](kvtsim::KvtSimulator& s) { return s.inBootLoader(); }));

    motrix->loop().requestQuit();
    dialogs.answerQuestion(true);
    tick();
    EXPECT_EQ(dialogs.calls.back().title, QStringLiteral("Beenden?"));
    motrix->shutDown();
    events(50);
    EXPECT_FALSE(motrix->link().portOpen());
    EXPECT_TRUE(logged.contains(QStringLiteral("update durch Benutzer abgebrochen")));
    EXPECT_EQ(logged.last(), QStringLiteral("KVT beenden ... Tschuess..."));
    EXPECT_EQ(sim<QString>([](kvtsim::KvtSimulator& s) { return s.bootLoader().events().last(); }),
              QStringLiteral("18"));
    EXPECT_FALSE(sim<bool>([](kvtsim::KvtSimulator& s) { return s.inBootLoader(); }));
}
