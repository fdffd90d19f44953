// The map editor and views on the device link: the CellLink over a DeviceLink and the live
// point taken from a LiveRecord. Header only, so the maps library itself does not depend on
// the link; whoever includes it links the link library.
#pragma once

#include "link/DeviceLink.h"
#include "link/LiveRecord.h"
#include "maps/CellLink.h"
#include "maps/Scene.h"

namespace maps {

class DeviceCellLink final : public CellLink {
public:
    explicit DeviceCellLink(devlink::DeviceLink& link) : m_link(link) {}
    bool identified() const override { return m_link.identified(); }
    bool firmwareBusy() const override { return m_link.firmwareBusy(); }
    bool sendPaused(char letter, const QByteArray& bytes) override
    {
        if (!m_link.line().sendLetter(letter))
            return false;
        m_link.line().pause(20);
        return m_link.line().sendBytes(bytes);
    }

private:
    devlink::DeviceLink& m_link;
};

inline LivePoint livePointOf(const devlink::LiveRecord& record)
{
    return {double(record.rpmForMaps), double(record.throttle), record.airTemp, record.engineTemp};
}

}  // namespace maps
