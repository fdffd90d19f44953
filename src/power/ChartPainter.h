// Draws the power chart (power and torque over speed for the shown slots, raw samples, the
// cursor) and the speed-over-time chart on any QPainter: the window's canvas or a printed page.
#pragma once

#include "power/ChartScale.h"
#include "power/PowerTypes.h"

#include <QColor>
#include <QRectF>
#include <array>

class QPainter;

namespace power {

// The slot colours: current measurement blue, "Kurve 2" green, "Kurve 3" magenta.
QColor slotColor(int slot);  // slot 1 … 3
QColor chartBackground();

struct ChartInput {
    const PowerCurves* curves = nullptr;
    const PowerSamples* samples = nullptr;  // evaluated samples of slot 1
    std::array<bool, slotCount> shown{true, false, false};
    bool showPower = true;
    bool showTorque = true;
    bool rawValues = false;
    int minSpeed = 500;
    int cursor = 0;
    double lineWidth = 0;  // curve pen width in drawing units; 0 for one device pixel
};

struct ChartResult {
    ChartScale scale;
    int cursor = 0;  // limited to the chart
    std::array<Readout, slotCount> readouts{};
};

// Draws inside area (the canvas or page rectangle) with the given plot area; the caller fills
// the background where it wants one.
ChartResult drawPowerChart(QPainter& painter, const QRectF& plot, const ChartInput& input);

// Engine speed over the recording time of the run.
void drawSpeedChart(QPainter& painter, const QRectF& plot, const PowerSamples& samples,
                    int limiterSpeed);

}  // namespace power
