// The firmware update through the program's device link and real serial code, against the
// simulated KVT on a pseudo-terminal: whole updates of a HEX and a binary file, injected NAKs,
// and a link that drops in the middle of the transfer.
#include "HexRecords.h"
#include "PtyHost.h"
#include "app/core/MessageLog.h"
#include "firmware/FirmwareUpdate.h"
#include "firmware/LinkBootLine.h"
#include "link/DeviceLink.h"
#include "link/PosixSerialPort.h"
#include "support/FakeDialogs.h"
#include "support/RecordingView.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace firmware;

namespace {

class UpdateOverPty : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QString error;
        ASSERT_TRUE(host.start(&error)) << error.toStdString();
        view.port = host.portPath();
        link.setView(&view);
        log.setStatusSink([this](const QString& t) { logged << t; });
        link.connectStep();
        ASSERT_TRUE(link.identified());
    }
    void TearDown() override { host.stop(); }

    void start(const QString& name, const QByteArray& bytes)
    {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        dialogs.answerFile(f.fileName());
        update.choose();
        update.updateClicked();
        ASSERT_TRUE(update.busy());
        ASSERT_TRUE(link.firmwareBusy());
    }
    // The main loop's part: a tick every 20 ms (connectStep, then the update step or the
    // poll) and a step whenever a byte is waiting. Ends a few ticks after the update.
    void runUntilIdle(int maxMs = 20000)
    {
        devlink::LinkClock& clock = link.line().clock();
        const qint64 end = clock.nowMs() + maxMs;
        qint64 nextTick = clock.nowMs() + 20;
        while (update.busy() && clock.nowMs() < end) {
            if (link.line().bytesWaiting() > 0 && !link.connection().portFailed()) {
                update.byteWaiting();
                continue;
            }
            if (clock.nowMs() >= nextTick) {
                link.connectStep();
                update.busy() ? update.step() : link.pollCycle();
                nextTick = clock.nowMs() + 20;
            } else {
                clock.sleepMs(1);  // the program's notifier wakes it; the test looks again
            }
        }
    }
    template <typename T>
    T sim(const std::function<T(kvtsim::KvtSimulator&)>& f)
    {
        return host.withSimulator(f);
    }

    QTemporaryDir dir;
    kvtsim::PtyHost host{kvtsim::HostOptions{dir.filePath(QStringLiteral("tty.kvtsim")), true, 0}};
    app::MessageLog log;
    QStringList logged;
    testsupport::RecordingView view{{}, true};
    devlink::DeviceLink link{log, devlink::PosixSerialPort::factory()};
    testsupport::FakeDialogs dialogs;
    LinkBootLine line{link};
    FirmwareUpdate update{dialogs, log, line};
};

QByteArray firmwareBytes(int n)
{
    QByteArray out(n, '\0');
    for (int i = 0; i < n; ++i)
        out[i] = char((i * 53 + i / 300) & 0xFF);
    out.replace(1000, 7, "SWV=5.2");
    return out;
}

}  // namespace

TEST_F(UpdateOverPty, HexAndBinaryUpdatesArriveByteForByte)
{
    const QByteArray data = firmwareBytes(20000);
    for (const auto& [name, file] :
         {std::pair{QStringLiteral("kvt.hex"), firmwaretest::hexFile(data, 32)},
          std::pair{QStringLiteral("kvt.bin"), data}}) {
        SCOPED_TRACE(name.toStdString());
        start(name, file);
        runUntilIdle();
        EXPECT_FALSE(update.busy());
        EXPECT_FALSE(link.firmwareBusy());
        EXPECT_TRUE(logged.contains(QStringLiteral("update erfolgreich")));
        const QByteArray received =
            sim<QByteArray>([](kvtsim::KvtSimulator& s) { return s.bootLoader().image(); });
        EXPECT_EQ(received, update.image().bytes());
        EXPECT_EQ(received.left(data.size()), data);
        // The restarted KVT is identified anew and tells its new version.
        link.connectStep();
        EXPECT_TRUE(link.identified());
        EXPECT_EQ(link.identity().sw, QStringLiteral("5.2"));
        logged.clear();
    }
}

TEST_F(UpdateOverPty, SurvivesInjectedNaks)
{
    sim<int>([](kvtsim::KvtSimulator& s) {
        s.bootLoader().setFaults({5, false, false, 0});
        return 0;
    });
    start(QStringLiteral("kvt.bin"), firmwareBytes(3000));
    runUntilIdle();
    EXPECT_TRUE(logged.contains(QStringLiteral("update erfolgreich")));
    EXPECT_EQ(sim<int>([](kvtsim::KvtSimulator& s) { return s.bootLoader().framesRefused(); }), 1);
    EXPECT_EQ(sim<QByteArray>([](kvtsim::KvtSimulator& s) { return s.bootLoader().image(); }),
              update.image().bytes());
}

TEST_F(UpdateOverPty, ADroppedLinkEndsTheUpdateAndPollingResumesWhenItIsBack)
{
    sim<int>([](kvtsim::KvtSimulator& s) {
        s.bootLoader().setFaults({0, false, false, 4});
        return 0;
    });
    start(QStringLiteral("kvt.bin"), firmwareBytes(3000));
    runUntilIdle(5000);
    EXPECT_FALSE(update.busy());
    EXPECT_FALSE(link.firmwareBusy());
    EXPECT_TRUE(logged.contains(QStringLiteral("Update abgebrochen - com-port nicht verfügbar")));
    link.connectStep();
    EXPECT_TRUE(logged.contains(QStringLiteral("COM Fehler - Port nicht verfügbar")));
    EXPECT_FALSE(link.portOpen());

    // The KVT, left in its boot loader, is switched off and on again and the adapter is back:
    // the link reopens the port, identifies the KVT and polls again.
    sim<int>([](kvtsim::KvtSimulator& s) {
        s.receive(QByteArray(1, char(0x18)), 0);
        return 0;
    });
    host.reconnect();
    for (int i = 0; i < 200 && !link.identified(); ++i) {
        link.connectStep();
        if (!link.identified())
            link.line().clock().sleepMs(10);
    }
    ASSERT_TRUE(link.identified());
    link.pollCycle();
    EXPECT_EQ(link.replyStatus(), devlink::ReplyStatus::Ok);
}
