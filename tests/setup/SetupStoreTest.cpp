// Saving and loading setup files through the dialogs: names, questions, log lines, failures.
#include "setup/SetupStore.h"
#include "setup/SetupWarnings.h"
#include "support/FakeDialogs.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using setup::SetupStore;
using Outcome = setup::SetupStore::Outcome;

class SetupStoreTest : public ::testing::Test {
protected:
    SetupStoreTest() : files(dialogs, log, dir.path())
    {
        log.setStatusSink([this](const QString& text) { logged << text; });
        files.setClock([] { return QDateTime(QDate(2026, 1, 2), QTime(3, 4)); });
        files.setRandomNumber([] { return 417; });
        files.setReplacedHook([this] { replacedCalls << logged.size(); });
        document.record.triggerTeeth = 36;
        document.record.cylinderOffset12 = 10;
        document.record.startInjectionTime = 2500;
        document.record.injectorDeadTime = {500, 600, 700};
        for (int i = 0; i < 153; ++i) {
            document.record.injectionMap[i] = static_cast<quint16>(1000 + 3 * i);
            document.record.ignitionMap[i] = static_cast<quint8>(i % 50);
        }
        document.record.lambdaTarget = 812;
        document.record.ignitionMapEnabled = 0;
        document.description = QStringLiteral("Rennmotor Ölpumpe   ");
    }

    QString path(const QString& name) const { return QDir(dir.path()).filePath(name); }

    static QByteArray readAll(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static void writeAll(const QString& file, const QByteArray& bytes)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    Outcome saveAs(const QString& name)
    {
        dialogs.answerFile(path(name));
        return files.save(document, origin);
    }

    QTemporaryDir dir;
    testsupport::FakeDialogs dialogs;
    app::MessageLog log;
    SetupStore files;
    setup::SetupDocument document;
    setup::SetupOrigin origin{"KVT-3Z......", "1a ", "2.4", "B7 ", "99"};
    QStringList logged;
    QList<int> replacedCalls;
};

TEST_F(SetupStoreTest, SaveAppendsTheExtensionUnlessItIsExactlyKvt)
{
    const struct {
        const char* chosen;
        const char* written;
    } cases[] = {{"setup", "setup.kvt"},
                 {"setup.KVT", "setup.KVT.kvt"},
                 {"a.txt", "a.txt.kvt"},
                 {"b.kvt", "b.kvt"}};
    for (const auto& c : cases) {
        EXPECT_EQ(saveAs(QLatin1String(c.chosen)), Outcome::Done) << c.chosen;
        const QString written = path(QLatin1String(c.written));
        EXPECT_EQ(readAll(written).size(), 858) << c.written;
        EXPECT_EQ(logged.last(),
                  QStringLiteral("Setup ") + written + QStringLiteral(" gespeichert (858)"));
    }
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("setup"))));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("setup.KVT"))));
    ASSERT_FALSE(dialogs.calls.empty());
    EXPECT_EQ(dialogs.calls.front().title, QStringLiteral("Setup speichern"));
    EXPECT_EQ(dialogs.calls.front().text, dir.path());  // the program directory at first
    EXPECT_EQ(dialogs.calls[1].text, path(QStringLiteral("setup.kvt")));  // remembered
}

TEST_F(SetupStoreTest, OverwriteIsAskedAndNeinKeepsTheOldFile)
{
    const QString target = path(QStringLiteral("old.kvt"));
    writeAll(target, "precious");
    dialogs.answerFile(target);
    dialogs.answerQuestion(false);
    EXPECT_EQ(files.save(document, origin), Outcome::Refused);
    EXPECT_EQ(readAll(target), QByteArray("precious"));
    ASSERT_EQ(dialogs.calls.size(), 2u);
    EXPECT_EQ(dialogs.calls[1].title, QStringLiteral("Speichern"));
    EXPECT_EQ(dialogs.calls[1].text, QStringLiteral("Datei existiert bereits.\rÜberschreiben?"));
    EXPECT_TRUE(logged.isEmpty());

    dialogs.answerFile(target);
    dialogs.answerQuestion(true);
    EXPECT_EQ(files.save(document, origin), Outcome::Done);
    EXPECT_EQ(readAll(target).size(), 858);
}

TEST_F(SetupStoreTest, AnEmptyExistingFileIsReplacedWithoutAsking)
{
    const QString target = path(QStringLiteral("empty.kvt"));
    writeAll(target, {});
    EXPECT_EQ(saveAs(QStringLiteral("empty.kvt")), Outcome::Done);
    EXPECT_EQ(dialogs.boxTexts().size(), 0);
    EXPECT_EQ(readAll(target).size(), 858);
}

