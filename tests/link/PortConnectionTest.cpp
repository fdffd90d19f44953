// The port connection on a fake port at every tick: "COM" on and off, failed and refused opens,
// the unplugged adapter and its reconnection.
#include "FakeLinkFixture.h"

using namespace devlink;
using linktest::FakeLinkTest;
using linktest::identityReply;

namespace {

using PortConnectionTest = FakeLinkTest;

// The connection on its own: what each change of the box did, and that a failed open is only
// reported when asked, after the identification had its say.
TEST(PortConnectionAlone, TellsWhatEachChangeOfTheBoxDid)
{
    linktest::LogCapture messages;
    linktest::RecordingView view;
    auto line = std::make_shared<testsupport::FakeLine>();
    PortConnection connection{messages.log, testsupport::FakeSerialPort::factory(line)};
    connection.setView(&view);
    using Change = PortConnection::Change;
    EXPECT_EQ(connection.followComSwitch(), Change::None);
    view.com = true;
    EXPECT_EQ(connection.followComSwitch(), Change::Opened);
    EXPECT_EQ(connection.followComSwitch(), Change::None);
    EXPECT_TRUE(line->open);
    view.com = false;
    EXPECT_EQ(connection.followComSwitch(), Change::SwitchedOff);
    EXPECT_FALSE(line->open);
    line->openFails = true;
    view.com = true;
    EXPECT_EQ(connection.followComSwitch(), Change::OpenFailed);
    EXPECT_EQ(messages.lines, (QStringList{"/dev/tty.kvt ist ein", "COM aus"}));
    connection.dropUnavailablePort();
    EXPECT_EQ(view.unticks, 1);
    EXPECT_FALSE(connection.comSwitch());
    connection.reportUnavailable();
    EXPECT_EQ(messages.lines.last(), QStringLiteral("COM Fehler - Port nicht verfügbar"));
}

TEST_F(PortConnectionTest, FailedOpenReportsAndUnticksInTheSameTick)
{
    line->openFails = true;
    view.com = true;
    link.connectStep();
    EXPECT_EQ(messages.lines, QStringList{QStringLiteral("COM Fehler - Port nicht verfügbar")});
    EXPECT_FALSE(view.com);
    EXPECT_EQ(view.unticks, 1);
    EXPECT_FALSE(link.connection().comSwitch());
    EXPECT_FALSE(link.connection().portOpen());
    EXPECT_EQ(link.replyStatus(), ReplyStatus::Ok);
}

TEST_F(PortConnectionTest, RefusedOpenTellsWhatTheUserCanDo)
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
        {"",
         ENOENT,
         "Keine Berechtigung für /dev/ttyUSB3 - Benutzer zur Gruppe dialout hinzufügen",
         "ab- und wieder anmelden",
         {"/dev/ttyUSB3"}},
        {"/dev/ttyUSB0", ENOENT, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.port.toStdString() + " " + std::to_string(c.error));
        line->openFails = true;
        line->openErrno = c.error;
        view.port = c.port;
        view.portHelp.clear();
        link.connection().setRefusedPorts(c.refusedInList);
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

TEST_F(PortConnectionTest, ComOffClosesClearsIdentityAndLogs)
{
    connectIdentified();
    const int clears = view.identityClears;
    view.com = false;
    const qsizetype mark = messages.lines.size();
    link.connectStep();
    EXPECT_EQ(messages.since(mark), QStringList{QStringLiteral("COM aus")});
    EXPECT_FALSE(line->open);
    EXPECT_FALSE(link.connection().portOpen());
    EXPECT_FALSE(link.identified());
    EXPECT_EQ(link.identity(), DeviceIdentity{});
    EXPECT_EQ(view.identityClears, clears + 1);
}

TEST_F(PortConnectionTest, ComTickedAndUntickedBetweenTicksChangesNothing)
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

TEST_F(PortConnectionTest, NewPortChoiceCountsOnlyAfterComOffAndOn)
{
    connectIdentified();
    view.port = QStringLiteral("/dev/tty.other");
    link.connectStep();
    EXPECT_EQ(link.connection().portName(), QStringLiteral("/dev/tty.kvt"));
    view.com = false;
    link.connectStep();
    view.com = true;
    link.connectStep();
    EXPECT_EQ(line->lastPath, QStringLiteral("/dev/tty.other"));
}

TEST_F(PortConnectionTest, UnpluggedAdapterIsReportedOnceAndReopenedWhenBack)
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
    EXPECT_TRUE(link.connection().portLost());
    EXPECT_FALSE(link.connection().portOpen());
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
    EXPECT_FALSE(link.connection().portLost());
    EXPECT_EQ(line->written, QByteArray("I"));
}

TEST_F(PortConnectionTest, UntickingComEndsTheReconnectAttempts)
{
    connectIdentified();
    line->failed = true;
    link.connectStep();
    ASSERT_TRUE(link.connection().portLost());
    view.com = false;
    link.connectStep();
    EXPECT_EQ(messages.lines.last(), QStringLiteral("COM aus"));
    EXPECT_FALSE(link.connection().portLost());
    line->failed = false;
    const int opens = line->opens;
    link.connectStep();
    link.connectStep();
    EXPECT_EQ(line->opens, opens);
    EXPECT_FALSE(link.connection().portOpen());
}

TEST_F(PortConnectionTest, AdapterVanishingBetweenTicksIsNoticedWithoutACommand)
{
    connectIdentified();
    line->failed = true;
    link.connectStep();
    EXPECT_FALSE(link.connection().portOpen());
    EXPECT_EQ(messages.lines.last(), QStringLiteral("COM Fehler - Port nicht verfügbar"));
}

}  // namespace
