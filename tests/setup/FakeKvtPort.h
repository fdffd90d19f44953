// A scripted KVT behind the serial port interface, for setup transfer tests: answers "I" and
// "L", takes "S" blocks, keeps an EEPROM copy for "E" and "N", and runs on a fake clock.
#pragma once

#include "link/LinkClock.h"
#include "link/SerialPort.h"

#include <QByteArray>
#include <deque>

namespace setuptest {

class FakeClock final : public devlink::LinkClock {
public:
    qint64 nowMs() const override { return m_now; }
    void sleepMs(int ms) override { m_now += ms; }
    void advance(qint64 ms) { m_now += ms; }
    qint64 m_now = 1000;
};

class FakeKvtPort final : public devlink::SerialPort {
public:
    FakeKvtPort(FakeClock& clock, QByteArray& working, QByteArray& eeprom)
        : m_clock(clock), m_working(working), m_eeprom(eeprom)
    {
    }

    // How many bytes of the "L" reply are sent (579 when complete) and its first letter.
    int setupReplyLength = 579;
    char setupReplyLetter = 'l';
    QByteArray written;
    QList<qint64> writeTimes;  // clock at each write call

    bool open(const QString&, int) override { return m_open = true; }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    int bytesWaiting() override { return static_cast<int>(m_input.size()); }
    int bytesToWrite() override { return 0; }
    int read(quint8* buffer, int count) override
    {
        int n = 0;
        while (n < count && !m_input.empty()) {
            buffer[n++] = m_input.front();
            m_input.pop_front();
        }
        return n;
    }
    int write(const quint8* buffer, int count) override
    {
        writeTimes.append(m_clock.nowMs());
        for (int i = 0; i < count; ++i) {
            written.append(static_cast<char>(buffer[i]));
            take(buffer[i]);
        }
        return count;
    }
    bool waitForInput(int timeoutMs) override
    {
        m_clock.advance(timeoutMs);  // nothing arrives later on its own
        return false;
    }
    bool failed() const override { return false; }

private:
    void queue(const QByteArray& bytes)
    {
        for (char c : bytes)
            m_input.push_back(static_cast<quint8>(c));
    }

    void take(quint8 byte)
    {
        if (m_blockBytesExpected > 0) {
            m_incoming.append(static_cast<char>(byte));
            if (--m_blockBytesExpected == 0)
                m_working = m_incoming;
            return;
        }
        switch (byte) {
        case 'I':
            queue(QByteArray("iKVT-3Z-TEST1") + "1a 2.4B7 " + QByteArray("\x01\x02", 2));
            break;
        case 'L':
            queue((QByteArray(1, setupReplyLetter) + m_working + QByteArray(64, '\x77'))
                      .left(setupReplyLength));
            break;
        case 'S':
            m_blockBytesExpected = 578;
            m_incoming.clear();
            break;
        case 'E': m_eeprom = m_working; break;
        case 'N': m_working = m_eeprom; break;
        default: break;
        }
    }

    FakeClock& m_clock;
    QByteArray& m_working;
    QByteArray& m_eeprom;
    std::deque<quint8> m_input;
    QByteArray m_incoming;
    int m_blockBytesExpected = 0;
    bool m_open = false;
};

}  // namespace setuptest