TEST_F(SetupStoreTest, SavedFileLoadsBackEveryEntryAndTheDescription)
{
    ASSERT_EQ(saveAs(QStringLiteral("roundtrip")), Outcome::Done);
    const setup::SetupDocument saved = document;
    document = setup::SetupDocument{};
    document.record.injectorDeadTime = {1, 2, 3};
    logged.clear();

    dialogs.answerFile(path(QStringLiteral("roundtrip.kvt")));
    EXPECT_EQ(files.load(document), Outcome::Done);
    setup::SetupRecord expected = saved.record;
    expected.injectorDeadTime = {1, 2, 3};  // files do not carry the dead times
    EXPECT_EQ(document.record, expected);
    EXPECT_EQ(document.description, QStringLiteral("Rennmotor Ölpumpe"));
    EXPECT_EQ(document.loadedOrigin,
              (setup::SetupOrigin{"KVT-3Z......", "1a ", "2.4", "B7 ", "99"}));
    EXPECT_EQ(document.loadedFileName, path(QStringLiteral("roundtrip.kvt")));
    EXPECT_EQ(logged, QStringList{QStringLiteral("Setup ") + path(QStringLiteral("roundtrip.kvt")) +
                                  QStringLiteral(" gelesen")});
    EXPECT_EQ(replacedCalls, QList<int>{1});
    EXPECT_EQ(dialogs.calls.back().title, QStringLiteral("Setup laden"));
    EXPECT_EQ(dialogs.calls.back().filter,
              QStringLiteral("KVT-Dateien (*.kvt);;Alle Dateien (*.*)"));
}

TEST_F(SetupStoreTest, LongDescriptionIsSavedCutTo100Characters)
{
    document.description = QString(99, QLatin1Char('a')) + QStringLiteral("bcdef");
    ASSERT_EQ(saveAs(QStringLiteral("long.kvt")), Outcome::Done);
    EXPECT_EQ(readAll(path(QStringLiteral("long.kvt"))).size(), 858);
    dialogs.answerFile(path(QStringLiteral("long.kvt")));
    ASSERT_EQ(files.load(document), Outcome::Done);
    EXPECT_EQ(document.description, QString(99, QLatin1Char('a')) + QStringLiteral("b"));
}

TEST_F(SetupStoreTest, WrongExtensionOnlyLogsTheFileType)
{
    writeAll(path(QStringLiteral("setup.txt")), QByteArray(858, 'x'));
    const setup::SetupDocument before = document;
    dialogs.answerFile(path(QStringLiteral("setup.txt")));
    EXPECT_EQ(files.load(document), Outcome::Refused);
    EXPECT_EQ(logged, QStringList{QStringLiteral("Falscher Dateityp (#417)")});
    EXPECT_EQ(document.record, before.record);
    EXPECT_EQ(document.description, before.description);
    EXPECT_TRUE(dialogs.boxTexts().isEmpty());
    EXPECT_TRUE(replacedCalls.isEmpty());

    // The real number is drawn from 0..1000.
    SetupStore plain(dialogs, log, dir.path());
    dialogs.answerFile(path(QStringLiteral("setup.KVT")));
    plain.load(document);
    const QRegularExpression pattern(QStringLiteral("^Falscher Dateityp \\(#(\\d+)\\)$"));
    const auto match = pattern.match(logged.last());
    ASSERT_TRUE(match.hasMatch()) << logged.last().toStdString();
    EXPECT_LE(match.captured(1).toInt(), 1000);
}

TEST_F(SetupStoreTest, LfFileOf847BytesAsksAndLoadsEveryValueAfterJa)
{
    ASSERT_EQ(saveAs(QStringLiteral("crlf.kvt")), Outcome::Done);
    QByteArray bytes = readAll(path(QStringLiteral("crlf.kvt")));
    QByteArray header = bytes.left(286);
    header.replace(QByteArrayView("\r\0\n\0", 4), QByteArrayView("\n\0", 2));
    header.replace("\r\n", "\n");
    writeAll(path(QStringLiteral("lf.kvt")), header + bytes.mid(286));
    const setup::SetupDocument saved = document;
    logged.clear();

    // Nein changes nothing.
    document = setup::SetupDocument{};
    dialogs.answerFile(path(QStringLiteral("lf.kvt")));
    dialogs.answerQuestion(false);
    EXPECT_EQ(files.load(document), Outcome::Refused);
    EXPECT_EQ(document.record, setup::SetupRecord{});
    EXPECT_TRUE(logged.isEmpty());

    dialogs.clear();
    dialogs.answerFile(path(QStringLiteral("lf.kvt")));
    dialogs.answerQuestion(true);
    document.record.injectorDeadTime = saved.record.injectorDeadTime;
    EXPECT_EQ(files.load(document), Outcome::Done);
    ASSERT_EQ(dialogs.calls.size(), 2u);
    EXPECT_EQ(dialogs.calls[1].title, QStringLiteral("Setup laden"));
    EXPECT_EQ(dialogs.calls[1].text,
              QStringLiteral("Vermutlich ist die Datei nicht kompatibel.(847)\rWenn sie gelesen "
                             "wurde, bitte alle Einstellungen kontrollieren!\rTrotzdem Laden?"));
    EXPECT_EQ(logged.first(), QStringLiteral("Setup ggf. nicht kompatibel"));
    EXPECT_EQ(document.record, saved.record);
    EXPECT_EQ(document.description, QStringLiteral("Rennmotor Ölpumpe"));
}

