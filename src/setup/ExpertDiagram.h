// The expert window's crank-angle diagram: one revolution as a circle, top dead centre at the
// top, the crank turning clockwise. Crank angles a are counted from the trigger sensor and
// drawn at the circle angle 270° - sensorAngle + a (0° at three o'clock, growing clockwise on
// the screen), so the sensor sits sensorAngle before the top.
#pragma once

#include "setup/ExpertValues.h"

#include <QPointF>
#include <QSize>

class QPainter;

namespace setup {

struct DiagramElements {
    std::array<bool, 3> injection{true, true, true};  // "EV1" … "EV3"
    std::array<bool, 3> charge{true, true, true};     // "Zt1" … "Zt3"
    bool sensor = true;                               // "Sensorpos."
    bool tacho = true;                                // "Drehzahlimp."
    bool accel = true;                                // "Beschl.Korr."
    bool wheel = true;                                // "Triggerrad"
    bool gap = true;                                  // "Zahnlücke"
    bool dynamic1 = true;                             // "Dyn.Fakt. 1"
    bool dynamic2 = true;                             // "Dyn.Fakt. 2"
};

struct DiagramInput {
    ExpertReply reply;
    int rpm = 0;  // rpmForMaps of the poll that brought the reply
    int sensorAngle = 10;
    int tachoPulses = 1;
    int triggerTeeth = 8;
    int triggerGaps = 1;
    int dynamicFactor1 = 3, dynamicFactor2 = 3;
    int dynamicSpeed1 = 15, dynamicSpeed2 = 50;  // units of 100 rpm
};

// Circle angle in degrees of crank angle a.
double circleAngle(double a, int sensorAngle);
// A point at circle angle (degrees) and radius around center, y growing downwards.
QPointF pointAt(QPointF center, double radius, double circleDegrees);
// A time in µs as crank angle at n rpm: time / (60 / (n + 1) × 1000000) × 360.
double timeAsAngle(double us, int rpm);
// Trigger-wheel tooth k (0 = the first tooth after the gap, seen by the sensor at a = 0) is
// at crank angle k × 360 / teeth; the missing teeth are the last triggerGaps positions.
bool toothPresent(int k, int teeth, int gaps);

void drawCrankDiagram(QPainter& p, QSize size, const DiagramInput& in, const DiagramElements& show);

}  // namespace setup
