// The recorder: START, ticks and STOPP into a file, a full table, the creation checks, "Log
// sichern" through a temporary file, and "Log laden" with the estimate and a memory shortage.
#include "app/core/MessageLog.h"
#include "app/core/ProgramSettings.h"
#include "logger/LogRecorder.h"
#include "support/FakeDialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using logger::LogTable;

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

struct View : logger::RecorderView {
    QStringList dataPoints;
    void showDataPoint(const QString& text) override { dataPoints << text; }
};

struct Fixture : ::testing::Test {
    QTemporaryDir dir;
    testsupport::FakeDialogs dialogs;
    app::MessageLog log;
    QStringList logged;
    app::ProgramSettings settings;
    LogTable table;
    View view;
    qint64 clock = 1000;
    std::array<double, 14> live{};
    std::unique_ptr<logger::LogRecorder> recorder;

    void SetUp() override
    {
        log.setStatusSink([this](const QString& t) { logged << t; });
        table.resize(settings.loggerCapacity + 1);
        logger::LogRecorder::Hooks hooks;
        hooks.clockMs = [this] { return clock; };
        hooks.now = [] { return QDateTime(QDate(2024, 5, 17), QTime(9, 30, 5)); };
        hooks.liveValues = [this] { return live; };
        hooks.identified = [] { return true; };
        hooks.hw = [] { return QStringLiteral("2.1"); };
        hooks.sw = [] { return QStringLiteral("5.3"); };
        recorder =
            std::make_unique<logger::LogRecorder>(table, settings, dialogs, log, dir.path(), hooks);
        recorder->setView(&view);
    }
    QString recorded() const { return dir.filePath("kvtlog_20240517_093005.klg"); }
    void writeText(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

const QByteArray header =
    "KVT-Log-Datei,kvtlog_20240517_093005.klg\nDatum,17.05.2024\nUhrzeit,09:30:05\n\n"
    "KVT HW,2.1\nKVT SW,5.3\n\nKommentar,Lauf\n\n\n" +
    QByteArray(logger::columnHeaderLine) + "\n";

TEST_F(Fixture, RecordingWritesEveryTickAtOnce)
{
    recorder->setComment("Lauf");
    recorder->start();
    ASSERT_TRUE(recorder->recording());
    EXPECT_EQ(logged.last(), "Logger-Datei kvtlog_20240517_093005.klg angelegt");
    live = {3200, 12, 45, 21, 0.85, 0.1, 0, 1, 0, 0, 0, 1, 25, 2400};
    clock += 500;
    recorder->tick();
    // The line is in the file before the recording ends.
    EXPECT_EQ(readFile(recorded()),
              header + "500,3200,12,45,21,0.85,0.10,0.00,1,0,0,0,1,25,2400,,,,\n");
    live[0] = 3300;
    clock += 501;
    recorder->tick();
    recorder->stop();
    recorder->tick();  // idle: nothing
    EXPECT_FALSE(recorder->fileOpen());
    EXPECT_EQ(recorder->rowsAvailable(), 2);
    EXPECT_EQ(view.dataPoints.last(), "2 / 3600");
    EXPECT_EQ(readFile(recorded()),
              header +
                  "500,3200,12,45,21,0.85,0.10,0.00,1,0,0,0,1,25,2400,,,,\n"
                  "1001,3300,12,45,21,0.85,0.10,0.00,1,0,0,0,1,25,2400,,,,\n");
}

TEST_F(Fixture, SecondRecordingInTheSameSecondKeepsTheFirst)
{
    recorder->start();
    recorder->tick();
    recorder->stop();
    const QByteArray first = readFile(recorded());
    ASSERT_EQ(first.count('\n'), 12);
    for (const char* name : {"kvtlog_20240517_093005_2.klg", "kvtlog_20240517_093005_3.klg"}) {
        recorder->start();
        ASSERT_TRUE(recorder->recording());
        EXPECT_EQ(logged.last(), QStringLiteral("Logger-Datei %1 angelegt").arg(name));
        recorder->stop();
        EXPECT_TRUE(readFile(dir.filePath(name)).startsWith("KVT-Log-Datei," + QByteArray(name)));
    }
    EXPECT_EQ(readFile(recorded()), first);
}

TEST_F(Fixture, MaximumRecordCountOneClosesAtTheSecondTick)
{
    settings.loggerCapacity = 1;
    table.resize(2);
    recorder->start();
    recorder->tick();
    EXPECT_TRUE(recorder->recording());
    EXPECT_EQ(recorder->recordCount(), 1);
    recorder->tick();
    EXPECT_FALSE(recorder->recording());
    EXPECT_EQ(logged.last(), "Logger-Datei geschlossen");
    EXPECT_EQ(readFile(recorded()).count('\n'), 12);
}

TEST_F(Fixture, CreationChecksStopTheStart)
{
    struct Case {
        QString path;
        QString box;
        QString logLine;
    };
    writeText(dir.filePath("plainfile"), "x");
    const Case cases[] = {
        {"", "\rDer Logdateipfad ist ungültig.\r\rLoggen/Sichern nicht möglich.",
         "Log-Dateipfad ungültig"},
        // A folder that cannot hold files (it is a file), whoever runs the test.
        {dir.filePath("plainfile"),
         "\rLogdatei konnte nicht angelegt werden.\r\rLoggen/Sichern nicht möglich.",
         "Log-Datei konnte nicht angelegt werden"},
    };
    for (const Case& c : cases) {
        dialogs.clear();
        int timers = 0;
        logger::LogRecorder::Hooks hooks;
        hooks.startTimer = [&](int) { ++timers; };
        logger::LogRecorder r(table, settings, dialogs, log, c.path, hooks);
        r.start();
        EXPECT_FALSE(r.recording());
        EXPECT_EQ(timers, 0);
        ASSERT_EQ(dialogs.calls.size(), 1u);
        EXPECT_EQ(dialogs.calls[0].title, "Achtung");
        EXPECT_EQ(dialogs.calls[0].text, c.box);
        EXPECT_EQ(logged.last(), c.logLine);
    }
    // Saving before anything was recorded or loaded: no name yet.
    dialogs.clear();
    recorder->save();
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].text,
              "\rDer Logdateiname ist ungültig.\r\rLoggen/Sichern nicht möglich.");
    EXPECT_EQ(logged.last(), "Log-Dateiname ungültig");
}

