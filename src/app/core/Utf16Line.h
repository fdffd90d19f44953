// Text lines as 16-bit little-endian units, as the setup file's description line and the
// settings file's text fields store them.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace app {

// Every UTF-16 unit of text, low byte first.
QByteArray encodeUtf16le(const QString& text);

struct Utf16Line {
    QString text;             // without the line end
    qsizetype next = 0;       // first byte after the line end
    bool terminated = false;  // false: the data ended (or left one odd byte) before a line end
};

// Reads units from pos up to an LF unit. With crEndsLine a CR unit ends the line as well, and
// an LF unit right after it belongs to the same line end.
Utf16Line readUtf16Line(QByteArrayView bytes, qsizetype pos, bool crEndsLine);

}  // namespace app
