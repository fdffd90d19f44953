// The run's recording.
#include "power/PowerCapture.h"

#include <algorithm>

namespace power {

namespace {
constexpr int minimumSpeed = 300;  // rpm; at or below it a sample records 0
}

void PowerCapture::start(qint64 nowMs)
{
    m_samples = {};
    m_count = 0;
    m_measuring = true;
    m_startMs = nowMs;
    m_pollCounter = 0;
}

void PowerCapture::replaceSamples(const PowerSamples& samples)
{
    m_samples = samples;
    m_count = 0;
    m_measuring = false;
}

bool PowerCapture::sampleHook(int rpmForMaps, quint32 timeStamp, int interval)
{
    if (!m_measuring)
        return false;
    if (m_pollCounter < interval) {
        ++m_pollCounter;
        return false;
    }
    m_pollCounter = 0;
    if (m_count >= sampleCount)  // the timer hook ends the run at its next tick
        return false;
    if (m_count == 0)
        m_firstStamp = timeStamp;
    // The KVT counts 10 µs units in 32 bits: the difference in unsigned arithmetic survives
    // the wrap-around and keeps whole milliseconds exact however long the KVT has run.
    const quint32 elapsed = timeStamp - m_firstStamp;
    PowerSample& s = m_samples[m_count++];
    s.time = float(elapsed / 100u) + float(elapsed % 100u) / 100.0f;
    s.speed = rpmForMaps > minimumSpeed ? float(rpmForMaps) : 0.0f;
    return true;
}

TimerStep PowerCapture::timerHook(qint64 nowMs)
{
    TimerStep step;
    if (!m_measuring)
        return step;
    const qint64 remaining = maxRecordingMs - (nowMs - m_startMs);
    step.progress = int(std::clamp<qint64>(maxRecordingMs - remaining, 0, maxRecordingMs));
    if (remaining <= 0 || m_count >= sampleCount) {
        m_measuring = false;
        step.ended = true;
        step.progress = 0;
        return step;
    }
    step.remainingSeconds = int(remaining / 1000);
    step.recompute = m_pollCounter == 0;
    return step;
}

}  // namespace power
