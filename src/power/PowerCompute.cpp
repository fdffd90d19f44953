// Power and torque of a run, corrected to standard air and resampled onto the grid.
#include "power/PowerCompute.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace power {
namespace {

constexpr float twoPi = 2.0f * std::numbers::pi_v<float>;

// Non-finite results (0/0, ±∞) never reach the grid, a file or the chart.
float finite(float v)
{
    return std::isfinite(v) ? v : 0.0f;
}

// Roller dynamometer. The roller torque follows from the flywheel's angular acceleration; the
// power is that torque at the roller's angular speed, and the crankshaft torque that power at
// the crankshaft's angular speed, whatever the ratio and circumferences.
void rollerRows(PowerSamples& s, const PowerParameters& p, float factor)
{
    const float gear = p.ratio * float(p.wheelCircumference) / float(p.rollerCircumference);
    for (int i = 0; i < sampleCount; ++i) {
        PowerSample& x = s[i];
        x.v = finite(x.speed / 60.0f * gear);
        float rollerTorque = 0;
        if (i > 0 && x.time != s[i - 1].time) {
            const float dt = (x.time - s[i - 1].time) / 1000.0f;
            rollerTorque = finite(p.inertia * twoPi * (x.v - s[i - 1].v) / dt);
        }
        const float power = finite(twoPi * x.v * rollerTorque / 1000.0f);
        // Power over the crankshaft's angular speed 2π · n / 60 is the roller torque times the
        // gear; written as the product it stays defined at standstill.
        x.torque = finite(rollerTorque * gear * factor);
        x.power = finite(power * factor);
    }
}

// Acceleration run on a level road, with the air drag added to positive power.
void linearRows(PowerSamples& s, const PowerParameters& p, float factor, float density)
{
    const float wheel = float(p.wheelCircumference) / 100.0f;  // m
    for (int i = 0; i < sampleCount; ++i) {
        PowerSample& x = s[i];
        x.v = finite(x.speed / 60.0f * p.ratio * wheel);
        float power = 0;
        if (i > 0) {
            const float dt = (x.time - s[i - 1].time) / 1000.0f;
            power = finite(float(p.mass) * (x.v - s[i - 1].v) / dt * x.v / 1000.0f);
        }
        power = finite(power * factor);
        if (power > 0)
            power =
                finite(power + density / 2.0f * p.frontalArea * p.cw * x.v * x.v * x.v / 1000.0f);
        x.power = power;
        x.torque =
            finite(power * 1000.0f / x.v * wheel / std::numbers::pi_v<float> / 2.0f * p.ratio);
    }
}

void fillGrid(const PowerSamples& s, PowerCurve& curve, int highestSpeed, bool addDrag)
{
    const int points = std::min(highestSpeed / gridStep + 1, gridPoints);
    for (int k = 1; k <= points; ++k)
        curve[k - 1] = {float(k * gridStep), 0, 0};
    // Each grid point sums, in sample order, the values interpolated where the speed passes it
    // rising (and falling, with the drag added). Only the points between two neighbouring
    // samples can be passed there, so those are the ones looked at.
    float previousSpeed = 0, previousTorque = 0, previousPower = 0;
    for (const PowerSample& x : s) {
        const float n = x.speed;
        if (n > 0 && n != previousSpeed && (addDrag || previousSpeed < n)) {
            // Speeds are finite here; beyond the grid they are limited so that the point
            // numbers fit an int. The exact tests below decide which points count.
            const float lo = std::clamp(std::min(previousSpeed, n), -1.0f, 1.0e6f);
            const float hi = std::clamp(std::max(previousSpeed, n), -1.0f, 1.0e6f);
            const int first = std::max(1, int(lo) / gridStep);
            const int last = std::min(points, int(hi) / gridStep + 1);
            for (int k = first; k <= last; ++k) {
                GridPoint& g = curve[k - 1];
                const float nk = g.speed;
                const bool rising = previousSpeed < nk && nk <= n;
                const bool falling = addDrag && n <= nk && nk < previousSpeed;
                if (rising || falling) {
                    const float f = (nk - previousSpeed) / (n - previousSpeed);
                    g.torque += std::fabs(finite(previousTorque + (x.torque - previousTorque) * f));
                    g.power += std::fabs(finite(previousPower + (x.power - previousPower) * f));
                }
            }
        }
        previousSpeed = n;
        previousTorque = x.torque;
        previousPower = x.power;
    }
    // The highest point that received a value goes, with the unused points above it.
    for (int k = gridPoints; k >= 1; --k) {
        GridPoint& g = curve[k - 1];
        if (g.torque > 0) {
            g = {};
            break;
        }
        g.speed = 0;
    }
}

}  // namespace

AirState airState(const PowerParameters& p, const PowerOptions& o)
{
    AirState a;
    const double t = p.temperature + 273.15;
    const double theta = 300.0 / t;
    a.saturation = 2.408e11 * std::pow(theta, 5) * std::exp(-22.644 * theta);
    a.dryPressure = p.pressure - p.humidity / 100.0 * a.saturation;
    if (o.ewg)
        a.correctionFactor = float(std::pow(990.0 / a.dryPressure, 1.2) * std::pow(t / 298.0, 0.6));
    if (o.din)
        a.correctionFactor = float(1013.0 / a.dryPressure * std::pow(t / 293.0, 0.5));
    if (o.ewg || o.din)
        a.density = float(p.pressure * 100.0 / (t * 287.058));
    return a;
}

Evaluation compute(const PowerSamples& samples, const PowerParameters& parameters,
                   const PowerOptions& options)
{
    Evaluation e;
    e.samples = samples;
    float highest = 0;
    for (PowerSample& x : e.samples) {
        x.time = finite(x.time);
        x.speed = finite(x.speed);
        highest = std::max(highest, x.speed);
    }
    // Limited before the conversion: a damaged file may hold any number.
    e.highestSpeed = int(std::lround(std::min(highest, 1.0e6f)));
    e.air = airState(parameters, options);
    if (options.system == MeasurementSystem::Roller)
        rollerRows(e.samples, parameters, e.air.correctionFactor);
    else
        linearRows(e.samples, parameters, e.air.correctionFactor, e.air.density);
    fillGrid(e.samples, e.curve, e.highestSpeed, options.addDrag);
    return e;
}

}  // namespace power
