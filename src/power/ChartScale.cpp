// The power chart's arithmetic.
#include "power/ChartScale.h"

#include <algorithm>
#include <cmath>

namespace power {
namespace {

QString oneDecimal(double v)
{
    return QString::number(v, 'f', 1);
}

int roundedSpeed(float speed)
{
    return int(std::lround(std::clamp(speed, 0.0f, 1.0e6f)));
}

template <typename Value>
QVector<QPointF> line(const QRectF& plot, const ChartScale& s, const PowerCurve& curve,
                      int minSpeed, Value value)
{
    QVector<QPointF> out;
    const int first = std::max(minSpeed / gridStep, 1);
    const int last = std::min(s.xMax / gridStep, gridPoints);
    for (int k = first; k <= last; ++k) {
        const GridPoint& g = curve[k - 1];
        if (g.speed != 0)
            out << QPointF(xOf(plot, s, g.speed), yOf(plot, s, value(g)));
    }
    return out;
}

}  // namespace

QRectF windowPlotArea(double w, double h)
{
    return {50, 40, w - 50 - 55, h - 40 - 50};
}

QRectF pagePlotArea(double w, double h)
{
    return {80, 230, w - 80 - 55, h - 230 - 115};
}

QRectF speedPlotArea(double w, double h)
{
    return {50, 50, w - 50 - 40, h - 50 - 40};
}

ChartScale chartScale(const PowerCurves& curves, const PowerSamples& samples, int minSpeed,
                      bool rawValues)
{
    ChartScale s;
    float xMax = float(s.xMax);
    auto take = [&](float speed, float torque, float power) {
        if (!(speed > float(minSpeed)) || !std::isfinite(torque) || !std::isfinite(power))
            return;
        xMax = std::max(xMax, speed);
        s.highestPower = std::max(s.highestPower, power);
        s.highestTorque = std::max(s.highestTorque, torque);
        s.lowestPower = std::min(s.lowestPower, power);
        s.lowestTorque = std::min(s.lowestTorque, torque);
    };
    for (const PowerCurve& c : curves)
        for (const GridPoint& g : c)
            take(g.speed, g.torque, g.power);
    for (const PowerSample& x : samples)
        take(x.speed, x.torque, x.power);
    s.xMax = roundedSpeed(xMax);
    if (!rawValues) {
        s.lowestPower = 0;
        s.lowestTorque = 0;
    }
    s.k = s.highestPower / s.highestTorque;
    if (rawValues && s.lowestPower > s.lowestTorque * s.k)
        s.k = s.lowestPower / s.lowestTorque;
    return s;
}

double xOf(const QRectF& plot, const ChartScale& s, double speed)
{
    return plot.left() + speed * plot.width() / s.xMax;
}

double yOf(const QRectF& plot, const ChartScale& s, double value)
{
    return plot.top() +
           plot.height() / double(s.highestPower - s.lowestPower) * (s.highestPower - value);
}

QVector<Tick> verticalTicks(const QRectF& plot, const ChartScale& s)
{
    QVector<Tick> out;
    const double zero = yOf(plot, s, 0);
    auto part = [&](double height, double extreme, int direction) {
        const double n = height / 35.0;
        if (n <= 0)
            return;
        const int steps = int(std::lround(n));
        for (int i = (direction > 0 ? 0 : 1); i <= steps; ++i) {
            const double value = extreme * i / n;
            out << Tick{zero - direction * height * i / n, oneDecimal(value),
                        oneDecimal(value / s.k)};
        }
    };
    part(zero - plot.top(), s.highestPower, 1);
    if (s.lowestPower < 0)
        part(plot.bottom() - zero, s.lowestPower, -1);
    return out;
}

QVector<Tick> horizontalTicks(const QRectF& plot, const ChartScale& s)
{
    QVector<Tick> out;
    const double per = plot.width() / 30.0;
    if (per <= 0)
        return out;
    for (int i = 0; i <= int(per); ++i)
        out << Tick{plot.left() + 30.0 * i, QString::number(int(s.xMax / per * i)), {}};
    return out;
}

QVector<QPointF> powerLine(const QRectF& plot, const ChartScale& s, const PowerCurve& curve,
                           int minSpeed)
{
    return line(plot, s, curve, minSpeed, [](const GridPoint& g) { return g.power; });
}

QVector<QPointF> torqueLine(const QRectF& plot, const ChartScale& s, const PowerCurve& curve,
                            int minSpeed)
{
    return line(plot, s, curve, minSpeed, [&](const GridPoint& g) { return g.torque * s.k; });
}

Readout readoutAt(const PowerCurve& curve, int cursor, int minSpeed)
{
    if (cursor <= minSpeed)
        return {};
    const int k = cursor / gridStep;
    auto point = [&](int n) { return n >= 1 && n <= gridPoints ? curve[n - 1] : GridPoint{}; };
    const GridPoint a = point(k);
    const GridPoint b = point(k + 1);
    const float f = float(cursor - k * gridStep) / float(gridStep);
    return {a.power + (b.power - a.power) * f, a.torque + (b.torque - a.torque) * f};
}

int clampCursor(int cursor, const ChartScale& s)
{
    return std::clamp(cursor, 0, s.xMax);
}

int wheelStep(bool shift, bool control)
{
    return 1 + (shift ? 9 : 0) + (control ? 99 : 0);
}

int cursorFromClick(double mouseX, double plotWidth, int xMax)
{
    if (plotWidth <= 0)
        return 0;
    return int((mouseX - 50) * xMax / plotWidth);
}

int speedChartTop(int limiterSpeed, const PowerSamples& samples)
{
    float highest = 0;
    for (const PowerSample& x : samples)
        if (std::isfinite(x.speed))
            highest = std::max(highest, x.speed);
    return std::max(limiterSpeed, roundedSpeed(highest));
}

}  // namespace power
