// The dynamometer run's physics: dω/dt = (engine torque − drag) / inertia.
#include "DynoRun.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kvtsim {

namespace {
constexpr qint64 holdMs = 1000;
constexpr qint64 settleMs = 1500;
constexpr double radPerRpm = 2 * std::numbers::pi / 60;
// Pumping losses with the throttle closed: the roll-down takes some 14 s.
constexpr double closedThrottleTorque = 6.0;
}  // namespace

double DynoRun::fullThrottleTorque(double rpm)
{
    // A tuned two-stroke: modest torque low down, the expansion chamber's peak near 9000 rpm.
    const double x = (rpm - 9000) / 3000;
    return 14.0 + 18.0 * std::exp(-x * x);
}

double DynoRun::dragTorque(double rpm)
{
    return 0.5 + 0.0006 * rpm;
}

void DynoRun::advance(qint64 toMs)
{
    // At most a minute of catching up, in 1 ms steps.
    qint64 from = std::max(m_lastMs, toMs - 60000);
    for (; from < toMs; ++from) {
        const double elapsed = double(from - m_phaseStartMs);
        switch (m_phase) {
        case Phase::Hold:
            m_rpm = startRpm;
            if (elapsed >= holdMs) {
                m_phase = Phase::Accelerate;
                m_phaseStartMs = from;
            }
            break;
        case Phase::Accelerate:
            m_rpm += (fullThrottleTorque(m_rpm) - dragTorque(m_rpm)) / inertia / radPerRpm / 1000;
            if (m_rpm >= topRpm) {
                m_phase = Phase::RollDown;
                m_phaseStartMs = from;
            }
            break;
        case Phase::RollDown:
            m_rpm -= (dragTorque(m_rpm) + closedThrottleTorque) / inertia / radPerRpm / 1000;
            if (m_rpm <= startRpm) {
                m_rpm = startRpm;
                m_phase = Phase::Settle;
                m_phaseStartMs = from;
            }
            break;
        case Phase::Settle:
            if (elapsed >= settleMs) {
                m_phase = Phase::Idle;
                if (m_repeatMs > 0)
                    m_nextStartMs = from + m_repeatMs;
            }
            break;
        case Phase::Idle: return;
        }
    }
    m_lastMs = toMs;
}

bool DynoRun::apply(LiveFrame& frame, qint64 ms)
{
    if (m_phase == Phase::Idle) {
        const bool due = m_repeatMs > 0 && (m_nextStartMs < 0 || ms >= m_nextStartMs);
        if (!m_requested && !due)
            return false;
        m_requested = false;
        m_phase = Phase::Hold;
        m_phaseStartMs = ms;
        m_lastMs = ms;
        m_rpm = startRpm;
    }
    advance(ms);
    if (m_phase == Phase::Idle)
        return false;

    const double modelRpm = frame.rpm;
    frame.rpm = quint16(std::lround(m_rpm));
    frame.throttle = m_phase == Phase::Accelerate ? 100 : m_phase == Phase::RollDown ? 0 : 25;
    if (modelRpm > 0) {
        // The tooth periods shrink as the speed grows; their ratio stays.
        const double f = modelRpm / m_rpm;
        frame.toothPeriod = quint16(std::clamp(std::lround(frame.toothPeriod * f), 1L, 65535L));
        frame.gapPeriod = quint16(std::clamp(std::lround(frame.gapPeriod * f), 1L, 65535L));
    }
    return true;
}

}  // namespace kvtsim
