// connectStep on a fake port: the COM switch, identification, the reply-status table.
#include "FakeLinkFixture.h"

using namespace devlink;
using linktest::FakeLinkTest;
using linktest::identityReply;

namespace {

const QStringList identificationLines{
    QStringLiteral("von KVT gelesen:"), QStringLiteral("- Gerät: KVT 3Zyl-Sim"),
    QStringLiteral("- HW:    2.1"),     QStringLiteral("- SW:    4.7"),
    QStringLiteral("- BL:    1.3"),     QStringLiteral("KVT wurde identifiziert")};

using ConnectStepTest = FakeLinkTest;

TEST_F(ConnectStepTest, TickedComOpensIdentifiesAndLogsInOrder)
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
    EXPECT_TRUE(link.identified());
    const DeviceIdentity& id = link.identity();
    EXPECT_EQ(id.deviceType, QStringLiteral("KVT 3Zyl-Sim"));
    EXPECT_EQ(id.hw, QStringLiteral("2.1"));
    EXPECT_EQ(id.sw, QStringLiteral("4.7"));
    EXPECT_EQ(id.bl, QStringLiteral("1.3"));
    EXPECT_EQ(id.restartCount, 0x0102);
    ASSERT_EQ(view.identities.size(), 1u);
    EXPECT_EQ(view.identities[0], id);
    EXPECT_EQ(link.replyStatus(), ReplyStatus::Ok);
}

TEST_F(ConnectStepTest, IdentityTakesEveryByteAsOneCharacterUntrimmed)
{
    QByteArray reply = identityReply();
    reply[1] = char(0xE9);  // é in the device type
    reply[12] = ' ';
    answerWith([reply](char c) { return c == 'I' ? reply : QByteArray(); });
    view.com = true;
    link.connectStep();
    EXPECT_EQ(link.identity().deviceType, QString::fromUtf8("\u00e9VT 3Zyl-Si "));
}

TEST_F(ConnectStepTest, IdentifiedKvtIsNotAskedAgain)
{
    connectIdentified();
    line->written.clear();
    link.connectStep();
    EXPECT_TRUE(line->written.isEmpty());
}

TEST_F(ConnectStepTest, FailedOpenReportsAndUnticksInTheSameTick)
{
    line->openFails = true;
    view.com = true;
    link.connectStep();
    EXPECT_EQ(messages.lines, QStringList{QStringLiteral("COM Fehler - Port nicht verfügbar")});
    EXPECT_FALSE(view.com);
    EXPECT_EQ(view.unticks, 1);
    EXPECT_FALSE(link.comSwitch());
    EXPECT_FALSE(link.portOpen());
    EXPECT_EQ(link.replyStatus(), ReplyStatus::Ok);
}

TEST_F(ConnectStepTest, RefusedOpenTellsWhatTheUserCanDo)
{
    struct Case {
        QString port;
        int error;
        QString statusLine;  // after "COM Fehler - Port nicht verfügbar", empty for none
        QString adviceMentions;
        QStringList refusedInList = {};
    };
    const Case cases[] = {
        {"/dev/ttyUSB0", EACCES,
         "Keine Berechtigung für /dev/ttyUSB0 - Benutzer zur Gruppe dialout hinzufügen",
         "Gruppe \"dialout\" hinzufügen"},
        {"/dev/ttyUSB0", EPERM,
         "Keine Berechtigung für /dev/ttyUSB0 - Benutzer zur Gruppe dialout hinzufügen",
         "ab- und wieder anmelden"},
        {"", ENOENT, "Kein serieller Anschluss gefunden", "tty.*, ttyUSB* und ttyACM*"},
        {"/dev/ttyUSB0", EBUSY, "", ""},
        // No port listed, but the list left one out for lack of permission.
        {"", ENOENT, "Keine Berechtigung für /dev/ttyUSB3 - Benutzer zur Gruppe dialout hinzufügen",
         "ab- und wieder anmelden", {"/dev/ttyUSB3"}},
        {"/dev/ttyUSB0", ENOENT, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.port.toStdString() + " " + std::to_string(c.error));
        line->openFails = true;
        line->openErrno = c.error;
        view.port = c.port;
        view.portHelp.clear();
        link.setRefusedPorts(c.refusedInList);
        view.com = true;
        const qsizetype mark = messages.lines.size();
        link.connectStep();
        QStringList expected{QStringLiteral("COM Fehler - Port nicht verfügbar")};
        if (!c.statusLine.isEmpty())
            expected << c.statusLine;
        EXPECT_EQ(messages.since(mark), expected);
        EXPECT_FALSE(view.com);
        ASSERT_EQ(view.portHelp.size(), c.adviceMentions.isEmpty() ? 0 : 1);
        if (!c.adviceMentions.isEmpty()) {
            EXPECT_TRUE(view.portHelp[0].contains(c.adviceMentions));
        }
    }
}

TEST_F(ConnectStepTest, ComOffClosesClearsIdentityAndLogs)
{
    connectIdentified();
    const int clears = view.identityClears;
    view.com = false;
    const qsizetype mark = messages.lines.size();
    link.connectStep();
    EXPECT_EQ(messages.since(mark), QStringList{QStringLiteral("COM aus")});
    EXPECT_FALSE(line->open);
    EXPECT_FALSE(link.portOpen());
    EXPECT_FALSE(link.identified());
    EXPECT_EQ(link.identity(), DeviceIdentity{});
    EXPECT_EQ(view.identityClears, clears + 1);
}

TEST_F(ConnectStepTest, ComTickedAndUntickedBetweenTicksChangesNothing)
{
    connectIdentified();
    const qsizetype mark = messages.lines.size();
    const int opens = line->opens;
    view.com = false;
    view.com = true;  // the box is only read at the tick
    link.connectStep();
    EXPECT_TRUE(messages.since(mark).isEmpty());
    EXPECT_EQ(line->opens, opens);
    EXPECT_TRUE(link.identified());
}

