// A BootLine in memory: records what the update writes, holds the bytes it may read, and can
// answer each write through a responder (the simulator, in the simulator tests).
#pragma once

#include "firmware/BootLine.h"

#include <QByteArray>
#include <functional>

namespace firmwaretest {

class FakeBootLine final : public firmware::BootLine {
public:
    bool open = true;
    bool isIdentified = true;
    bool broken = false;
    bool busy = false;
    int busyChanges = 0;
    int bootCommands = 0;
    int identificationsForgotten = 0;
    int pendingOutput = 0;
    qint64 now = 5000;
    QByteArray written;
    QByteArray input;
    // Answers each write; its result is appended to the input.
    std::function<QByteArray(const QByteArray&)> responder;

    bool portOpen() const override { return open; }
    bool identified() const override { return isIdentified; }
    bool failed() const override { return broken; }
    void setFirmwareBusy(bool on) override
    {
        busy = on;
        ++busyChanges;
    }
    void forgetIdentification() override
    {
        isIdentified = false;
        ++identificationsForgotten;
    }
    void sendBootCommand() override
    {
        ++bootCommands;
        write("U");
        now += 200;
    }
    void write(const QByteArray& bytes) override
    {
        written += bytes;
        if (responder)
            input += responder(bytes);
    }
    int bytesWaiting() override { return int(input.size()); }
    int bytesToWrite() override { return pendingOutput; }
    std::optional<quint8> readByte() override
    {
        if (input.isEmpty())
            return std::nullopt;
        const quint8 b = quint8(input.at(0));
        input.remove(0, 1);
        return b;
    }
    void discardInput() override { input.clear(); }
    void pause(int ms) override { now += ms; }
    qint64 nowMs() const override { return now; }
};

}  // namespace firmwaretest
