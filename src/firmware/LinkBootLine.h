// The firmware update's line over the program's device link.
#pragma once

#include "firmware/BootLine.h"

namespace devlink {
class DeviceLink;
class LinkClock;
}  // namespace devlink

namespace firmware {

class LinkBootLine final : public BootLine {
public:
    explicit LinkBootLine(devlink::DeviceLink& link);

    bool portOpen() const override;
    bool identified() const override;
    bool failed() const override;
    void setFirmwareBusy(bool busy) override;
    void forgetIdentification() override;
    void sendBootCommand() override;
    void write(const QByteArray& bytes) override;
    int bytesWaiting() override;
    int bytesToWrite() override;
    std::optional<quint8> readByte() override;
    void discardInput() override;
    void pause(int ms) override;
    qint64 nowMs() const override;
    int descriptor() const override;

private:
    devlink::DeviceLink& m_link;
    devlink::LinkClock& m_clock;
};

}  // namespace firmware
