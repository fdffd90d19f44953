// What the firmware update needs of the serial line and the link: raw bytes in and out, the
// link flags it reads and sets, the "U" command and the clock. The program
// implements it over the device link; tests use a fake or the simulator.
#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <optional>

namespace firmware {

class BootLine {
public:
    virtual ~BootLine() = default;

    virtual bool portOpen() const = 0;
    virtual bool identified() const = 0;
    // The adapter vanished or the port broke: nothing more may be written.
    virtual bool failed() const = 0;
    // The link's firmwareBusy: identification and polling pause while it is set.
    virtual void setFirmwareBusy(bool busy) = 0;
    // The KVT restarts after an update: the link identifies it anew at the next tick.
    virtual void forgetIdentification() = 0;

    // "U" and its 200 ms pause: the KVT starts its boot loader.
    virtual void sendBootCommand() = 0;

    virtual void write(const QByteArray& bytes) = 0;
    virtual int bytesWaiting() = 0;
    // Bytes written but not yet on the line.
    virtual int bytesToWrite() = 0;
    virtual std::optional<quint8> readByte() = 0;
    virtual void discardInput() = 0;

    virtual void pause(int ms) = 0;
    virtual qint64 nowMs() const = 0;

    // The port's file descriptor for a notifier, -1 when there is none.
    virtual int descriptor() const { return -1; }
};

}  // namespace firmware
