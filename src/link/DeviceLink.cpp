// The tick's order over the link's parts.
#include "link/DeviceLink.h"

#include "app/core/MessageLog.h"

namespace devlink {

DeviceLink::DeviceLink(app::MessageLog& log, PortFactory factory, LinkClock& clock)
    : m_log(log), m_connection(log, std::move(factory)), m_line(m_connection, log, clock),
      m_identification(m_connection, m_line, log), m_transferBuffer(transferBufferSize, '\0'),
      m_poll(m_connection, m_line, m_identification, m_transferBuffer),
      m_commands(m_line, m_identification, log)
{
    m_line.setUnknownReplyHook([this] { m_identification.forget(); });
}

void DeviceLink::setView(LinkView* view)
{
    m_connection.setView(view);
    m_identification.setView(view);
}

void DeviceLink::setFirmwareBusy(bool busy)
{
    m_firmwareBusy = busy;
    m_log.setFirmwareBusy(busy);
}

void DeviceLink::connectStep()
{
    switch (m_connection.followComSwitch()) {
    case PortConnection::Change::OpenFailed:
        m_line.setReplyStatus(ReplyStatus::PortUnavailable);
        break;
    case PortConnection::Change::SwitchedOff: m_identification.drop(); break;
    case PortConnection::Change::None:
    case PortConnection::Change::Opened: break;
    }
    // A command since the last tick timed out: the identification is dropped first, so that
    // this tick identifies anew instead of a tick that polls nothing.
    if (m_identification.identified() && m_line.replyStatus() == ReplyStatus::Timeout)
        m_identification.evaluateReplyStatus();
    if (m_connection.portLost())
        m_connection.reopenLostPort();
    if (m_connection.portOpen() && !m_firmwareBusy && !m_identification.identified())
        m_identification.identify();
    m_identification.evaluateReplyStatus();
}

void DeviceLink::closePort()
{
    m_connection.close();
    m_identification.forget();
}

}  // namespace devlink
