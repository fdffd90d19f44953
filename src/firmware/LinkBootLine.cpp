// Each operation of the update's line maps onto the device link.
#include "firmware/LinkBootLine.h"

#include "link/DeviceLink.h"

namespace firmware {

LinkBootLine::LinkBootLine(devlink::DeviceLink& link) : m_link(link), m_clock(link.clock())
{
}

bool LinkBootLine::portOpen() const
{
    return m_link.portOpen();
}

bool LinkBootLine::identified() const
{
    return m_link.identified();
}

bool LinkBootLine::failed() const
{
    return !m_link.portOpen() || m_link.portFailed();
}

void LinkBootLine::setFirmwareBusy(bool busy)
{
    m_link.setFirmwareBusy(busy);
}

void LinkBootLine::forgetIdentification()
{
    m_link.identifyAgain();
}

void LinkBootLine::sendBootCommand()
{
    m_link.startBootLoader();
}

void LinkBootLine::write(const QByteArray& bytes)
{
    if (!failed())
        m_link.sendBytes(bytes);
}

int LinkBootLine::bytesWaiting()
{
    return m_link.bytesWaiting();
}

int LinkBootLine::bytesToWrite()
{
    return m_link.bytesToWrite();
}

std::optional<quint8> LinkBootLine::readByte()
{
    return m_link.readByte();
}

void LinkBootLine::discardInput()
{
    m_link.discardInput();
}

void LinkBootLine::pause(int ms)
{
    m_link.pause(ms);
}

int LinkBootLine::descriptor() const
{
    return m_link.portDescriptor();
}

qint64 LinkBootLine::nowMs() const
{
    return m_clock.nowMs();
}

}  // namespace firmware
