// Comparison files: the exact bytes written, files written by hand to the documented layout,
// damaged files, and the save and load procedures with their dialogs, logs and atomic writes.
#include "power/PowerCompute.h"
#include "power/PowerFile.h"
#include "power/PowerFiles.h"
#include "support/FakeDialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <limits>

using namespace power;
using testsupport::FakeDialogs;

namespace {

QList<QByteArray> utf8Lines(const QByteArray& bytes)
{
    return bytes.split('\n');
}

// A file as a user's own script would write it: the documented lines, one run from 3000 to
// 6000 rpm in 1.5 s, a made-up grid, comment in UTF-16LE.
QByteArray handWritten(const char* system, int ewg, int din, int drag)
{
    QByteArray head =
        "KVT-Leistungsvergleich\nDatei:,hand.klv\nDatum:,01.02.2024\n"
        "Uhrzeit:,13:14:15\nKVT HW:,2.1\nKVT SW:,4.7\n\n";
    const QByteArray comment = "Kommentar:,Lauf A\n";
    for (char ch : comment) {
        head.append(ch);
        head.append('\0');
    }
    QByteArray rest =
        "\nUmwelt\nTemperatur [\xc2\xb0"
        "C]:,20\nLuftdruck [hPa]:,990\n"
        "Luftfeuchte [%]:,40\nFahrzeug\nFahrzeuggewicht [kg]:,180\n"
        "Uebersetzung [Rad/KW]:,0.11\nRadumfang [cm]:,185\n"
        "Windflaeche [m^2]:,0.60\ncw-Wert:,0.70\nPruefstand\n"
        "Rollenumfang [cm]:,150\nSchwungm.Tr.Mom.[kgm^2]:,8.15\n\nLogdaten\n"
        "t [ms],n KW [U/min]\n";
    for (int i = 0; i < 700; ++i)
        rest += i < 16 ? QByteArray::number(i * 100) + ".000," +
                             QByteArray::number(3000 + i * 200) + ".000\n"
                       : QByteArray("0.000,0.000\n");
    rest += "\nAuswertung\nMesssystem," + QByteArray(system) + "\nEWG 80/1269," +
            QByteArray::number(ewg) + "\nDIN 70200," + QByteArray::number(din) +
            "\nAdd. Schleppwerte," + QByteArray::number(drag) + "\n\nn [U/min],M [Nm],P [kW]\n";
    for (int k = 1; k <= 320; ++k)
        rest += k <= 100 ? QByteArray::number(k * 50) + ".00,1" + QByteArray::number(k) + ".50," +
                               QByteArray::number(k) + ".25\n"
                         : QByteArray("0.00,0.00,0.00\n");
    rest += "Dateiende\n";
    return head + rest;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Procedures : ::testing::Test {
    QTemporaryDir dir;
    FakeDialogs dialogs;
    app::MessageLog log;
    PowerFiles files{dialogs, log};
    PowerDocument doc;

    Procedures()
    {
        files.setClock([] { return QDateTime(QDate(2024, 3, 5), QTime(7, 8, 9)); });
    }
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
};

}  // namespace

TEST(PowerFile, WritesTheDocumentedLines)
{
    PowerFileContent c;
    c.fileName = QStringLiteral("lauf1.klv");
    c.info = {QStringLiteral("05.03.2024"), QStringLiteral("07:08:09"), QStringLiteral("2.1"),
              QStringLiteral("4.7"), QString()};
    for (int i = 0; i < 12; ++i)
        c.samples[i] = {100.0f * i, 3000.0f + 250 * i, 0, 0, 0};
    c.curve[59] = {3000, 12.345f, 4.5f};
    const QByteArray bytes = encodePowerFile(c);

    // Line 8: "Kommentar:,..." and its line feed in UTF-16LE, 30 bytes.
    const QByteArray head =
        "KVT-Leistungsvergleich\nDatei:,lauf1.klv\nDatum:,05.03.2024\n"
        "Uhrzeit:,07:08:09\nKVT HW:,2.1\nKVT SW:,4.7\n\n";
    ASSERT_TRUE(bytes.startsWith(head));
    const QByteArray line8 = bytes.mid(head.size(), 30);
    EXPECT_EQ(line8, QByteArray("K\0o\0m\0m\0e\0n\0t\0a\0r\0:\0,\0.\0.\0.\0\n\0", 30));

    const QList<QByteArray> rest = utf8Lines(bytes.mid(head.size() + 30));
    // Lines 9 … 1054 and the empty text after the last line feed.
    ASSERT_EQ(rest.size(), 1054 - 8 + 1);
    auto line = [&](int n) { return rest[n - 9]; };
    EXPECT_EQ(line(11),
              "Temperatur [\xc2\xb0"
              "C]:,25");
    EXPECT_EQ(line(16), "Uebersetzung [Rad/KW]:,1.00");
    EXPECT_EQ(line(22), "Schwungm.Tr.Mom.[kgm^2]:,15.00");
    EXPECT_EQ(line(26), "0.000,3000.000");
    EXPECT_EQ(line(37), "1100.000,5750.000");
    int zeros = 0;
    for (int n = 26; n <= 725; ++n)
        zeros += line(n) == "0.000,0.000";
    EXPECT_EQ(zeros, 688);
    EXPECT_EQ(line(728), "Messsystem,rotatorisch");
    EXPECT_EQ(line(731), "Add. Schleppwerte,0");
    EXPECT_EQ(line(733), "n [U/min],M [Nm],P [kW]");
    EXPECT_EQ(line(793), "3000.00,12.35,4.50");
    EXPECT_EQ(line(1053), "0.00,0.00,0.00");
    EXPECT_EQ(line(1054), "Dateiende");
    EXPECT_EQ(rest.last(), "");
}

TEST(PowerFile, NumbersRoundHalfAwayFromZeroAndZeroHasNoSign)
{
    // Exact halves round away from zero; a negative zero is "0", a small negative value that
    // rounds to zero keeps its minus; beyond the float range nothing but 0 is written.
    const struct {
        float value;
        const char* three;  // a sample line's time, 3 decimals
        const char* two;    // a grid line's torque, 2 decimals
    } cases[] = {{0.0625f, "0.063", "0.06"},     {-0.0625f, "-0.063", "-0.06"},
                 {0.125f, "0.125", "0.13"},      {2.0005f, "2.000", "2.00"},
                 {-0.0f, "0.000", "0.00"},       {-0.0004f, "-0.000", "-0.00"},
                 {1912110.125f, "1912110.125", "1912110.13"},
                 {1e20f, "100000002004087734272.000", "100000002004087734272.00"},
                 {std::numeric_limits<float>::quiet_NaN(), "0.000", "0.00"},
                 {-std::numeric_limits<float>::infinity(), "0.000", "0.00"}};
    for (const auto& c : cases) {
        PowerFileContent content;
        content.samples[0] = {c.value, 0, 0, 0, 0};
        content.curve[0] = {0, c.value, 0};
        const QList<QByteArray> lines = utf8Lines(encodePowerFile(content));
        EXPECT_EQ(lines[26 - 1], QByteArray(c.three) + ",0.000") << c.three;
        EXPECT_EQ(lines[734 - 1], "0.00," + QByteArray(c.two) + ",0.00") << c.two;
    }
}

TEST(PowerFile, TextsNeverSplitALine)
{
    EXPECT_EQ(cleanDescription(QStringLiteral("a,b\r\nc")), QStringLiteral("abc"));
    EXPECT_EQ(cleanDescription(QString()), QStringLiteral("..."));
    EXPECT_EQ(cleanDescription(QString(250, QLatin1Char('x'))).size(), 200);
    PowerFileContent c;
    c.info.hardware = QStringLiteral("2,1\n");
    c.info.software = QStringLiteral("4\r7");
    const QByteArray bytes = encodePowerFile(c);
    EXPECT_TRUE(bytes.contains("\nKVT HW:,2 1 \nKVT SW:,4 7\n"));
    EXPECT_EQ(decodePowerFile(bytes).info.software, QStringLiteral("4 7"));
}

TEST(PowerFile, RoundTripKeepsEverythingStored)
{
    PowerFileContent c;
    c.info.description = QStringLiteral("Prüfstand Ölwechsel");
    c.parameters.ratio = 0.11f;
    c.parameters.inertia = 8.15f;
    c.parameters.temperature = -5;
    c.options = {MeasurementSystem::Linear, false, true, true};
    for (int i = 0; i < 700; ++i)
        c.samples[i] = {10.0f * i, 300.5f + i, 0, 0, 0};
    c.curve[3] = {200, 1.5f, 2.25f};
    const PowerFileContent d = decodePowerFile(encodePowerFile(c));
    EXPECT_EQ(d.info.description, c.info.description);
    EXPECT_EQ(d.parameters, c.parameters);
    EXPECT_EQ(d.options, c.options);
    EXPECT_EQ(d.samples, c.samples);
    EXPECT_EQ(d.curve, c.curve);
}

TEST(PowerFile, DamagedFilesReadAsZerosAndLimitedParameters)
{
    QByteArray bytes = handWritten("rotatorisch", 1, 1, 0);
    bytes.replace("Uebersetzung [Rad/KW]:,0.11", "Uebersetzung [Rad/KW]:,0");
    bytes.replace("Rollenumfang [cm]:,150", "Rollenumfang [cm]:,x");
    bytes.replace("\n100.000,3200.000\n", "\nnan,inf\n");
    const PowerFileContent c = decodePowerFile(bytes);
    EXPECT_FLOAT_EQ(c.parameters.ratio, 0.01f);
    EXPECT_EQ(c.parameters.rollerCircumference, 1);
    EXPECT_EQ(c.samples[1].time, 0.0f);
    EXPECT_EQ(c.samples[1].speed, 0.0f);
    EXPECT_FALSE(c.options.ewg);  // DIN wins
    EXPECT_TRUE(c.options.din);

    // Cut anywhere, the rest reads as zeros.
    for (qsizetype cut : {qsizetype(0), qsizetype(5), qsizetype(150), bytes.size() / 2}) {
        const PowerFileContent part = decodePowerFile(bytes.left(cut));
        EXPECT_EQ(part.curve[99].speed, 0.0f);
        EXPECT_EQ(part.options.system, MeasurementSystem::Linear);
    }
}

TEST_F(Procedures, HandWrittenFileLoadsIntoSlot1AndIsRecomputed)
{
    writeFile(path("hand.klv"), handWritten("rotatorisch", 0, 1, 1));
    dialogs.answerFile(path("hand.klv"));
    ASSERT_EQ(files.loadMeasurement(doc), PowerFiles::Outcome::Done);
    EXPECT_EQ(doc.info.date, QStringLiteral("01.02.2024"));
    EXPECT_EQ(doc.info.description, QStringLiteral("Lauf A"));
    EXPECT_EQ(doc.info.hardware, QStringLiteral("2.1"));
    EXPECT_EQ(doc.parameters.pressure, 990);
    EXPECT_FLOAT_EQ(doc.parameters.ratio, 0.11f);
    EXPECT_FLOAT_EQ(doc.parameters.inertia, 8.15f);
    EXPECT_EQ(doc.parameters.rollerCircumference, 150);
    EXPECT_EQ(doc.options, (PowerOptions{MeasurementSystem::Roller, false, true, true}));
    EXPECT_EQ(doc.samples[15].speed, 6000.0f);
    EXPECT_EQ(doc.samples[15].time, 1500.0f);
    EXPECT_EQ(files.fileName(), QStringLiteral("hand.klv"));
    EXPECT_EQ(log.statusText(), QStringLiteral("LV-Datei hand.klv geladen"));

    // The stored grid (13.50 Nm at 3000 rpm) is ignored: the run is evaluated anew.
    const Evaluation e = compute(doc.samples, doc.parameters, doc.options);
    EXPECT_EQ(e.curve[59].speed, 3000.0f);
    EXPECT_GT(e.curve[69].torque, 0);
    EXPECT_NE(e.curve[69].torque, 170.5f);
}

TEST_F(Procedures, HandWrittenFileLoadsIntoSlot2WithItsGridAndLabels)
{
    writeFile(path("hand.klv"), handWritten("rotatorisch", 1, 0, 0));
    dialogs.answerFile(path("hand.klv"));
    PowerCurve curve{};
    ComparisonLabels labels;
    ASSERT_EQ(files.loadComparison(2, curve, labels), PowerFiles::Outcome::Done);
    EXPECT_EQ(curve[59], (GridPoint{3000, 160.5f, 60.25f}));
    EXPECT_EQ(curve[100].speed, 0.0f);
    EXPECT_EQ(labels.fileName, QStringLiteral("hand.klv"));
    EXPECT_EQ(labels.time, QStringLiteral("13:14:15"));
    EXPECT_EQ(labels.system, QStringLiteral("(rotatorisch)"));
    EXPECT_EQ(labels.correction, QStringLiteral("(EWG80/1269)"));
    EXPECT_EQ(labels.drag, QStringLiteral("(ignor. Schlepp.)"));
    EXPECT_EQ(log.statusText(), QStringLiteral("LV-Auswertung 2 geladen"));
    EXPECT_TRUE(files.fileName().isEmpty());  // the current name is not changed

    writeFile(path("b.klv"), handWritten("linear", 1, 1, 1));
    dialogs.answerFile(path("b.klv"));
    files.loadComparison(3, curve, labels);
    EXPECT_EQ(labels.system, QStringLiteral("(linear)"));
    EXPECT_EQ(labels.correction, QStringLiteral("(DIN70200)"));
    EXPECT_EQ(labels.drag, QStringLiteral("(Add. Schlepp.)"));
}

TEST_F(Procedures, OtherExtensionsAskFirst)
{
    writeFile(path("hand.txt"), handWritten("rotatorisch", 0, 0, 0));
    dialogs.answerFile(path("hand.txt"));
    dialogs.answerQuestion(false);
    EXPECT_EQ(files.loadMeasurement(doc), PowerFiles::Outcome::Refused);
    ASSERT_EQ(dialogs.calls.size(), 2u);
    EXPECT_EQ(dialogs.calls[0].title, QStringLiteral("Leistungsvergleichsdatei laden"));
    EXPECT_EQ(dialogs.calls[1].title, QStringLiteral("Setup laden"));
    EXPECT_EQ(dialogs.calls[1].text,
              QStringLiteral("Vermutlich ist die Datei nicht kompatibel.\rWenn sie gelesen "
                             "wurde, könnten die daten falsch interpretiert worden sein!\r"
                             "Trotzdem Laden?"));
    EXPECT_EQ(doc.parameters, PowerParameters{});

    PowerCurve curve{};
    ComparisonLabels labels;
    dialogs.answerFile(path("hand.txt"));
    dialogs.answerQuestion(true);
    EXPECT_EQ(files.loadComparison(3, curve, labels), PowerFiles::Outcome::Done);
    EXPECT_EQ(curve[0].speed, 50.0f);
}

TEST_F(Procedures, FailedLoadLeavesTheMeasurement)
{
    writeFile(path("good.klv"), handWritten("linear", 0, 0, 0));
    dialogs.answerFile(path("good.klv"));
    files.loadMeasurement(doc);
    const PowerDocument before = doc;
    dialogs.answerFile(path("missing.klv"));
    EXPECT_EQ(files.loadMeasurement(doc), PowerFiles::Outcome::Failed);
    EXPECT_EQ(log.statusText(), QStringLiteral("LV-Datei 1 laden fehlerhaft"));
    EXPECT_EQ(doc.samples, before.samples);
    EXPECT_EQ(doc.parameters, before.parameters);
    EXPECT_EQ(files.fileName(), QStringLiteral("good.klv"));

    PowerCurve curve{};
    curve[0] = {50, 1, 1};
    ComparisonLabels labels;
    dialogs.answerFile(path("missing.klv"));
    EXPECT_EQ(files.loadComparison(2, curve, labels), PowerFiles::Outcome::Failed);
    EXPECT_EQ(curve[0].speed, 0.0f);
    EXPECT_EQ(labels.correction, QStringLiteral("(keine Korr.)"));
}

TEST_F(Procedures, SaveNamesAndOverwriteRules)
{
    struct Case {
        const char* typed;
        const char* written;
    };
    for (const Case& c : {Case{"lauf1", "lauf1.klv"}, Case{"lauf1.txt", "lauf1.txt.klv"},
                          Case{"lauf1.KLV", "lauf1.KLV.klv"}}) {
        dialogs.answerFile(path(c.typed));
        ASSERT_EQ(files.save(doc, QStringLiteral("2.1"), QStringLiteral("4.7")),
                  PowerFiles::Outcome::Done);
        EXPECT_TRUE(QFile::exists(path(c.written))) << c.written;
        EXPECT_EQ(files.fileName(), QString::fromUtf8(c.written));
    }
    EXPECT_EQ(doc.info.date, QStringLiteral("05.03.2024"));
    EXPECT_EQ(doc.info.software, QStringLiteral("4.7"));
    EXPECT_EQ(log.statusText(), QStringLiteral("LV-Datei lauf1.KLV.klv gespeichert"));
    EXPECT_EQ(decodePowerFile(readAll(path("lauf1.klv"))).fileName, QStringLiteral("lauf1.klv"));

    // An empty file is overwritten without a question; a file with content asks.
    dialogs.clear();
    writeFile(path("empty.klv"), {});
    dialogs.answerFile(path("empty.klv"));
    EXPECT_EQ(files.save(doc, {}, {}), PowerFiles::Outcome::Done);
    EXPECT_TRUE(dialogs.boxTexts().isEmpty());
    dialogs.answerFile(path("empty.klv"));
    dialogs.answerQuestion(false);
    EXPECT_EQ(files.save(doc, {}, {}), PowerFiles::Outcome::Refused);
    EXPECT_EQ(dialogs.boxTexts().value(0),
              QStringLiteral("Datei existiert bereits.\rÜberschreiben?"));
}

TEST_F(Procedures, FailedSaveChangesNothing)
{
    dialogs.answerFile(path("first.klv"));
    files.save(doc, {}, {});
    const QByteArray before = readAll(path("first.klv"));
    // A folder that does not exist cannot take the file.
    dialogs.answerFile(dir.filePath(QStringLiteral("nowhere/second.klv")));
    doc.parameters.mass = 200;
    EXPECT_EQ(files.save(doc, {}, {}), PowerFiles::Outcome::Failed);
    EXPECT_EQ(dialogs.boxTexts().value(0),
              QStringLiteral("Die Leistungsvergleichsdatei\rkonnte nicht gespeichert werden."));
    EXPECT_EQ(dialogs.calls.back().title, QStringLiteral("Achtung!"));
    EXPECT_EQ(log.statusText(), QStringLiteral("Fehler beim Speichrn der LV-Datei"));
    EXPECT_EQ(files.fileName(), QStringLiteral("first.klv"));
    EXPECT_EQ(files.directory(), QFileInfo(dir.path()).absoluteFilePath());
    EXPECT_EQ(readAll(path("first.klv")), before);
}
