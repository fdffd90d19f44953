#include "logger/LogFormat.h"

#include "app/core/TextCut.h"
#include "logger/LogTable.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace logger {

const char* const columnHeaderLine =
    "Zeitpunkt(ms),Drehzahl (Umin),Klappe (%),Motortemp. (C),Lufttemp. (C),Lambda1 (V),"
    "Lambda2 (V),Lambda3 (V),Ausgang1,Ausgang2,Eingang1,Eingang2,Eingang3,Einspritzung (KW),"
    "Einspritzung (ms),Zuendwinkel (KW),,,";

QString logFileName(const QDateTime& at, int n)
{
    const QString number = n > 1 ? QLatin1Char('_') + QString::number(n) : QString();
    return QStringLiteral("kvtlog_") + at.toString(QStringLiteral("yyyyMMdd_HHmmss")) + number +
           QStringLiteral(".klg");
}

QString shortenedPath(const QString& path)
{
    if (path.size() <= 80)
        return path;
    return path.left(38) + QStringLiteral(" ... ") + path.right(38);
}

QString cutComment(const QString& comment)
{
    return app::cutWhole(comment, commentLength);
}

namespace {

QByteArray oneLine(QString text)
{
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text.toUtf8();
}

char* writeWhole(double v, char* p)
{
    if (!std::isfinite(v))
        v = 0;
    const double r = std::nearbyint(v);  // halves to the even neighbour
    if (std::fabs(r) < 9.0e18)
        return std::to_chars(p, p + 32, qint64(r)).ptr;
    return std::to_chars(p, p + 48, r, std::chars_format::fixed, 0).ptr;  // up to 39 digits
}

char* writeTwoDecimals(double v, char* p)
{
    if (!std::isfinite(v) || std::fabs(v) >= 1.0e15)
        v = 0;
    char* end = std::to_chars(p, p + 32, v, std::chars_format::fixed, 2).ptr;
    // A tiny negative value must not come out as "-0.00".
    if (end - p == 5 && p[0] == '-' && p[1] == '0' && p[3] == '0' && p[4] == '0') {
        std::memmove(p, p + 1, 4);
        --end;
    }
    return end;
}

}  // namespace

QByteArray headerBytes(const LogHeader& h)
{
    QByteArray out;
    out += "KVT-Log-Datei," + oneLine(h.fileName) + '\n';
    out += "Datum," + h.created.toString(QStringLiteral("dd.MM.yyyy")).toUtf8() + '\n';
    out += "Uhrzeit," + h.created.toString(QStringLiteral("HH:mm:ss")).toUtf8() + '\n';
    out += '\n';
    out += "KVT HW," + oneLine(h.hw) + '\n';
    out += "KVT SW," + oneLine(h.sw) + '\n';
    out += '\n';
    out += "Kommentar," + oneLine(cutComment(h.comment)) + '\n';
    out += '\n';
    out += '\n';
    out += columnHeaderLine;
    out += '\n';
    return out;
}

int formatRecordLine(const std::array<double, 15>& values, char* out)
{
    char* p = out;
    for (int c = 0; c < 15; ++c) {
        p = (c >= 5 && c <= 7) ? writeTwoDecimals(values[c], p) : writeWhole(values[c], p);
        *p++ = ',';
    }
    *p++ = ',';
    *p++ = ',';
    *p++ = ',';
    *p++ = '\n';
    return int(p - out);
}

int formatRecordLine(const LogTable& table, qint64 row, char* out)
{
    std::array<double, 15> values;
    values[0] = table.time(row);
    for (int c = 1; c < 15; ++c)
        values[c] = table.channel(c)[row];
    return formatRecordLine(values, out);
}

}  // namespace logger
