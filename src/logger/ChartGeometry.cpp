#include "logger/ChartGeometry.h"

#include "logger/LogTable.h"

#include <algorithm>
#include <cmath>

namespace logger {

const std::array<ChannelInfo, 14> channelInfo{{
    {"Drehzahl (Umin)", 30, 100},
    {"Drosselklappe (%)", 30, 100},
    {"Motortemp. (°C)", 30, 100},
    {"Ansauglufttemp. (°C)", 30, 100},
    {"Lambda1 (V)", 30, 100},
    {"Lambda2 (V)", 30, 100},
    {"Lambda3 (V)", 30, 100},
    {"Ausgang1", 15, 30},
    {"Ausgang2", 15, 30},
    {"Eingang1", 15, 30},
    {"Eingang2", 15, 30},
    {"Eingang3", 15, 30},
    {"Zündwinkel (°KW)", 30, 100},
    {"Einspritzung (µs)", 30, 100},
}};

namespace {
// Whole numbers round to the nearest, halves to the even neighbour.
qint64 roundEven(double v)
{
    if (!std::isfinite(v))
        return 0;
    return qint64(std::nearbyint(std::clamp(v, -9.0e18, 9.0e18)));
}
}  // namespace

ViewSpan visibleSpan(qint64 rows, int zoom, qint64 cursor)
{
    ViewSpan v;
    rows = std::max<qint64>(rows, 1);
    if (zoom <= 1) {
        v.first = 1;
        v.last = rows;
        v.span = rows - 1;
        return v;
    }
    v.span = roundEven(double(rows - 1) / zoom);
    v.first = cursor - v.span / 2;
    v.last = v.first + v.span;
    if (v.first < 1) {
        v.first = 1;
        v.last = 1 + v.span;
    } else if (v.last > rows) {
        v.last = rows;
        v.first = rows - v.span;
    }
    return v;
}

double chartStep(int width, qint64 span)
{
    return double(width - 1) / double(std::max<qint64>(span, 1));
}

QString zoomText(int zoom, bool asBuilt)
{
    return QString::number(100.0 / zoom, 'f', asBuilt ? 1 : 2) + QLatin1Char('%');
}

int zoomIn(int zoom)
{
    return std::min(zoom * 2, maximumZoom);
}

int zoomOut(int zoom)
{
    return std::max(zoom / 2, 1);
}

PositionBar positionBar(qint64 rows, int zoom, qint64 cursor)
{
    if (zoom <= 1)
        return {};
    const double page = double(rows) / (zoom - 1);
    return {roundEven(rows + page - 1), roundEven(page), cursor};
}

std::optional<qint64> wheelCursor(qint64 rows, qint64 cursor, bool forward, bool shift)
{
    const qint64 moved = cursor + (forward ? 1 : -1) * (shift ? 10 : 1);
    if (moved < 1 || moved > rows)
        return std::nullopt;
    return moved;
}

qint64 clickedRow(qint64 rows, int zoom, qint64 cursor, double x, int width)
{
    const double visible = double(rows - 1) / zoom;
    qint64 start = roundEven(cursor - visible / 2);
    if (start < 1)
        start = 1;
    else if (start > rows - roundEven(visible))
        start = rows - roundEven(visible);
    const qint64 row = roundEven(start + x * visible / std::max(width, 1));
    return std::clamp<qint64>(row, 1, std::max<qint64>(rows, 1));
}

double injectionScale(const LogTable& table, qint64 rows)
{
    const float* v = table.channel(14);
    float largest = 100.0f;
    for (qint64 i = 1; i <= rows; ++i)
        largest = v[i] > largest ? v[i] : largest;
    return 1.2 * largest;
}

int stripOffset(int channel, double value, int height, double injectionMax)
{
    double fraction = 0;
    if (channel == 1)
        fraction = value / 16000.0;
    else if (channel == 2)
        fraction = value / 100.0;
    else if (channel == 3 || channel == 4)
        fraction = (value + 20.0) / 255.0;
    else if (channel >= 5 && channel <= 7)
        fraction = value / 1.5;
    else if (channel >= 8 && channel <= 12)
        fraction = value;
    else if (channel == 13)
        fraction = (value + 50.0) / 90.0;
    else
        fraction = std::min(value / injectionMax, 1.0);
    // Values far outside the scale (a damaged file) stay in a range the painter can draw.
    const double px = std::clamp(fraction * height, -4.0 * height, 5.0 * height);
    return int(roundEven(px));
}

double availableInjectionUs(double rpm, double deadTimeUs, int quickStartSpeed)
{
    const double n = rpm > 0 ? rpm : quickStartSpeed * 20.0;
    if (n <= 0)
        return 0;
    return (60.0 / n * 1000.0 - deadTimeUs / 1000.0) * 1000.0;
}

QString valueText(int channel, double value, double rpm, double deadTimeUs)
{
    if (channel >= 5 && channel <= 7)
        return QString::number(value, 'f', 3);
    if (channel >= 8 && channel <= 12)
        return value == 0 ? QStringLiteral("Aus") : QStringLiteral("Ein");
    const QString whole = QString::number(roundEven(value));
    if (channel != 14)
        return whole;
    QString available;
    const double us = rpm > 0 ? 60.0 / rpm * 1000.0 * 1000.0 - deadTimeUs : INFINITY;
    if (us > 20000)
        available = QStringLiteral("max.");
    else if (us < 0)
        available = QStringLiteral("0");
    else
        available = QString::number(roundEven(us));
    return whole + QStringLiteral(" (") + available + QLatin1Char(')');
}

QString cursorTimeText(double ms)
{
    const qint64 whole = std::isfinite(ms) ? qint64(std::floor(std::max(ms, 0.0))) : 0;
    const qint64 seconds = whole / 1000;
    return QStringLiteral("(%1:%2:%3.%4)")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'))
        .arg(whole % 1000, 3, 10, QLatin1Char('0'));
}

}  // namespace logger
