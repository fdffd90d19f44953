// The whole program updating the simulated KVT's firmware over a pseudo-terminal: the system
// window's "Firmware" area, the port notifier that sends each frame as soon as its ACK is there,
// the refused start on a closed port, quitting in the middle of an update, and the boot loader
// left waiting by a dropped link or a killed program: found, resumed or cancelled.
#include "PtyHost.h"
#include "app/FirmwareArea.h"
#include "app/Motrix.h"
#include "app/QtDialogs.h"
#include "app/core/SettingsCodec.h"
#include "app/core/SettingsStore.h"
#include "app/SystemWindow.h"
#include "firmware/UpdateMarker.h"
#include "forms/Lamp.h"
#include "forms/systemdialog.h"
#include "link/PosixSerialPort.h"
#include "support/FakeDialogs.h"
#include "support/TestApplication.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
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
        launch();
        tick();
        ASSERT_TRUE(motrix->link().identified());
    }
    // A (new) run of the program in the same program directory; COM is on at start.
    void launch(app::Dialogs* with = nullptr)
    {
        motrix = std::make_unique<app::Motrix>(with ? *with : dialogs, programDir,
                                               devlink::PosixSerialPort::factory());
        motrix->setPortLister([this] { return QStringList{portPath}; });
        motrix->startUp({false, false});
        motrix->loop().stop();  // the test gives the ticks
        motrix->log().setStatusSink([this](const QString& t) { logged << t; });
    }
    void TearDown() override
    {
        motrix.reset();
        host.stop();
    }

    int questions() const
    {
        int n = 0;
        for (const auto& c : dialogs.calls)
            n += c.kind == testsupport::FakeDialogs::Kind::Question;
        return n;
    }
    // Ticks until the program asks, as it does once it found the waiting boot loader.
    void tickUntilAsked(int maxTicks = 40)
    {
        for (int i = 0; i < maxTicks && questions() == 0; ++i) {
            tick();
            events(10);
        }
    }
    void eventsWhileBusy(int maxMs = 4000)
    {
        for (int i = 0; i < maxMs / 10 && motrix->link().firmwareBusy(); ++i)
            events(10);
    }
    bool markerExists() const
    {
        return QFile::exists(firmware::UpdateMarker(programDir).filePath());
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

TEST_F(FirmwareWithKvt, ALinkDroppedAtBlock10IsResumedOrCancelledOnceItIsBack)
{
    for (const bool resume : {true, false}) {
        SCOPED_TRACE(resume ? "resume" : "cancel");
        sim<int>([](kvtsim::KvtSimulator& s) {
            s.bootLoader().setFaults({0, false, false, 10});
            return 0;
        });
        choose(firmwareBytes(40 * 128));
        area().updateFirmware->click();
        tick();
        eventsWhileBusy();
        ASSERT_EQ(area().firmwareStatus->text(),
                  QStringLiteral("update abgebrochen - com-port nicht verfügbar"));
        ASSERT_EQ(sim<int>([](kvtsim::KvtSimulator& s) { return s.bootLoader().framesAccepted(); }),
                  10);
        EXPECT_TRUE(markerExists());
        tick();  // the link reports the lost port
        sim<int>([](kvtsim::KvtSimulator& s) {
            s.bootLoader().setFaults({});
            return 0;
        });
        host.reconnect();
        dialogs.clear();
        logged.clear();
        dialogs.answerQuestion(resume);
        tickUntilAsked();
        ASSERT_EQ(questions(), 1);
        EXPECT_EQ(dialogs.calls.back().title, QStringLiteral("firmware update"));
        EXPECT_TRUE(dialogs.calls.back().text.contains(QStringLiteral("kvt.bin fortsetzen")));
        EXPECT_TRUE(logged.contains(QStringLiteral("KVT wartet im Bootloader auf firmware")));
        if (resume) {
            eventsWhileBusy();
            EXPECT_EQ(area().firmwareStatus->text(), QStringLiteral("update erfolgreich beendet"));
            EXPECT_EQ(
                sim<QByteArray>([](kvtsim::KvtSimulator& s) { return s.bootLoader().image(); }),
                motrix->firmwareArea().update().image().bytes());
        } else {
            EXPECT_EQ(area().firmwareStatus->text(),
                      QStringLiteral("update durch Benutzer abgebrochen!"));
            EXPECT_EQ(sim<QString>(
                          [](kvtsim::KvtSimulator& s) { return s.bootLoader().events().last(); }),
                      QStringLiteral("18"));
        }
        tick();
        EXPECT_TRUE(motrix->link().identified());
        EXPECT_FALSE(sim<bool>([](kvtsim::KvtSimulator& s) { return s.inBootLoader(); }));
        EXPECT_EQ(area().updateFirmware->text(), QStringLiteral("update KVT"));
        EXPECT_FALSE(markerExists());
        EXPECT_EQ(questions(), 1);
    }
}

TEST_F(FirmwareWithKvt, AProgramKilledDuringAnUpdateFindsTheWaitingBootLoaderAtItsNextStart)
{
    // The transfer stands still after block 10, however fast the line runs, until the kill.
    sim<int>([](kvtsim::KvtSimulator& s) {
        s.bootLoader().setFaults({0, false, false, 0, 10});
        return 0;
    });
    choose(firmwareBytes(60 * 128));
    area().updateFirmware->click();
    tick();
    for (int i = 0; i < 400; ++i) {
        if (sim<int>([](kvtsim::KvtSimulator& s) { return s.bootLoader().framesAccepted(); }) >= 10)
            break;
        events(1);
    }
    ASSERT_TRUE(markerExists());
    const QByteArray image = motrix->firmwareArea().update().image().bytes();
    motrix.reset();  // killed: neither the end nor the cancel byte
    ASSERT_TRUE(sim<bool>([](kvtsim::KvtSimulator& s) { return s.inBootLoader(); }));
    EXPECT_EQ(sim<int>([](kvtsim::KvtSimulator& s) { return s.bootLoader().framesAccepted(); }), 10);
    sim<int>([](kvtsim::KvtSimulator& s) {
        s.bootLoader().setFaults({});
        return 0;
    });

    dialogs.clear();
    dialogs.answerQuestion(true);
    launch();
    EXPECT_EQ(area().firmwareFile->text(), QStringLiteral("kvt.bin"));
    tickUntilAsked();
    ASSERT_EQ(questions(), 1);
    eventsWhileBusy();
    EXPECT_EQ(area().firmwareStatus->text(), QStringLiteral("update erfolgreich beendet"));
    EXPECT_EQ(sim<QByteArray>([](kvtsim::KvtSimulator& s) { return s.bootLoader().image(); }),
              image);
    tick();
    EXPECT_TRUE(motrix->link().identified());
    EXPECT_FALSE(markerExists());
}

TEST_F(FirmwareWithKvt, ASilentKvtIsProbedOnlyAfterACutOffUpdateAndNoFasterThanIdentified)
{
    struct Case {
        const char* name;
        bool marker;   // an earlier run was cut off during an update
        bool request;  // "Bootloader suchen"
        int probes;    // -1: one after each unanswered "I"
    };
    const Case cases[] = {
        {"silent", false, false, 0},
        {"asked", false, true, 1},
        {"cut off", true, false, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        motrix.reset();
        if (c.marker)
            firmware::UpdateMarker(programDir).write({dir.filePath("kvt.bin"), 300});
        const auto counts = [this] {
            return sim<std::pair<int, int>>([](kvtsim::KvtSimulator& s) {
                return std::pair{int(s.commandLog().count('I')), s.noiseBytes()};
            });
        };
        sim<int>([](kvtsim::KvtSimulator& s) {
            s.setFault({kvtsim::Fault::Silence, 0, -1, 0});
            return 0;
        });
        const auto before = counts();
        dialogs.clear();
        logged.clear();
        launch();
        tick();
        if (c.request) {
            area().findBootLoader->click();
            EXPECT_EQ(area().firmwareStatus->text(), QStringLiteral("suche Bootloader ..."));
        }
        for (int i = 0; i < 5; ++i)
            tick();
        events(50);  // the last tick's probe reaches the simulator
        const auto after = counts();
        const int identifications = after.first - before.first;
        const int probes = after.second - before.second;
        EXPECT_EQ(identifications, 6);
        if (c.probes >= 0)
            EXPECT_EQ(probes, c.probes);
        else
            EXPECT_EQ(probes, identifications);
        if (c.request)
            EXPECT_EQ(area().firmwareStatus->text(),
                      QStringLiteral("kein wartender Bootloader gefunden"));
        EXPECT_EQ(questions(), 0);
        sim<int>([](kvtsim::KvtSimulator& s) {
            s.clearFault();
            return 0;
        });
        // Once the KVT answers again no boot loader waits: the marker goes.
        tick();
        EXPECT_TRUE(motrix->link().identified());
        EXPECT_FALSE(markerExists());
    }
}

// The box for the documentation, taken only when MOTRIX_SCREENSHOTS names a folder and the
// program runs on a real (virtual) X display: xvfb-run -s '-screen 0 1600x1200x24'.
TEST_F(FirmwareWithKvt, Screenshot)
{
    const QString folder = qEnvironmentVariable("MOTRIX_SCREENSHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "MOTRIX_SCREENSHOTS not set";
    motrix.reset();
    QFile file(dir.filePath(QStringLiteral("kvt.bin")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(firmwareBytes(300));
    file.close();
    firmware::UpdateMarker(programDir).write({file.fileName(), 300});
    sim<int>([](kvtsim::KvtSimulator& s) {
        s.receive("U", 0);
        return 0;
    });
    app::QtDialogs shown;
    launch(&shown);
    motrix->mainForm().systemButton->click();
    forms::Window& system = motrix->windows()[app::WindowId::System];
    system.move(0, 0);
    bool taken = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || taken)
            return;
        taken = true;
        // Over the left column, so that the Firmware area stays in sight.
        box->move(system.geometry().topLeft() + QPoint(10, 40));
        for (int n = 0; n < 20; ++n) {
            QCoreApplication::processEvents();
            QThread::msleep(20);
        }
        const QRect g = system.frameGeometry().united(box->frameGeometry());
        QProcess::execute(
            "import", {"-window", "root", "-crop",
                       QString("%1x%2+%3+%4").arg(g.width()).arg(g.height()).arg(g.x()).arg(g.y()),
                       folder + "/boot-loader-waiting.png"});
        box->button(QMessageBox::No)->click();
    });
    poll.start(100);
    for (int i = 0; i < 20 && !taken; ++i) {
        tick();
        events(50);
    }
    EXPECT_TRUE(taken);
    motrix.reset();  // before the dialogs it uses
}
