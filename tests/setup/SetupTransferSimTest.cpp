// Setup transfer against the KVT simulator on a pseudo-terminal, through the real serial port.
#include "link/SetupTransfer.h"

#include "KvtSimulator.h"
#include "PtyHost.h"
#include "link/PosixSerialPort.h"
#include "setup/SetupBlock.h"
#include "support/FakeDialogs.h"
#include "support/RecordingView.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using Outcome = devlink::SetupTransfer::ReadOutcome;

class SetupTransferSimTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        kvtsim::HostOptions options;
        options.linkPath = dir.filePath(QStringLiteral("tty.kvtsim"));
        options.instant = true;
        host = std::make_unique<kvtsim::PtyHost>(options);
        QString error;
        ASSERT_TRUE(host->start(&error)) << error.toStdString();
        view = std::make_unique<testsupport::RecordingView>(host->portPath(), true);
        link = std::make_unique<devlink::DeviceLink>(
            log, [] { return std::make_unique<devlink::PosixSerialPort>(); });
        link->setView(view.get());
        transfer = std::make_unique<devlink::SetupTransfer>(*link, log, dialogs, record);
        log.setStatusSink([this](const QString& text) { logged << text; });
        link->connectStep();
        ASSERT_TRUE(link->identified()) << logged.join(QLatin1Char('|')).toStdString();
        logged.clear();
    }

    void TearDown() override
    {
        transfer.reset();
        link.reset();
        if (host)
            host->stop();
    }

    QByteArray simulatorSetup()
    {
        return host->withSimulator([](kvtsim::KvtSimulator& sim) { return sim.setup(); });
    }

    QTemporaryDir dir;
    std::unique_ptr<kvtsim::PtyHost> host;
    std::unique_ptr<testsupport::RecordingView> view;
    app::MessageLog log;
    testsupport::FakeDialogs dialogs;
    setup::SetupRecord record;
    std::unique_ptr<devlink::DeviceLink> link;
    std::unique_ptr<devlink::SetupTransfer> transfer;
    QStringList logged;
};

TEST_F(SetupTransferSimTest, ReadGivesTheSimulatorsSetup)
{
    ASSERT_EQ(transfer->readSetup(), Outcome::Replaced);
    EXPECT_EQ(setup::encodeSetupBlock(record), simulatorSetup());
    EXPECT_TRUE(logged.contains(QStringLiteral("Daten von KVT gelesen")));
}

TEST_F(SetupTransferSimTest, ReadAtTheLineRateFitsTheWait)
{
    host->setInstant(false);
    ASSERT_EQ(transfer->readSetup(), Outcome::Replaced);
    EXPECT_EQ(setup::encodeSetupBlock(record), simulatorSetup());
}

TEST_F(SetupTransferSimTest, WrittenAndStoredSetupSurvivesARestart)
{
    ASSERT_EQ(transfer->readSetup(), Outcome::Replaced);
    record.triggerTeeth = 33;
    record.injectorDeadTime = {410, 420, 430};
    record.setInjectionCell(16, 8, 54321);
    const setup::SetupRecord stored = record;
    ASSERT_TRUE(transfer->writeSetup());
    ASSERT_TRUE(transfer->storeSetup());

    record.triggerTeeth = 44;  // written only: gone after the restart
    ASSERT_TRUE(transfer->writeSetup());
    link->commands().restartKvt();
    record = setup::SetupRecord{};
    ASSERT_EQ(transfer->readSetup(), Outcome::Replaced);
    EXPECT_EQ(record, stored);
}

TEST_F(SetupTransferSimTest, ShortReplyAsksAndLeavesTheRecord)
{
    host->withSimulator([](kvtsim::KvtSimulator& sim) {
        sim.setFault({kvtsim::Fault::ShortReply, 'L', 1});
        return 0;
    });
    dialogs.answerQuestion(true);
    const setup::SetupRecord before = record;
    EXPECT_EQ(transfer->readSetup(), Outcome::Failed);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_TRUE(dialogs.calls[0].text.startsWith(
        QStringLiteral("Datenpaket ggf. nicht kompatibel.(579/578)")));
    EXPECT_EQ(logged.last(), QStringLiteral("Antwort dauert zu lange (l)"));
    EXPECT_EQ(record, before);
}

}  // namespace
