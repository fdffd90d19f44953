// FirmwareImage and the decoding of firmware files (raw binary ".bin", Intel HEX ".hex") into
// it. The decoder is a pure function over the file's bytes, so it can be tested and fuzzed
// without files or windows; the update procedure does the file handling, boxes and log lines.
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <functional>

namespace firmware {

constexpr int blockSize = 128;
// The boot loader's memory holds at most this many blocks; nothing is decoded beyond them.
constexpr int maxBlocks = 1025;
constexpr int maxImageBytes = blockSize * maxBlocks;

// The decoded image: block count blocks of 128 bytes, block n − 1 carried by frame n.
class FirmwareImage {
public:
    int blockCount() const { return m_blockCount; }
    void setBlockCount(int count) { m_blockCount = count; }
    bool ready() const { return m_blockCount > 0; }
    // Block 0 … blockCount − 1 (zero-filled past what was decoded).
    QByteArray block(int index) const;
    // Every byte that would be sent: blockCount × 128.
    QByteArray bytes() const;
    quint8 at(int position) const;
    // Empties the image: block count 0, every byte 0.
    void clear();
    // Stores one byte; false (and nothing stored) beyond the 1025 blocks.
    bool put(int position, quint8 value);

private:
    QByteArray m_data;  // grows as bytes are put; always a whole number of blocks
    int m_blockCount = 0;
};

// The decode result. Codes 1 to 4 are the classic format errors; 5 and 6 refuse files that
// would overflow the image or hold no data, so that neither a truncated image nor the image of
// an earlier file is ever sent.
enum class DecodeStatus {
    Ok = 0,
    EndNotFound = 1,
    RecordType = 2,
    Checksum = 3,
    RecordStart = 4,
    TooLarge = 5,
    NoData = 6,
};

// The text of a status for the log ("" for Ok).
QString statusText(DecodeStatus status);

enum class FileKind { Other, Binary, Hex };

// The kind by the file name's extension: the text after the last point, compared exactly with
// "bin" and "hex" (upper case is another extension).
FileKind kindOfFile(const QString& fileName);

// Called with the number shown after "decodiere... ".
using DecodeProgress = std::function<void(int)>;

// Decodes bytes as kind into image, which is cleared first. For FileKind::Other nothing
// happens and the status is Ok.
DecodeStatus decodeFirmware(const QByteArray& bytes, FileKind kind, FirmwareImage& image,
                            const DecodeProgress& progress = {});
DecodeStatus decodeBinary(const QByteArray& bytes, FirmwareImage& image,
                          const DecodeProgress& progress = {});
DecodeStatus decodeHex(const QByteArray& bytes, FirmwareImage& image,
                       const DecodeProgress& progress = {});

// Longest HEX file read at all. A full image takes about 300 KB of HEX text; this bound leaves
// ample room for short records while a wrongly chosen file of gigabytes is refused unread.
constexpr qint64 maxHexFileBytes = 16 * 1024 * 1024;

}  // namespace firmware
