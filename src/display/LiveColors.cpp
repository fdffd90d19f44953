// Colour rules of the main window's live panel and link lamp.
#include "display/LiveColors.h"

#include <cmath>

namespace display {

long injectionWarnLimit(int rpmForMaps, int warnPercent)
{
    // Computed in double, kept as a float: the rounding decides at the single-precision value,
    // so a limit near a half rounds the way the KVT's users know it.
    const float limit = float(60.0 / (double(rpmForMaps) + 1.0) * 1000.0 * 10.0 * warnPercent);
    return std::lrint(limit);
}

bool injectionWarning(int injectionTime, int rpmForMaps, int warnPercent)
{
    return injectionTime > injectionWarnLimit(rpmForMaps, warnPercent);
}

Rgb injectionTimeColor(int injectionTime, int rpmForMaps, int warnPercent)
{
    return injectionWarning(injectionTime, rpmForMaps, warnPercent) ? warningRed : black;
}

Rgb cpuTemperatureColor(int cpuTemperature)
{
    return cpuTemperature > 85 ? warningRed : black;
}

Rgb linkLampColor(bool comTicked, bool firmwareBusy, bool identified)
{
    if (!comTicked)
        return lampGrey;
    if (firmwareBusy)
        return lampAmber;
    if (identified)
        return lampGreen;
    return lampRed;
}

}  // namespace display
