// The test window's validation pass, flow measurement and estimates.
#include "test/TestEntries.h"

#include "setup/EntryRules.h"

#include <algorithm>
#include <cmath>

namespace kvttest {

namespace {

struct Limits {
    int minimum, maximum;
};

// The estimate inputs' ranges, for typed and for stored values; those of one decimal in tenths.
constexpr Limits injFlowLimits{10, 1000}, injSpeedLimits{100, 16000}, injVolumeLimits{10, 2000},
    injEfficiencyLimits{1, 300}, injDutyLimits{1, 100}, coilSpeedLimits{100, 16000},
    coilVoltageTenths{10, 240}, coilResistanceTenths{1, 10000}, coilInductanceTenths{1, 10000};

int wholeInRange(QStringView text, Limits l)
{
    return setup::clampToRange(setup::scaledDecimal(text, 0, setup::Rounding::HalfEven), l.minimum,
                               l.maximum);
}

// One decimal, limited: the range is given in tenths.
double tenthsInRange(QStringView text, Limits tenths)
{
    return setup::clampToRange(setup::scaledDecimal(text, 1, setup::Rounding::HalfEven),
                               tenths.minimum, tenths.maximum) /
           10.0;
}

// A stored number of one decimal, limited as a typed one is.
double storedTenths(double value, Limits limits)
{
    const double tenths = std::isfinite(value) ? std::round(value * 10) : 0.0;
    return std::clamp(tenths, double(limits.minimum), double(limits.maximum)) / 10.0;
}

int storedWhole(qint64 value, Limits l)
{
    return int(std::clamp<qint64>(value, l.minimum, l.maximum));
}

QString oneDecimal(double value)
{
    return QString::number(value, 'f', 1);
}

}  // namespace

int coilUnitsFromField(QStringView text)
{
    // µs / 250, truncated: scaledDecimal truncates the fraction of the typed number first,
    // which cannot change the whole part of the quotient.
    const qint64 us = setup::scaledDecimal(text, 0, setup::Rounding::Truncate);
    return setup::clampToRange(us / 250, 1, 32);
}

int tachoTestSpeed(QStringView text)
{
    return setup::clampToRange(setup::wholeValue(text), 0, 65535);
}

int weightTenthsFromField(QStringView text)
{
    return setup::clampToRange(setup::scaledDecimal(text, 1, setup::Rounding::HalfEven), 0, 5000);
}

QString weightText(int tenths)
{
    return oneDecimal(tenths / 10.0);
}

TestValues validate(const TestInputTexts& t, TestValues v)
{
    v.coilChargeTime = coilUnitsFromField(t.coilUs);
    v.constantAngle = wholeInRange(t.constantAngle, {-50, 50});
    v.tachoSpeed = wholeInRange(t.tachoSpeed, {500, 16000});
    for (int k = 0; k < injectors; ++k) {
        v.longTenths[k] = weightTenthsFromField(t.longWeight[k]);
        v.shortTenths[k] = weightTenthsFromField(t.shortWeight[k]);
    }
    v.injFlow = wholeInRange(t.injFlow, injFlowLimits);
    v.injMaxSpeed = wholeInRange(t.injMaxSpeed, injSpeedLimits);
    v.injVolume = wholeInRange(t.injVolume, injVolumeLimits);
    v.injEfficiency = wholeInRange(t.injEfficiency, injEfficiencyLimits);
    v.injMaxDuty = wholeInRange(t.injMaxDuty, injDutyLimits);
    v.coilMaxSpeed = wholeInRange(t.coilMaxSpeed, coilSpeedLimits);
    v.coilVoltage = tenthsInRange(t.coilVoltage, coilVoltageTenths);
    v.coilResistance = tenthsInRange(t.coilResistance, coilResistanceTenths);
    v.coilInductance = tenthsInRange(t.coilInductance, coilInductanceTenths);
    return v;
}

void loadEstimateInputs(TestValues& v, const app::ProgramSettings& s)
{
    v.injFlow = storedWhole(s.injectorFlow, injFlowLimits);
    v.injMaxSpeed = storedWhole(s.injectorMaxSpeed, injSpeedLimits);
    v.injVolume = storedWhole(s.cylinderVolume, injVolumeLimits);
    v.injEfficiency = storedWhole(s.cylinderFilling, injEfficiencyLimits);
    v.injMaxDuty = storedWhole(s.maxInjectorDuty, injDutyLimits);
    v.coilMaxSpeed = storedWhole(s.coilMaxSpeed, coilSpeedLimits);
    v.coilVoltage = storedTenths(double(s.coilVoltage), coilVoltageTenths);
    v.coilResistance = storedTenths(double(s.coilResistance), coilResistanceTenths);
    v.coilInductance = storedTenths(double(s.coilInductance), coilInductanceTenths);
}

void storeEstimateInputs(const TestValues& v, app::ProgramSettings& s)
{
    s.injectorFlow = v.injFlow;
    s.injectorMaxSpeed = v.injMaxSpeed;
    s.cylinderVolume = v.injVolume;
    s.cylinderFilling = v.injEfficiency;
    s.maxInjectorDuty = v.injMaxDuty;
    s.coilMaxSpeed = v.coilMaxSpeed;
    s.coilVoltage = float(v.coilVoltage);
    s.coilResistance = float(v.coilResistance);
    s.coilInductance = float(v.coilInductance);
}

TestInputTexts fieldTexts(const TestValues& v)
{
    TestInputTexts t;
    t.coilUs = QString::number(v.coilChargeTime * 250);
    t.constantAngle = QString::number(v.constantAngle);
    t.tachoSpeed = QString::number(v.tachoSpeed);
    for (int k = 0; k < injectors; ++k) {
        t.longWeight[k] = weightText(v.longTenths[k]);
        t.shortWeight[k] = weightText(v.shortTenths[k]);
    }
    t.injFlow = QString::number(v.injFlow);
    t.injMaxSpeed = QString::number(v.injMaxSpeed);
    t.injVolume = QString::number(v.injVolume);
    t.injEfficiency = QString::number(v.injEfficiency);
    t.injMaxDuty = QString::number(v.injMaxDuty);
    t.coilMaxSpeed = QString::number(v.coilMaxSpeed);
    t.coilVoltage = oneDecimal(v.coilVoltage);
    t.coilResistance = oneDecimal(v.coilResistance);
    t.coilInductance = oneDecimal(v.coilInductance);
    return t;
}

std::array<InjectorFlow, injectors> computeFlows(const std::array<int, injectors>& longTenths,
                                                 const std::array<int, injectors>& shortTenths)
{
    std::array<InjectorFlow, injectors> out;
    for (int k = 0; k < injectors; ++k) {
        const double a = longTenths[k] / 10.0 / flowTestPulses;  // g per pulse
        const double b = shortTenths[k] / 10.0 / flowTestPulses;
        const double m = (b - a) / double(shortPulseMs - longPulseMs);  // g per ms of opening
        // Equal weights give no slope; a short test heavier than the long one gives a negative
        // flow. Neither is a measurement, so both stay empty instead of dividing by them.
        if (!(m > 0))
            continue;
        const double switching = std::nearbyint((m * longPulseMs - a) / m * 1000);
        out[k].switchingTime = int(std::clamp(switching, 0.0, 65535.0));
        out[k].flow = m * 1000 / 760 * 1000 * 60;
    }
    double largest = 0;
    for (const InjectorFlow& f : out)
        if (f.flow && *f.flow > largest)
            largest = *f.flow;
    for (InjectorFlow& f : out)
        if (f.flow && largest > 0)
            f.balance =
                int(std::clamp(std::nearbyint(largest / *f.flow * 1000) - 1000, 0.0, 65535.0));
    return out;
}

QString flowText(const InjectorFlow& f)
{
    return f.flow ? oneDecimal(*f.flow) : QStringLiteral("--");
}

QString balanceText(const InjectorFlow& f)
{
    return f.balance ? QString::number(*f.balance) : QStringLiteral("--");
}

QString switchingTimeText(const InjectorFlow& f)
{
    return f.switchingTime ? QString::number(*f.switchingTime) : QStringLiteral("--");
}

QString fullLoadText(const QString& shownFlow1)
{
    bool ok = false;
    const double flow = shownFlow1.toDouble(&ok);
    return ok ? oneDecimal(flow * 60 / 1000) : QStringLiteral("--");
}

InjectorEstimate estimateInjector(const TestValues& v)
{
    InjectorEstimate e;
    e.fuelGramPerMin = int(std::nearbyint(v.injFlow * 0.744));
    const double fuelPerCycle = v.injVolume * (v.injEfficiency / 100.0) / 11.3702431 / 1000;
    // The flow field's minimum of 10 ml/min keeps the rounded g/min at 7 or more.
    e.requiredUs =
        fuelPerCycle / std::max(e.fuelGramPerMin, 1) * 60 * 1000 * 1000 / (v.injMaxDuty / 100.0);
    e.availableUs = 1 / (v.injMaxSpeed / 60.0) * 1000 * 1000;
    return e;
}

CoilEstimate estimateCoil(const TestValues& v)
{
    CoilEstimate e;
    e.chargeUs = v.coilInductance * 2 / v.coilResistance * 1000;
    const double tauMs = v.coilInductance / v.coilResistance;
    e.maxCurrent = v.coilVoltage / v.coilResistance * (1 - std::exp(-(e.chargeUs / 1000) / tauMs));
    e.availableUs = 1 / (v.coilMaxSpeed / 60.0) * 1000 * 1000 - 1000;
    return e;
}

QString integerText(double value)
{
    return QString::number(qint64(std::nearbyint(value)));
}

int sensorAngleStep(int angle, int delta)
{
    if (delta > 0 && angle < 180)
        return angle + 1;
    if (delta < 0 && angle > 10)
        return angle - 1;
    return angle;
}

}  // namespace kvttest
