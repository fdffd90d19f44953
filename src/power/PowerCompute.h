// The evaluation of a run: air corrections, power and torque of every sample, and the 50 rpm
// grid of the current measurement. A pure function of samples, parameters and options, shared
// by the window, the comparison files and the command-line tool.
#pragma once

#include "power/PowerTypes.h"

namespace power {

struct AirState {
    double saturation = 0;          // hPa, saturation vapour pressure
    double dryPressure = 0;         // hPa
    float correctionFactor = 1.0f;  // CorrectionFactor
    float density = 1.293f;         // kg/m³, used for the air drag power
};

// Saturation and dry-air pressure, the EWG or DIN factor and the density.
AirState airState(const PowerParameters& parameters, const PowerOptions& options);

struct Evaluation {
    PowerSamples samples;  // rows 3 … 5 filled
    PowerCurve curve;      // slot 1
    AirState air;
    int highestSpeed = 0;  // rpm, shared with the charts
};

Evaluation compute(const PowerSamples& samples, const PowerParameters& parameters,
                   const PowerOptions& options);

}  // namespace power
