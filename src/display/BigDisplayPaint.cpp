// The big display's picture.
#include "display/BigDisplayPaint.h"

#include "display/BigDisplayRules.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <algorithm>

namespace display {

namespace {

const QColor kTeal(0, 150, 150);
const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);
const QColor kBlue(0, 0, 255);

// The boxes the texts keep to: the right edge of the surface less a margin, and the columns
// of the right-hand labels, the bottom value rows and the state rows beside their lamps.
constexpr double kRightEdge = 637;
constexpr double kUnitX = 540;
constexpr double kNameX = 565;
constexpr double kLampLeft = 293;  // state texts end left of the lamps at x 300 (radius 6)
constexpr double kLabelX = 335;    // bottom rows: label, value, percentage
constexpr double kValueLeft = 498;
constexpr double kValueRight = 576;
constexpr double kPercentX = 580;

// Draws the texts of the picture and notes where their ink lies.
class Texts {
public:
    Texts(QPainter& p, TextLog* log) : m_p(p), m_log(log) {}

    // The largest size up to size at which every text is at most width wide.
    int fittedSize(std::initializer_list<std::pair<QString, double>> texts, int size) const
    {
        int fitted = size;
        for (const auto& [s, width] : texts)
            while (fitted > 4 && advance(s, fitted) > width)
                --fitted;
        return fitted;
    }

    // Text in a box whose top-left corner is (x, y), aligned inside width; a text wider than
    // its box is drawn as much smaller as it needs.
    void draw(double x, double y, double width, const QString& s, int size,
              Qt::Alignment align = Qt::AlignLeft, const QColor& c = Qt::black)
    {
        if (s.isEmpty())
            return;
        size = fittedSize({{s, width}}, size);
        const QFont f = font(size);
        const QFontMetricsF fm(f, m_p.device());
        const double w = fm.horizontalAdvance(s);
        double left = x;
        if (align & Qt::AlignRight)
            left = x + width - w;
        else if (align & Qt::AlignHCenter)
            left = x + (width - w) / 2;
        const QPointF baseline(left, y + fm.ascent());
        m_p.setFont(f);
        m_p.setPen(c);
        m_p.drawText(baseline, s);
        if (m_log)
            m_log->append({s, fm.tightBoundingRect(s).translated(baseline)});
    }

private:
    static QFont font(int size)
    {
        QFont f(QStringLiteral("Sans"));
        f.setPixelSize(size);
        return f;
    }
    double advance(const QString& s, int size) const
    {
        return QFontMetricsF(font(size), m_p.device()).horizontalAdvance(s);
    }

