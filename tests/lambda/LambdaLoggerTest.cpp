// The logger's operations on a fake KVT: failed reads keep the table, files through the dialogs.
#include "../link/FakeLinkFixture.h"
#include "lambda/LambdaLogger.h"
#include "support/FakeDialogs.h"

#include <QFile>
#include <QTemporaryDir>

using namespace lambda;

namespace {

class LambdaLoggerTest : public linktest::FakeLinkTest {
protected:
    LambdaLoggerTest()
    {
        logger.setLoggingFlagHook([this](bool on) { flag = on; });
    }

    // Answers "B" with reply (the "I" identification as usual).
    void answerB(QByteArray reply)
    {
        answerWith([reply](char c) {
            if (c == 'I')
                return linktest::identityReply();
            return c == '\x00' || c == '\x01' ? reply : QByteArray();
        });
    }

    testsupport::FakeDialogs dialogs;
    QTemporaryDir dir;
    LambdaLogger logger{link, dialogs, messages.log, dir.path()};
    std::optional<bool> flag;
};

TEST_F(LambdaLoggerTest, NothingIsSentWithoutAKvt)
{
    EXPECT_FALSE(logger.readFromKvt(false));
    logger.clearInKvt(true);
    EXPECT_TRUE(line->written.isEmpty());
}

TEST_F(LambdaLoggerTest, BadRepliesKeepTableAndFlag)
{
    connectIdentified();
    logger.table().set(2, 2, 2, 555);
    LambdaTable before = logger.table();
    QByteArray good(920, '\x01');
    good[0] = 'b';
    for (QByteArray bad : {good.left(919), QByteArray(good).replace(0, 1, "x")}) {
        answerB(bad);
        for (int tick = 0; tick < 3 && !link.identified(); ++tick)
            link.connectStep();
        ASSERT_TRUE(link.identified());
        const auto mark = messages.lines.size();
        EXPECT_FALSE(logger.readFromKvt(false));
        EXPECT_EQ(logger.table(), before);
        EXPECT_FALSE(flag.has_value());
        EXPECT_TRUE(messages.since(mark).contains("Lambdadaten lesen aus RAM fehlgeschlagen"));
    }
    answerB(good);
    link.connectStep();  // takes note of the failed reply and identifies anew
    for (int tick = 0; tick < 3 && !link.identified(); ++tick)
        link.connectStep();
    const auto mark2 = messages.lines.size();
    EXPECT_TRUE(logger.readFromKvt(true)) << messages.since(mark2).join("|").toStdString();
    EXPECT_EQ(logger.table().at(17, 9, 3), 0x0101);
    EXPECT_EQ(flag, true);
    EXPECT_EQ(messages.lines.last(), "Lambdadaten aus EEPROM gelesen");
}

TEST_F(LambdaLoggerTest, SaveAppendsExtensionAsksBeforeOverwritingAndLoadsBack)
{
    logger.table().set(4, 5, 1, 850);
    logger.editComment("Lauf 1");
    const QString typed = dir.filePath("lambda.txt");
    dialogs.answerFile(typed);
    ASSERT_TRUE(logger.save());
    EXPECT_TRUE(QFile::exists(typed + ".kll"));
    EXPECT_EQ(messages.lines.last(), "KLL-Datei lambda.txt.kll gespeichert");

    dialogs.answerFile(typed + ".kll");
    dialogs.answerQuestion(false);
    EXPECT_FALSE(logger.save());
    EXPECT_EQ(dialogs.boxTexts().last(), "Datei existiert bereits.\rÜberschreiben?");

    logger.clearTable();
    dialogs.answerFile(typed + ".kll");
    ASSERT_TRUE(logger.load());
    EXPECT_EQ(logger.table().at(4, 5, 1), 850);
    EXPECT_EQ(logger.document().comment, "Lauf 1");
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
    EXPECT_EQ(messages.lines.last(), "Fehler beim Speichrn der KLL-Datei");
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
