// Decoding of ".bin" and ".hex" firmware files: block counts, padding, record checks, the
// 1025-block bound, and HEX files made by objcopy from a binary.
#include "HexRecords.h"
#include "firmware/FirmwareImage.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace firmware;
using firmwaretest::dataRecord;
using firmwaretest::endRecord;

namespace {

QByteArray pattern(int n, int seed = 1)
{
    QByteArray out(n, '\0');
    for (int i = 0; i < n; ++i)
        out[i] = char((i * 7 + seed * 13 + i / 128) & 0xFF);
    return out;
}

QByteArray hexLines(std::initializer_list<const char*> lines, const char* end = "\r\n")
{
    QByteArray out;
    for (const char* l : lines)
        out += QByteArray(l) + end;
    return out;
}

}  // namespace

TEST(BinaryDecode, BlockCountPaddingAndTheExtraBlock)
{
    struct Case {
        int length;
        int blocks;
    };
    for (const Case c :
         {Case{0, 1}, {1, 1}, {127, 1}, {128, 2}, {129, 2}, {256, 3}, {300, 3}, {131199, 1025}}) {
        SCOPED_TRACE(c.length);
        const QByteArray file = pattern(c.length);
        FirmwareImage image;
        int lastShown = -1;
        EXPECT_EQ(decodeBinary(file, image, [&](int b) { lastShown = b; }), DecodeStatus::Ok);
        EXPECT_EQ(image.blockCount(), c.blocks);
        EXPECT_EQ(lastShown, c.blocks);  // "decodiere... " counts up to the block count
        QByteArray expected = file;
        expected.resize(c.blocks * 128, '\0');
        EXPECT_EQ(image.bytes(), expected);
    }
}

TEST(BinaryDecode, FilesBeyond1025BlocksAreRefused)
{
    FirmwareImage image;
    EXPECT_EQ(decodeBinary(pattern(131200), image), DecodeStatus::TooLarge);
    EXPECT_EQ(image.blockCount(), 0);
    EXPECT_FALSE(image.ready());
}

