// Drawing of the power and speed charts.
#include "power/ChartPainter.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>

namespace power {
namespace {

QPen pen(const QColor& color, Qt::PenStyle style = Qt::SolidLine, double width = 0)
{
    QPen p(color, width > 0 ? width : 1, style);
    p.setCosmetic(width <= 0);
    return p;
}

QPen dashed(const QColor& color, double width = 0)
{
    QPen p = pen(color, Qt::CustomDashLine, width);
    p.setDashPattern({6, 4});
    return p;
}

const QColor gridColor(150, 150, 150);

void drawText(QPainter& painter, double x, double y, const QString& text, Qt::Alignment align)
{
    const QRectF box(x - 200, y - 20, 400, 40);
    QRectF at = box;
    if (align & Qt::AlignRight)
        at = QRectF(x - 400, y - 20, 400, 40);
    else if (align & Qt::AlignLeft)
        at = QRectF(x, y - 20, 400, 40);
    painter.drawText(at, int(align | Qt::AlignVCenter), text);
}

}  // namespace

QColor slotColor(int slot)
{
    switch (slot) {
    case 2: return QColor(0, 159, 0);
    case 3: return QColor(255, 0, 255);
    default: return QColor(0, 0, 255);
    }
}

QColor chartBackground()
{
    return QColor(128, 128, 128);
}

ChartResult drawPowerChart(QPainter& painter, const QRectF& plot, const ChartInput& in)
{
    static const PowerCurves noCurves{};
    static const PowerSamples noSamples{};
    const PowerCurves& curves = in.curves ? *in.curves : noCurves;
    const PowerSamples& samples = in.samples ? *in.samples : noSamples;

    ChartResult result;
    const ChartScale s = chartScale(curves, samples, in.minSpeed, in.rawValues);
    result.scale = s;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);

    // Axes, ticks, labels and grid lines.
    painter.setPen(pen(Qt::black));
    const double zero = yOf(plot, s, 0);
    painter.drawLine(QPointF(plot.left(), plot.top() - 20), QPointF(plot.left(), plot.bottom()));
    painter.drawLine(QPointF(plot.left(), zero), QPointF(plot.right(), zero));
    drawText(painter, plot.left(), plot.top() - 30, QStringLiteral("P[kW M[Nm]]"),
             Qt::AlignHCenter);
    for (const Tick& t : verticalTicks(plot, s)) {
        painter.setPen(pen(Qt::black));
        painter.drawLine(QPointF(plot.left() - 5, t.position),
                         QPointF(plot.left() + 5, t.position));
        drawText(painter, plot.left() - 7, t.position, t.label, Qt::AlignRight);
        drawText(painter, plot.left() + 7, t.position, t.torqueLabel, Qt::AlignLeft);
        painter.setPen(pen(gridColor, Qt::DotLine));
        painter.drawLine(QPointF(plot.left() + 50, t.position), QPointF(plot.right(), t.position));
    }
    // Speed labels stand 30 units apart: a smaller font keeps five digits from touching.
    QFont labelFont = painter.font();
    const QFont axisFont = labelFont;
    if (labelFont.pixelSize() > 0)
        labelFont.setPixelSize(std::max(6, labelFont.pixelSize() * 4 / 5));
    const QVector<Tick> across = horizontalTicks(plot, s);
    for (int i = 0; i < across.size(); ++i) {
        const Tick& t = across[i];
        painter.setPen(pen(Qt::black));
        painter.drawLine(QPointF(t.position, zero - 5), QPointF(t.position, zero + 5));
        painter.setFont(labelFont);
        drawText(painter, t.position, zero + 15, t.label, Qt::AlignHCenter);
        painter.setFont(axisFont);
        if (i >= 1) {
            painter.setPen(pen(gridColor, Qt::DotLine));
            painter.drawLine(QPointF(t.position, plot.top()), QPointF(t.position, plot.bottom()));
        }
    }
    painter.setPen(pen(Qt::black));
    drawText(painter, plot.right() + 5, zero + 32, QStringLiteral("n [Umin]"), Qt::AlignRight);

    // Raw samples of the current measurement first, in black.
    if (in.shown[0] && in.rawValues) {
        QPolygonF p, m;
        for (const PowerSample& x : samples) {
            if (x.speed <= 0)
                continue;
            p << QPointF(xOf(plot, s, x.speed), yOf(plot, s, x.power));
            m << QPointF(xOf(plot, s, x.speed), yOf(plot, s, x.torque * s.k));
        }
        painter.setPen(pen(Qt::black, Qt::SolidLine, in.lineWidth));
        painter.drawPolyline(p);
        painter.setPen(dashed(Qt::black, in.lineWidth));
        painter.drawPolyline(m);
    }
    for (int slot = 0; slot < slotCount; ++slot) {
        if (!in.shown[slot])
            continue;
        if (in.showPower) {
            painter.setPen(pen(slotColor(slot + 1), Qt::SolidLine, in.lineWidth));
            painter.drawPolyline(QPolygonF(powerLine(plot, s, curves[slot], in.minSpeed)));
        }
        if (in.showTorque) {
            painter.setPen(dashed(slotColor(slot + 1), in.lineWidth));
            painter.drawPolyline(QPolygonF(torqueLine(plot, s, curves[slot], in.minSpeed)));
        }
    }

    // The cursor and the read-outs.
    result.cursor = clampCursor(in.cursor, s);
    painter.setPen(pen(QColor(255, 0, 0)));
    const double cx = xOf(plot, s, result.cursor);
    painter.drawLine(QPointF(cx, plot.top()), QPointF(cx, plot.bottom()));
    for (int slot = 0; slot < slotCount; ++slot)
        result.readouts[slot] = readoutAt(curves[slot], result.cursor, in.minSpeed);
    painter.restore();
    return result;
}

void drawSpeedChart(QPainter& painter, const QRectF& plot, const PowerSamples& samples,
                    int limiterSpeed)
{
    const int top = std::max(speedChartTop(limiterSpeed, samples), 1);
    auto x = [&](double ms) { return plot.left() + ms * plot.width() / maxRecordingMs; };
    auto y = [&](double rpm) { return plot.bottom() - rpm * plot.height() / top; };
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(pen(Qt::black));
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    drawText(painter, plot.left(), plot.top() - 25, QStringLiteral("n [Umin]"), Qt::AlignHCenter);
    drawText(painter, plot.right(), plot.bottom() + 28, QStringLiteral("t [s]"), Qt::AlignRight);
    for (double h = 0; h <= plot.height() + 0.01; h += 30) {
        painter.drawLine(QPointF(plot.left() - 5, plot.bottom() - h),
                         QPointF(plot.left() + 5, plot.bottom() - h));
        drawText(painter, plot.left() - 7, plot.bottom() - h,
                 QString::number(int(h * top / plot.height())), Qt::AlignRight);
    }
    for (double w = 0; w <= plot.width() + 0.01; w += 50) {
        painter.drawLine(QPointF(plot.left() + w, plot.bottom() - 5),
                         QPointF(plot.left() + w, plot.bottom() + 5));
        drawText(painter, plot.left() + w, plot.bottom() + 14,
                 QString::number(int(w * maxRecordingMs / plot.width() / 1000)), Qt::AlignHCenter);
    }
    QPolygonF line;
    for (int i = 0; i < sampleCount; ++i) {
        const PowerSample& s = samples[i];
        if (i == 0 || s.time > 0)
            line << QPointF(x(s.time), y(s.speed));
    }
    painter.setPen(pen(QColor(0, 0, 255)));
    painter.drawPolyline(line);
    painter.restore();
}

}  // namespace power
