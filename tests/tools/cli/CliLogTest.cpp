// motrix-cli on log files: the summary (text and JSON), the CSV conversion and the exit
// status for files that are not logs.
#include "logger/LogFormat.h"

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
    QByteArray out;
    QString err;
};

CliRun cli(const QStringList& args)
{
    QProcess process;
    process.start(QStringLiteral(MOTRIX_CLI_PATH), args);
    if (!process.waitForFinished(30000))
        return {};
    return {process.exitCode(), process.readAllStandardOutput(),
            QString::fromUtf8(process.readAllStandardError())};
}

class CliLogTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString log;
    void SetUp() override
    {
        log = dir.filePath("lauf.klg");
        QFile f(log);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        logger::LogHeader h;
        h.fileName = "lauf.klg";
        h.created = QDateTime(QDate(2024, 5, 17), QTime(9, 30, 5));
        h.hw = "2.1";
        h.comment = "Prüfstand";
        f.write(logger::headerBytes(h));
        f.write(
            "500,3000,10,80,20,0.45,0.50,0.55,1,0,1,0,1,25,1800,,,,\n"
            "1000,5000,30,82,21,0.85,0.10,0.00,0,1,0,1,0,-3,2400,,,,\n"
            "1500,4000,20,84,22,0.65,0.30,0.20,0,0,0,0,0,10,2100,,,,\n");
    }
};

TEST_F(CliLogTest, ShowSummarisesHeaderRowsAndChannels)
{
    const CliRun json = cli({"log", "show", log, "--json"});
    ASSERT_EQ(json.status, 0) << json.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(json.out).object();
    EXPECT_EQ(o["rows"].toInt(), 3);
    EXPECT_EQ(o["durationMs"].toDouble(), 1000.0);
    EXPECT_EQ(o["comment"].toString(), QString::fromUtf8("Prüfstand"));
    EXPECT_EQ(o["date"].toString(), "17.05.2024");
    const QJsonObject speed = o["channels"].toArray()[0].toObject();
    EXPECT_EQ(speed["name"].toString(), "Drehzahl (Umin)");
    EXPECT_EQ(speed["min"].toDouble(), 3000.0);
    EXPECT_EQ(speed["max"].toDouble(), 5000.0);
    EXPECT_EQ(speed["mean"].toDouble(), 4000.0);
    EXPECT_EQ(o["channels"].toArray()[12].toObject()["min"].toDouble(), -3.0);

    const CliRun text = cli({"log", "show", log});
    ASSERT_EQ(text.status, 0);
    EXPECT_TRUE(text.out.contains("Datens\xC3\xA4tze: 3\n"));
    EXPECT_TRUE(text.out.contains("Dauer: 00:00:01.000 (1000 ms)"));
}

TEST_F(CliLogTest, CsvHasTheChannelNamesAndOneRowPerRecord)
{
    const QString out = dir.filePath("lauf.csv");
    const CliRun run = cli({"log", "csv", log, "-o", out});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    ASSERT_EQ(lines.size(), 5);  // header, three rows, the empty rest after the last line feed
    EXPECT_EQ(lines[0],
              "Log-Zeitpunkt(ms),Drehzahl (Umin),Drosselklappe (%),Motortemp. (\xC2\xB0"
              "C),Ansauglufttemp. (\xC2\xB0"
              "C),Lambda1 (V),Lambda2 (V),Lambda3 (V),"
              "Ausgang1,Ausgang2,Eingang1,Eingang2,Eingang3,Z\xC3\xBCndwinkel (\xC2\xB0"
              "KW),Einspritzung (\xC2\xB5s)");
    EXPECT_EQ(lines[2], "1000,5000,30,82,21,0.85,0.1,0,0,1,0,1,0,-3,2400");
    EXPECT_EQ(cli({"log", "csv", log}).out, QByteArray(lines.join('\n')));
}

TEST_F(CliLogTest, UnreadableOrForeignFilesGiveStatusTwo)
{
    QFile other(dir.filePath("setup.kvt"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("Motrix Setup\r\n");
    other.close();
    for (const QStringList& args :
         {QStringList{"log", "show", dir.filePath("fehlt.klg")},
          QStringList{"log", "csv", other.fileName()}, QStringList{"log", "show"}}) {
        const CliRun run = cli(args);
        EXPECT_EQ(run.status, 2) << args.join(' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty());
    }
}

}  // namespace
