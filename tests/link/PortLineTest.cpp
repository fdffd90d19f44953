// The port line: the reply wait (exact count, 200 ms deadline, letter check and the order of
// its tests) and the raw bytes without a port.
#include "FakeLinkFixture.h"

using namespace devlink;
using linktest::FakeLinkTest;

namespace {

class PortLineTest : public FakeLinkTest {
protected:
    void SetUp() override
    {
        connectIdentified();
        mark = messages.lines.size();
    }
    qsizetype mark = 0;
};

TEST_F(PortLineTest, ExactCountWithTheRightLetterIsOk)
{
    line->schedule(5, QByteArray("a\x01\x02\x03\x04\x05\x06", 7));
    EXPECT_EQ(link.line().waitReply(7, QStringLiteral("a")), ReplyStatus::Ok);
    EXPECT_EQ(link.line().bytesWaiting(), 6);  // the letter was read, the rest is the caller's
    EXPECT_TRUE(link.identified());
    EXPECT_TRUE(messages.since(mark).isEmpty());
}

TEST_F(PortLineTest, ReplyArrivingInPiecesIsAwaitedWithoutSpinning)
{
    line->schedule(3, QByteArray("a\x01\x02", 3));
    line->schedule(9, QByteArray("\x03\x04", 2));
    line->schedule(15, QByteArray("\x05\x06", 2));
    EXPECT_EQ(link.line().waitReply(7, QStringLiteral("a")), ReplyStatus::Ok);
    // One sleep per piece, not one pass per millisecond.
    EXPECT_LE(line->waitCalls, 4);
}

TEST_F(PortLineTest, LongerReplyTimesOutAndStaysOnTheLine)
{
    line->schedule(5, QByteArray(8, 'a'));
    const qint64 start = clock.nowMs();
    EXPECT_EQ(link.line().waitReply(7, QStringLiteral("a")), ReplyStatus::Timeout);
    EXPECT_GT(clock.nowMs() - start, 200);
    EXPECT_LE(clock.nowMs() - start, 202);
    EXPECT_EQ(link.line().bytesWaiting(), 8);
    EXPECT_EQ(messages.since(mark), QStringList{QStringLiteral("Antwort dauert zu lange (a)")});
    // A time-out alone leaves identified for connectStep to drop.
    EXPECT_TRUE(link.identified());
}

TEST_F(PortLineTest, ShorterReplyTimesOut)
{
    line->schedule(5, QByteArray(6, 'a'));
    EXPECT_EQ(link.line().waitReply(7, QStringLiteral("a")), ReplyStatus::Timeout);
}

TEST_F(PortLineTest, WrongLetterIsUnknownAndDropsIdentification)
{
    line->schedule(5, QByteArray(7, 'x'));
    EXPECT_EQ(link.line().waitReply(7, QStringLiteral("a")), ReplyStatus::UnknownReply);
    EXPECT_FALSE(link.identified());
    EXPECT_EQ(link.line().bytesWaiting(), 6);  // the rest of the reply is left on the line
    EXPECT_EQ(messages.since(mark), QStringList{QStringLiteral("unbekannte Antwort (a)")});
}

TEST_F(PortLineTest, WithoutLetterNothingIsRead)
{
    line->schedule(5, QByteArray(579, 'z'));
    EXPECT_EQ(link.line().waitReply(579), ReplyStatus::Ok);
    EXPECT_EQ(link.line().bytesWaiting(), 579);
}

TEST_F(PortLineTest, EmptyLetterAppearsEmptyInTheTimeoutMessage)
{
    EXPECT_EQ(link.line().waitReply(579), ReplyStatus::Timeout);
    EXPECT_EQ(messages.since(mark), QStringList{QStringLiteral("Antwort dauert zu lange ()")});
}

TEST_F(PortLineTest, ReplyCompletingInTheDeadlinePassIsStillChecked)
{
    // The wait sleeps to just past the deadline; the reply lands exactly then. The time-out
    // is logged first, then the count test still reads and checks the letter.
    line->schedule(201, QByteArray(7, 'x'));
    EXPECT_EQ(link.line().waitReply(7, QStringLiteral("a")), ReplyStatus::UnknownReply);
    EXPECT_EQ(messages.since(mark), (QStringList{QStringLiteral("Antwort dauert zu lange (a)"),
                                                 QStringLiteral("unbekannte Antwort (a)")}));
}

TEST_F(PortLineTest, RightLetterInTheDeadlinePassKeepsTimeout)
{
    line->schedule(201, QByteArray("a\x01\x02\x03\x04\x05\x06", 7));
    EXPECT_EQ(link.line().waitReply(7, QStringLiteral("a")), ReplyStatus::Timeout);
    EXPECT_EQ(link.line().bytesWaiting(), 6);
}

TEST_F(PortLineTest, StartsFromOkWhateverCameBefore)
{
    link.line().setReplyStatus(ReplyStatus::Timeout);
    line->schedule(1, QByteArray(3, 'g'));
    EXPECT_EQ(link.line().waitReply(3, QStringLiteral("g")), ReplyStatus::Ok);
    EXPECT_EQ(link.line().replyStatus(), ReplyStatus::Ok);
}

TEST_F(PortLineTest, VanishedAdapterEndsTheWaitAtOnce)
{
    line->failed = true;
    const qint64 start = clock.nowMs();
    EXPECT_EQ(link.line().waitReply(45, QStringLiteral("d")), ReplyStatus::PortUnavailable);
    EXPECT_EQ(clock.nowMs(), start);
    EXPECT_TRUE(messages.since(mark).isEmpty());
}

// Without a port made yet nothing is sent or read, and the wait ends at once as a time-out.
TEST(PortLineAlone, DoesNothingWithoutAPort)
{
    linktest::LogCapture messages;
    testsupport::FakeClock clock;
    PortConnection connection{messages.log, {}};
    PortLine line{connection, messages.log, clock};
    line.sendLetter('D');
    line.sendBytes("xyz");
    EXPECT_FALSE(line.readByte().has_value());
    EXPECT_TRUE(line.read(5).isEmpty());
    EXPECT_EQ(line.bytesWaiting(), 0);
    EXPECT_EQ(line.bytesToWrite(), 0);
    line.discardInput();
    const qint64 start = clock.nowMs();
    EXPECT_EQ(line.waitReply(45, QStringLiteral("d")), ReplyStatus::Timeout);
    EXPECT_EQ(clock.nowMs(), start);
    EXPECT_EQ(messages.lines, QStringList{QStringLiteral("Antwort dauert zu lange (d)")});
}

// read() takes what is waiting, never more than asked for.
TEST_F(PortLineTest, ReadTakesWhatIsWaitingUpToTheCount)
{
    line->feed("abcdef");
    EXPECT_EQ(link.line().read(4), QByteArray("abcd"));
    EXPECT_EQ(link.line().read(10), QByteArray("ef"));
    EXPECT_TRUE(link.line().read(3).isEmpty());
}

}  // namespace
