// The real serial code against the KVT simulator on a pseudo-terminal.
#include "LinkTestView.h"

#include "PtyHost.h"
#include "display/LiveFormat.h"
#include "link/DeviceLink.h"
#include "link/PortList.h"
#include "link/PosixSerialPort.h"
#include "test/TriggerWheel.h"

#include <QTemporaryDir>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

using namespace devlink;

namespace {

class PtyLinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        host = std::make_unique<kvtsim::PtyHost>(
            kvtsim::HostOptions{dir.filePath(QStringLiteral("tty.kvtsim")), true, 0});
        QString error;
        ASSERT_TRUE(host->start(&error)) << error.toStdString();
        view.port = host->portPath();
        link.setView(&view);
        feed.subscribe(link.feed());
    }
    void TearDown() override { host->stop(); }

    void tick()
    {
        link.connectStep();
        link.pollCycle();
    }
    template <typename F>
    void sim(F&& f)
    {
        host->withSimulator([&](kvtsim::KvtSimulator& s) { f(s); });
    }
    qsizetype mark() const { return messages.lines.size(); }

    QTemporaryDir dir;
    std::unique_ptr<kvtsim::PtyHost> host;
    linktest::LogCapture messages;
    linktest::RecordingView view;
    linktest::FeedRecorder feed;
    DeviceLink link{messages.log, PosixSerialPort::factory()};
};

const QStringList identificationLines{
    QStringLiteral("von KVT gelesen:"), QStringLiteral("- Gerät: KVT-Sim 1Zyl"),
    QStringLiteral("- HW:    2.1"),     QStringLiteral("- SW:    4.7"),
    QStringLiteral("- BL:    1.3"),     QStringLiteral("KVT wurde identifiziert")};

TEST_F(PtyLinkTest, IdentificationLinesInOrder)
{
    view.com = true;
    link.connectStep();
    QStringList expected{view.port + QStringLiteral(" ist ein")};
    expected += identificationLines;
    EXPECT_EQ(messages.lines, expected);
    EXPECT_EQ(link.identity().restartCount, 17);
    EXPECT_TRUE(link.identified());
}

TEST_F(PtyLinkTest, PortListFindsTheSimulator)
{
    const QStringList ports = refreshPortList(PosixSerialPort::factory(), dir.path());
    EXPECT_EQ(ports, QStringList{dir.path() + QStringLiteral("/tty.kvtsim")});
}

kvtsim::LiveFrame knownFrame()
{
    kvtsim::LiveFrame f;
    f.rpm = 17250;
    f.reserved = 0xBEEF;
    f.throttle = 63;
    f.engineTemp = 107;
    f.airTemp = 15;  // -5 °C
    f.ignitionBase = 24;
    f.ignitionAngle = 71;
    f.injectionBase = 4321;
    f.airTempCorrection = 108;
    f.engineTempCorrection = 93;
    f.injectionTime = 61234;
    f.output1 = 1;
    f.output2 = 0;
    f.input1 = 1;
    f.input2 = 0;
    f.input3 = 1;
    f.lambda = {712, 1023, 65535};
    f.ignitionMode = 255;
    f.signalDetected = 1;
    f.teethSeen = 10;
    f.teethPerRevolution = 12;
    f.toothPeriod = 290;
    f.gapPeriod = 580;
    f.timeStamp = 0xDEADBEEF;
    f.statusFlag1 = 1;
    f.statusFlag2 = 0;
    f.statusFlag3 = 2;
    f.cpuTemperature = 87;
    f.emergencyProgram = 1;
    f.statusFlag4 = 3;
    return f;
}

