// The power measurement's tables and settings: PowerParameters, the evaluation options,
// PowerSamples (700 samples of a run), PowerCurves (three slots of the 50 rpm grid) and the
// texts that describe a measurement or a comparison curve.
#pragma once

#include <QString>
#include <array>

namespace power {

constexpr int sampleCount = 700;
constexpr int gridPoints = 320;
constexpr int gridStep = 50;  // rpm between grid points
constexpr int slotCount = 3;
constexpr int maxRecordingMs = 60000;

struct PowerParameters {
    int temperature = 25;           // °C
    int pressure = 1013;            // hPa
    int humidity = 50;              // % relative
    int mass = 1000;                // kg, vehicle with rider
    float ratio = 1.00f;            // wheel revolutions per crankshaft revolution
    int wheelCircumference = 100;   // cm
    int rollerCircumference = 100;  // cm
    float inertia = 15.0f;          // kg·m², flywheel mass driven by the roller
    float cw = 0.35f;               // drag coefficient
    float frontalArea = 2.5f;       // m²

    bool operator==(const PowerParameters&) const = default;
};

enum class MeasurementSystem { Roller, Linear };  // "rotatorisch", "linear"

struct PowerOptions {
    MeasurementSystem system = MeasurementSystem::Roller;
    bool ewg = false;      // "EWG 80/1269"
    bool din = false;      // "DIN 70200"
    bool addDrag = false;  // "Add. Schlepp.": the run-down counts as quasi drag power

    bool operator==(const PowerOptions&) const = default;
};

// One sample of a run: time and speed from the capture, the rest from the computation.
struct PowerSample {
    float time = 0;    // ms since the first sample
    float speed = 0;   // engine speed, rpm
    float v = 0;       // roller revolutions per second, or vehicle speed in m/s
    float torque = 0;  // Nm at the crankshaft
    float power = 0;   // kW

    bool operator==(const PowerSample&) const = default;
};
using PowerSamples = std::array<PowerSample, sampleCount>;  // index 0 is sample 1

struct GridPoint {
    float speed = 0;   // k · 50 rpm, 0 where unused
    float torque = 0;  // Nm
    float power = 0;   // kW

    bool operator==(const GridPoint&) const = default;
};
using PowerCurve = std::array<GridPoint, gridPoints>;   // index 0 is point 1 (50 rpm)
using PowerCurves = std::array<PowerCurve, slotCount>;  // slot 1 = current measurement

// What a comparison file says about the measurement beside its numbers.
struct MeasurementInfo {
    QString date;      // "dd.mm.yyyy"
    QString time;      // "hh:mm:ss"
    QString hardware;  // KVT versions at the time of saving
    QString software;
    QString description;  // cleaned, never empty once saved ("...")
};

// The labels of a comparison slot (2 or 3), as loaded from its file.
struct ComparisonLabels {
    QString fileName;
    QString date;
    QString time;
    QString description;
    QString system;      // "(rotatorisch)"
    QString correction;  // "(DIN70200)", "(EWG80/1269)", "(keine Korr.)"
    QString drag;        // "(Add. Schlepp.)", "(ignor. Schlepp.)"
};

}  // namespace power