TEST_F(SetupStoreTest, WarningsFollowTheRefreshLearnModeFirst)
{
    document.record.learnActive = 1;
    document.record.lambdaLogging = 1;
    ASSERT_EQ(saveAs(QStringLiteral("warn.kvt")), Outcome::Done);
    dialogs.clear();
    dialogs.answerFile(path(QStringLiteral("warn.kvt")));
    ASSERT_EQ(files.load(document), Outcome::Done);
    EXPECT_EQ(dialogs.boxTexts(),
              (QStringList{setup::learnModeWarning(), setup::lambdaLoggingWarning()}));
    EXPECT_EQ(dialogs.calls[1].title, QStringLiteral("Achtung!"));
    EXPECT_EQ(dialogs.calls[2].title, QStringLiteral("Achtung!"));
    ASSERT_EQ(replacedCalls.size(), 1);
}

TEST_F(SetupStoreTest, UnreadableFileLeavesRecordAndDescriptionAsTheyWere)
{
    const setup::SetupDocument before = document;
    const QString missing = path(QStringLiteral("missing.kvt"));
    dialogs.answerFile(missing);
    EXPECT_EQ(files.load(document), Outcome::Failed);
    EXPECT_EQ(document.record, before.record);
    EXPECT_EQ(document.description, before.description);
    EXPECT_TRUE(replacedCalls.isEmpty());
    EXPECT_EQ(logged,
              QStringList{QStringLiteral("Setup ") + missing + QStringLiteral(" nicht gelesen")});
    EXPECT_EQ(dialogs.boxTexts(),
              QStringList{QStringLiteral("Setup konnte nicht gelesen werden:\r") + missing});

    // A folder named like a setup file cannot be read either.
    QDir(dir.path()).mkdir(QStringLiteral("folder.kvt"));
    dialogs.answerFile(path(QStringLiteral("folder.kvt")));
    EXPECT_EQ(files.load(document), Outcome::Failed);
    EXPECT_EQ(document.record, before.record);
}

TEST_F(SetupStoreTest, FailedSaveSaysSoAndIsNotLoggedAsSaved)
{
    const QString target = path(QStringLiteral("no/such/folder/x.kvt"));
    dialogs.answerFile(target);
    EXPECT_EQ(files.save(document, origin), Outcome::Failed);
    EXPECT_EQ(logged, QStringList{QStringLiteral("Setup ") + target +
                                  QStringLiteral(" nicht gespeichert")});
    EXPECT_EQ(dialogs.boxTexts(),
              QStringList{QStringLiteral("Setup konnte nicht gespeichert werden:\r") + target});
}

TEST_F(SetupStoreTest, FailedOverwriteLeavesWhatWasThere)
{
    // A folder in the way cannot be replaced by the renamed temporary file.
    const QString target = path(QStringLiteral("busy.kvt"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("busy.kvt")));
    writeAll(path(QStringLiteral("busy.kvt/inside")), "kept");
    dialogs.answerFile(target);
    dialogs.answerQuestion(true);
    EXPECT_EQ(files.save(document, origin), Outcome::Failed);
    EXPECT_EQ(readAll(path(QStringLiteral("busy.kvt/inside"))), QByteArray("kept"));
    EXPECT_EQ(dialogs.boxTexts().last(),
              QStringLiteral("Setup konnte nicht gespeichert werden:\r") + target);
    // No temporary file (hidden) left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 0);
}

TEST_F(SetupStoreTest, CancelledDialogsDoNothing)
{
    const setup::SetupDocument before = document;
    EXPECT_EQ(files.save(document, origin), Outcome::Cancelled);
    EXPECT_EQ(files.load(document), Outcome::Cancelled);
    EXPECT_EQ(document.record, before.record);
    EXPECT_TRUE(logged.isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 0);
}

}  // namespace