TEST_F(PtyLinkTest, EveryLiveRecordFieldDecodedFromKnownValues)
{
    const kvtsim::LiveFrame f = knownFrame();
    sim([&](kvtsim::KvtSimulator& s) { s.setFrozenFrame(f); });
    view.com = true;
    tick();
    ASSERT_EQ(feed.records.size(), 1u);
    const LiveRecord& r = link.liveRecord();
    EXPECT_EQ(r.rpm, 17250);
    EXPECT_EQ(r.rpmForMaps, 16000);
    EXPECT_EQ(r.throttle, 63);
    EXPECT_DOUBLE_EQ(r.engineTemp, 87);
    EXPECT_DOUBLE_EQ(r.airTemp, -5);
    EXPECT_EQ(r.ignitionBase, 24);
    EXPECT_EQ(r.ignitionAngle, 71);
    EXPECT_EQ(r.injectionBase, 4321);
    EXPECT_EQ(r.airTempCorrection, 108);
    EXPECT_EQ(r.engineTempCorrection, 93);
    EXPECT_EQ(r.injectionTime, 61234);
    EXPECT_EQ(r.output1, 1);
    EXPECT_EQ(r.output2, 0);
    EXPECT_EQ(r.input1, 1);
    EXPECT_EQ(r.input2, 0);
    EXPECT_EQ(r.input3, 1);
    EXPECT_DOUBLE_EQ(r.lambda[0], 712);
    EXPECT_DOUBLE_EQ(r.lambda[1], 1023);
    EXPECT_DOUBLE_EQ(r.lambda[2], 65535);
    EXPECT_EQ(r.ignitionMode, 255);
    EXPECT_EQ(r.signalDetected, 1);
    EXPECT_EQ(r.teethSeen, 10);
    EXPECT_EQ(r.teethPerRevolution, 12);
    EXPECT_EQ(r.toothPeriod, 290);
    EXPECT_EQ(r.gapPeriod, 580);
    EXPECT_EQ(r.timeStamp, 0xDEADBEEFu);
    EXPECT_EQ(r.statusFlag1, 1);
    EXPECT_EQ(r.statusFlag2, 0);
    EXPECT_EQ(r.statusFlag3, 2);
    EXPECT_EQ(r.cpuTemperature, 87);
    EXPECT_EQ(r.emergencyProgram, 1);
    EXPECT_EQ(r.statusFlag4, 3);

    // A 12-tooth wheel with one gap (the simulator's setup): all four checks pass.
    const kvttest::TriggerChecks checks = kvttest::checkTriggerWheel(r, 1, 12);
    EXPECT_TRUE(checks.allPassed());
    EXPECT_EQ(checks.gapText, QStringLiteral("1.00 Ok"));
}

TEST_F(PtyLinkTest, OutputByteTwoLeavesTheLabelAsItWas)
{
    kvtsim::LiveFrame f = knownFrame();
    sim([&](kvtsim::KvtSimulator& s) { s.setFrozenFrame(f); });
    view.com = true;
    tick();
    f.output1 = 2;
    sim([&](kvtsim::KvtSimulator& s) { s.setFrozenFrame(f); });
    tick();
    ASSERT_EQ(feed.records.size(), 2u);
    EXPECT_EQ(feed.records[1].output1, 2);
    // The label text: nothing for 2, so "Ein" stays.
    EXPECT_EQ(display::switchStateText(feed.records[0].output1), QStringLiteral("Ein"));
    EXPECT_FALSE(display::switchStateText(feed.records[1].output1).has_value());
}

TEST_F(PtyLinkTest, SimulatedEnginePassesTheTriggerChecks)
{
    view.com = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(600));  // past cranking
    tick();
    ASSERT_EQ(feed.records.size(), 1u);
    EXPECT_GT(link.liveRecord().rpm, 0);
    // The simulator's factory setup: a 12-tooth wheel with one gap.
    const kvttest::TriggerChecks checks = kvttest::checkTriggerWheel(link.liveRecord(), 1, 12);
    EXPECT_TRUE(checks.allPassed()) << checks.gapText.toStdString();
}

