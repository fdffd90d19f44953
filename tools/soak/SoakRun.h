// SoakRun: the whole program (the Motrix object with its real main loop, timers, windows and
// subsystems, offscreen, in a fresh program directory) against the simulated KVT on a real
// pseudo-terminal, for a given time, while a FaultSchedule plays faults on the line. It drives
// the work the faults are aimed at (setup reads with "-> PC", map edits with the main window's
// keys), records every tick from the program's side, watches the event loop and the resident
// memory, and returns the figures. Creates the QApplication itself: one run per process.
#pragma once

#include "SoakFigures.h"

#include <QString>

namespace soak {

struct SoakOptions {
    int seconds = 60;
    quint64 seed = 1;
    int hangLimitMs = 2000;
    bool verbose = false;  // print each fault as it starts and ends
};

SoakFigures runSoak(const SoakOptions& options);

}  // namespace soak
