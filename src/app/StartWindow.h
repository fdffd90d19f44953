// The start window: shown for the length of the start sound (at most 2000 ms) or 1000 ms.
#pragma once

#include <QString>

namespace app {

// Shows the window, plays "kvt.wav" from the program directory when sound output works, and
// returns after the duration, having processed window events meanwhile. Returns the duration.
qint64 runStartWindow(const QString& programDirectory);

}  // namespace app
