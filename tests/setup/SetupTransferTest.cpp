// Setup transfer with a scripted KVT: "L" reads, "S" writes, "E" stores, and the odd cases.
#include "link/SetupTransfer.h"

#include "FakeKvtPort.h"
#include "app/core/ProgramSettings.h"
#include "link/LinkTestAccess.h"
#include "setup/SetupBlock.h"
#include "setup/SetupWarnings.h"
#include "support/FakeDialogs.h"
#include "support/RecordingView.h"

#include <gtest/gtest.h>

namespace {

using devlink::SetupTransfer;
using Outcome = devlink::SetupTransfer::ReadOutcome;

setup::SetupRecord kvtRecord()
{
    setup::SetupRecord r;
    r.triggerTeeth = 24;
    r.sensorAngle = 60;
    r.startInjectionTime = 40000;  // above 32767: must not turn negative
    r.injectorDeadTime = {800, 900, 1000};
    r.lambdaTarget = 1234;
    for (int i = 0; i < 153; ++i) {
        r.injectionMap[i] = static_cast<quint16>(65000 - 11 * i);
        r.ignitionMap[i] = static_cast<quint8>(i % 51);
    }
    r.ignitionOffSpeed = 120;
    r.ignitionMapEnabled = 0;
    return r;
}

class SetupTransferTest : public ::testing::Test {
protected:
    SetupTransferTest()
        : working(setup::encodeSetupBlock(kvtRecord())), eeprom(working),
          link(
              log,
              [this] {
                  auto p = std::make_unique<setuptest::FakeKvtPort>(clock, working, eeprom);
                  port = p.get();
                  return p;
              },
              clock),
          transfer(link, log, dialogs, record)
    {
        log.setStatusSink([this](const QString& text) { logged << text; });
        transfer.setReplacedHook([this] { replacedAt << logged.size(); });
        link.setView(&view);
        link.setSetupReadWanted([this] { return settings.readSetupAfterIdentification; });
    }

    void connect()
    {
        link.connectStep();
        ASSERT_TRUE(link.identified());
        logged.clear();
        port->written.clear();
    }

    setuptest::FakeClock clock;
    QByteArray working;
    QByteArray eeprom;
    app::MessageLog log;
    app::ProgramSettings settings;
    testsupport::RecordingView view{QStringLiteral("/dev/ttyFAKE"), true};
    setuptest::FakeKvtPort* port = nullptr;
    devlink::DeviceLink link;
    testsupport::FakeDialogs dialogs;
    setup::SetupRecord record;
    SetupTransfer transfer;
    QStringList logged;
    QList<int> replacedAt;
};

TEST_F(SetupTransferTest, ReadTakesOverTheWholeBlockAndReportsIt)
{
    connect();
    EXPECT_EQ(transfer.readSetup(), Outcome::Replaced);
    EXPECT_EQ(port->written, QByteArray("L"));
    EXPECT_EQ(record, kvtRecord());
    EXPECT_EQ(record.startInjectionTime, 40000);
    EXPECT_EQ(logged, QStringList{QStringLiteral("Daten von KVT gelesen")});
    EXPECT_EQ(replacedAt, QList<int>{0});  // windows refreshed before the log line
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(devlink::LinkTestAccess::transferBuffer(link).size(), 1000);
    EXPECT_EQ(devlink::LinkTestAccess::transferBuffer(link).left(578), working);
    EXPECT_EQ(devlink::LinkTestAccess::transferBuffer(link).mid(578), QByteArray(422, '\0'));
}

TEST_F(SetupTransferTest, IdentityBecomesTheOriginOfSavedSetups)
{
    connect();
    const setup::SetupOrigin origin = devlink::setupOriginOf(link.identity());
    EXPECT_EQ(origin, (setup::SetupOrigin{"KVT-3Z-TEST1", "1a ", "2.4", "B7 ", "258"}));
    EXPECT_EQ(devlink::setupOriginOf({}).restarts, QStringLiteral("0"));
}

TEST_F(SetupTransferTest, WriteSendsTheLetterAPauseAndTheBlock)
{
    connect();
    record = kvtRecord();
    record.limiterSpeed = 99;
    record.injectorDeadTime = {1, 2, 3};
    EXPECT_TRUE(transfer.writeSetup());
    EXPECT_EQ(port->written, QByteArray("S") + setup::encodeSetupBlock(record));
    ASSERT_EQ(port->writeTimes.size(), 3);  // "I" at connection, "S", the block
    EXPECT_GE(port->writeTimes[2] - port->writeTimes[1], 10);
    EXPECT_EQ(logged, QStringList{QStringLiteral("Daten an KVT geschrieben")});
    EXPECT_EQ(working, setup::encodeSetupBlock(record));
}

TEST_F(SetupTransferTest, WrittenAndStoredSetupComesBackAfterARestart)
{
    connect();
    record = kvtRecord();
    record.triggerTeeth = 36;
    const setup::SetupRecord stored = record;
    ASSERT_TRUE(transfer.writeSetup());
    const qint64 before = clock.nowMs();
    ASSERT_TRUE(transfer.storeSetup());
    EXPECT_GE(clock.nowMs() - before, 20);
    EXPECT_TRUE(port->written.endsWith('E'));

    record.triggerTeeth = 40;  // written but not stored: lost by the restart
    ASSERT_TRUE(transfer.writeSetup());
    link.commands().restartKvt();
    record = setup::SetupRecord{};
    ASSERT_EQ(transfer.readSetup(), Outcome::Replaced);
    EXPECT_EQ(record, stored);
}

TEST_F(SetupTransferTest, NothingIsSentWhileNotIdentified)
{
    EXPECT_EQ(transfer.readSetup(), Outcome::NotIdentified);
    EXPECT_FALSE(transfer.writeSetup());
    EXPECT_FALSE(transfer.storeSetup());  // port closed as well
    EXPECT_EQ(port, nullptr);
    EXPECT_TRUE(logged.isEmpty());
}

TEST_F(SetupTransferTest, StoreNeedsOnlyAnOpenPort)
{
    connect();
    devlink::LinkTestAccess::setIdentified(link, false);
    EXPECT_FALSE(transfer.writeSetup());
    EXPECT_EQ(transfer.readSetup(), Outcome::NotIdentified);
    EXPECT_TRUE(transfer.storeSetup());
    EXPECT_EQ(port->written, QByteArray("E"));
    EXPECT_TRUE(logged.isEmpty());
}

TEST_F(SetupTransferTest, ShortReplyAsksAndAfterJaTimesOutWithoutChangingTheRecord)
{
    connect();
    port->setupReplyLength = 573;
    dialogs.answerQuestion(true);
    const setup::SetupRecord before = record;
    EXPECT_EQ(transfer.readSetup(), Outcome::Failed);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].kind, testsupport::FakeDialogs::Kind::Question);
    EXPECT_EQ(dialogs.calls[0].title, QStringLiteral("Achtung!"));
    EXPECT_EQ(
        dialogs.calls[0].text,
        QStringLiteral("Datenpaket ggf. nicht kompatibel.(579/573)\rNach dem Einlesen "
                       "müssen alle Einstellungen kontrolliert werden.\r\rTrotzdem einlesen?"));
    EXPECT_EQ(
        logged,
        (QStringList{QStringLiteral("Antwort dauert zu lange ()"),
                     QStringLiteral("eingelesene Setup-Daten aus KVT ggf. nicht kompatibel (573)"),
                     QStringLiteral("Antwort dauert zu lange (l)")}));
    EXPECT_EQ(record, before);
    EXPECT_TRUE(replacedAt.isEmpty());
    EXPECT_EQ(link.replyStatus(), devlink::ReplyStatus::Timeout);

    // The next tick reports the time-out and drops the identification.
    link.connectStep();
    EXPECT_TRUE(logged.contains(QStringLiteral("COM Fehler - timeout")));
}

