// pollCycle on a fake port: the "D" record to the subscribers, "G", "A" and "P" on demand.
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
        frame.gapPeriod = 3000;    // ratio 2
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
    devlink::LinkTestAccess::setIdentified(link, false);
    feed.voltagesWanted = true;
    link.poll().run();
    EXPECT_TRUE(line->written.isEmpty());
}

TEST_F(PollCycleTest, GoodReplyIsPublishedToEverySubscriber)
{
    linktest::FeedRecorder second;
    second.subscribe(link.poll().feed());
    link.poll().run();
    EXPECT_EQ(line->written, QByteArray("D"));
    ASSERT_EQ(feed.records.size(), 1u);
    EXPECT_EQ(link.poll().liveRecord().rpm, 3000);
    EXPECT_EQ(feed.records[0], link.poll().liveRecord());
    EXPECT_EQ(second.records, feed.records);
    EXPECT_TRUE(messages.since(mark).isEmpty());
}

TEST_F(PollCycleTest, RemovedSubscriptionsNeitherHearNorAsk)
{
    int heard = 0;
    const auto live = link.poll().feed().onLiveRecord([&](const LiveRecord&) { ++heard; });
    const auto query = link.poll().feed().want(OnDemand::ExpertValues, [] { return true; });
    link.poll().run();
    link.poll().feed().remove(live);
    link.poll().feed().remove(query);
    line->written.clear();
    link.poll().run();
    EXPECT_EQ(heard, 1);
    EXPECT_EQ(line->written, QByteArray("D"));
}

TEST_F(PollCycleTest, FailedReplyKeepsTheRecordButStillAsksAAndP)
{
    link.poll().run();
    const LiveRecord before = link.poll().liveRecord();
    dReply = QByteArray(45, 'x');
    frame.rpm = 9999;
    feed.voltagesWanted = true;
    feed.expertWanted = true;
    line->written.clear();
    link.poll().run();
    EXPECT_EQ(link.poll().liveRecord(), before);
    EXPECT_EQ(feed.records.size(), 1u);
    EXPECT_EQ(line->written, QByteArray("DAP"));
    EXPECT_FALSE(link.identified());
    EXPECT_EQ(messages.since(mark).first(), QStringLiteral("unbekannte Antwort (d)"));
}

TEST_F(PollCycleTest, SensorVoltagesFromA)
{
    feed.voltagesWanted = true;
    link.poll().run();
    EXPECT_EQ(line->written, QByteArray("DA"));
    ASSERT_EQ(feed.volts.size(), 1u);
    EXPECT_DOUBLE_EQ(feed.volts[0][0], 0x800 / 4096.0 * 2);
    EXPECT_DOUBLE_EQ(feed.volts[0][1], 0x400 / 4096.0 * 2);
    EXPECT_DOUBLE_EQ(feed.volts[0][2], 0x1000 / 4096.0 * 2);
}

TEST_F(PollCycleTest, ExpertValuesFromP)
{
    feed.expertWanted = true;
    link.poll().run();
    ASSERT_EQ(feed.expertValues.size(), 1u);
    EXPECT_EQ(feed.expertValues[0], QByteArray(35, '\x11'));
}

TEST_F(PollCycleTest, SpeedAbove16000IsLimitedForMapsOnly)
{
    frame.rpm = 17000;
    link.poll().run();
    EXPECT_EQ(link.poll().liveRecord().rpm, 17000);
    EXPECT_EQ(link.poll().liveRecord().rpmForMaps, 16000);
}

TEST_F(PollCycleTest, ClockOffsetAtFirstReplyAndOnRequest)
{
    link.poll().run();
    const qint64 first = clock.nowMs() - 5000;
    EXPECT_EQ(link.poll().clockOffset(), first);
    frame.timeStamp = 600000;
    clock.advance(50);
    link.poll().run();
    EXPECT_EQ(link.poll().clockOffset(), first);  // kept
    link.poll().requestClockOffsetReset();
    link.poll().run();
    EXPECT_EQ(link.poll().clockOffset(), clock.nowMs() - 6000);
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

TEST_F(PollCycleTest, OnDemandRepliesOnlyWhileWanted)
{
    gReply = mapReply(153);
    link.poll().run();
    EXPECT_EQ(line->written, QByteArray("D"));
    EXPECT_TRUE(feed.maps.empty());
    EXPECT_TRUE(feed.volts.empty());
    EXPECT_TRUE(feed.expertValues.empty());
}

TEST_F(PollCycleTest, LearnedMapCellsLowByteFirstRowByRow)
{
    feed.learnedMapWanted = true;
    gReply = mapReply(153);
    const qint64 before = clock.slept;
    link.poll().run();
    EXPECT_EQ(line->written, QByteArray("DG"));
    EXPECT_EQ(clock.slept - before, 100);
    ASSERT_EQ(feed.maps.size(), 1u);
    for (int i = 0; i < 153; ++i)
        EXPECT_EQ(feed.maps[0][i], quint16((i & 0xFF) | ((i >> 8 | 0x10) << 8))) << i;
}

TEST_F(PollCycleTest, LearnedMapReplyIsCutAt1000Bytes)
{
    feed.learnedMapWanted = true;
    gReply = mapReply(153) + QByteArray(900, '\x01');  // 1207 bytes
    link.poll().run();
    ASSERT_EQ(feed.maps.size(), 1u);
    EXPECT_EQ(link.line().bytesWaiting(), 1206 - 1000);
}

TEST_F(PollCycleTest, LearnedMapWithAnotherLetterChangesNothingSilently)
{
    feed.learnedMapWanted = true;
    gReply = mapReply(153);
    gReply[0] = 'x';
    link.poll().run();
    EXPECT_TRUE(feed.maps.empty());
    EXPECT_TRUE(messages.since(mark).isEmpty());
}

TEST_F(PollCycleTest, LearnedMapCutShortKeepsTheMap)
{
    feed.learnedMapWanted = true;
    gReply = mapReply(100);
    link.poll().run();
    EXPECT_TRUE(feed.maps.empty());
}

TEST_F(PollCycleTest, VanishedAdapterSendsNothing)
{
    line->failed = true;
    feed.voltagesWanted = true;
    link.poll().run();
    EXPECT_TRUE(line->written.isEmpty());
    EXPECT_EQ(link.replyStatus(), ReplyStatus::PortUnavailable);
}

}  // namespace
