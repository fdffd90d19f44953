// ".kll" files: the exact bytes, a hand-written file, the comment and name rules.
#include "lambda/KllFile.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace lambda;

namespace {

QStringList utf8Lines(const QByteArray& bytes)
{
    return QString::fromUtf8(bytes).split(QChar('\n'));
}

TEST(KllFile, EmptyTableWritesZerosAndTheFixedLines)
{
    KllDocument doc;
    doc.date = "01.02.2026";
    doc.time = "03:04:05";
    doc.hardware = "2.1";
    doc.software = "4,7\r\n";
    doc.comment = "Test";
    const QByteArray bytes = encodeKll(doc, "a.kll");

    // Line 8 is UTF-16LE, its line feed included.
    const QByteArray comment = QByteArray("K\0o\0m\0m\0e\0n\0t\0a\0r\0:\0,\0T\0e\0s\0t\0\n\0", 32);
    const qsizetype at = bytes.indexOf(comment);
    ASSERT_GT(at, 0);
    const QStringList head = utf8Lines(bytes.left(at));
    EXPECT_EQ(head, (QStringList{"KVT-Lambdalog", "Datei:,a.kll", "Datum:,01.02.2026",
                                 "Uhrzeit:,03:04:05", "KVT HW:,2.1", "KVT SW:,4 7  ", "", ""}));
    const QStringList rest = utf8Lines(bytes.mid(at + comment.size()));
    ASSERT_EQ(rest.size(), 1 + 3 * 13 + 2);  // empty line, blocks, "Dateiende", after last LF
    EXPECT_EQ(rest[0], "");
    const QString zeros = QString(",0.00").repeated(17);
    const char* labels[] = {"100", "88", "75", "62", "50", "38", "25", "12", "0"};
    for (int k = 0; k < 3; ++k) {
        const int b = 1 + 13 * k;
        EXPECT_EQ(rest[b], QString("Lambda %1").arg(k + 1));
        EXPECT_EQ(rest[b + 1], "Drosselklappe [%]");
        for (int r = 0; r < 9; ++r)
            EXPECT_EQ(rest[b + 2 + r], QString::fromLatin1(labels[r]) + zeros);
        EXPECT_EQ(rest[b + 11],
                  "Umin -> ,0,1000,2000,3000,4000,5000,6000,7000,8000,9000,10000,"
                  "11000,12000,13000,14000,15000,16000");
        EXPECT_EQ(rest[b + 12], "");
    }
    EXPECT_EQ(rest[40], "Dateiende");
    EXPECT_EQ(rest[41], "");
}

TEST(KllFile, RoundTripKeepsTwoDecimals)
{
    KllDocument doc;
    doc.comment = "Probe";
    doc.table.set(1, 1, 1, 850);
    doc.table.set(17, 9, 3, 852);
    doc.table.set(2, 9, 2, 1234);
    const QByteArray bytes = encodeKll(doc, "x.kll");
    EXPECT_TRUE(bytes.contains("\n100,0.00,1.23,"));
    const KllDocument back = decodeKll(bytes);
    EXPECT_EQ(back.table.at(1, 1, 1), 850);
    EXPECT_EQ(back.table.at(17, 9, 3), 850);
    EXPECT_EQ(back.table.at(2, 9, 2), 1230);
    EXPECT_EQ(back.comment, "Probe");
}

TEST(KllFile, HandWrittenFileLoadsEveryCell)
{
    // Each cell holds (i + 20 j + 200 k) / 1000 V, written row by row as the layout says.
    QByteArray text =
        "KVT-Lambdalog\nDatei:,h.kll\nDatum:,24.12.2025\nUhrzeit:,18:00:00\n"
        "KVT HW:,2.1\nKVT SW:,4.7\n\n";
    const QString comment = QStringLiteral("Kommentar:,Prüfstand\n");
    text += QByteArray(reinterpret_cast<const char*>(comment.utf16()), comment.size() * 2);
    text += "\n";
    const int rowLabels[] = {100, 88, 75, 62, 50, 38, 25, 12, 0};
    for (int k = 1; k <= 3; ++k) {
        text += "Lambda " + QByteArray::number(k) + "\nDrosselklappe [%]\n";
        for (int j = 9; j >= 1; --j) {
            text += QByteArray::number(rowLabels[9 - j]);
            for (int i = 1; i <= 17; ++i)
                text += "," + QByteArray::number((i + 20 * j + 200 * k) / 1000.0, 'f', 3);
            text += "\n";
        }
        text += "Umin -> ,0\n\n";
    }
    text += "Dateiende\n";
    const KllDocument doc = decodeKll(text);
    EXPECT_EQ(doc.date, "24.12.2025");
    EXPECT_EQ(doc.time, "18:00:00");
    EXPECT_EQ(doc.hardware, "2.1");
    EXPECT_EQ(doc.software, "4.7");
    EXPECT_EQ(doc.comment, QStringLiteral("Prüfstand"));
    for (int i = 1; i <= 17; ++i)
        for (int j = 1; j <= 9; ++j)
            for (int k = 1; k <= 3; ++k)
                ASSERT_EQ(doc.table.at(i, j, k), i + 20 * j + 200 * k) << i << j << k;
}

TEST(KllFile, DamagedFilesReadAsZerosWithoutFault)
{
    for (const QByteArray& bad : {QByteArray(), QByteArray("KVT-Lambdalog\n"),
                                  QByteArray(2000, '\n'), QByteArray("\n\n\n\n\n\n\n\x41")}) {
        const KllDocument doc = decodeKll(bad);
        EXPECT_TRUE(doc.table.isEmpty());
    }
    QByteArray huge = encodeKll({}, "a.kll");
    huge.replace("\n100,0.00,", "\n100,1e308,");
    huge.replace("\n88,0.00,", "\n88,nan,");
    EXPECT_TRUE(decodeKll(huge).table.isEmpty());
}

TEST(KllFile, CellTextsReadAsTheTextConversionReadsThem)
{
    // Plain numbers are read from the bytes, everything else as text; both must agree.
    const struct {
        QByteArray text;
        int mv;
    } cases[] = {{"0.85", 850},      {"-1.25", -1250},  {"7", 7000},        {"65.535", 65535},
                 {"65.536", 0},      {"-65.535", -65535}, {" 1.5\t", 1500}, {"+1.2", 1200},
                 {"1e-3", 1},        {"12.", 12000},    {".5", 500},        {"-", 0},
                 {"1.2\xc2\xa0", 1200}, {"0.0006", 1},   {"-0.00", 0},       {"1.2.3", 0},
                 {QByteArray(30, '9'), 0}, {"0." + QByteArray(40, '1'), 111}, {"", 0}};
    for (const auto& c : cases) {
        QByteArray bytes = encodeKll({}, "a.kll");
        bytes.replace("\n100,0.00,", "\n100," + c.text + ",");
        EXPECT_EQ(decodeKll(bytes).table.at(1, 9, 1), c.mv) << c.text.constData();
    }
}

TEST(KllRules, CommentExtensionAndPath)
{
    EXPECT_EQ(cleanComment("a,b\nc"), "abc");
    EXPECT_EQ(cleanComment("a,b\r\nc"), "abc");
    EXPECT_EQ(cleanComment(""), "...");
    EXPECT_EQ(cleanComment(",\n"), "...");
    EXPECT_EQ(cleanComment(QString(120, 'x')).size(), 100);
    EXPECT_EQ(withKllExtension("/t/lambda.txt"), "/t/lambda.txt.kll");
    EXPECT_EQ(withKllExtension("/t/lambda.kll"), "/t/lambda.kll");
    const QString longPath = QString("/a").repeated(30);
    EXPECT_EQ(shortenedPath(longPath), longPath.left(22) + " ... " + longPath.right(22));
    EXPECT_EQ(shortenedPath(longPath.left(50)), longPath.left(50));
}

}  // namespace
