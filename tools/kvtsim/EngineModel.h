// A plausible running engine for the simulated KVT: speed and throttle sweeps, a warming
// engine, lambda voltages around the setup's target, trigger-wheel values that match the
// setup, a CPU temperature, the emergency program, learning and lambda logging.
#pragma once

#include "LiveFrame.h"

#include <QByteArray>
#include <array>

namespace kvtsim {

// The lambda log: 17 speed × 9 throttle × 3 probes, mV.
using LambdaLog = std::array<quint16, 17 * 9 * 3>;
inline int lambdaIndex(int speed, int throttle, int probe)
{
    return (speed * 9 + throttle) * 3 + probe;
}

class EngineModel {
public:
    // The live values at ms since the KVT started; learning may change setup's injection map
    // and lambda logging fills ramLambda.
    LiveFrame step(qint64 ms, QByteArray& setup, LambdaLog& ramLambda);

    // Constant angle + 50 or 255 for the curve ("W" 7).
    void setIgnitionMode(int mode) { m_ignitionMode = mode; }
    int ignitionMode() const { return m_ignitionMode; }
    void setEmergency(bool on) { m_emergency = on; }
    bool emergency() const { return m_emergency; }
    // The engine starts anew: cold, at standstill for a moment.
    void restart(qint64 ms) { m_startMs = ms; }

    // Raw "A" values (volts / 2 × 4096) for the last frame: engine temp, air temp, throttle,
    // each the voltage the setup's sensor calibration gives for the value of the frame.
    std::array<quint16, 3> sensorRaw(const QByteArray& setup) const;
    // The 35 bytes after "p" for the last frame.
    QByteArray expertValues(const QByteArray& setup, quint8 calibrationByte) const;

    const LiveFrame& lastFrame() const { return m_last; }

private:
    LiveFrame m_last;
    qint64 m_startMs = 0;
    int m_ignitionMode = 255;
    bool m_emergency = false;
};

}  // namespace kvtsim