TEST_F(ConnectStepTest, NewPortChoiceCountsOnlyAfterComOffAndOn)
{
    connectIdentified();
    view.port = QStringLiteral("/dev/tty.other");
    link.connectStep();
    EXPECT_EQ(link.portName(), QStringLiteral("/dev/tty.kvt"));
    view.com = false;
    link.connectStep();
    view.com = true;
    link.connectStep();
    EXPECT_EQ(line->lastPath, QStringLiteral("/dev/tty.other"));
}

TEST_F(ConnectStepTest, SilentKvtTimesOutAtEveryTick)
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

TEST_F(ConnectStepTest, WrongIdentificationLetterIsAProtocolError)
{
    answerWith([](char c) { return c == 'I' ? identityReply('x') : QByteArray(); });
    view.com = true;
    link.connectStep();
    EXPECT_EQ(messages.since(1), (QStringList{QStringLiteral("unbekannte Antwort (i)"),
                                              QStringLiteral("Protokollfehler")}));
    EXPECT_FALSE(link.identified());
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
        EXPECT_FALSE(link.identified());
        EXPECT_TRUE(messages.since(mark).contains(QStringLiteral("COM Fehler - timeout")));
    }
    EXPECT_TRUE(view.identities.empty());
}

INSTANTIATE_TEST_SUITE_P(ShortAndLong, IdentificationLengthTest, ::testing::Values(23, 25));

TEST_F(ConnectStepTest, FirmwareBusySuspendsIdentification)
{
    view.com = true;
    link.setFirmwareBusy(true);
    link.connectStep();
    EXPECT_TRUE(line->written.isEmpty());
    EXPECT_TRUE(link.portOpen());
    EXPECT_FALSE(link.identified());
}

TEST_F(ConnectStepTest, SetupIsReadAfterEachIdentificationWhenAsked)
{
    int reads = 0;
    link.setAfterIdentification([&] {
        ++reads;
        // The hook runs after "KVT wurde identifiziert".
        EXPECT_EQ(messages.lines.last(), QStringLiteral("KVT wurde identifiziert"));
    });
    settings.readSetupAfterIdentification = true;
    connectIdentified();
    EXPECT_EQ(reads, 1);
    // A time-out drops the identification; the tick after identifies and reads again.
    devlink::LinkTestAccess::setReplyStatus(link, ReplyStatus::Timeout);
    link.connectStep();
    link.connectStep();
    EXPECT_EQ(reads, 2);
}

TEST_F(ConnectStepTest, SetupIsNotReadWhenNotAsked)
{
    int reads = 0;
    link.setAfterIdentification([&] { ++reads; });
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
    EXPECT_EQ(link.replyStatus(), ReplyStatus::Ok);
    EXPECT_FALSE(link.identified());
    EXPECT_EQ(link.identity(), DeviceIdentity{});
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

TEST_F(ConnectStepTest, UnpluggedAdapterIsReportedOnceAndReopenedWhenBack)
{
    connectIdentified();
    line->failed = true;
    const qsizetype mark = messages.lines.size();
    link.pollCycle();
    link.connectStep();
    EXPECT_EQ(messages.since(mark),
              QStringList{QStringLiteral("COM Fehler - Port nicht verfügbar")});
    EXPECT_FALSE(line->open);
    EXPECT_TRUE(view.com);
    EXPECT_TRUE(link.portLost());
    EXPECT_FALSE(link.portOpen());
    EXPECT_FALSE(link.identified());

    // Still away: exactly one quiet attempt per tick on the same path, whatever is selected.
    line->failed = false;
    line->openFails = true;
    view.port = QStringLiteral("/dev/tty.other");
    const int opens = line->opens;
    for (int i = 0; i < 4; ++i) {
        link.connectStep();
        link.pollCycle();
    }
    EXPECT_EQ(line->opens, opens + 4);
    EXPECT_EQ(line->lastPath, QStringLiteral("/dev/tty.kvt"));
    EXPECT_EQ(messages.lines.size(), mark + 1);
    EXPECT_FALSE(link.identified());

    // Back: opened, announced and identified in the same tick.
    line->openFails = false;
    line->written.clear();
    link.connectStep();
    EXPECT_EQ(messages.since(mark + 1).first(), QStringLiteral("/dev/tty.kvt ist ein"));
    EXPECT_EQ(messages.lines.last(), QStringLiteral("KVT wurde identifiziert"));
    EXPECT_TRUE(link.identified());
    EXPECT_FALSE(link.portLost());
    EXPECT_EQ(line->written, QByteArray("I"));
}

TEST_F(ConnectStepTest, UntickingComEndsTheReconnectAttempts)
{
    connectIdentified();
    line->failed = true;
    link.connectStep();
    ASSERT_TRUE(link.portLost());
    view.com = false;
    link.connectStep();
    EXPECT_EQ(messages.lines.last(), QStringLiteral("COM aus"));
    EXPECT_FALSE(link.portLost());
    line->failed = false;
    const int opens = line->opens;
    link.connectStep();
    link.connectStep();
    EXPECT_EQ(line->opens, opens);
    EXPECT_FALSE(link.portOpen());
}

TEST_F(ConnectStepTest, AdapterVanishingBetweenTicksIsNoticedWithoutACommand)
{
    connectIdentified();
    line->failed = true;
    link.connectStep();
    EXPECT_FALSE(link.portOpen());
    EXPECT_EQ(messages.lines.last(), QStringLiteral("COM Fehler - Port nicht verfügbar"));
}

}  // namespace
