// Decoding of ".bin" and ".hex" firmware files into the 128-byte blocks of the image.
#include "firmware/FirmwareImage.h"

namespace firmware {

QByteArray FirmwareImage::block(int index) const
{
    QByteArray out = m_data.mid(qsizetype(index) * blockSize, blockSize);
    out.resize(blockSize, '\0');
    return out;
}

QByteArray FirmwareImage::bytes() const
{
    QByteArray out = m_data.left(qsizetype(m_blockCount) * blockSize);
    out.resize(qsizetype(m_blockCount) * blockSize, '\0');
    return out;
}

quint8 FirmwareImage::at(int position) const
{
    return position >= 0 && position < m_data.size() ? quint8(m_data.at(position)) : 0;
}

void FirmwareImage::clear()
{
    m_data.clear();
    m_blockCount = 0;
}

bool FirmwareImage::put(int position, quint8 value)
{
    if (position < 0 || position >= maxImageBytes)
        return false;
    if (position >= m_data.size())
        m_data.resize((position / blockSize + 1) * blockSize, '\0');
    m_data[position] = char(value);
    return true;
}

QString statusText(DecodeStatus status)
{
    switch (status) {
    case DecodeStatus::Ok: return {};
    case DecodeStatus::EndNotFound: return QStringLiteral("EOF nicht erkannt");
    case DecodeStatus::RecordType: return QStringLiteral("Satznummer nicht verarbeitbar");
    case DecodeStatus::Checksum: return QStringLiteral("Checksumme falsch");
    case DecodeStatus::RecordStart: return QStringLiteral("Satzstart (:) nicht erkannt");
    case DecodeStatus::TooLarge: return QStringLiteral("Datei größer als 1025 Blöcke");
    case DecodeStatus::NoData: return QStringLiteral("keine Daten in der Datei");
    }
    return {};
}

FileKind kindOfFile(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return FileKind::Other;
    const QString extension = fileName.mid(dot + 1);
    if (extension == QLatin1String("bin"))
        return FileKind::Binary;
    if (extension == QLatin1String("hex"))
        return FileKind::Hex;
    return FileKind::Other;
}

DecodeStatus decodeFirmware(const QByteArray& bytes, FileKind kind, FirmwareImage& image,
                            const DecodeProgress& progress)
{
    switch (kind) {
    case FileKind::Binary: return decodeBinary(bytes, image, progress);
    case FileKind::Hex: return decodeHex(bytes, image, progress);
    case FileKind::Other: break;
    }
    return DecodeStatus::Ok;
}

DecodeStatus decodeBinary(const QByteArray& bytes, FirmwareImage& image,
                          const DecodeProgress& progress)
{
    image.clear();
    // A length that is a multiple of 128 still gets one more block (of zeros): the boot
    // loader relies on the block count the classic rule gives.
    const qint64 count = bytes.size() / blockSize + 1;
    if (count > maxBlocks)
        return DecodeStatus::TooLarge;
    for (int i = 0; i < bytes.size(); ++i)
        image.put(i, quint8(bytes.at(i)));
    if (progress)
        for (int b = 0; b <= count; ++b)
            progress(b);
    image.setBlockCount(int(count));
    return DecodeStatus::Ok;
}

namespace {

// Reads the HEX text; bytes beyond the end read as 0, which counts as a non-hex digit.
class HexReader {
public:
    explicit HexReader(const QByteArray& bytes) : m_bytes(bytes) {}
    bool atEnd() const { return m_pos >= m_bytes.size(); }
    quint8 byte()
    {
        const quint8 b = m_pos < m_bytes.size() ? quint8(m_bytes.at(m_pos)) : 0;
        ++m_pos;
        return b;
    }
    void skip(int n) { m_pos += n; }
    // Two characters, high nibble first; a character that is not a hex digit counts as 0.
    int hexByte()
    {
        const int high = nibble(byte());
        return high * 16 + nibble(byte());
    }

private:
    static int nibble(quint8 c)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        return 0;
    }
    const QByteArray& m_bytes;
    qsizetype m_pos = 0;
};

}  // namespace

DecodeStatus decodeHex(const QByteArray& bytes, FirmwareImage& image,
                       const DecodeProgress& progress)
{
    image.clear();
    if (bytes.size() > maxHexFileBytes)
        return DecodeStatus::TooLarge;
    HexReader in(bytes);
    int p = 0;
    int blockCount = 0;
    DecodeStatus status = DecodeStatus::Ok;
    while (!in.atEnd() && status == DecodeStatus::Ok) {
        if (in.byte() != ':') {
            status = DecodeStatus::RecordStart;
            break;
        }
        const int n = in.hexByte();
        const int addressHigh = in.hexByte();
        const int addressLow = in.hexByte();
        const int type = in.hexByte();
        int sum = n + addressHigh + addressLow + type;
        if (type == 0) {
            for (int i = 0; i < n; ++i) {
                const int value = in.hexByte();
                sum += value;
                if (!image.put(p, quint8(value))) {
                    status = DecodeStatus::TooLarge;
                    break;
                }
                ++p;
            }
            if (status != DecodeStatus::Ok)
                break;
            if (p > 0)
                blockCount = (p - 1) / blockSize + 1;
        } else if (type != 1) {
            status = DecodeStatus::RecordType;
        }
        if (progress)
            progress(blockCount);
        if (status != DecodeStatus::Ok)
            break;
        const int checksum = in.hexByte();
        in.skip(2);  // carriage return and line feed
        if ((sum % 256 + checksum) % 256 != 0)
            status = DecodeStatus::Checksum;
    }
    image.setBlockCount(blockCount);
    // A HEX file without a single data byte would leave nothing to send.
    if (status == DecodeStatus::Ok && p == 0)
        status = DecodeStatus::NoData;
    return status;
}

}  // namespace firmware
