// SerialPort on a POSIX terminal device (USB-serial adapter or pseudo-terminal) via termios.
// Received bytes are drained into an internal buffer, so a reply that is partly there costs
// no CPU while the rest arrives: waitForInput sleeps in poll() on the descriptor.
#pragma once

#include "link/SerialPort.h"

#include <QByteArray>

namespace devlink {

class PosixSerialPort final : public SerialPort {
public:
    PosixSerialPort() = default;
    ~PosixSerialPort() override;
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    bool open(const QString& path, int bufferSize) override;
    int openError() const override { return m_openError; }
    void close() override;
    bool isOpen() const override { return m_fd >= 0; }
    int bytesWaiting() override;
    int bytesToWrite() override;
    int read(quint8* buffer, int count) override;
    int write(const quint8* buffer, int count) override;
    bool waitForInput(int timeoutMs) override;
    bool failed() const override { return m_failed; }
    int descriptor() const override { return m_failed ? -1 : m_fd; }

    static PortFactory factory();

private:
    // Moves everything the driver holds into m_buffer; returns the number of new bytes.
    int drain();
    void markFailed();

    int m_fd = -1;
    int m_openError = 0;
    bool m_failed = false;
    QByteArray m_buffer;
    qsizetype m_readPos = 0;
};

}  // namespace devlink
