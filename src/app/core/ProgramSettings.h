// ProgramSettings: the program's own preferences, kept in "Motrix.cfg" in the program directory.
#pragma once

#include "app/core/ProgramInfo.h"

#include <QString>
#include <QtGlobal>
#include <array>

namespace app {

struct WindowGeometry {
    qint64 x = 0;
    qint64 y = 0;
    qint64 width = 0;
    qint64 height = 0;
    bool operator==(const WindowGeometry&) const = default;
};

struct ProgramSettings {
    QString version = versionText;
    // Geometry of the ten stored windows, in the order of storedWindowOrder.
    std::array<WindowGeometry, 10> windows = defaultWindowGeometry();
    qint64 rpmWarning = 8000;
    qint64 rpmRounding = 1;
    float lambdaVeryRich = 800;  // mV, "sehr fett (++)"
    float lambdaRich = 600;      // "fett (+)"
    float lambdaLean = 400;      // "mager (-)"
    float lambdaVeryLean = 200;  // "sehr mager (--)"
    bool showLearnLimits = false;
    bool sliderDisplays = false;
    qint64 loggerPeriod = 500;
    qint64 comTimerPeriod = 100;
    qint64 loggerCapacity = 3600;
    qint64 injectionViewCap = 200;
    qint64 injectionWarnPercent = 85;
    bool messageFile = false;
    qint64 powerSampleInterval = 3;
    qint64 powerMinSpeed = 500;
    QString printoutText;
    QString portName;
    bool comAtStart = false;
    bool readSetupAfterIdentification = false;
    qint64 injectorFlow = 200;
    qint64 injectorMaxSpeed = 8000;
    qint64 cylinderVolume = 250;
    qint64 cylinderFilling = 70;
    qint64 maxInjectorDuty = 85;
    qint64 coilMaxSpeed = 8000;
    float coilVoltage = 12.0f;
    float coilResistance = 3.5f;
    float coilInductance = 12.5f;
    bool showLambda1 = true;
    bool showLambda2 = true;
    bool showLambda3 = true;
    qint64 sensorErrorMinSpeed = 1000;

    static std::array<WindowGeometry, 10> defaultWindowGeometry();
    bool operator==(const ProgramSettings&) const = default;
};

// Limits every value to its documented range (window sizes to 100 .. design size, where the
// window is resize-limited). Used after reading a file that may have been damaged.
void clampSettings(ProgramSettings& settings);

}  // namespace app
