// The in-memory serial port for link tests.
#include "support/FakeSerialPort.h"

#include <algorithm>

namespace testsupport {

void FakeLine::schedule(qint64 delayMs, const QByteArray& bytes)
{
    const qint64 at = (clock ? clock->nowMs() : 0) + delayMs;
    auto pos = std::upper_bound(scheduled.begin(), scheduled.end(), at,
                                [](qint64 t, const auto& entry) { return t < entry.first; });
    scheduled.insert(pos, {at, bytes});
}

void FakeLine::deliverDue()
{
    if (stalled || !clock)
        return;
    while (!scheduled.empty() && scheduled.front().first <= clock->nowMs()) {
        input += scheduled.front().second;
        scheduled.pop_front();
    }
}

bool FakeSerialPort::open(const QString& path, int bufferSize)
{
    ++m_line->opens;
    m_line->lastPath = path;
    m_line->lastBufferSize = bufferSize;
    m_openError = m_line->openFails ? m_line->openErrno : 0;
    if (m_line->openFails)
        return false;
    m_line->open = true;
    return true;
}

int FakeSerialPort::bytesWaiting()
{
    if (!m_line->open || m_line->failed)
        return 0;
    m_line->deliverDue();
    return int(m_line->input.size());
}

int FakeSerialPort::read(quint8* buffer, int count)
{
    if (!m_line->open || m_line->failed)
        return 0;
    m_line->deliverDue();
    const int n = int(std::min<qsizetype>(count, m_line->input.size()));
    for (int i = 0; i < n; ++i)
        buffer[i] = quint8(m_line->input.at(i));
    m_line->input.remove(0, n);
    return n;
}

int FakeSerialPort::write(const quint8* buffer, int count)
{
    if (!m_line->open || m_line->failed || count <= 0)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(buffer), count);
    m_line->written += bytes;
    if (m_line->onWrite)
        m_line->onWrite(*m_line, bytes);
    return count;
}

bool FakeSerialPort::waitForInput(int timeoutMs)
{
    ++m_line->waitCalls;
    if (!m_line->open || m_line->failed || !m_line->clock)
        return false;
    const qsizetype before = m_line->input.size();
    m_line->deliverDue();
    if (m_line->input.size() > before)
        return true;
    // Sleep until the next scheduled bytes or the time-out, whichever comes first.
    qint64 wake = m_line->clock->nowMs() + std::max(timeoutMs, 0);
    if (!m_line->stalled && !m_line->scheduled.empty())
        wake = std::min(wake, m_line->scheduled.front().first);
    m_line->clock->advance(std::max<qint64>(wake - m_line->clock->nowMs(), 0));
    m_line->deliverDue();
    return m_line->input.size() > before;
}

devlink::PortFactory FakeSerialPort::factory(std::shared_ptr<FakeLine> line)
{
    return [line] { return std::make_unique<FakeSerialPort>(line); };
}

}  // namespace testsupport
