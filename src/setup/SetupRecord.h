// The KVT's complete configuration as the program holds it: every value exactly as the KVT
// stores it (small unsigned integers), plus the map and curve cell access the views use.
#pragma once

#include <QtGlobal>
#include <array>

namespace setup {

// Breakpoint axes shared by maps, curves, views and the lambda table.
inline constexpr int speedPoints = 17;    // speedIndex 0..16, 1000 rpm apart
inline constexpr int throttlePoints = 9;  // throttleIndex 0..8, 12.5 % apart
inline constexpr int tempPoints = 17;     // tempIndex 0..16, 10 °C apart from -20 °C
inline constexpr int mapCells = speedPoints * throttlePoints;
inline constexpr int cylinders = 3;

inline constexpr int speedAtIndex(int speedIndex)
{
    return 1000 * speedIndex;
}
inline constexpr double throttleAtIndex(int throttleIndex)
{
    return 12.5 * throttleIndex;
}
inline constexpr int temperatureAtIndex(int tempIndex)
{
    return 10 * tempIndex - 20;
}

// Cells of both maps lie row by row over throttle: the 17 speed cells of throttle row 0 first.
inline constexpr int mapCellIndex(int speedIndex, int throttleIndex)
{
    return throttleIndex * speedPoints + speedIndex;
}

struct SetupRecord {
    quint8 cylinderOffset12 = 0;
    quint8 cylinderOffset23 = 0;
    quint8 engineTempCal1Temp = 0;
    quint8 engineTempCal1Volt = 0;
    quint8 engineTempCal2Temp = 0;
    quint8 engineTempCal2Volt = 0;
    quint8 airTempCal1Temp = 0;
    quint8 airTempCal1Volt = 0;
    quint8 airTempCal2Temp = 0;
    quint8 airTempCal2Volt = 0;
    quint8 throttleCal1Percent = 0;
    quint8 throttleCal1Volt = 0;
    quint8 throttleCal2Percent = 0;
    quint8 throttleCal2Volt = 0;
    quint8 coilChargeTime = 1;
    quint8 coilDriver = 0;
    quint8 sensorAngle = 10;
    quint8 triggerTeeth = 8;
    quint8 injectionStartAngle = 0;
    quint16 startInjectionTime = 0;
    quint8 startInjectionRevs = 0;
    quint8 quickStartSpeed = 10;
    quint8 limiterSpeed = 10;
    quint8 limiterRetard = 0;
    quint8 output1Speed1 = 0;
    quint8 output2Speed1 = 0;
    std::array<quint8, cylinders> injectionExtension{};
    std::array<quint16, cylinders> injectorBalance{};
    std::array<quint8, tempPoints> airTempCorrection{};
    std::array<quint8, mapCells> ignitionMap{};
    std::array<quint16, mapCells> injectionMap{};
    std::array<quint8, tempPoints> engineTempCorrection{};
    quint8 triggerEdge = 0;
    quint8 tachoPulses = 1;
    quint8 limiterHysteresis = 1;
    quint8 dynamicFactor1 = 3;
    quint8 dynamicFactor2 = 3;
    quint8 dynamicSpeed1 = 15;
    quint8 dynamicSpeed2 = 50;
    quint8 timingStep = 1;
    quint8 learnActive = 0;
    quint8 learnMinEngineTemp = 70;
    quint8 learnSpeedLow = 20;
    quint8 learnSpeedHigh = 160;
    quint8 learnThrottleLow = 10;
    quint8 learnThrottleHigh = 100;
    quint16 lambdaTarget = 750;
    quint8 learnLambdaInputs = 0;
    quint8 learnRate = 100;
    quint8 output1Mode = 0;
    quint8 output2Mode = 0;
    quint8 input1Mode = 0;
    quint8 input2Mode = 0;
    quint8 input3Mode = 0;
    quint8 output1Speed2 = 0;
    quint8 output2Speed2 = 0;
    quint8 triggerGaps = 2;
    quint16 learnIncrement = 100;
    quint8 sensorDamping = 10;
    // Carried by the device transfer only; setup files keep the values already in memory.
    std::array<quint16, cylinders> injectorDeadTime{};
    quint8 ignitionOffSpeed = 0;
    quint8 startInjectionAdd = 0;
    quint8 startInjectionOff = 0;
    quint8 lambdaLogging = 0;
    quint8 limpMinEngineTemp = 0;
    quint8 limpIgnitionOffSpeed = 0;
    quint8 limpTiming = 0;
    quint8 limpEnrichment = 0;
    quint8 overrunCutoff = 0;
    quint8 overrunMinEngineTemp = 50;
    quint8 overrunThrottleMax = 2;
    quint8 overrunInjectionShare = 10;
    quint8 overrunMinSpeed = 10;
    quint8 ignitionMapEnabled = 1;

    bool operator==(const SetupRecord&) const = default;

    // Cell access; indices outside the axes read 0 and are not written.
    quint16 injectionCell(int speedIndex, int throttleIndex) const;
    void setInjectionCell(int speedIndex, int throttleIndex, quint16 value);
    quint8 ignitionCell(int speedIndex, int throttleIndex) const;
    void setIgnitionCell(int speedIndex, int throttleIndex, quint8 value);
    // The cell the views and the live panel use: with the map switched off only row 0 (the
    // ignition curve over engine speed) counts, whatever throttle row is asked for.
    quint8 ignitionCellInUse(int speedIndex, int throttleIndex) const;
    quint8 airTempCell(int tempIndex) const;
    void setAirTempCell(int tempIndex, quint8 value);
    quint8 engineTempCell(int tempIndex) const;
    void setEngineTempCell(int tempIndex, quint8 value);
};

// The record the program starts with before any setup is read.
inline SetupRecord defaultSetupRecord()
{
    return SetupRecord{};
}

}  // namespace setup
