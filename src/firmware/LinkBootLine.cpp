// Each operation of the update's line maps onto the device link.
#include "firmware/LinkBootLine.h"

#include "link/DeviceLink.h"

namespace firmware {

LinkBootLine::LinkBootLine(devlink::DeviceLink& link) : m_link(link), m_clock(link.line().clock())
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
    return !m_link.portOpen() || m_link.connection().portFailed();
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
    m_link.commands().startBootLoader();
}

void LinkBootLine::write(const QByteArray& bytes)
{
    if (!failed())
        m_link.line().sendBytes(bytes);
}

int LinkBootLine::bytesWaiting()
{
    return m_link.line().bytesWaiting();
}

int LinkBootLine::bytesToWrite()
{
    return m_link.line().bytesToWrite();
}

std::optional<quint8> LinkBootLine::readByte()
{
    return m_link.line().readByte();
}

void LinkBootLine::discardInput()
{
    m_link.line().discardInput();
}

void LinkBootLine::pause(int ms)
{
    m_link.line().pause(ms);
}

int LinkBootLine::descriptor() const
{
    return m_link.connection().descriptor();
}

qint64 LinkBootLine::nowMs() const
{
    return m_clock.nowMs();
}

}  // namespace firmware
