// Byte layout of setup files.
#include "setup/SetupFileCodec.h"

#include "app/core/Utf16Line.h"

#include "setup/SetupBlock.h"

namespace setup {
namespace {

const QByteArray crlf("\r\n");

// One byte per character; characters beyond Latin-1 become "?" so widths stay fixed.
QByteArray fixedLatin1(const QString& text, int width, char pad)
{
    QByteArray out = text.left(width).toLatin1();
    for (qsizetype i = 0; i < out.size(); ++i)
        if (out[i] == '\r' || out[i] == '\n')
            out[i] = ' ';
    return out.leftJustified(width, pad, true);
}

QString fittedDescription(const QString& description)
{
    QString text = description.left(descriptionLength);
    // Never cut a character in half: a lone leading surrogate at the cut becomes a space.
    if (!text.isEmpty() && text.back().isHighSurrogate())
        text.back() = QLatin1Char(' ');
    for (QChar& c : text)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            c = QLatin1Char(' ');
    return text.leftJustified(descriptionLength, QLatin1Char(' '), true);
}

class LineReader {
public:
    explicit LineReader(QByteArrayView bytes) : m_bytes(bytes) {}

    QByteArray line()
    {
        const qsizetype start = m_pos;
        while (m_pos < m_bytes.size() && m_bytes[m_pos] != '\r' && m_bytes[m_pos] != '\n')
            ++m_pos;
        QByteArray text = m_bytes.sliced(start, m_pos - start).toByteArray();
        if (m_pos < m_bytes.size() && m_bytes[m_pos++] == '\r' && m_pos < m_bytes.size() &&
            m_bytes[m_pos] == '\n')
            ++m_pos;
        return text;
    }

    // A line of 16-bit little-endian units, ended by the units CR LF, LF or CR.
    QString utf16Line()
    {
        const app::Utf16Line read = app::readUtf16Line(m_bytes, m_pos, true);
        m_pos = read.next;
        return read.text;
    }

    QByteArrayView rest() const { return m_bytes.sliced(m_pos); }

private:
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
};

QString trimSpaces(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

}  // namespace

SetupOrigin makeSetupOrigin(const QString& deviceType, const QString& hardware,
                            const QString& software, const QString& bootLoader, int restarts)
{
    return {deviceType, hardware, software, bootLoader, QString::number(restarts)};
}

QByteArray encodeSetupFile(const SetupRecord& record, const QString& description,
                           const SetupOrigin& origin, const QDateTime& savedAt)
{
    QByteArray out;
    out.reserve(setupFileSize);
    // Always 26 characters, even for a clock that reports nonsense.
    const QString stamp =
        QStringLiteral("KVT-Setup ") + savedAt.toString(QStringLiteral("yyyy.MM.dd hh:mm"));
    out += fixedLatin1(stamp, 26, ' ') + crlf;
    out += app::encodeUtf16le(fittedDescription(description) + QStringLiteral("\r\n"));
    out += "HW:" + crlf;
    out += fixedLatin1(origin.hardware, 3, ' ') + crlf;
    out += "SW:" + crlf;
    out += fixedLatin1(origin.software, 3, ' ') + crlf;
    out += "BL:" + crlf;
    out += fixedLatin1(origin.bootLoader, 3, ' ') + crlf;
    out += fixedLatin1(origin.deviceType, 12, '.') + crlf;
    const QString restarts = origin.restarts.isEmpty() ? QStringLiteral("0") : origin.restarts;
    out += fixedLatin1(restarts, 8, ' ') + crlf;
    out += encodeSetupFileForm(record);
    return out;
}

SetupFileContent decodeSetupFile(QByteArrayView bytes, const SetupRecord& base)
{
    SetupFileContent content;
    LineReader reader(bytes);
    const QByteArray first = reader.line();
    content.headerLine = QString::fromLatin1(first);
    content.description = trimSpaces(reader.utf16Line());
    reader.line();  // "HW:"
    content.origin.hardware = QString::fromLatin1(reader.line());
    reader.line();  // "SW:"
    content.origin.software = QString::fromLatin1(reader.line());
    reader.line();  // "BL:"
    content.origin.bootLoader = QString::fromLatin1(reader.line());
    content.origin.deviceType = QString::fromLatin1(reader.line());
    content.origin.restarts = trimSpaces(QString::fromLatin1(reader.line()));
    const QByteArrayView binary = reader.rest();
    content.binaryBytes = static_cast<int>(std::min<qsizetype>(binary.size(), setupFileFormSize));
    content.record = base;
    decodeSetupFileForm(binary, content.record);
    content.wellFormed = first.startsWith("KVT-Setup") && content.binaryBytes == setupFileFormSize;
    return content;
}

}  // namespace setup
