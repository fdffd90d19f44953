// Scans a HEX file line by line for what the firmware decoder passes over silently.
#include "firmware/HexNotes.h"

#include <QList>

namespace firmware {

namespace {

int hexValue(const QByteArray& line, int at)
{
    bool ok = false;
    const int v = line.mid(at, 2).toInt(&ok, 16);
    return ok ? v : -1;
}

QString hex4(int v)
{
    return QStringLiteral("%1").arg(v, 4, 16, QLatin1Char('0')).toUpper();
}

}  // namespace

QVector<HexNote> inspectHex(const QByteArray& bytes, int maxNotes)
{
    QVector<HexNote> notes;
    auto note = [&](HexNote::Kind kind, int line, const QString& text) {
        if (notes.size() < maxNotes)
            notes.push_back({kind, line, text});
    };
    qsizetype pos = 0;
    int lineNo = 0;
    int expected = -1;  // address where the next data record would continue
    bool ended = false;
    while (pos < bytes.size() && notes.size() < maxNotes) {
        ++lineNo;
        qsizetype end = bytes.indexOf('\n', pos);
        const bool lastLine = end < 0;
        if (lastLine)
            end = bytes.size();
        QByteArray line = bytes.mid(pos, end - pos);
        const bool crlf = line.endsWith('\r');
        if (crlf)
            line.chop(1);
        pos = end + 1;
        if (ended) {
            note(HexNote::Kind::AfterEnd, lineNo,
                 QStringLiteral("Zeile %1: Daten nach dem Endesatz, die Datei wird mit Fehler 4 "
                                "abgelehnt")
                     .arg(lineNo));
            break;
        }
        if (!line.startsWith(':') || line.size() < 11)
            break;
        if (!lastLine && !crlf)
            note(HexNote::Kind::LineFeedOnly, lineNo,
                 QStringLiteral("Zeile %1 endet nur mit LF (statt CR LF): Ursache von Fehler 4 "
                                "im nächsten Satz")
                     .arg(lineNo));
        const int count = hexValue(line, 1);
        const int address = hexValue(line, 3) * 256 + hexValue(line, 5);
        const int type = hexValue(line, 7);
        if (type == 0) {
            if (expected >= 0 && address != expected)
                note(HexNote::Kind::AddressGap, lineNo,
                     QStringLiteral("Zeile %1: Ladeadresse %2 folgt nicht auf %3; die Daten "
                                    "werden ohne Lücke gepackt")
                         .arg(lineNo)
                         .arg(hex4(address), hex4(expected & 0xFFFF)));
            expected = address + qMax(count, 0);
        } else if (type == 1) {
            ended = true;
            if (pos >= bytes.size() || (lastLine && !crlf))
                break;
        } else if (type == 2 || type == 4) {
            note(HexNote::Kind::ExtendedAddress, lineNo,
                 QStringLiteral("Zeile %1: erweiterte Adresse (Satztyp %2) wird nicht "
                                "verarbeitet (Fehler 2)")
                     .arg(lineNo)
                     .arg(type, 2, 10, QLatin1Char('0')));
            break;
        } else {
            note(HexNote::Kind::StartAddress, lineNo,
                 QStringLiteral("Zeile %1: Satztyp %2 wird nicht verarbeitet (Fehler 2)")
                     .arg(lineNo)
                     .arg(type, 2, 10, QLatin1Char('0')));
            break;
        }
    }
    return notes;
}

}  // namespace firmware
