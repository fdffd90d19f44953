// The big display's picture.
#include "display/BigDisplayPaint.h"

#include "display/BigDisplayRules.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <algorithm>

namespace display {

namespace {

const QColor kTeal(0, 150, 150);
const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);
const QColor kBlue(0, 0, 255);

void setFont(QPainter& p, int size)
{
    QFont f(QStringLiteral("Sans"));
    f.setPixelSize(size);
    p.setFont(f);
}

// Text with its top-left corner at (x, y) in virtual units.
void text(QPainter& p, double x, double y, const QString& s, int size, const QColor& c = Qt::black)
{
    setFont(p, size);
    p.setPen(c);
    p.drawText(QRectF(x, y, 400, size * 1.4), Qt::AlignLeft | Qt::AlignTop, s);
}

void rightText(QPainter& p, double x, double y, double width, const QString& s, int size,
               const QColor& c = Qt::black)
{
    setFont(p, size);
    p.setPen(c);
    p.drawText(QRectF(x, y, width, size * 1.4), Qt::AlignRight | Qt::AlignTop, s);
}

// Arc on the dial from angle a, turning clockwise by span degrees (angles clockwise on the
// screen from the positive x axis).
void arc(QPainter& p, double radius, double a, double span, const QColor& c, double width)
{
    p.setPen(QPen(c, width, Qt::SolidLine, Qt::FlatCap));
    const QRectF box(kDialCentre.x() - radius, kDialCentre.y() - radius, 2 * radius, 2 * radius);
    // Qt counts counter-clockwise in 1/16 degrees.
    p.drawArc(box, int(-a * 16), int(-span * 16));
}

void bar(QPainter& p, double y, const QColor& from, const QColor& to)
{
    QLinearGradient g(340, 0, 430, 0);
    g.setColorAt(0, from);
    g.setColorAt(1, to);
    p.setPen(QPen(QBrush(g), 9, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(345, y), QPointF(425, y));
}

void mark(QPainter& p, double x, double y1, double y2, const QColor& c, double width)
{
    p.setPen(QPen(c, width, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(x, y1), QPointF(x, y2));
}

void lamp(QPainter& p, double x, double y, bool lit)
{
    p.setPen(Qt::NoPen);
    p.setBrush(lit ? kGreen : QColor(100, 100, 100));
    p.drawEllipse(QPointF(x, y), 6, 6);
    p.setBrush(Qt::NoBrush);
}

void paintStatic(QPainter& p, const app::ProgramSettings& s, const setup::SetupRecord& setup)
{
    const qint64 g = s.rpmWarning;
    arc(p, 115, 20, 25, kRed, 5);     // 20° to 45°
    arc(p, 115, 135, 245, kTeal, 5);  // 135° over the top to 20°
    for (int i = 0; i <= dialFigures(g); ++i) {
        const double a = figureAngle(i, g);
        p.setPen(QPen(kTeal, 5, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(dialPoint(115, a), dialPoint(120, a));
        const QPointF at = dialPoint(115 * 1.11, a) + QPointF(-4, -8);
        text(p, at.x(), at.y(), QString::number(i), 16);
    }
    if (s.showLearnLimits) {
        const double lo = 135 + learnArcOffset(setup.learnSpeedLow, g);
        const double hi = 135 + learnArcOffset(setup.learnSpeedHigh, g);
        arc(p, 115, lo, hi - lo, kGreen, 2);
    }
    text(p, 145, 220, QStringLiteral("x1000 Umin"), 10);

    const std::pair<const char*, const char*> rows[] = {
        {"Umin", ""}, {"Umin (max.)", ""}, {"%", "Klappe"}, {"°C", "Motor"}, {"°C", "Luft"}};
    const int rowY[] = {43, 73, 113, 143, 173};
    for (int n = 0; n < 5; ++n) {
        text(p, 540, rowY[n] - 10, QString::fromUtf8(rows[n].first), 16);
        text(p, 565, rowY[n] - 10, QString::fromUtf8(rows[n].second), 16);
    }
    const bool shownProbe[] = {s.showLambda1, s.showLambda2, s.showLambda3};
    for (int k = 0; k < 3; ++k)
        if (shownProbe[k]) {
            text(p, 540, 203 + 30 * k, QStringLiteral("V"), 16);
            text(p, 565, 203 + 30 * k, QStringLiteral("Lambda") + QString::number(k + 1), 16);
        }
    text(p, 540, 303, QStringLiteral("°C"), 16);
    text(p, 565, 303, QStringLiteral("CPU"), 16);

    text(p, 335, 357, QStringLiteral("Einspritzung [µs]"), 10);
    text(p, 335, 387, QStringLiteral("Zündwinkel [°KW]"), 10);
    text(p, 335, 417, QStringLiteral("Zündspulenladezeit [µs]"), 10);
    text(p, 335, 447, QStringLiteral("Sensor-Fehler"), 10);

    // State rows: the text's top at the row's y, its lamp beside it 10 units lower.
    const int f = 13;
    text(p, 15, 255, QStringLiteral("Begrenzer"), f);
    text(p, 230, 255, QStringLiteral("Winkel"), f);
    text(p, 100, 255, QStringLiteral("(") + QString::number(setup.limiterSpeed * 100) + ")", f,
         QColor(140, 0, 255));
    text(p, 15, 277, QStringLiteral("Z.Aus"), f);
    text(p, 230, 277, QStringLiteral("Z.Aus"), f);
    text(p, 100, 277, QStringLiteral("(") + QString::number(setup.ignitionOffSpeed * 100) + ")", f,
         QColor(255, 0, 255));
    const QString states[] = {
        QStringLiteral("Ausgang 1 ") +
            output1Text(setup.output1Mode, setup.output1Speed1, setup.output1Speed2),
        QStringLiteral("Ausgang 2 ") +
            output2Text(setup.output2Mode, setup.output2Speed1, setup.output2Speed2),
        QStringLiteral("Eingang 1 "),
        QStringLiteral("Eingang 2 ") + input2Text(setup.input2Mode),
        QStringLiteral("Eingang 3 ") + input3Text(setup.input3Mode),
        QStringLiteral("Lern-Modus aktiv"),
        QStringLiteral("Start-Einspritz Aus"),
        QStringLiteral("Schubabschaltung"),
    };
    for (int n = 0; n < 8; ++n)
        text(p, 15, 299 + 22 * n, states[n], f);
    text(p, 190, 453, QStringLiteral("Notprogramm"), f);
}

void paintValues(QPainter& p, const BigDisplayState& st, const app::ProgramSettings& s,
                 const setup::SetupRecord& setup)
{
    const devlink::LiveRecord& r = st.record;
    const qint64 g = s.rpmWarning;
    const int v = shownSpeed(r.rpm, s.rpmRounding);

    // Needle and maximum marker.
    const QPointF end = dialPoint(95, needleAngle(r.rpm, g));
    p.setPen(QPen(kRed, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(kDialCentre, end);
    p.setPen(QPen(Qt::black, 9));
    p.drawEllipse(kDialCentre, 2, 2);
    p.setPen(QPen(kBlue, 4));
    p.drawEllipse(dialPoint(105, needleAngle(st.maximum, g)), 2, 2);

    // Numbers.
    const QColor black = Qt::black;
    rightText(p, 332, 10, 200, QString::number(v), 50, r.rpmForMaps > g ? kRed : black);
    rightText(p, 331, 60, 200, QString::number(st.maximum), 30, st.maximum > g ? kRed : black);
    rightText(p, 431, 100, 100, QString::number(r.throttle), 30);
    rightText(p, 431, 130, 100, QString::number(qRound(r.engineTemp)), 30);
    rightText(p, 431, 160, 100, QString::number(qRound(r.airTemp)), 30);
    const bool shownProbe[] = {s.showLambda1, s.showLambda2, s.showLambda3};
    for (int k = 0; k < 3; ++k) {
        if (!shownProbe[k])
            continue;
        // A little smaller than the other numbers, so the judgement fits left of it.
        rightText(p, 430, 204 + 30 * k, 100, QString::number(r.lambda[k] / 1000.0, 'f', 2), 24);
        const Judgement j = lambdaJudgement(r.lambda[k], s.lambdaVeryRich, s.lambdaRich,
                                            s.lambdaLean, s.lambdaVeryLean);
        setFont(p, 30);
        p.setPen(j.red ? kRed : black);
        p.drawText(QRectF(432, 170 + 30 * (k + 1), 40, 42), Qt::AlignHCenter | Qt::AlignTop,
                   j.text);
    }
    rightText(p, 431, 300, 100, QString::number(r.cpuTemperature), 30,
              r.cpuTemperature > 85 ? kRed : black);

    const std::array<quint16, 3> dead = setup.injectorDeadTime;
    const Share inj = injectionShare(r.injectionTime, r.rpmForMaps, dead, s.injectionWarnPercent);
    rightText(p, 410, 345, 100, QString::number(inj.shown), 24, inj.red ? kRed : black);
    text(p, 580, 357, QString::number(inj.percent) + "%", 16);
    rightText(p, 410, 375, 100, QString::number(r.ignitionAngle - 50), 24);
    const Share coil = coilShare(setup.coilChargeTime, r.rpmForMaps);
    rightText(p, 410, 405, 100, QString::number(coil.shown), 24, coil.red ? kRed : black);
    text(p, 580, 417, QString::number(coil.percent) + "%", 16);
    rightText(p, 410, 435, 100, QString::number(st.sensorErrors), 24);

    if (s.sliderDisplays) {
        bar(p, 115, Qt::black, QColor(150, 150, 150));
        bar(p, 145, QColor(0, 190, 255), QColor(255, 70, 0));
        bar(p, 175, QColor(0, 190, 255), QColor(255, 70, 0));
        for (int k = 0; k < 3; ++k)
            if (shownProbe[k])
                bar(p, 215 + 30 * k, QColor(255, 255, 0), kRed);
        const auto off = [](double x) { return std::clamp(x, 0.0, 160.0); };
        if (s.showLearnLimits) {
            p.setPen(QPen(kGreen, 5, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(QPointF(345 + off(setup.learnThrottleLow / 100.0 * 80), 115),
                       QPointF(345 + off(setup.learnThrottleHigh / 100.0 * 80), 115));
            p.drawLine(QPointF(345 + off(setup.learnMinEngineTemp / 160.0 * 80), 145),
                       QPointF(425, 145));
            for (int k = 0; k < 3; ++k)
                if (shownProbe[k] && (setup.learnLambdaInputs >> k & 1))
                    mark(p, 345 + setup.lambdaTarget / 1000.0 / 1.5 * 80, 210 + 30 * k,
                         220 + 30 * k, kGreen, 1);
        }
        mark(p, 345 + off(r.throttle / 100.0 * 80), 105, 125, kBlue, 2);
        mark(p, 345 + off((r.engineTemp + 20) / 160 * 80), 135, 155, kBlue, 2);
        mark(p, 345 + off((r.airTemp + 20) / 160 * 80), 165, 185, kBlue, 2);
        for (int k = 0; k < 3; ++k)
            if (shownProbe[k] && r.lambda[k] < 1500)
                mark(p, 345 + r.lambda[k] / 1000 / 1.5 * 80, 205 + 30 * k, 225 + 30 * k, kBlue, 2);
    }

    const bool lit[] = {r.statusFlag1 == 1,     r.statusFlag2 == 1,     r.output1 != 0,
                        r.output2 != 0,         r.input1 != 0,          r.input2 != 0,
                        r.input3 != 0,          setup.learnActive != 0, r.statusFlag3 != 0,
                        r.emergencyProgram != 0};
    for (int n = 0; n < 10; ++n)
        lamp(p, 300, 265 + 22 * n, lit[n]);
    lamp(p, 160, 463, r.statusFlag4 != 0);
}

}  // namespace

void paintBigDisplayBackground(QPainter& p, const QColor& background,
                               const app::ProgramSettings& settings,
                               const setup::SetupRecord& setup)
{
    p.fillRect(QRectF(0, 0, 640, 480), background);
    paintStatic(p, settings, setup);
}

void paintBigDisplayValues(QPainter& p, const BigDisplayState& state,
                           const app::ProgramSettings& settings, const setup::SetupRecord& setup)
{
    paintValues(p, state, settings, setup);
}

void paintBigDisplay(QPainter& p, const BigDisplayState& state,
                     const app::ProgramSettings& settings, const setup::SetupRecord& setup)
{
    paintBigDisplayBackground(p, state.background, settings, setup);
    paintValues(p, state, settings, setup);
}

}  // namespace display
