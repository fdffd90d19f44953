// The big display's rules.
#include "display/BigDisplayRules.h"

#include "app/core/LambdaClass.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace display {

QPointF dialPoint(double radius, double angleDeg)
{
    const double a = angleDeg * std::numbers::pi / 180.0;
    return kDialCentre + QPointF(radius * std::sin(a), radius * std::cos(a));
}

double needleAngle(double rpm, qint64 gaugeMax)
{
    // A gauge maximum of 0 would divide by zero; it cannot be set, but a damaged settings
    // file must not turn the needle into NaN.
    const double g = std::max<qint64>(gaugeMax, 1);
    return std::clamp(315.0 - 270.0 / (g * 1.1) * rpm, 45.0, 315.0);
}

int dialFigures(qint64 gaugeMax)
{
    return int(std::max<qint64>(gaugeMax / 1000, 1));
}

double figureAngle(int i, qint64 gaugeMax)
{
    return 315.0 - i * 245.0 / dialFigures(gaugeMax);
}

double learnArcOffset(double speedHundreds, qint64 gaugeMax)
{
    const double g = std::max<qint64>(gaugeMax, 1);
    return std::clamp(245.0 / g * speedHundreds * 100, 5.0, 265.0);
}

int shownSpeed(int rpm, qint64 step)
{
    const qint64 s = std::max<qint64>(step, 1);
    return int(rpm / s * s);
}

Judgement lambdaJudgement(double mv, double t1, double t2, double t3, double t4)
{
    const auto c = lambda::classify(mv, {t1, t2, t3, t4}, 1500);
    if (!c)
        return {QStringLiteral("-?-"), true};
    switch (*c) {
    case lambda::LambdaClass::VeryLean: return {QStringLiteral("--"), false};
    case lambda::LambdaClass::Lean: return {QStringLiteral("-"), false};
    case lambda::LambdaClass::Right: return {QString(), false};
    case lambda::LambdaClass::Rich: return {QStringLiteral("+"), false};
    case lambda::LambdaClass::VeryRich: return {QStringLiteral("++"), false};
    }
    return {};
}

namespace {

QString speedWindowText(int mode, int speed1, int speed2)
{
    if (mode == 1)
        return QStringLiteral("(Umin > ") + QString::number(speed1 * 100) + QStringLiteral(")");
    if (mode == 2)
        return QStringLiteral("(") + QString::number(speed1 * 100) + QStringLiteral(" < Umin < ") +
               QString::number(speed2 * 100) + QStringLiteral(")");
    return {};
}

}  // namespace

QString output1Text(int mode, int speed1, int speed2)
{
    return speedWindowText(mode, speed1, speed2);
}

QString output2Text(int mode, int speed1, int speed2)
{
    if (mode == 3)
        return QStringLiteral("(KVT lernt...)");
    return speedWindowText(mode, speed1, speed2);
}

QString input2Text(int mode)
{
    return mode == 1 ? QStringLiteral("(Begrenzer AUS)") : QString();
}

QString input3Text(int mode)
{
    return mode == 1 ? QStringLiteral("(Lern-Modus: EEPROM)") : QString();
}

Share injectionShare(int injectionTime, int rpmForMaps, const std::array<quint16, 3>& deadTimes,
                     qint64 warnPercent)
{
    const double dead = *std::max_element(deadTimes.begin(), deadTimes.end());
    const double limit = (60000000.0 / (rpmForMaps + 1) - dead) * warnPercent / 100.0;
    Share s;
    s.shown = injectionTime;
    s.red = injectionTime > std::nearbyint(limit);
    s.percent = limit > 0 ? int(injectionTime / limit * 100) : 0;
    return s;
}

Share coilShare(int coilChargeTime, int rpmForMaps)
{
    const int c = coilChargeTime * 250;
    const int available = int(60000000.0 / (rpmForMaps + 1)) - 1000;
    Share s;
    s.red = c > available;
    s.shown = s.red ? available : c;
    s.percent = c > 0 ? int(double(s.shown) / c * 100) : 0;
    return s;
}

QSize fitFourToThree(QSize size)
{
    int w = size.width();
    int h = size.height();
    if (h / 3 < w / 4)
        w = (h / 3) * 4;
    else
        h = (w / 4) * 3;
    if (w < 160 || h < 120)
        return {160, 120};
    return {w, h};
}

bool hitsSensorErrorReset(QPointF p)
{
    return p.x() > 500 && p.x() < 560 && p.y() > 430 && p.y() < 450;
}

bool hitsMaximumReset(QPointF p)
{
    return p.x() > 460 && p.x() < 530 && p.y() > 65 && p.y() < 85;
}

NoticeStep emergencyNoticeStep(bool identified, int emergencyByte, bool shown)
{
    if (!identified)
        return {shown, shown};
    return {emergencyByte != 0, false};
}

}  // namespace display