TEST_F(PtyLinkTest, SilentKvtTimesOutAtEveryTickAndIsFoundAgain)
{
    sim([](kvtsim::KvtSimulator& s) { s.setFault({kvtsim::Fault::Silence, 0, -1}); });
    view.com = true;
    tick();
    for (int i = 0; i < 2; ++i) {
        const qsizetype m = mark();
        tick();
        EXPECT_EQ(messages.since(m), (QStringList{QStringLiteral("Antwort dauert zu lange (i)"),
                                                  QStringLiteral("COM Fehler - timeout")}));
    }
    sim([](kvtsim::KvtSimulator& s) { s.clearFault(); });
    const qsizetype m = mark();
    tick();
    EXPECT_EQ(messages.since(m), identificationLines);
    EXPECT_TRUE(link.identified());
    EXPECT_EQ(feed.records.size(), 1u);  // polled in the same tick
}

TEST_F(PtyLinkTest, KvtFallingSilentWhileIdentified)
{
    view.com = true;
    tick();
    sim([](kvtsim::KvtSimulator& s) { s.setFault({kvtsim::Fault::Silence, 0, -1}); });
    qsizetype m = mark();
    tick();
    EXPECT_EQ(messages.since(m), QStringList{QStringLiteral("Antwort dauert zu lange (d)")});
    m = mark();
    tick();  // evaluates the time-out and tries to identify in the same tick
    EXPECT_EQ(messages.since(m), (QStringList{QStringLiteral("COM Fehler - timeout"),
                                              QStringLiteral("Antwort dauert zu lange (i)"),
                                              QStringLiteral("COM Fehler - timeout")}));
    EXPECT_FALSE(link.identified());
    m = mark();
    tick();
    EXPECT_EQ(messages.since(m), (QStringList{QStringLiteral("Antwort dauert zu lange (i)"),
                                              QStringLiteral("COM Fehler - timeout")}));
}

TEST_F(PtyLinkTest, WrongLiveLetterReidentifiesWithoutProtocolError)
{
    view.com = true;
    tick();
    sim([](kvtsim::KvtSimulator& s) { s.setFault({kvtsim::Fault::WrongLetter, 'D', 1}); });
    qsizetype m = mark();
    tick();
    EXPECT_EQ(messages.since(m), QStringList{QStringLiteral("unbekannte Antwort (d)")});
    EXPECT_FALSE(link.identified());
    m = mark();
    const size_t polls = feed.records.size();
    tick();
    EXPECT_EQ(messages.since(m), identificationLines);
    EXPECT_FALSE(messages.lines.contains(QStringLiteral("Protokollfehler")));
    EXPECT_EQ(feed.records.size(), polls + 1);  // polled again in the same tick
}

TEST_F(PtyLinkTest, WrongIdentificationLetterGivesProtocolErrorsAtEveryTick)
{
    sim([](kvtsim::KvtSimulator& s) { s.setFault({kvtsim::Fault::WrongLetter, 'I', -1}); });
    view.com = true;
    tick();
    for (int i = 0; i < 3; ++i) {
        const qsizetype m = mark();
        tick();
        EXPECT_EQ(messages.since(m), (QStringList{QStringLiteral("unbekannte Antwort (i)"),
                                                  QStringLiteral("Protokollfehler")}));
    }
    EXPECT_FALSE(link.identified());
    EXPECT_TRUE(view.identities.empty());
}

class PtyIdentificationLengthTest : public PtyLinkTest,
                                    public ::testing::WithParamInterface<kvtsim::Fault> {};

TEST_P(PtyIdentificationLengthTest, ReplyOfWrongLengthNeverIdentifies)
{
    const kvtsim::Fault fault = GetParam();
    sim([fault](kvtsim::KvtSimulator& s) { s.setFault({fault, 'I', -1}); });
    view.com = true;
    for (int i = 0; i < 3; ++i) {
        const qsizetype m = mark();
        tick();
        EXPECT_TRUE(messages.since(m).endsWith(QStringLiteral("COM Fehler - timeout")));
        EXPECT_TRUE(messages.since(m).contains(QStringLiteral("Antwort dauert zu lange (i)")));
    }
    EXPECT_FALSE(link.identified());
    EXPECT_TRUE(view.identities.empty());
}

