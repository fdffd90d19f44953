// The serial port as the link sees it: an interface with the POSIX implementation for real
// adapters and pseudo-terminals and an in-memory fake for tests. The factory is passed in.
//
// Every operation acts on the one open device. A read or write on a closed port does nothing
// and returns 0. failed() turns true once the device vanished (a USB adapter unplugged, a
// pseudo-terminal whose other side closed): from then on the port only reports the failure,
// so callers never wait or spin on it.
#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>
#include <memory>

namespace devlink {

class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Opens the device raw at 57600 baud 8N2, no handshake, non-blocking, not as the
    // controlling terminal, with pending input discarded. bufferSize is the driver buffer
    // length asked for (254 for the working connection, 1024 for the test open).
    virtual bool open(const QString& path, int bufferSize) = 0;
    // Why the last open() failed, as an errno value (EACCES: no permission); 0 after a
    // successful open or when the port cannot tell.
    virtual int openError() const { return 0; }
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Received bytes that can be read now.
    virtual int bytesWaiting() = 0;
    // Bytes written but not yet sent on the line.
    virtual int bytesToWrite() = 0;
    // Reads up to count bytes without waiting; returns the number read.
    virtual int read(quint8* buffer, int count) = 0;
    // Writes count bytes; returns the number written.
    virtual int write(const quint8* buffer, int count) = 0;
    // Sleeps until more input arrives or timeoutMs passes; true when new bytes arrived.
    // Returns at once when the port is closed or has failed.
    virtual bool waitForInput(int timeoutMs) = 0;
    // The device went away while open (read or write errors, hang-up).
    virtual bool failed() const = 0;
    // The open device's file descriptor, for a notifier that wakes the program when bytes
    // arrive; -1 when closed or when the port has none (the in-memory fake).
    virtual int descriptor() const { return -1; }
};

using PortFactory = std::function<std::unique_ptr<SerialPort>()>;

}  // namespace devlink
