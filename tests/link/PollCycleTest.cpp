// pollCycle on a fake port: the "D" record and its feeds, "G", "A" and "P".
#include "FakeLinkFixture.h"

#include "LiveFrame.h"

using namespace devlink;
using linktest::FakeLinkTest;
using linktest::identityReply;

namespace {

class PollCycleTest : public FakeLinkTest {
protected:
    void SetUp() override
    {
        frame.rpm = 3000;
        frame.throttle = 50;
        frame.injectionBase = 2000;
        frame.airTempCorrection = 105;
        frame.engineTempCorrection = 120;
        frame.injectionTime = 2500;
        frame.signalDetected = 1;
        frame.teethSeen = 5;  // 5 + 2 gaps + 1 = 8 teeth
        frame.teethPerRevolution = 8;
        frame.toothPeriod = 1000;
        frame.gapPeriod = 3000;  // ratio 2
        frame.timeStamp = 500000;  // 5 s
        frame.ignitionMode = 255;
        frame.lambda = {700, 750, 800};
        answerWith([this](char c) { return answer(c); });
        view.com = true;
        link.connectStep();
        ASSERT_TRUE(link.identified());
        line->written.clear();
        mark = messages.lines.size();
    }

    QByteArray answer(char c)
    {
        switch (c) {
        case 'I': return identityReply();
        case 'D': return dReply.isEmpty() ? frame.encode() : dReply;
        case 'A': return QByteArray("a\x08\x00\x04\x00\x10\x00", 7);
        case 'P': {
            QByteArray p(36, '\x11');
            p[0] = 'p';
            return p;
        }
        case 'G': return gReply;
        default: return {};
        }
    }

