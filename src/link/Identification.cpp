// The "I" identification and the evaluation of the reply status.
#include "link/Identification.h"

#include "app/core/MessageLog.h"
#include "link/PortConnection.h"
#include "link/PortLine.h"
#include "link/ReplyCodec.h"

namespace devlink {

Identification::Identification(PortConnection& connection, PortLine& line, app::MessageLog& log)
    : m_connection(connection), m_line(line), m_log(log)
{
}

void Identification::setView(LinkView* view)
{
    m_view = view ? view : &m_noView;
}

void Identification::identify()
{
    if (m_connection.portFailed()) {
        m_line.setReplyStatus(ReplyStatus::PortUnavailable);
        return;
    }
    m_line.discardInput();
    m_line.sendLetter('I');
    if (m_line.waitReply(identityReplyLength, QStringLiteral("i")) != ReplyStatus::Ok)
        return;

    // Exactly the 23 bytes after the letter are waiting.
    const QByteArray data =
        m_line.read(identityReplyLength - 1).leftJustified(identityReplyLength - 1, '\0');
    const DeviceIdentity id = decodeIdentityReply(data).value_or(DeviceIdentity{});
    m_identity = id;
    m_view->identityShown(m_identity);

    m_log.logMessage(QStringLiteral("von KVT gelesen:"));
    m_log.logMessage(QStringLiteral("- Gerät: ") + id.deviceType);
    m_log.logMessage(QStringLiteral("- HW:    ") + id.hw);
    m_log.logMessage(QStringLiteral("- SW:    ") + id.sw);
    m_log.logMessage(QStringLiteral("- BL:    ") + id.bl);
    m_log.logMessage(QStringLiteral("KVT wurde identifiziert"));
    m_identified = true;

    if (m_setupReadWanted && m_setupReadWanted() && m_afterIdentification)
        m_afterIdentification();
}

void Identification::evaluateReplyStatus()
{
    // A device that vanished since the last wait is reported like a failed open.
    if (m_line.replyStatus() == ReplyStatus::Ok && m_connection.portOpen() &&
        m_connection.portFailed())
        m_line.setReplyStatus(ReplyStatus::PortUnavailable);

    const ReplyStatus status = m_line.replyStatus();
    m_line.setReplyStatus(ReplyStatus::Ok);
    switch (status) {
    case ReplyStatus::Ok: break;
    case ReplyStatus::PortUnavailable:
        m_connection.dropUnavailablePort();
        // The KVT that was identified is gone with the port; its identity must not linger.
        drop();
        m_connection.reportUnavailable();
        break;
    case ReplyStatus::UnknownReply:
        drop();
        m_log.logMessage(QStringLiteral("Protokollfehler"));
        break;
    case ReplyStatus::Timeout:
        drop();
        m_log.logMessage(QStringLiteral("COM Fehler - timeout"));
        break;
    }
}

void Identification::drop()
{
    m_identified = false;
    m_identity = DeviceIdentity{};
    m_view->identityCleared();
}

}  // namespace devlink