    QPainter& m_p;
    TextLog* m_log;
};

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

void paintStatic(QPainter& p, Texts& t, const app::ProgramSettings& s,
                 const setup::SetupRecord& setup)
{
    const qint64 g = s.rpmWarning;
    arc(p, 115, 20, 25, kRed, 5);     // 20° to 45°
    arc(p, 115, 135, 245, kTeal, 5);  // 135° over the top to 20°
    for (int i = 0; i <= dialFigures(g); ++i) {
        const double a = figureAngle(i, g);
        p.setPen(QPen(kTeal, 5, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(dialPoint(115, a), dialPoint(120, a));
        const QPointF at = dialPoint(115 * 1.11, a) + QPointF(-4, -8);
        t.draw(at.x(), at.y(), 40, QString::number(i), 16);
    }
    if (s.showLearnLimits) {
        const double lo = 135 + learnArcOffset(setup.learnSpeedLow, g);
        const double hi = 135 + learnArcOffset(setup.learnSpeedHigh, g);
        arc(p, 115, lo, hi - lo, kGreen, 2);
    }
    t.draw(145, 220, 80, QStringLiteral("x1000 Umin"), 10);

    // Right column: units at x 540, names at 565; the two speed rows have their unit only.
    // All share one size, the largest at which the widest fits before the edge.
    const double unitWidth = kNameX - 2 - kUnitX;
    const double nameWidth = kRightEdge - kNameX;
    const double rowWidth = kRightEdge - kUnitX;
    const int column = t.fittedSize({{QStringLiteral("Umin (max.)"), rowWidth},
                                     {QStringLiteral("Lambda1"), nameWidth},
                                     {QStringLiteral("Klappe"), nameWidth},
                                     {QStringLiteral("°C"), unitWidth}},
                                    16);
    t.draw(kUnitX, 33, rowWidth, QStringLiteral("Umin"), column);
    t.draw(kUnitX, 63, rowWidth, QStringLiteral("Umin (max.)"), column);
    const std::pair<const char*, const char*> rows[] = {
        {"%", "Klappe"}, {"°C", "Motor"}, {"°C", "Luft"}};
    const int rowY[] = {113, 143, 173};
    for (int n = 0; n < 3; ++n) {
        t.draw(kUnitX, rowY[n] - 10, unitWidth, QString::fromUtf8(rows[n].first), column);
        t.draw(kNameX, rowY[n] - 10, nameWidth, QString::fromUtf8(rows[n].second), column);
    }
    const bool shownProbe[] = {s.showLambda1, s.showLambda2, s.showLambda3};
    for (int k = 0; k < 3; ++k)
        if (shownProbe[k]) {
            t.draw(kUnitX, 203 + 30 * k, unitWidth, QStringLiteral("V"), column);
            t.draw(kNameX, 203 + 30 * k, nameWidth,
                   QStringLiteral("Lambda") + QString::number(k + 1), column);
        }
    t.draw(kUnitX, 303, unitWidth, QStringLiteral("°C"), column);
    t.draw(kNameX, 303, nameWidth, QStringLiteral("CPU"), column);

    // Bottom rows: the label from x 335, its value right-aligned before the percentages.
    const QString labels[] = {
        QStringLiteral("Einspritzung [µs]"), QStringLiteral("Zündwinkel [°KW]"),
        QStringLiteral("Zündspulenladezeit [µs]"), QStringLiteral("Sensor-Fehler")};
    const double labelWidth = kValueLeft - 2 - kLabelX;
    const int labelSize = t.fittedSize({{labels[2], labelWidth}, {labels[0], labelWidth}}, 10);
    for (int n = 0; n < 4; ++n)
        t.draw(kLabelX, 357 + 30 * n, labelWidth, labels[n], labelSize);

    // State rows: the text's top at the row's y, its lamp beside it 10 units lower.
    const QString limiter = QStringLiteral("(") + QString::number(setup.limiterSpeed * 100) + ")";
    const QString ignitionOff =
        QStringLiteral("(") + QString::number(setup.ignitionOffSpeed * 100) + ")";
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
    };
    const double stateWidth = kLampLeft - 15;
    const int f = t.fittedSize({{states[0], stateWidth},
                                {states[1], stateWidth},
                                {states[3], stateWidth},
                                {states[4], stateWidth},
                                {limiter, 228 - 100},
                                {QStringLiteral("Schubabschaltung"), 152 - 15},
                                {QStringLiteral("Notprogramm"), kLampLeft - 190}},
                               13);
    t.draw(15, 255, 83, QStringLiteral("Begrenzer"), f);
    t.draw(230, 255, kLampLeft - 230, QStringLiteral("Winkel"), f);
    t.draw(100, 255, 128, limiter, f, Qt::AlignLeft, QColor(140, 0, 255));
    t.draw(15, 277, 83, QStringLiteral("Z.Aus"), f);
    t.draw(230, 277, kLampLeft - 230, QStringLiteral("Z.Aus"), f);
    t.draw(100, 277, 128, ignitionOff, f, Qt::AlignLeft, QColor(255, 0, 255));
    for (int n = 0; n < 7; ++n)
        t.draw(15, 299 + 22 * n, stateWidth, states[n], f);
    // The last row shares its line with "Notprogramm", and its lamp sits at x 160.
    t.draw(15, 453, 152 - 15, QStringLiteral("Schubabschaltung"), f);
    t.draw(190, 453, kLampLeft - 190, QStringLiteral("Notprogramm"), f);
}

void paintValues(QPainter& p, Texts& t, const BigDisplayState& st, const app::ProgramSettings& s,
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

    // Numbers, right-aligned before the units at x 540.
    const QColor black = Qt::black;
    const auto right = Qt::AlignRight;
    t.draw(332, 10, 200, QString::number(v), 50, right, r.rpmForMaps > g ? kRed : black);
    t.draw(331, 60, 200, QString::number(st.maximum), 30, right, st.maximum > g ? kRed : black);
    t.draw(431, 100, 100, QString::number(r.throttle), 30, right);
    t.draw(431, 130, 100, QString::number(qRound(r.engineTemp)), 30, right);
    t.draw(431, 160, 100, QString::number(qRound(r.airTemp)), 30, right);
    const bool shownProbe[] = {s.showLambda1, s.showLambda2, s.showLambda3};
    for (int k = 0; k < 3; ++k) {
        if (!shownProbe[k])
            continue;
        // The judgement in its box from x 432 to 472, the voltage right of it.
        t.draw(474, 204 + 30 * k, 56, QString::number(r.lambda[k] / 1000.0, 'f', 2), 24, right);
        const Judgement j = lambdaJudgement(r.lambda[k], s.lambdaVeryRich, s.lambdaRich,
                                            s.lambdaLean, s.lambdaVeryLean);
        t.draw(432, 170 + 30 * (k + 1), 40, j.text, 30, Qt::AlignHCenter, j.red ? kRed : black);
    }
    t.draw(431, 300, 100, QString::number(r.cpuTemperature), 30, right,
           r.cpuTemperature > 85 ? kRed : black);

    // Bottom rows: the value right-aligned between its label and the percentage.
    const double valueWidth = kValueRight - kValueLeft;
    const double percentWidth = kRightEdge - kPercentX;
    const std::array<quint16, 3> dead = setup.injectorDeadTime;
    const Share inj = injectionShare(r.injectionTime, r.rpmForMaps, dead, s.injectionWarnPercent);
    t.draw(kValueLeft, 345, valueWidth, QString::number(inj.shown), 24, right,
           inj.red ? kRed : black);
    t.draw(kPercentX, 353, percentWidth, QString::number(inj.percent) + "%", 16);
    t.draw(kValueLeft, 375, valueWidth, QString::number(r.ignitionAngle - 50), 24, right);
    const Share coil = coilShare(setup.coilChargeTime, r.rpmForMaps);
    t.draw(kValueLeft, 405, valueWidth, QString::number(coil.shown), 24, right,
           coil.red ? kRed : black);
    t.draw(kPercentX, 413, percentWidth, QString::number(coil.percent) + "%", 16);
    t.draw(kValueLeft, 435, valueWidth, QString::number(st.sensorErrors), 24, right);

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

QTransform surfaceTransform(QSize pixels)
{
    const double s = pixels.height() / 480.0;
    return QTransform::fromScale(s, s);
}

void paintBigDisplayBackground(QPainter& p, const QColor& background,
                               const app::ProgramSettings& settings,
                               const setup::SetupRecord& setup, TextLog* log)
{
    p.fillRect(QRectF(0, 0, 640, 480), background);
    Texts t(p, log);
    paintStatic(p, t, settings, setup);
}

void paintBigDisplayValues(QPainter& p, const BigDisplayState& state,
                           const app::ProgramSettings& settings, const setup::SetupRecord& setup,
                           TextLog* log)
{
    Texts t(p, log);
    paintValues(p, t, state, settings, setup);
}

void paintBigDisplay(QPainter& p, const BigDisplayState& state,
                     const app::ProgramSettings& settings, const setup::SetupRecord& setup,
                     TextLog* log)
{
    paintBigDisplayBackground(p, state.background, settings, setup, log);
    paintBigDisplayValues(p, state, settings, setup, log);
}

}  // namespace display