TEST_F(SetupTransferTest, NeinToTheLengthQuestionEndsTheRead)
{
    connect();
    port->setupReplyLength = 600;
    dialogs.answerQuestion(false);
    const setup::SetupRecord before = record;
    EXPECT_EQ(transfer.readSetup(), Outcome::Declined);
    EXPECT_TRUE(dialogs.calls[0].text.startsWith(
        QStringLiteral("Datenpaket ggf. nicht kompatibel.(579/600)")));
    EXPECT_EQ(logged, QStringList{QStringLiteral("Antwort dauert zu lange ()")});
    EXPECT_EQ(record, before);
}

TEST_F(SetupTransferTest, SilentKvtIsATimeOutNotAnIncompatibleBlock)
{
    connect();
    port->setupReplyLength = 0;
    const setup::SetupRecord before = record;
    EXPECT_EQ(transfer.readSetup(), Outcome::Failed);
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(logged, QStringList{QStringLiteral("Antwort dauert zu lange ()")});
    EXPECT_EQ(record, before);
    link.connectStep();
    EXPECT_TRUE(logged.contains(QStringLiteral("COM Fehler - timeout")));
}

TEST_F(SetupTransferTest, WrongFirstLetterDecodesNothing)
{
    connect();
    port->setupReplyLetter = 'x';
    const setup::SetupRecord before = record;
    EXPECT_EQ(transfer.readSetup(), Outcome::Failed);
    EXPECT_EQ(logged, QStringList{QStringLiteral("unbekannte Antwort (l)")});
    EXPECT_EQ(record, before);
    EXPECT_FALSE(link.identified());
}

TEST_F(SetupTransferTest, LearnModeAndLambdaLoggingWarnLearnModeFirst)
{
    setup::SetupRecord withBoth = kvtRecord();
    withBoth.learnActive = 1;
    withBoth.lambdaLogging = 1;
    working = setup::encodeSetupBlock(withBoth);
    connect();
    ASSERT_EQ(transfer.readSetup(), Outcome::Replaced);
    EXPECT_EQ(dialogs.boxTexts(),
              (QStringList{setup::learnModeWarning(), setup::lambdaLoggingWarning()}));
    EXPECT_EQ(dialogs.calls[0].title, QStringLiteral("Achtung!"));
    EXPECT_EQ(dialogs.calls[1].title, QStringLiteral("Achtung!"));
    EXPECT_EQ(logged, QStringList{QStringLiteral("Daten von KVT gelesen")});
}

TEST_F(SetupTransferTest, TickedAutoReadFollowsEveryIdentification)
{
    settings.readSetupAfterIdentification = true;
    transfer.readAfterIdentification();
    link.connectStep();
    ASSERT_TRUE(link.identified());
    EXPECT_EQ(record, kvtRecord());
    const qsizetype identifiedAt = logged.indexOf(QStringLiteral("KVT wurde identifiziert"));
    ASSERT_GE(identifiedAt, 0);
    EXPECT_EQ(logged.indexOf(QStringLiteral("Daten von KVT gelesen")), identifiedAt + 1);

    settings.readSetupAfterIdentification = false;
    devlink::LinkTestAccess::setIdentified(link, false);
    record = setup::SetupRecord{};
    link.connectStep();
    EXPECT_EQ(record, setup::SetupRecord{});
}

}  // namespace
