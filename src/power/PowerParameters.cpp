// Taking over the power window's parameter fields.
#include "power/PowerParameters.h"

#include "setup/EntryRules.h"

#include <algorithm>
#include <cmath>

namespace power {
namespace {

struct Range {
    int decimals;    // 0 for integer fields, 2 for decimal ones
    qint64 minimum;  // in units of 10^-decimals
    qint64 maximum;
};

constexpr std::array<Range, parameterCount> ranges{{
    {0, -25, 80},    // temperature
    {0, 700, 1100},  // pressure
    {0, 0, 99},      // humidity
    {0, 0, 3000},    // mass
    {2, 1, 2000},    // ratio 0.01 … 20.00
    {0, 1, 200},     // wheel circumference
    {0, 1, 200},     // roller circumference
    {2, 1, 10000},   // inertia 0.01 … 100.00
    {2, 1, 200},     // cw 0.01 … 2.00
    {2, 1, 1000},    // frontal area 0.01 … 10.00
}};

// The stored value in units of 10^-decimals, limited to the range.
qint64 fieldValue(Parameter p, QStringView text)
{
    const Range& r = ranges[int(p)];
    qint64 value = 0;
    if (r.decimals == 0) {
        value = setup::wholeValue(text);
    } else {
        // Int(x · 100 + 0.5) with Int truncating toward zero depends on the third decimal only.
        const qint64 thousandths = setup::scaledDecimal(text, 3, setup::Rounding::Truncate);
        value = (thousandths + 5) / 10;
    }
    return std::clamp(value, r.minimum, r.maximum);
}

float hundredths(qint64 value)
{
    return float(double(value) / 100.0);
}

QString decimalText(float value, int decimals)
{
    return QString::number(double(value), 'f', decimals);
}

// The inertia is shown with one decimal; a stored value with hundredths keeps its second
// decimal, so that taking the shown text over again never changes the value.
QString inertiaText(float value)
{
    const qint64 hundredths = qRound64(double(value) * 100.0);
    return decimalText(value, hundredths % 10 == 0 ? 1 : 2);
}

}  // namespace

PowerParameters parametersFromTexts(const ParameterTexts& t)
{
    auto whole = [&](Parameter p) { return int(fieldValue(p, t[int(p)])); };
    auto decimal = [&](Parameter p) { return hundredths(fieldValue(p, t[int(p)])); };
    PowerParameters out;
    out.temperature = whole(Parameter::Temperature);
    out.pressure = whole(Parameter::Pressure);
    out.humidity = whole(Parameter::Humidity);
    out.mass = whole(Parameter::Mass);
    out.ratio = decimal(Parameter::Ratio);
    out.wheelCircumference = whole(Parameter::WheelCircumference);
    out.rollerCircumference = whole(Parameter::RollerCircumference);
    out.inertia = decimal(Parameter::Inertia);
    out.cw = decimal(Parameter::Cw);
    out.frontalArea = decimal(Parameter::FrontalArea);
    return out;
}

ParameterTexts parameterTexts(const PowerParameters& p)
{
    ParameterTexts t;
    t[int(Parameter::Temperature)] = QString::number(p.temperature);
    t[int(Parameter::Pressure)] = QString::number(p.pressure);
    t[int(Parameter::Humidity)] = QString::number(p.humidity);
    t[int(Parameter::Mass)] = QString::number(p.mass);
    t[int(Parameter::Ratio)] = decimalText(p.ratio, 2);
    t[int(Parameter::WheelCircumference)] = QString::number(p.wheelCircumference);
    t[int(Parameter::RollerCircumference)] = QString::number(p.rollerCircumference);
    t[int(Parameter::Inertia)] = inertiaText(p.inertia);
    t[int(Parameter::Cw)] = decimalText(p.cw, 2);
    t[int(Parameter::FrontalArea)] = decimalText(p.frontalArea, 2);
    return t;
}

PowerParameters clampParameters(const PowerParameters& p)
{
    // Non-finite decimals count as 0 and so become the minimum.
    auto finite = [](float v) { return std::isfinite(v) ? v : 0.0f; };
    PowerParameters q = p;
    q.ratio = finite(q.ratio);
    q.inertia = finite(q.inertia);
    q.cw = finite(q.cw);
    q.frontalArea = finite(q.frontalArea);
    return parametersFromTexts(parameterTexts(q));
}

}  // namespace power
