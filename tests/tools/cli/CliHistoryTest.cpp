// motrix-cli on a setup history made by the history library: list, show, diff against an entry
// and a file, export, and a damaged database left alone.
#include "history/SetupHistory.h"
#include "setup/SetupBlock.h"
#include "setup/SetupFileCodec.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

CliRun runCli(QStringList args, const QString& dir)
{
    QProcess process;
    process.start(QStringLiteral(MOTRIX_CLI_PATH), args << QStringLiteral("--dir") << dir);
    if (!process.waitForFinished(30000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

class CliHistoryTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    setup::SetupRecord first;
    setup::SetupRecord second;
    qint64 a = 0, b = 0;

    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "cli-history-test";
        static char* argv[] = {name, nullptr};
        static QCoreApplication app(argc, argv);
        first.limiterSpeed = 90;
        first.injectorDeadTime = {400, 410, 420};
        second = first;
        second.limiterSpeed = 110;
        second.injectionMap[17] = 2500;
        history::SetupHistory h;
        ASSERT_TRUE(h.open(dir.path()).ok);
        const history::KvtIdentity kvt{"KVT 3Zyl....", "2.1", "4.7", "1.3", 12};
        a = h.record(history::Event::CliRead, kvt, {}, {}, setup::encodeSetupBlock(first));
        b = h.record(history::Event::FileSave, kvt, QStringLiteral("/x/motor.kvt"),
                     QStringLiteral("Prüfstand"), setup::encodeSetupBlock(second));
    }
};

TEST_F(CliHistoryTest, ListsNewestFirstAndShowsAnEntry)
{
    const CliRun list = runCli({"history", "list", "--json"}, dir.path());
    ASSERT_EQ(list.status, 0) << list.err.toStdString();
    const QJsonArray entries = QJsonDocument::fromJson(list.out.toUtf8()).array();
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0]["id"].toInteger(), b);
    EXPECT_EQ(entries[0]["event"].toString(), "file-save");
    EXPECT_EQ(entries[0]["kvt"]["sw"].toString(), "4.7");
    EXPECT_EQ(entries[1]["event"].toString(), "cli-read");

    const CliRun show = runCli({"history", "show", QString::number(a), "--json"}, dir.path());
    ASSERT_EQ(show.status, 0) << show.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(show.out.toUtf8()).object();
    EXPECT_EQ(o["fields"]["limiterSpeed"]["stored"].toInt(), 90);
    EXPECT_EQ(o["fields"]["injectorDeadTime"]["value"][1].toDouble(), 410);
}

TEST_F(CliHistoryTest, DiffAgainstAnEntryAndAFileAndExport)
{
    const CliRun entries =
        runCli({"history", "diff", QString::number(a), QString::number(b)}, dir.path());
    EXPECT_EQ(entries.status, 1);
    EXPECT_TRUE(entries.out.contains("limiterSpeed")) << entries.out.toStdString();
    EXPECT_TRUE(entries.out.contains("injectionMap[0 Umin, 12.5 %]")) << entries.out.toStdString();
    EXPECT_TRUE(entries.out.contains("2 Unterschied(e).")) << entries.out.toStdString();

    const QString file = dir.filePath("export.kvt");
    const CliRun exported =
        runCli({"history", "export", QString::number(b), "-o", file}, dir.path());
    ASSERT_EQ(exported.status, 0) << exported.err.toStdString();
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const setup::SetupFileContent content = setup::decodeSetupFile(f.readAll(), second);
    EXPECT_EQ(f.size(), setup::setupFileSize);
    EXPECT_EQ(content.record, second);
    EXPECT_EQ(content.description, "Prüfstand");
    EXPECT_EQ(content.origin.software, "4.7");

    EXPECT_EQ(runCli({"history", "diff", QString::number(b), file}, dir.path()).status, 0);
    EXPECT_EQ(runCli({"history", "diff", QString::number(a), file}, dir.path()).status, 1);
    EXPECT_EQ(runCli({"history", "show", "999"}, dir.path()).status, 2);
}

TEST_F(CliHistoryTest, ADamagedOrMissingDatabaseIsReportedAndLeftAlone)
{
    QTemporaryDir empty;
    const CliRun none = runCli({"history", "list"}, empty.path());
    EXPECT_EQ(none.status, 2);
    EXPECT_FALSE(QFile::exists(history::SetupHistory::pathIn(empty.path())));

    QFile f(history::SetupHistory::pathIn(empty.path()));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    const CliRun damaged = runCli({"history", "list"}, empty.path());
    EXPECT_EQ(damaged.status, 2);
    EXPECT_TRUE(damaged.err.contains("beschädigt")) << damaged.err.toStdString();
    EXPECT_EQ(QFileInfo(f.fileName()).size(), 4096);
}

}  // namespace
