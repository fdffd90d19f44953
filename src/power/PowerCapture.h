// Capture of a run: Start and Stop, the sample hook that the polling cycle calls with every
// decoded live reply, and the timer hook with the recording limit and the remaining seconds.
#pragma once

#include "power/PowerTypes.h"

#include <QtGlobal>
#include <optional>

namespace power {

// What the window does after a timer tick of a run.
struct TimerStep {
    bool ended = false;  // measuring off, progress bar 0, remaining-time display cleared
    int progress = 0;    // progress bar value, 0 … 60000
    std::optional<int> remainingSeconds;  // shown while the run goes on
    bool recompute = false;  // a sample was just taken (or none yet): redraw, compute, redraw
};

class PowerCapture final {
public:
    // Clears the samples and starts measuring at nowMs of the program's clock.
    void start(qint64 nowMs);
    void stop() { m_measuring = false; }

    // One decoded live reply; interval is the data interval (1 … 10). Samples every
    // (interval + 1)-th reply. Returns true when a sample was stored.
    bool sampleHook(int rpmForMaps, quint32 timeStamp, int interval);

    // Every tick of the polling timer while measuring.
    TimerStep timerHook(qint64 nowMs);

    bool measuring() const { return m_measuring; }
    int count() const { return m_count; }
    int pollCounter() const { return m_pollCounter; }
    const PowerSamples& samples() const { return m_samples; }
    // A comparison file loaded into slot 1 replaces the run.
    void replaceSamples(const PowerSamples& samples);

private:
    PowerSamples m_samples{};
    bool m_measuring = false;
    int m_count = 0;
    int m_pollCounter = 0;
    qint64 m_startMs = 0;
    quint32 m_firstStamp = 0;
};

}  // namespace power