TEST_F(Fixture, LoadRaisesTheMaximumByTheEstimateAndSaveReplacesAtomically)
{
    // 10000 × 65 bytes: the estimate is 10000 records.
    QByteArray bytes = header;
    // Longer than the reckoned 65 bytes (blanks in the last field), so the estimate holds.
    const QByteArray row = "1,2,3,4,5,0.50,0.60,0.70,1,0,1,0,1,20,1500,,,,                    \n";
    while (bytes.size() + row.size() <= 650000)
        bytes += row;
    bytes += QByteArray(650000 - bytes.size() - 1, ' ') + "\n";
    ASSERT_EQ(bytes.size(), 650000);
    const QString path = dir.filePath("lauf.klg");
    writeText(path, bytes);
    const qint64 lines = bytes.count('\n') - 11;

    dialogs.answerFile(path);
    recorder->load();
    EXPECT_TRUE(dialogs.boxTexts().isEmpty());
    EXPECT_EQ(settings.loggerCapacity, 10000);  // the setting itself
    EXPECT_EQ(recorder->rowsAvailable(), lines);
    EXPECT_EQ(recorder->comment(), "Lauf");
    EXPECT_EQ(table.value(lines - 1, 14), 1500.0);
    EXPECT_EQ(view.dataPoints.first(), "1   (~0%)");
    EXPECT_TRUE(view.dataPoints.contains("100   (~1%)"));  // shown as the per cent changes
    EXPECT_FALSE(view.dataPoints.contains("101   (~1%)"));
    EXPECT_EQ(view.dataPoints.last(), QString::number(lines) + " / 10000");
    EXPECT_EQ(logged.last(), "Logger-Datei lauf.klg gelesen");

    // Saved again over itself: the rows come back as written, line for line.
    recorder->save();
    EXPECT_EQ(logged.last(), "Logger-Datei lauf.klg gesichert");
    const QByteArray saved = readFile(path);
    EXPECT_EQ(saved.count('\n'), 11 + lines);
    EXPECT_TRUE(
        saved.endsWith("1,2,3,4,5,0.50,0.60,0.70,1,0,1,0,1,20,1500,,,,\n0,0,0,0,0,0.00,"
                       "0.00,0.00,0,0,0,0,0,0,0,,,,\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).filter(".klg").size(), 1);
}

TEST_F(Fixture, ReadingStopsCleanlyWhenMemoryRunsOut)
{
    QByteArray bytes = header;
    for (int i = 1; i <= 15000; ++i)
        bytes += QByteArray::number(i * 500) + ",1000,,,,,,,,,,,,,,,,,\n";
    const QString path = dir.filePath("gross.klg");
    writeText(path, bytes);
    settings.loggerCapacity = 100;
    table.resize(101);
    // Room for 3000 rows only: the estimate's table cannot be had, reading stops when full.
    LogTable::setAllocationLimit(3000 * table.bytesPerRow());
    dialogs.answerFile(path);
    recorder->load();
    LogTable::setAllocationLimit(0);
    const QStringList boxes = dialogs.boxTexts();
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_EQ(boxes[0],
              " Es steht nicht genügend Arbeitsspeicher für die geschätzte Datenfeldgröße "
              "(" +
                  QString::number(bytes.size() / 65) +
                  ") zur Verfügung.\r\rGgf. ist der Arbeitsspeicher zu klein.\r\r\rDie "
                  "Datei wird schrittweise eingelesen, bis der Speicher voll ist.");
    EXPECT_EQ(boxes[1],
              " Die Log-Datei konnte mangels Speicherplatz nicht vollständig eingelesen werden.");
    EXPECT_TRUE(
        logged.contains("Nicht genügend Arbeitsspeicher für Log-datei verfügbar. Lesen "
                        "erfolgt, bis Speicher voll ist"));
    EXPECT_TRUE(
        logged.contains("Log-Datei konnte mangels Speicherplatz nicht vollständig gelesen werden"));
    EXPECT_EQ(settings.loggerCapacity, 2999);
    EXPECT_EQ(recorder->rowsAvailable(), 2999);
    EXPECT_EQ(table.value(2999, 0), 2999 * 500.0);
}

TEST_F(Fixture, FileShorterThanOneRecordShowsNoPerCent)
{
    const QString path = dir.filePath("kurz.klg");
    writeText(path, "KVT-Log-Datei,k\n\n\n\n\n\n\n\n\n\n\n1,2\n");  // 28 bytes: estimate 0
    dialogs.answerFile(path);
    recorder->load();
    EXPECT_EQ(view.dataPoints.first(), "1   (~0%)");
    EXPECT_EQ(view.dataPoints.last(), "1 / 3600");
    EXPECT_EQ(table.value(1, 1), 2.0);
}

TEST_F(Fixture, LoadCancelledOrUnreadable)
{
    recorder->load();
    dialogs.answerFile(dir.filePath("fehlt.klg"));
    recorder->load();
    const QStringList boxes = dialogs.boxTexts();
    EXPECT_EQ(boxes,
              QStringList({"Log-Datei laden abgebrochen.", "Log-Datei laden nicht möglich."}));
    EXPECT_TRUE(logged.contains("Log-datei laden abgebrochen"));
    EXPECT_EQ(logged.last(), "Log-Datei konnte nicht geladen werden");
}

}  // namespace
