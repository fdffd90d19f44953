// Identification on a fake port at every tick: "I" and the identity, its failures, the setup read
// after it, and the reply-status table.
#include "FakeLinkFixture.h"

using namespace devlink;
using linktest::FakeLinkTest;
using linktest::identityReply;

namespace {

const QStringList identificationLines{
    QStringLiteral("von KVT gelesen:"), QStringLiteral("- Gerät: KVT 3Zyl-Sim"),
    QStringLiteral("- HW:    2.1"),     QStringLiteral("- SW:    4.7"),
    QStringLiteral("- BL:    1.3"),     QStringLiteral("KVT wurde identifiziert")};

using IdentificationTest = FakeLinkTest;

TEST_F(IdentificationTest, TickedComOpensIdentifiesAndLogsInOrder)
{
    answerWith([](char c) { return c == 'I' ? identityReply() : QByteArray(); });
    line->feed("old bytes");  // discarded before "I"
    view.com = true;
    link.connectStep();
    EXPECT_EQ(line->lastPath, QStringLiteral("/dev/tty.kvt"));
    EXPECT_EQ(line->lastBufferSize, 254);
    EXPECT_EQ(line->written, QByteArray("I"));
    QStringList expected{QStringLiteral("/dev/tty.kvt ist ein")};
    expected += identificationLines;
    EXPECT_EQ(messages.lines, expected);
    EXPECT_TRUE(link.portOpen());
    EXPECT_TRUE(link.comSwitch());
    EXPECT_TRUE(link.identification().identified());
    const DeviceIdentity& id = link.identification().identity();
    EXPECT_EQ(id.deviceType, QStringLiteral("KVT 3Zyl-Sim"));
    EXPECT_EQ(id.hw, QStringLiteral("2.1"));
    EXPECT_EQ(id.sw, QStringLiteral("4.7"));
    EXPECT_EQ(id.bl, QStringLiteral("1.3"));
    EXPECT_EQ(id.restartCount, 0x0102);
    ASSERT_EQ(view.identities.size(), 1u);
    EXPECT_EQ(view.identities[0], id);
    EXPECT_EQ(link.line().replyStatus(), ReplyStatus::Ok);
}

TEST_F(IdentificationTest, IdentityTakesEveryByteAsOneCharacterUntrimmed)
{
    QByteArray reply = identityReply();
    reply[1] = char(0xE9);  // é in the device type
    reply[12] = ' ';
    answerWith([reply](char c) { return c == 'I' ? reply : QByteArray(); });
    view.com = true;
    link.connectStep();
    EXPECT_EQ(link.identification().identity().deviceType, QString::fromUtf8("\u00e9VT 3Zyl-Si "));
}

TEST_F(IdentificationTest, IdentifiedKvtIsNotAskedAgain)
{
    connectIdentified();
    line->written.clear();
    link.connectStep();
    EXPECT_TRUE(line->written.isEmpty());
}

TEST_F(IdentificationTest, SilentKvtTimesOutAtEveryTick)
{
    view.com = true;
    link.connectStep();
    EXPECT_EQ(messages.lines, (QStringList{QStringLiteral("/dev/tty.kvt ist ein"),
                                           QStringLiteral("Antwort dauert zu lange (i)"),
                                           QStringLiteral("COM Fehler - timeout")}));
    const qsizetype mark = messages.lines.size();
    link.connectStep();
    EXPECT_EQ(messages.since(mark), (QStringList{QStringLiteral("Antwort dauert zu lange (i)"),
                                                 QStringLiteral("COM Fehler - timeout")}));
    EXPECT_EQ(line->written, QByteArray("II"));
}

TEST_F(IdentificationTest, WrongIdentificationLetterIsAProtocolError)
{
    answerWith([](char c) { return c == 'I' ? identityReply('x') : QByteArray(); });
    view.com = true;
    link.connectStep();
    EXPECT_EQ(messages.since(1), (QStringList{QStringLiteral("unbekannte Antwort (i)"),
                                              QStringLiteral("Protokollfehler")}));
    EXPECT_FALSE(link.identification().identified());
}

class IdentificationLengthTest : public FakeLinkTest, public ::testing::WithParamInterface<int> {};

TEST_P(IdentificationLengthTest, NeverIdentifies)
{
    const int length = GetParam();
    answerWith([length](char c) {
        QByteArray r = identityReply();
        r.resize(length, '\0');
        return c == 'I' ? r : QByteArray();
    });
    view.com = true;
    for (int tick = 0; tick < 3; ++tick) {
        const qsizetype mark = messages.lines.size();
        link.connectStep();
        EXPECT_FALSE(link.identification().identified());
        EXPECT_TRUE(messages.since(mark).contains(QStringLiteral("COM Fehler - timeout")));
    }
    EXPECT_TRUE(view.identities.empty());
}

INSTANTIATE_TEST_SUITE_P(ShortAndLong, IdentificationLengthTest, ::testing::Values(23, 25));

TEST_F(IdentificationTest, FirmwareBusySuspendsIdentification)
{
    view.com = true;
    link.setFirmwareBusy(true);
    link.connectStep();
    EXPECT_TRUE(line->written.isEmpty());
    EXPECT_TRUE(link.portOpen());
    EXPECT_FALSE(link.identification().identified());
}

TEST_F(IdentificationTest, SetupIsReadAfterEachIdentificationWhenAsked)
{
    int reads = 0;
    link.identification().setAfterIdentification([&] {
        ++reads;
        // The hook runs after "KVT wurde identifiziert".
        EXPECT_EQ(messages.lines.last(), QStringLiteral("KVT wurde identifiziert"));
    });
    setupReadWanted = true;
    connectIdentified();
    EXPECT_EQ(reads, 1);
    // A time-out drops the identification; the tick after identifies and reads again.
    devlink::LinkTestAccess::setReplyStatus(link, ReplyStatus::Timeout);
    link.connectStep();
    link.connectStep();
    EXPECT_EQ(reads, 2);
}

TEST_F(IdentificationTest, SetupIsNotReadWhenNotAsked)
{
    int reads = 0;
    link.identification().setAfterIdentification([&] { ++reads; });
    connectIdentified();
    EXPECT_EQ(reads, 0);
}

struct StatusCase {
    ReplyStatus status;
    const char* message;
    bool portStaysOpen;
};

class ReplyStatusTableTest : public FakeLinkTest,
                             public ::testing::WithParamInterface<StatusCase> {};

TEST_P(ReplyStatusTableTest, EvaluatedOnceAndReset)
{
    connectIdentified();
    const int clears = view.identityClears;
    line->onWrite = nullptr;  // the next identification would otherwise succeed at once
    devlink::LinkTestAccess::setReplyStatus(link, GetParam().status);
    // Evaluation comes after the identification step, so "I" is not sent in this tick; only
    // a time-out left by a command is evaluated first and the identification follows at once
    // (unanswered here).
    const qsizetype mark = messages.lines.size();
    link.connectStep();
    QStringList expected{QString::fromUtf8(GetParam().message)};
    if (GetParam().status == ReplyStatus::Timeout)
        expected << QStringLiteral("Antwort dauert zu lange (i)")
                 << QStringLiteral("COM Fehler - timeout");
    EXPECT_EQ(messages.since(mark), expected);
    EXPECT_EQ(link.line().replyStatus(), ReplyStatus::Ok);
    EXPECT_FALSE(link.identification().identified());
    EXPECT_EQ(link.identification().identity(), DeviceIdentity{});
    EXPECT_EQ(view.identityClears, clears + (GetParam().status == ReplyStatus::Timeout ? 2 : 1));
    EXPECT_EQ(link.portOpen(), GetParam().portStaysOpen);
    // An open port that fails is lost, not switched off: "COM" stays ticked in every case.
    EXPECT_TRUE(view.com);
    EXPECT_TRUE(link.comSwitch());
    EXPECT_EQ(view.unticks, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReplyStatusTableTest,
    ::testing::Values(StatusCase{ReplyStatus::PortUnavailable, "COM Fehler - Port nicht verfügbar",
                                 false},
                      StatusCase{ReplyStatus::UnknownReply, "Protokollfehler", true},
                      StatusCase{ReplyStatus::Timeout, "COM Fehler - timeout", true}));

}  // namespace
