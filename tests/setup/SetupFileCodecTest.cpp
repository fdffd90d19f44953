// Setup file bytes: header layout, description line, identity widths and tolerant decoding.
#include "setup/SetupBlock.h"
#include "setup/SetupFileCodec.h"

#include <gtest/gtest.h>

namespace {

using setup::SetupOrigin;
using setup::SetupRecord;

const QDateTime savedAt(QDate(2024, 5, 17), QTime(9, 3, 41));

SetupRecord sampleRecord()
{
    SetupRecord r;
    r.cylinderOffset12 = 10;  // a line feed byte right after the header
    r.triggerTeeth = 13;      // a carriage return byte inside the binary part
    r.startInjectionTime = 0x0A0D;
    r.injectorDeadTime = {100, 200, 300};
    r.ignitionOffSpeed = 77;
    r.ignitionMapEnabled = 0;
    for (int i = 0; i < 153; ++i)
        r.injectionMap[i] = static_cast<quint16>(60000 - i);
    return r;
}

QByteArray toLfLineEnds(const QByteArray& file)
{
    QByteArray header = file.left(286);
    header.replace(QByteArrayView("\r\0\n\0", 4), QByteArrayView("\n\0", 2));
    header.replace("\r\n", "\n");
    return header + file.mid(286);
}

TEST(SetupFileBytes, HeaderLinesLieAtTheirOffsets)
{
    const SetupOrigin origin{"KVT-3Z", "1a", "2.4", "B7", "1234"};
    const QByteArray file =
        setup::encodeSetupFile(sampleRecord(), QStringLiteral("Testmotor ä"), origin, savedAt);
    ASSERT_EQ(file.size(), 858);
    EXPECT_EQ(file.left(28), QByteArray("KVT-Setup 2024.05.17 09:03\r\n"));
    QString description = QStringLiteral("Testmotor ä").leftJustified(100) + QStringLiteral("\r\n");
    QByteArray line2;
    for (QChar c : description)
        line2 += QByteArray(1, char(c.unicode() & 0xFF)) + QByteArray(1, char(c.unicode() >> 8));
    EXPECT_EQ(file.mid(28, 204), line2);
    EXPECT_EQ(file.mid(232, 54),
              QByteArray("HW:\r\n1a \r\nSW:\r\n2.4\r\nBL:\r\nB7 \r\nKVT-3Z......\r\n1234    \r\n"));
    EXPECT_EQ(file.mid(286), setup::encodeSetupFileForm(sampleRecord()));
    EXPECT_EQ(quint8(file[286 + 564 - 6]), 77);  // entry 60 moves up by the dead times
}

TEST(SetupFileBytes, NoIdentifiedKvtGivesBlankIdentityLines)
{
    const QByteArray file = setup::encodeSetupFile(SetupRecord{}, {}, SetupOrigin{}, savedAt);
    ASSERT_EQ(file.size(), 858);
    EXPECT_EQ(file.mid(232, 54),
              QByteArray("HW:\r\n   \r\nSW:\r\n   \r\nBL:\r\n   \r\n............\r\n0       \r\n"));
}

TEST(SetupFileBytes, OverlongTextsAreCutToTheirWidths)
{
    // An invalid clock still gives the fixed layout.
    EXPECT_EQ(setup::encodeSetupFile(SetupRecord{}, {}, {}, QDateTime()).size(), 858);

    const QString longText = QString(120, QLatin1Char('x'));
    const SetupOrigin origin{"ABCDEFGHIJKLMNOP", "1234", "56789", "ab\ncd", "123456789"};
    const QByteArray file = setup::encodeSetupFile(SetupRecord{}, longText, origin, savedAt);
    ASSERT_EQ(file.size(), 858);
    const setup::SetupFileContent back = setup::decodeSetupFile(file);
    EXPECT_EQ(back.description, QString(100, QLatin1Char('x')));
    EXPECT_EQ(back.origin.deviceType, QStringLiteral("ABCDEFGHIJKL"));
    EXPECT_EQ(back.origin.hardware, QStringLiteral("123"));
    EXPECT_EQ(back.origin.bootLoader, QStringLiteral("ab "));
    EXPECT_EQ(back.origin.restarts, QStringLiteral("12345678"));

    // A character made of two UTF-16 units is never cut in half.
    const QString emoji = QString(99, QLatin1Char('y')) + QString::fromUtf8("😀");
    const QByteArray withEmoji = setup::encodeSetupFile(SetupRecord{}, emoji, {}, savedAt);
    ASSERT_EQ(withEmoji.size(), 858);
    EXPECT_EQ(setup::decodeSetupFile(withEmoji).description, QString(99, QLatin1Char('y')));
}

TEST(SetupFileBytes, DecodingRestoresEverythingButTheDeadTimes)
{
    const SetupOrigin origin{"KVT-3Z......", "1a ", "2.4", "B7 ", "65535"};
    const QByteArray file =
        setup::encodeSetupFile(sampleRecord(), QStringLiteral("  Motor 1  "), origin, savedAt);
    SetupRecord base;
    base.injectorDeadTime = {7, 8, 9};
    const setup::SetupFileContent content = setup::decodeSetupFile(file, base);
    SetupRecord expected = sampleRecord();
    expected.injectorDeadTime = {7, 8, 9};
    EXPECT_EQ(content.record, expected);
    EXPECT_EQ(content.description, QStringLiteral("Motor 1"));
    EXPECT_EQ(content.origin, origin);
    EXPECT_EQ(content.headerLine, QStringLiteral("KVT-Setup 2024.05.17 09:03"));
    EXPECT_TRUE(content.wellFormed);
}

TEST(SetupFileBytes, LfAndCrLineEndsDecodeAlike)
{
    const SetupOrigin origin{"T", "1", "2", "3", "4"};
    // LF files: the binary part may itself start with a line feed byte.
    const QByteArray file =
        setup::encodeSetupFile(sampleRecord(), QStringLiteral("LF"), origin, savedAt);
    const QByteArray lf = toLfLineEnds(file);
    ASSERT_EQ(lf.size(), 847);
    const setup::SetupFileContent fromCrLf = setup::decodeSetupFile(file);
    const setup::SetupFileContent fromLf = setup::decodeSetupFile(lf);
    EXPECT_EQ(fromLf.record, fromCrLf.record);
    EXPECT_EQ(fromLf.description, QStringLiteral("LF"));
    EXPECT_EQ(fromLf.origin, fromCrLf.origin);
    EXPECT_TRUE(fromLf.wellFormed);

    // CR alone ends a line as well (a CR line end followed by a binary line feed byte would be
    // taken as CR LF, so this record starts with another value).
    SetupRecord record = sampleRecord();
    record.cylinderOffset12 = 20;
    const QByteArray crlfFile =
        setup::encodeSetupFile(record, QStringLiteral("CR"), origin, savedAt);
    QByteArray cr = crlfFile.left(286);
    cr.replace(QByteArrayView("\r\0\n\0", 4), QByteArrayView("\r\0", 2));
    cr.replace("\r\n", "\r");
    cr += crlfFile.mid(286);
    ASSERT_EQ(cr.size(), 847);
    const setup::SetupFileContent fromCr = setup::decodeSetupFile(cr);
    EXPECT_EQ(fromCr.record, setup::decodeSetupFile(crlfFile).record);
    EXPECT_EQ(fromCr.description, QStringLiteral("CR"));
    EXPECT_EQ(fromCr.origin.restarts, QStringLiteral("4"));
}

TEST(SetupFileBytes, TruncatedAndForeignDataDecodeWithoutHarm)
{
    const QByteArray file = setup::encodeSetupFile(sampleRecord(), {}, {}, savedAt);
    const setup::SetupFileContent cut = setup::decodeSetupFile(file.left(600));
    EXPECT_FALSE(cut.wellFormed);
    EXPECT_EQ(cut.binaryBytes, 600 - 286);
    EXPECT_EQ(cut.record.cylinderOffset12, 10);
    EXPECT_EQ(cut.record.ignitionOffSpeed, 0);  // missing bytes read as 0

    for (const QByteArray& junk : {QByteArray(), QByteArray("\r"), QByteArray(5000, '\n'),
                                   QByteArray(3, '\0'), QByteArray("KVT-Setup\r\n\r")}) {
        const setup::SetupFileContent content = setup::decodeSetupFile(junk);
        EXPECT_FALSE(content.wellFormed);
    }
}

}  // namespace
