#include "app/core/ProgramSettings.h"

#include "app/core/WindowTable.h"

#include <algorithm>
#include <cmath>

namespace app {

std::array<WindowGeometry, 10> ProgramSettings::defaultWindowGeometry()
{
    std::array<WindowGeometry, 10> result;
    for (std::size_t i = 0; i < storedWindowOrder.size(); ++i) {
        const WindowInfo& info = windowInfo(storedWindowOrder[i]);
        // Staggered so that windows opened one after the other do not hide each other fully.
        const qint64 offset = 40 + 20 * static_cast<qint64>(i);
        result[i] = {offset, offset, info.width, info.height};
    }
    return result;
}

namespace {

void clampInt(qint64& v, qint64 lo, qint64 hi)
{
    v = std::clamp(v, lo, hi);
}

void clampFloat(float& v, float lo, float hi, float fallback)
{
    if (!std::isfinite(v))
        v = fallback;
    v = std::clamp(v, lo, hi);
}

}  // namespace

void clampSettings(ProgramSettings& s)
{
    const ProgramSettings defaults;
    for (std::size_t i = 0; i < s.windows.size(); ++i) {
        const WindowInfo& info = windowInfo(storedWindowOrder[i]);
        WindowGeometry& g = s.windows[i];
        clampInt(g.x, -20000, 20000);
        clampInt(g.y, -20000, 20000);
        clampInt(g.width, 100, info.resizeLimited ? info.width : 20000);
        clampInt(g.height, 100, info.resizeLimited ? info.height : 20000);
    }
    clampInt(s.rpmWarning, 4000, 16000);
    s.rpmWarning = s.rpmWarning / 100 * 100;
    clampInt(s.rpmRounding, 1, 500);
    clampFloat(s.lambdaVeryRich, 0, 1500, defaults.lambdaVeryRich);
    clampFloat(s.lambdaRich, 0, 1500, defaults.lambdaRich);
    clampFloat(s.lambdaLean, 0, 1500, defaults.lambdaLean);
    clampFloat(s.lambdaVeryLean, 0, 1500, defaults.lambdaVeryLean);
    clampInt(s.loggerPeriod, 100, 2000);
    s.loggerPeriod = s.loggerPeriod / 100 * 100;
    clampInt(s.comTimerPeriod, 5, 500);
    s.comTimerPeriod = s.comTimerPeriod / 5 * 5;
    clampInt(s.loggerCapacity, 100, 9999999);
    clampInt(s.injectionViewCap, 200, 60000);
    clampInt(s.injectionWarnPercent, 75, 100);
    clampInt(s.powerSampleInterval, 1, 10);
    clampInt(s.powerMinSpeed, 50, 2000);
    s.powerMinSpeed = s.powerMinSpeed / 50 * 50;
    s.printoutText = s.printoutText.left(100);
    clampInt(s.injectorFlow, 0, 100000);
    clampInt(s.injectorMaxSpeed, 0, 100000);
    clampInt(s.cylinderVolume, 0, 100000);
    clampInt(s.cylinderFilling, 0, 1000);
    clampInt(s.maxInjectorDuty, 0, 100);
    clampInt(s.coilMaxSpeed, 0, 100000);
    clampFloat(s.coilVoltage, 0, 1000, defaults.coilVoltage);
    clampFloat(s.coilResistance, 0, 100000, defaults.coilResistance);
    clampFloat(s.coilInductance, 0, 100000, defaults.coilInductance);
    clampInt(s.sensorErrorMinSpeed, 0, 16000);
}

}  // namespace app
