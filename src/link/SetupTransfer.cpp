// The "L", "S" and "E" commands of the setup transfer.
#include "link/SetupTransfer.h"

#include "setup/SetupBlock.h"
#include "setup/SetupWarnings.h"

namespace devlink {

SetupTransfer::SetupTransfer(DeviceLink& link, app::MessageLog& log, app::Dialogs& dialogs,
                             setup::SetupRecord& record)
    : m_link(link), m_log(log), m_dialogs(dialogs), m_record(record)
{
}

void SetupTransfer::readAfterIdentification()
{
    m_link.identification().setAfterIdentification([this] { readSetup(); });
}

SetupTransfer::ReadOutcome SetupTransfer::readSetup()
{
    if (!m_link.identified())
        return ReadOutcome::NotIdentified;

    m_link.line().sendLetter('L');
    const ReplyStatus first = m_link.line().waitReply(setupReplyLength);
    if (first != ReplyStatus::Ok && first != ReplyStatus::Timeout)
        return ReadOutcome::Failed;

    // A block of another length may come from a different firmware: the user decides. When
    // nothing came at all there is no block to judge: the KVT did not answer, and the time-out
    // is reported by the next connectStep like any other.
    const int waiting = m_link.line().bytesWaiting();
    if (waiting == 0)
        return ReadOutcome::Failed;
    if (waiting != setupReplyLength) {
        const QString count = QString::number(waiting);
        if (!m_dialogs.question(QStringLiteral("Achtung!"),
                                QStringLiteral("Datenpaket ggf. nicht kompatibel.(") +
                                    QString::number(setupReplyLength) + QStringLiteral("/") +
                                    count +
                                    QStringLiteral(")\rNach dem Einlesen müssen alle Einstellungen "
                                                   "kontrolliert werden.\r\rTrotzdem einlesen?")))
            return ReadOutcome::Declined;
        m_log.logMessage(QStringLiteral("eingelesene Setup-Daten aus KVT ggf. nicht kompatibel (") +
                         count + QStringLiteral(")"));
    }

    // Only a complete reply is decoded; a block that never completes leaves the record as it
    // was and the time-out to the next connectStep.
    if (m_link.line().waitReply(setupReplyLength, QStringLiteral("l")) != ReplyStatus::Ok)
        return ReadOutcome::Failed;

    QByteArray& buffer = m_link.transferBuffer();
    buffer = QByteArray(DeviceLink::transferBufferSize, '\0');
    for (int i = 0; i < DeviceLink::transferBufferSize; ++i) {
        const std::optional<quint8> byte = m_link.line().readByte();
        if (!byte)
            break;
        buffer[i] = static_cast<char>(*byte);
    }
    const setup::SetupRecord received =
        setup::decodeSetupBlock(QByteArrayView(buffer).first(setup::setupBlockSize));
    m_record = received;

    if (m_replaced)
        m_replaced();
    m_log.logMessage(QStringLiteral("Daten von KVT gelesen"));
    setup::showSetupWarnings(m_record, m_dialogs);
    return ReadOutcome::Replaced;
}

bool SetupTransfer::writeSetup()
{
    if (!m_link.identified())
        return false;
    m_link.line().sendLetter('S');
    m_link.line().pause(10);
    m_link.line().sendBytes(setup::encodeSetupBlock(m_record));
    m_log.logMessage(QStringLiteral("Daten an KVT geschrieben"));
    return true;
}

bool SetupTransfer::storeSetup()
{
    if (!m_link.portOpen())
        return false;
    m_link.line().sendLetter('E');
    m_link.line().pause(20);
    return true;
}

}  // namespace devlink
