// Colour rules of the main window: the injection-time warning, the CPU temperature and the
// link lamp. Plain RGB values so that the rules stay free of the widget toolkit.
#pragma once

#include "app/core/Rgb.h"

namespace display {

using app::Rgb;

inline constexpr Rgb black{0, 0, 0};
inline constexpr Rgb warningRed{255, 0, 0};
inline constexpr Rgb lampGrey{127, 127, 127};
inline constexpr Rgb lampAmber{255, 204, 0};
inline constexpr Rgb lampGreen{0, 255, 0};
inline constexpr Rgb lampRed{255, 0, 0};

// The longest injection time (µs) that fits into the warning share of one crankshaft
// revolution at rpmForMaps: 60 / (n + 1) × 1000 × 10 × percent, held in single precision and
// rounded to the nearest whole number (halves to even), as the comparison uses it.
long injectionWarnLimit(int rpmForMaps, int warnPercent);

// True when the injection time is above the rounded limit: the value is shown red.
bool injectionWarning(int injectionTime, int rpmForMaps, int warnPercent);
Rgb injectionTimeColor(int injectionTime, int rpmForMaps, int warnPercent);

// Red above 85 °C; 85 itself is black.
Rgb cpuTemperatureColor(int cpuTemperature);

// The link lamp: "COM" off grey; on and a firmware update running amber; on and identified
// green; on and not identified red. Tested in this order.
Rgb linkLampColor(bool comTicked, bool firmwareBusy, bool identified);

}  // namespace display
