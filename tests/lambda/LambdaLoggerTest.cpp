// The logger's operations on a fake link: failed reads keep the table, files through the dialogs.
#include "lambda/LambdaLogger.h"
#include "support/FakeDialogs.h"

#include <QFile>
#include <QList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lambda;

namespace {

// Records the "B" and "C" asked for and answers "B" with reply.
struct FakeLambdaLink final : LambdaLink {
    bool kvt = false;
    devlink::DeviceIdentity id;
    std::optional<QByteArray> reply;
    QList<bool> reads;  // fromEeprom of every "B"
    QList<bool> clears;

    bool identified() const override { return kvt; }
    const devlink::DeviceIdentity& identity() const override { return id; }
    std::optional<QByteArray> readLambdaTable(bool fromEeprom) override
    {
        reads << fromEeprom;
        return reply;
    }
    void clearLambdaTable(bool eeprom) override { clears << eeprom; }
};

class LambdaLoggerTest : public ::testing::Test {
protected:
    LambdaLoggerTest()
    {
        log.setStatusSink([this](const QString& text) { lines << text; });
        logger.setLoggingFlagHook([this](bool on) { flag = on; });
    }

    FakeLambdaLink link;
    app::MessageLog log;
    QStringList lines;
    testsupport::FakeDialogs dialogs;
    QTemporaryDir dir;
    LambdaLogger logger{link, dialogs, log, dir.path()};
    std::optional<bool> flag;
};

TEST_F(LambdaLoggerTest, NothingIsSentWithoutAKvt)
{
    EXPECT_FALSE(logger.readFromKvt(false));
    logger.clearInKvt(true);
    EXPECT_TRUE(link.reads.isEmpty());
    EXPECT_TRUE(link.clears.isEmpty());
    link.kvt = true;
    logger.clearInKvt(true);
    EXPECT_EQ(link.clears, QList<bool>{true});
}

TEST_F(LambdaLoggerTest, BadRepliesKeepTableAndFlag)
{
    link.kvt = true;
    logger.table().set(2, 2, 2, 555);
    LambdaTable before = logger.table();
    const QByteArray good(919, '\x01');
    // No usable reply on the line, and a reply of the wrong size.
    for (std::optional<QByteArray> bad :
         {std::optional<QByteArray>(), std::optional(good.left(918))}) {
        link.reply = bad;
        const auto mark = lines.size();
        EXPECT_FALSE(logger.readFromKvt(false));
        EXPECT_EQ(logger.table(), before);
        EXPECT_FALSE(flag.has_value());
        EXPECT_EQ(lines.mid(mark), QStringList{"Lambdadaten lesen aus RAM fehlgeschlagen"});
    }
    link.reply = good;
    EXPECT_TRUE(logger.readFromKvt(true));
    EXPECT_EQ(link.reads, (QList<bool>{false, false, true}));
    EXPECT_EQ(logger.table().at(17, 9, 3), 0x0101);
    EXPECT_EQ(flag, true);
    EXPECT_EQ(lines.last(), "Lambdadaten aus EEPROM gelesen");
}

TEST_F(LambdaLoggerTest, SaveAppendsExtensionAsksBeforeOverwritingAndLoadsBack)
{
    link.kvt = true;  // its HW and SW go into the file
    link.id.hw = "2.1";
    link.id.sw = "4.7";
    logger.table().set(4, 5, 1, 850);
    logger.editComment("Lauf 1");
    const QString typed = dir.filePath("lambda.txt");
    dialogs.answerFile(typed);
    ASSERT_TRUE(logger.save());
    EXPECT_TRUE(QFile::exists(typed + ".kll"));
    EXPECT_EQ(lines.last(), "KLL-Datei lambda.txt.kll gespeichert");

    dialogs.answerFile(typed + ".kll");
    dialogs.answerQuestion(false);
    EXPECT_FALSE(logger.save());
    EXPECT_EQ(dialogs.boxTexts().last(), "Datei existiert bereits.\rÜberschreiben?");

    logger.clearTable();
    dialogs.answerFile(typed + ".kll");
    ASSERT_TRUE(logger.load());
    EXPECT_EQ(logger.table().at(4, 5, 1), 850);
    EXPECT_EQ(logger.document().comment, "Lauf 1");
    EXPECT_EQ(logger.document().hardware, "2.1");
    EXPECT_EQ(logger.document().software, "4.7");
}

TEST_F(LambdaLoggerTest, ForeignExtensionAsksAndUnwritablePathWarns)
{
    const QString other = dir.filePath("x.txt");
    QFile f(other);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    dialogs.answerFile(other);
    dialogs.answerQuestion(false);
    EXPECT_FALSE(logger.load());
    ASSERT_EQ(dialogs.boxTexts().size(), 1);
    EXPECT_TRUE(dialogs.boxTexts()[0].startsWith("Vermutlich ist die Datei nicht kompatibel."));

    dialogs.answerFile(dir.filePath("missing/folder/a.kll"));
    EXPECT_FALSE(logger.save());
    EXPECT_EQ(dialogs.boxTexts().last(), "Die Lambdalogdatei\rkonnte nicht gespeichert werden.");
    EXPECT_EQ(lines.last(), "Fehler beim Speichrn der KLL-Datei");
}

TEST_F(LambdaLoggerTest, RecordsOnlyWhileTicked)
{
    devlink::LiveRecord r;
    r.rpmForMaps = 3000;
    r.throttle = 50;
    r.lambda = {650, 0, 0};
    logger.onLiveRecord(r);
    EXPECT_TRUE(logger.table().isEmpty());
    logger.setRecording(true);
    logger.onLiveRecord(r);
    EXPECT_EQ(logger.table().at(4, 5, 1), 650);
}

}  // namespace