TEST(HexDecode, RecordRules)
{
    struct Case {
        const char* name;
        QByteArray file;
        DecodeStatus status;
        QByteArray start;  // expected first image bytes
        int blocks;
    };
    QByteArray sixteen = pattern(16);
    const QByteArray twoRecords =
        dataRecord(0x0000, sixteen) + dataRecord(0x8000, sixteen) + endRecord;
    const Case cases[] = {
        {"one record", hexLines({":0400000001020304F2"}), DecodeStatus::Ok,
         QByteArray::fromHex("01020304"), 1},
        {"lower-case digits", hexLines({":04000000aabbccddee"}), DecodeStatus::Ok,
         QByteArray::fromHex("aabbccdd"), 1},
        {"bad checksum", hexLines({":0400000001020304F3"}), DecodeStatus::Checksum, {}, 1},
        {"address ignored", twoRecords, DecodeStatus::Ok, sixteen + sixteen, 1},
        {"type 04",
         hexLines({":020000040000FA", ":0400000001020304F2"}),
         DecodeStatus::RecordType,
         {},
         0},
        {"no colon", hexLines({"0400000001020304F2"}), DecodeStatus::RecordStart, {}, 0},
        {"LF line ends", hexLines({":0400000001020304F2", ":00000001FF"}, "\n"),
         DecodeStatus::RecordStart, QByteArray::fromHex("01020304"), 1},
        {"line end after the end record", hexLines({":0400000001020304F2", ":00000001FF"}) + "\r\n",
         DecodeStatus::RecordStart, QByteArray::fromHex("01020304"), 1},
        {"no end record", hexLines({":0400000001020304F2"}), DecodeStatus::Ok,
         QByteArray::fromHex("01020304"), 1},
        {"last line without line end", QByteArray(":0400000001020304F2"), DecodeStatus::Ok,
         QByteArray::fromHex("01020304"), 1},
        {"empty", QByteArray(), DecodeStatus::NoData, {}, 0},
        {"only the end record", endRecord, DecodeStatus::NoData, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FirmwareImage image;
        EXPECT_EQ(decodeHex(c.file, image), c.status);
        EXPECT_EQ(image.blockCount(), c.blocks);
        EXPECT_EQ(image.bytes().left(c.start.size()), c.start);
    }
}

TEST(HexDecode, Of129BytesGivesTwoBlocks)
{
    QByteArray file;
    for (int i = 0; i < 129; i += 16)
        file += dataRecord(i, pattern(qMin(16, 129 - i)));
    FirmwareImage image;
    ASSERT_EQ(decodeHex(file + endRecord, image), DecodeStatus::Ok);
    EXPECT_EQ(image.blockCount(), 2);
    EXPECT_EQ(image.block(1), QByteArray(1, char(pattern(1).at(0))) + QByteArray(127, '\0'));
}

TEST(HexDecode, NeverFillsBeyond1025Blocks)
{
    QByteArray file;
    const QByteArray data = pattern(255);
    for (int i = 0; i * 255 < maxImageBytes; ++i)  // one data byte more than the image holds
        file += dataRecord(0, data);
    FirmwareImage image;
    EXPECT_EQ(decodeHex(file + endRecord, image), DecodeStatus::TooLarge);
    EXPECT_LE(image.bytes().size(), maxImageBytes);

    // Exactly 1025 blocks are still fine.
    QByteArray full;
    for (int i = 0; i < maxImageBytes / 128; ++i)
        full += dataRecord(0, pattern(128, i));
    EXPECT_EQ(decodeHex(full, image), DecodeStatus::Ok);
    EXPECT_EQ(image.blockCount(), maxBlocks);
}

TEST(Decode, AShortFileLeavesNothingOfTheFileBefore)
{
    FirmwareImage image;
    ASSERT_EQ(decodeBinary(pattern(1000, 3), image), DecodeStatus::Ok);
    ASSERT_EQ(decodeHex(hexLines({":0400000001020304F2"}), image), DecodeStatus::Ok);
    EXPECT_EQ(image.bytes(), QByteArray::fromHex("01020304") + QByteArray(124, '\0'));
    // A refused file leaves no image ready to be sent.
    EXPECT_EQ(decodeHex(endRecord, image), DecodeStatus::NoData);
    EXPECT_FALSE(image.ready());
}

TEST(Decode, KindByExactExtensionAndStatusTexts)
{
    EXPECT_EQ(kindOfFile("a/kvt.v4.bin"), FileKind::Binary);
    EXPECT_EQ(kindOfFile("kvt.hex"), FileKind::Hex);
    for (const char* other : {"KVT.BIN", "kvt.Hex", "kvt.bin.txt", "kvt", "kvt.", "hex"})
        EXPECT_EQ(kindOfFile(other), FileKind::Other) << other;
    FirmwareImage image;
    image.put(0, 9);
    EXPECT_EQ(decodeFirmware("xyz", FileKind::Other, image), DecodeStatus::Ok);
    EXPECT_EQ(statusText(DecodeStatus::RecordType),
              QStringLiteral("Satznummer nicht verarbeitbar"));
    EXPECT_EQ(statusText(DecodeStatus::RecordStart), QStringLiteral("Satzstart (:) nicht erkannt"));
}

#ifdef MOTRIX_OBJCOPY
// HEX files written by binutils decode to the bytes of the binary they came from.
TEST(HexDecode, ObjcopyOutputMatchesItsBinary)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (int length : {1, 128, 1000, 40000}) {
        SCOPED_TRACE(length);
        QByteArray binary(length, '\0');
        QRandomGenerator random{quint32(length)};
        for (char& c : binary)
            c = char(random.bounded(256));
        const QString bin = dir.filePath(QStringLiteral("fw.bin"));
        const QString hex = dir.filePath(QStringLiteral("fw.hex"));
        QFile f(bin);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(binary);
        f.close();
        QProcess objcopy;
        objcopy.start(QStringLiteral(MOTRIX_OBJCOPY),
                      {QStringLiteral("-I"), QStringLiteral("binary"), QStringLiteral("-O"),
                       QStringLiteral("ihex"), bin, hex});
        ASSERT_TRUE(objcopy.waitForFinished(30000));
        ASSERT_EQ(objcopy.exitCode(), 0);
        QFile h(hex);
        ASSERT_TRUE(h.open(QIODevice::ReadOnly));
        FirmwareImage image;
        ASSERT_EQ(decodeHex(h.readAll(), image), DecodeStatus::Ok);
        EXPECT_EQ(image.blockCount(), (length - 1) / 128 + 1);
        EXPECT_EQ(image.bytes().left(length), binary);
    }
}
#endif
