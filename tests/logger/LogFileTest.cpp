// Log files: the record line and header bytes, the file name, the shortened path, and the
// reader on files written by hand to the log layout (short lines, text in number fields,
// carriage returns, overlong lines, binary garbage).
#include "logger/KlgReader.h"
#include "logger/LogFormat.h"
#include "logger/LogTable.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

using logger::RecordFields;

std::string line(const std::array<double, 15>& v)
{
    char buf[logger::recordLineCapacity];
    return std::string(buf, std::size_t(logger::formatRecordLine(v, buf)));
}

TEST(RecordLine, FifteenValuesAndFourEmptyFields)
{
    EXPECT_EQ(line({1500, 3200, 12, 45, 21, 0.85, 0.10, 0, 1, 0, 0, 0, 1, 25, 2400}),
              "1500,3200,12,45,21,0.85,0.10,0.00,1,0,0,0,1,25,2400,,,,\n");
    // Whole columns round halves to the even neighbour; lambda columns keep two decimals.
    EXPECT_EQ(line({2.5, 3.5, -2.5, 44.49, -20, 1.005f, 0.004, -0.001, 0, 0, 0, 0, 0, -12.6, 0}),
              "2,4,-2,44,-20,1.00,0.00,0.00,0,0,0,0,0,-13,0,,,,\n");
    // Times beyond what a float holds stay exact to the millisecond.
    EXPECT_EQ(line({86'400'000'123.0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}).substr(0, 12),
              "86400000123,");
    // Values far beyond any sensor (a damaged file) still make a whole line.
    const std::string huge = line({0, 3.0e38, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(huge.substr(0, 4), "0,30");
    EXPECT_EQ(huge.size(), 2u + 39 + 1 + 39);
}

TEST(Header, ElevenLinesExactly)
{
    logger::LogHeader h;
    h.fileName = "kvtlog_20240517_093005.klg";
    h.created = QDateTime(QDate(2024, 5, 7), QTime(9, 3, 5));
    h.hw = "1.2";
    h.sw = "4.7\r\nx";
    h.comment = QString(150, QLatin1Char('k')) + "\n";
    const QByteArray expected =
        "KVT-Log-Datei,kvtlog_20240517_093005.klg\nDatum,07.05.2024\nUhrzeit,09:03:05\n\n"
        "KVT HW,1.2\nKVT SW,4.7  x\n\nKommentar," +
        QByteArray(100, 'k') +
        "\n\n\nZeitpunkt(ms),Drehzahl (Umin),Klappe (%),Motortemp. (C),Lufttemp. (C),"
        "Lambda1 (V),Lambda2 (V),Lambda3 (V),Ausgang1,Ausgang2,Eingang1,Eingang2,Eingang3,"
        "Einspritzung (KW),Einspritzung (ms),Zuendwinkel (KW),,,\n";
    EXPECT_EQ(logger::headerBytes(h), expected);
}

TEST(FileNames, NameAndShortenedPath)
{
    EXPECT_EQ(logger::logFileName(QDateTime(QDate(2024, 5, 17), QTime(9, 30, 5))),
              "kvtlog_20240517_093005.klg");
    const QString p80 = "/" + QString(79, QLatin1Char('a'));
    const QString p81 = QString(38, QLatin1Char('b')) + "MIDDLE" + QString(37, QLatin1Char('c'));
    EXPECT_EQ(logger::shortenedPath(p80), p80);
    ASSERT_EQ(p81.size(), 81);
    EXPECT_EQ(logger::shortenedPath(p81),
              QString(38, QLatin1Char('b')) + " ... " + "E" + QString(37, QLatin1Char('c')));
}

TEST(FieldNumber, TakesTheLeadingNumberOrZero)
{
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {{"", 0},
                          {"  42", 42},
                          {"-7", -7},
                          {"+3", 3},
                          {"0.85", 0.85},
                          {"-.5", -0.5},
                          {"12abc", 12},
                          {"abc", 0},
                          {"nan", 0},
                          {"inf", 0},
                          {"-", 0},
                          {"e5", 0},
                          {"1e3", 1000},
                          {"1e39", 0},
                          {".", 0},
                          {"4.5\r", 4.5},
                          {"12345678901234567890", 12345678901234567890.0}};
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(logger::fieldNumber(c.text, c.text + std::strlen(c.text)), c.value)
            << c.text;
}

// A file as another tool or a person would write it, not by the code under test.
const char* const handWritten =
    "KVT-Log-Datei,kvtlog_20240101_120000.klg\n"
    "Datum,01.01.2024\n"
    "Uhrzeit,12:00:00\n"
    "\n"
    "KVT HW,2.1\n"
    "KVT SW,5.3\n"
    "\n"
    "Kommentar,Prüfstand, Lauf 3\n"
    "\n"
    "\n"
    "Zeitpunkt(ms),Drehzahl (Umin),...\n"
    "0,1200,5,80,20,0.45,0.50,0.55,1,0,1,0,1,25,1800,,,,\n"
    "500,1300,x,81,,0.46\r\n"
    "1000,1400,7,82,21,0.47,0.52,0.57,0,1,0,1,0,26,1900,7,8,9,10,11,12\n"
    "\n"
    "1500,1500";

std::vector<RecordFields> readAll(const QByteArray& bytes, qint64 buffer,
                                  logger::KlgHeaderText* header = nullptr)
{
    QBuffer in;
    in.setData(bytes);
    in.open(QIODevice::ReadOnly);
    logger::KlgReader reader(in, buffer);
    const auto h = reader.readHeader();
    if (header)
        *header = h;
    std::vector<RecordFields> rows;
    RecordFields f;
    while (reader.nextRecord(f))
        rows.push_back(f);
    return rows;
}

TEST(KlgReader, HandWrittenFileLoadsEveryValueInPlace)
{
    for (qint64 buffer : {72, 97, 131, 4096}) {  // lines split across buffer refills
        logger::KlgHeaderText h;
        const auto rows = readAll(handWritten, buffer, &h);
        EXPECT_EQ(h.lines, 11);
        EXPECT_EQ(h.date, "01.01.2024");
        EXPECT_EQ(h.time, "12:00:00");
        EXPECT_EQ(h.hw, "2.1");
        EXPECT_EQ(h.sw, "5.3");
        EXPECT_EQ(h.comment, QString::fromUtf8("Prüfstand, Lauf 3"));
        ASSERT_EQ(rows.size(), 5u) << buffer;
        EXPECT_EQ(rows[0], (RecordFields{0, 1200, 5, 80, 20, 0.45, 0.50, 0.55, 1, 0, 1, 0, 1, 25,
                                         1800, 0, 0, 0, 0}));
        EXPECT_EQ(rows[1], (RecordFields{500, 1300, 0, 81, 0, 0.46}));
        EXPECT_EQ(rows[2], (RecordFields{1000, 1400, 7, 82, 21, 0.47, 0.52, 0.57, 0, 1, 0, 1, 0, 26,
                                         1900, 7, 8, 9, 10}));
        EXPECT_EQ(rows[3], RecordFields{});
        EXPECT_EQ(rows[4], (RecordFields{1500, 1500}));
    }
}

TEST(KlgReader, ShortHeaderGivesNoRecords)
{
    logger::KlgHeaderText h;
    EXPECT_TRUE(readAll("KVT-Log-Datei,a\nDatum,01.01.2024\n", 64, &h).empty());
    EXPECT_EQ(h.lines, 2);
    EXPECT_EQ(h.date, "01.01.2024");
}

TEST(KlgReader, OverlongLinesAndGarbageNeverHang)
{
    QByteArray bytes = QByteArray(handWritten).left(QByteArray(handWritten).indexOf("0,1200"));
    bytes += "7," + QByteArray(5000, '9') + ",3\n";  // a line much longer than the buffer
    bytes += "8,1,2\n";
    const auto rows = readAll(bytes, 256);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0], 7);
    EXPECT_EQ(rows[1], (RecordFields{8, 1, 2}));

    QByteArray garbage(200000, '\0');
    auto* random = QRandomGenerator::global();
    for (char& c : garbage)
        c = char(random->bounded(256));
    const auto junk = readAll(garbage, 1024);
    for (const RecordFields& f : junk)
        for (double v : f)
            EXPECT_TRUE(std::isfinite(v) && std::fabs(v) <= 3.5e38);
}

TEST(LogTable, TimeKeepsMillisecondsAndSpareColumnsCostNothing)
{
    logger::LogTable t;
    ASSERT_TRUE(t.resize(4));
    const qint64 plain = t.bytesPerRow();
    EXPECT_TRUE(t.setValue(1, 16, 0));  // zero needs no column
    EXPECT_EQ(t.bytesPerRow(), plain);
    EXPECT_FALSE(t.extraColumnsInUse());
    ASSERT_TRUE(t.setTime(1, 16'777'217));  // 2^24 + 1: a float would lose this millisecond
    EXPECT_EQ(t.value(1, 0), 16'777'217.0);
    ASSERT_TRUE(t.setValue(2, 0, 1.5));  // widened on the first fractional time
    ASSERT_TRUE(t.setValue(3, 0, 5'000'000'000.0));
    EXPECT_EQ(t.value(1, 0), 16'777'217.0);
    EXPECT_EQ(t.value(2, 0), 1.5);
    EXPECT_EQ(t.value(3, 0), 5'000'000'000.0);
    ASSERT_TRUE(t.setValue(2, 17, 4.25));
    EXPECT_TRUE(t.extraColumnsInUse());
    EXPECT_EQ(t.value(2, 17), 4.25);
    EXPECT_EQ(t.value(2, 18), 0.0);
    ASSERT_TRUE(t.resize(9));  // growing keeps values, new rows are 0
    EXPECT_EQ(t.value(3, 0), 5'000'000'000.0);
    EXPECT_EQ(t.value(8, 17), 0.0);

    logger::LogTable::setAllocationLimit(t.bytesPerRow() * 9);
    EXPECT_FALSE(t.resize(11));
    EXPECT_EQ(t.rows(), 9);
    EXPECT_FALSE(t.setValue(4, 15, 1.0));  // a fresh column would pass the limit
    logger::LogTable::setAllocationLimit(0);
    EXPECT_EQ(t.value(2, 17), 4.25);
}

}  // namespace
