// Typed parameter texts become PowerParameters: each field is read as a number, rounded to its
// step, limited to its range and shown again with its decimals. Parameters read from files go
// through the same rules, so a damaged file can never bring a ratio or circumference of 0.
#pragma once

#include "power/PowerTypes.h"

#include <QString>
#include <QStringView>
#include <array>

namespace power {

enum class Parameter {
    Temperature,
    Pressure,
    Humidity,
    Mass,
    Ratio,
    WheelCircumference,
    RollerCircumference,
    Inertia,
    Cw,
    FrontalArea,
};
constexpr int parameterCount = 10;

// The ten field texts, in the order of Parameter.
using ParameterTexts = std::array<QString, parameterCount>;

// Integer fields: the whole-number value of the text; decimal fields: Int(x · 100 + 0.5) / 100
// computed on the typed digits; then limited to the range.
PowerParameters parametersFromTexts(const ParameterTexts& texts);

// What each field shows for the stored values. The inertia shows one decimal, or two where the
// stored value has hundredths, so that taking the fields over again never changes it.
ParameterTexts parameterTexts(const PowerParameters& parameters);

// One value limited and rounded as if typed; for parameters from other sources.
PowerParameters clampParameters(const PowerParameters& parameters);

}  // namespace power
