// UTF-16LE text lines.
#include "app/core/Utf16Line.h"

namespace app {

QByteArray encodeUtf16le(const QString& text)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    for (QChar c : text) {
        out.append(static_cast<char>(c.unicode() & 0xFF));
        out.append(static_cast<char>(c.unicode() >> 8));
    }
    return out;
}

Utf16Line readUtf16Line(QByteArrayView bytes, qsizetype pos, bool crEndsLine)
{
    Utf16Line line;
    while (pos + 1 < bytes.size()) {
        const char16_t unit = static_cast<char16_t>(static_cast<quint8>(bytes[pos]) |
                                                    static_cast<quint8>(bytes[pos + 1]) << 8);
        pos += 2;
        if (unit == u'\n' || (crEndsLine && unit == u'\r')) {
            if (unit == u'\r' && pos + 1 < bytes.size() && bytes[pos] == '\n' &&
                bytes[pos + 1] == 0)
                pos += 2;
            line.next = pos;
            line.terminated = true;
            return line;
        }
        line.text.append(QChar(unit));
    }
    line.next = bytes.size();
    return line;
}

}  // namespace app
