// The power chart's arithmetic as plain functions: plot areas, the scale with the torque factor
// k, axis ticks and labels, curve positions, the cursor read-outs and the cursor input rules.
#pragma once

#include "power/PowerTypes.h"

#include <QPointF>
#include <QRectF>
#include <QString>
#include <QVector>
#include <array>

namespace power {

// Plot area inside a canvas of the power window, and on a printed page.
QRectF windowPlotArea(double canvasWidth, double canvasHeight);
QRectF pagePlotArea(double pageWidth, double pageHeight);
// Plot area of the speed-over-time chart.
QRectF speedPlotArea(double canvasWidth, double canvasHeight);

struct ChartScale {
    int xMax = 1000;  // rpm at the right end of the plot
    float highestPower = 10;
    float highestTorque = 10;
    float lowestPower = 0;
    float lowestTorque = 0;
    float k = 1;  // torque is drawn as torque · k on the power scale
};

// Every grid point of the three slots and every raw sample of slot 1 above the minimum
// evaluation speed widens the scale; without raw values the lowest values go back to 0.
ChartScale chartScale(const PowerCurves& curves, const PowerSamples& samples, int minSpeed,
                      bool rawValues);

// Plot position of a speed and of a value on the power scale.
double xOf(const QRectF& plot, const ChartScale& s, double speed);
double yOf(const QRectF& plot, const ChartScale& s, double value);

struct Tick {
    double position;      // y for the vertical axis, x for the horizontal one
    QString label;        // power label, or speed label
    QString torqueLabel;  // vertical axis only
};
// Ticks of the vertical axis (every 35 units above and below 0) and of the horizontal axis
// (every 30 units).
QVector<Tick> verticalTicks(const QRectF& plot, const ChartScale& s);
QVector<Tick> horizontalTicks(const QRectF& plot, const ChartScale& s);

// Grid points drawn for a slot: from Int(minSpeed / 50) to Int(xMax / 50), skipping points
// whose speed is 0; torque values are multiplied by k.
QVector<QPointF> powerLine(const QRectF& plot, const ChartScale& s, const PowerCurve& curve,
                           int minSpeed);
QVector<QPointF> torqueLine(const QRectF& plot, const ChartScale& s, const PowerCurve& curve,
                            int minSpeed);

struct Readout {
    float power = 0;
    float torque = 0;
};
// Power and torque of a slot at the cursor, interpolated between the neighbouring grid
// points; 0 at or below the minimum evaluation speed.
Readout readoutAt(const PowerCurve& curve, int cursor, int minSpeed);

// The cursor limited to the chart, the wheel step (1, +9 with Shift, +99 with Control) and the
// speed under a click.
int clampCursor(int cursor, const ChartScale& s);
int wheelStep(bool shift, bool control);
int cursorFromClick(double mouseX, double plotWidth, int xMax);

// Speed chart: the vertical scale (limiter speed raised to the run's highest speed).
int speedChartTop(int limiterSpeed, const PowerSamples& samples);

}  // namespace power
