// Drawing of the crank-angle diagram.
#include "setup/ExpertDiagram.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace setup {

double circleAngle(double a, int sensorAngle)
{
    return 270.0 - sensorAngle + a;
}

QPointF pointAt(QPointF center, double radius, double circleDegrees)
{
    const double r = circleDegrees * std::numbers::pi / 180.0;
    return center + QPointF(radius * std::cos(r), radius * std::sin(r));
}

double timeAsAngle(double us, int rpm)
{
    return us / (60.0 / (rpm + 1) * 1000000) * 360;
}

bool toothPresent(int k, int teeth, int gaps)
{
    const int position = ((k % teeth) + teeth) % teeth;
    return position < teeth - gaps;
}

namespace {

// Arc from crank angle a over span degrees (any sign) at radius.
void arc(QPainter& p, QPointF c, double radius, int sensorAngle, double a, double span)
{
    if (radius <= 0 || span == 0)
        return;
    const QRectF box(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius);
    // QPainter counts counter-clockwise from three o'clock in 1/16 degree; the diagram counts
    // clockwise on the screen, hence the signs.
    const double start = -circleAngle(a, sensorAngle);
    p.drawArc(box, int(std::lround(start * 16)), int(std::lround(-span * 16)));
}

void radial(QPainter& p, QPointF c, double r0, double r1, int sensorAngle, double a)
{
    const double t = circleAngle(a, sensorAngle);
    p.drawLine(pointAt(c, r0, t), pointAt(c, r1, t));
}

}  // namespace

void drawCrankDiagram(QPainter& p, QSize size, const DiagramInput& in, const DiagramElements& show)
{
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(size.width() / 2.0, size.height() / 2.0);
    const double s = std::min(size.width(), size.height()) / 2.0 - 4;  // "size"
    const int sa = in.sensorAngle;

    // The revolution, its start at the sensor and top dead centre.
    p.setPen(QPen(Qt::black, 1));
    p.drawEllipse(c, 0.8 * s, 0.8 * s);
    p.setFont(QFont(p.font().family(), 8));
    // The label sits just after the sensor line, in the direction the crank turns.
    p.drawText(pointAt(c, 0.8 * s + 10, circleAngle(6, sa)) + QPointF(-12, 4),
               QString::fromUtf8("0° ->"));
    p.drawText(pointAt(c, 0.8 * s - 16, 270) + QPointF(-8, 4), QStringLiteral("OT"));

    if (show.wheel && in.triggerTeeth > 0) {
        const double pitch = 360.0 / in.triggerTeeth;
        p.setPen(QPen(QColor(46, 139, 87), 3, Qt::SolidLine, Qt::FlatCap));
        for (int k = 0; k < in.triggerTeeth; ++k)
            if (toothPresent(k, in.triggerTeeth, in.triggerGaps))
                arc(p, c, 0.96 * s, sa, k * pitch - pitch / 4, pitch / 2);
    }
    if (show.gap && in.triggerTeeth > 0 && in.triggerGaps > 0) {
        const double pitch = 360.0 / in.triggerTeeth;
        p.setPen(QPen(QColor(128, 0, 0), 5, Qt::SolidLine, Qt::FlatCap));
        arc(p, c, 0.96 * s, sa, -in.triggerGaps * pitch - pitch / 4, in.triggerGaps * pitch);
    }
    if (show.tacho && in.tachoPulses > 0) {
        const int marks = 2 * in.tachoPulses;
        p.setPen(QPen(QColor(0, 191, 255), 3));
        for (int k = 0; k < marks; ++k)
            radial(p, c, 0.82 * s, 0.9 * s, sa, k * 360.0 / marks);
    }
    for (int i = 0; i < 3; ++i) {
        const int n = i + 1;
        if (show.injection[i]) {
            p.setPen(QPen(QColor(0, 50 * n, 255), 4, Qt::SolidLine, Qt::FlatCap));
            arc(p, c, 0.7 * s - 5 * n, sa, in.reply.injectionStart[i],
                timeAsAngle(in.reply.injectionTime[i], in.rpm));
        }
        if (show.charge[i]) {
            p.setPen(QPen(QColor(255, 50 * n, 0), 4, Qt::SolidLine, Qt::FlatCap));
            arc(p, c, 0.6 * s - 5 * n, sa, in.reply.chargeStart[i], in.reply.chargeAngle[i]);
        }
    }
    if (show.accel && in.rpm > 0) {
        const double span = in.reply.timerDiff * double(in.rpm) * 360 / 7500000;
        p.setPen(
            QPen(span >= 0 ? QColor(0, 128, 0) : QColor(192, 0, 0), 4, Qt::SolidLine, Qt::FlatCap));
        arc(p, c, 0.9 * s, sa, 0, span);
    }
    // Each dynamic factor as a spoke before top dead centre, as many degrees as the KVT's
    // dynamic angle, its length growing with the factor (1 to 20); dashed above its speed.
    const struct {
        bool on;
        int factor, speed, angle;
    } dyn[] = {{show.dynamic1, in.dynamicFactor1, in.dynamicSpeed1, in.reply.dynamicAngle1},
               {show.dynamic2, in.dynamicFactor2, in.dynamicSpeed2, in.reply.dynamicAngle2}};
    for (const auto& d : dyn) {
        if (!d.on)
            continue;
        const bool active = in.rpm < 100 * d.speed;
        p.setPen(QPen(QColor(255, 0, 255), 2, active ? Qt::SolidLine : Qt::DashLine));
        const double length = 0.25 * s + 0.5 * s * std::clamp(d.factor, 1, 20) / 20.0;
        radial(p, c, 0, length, sa, sa - d.angle);
    }
    if (show.sensor) {
        p.setPen(QPen(Qt::black, 2));
        radial(p, c, 0, s, sa, 0);
    }
}

}  // namespace setup
