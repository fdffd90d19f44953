// The message log: status line, message file, and the suppression of repeated protocol errors.
#include "app/core/MessageLog.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct LogFixture : ::testing::Test {
    QTemporaryDir dir;
    app::MessageLog log{dir.path() + "/"};
    QStringList shown;

    void SetUp() override
    {
        log.setStatusSink([this](const QString& t) { shown << t; });
        log.setClock([] { return QDateTime(QDate(2026, 12, 6), QTime(20, 5, 9)); });
    }
    QStringList fileLines() const
    {
        QFile f(log.filePath());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList lines = QString::fromUtf8(f.readAll()).split('\n');
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }
};

TEST_F(LogFixture, FileLineCarriesDateTimeAndText)
{
    log.setFileEnabled(true);
    log.logMessage("COM aus");
    log.logMessage("");
    EXPECT_EQ(fileLines(),
              QStringList({"2026.12.06 20:05:09 : COM aus", "2026.12.06 20:05:09 : "}));
    EXPECT_EQ(shown.last(), "");
}

TEST_F(LogFixture, FiveProtocolErrorsShowTwiceThenRetryThenNothing)
{
    log.setFileEnabled(true);
    for (int i = 0; i < 5; ++i)
        log.logMessage("Protokollfehler");
    EXPECT_EQ(shown, QStringList({"Protokollfehler", "Protokollfehler", "Verbindungsversuch..."}));
    EXPECT_EQ(fileLines().size(), 3);

    log.logMessage("COM Fehler - timeout");
    EXPECT_EQ(shown.last(), "COM Fehler - timeout");
    EXPECT_EQ(fileLines().last(), "2026.12.06 20:05:09 : COM Fehler - timeout");
    EXPECT_EQ(log.protocolErrorRun(), 0);

    // The run starts afresh after another message.
    log.logMessage("Protokollfehler");
    EXPECT_EQ(shown.last(), "Protokollfehler");
}

TEST_F(LogFixture, TextsThatOnlyContainProtocolErrorAreOrdinary)
{
    for (int i = 0; i < 4; ++i)
        log.logMessage("Protokollfehler ");
    log.logMessage("xProtokollfehler");
    EXPECT_EQ(shown.size(), 5);
    EXPECT_EQ(log.protocolErrorRun(), 0);
}

TEST_F(LogFixture, ProtocolErrorHiddenDuringFirmwareUpdate)
{
    log.setFirmwareBusy(true);
    log.logMessage("Protokollfehler");
    EXPECT_TRUE(shown.isEmpty());
    log.logMessage("Block 1");
    EXPECT_EQ(shown, QStringList({"Block 1"}));
}

TEST_F(LogFixture, FileFlagOffLeavesExistingFileUnchanged)
{
    QFile f(log.filePath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("alt\n");
    f.close();
    log.logMessage("COM aus");
    EXPECT_EQ(fileLines(), QStringList({"alt"}));
    EXPECT_EQ(shown, QStringList({"COM aus"}));
}

TEST_F(LogFixture, UnwritableFileStillReachesStatusLine)
{
    // A directory where the file should be cannot be opened for appending.
    ASSERT_TRUE(QDir(dir.path()).mkdir("KVT-Meldungen.txt"));
    log.setFileEnabled(true);
    log.logMessage("COM aus");
    log.logMessage("noch da");
    EXPECT_EQ(shown, QStringList({"COM aus", "noch da"}));
}

}  // namespace