INSTANTIATE_TEST_SUITE_P(TwentyThreeAndTwentyFive, PtyIdentificationLengthTest,
                         ::testing::Values(kvtsim::Fault::ShortReply, kvtsim::Fault::LongReply));

TEST_F(PtyLinkTest, ComTickedAndUntickedBetweenTicksChangesNothing)
{
    view.com = true;
    tick();
    const qsizetype m = mark();
    view.com = false;
    view.com = true;
    tick();
    EXPECT_TRUE(messages.since(m).isEmpty());
    EXPECT_TRUE(link.identified());
    view.com = false;
    tick();
    EXPECT_EQ(messages.since(m), QStringList{QStringLiteral("COM aus")});
    EXPECT_EQ(link.identity(), DeviceIdentity{});
}

TEST_F(PtyLinkTest, StrayBytesAreClearedByTheNextIdentification)
{
    view.com = true;
    tick();
    host->injectStray(QByteArray("\x55\xAA", 2));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    tick();  // "D" finds 47 bytes: time-out
    const qsizetype m = mark();
    const size_t polls = feed.records.size();
    tick();  // "COM Fehler - timeout", then flushes, identifies and polls in the same tick
    EXPECT_EQ(messages.since(m),
              QStringList{QStringLiteral("COM Fehler - timeout")} + identificationLines);
    EXPECT_TRUE(link.identified());
    EXPECT_EQ(feed.records.size(), polls + 1);
}

TEST_F(PtyLinkTest, UnpluggedPortComesBackByItselfWhileComStaysTicked)
{
    view.com = true;
    tick();
    ASSERT_TRUE(link.identified());
    host->dropLink(-1);
    while (host->linkUp())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const auto start = std::chrono::steady_clock::now();
    const qsizetype m = mark();
    for (int i = 0; i < 5; ++i)
        tick();
    const auto took = std::chrono::steady_clock::now() - start;
    // Reported once, from the failing line itself (no "Antwort dauert zu lange"); the ticks
    // that try the vanished path again stay quiet and never wait: the bound only guards
    // against a hang or a spin.
    EXPECT_EQ(messages.since(m), QStringList{QStringLiteral("COM Fehler - Port nicht verfügbar")});
    EXPECT_LT(took, std::chrono::seconds(1));
    EXPECT_TRUE(view.com);
    EXPECT_EQ(view.unticks, 0);
    EXPECT_FALSE(link.portOpen());
    EXPECT_FALSE(link.identified());
    EXPECT_EQ(link.identity(), DeviceIdentity{});

    // Plugged in again under the same path: the next tick opens, identifies and polls.
    host->reconnect();
    while (!host->linkUp())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const size_t polls = feed.records.size();
    const qsizetype again = mark();
    tick();
    QStringList expected{view.port + QStringLiteral(" ist ein")};
    expected += identificationLines;
    EXPECT_EQ(messages.since(again), expected);
    EXPECT_TRUE(link.identified());
    EXPECT_EQ(feed.records.size(), polls + 1);
}

TEST_F(PtyLinkTest, UntickedComDoesNotReconnect)
{
    view.com = true;
    tick();
    host->dropLink(-1);
    while (host->linkUp())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    tick();
    view.com = false;
    tick();
    host->reconnect();
    while (!host->linkUp())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const qsizetype m = mark();
    tick();
    tick();
    EXPECT_TRUE(messages.since(m).isEmpty());
    EXPECT_FALSE(link.portOpen());
}

TEST_F(PtyLinkTest, RepliesAtTheLineRate)
{
    host->setInstant(false);
    view.com = true;
    feed.voltagesWanted = true;
    feed.expertWanted = true;
    tick();
    tick();
    EXPECT_EQ(feed.records.size(), 2u);
    EXPECT_EQ(feed.volts.size(), 2u);
    EXPECT_EQ(feed.expertValues.size(), 2u);
    EXPECT_FALSE(messages.lines.join(QLatin1Char('|')).contains(QStringLiteral("Fehler")));
}

}  // namespace
