// In-memory serial port and clock for link tests: bytes can be fed at once or at a later
// (fake) time, writes are recorded, a responder can answer them, the open can fail, the
// adapter can vanish, and the line can stall. Waiting on the port advances the fake clock
// instead of sleeping, so 200 ms time-outs cost no real time.
#pragma once

#include "link/LinkClock.h"
#include "link/SerialPort.h"

#include <QByteArray>
#include <QString>
#include <deque>
#include <functional>
#include <memory>

namespace testsupport {

class FakeClock final : public devlink::LinkClock {
public:
    qint64 nowMs() const override { return m_now; }
    void sleepMs(int ms) override
    {
        m_now += ms;
        slept += ms;
    }
    void advance(qint64 ms) { m_now += ms; }
    qint64 slept = 0;

private:
    qint64 m_now = 1'000'000;
};

// The line behind the fake ports; shared so a test keeps it after the link made its port.
struct FakeLine {
    FakeClock* clock = nullptr;  // required for scheduled bytes and time-outs
    bool openFails = false;
    int openErrno = 0;  // what a failing open reports (EACCES: no permission)
    bool failed = false;   // the adapter vanished: reads and writes fail
    bool stalled = false;  // nothing is delivered while set
    QByteArray input;      // received, not yet read
    std::deque<std::pair<qint64, QByteArray>> scheduled;  // (clock time, bytes)
    QByteArray written;
    // Called after every write with the bytes written; may feed() or schedule() replies.
    std::function<void(FakeLine&, const QByteArray&)> onWrite;
    bool open = false;
    int opens = 0;
    QString lastPath;
    int lastBufferSize = 0;
    int waitCalls = 0;
    int pendingOutput = 0;  // reported as bytes not yet sent

    void feed(const QByteArray& bytes) { input += bytes; }
    // Bytes that arrive delayMs after now.
    void schedule(qint64 delayMs, const QByteArray& bytes);
    void deliverDue();
};

class FakeSerialPort final : public devlink::SerialPort {
public:
    explicit FakeSerialPort(std::shared_ptr<FakeLine> line) : m_line(std::move(line)) {}

    bool open(const QString& path, int bufferSize) override;
    int openError() const override { return m_openError; }
    void close() override { m_line->open = false; }
    bool isOpen() const override { return m_line->open; }
    int bytesWaiting() override;
    int bytesToWrite() override { return m_line->open ? m_line->pendingOutput : 0; }
    int read(quint8* buffer, int count) override;
    int write(const quint8* buffer, int count) override;
    bool waitForInput(int timeoutMs) override;
    bool failed() const override { return m_line->open && m_line->failed; }

    // A factory whose ports all use line.
    static devlink::PortFactory factory(std::shared_ptr<FakeLine> line);

private:
    std::shared_ptr<FakeLine> m_line;
    int m_openError = 0;
};

}  // namespace testsupport
