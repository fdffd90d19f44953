// A run on a roller dynamometer for the simulated KVT: the engine holds about 3000 rpm, goes to
// full throttle and accelerates the flywheel along a two-stroke torque curve to about
// 12000 rpm in some 8 s, then rolls down with the throttle closed and settles again. The
// speed follows from the torque and the inertia step by step in KVT time, so the time stamps
// of the live replies agree with the speeds they carry.
#pragma once

#include "LiveFrame.h"

#include <QtGlobal>

namespace kvtsim {

class DynoRun {
public:
    enum class Phase { Idle, Hold, Accelerate, RollDown, Settle };

    static constexpr double startRpm = 3000;
    static constexpr double topRpm = 12000;
    static constexpr double inertia = 0.16;  // kg·m² at the crankshaft, flywheel included

    // The next live reply starts a run.
    void request() { m_requested = true; }
    // Starts a run this many seconds after the previous one ended (0: no repeats).
    void setRepeatEvery(int seconds) { m_repeatMs = qint64(qMax(0, seconds)) * 1000; }
    int repeatEvery() const { return int(m_repeatMs / 1000); }

    // Overrides speed, throttle and the trigger periods of frame while a run goes on;
    // ms is the KVT's clock. Returns true while running.
    bool apply(LiveFrame& frame, qint64 ms);

    Phase phase() const { return m_phase; }
    bool running() const { return m_phase != Phase::Idle; }
    double rpm() const { return m_rpm; }

    // Engine torque at full throttle and the drag of friction and the roller (Nm).
    static double fullThrottleTorque(double rpm);
    static double dragTorque(double rpm);

private:
    void advance(qint64 toMs);

    Phase m_phase = Phase::Idle;
    bool m_requested = false;
    qint64 m_repeatMs = 0;
    qint64 m_nextStartMs = -1;
    qint64 m_lastMs = 0;
    qint64 m_phaseStartMs = 0;
    double m_rpm = startRpm;
};

}  // namespace kvtsim