    kvtsim::LiveFrame frame;
    QByteArray dReply;  // overrides the frame when set
    QByteArray gReply;
    qsizetype mark = 0;
};

TEST_F(PollCycleTest, NothingWhileNotIdentified)
{
    link.setIdentified(false);
    view.settingsShown = true;
    link.pollCycle();
    EXPECT_TRUE(line->written.isEmpty());
}

TEST_F(PollCycleTest, GoodReplyUpdatesRecordAndFeeds)
{
    link.pollCycle();
    EXPECT_EQ(line->written, QByteArray("D"));
    ASSERT_EQ(view.records.size(), 1u);
    EXPECT_EQ(link.liveRecord().rpm, 3000);
    EXPECT_EQ(view.records[0], link.liveRecord());
    EXPECT_EQ(view.derived[0].airTempCorrectionUs, 100);
    EXPECT_EQ(view.derived[0].engineTempCorrectionUs, 400);
    ASSERT_EQ(view.checks.size(), 1u);
    EXPECT_TRUE(view.checks[0].allPassed());
    ASSERT_EQ(view.modes.size(), 1u);
    EXPECT_TRUE(view.modes[0].first);
    ASSERT_EQ(view.points.size(), 1u);
    EXPECT_EQ(view.points[0].mapColumn, 3);
    EXPECT_EQ(view.points[0].mapRow, 4);
    EXPECT_TRUE(messages.since(mark).isEmpty());
}

TEST_F(PollCycleTest, ConstantIgnitionModeSelectsTheAngle)
{
    frame.ignitionMode = 62;
    link.pollCycle();
    ASSERT_EQ(view.modes.size(), 1u);
    EXPECT_FALSE(view.modes[0].first);
    EXPECT_EQ(view.modes[0].second, 12);
}

TEST_F(PollCycleTest, FailedReplyKeepsTheRecordButStillAsksAAndP)
{
    link.pollCycle();
    const LiveRecord before = link.liveRecord();
    dReply = QByteArray(45, 'x');
    frame.rpm = 9999;
    view.settingsShown = true;
    view.expertShown = true;
    line->written.clear();
    link.pollCycle();
    EXPECT_EQ(link.liveRecord(), before);
    EXPECT_EQ(view.records.size(), 1u);
    EXPECT_EQ(line->written, QByteArray("DAP"));
    EXPECT_FALSE(link.identified());
    EXPECT_EQ(messages.since(mark).first(), QStringLiteral("unbekannte Antwort (d)"));
}

TEST_F(PollCycleTest, SensorVoltagesFromA)
{
    view.settingsShown = true;
    link.pollCycle();
    EXPECT_EQ(line->written, QByteArray("DA"));
    ASSERT_EQ(view.volts.size(), 1u);
    EXPECT_DOUBLE_EQ(view.volts[0][0], 0x800 / 4096.0 * 2);
    EXPECT_DOUBLE_EQ(view.volts[0][1], 0x400 / 4096.0 * 2);
    EXPECT_DOUBLE_EQ(view.volts[0][2], 0x1000 / 4096.0 * 2);
}

TEST_F(PollCycleTest, ExpertValuesFromP)
{
    view.expertShown = true;
    link.pollCycle();
    ASSERT_EQ(view.expertValues.size(), 1u);
    EXPECT_EQ(view.expertValues[0], QByteArray(35, '\x11'));
}

TEST_F(PollCycleTest, SensorErrorsCountOnlyAboveTheMinimumSpeed)
{
    settings.sensorErrorMinSpeed = 1000;
    frame.teethSeen = 4;  // three checks pass
    link.pollCycle();
    EXPECT_EQ(link.sensorErrorCount(), 1);
    frame.rpm = 1000;  // not above the minimum
    link.pollCycle();
    EXPECT_EQ(link.sensorErrorCount(), 1);
    frame.rpm = 5000;
    frame.teethSeen = 5;  // all four pass
    link.pollCycle();
    EXPECT_EQ(link.sensorErrorCount(), 1);
}

TEST_F(PollCycleTest, StandingEngineCountsNoSensorError)
{
    frame.rpm = 0;
    link.pollCycle();
    EXPECT_EQ(link.sensorErrorCount(), 0);
    EXPECT_EQ(view.checks[0].gapText, QStringLiteral("--"));
    EXPECT_DOUBLE_EQ(view.derived[0].injectionWarnLimit, 600000.0 * 85);
}

TEST_F(PollCycleTest, SensorErrorCountWrapsAfter9999)
{
    frame.teethSeen = 4;
    for (int i = 0; i < 10000; ++i)
        link.pollCycle();
    EXPECT_EQ(link.sensorErrorCount(), 0);
    link.pollCycle();
    EXPECT_EQ(link.sensorErrorCount(), 1);
}

TEST_F(PollCycleTest, SpeedAbove16000IsLimitedForMapsOnly)
{
    frame.rpm = 17000;
    frame.injectionTime = 3000;
    link.pollCycle();
    EXPECT_EQ(link.liveRecord().rpm, 17000);
    EXPECT_EQ(link.liveRecord().rpmForMaps, 16000);
    EXPECT_DOUBLE_EQ(view.derived[0].injectionWarnLimit, 60.0 / 16001 * 10000 * 85);
    EXPECT_EQ(view.points[0].mapColumn, 16);
}

TEST_F(PollCycleTest, ClockOffsetAtFirstReplyAndOnRequest)
{
    link.pollCycle();
    const qint64 first = clock.nowMs() - 5000;
    EXPECT_EQ(link.clockOffset(), first);
    frame.timeStamp = 600000;
    clock.advance(50);
    link.pollCycle();
    EXPECT_EQ(link.clockOffset(), first);  // kept
    link.requestClockOffsetReset();
    link.pollCycle();
    EXPECT_EQ(link.clockOffset(), clock.nowMs() - 6000);
}

TEST_F(PollCycleTest, PowerSampleEveryIntervalPlusOnePolls)
{
    settings.powerSampleInterval = 2;
    view.powerRunning = true;
    link.startPowerRun();
    for (int i = 0; i < 6; ++i) {
        frame.timeStamp = quint32(100000 + i * 10000);  // 100 ms apart
        frame.rpm = i < 3 ? 3000 : 300;
        link.pollCycle();
    }
    ASSERT_EQ(view.powerSamples.size(), 2u);
    EXPECT_DOUBLE_EQ(view.powerSamples[0].first, 0);
    EXPECT_EQ(view.powerSamples[0].second, 3000);
    EXPECT_DOUBLE_EQ(view.powerSamples[1].first, 300);
    EXPECT_EQ(view.powerSamples[1].second, 0);  // 300 rpm or less counts as standing
}

TEST_F(PollCycleTest, LambdaSamplesGoToTheCellOfSpeedAndThrottle)
{
    view.lambdaRecording = true;
    frame.rpm = 2500;
    frame.throttle = 44;  // 3.52 -> 4 + 1
    link.pollCycle();
    ASSERT_EQ(view.lambdaSamples.size(), 1u);
    EXPECT_EQ(view.lambdaSamples[0].first.speedCell, 4);
    EXPECT_EQ(view.lambdaSamples[0].first.throttleCell, 5);
    EXPECT_EQ(view.lambdaSamples[0].second, (std::array<int, 3> {700, 750, 800}));
}

QByteArray mapReply(int cells)
{
    QByteArray r;
    r.append('g');
    for (int i = 0; i < cells; ++i) {
        r.append(char(i & 0xFF));
        r.append(char(i >> 8 | 0x10));
    }
    return r;
}

TEST_F(PollCycleTest, LearnedMapOnlyWhenLearningAndShown)
{
    gReply = mapReply(153);
    link.pollCycle();
    view.setup.learnActive = true;
    link.pollCycle();
    view.setup.learnActive = false;
    view.learnMapShown = true;
    link.pollCycle();
    EXPECT_EQ(line->written, QByteArray("DDD"));
    EXPECT_TRUE(view.maps.empty());
}

TEST_F(PollCycleTest, LearnedMapCellsLowByteFirstRowByRow)
{
    view.setup.learnActive = true;
    view.learnMapShown = true;
    gReply = mapReply(153);
    const qint64 before = clock.slept;
    link.pollCycle();
    EXPECT_EQ(line->written, QByteArray("DG"));
    EXPECT_EQ(clock.slept - before, 100);
    ASSERT_EQ(view.maps.size(), 1u);
    for (int i = 0; i < 153; ++i)
        EXPECT_EQ(view.maps[0][i], quint16((i & 0xFF) | ((i >> 8 | 0x10) << 8))) << i;
}

TEST_F(PollCycleTest, LearnedMapReplyIsCutAt1000Bytes)
{
    view.setup.learnActive = true;
    view.learnMapShown = true;
    gReply = mapReply(153) + QByteArray(900, '\x01');  // 1207 bytes
    link.pollCycle();
    ASSERT_EQ(view.maps.size(), 1u);
    EXPECT_EQ(link.bytesWaiting(), 1206 - 1000);
}

TEST_F(PollCycleTest, LearnedMapWithAnotherLetterChangesNothingSilently)
{
    view.setup.learnActive = true;
    view.learnMapShown = true;
    gReply = mapReply(153);
    gReply[0] = 'x';
    link.pollCycle();
    EXPECT_TRUE(view.maps.empty());
    EXPECT_TRUE(messages.since(mark).isEmpty());
}

TEST_F(PollCycleTest, LearnedMapCutShortKeepsTheMap)
{
    view.setup.learnActive = true;
    view.learnMapShown = true;
    gReply = mapReply(100);
    link.pollCycle();
    EXPECT_TRUE(view.maps.empty());
}

TEST_F(PollCycleTest, VanishedAdapterSendsNothing)
{
    line->failed = true;
    view.settingsShown = true;
    link.pollCycle();
    EXPECT_TRUE(line->written.isEmpty());
    EXPECT_EQ(link.replyStatus(), ReplyStatus::PortUnavailable);
}

}  // namespace
