// The big display's rules as plain functions: the tachometer geometry, the shown numbers and
// their red rules, the lambda judgements, the state-row texts, the window's 4 : 3 sizing and the
// emergency notice. Everything is in units of the 640 × 480 virtual surface.
#pragma once

#include "app/core/Rgb.h"

#include <QPointF>
#include <QSize>
#include <QString>
#include <array>

namespace display {

inline constexpr QPointF kDialCentre{170, 140};

// A point on the dial at radius r and angle a (degrees), as the dial counts its angles.
QPointF dialPoint(double radius, double angleDeg);

// Needle and maximum marker angle: 315 at standstill, falling to 45 at 1.1 × the gauge maximum.
double needleAngle(double rpm, qint64 gaugeMax);
// Number of the last dial figure (G / 1000, at least 1) and the angle of figure i.
int dialFigures(qint64 gaugeMax);
double figureAngle(int i, qint64 gaugeMax);
// Offset of the learn-limit arc for a speed in hundreds of rpm: 5 … 265 degrees from 135.
double learnArcOffset(double speedHundreds, qint64 gaugeMax);

// The shown engine speed: truncated to the rounding step (a step below 1 counts as 1).
int shownSpeed(int rpm, qint64 step);

struct Judgement {
    QString text;
    bool red = false;
};
// "--" … "++" for a lambda voltage in mV with the thresholds T1 (++) … T4 (--); "-?-" in red
// below 0 or above 1500 mV.
Judgement lambdaJudgement(double mv, double t1, double t2, double t3, double t4);

// The texts after "Ausgang 1 ", "Ausgang 2 ", "Eingang 2 " and "Eingang 3 ".
QString output1Text(int mode, int speed1, int speed2);
QString output2Text(int mode, int speed1, int speed2);
QString input2Text(int mode);
QString input3Text(int mode);

// Injection: the warning limit in µs from the speed, the largest dead time and the warning
// percentage; red when the time exceeds the rounded limit; the percentage of the limit.
struct Share {
    int shown = 0;
    bool red = false;
    int percent = 0;
};
Share injectionShare(int injectionTime, int rpmForMaps, const std::array<quint16, 3>& deadTimes,
                     qint64 warnPercent);
// Coil charge: coilChargeTime × 250 µs against one revolution minus 1 ms; when it is longer,
// the available time is shown in red.
Share coilShare(int coilChargeTime, int rpmForMaps);

// The window size after a resize: 4 : 3, not below 160 × 120.
QSize fitFourToThree(QSize size);

// Click areas (virtual units, bounds excluded).
bool hitsSensorErrorReset(QPointF p);
bool hitsMaximumReset(QPointF p);

// What the emergency notice does on a tick.
struct NoticeStep {
    bool shown = false;  // the notice is open after the tick
    bool closeButtonVisible = false;
};
NoticeStep emergencyNoticeStep(bool identified, int emergencyByte, bool shown);

}  // namespace display
