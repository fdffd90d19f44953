// Raw bytes on the port and the reply wait.
#include "link/PortLine.h"

#include "app/core/MessageLog.h"
#include "link/PortConnection.h"

#include <algorithm>

namespace devlink {

namespace {
constexpr int replyDeadlineMs = 200;
}  // namespace

PortLine::PortLine(PortConnection& connection, app::MessageLog& log, LinkClock& clock)
    : m_connection(connection), m_log(log), m_clock(clock)
{
}

void PortLine::logTimeout(const QString& letter)
{
    m_log.logMessage(QStringLiteral("Antwort dauert zu lange (") + letter + QStringLiteral(")"));
}

ReplyStatus PortLine::waitReply(int count, const QString& letter)
{
    const qint64 deadline = m_clock.nowMs() + replyDeadlineMs;
    m_replyStatus = ReplyStatus::Ok;
    SerialPort* port = m_connection.port();
    if (!port || !port->isOpen() || port->failed()) {
        // Nothing can arrive; waiting the 200 ms out would only stall the program.
        if (m_connection.portFailed())
            m_replyStatus = ReplyStatus::PortUnavailable;
        else {
            m_replyStatus = ReplyStatus::Timeout;
            logTimeout(letter);
        }
        return m_replyStatus;
    }
    bool done = false;
    while (!done) {
        // The time-out is tested before the count, so a reply that completes in the pass in
        // which the deadline passes is still read.
        if (m_clock.nowMs() > deadline) {
            m_replyStatus = ReplyStatus::Timeout;
            done = true;
            logTimeout(letter);
        }
        if (port->bytesWaiting() == count) {
            done = true;
            if (!letter.isEmpty()) {
                const QChar first(char16_t(readByte().value_or(0)));
                if (QString(first) != letter) {
                    m_replyStatus = ReplyStatus::UnknownReply;
                    if (m_unknownReply)
                        m_unknownReply();
                    m_log.logMessage(QStringLiteral("unbekannte Antwort (") + letter +
                                     QStringLiteral(")"));
                }
            }
        }
        if (port->failed()) {
            m_replyStatus = ReplyStatus::PortUnavailable;
            done = true;
        }
        if (!done) {
            const qint64 remaining = deadline - m_clock.nowMs();
            // Sleep on the port until more bytes come or just past the deadline.
            port->waitForInput(int(std::max<qint64>(remaining + 1, 1)));
        }
    }
    return m_replyStatus;
}

std::optional<quint8> PortLine::readByte()
{
    SerialPort* port = m_connection.port();
    quint8 byte = 0;
    if (!port || port->read(&byte, 1) != 1)
        return std::nullopt;
    return byte;
}

QByteArray PortLine::read(int count)
{
    SerialPort* port = m_connection.port();
    if (!port || count <= 0)
        return {};
    QByteArray data(count, '\0');
    const int n = port->read(reinterpret_cast<quint8*>(data.data()), count);
    data.truncate(std::max(n, 0));
    return data;
}

int PortLine::bytesWaiting()
{
    SerialPort* port = m_connection.port();
    return port ? port->bytesWaiting() : 0;
}

int PortLine::bytesToWrite()
{
    SerialPort* port = m_connection.port();
    return port ? port->bytesToWrite() : 0;
}

void PortLine::discardInput()
{
    SerialPort* port = m_connection.port();
    if (!port)
        return;
    quint8 chunk[256];
    while (port->bytesWaiting() > 0) {
        if (port->read(chunk, int(sizeof chunk)) <= 0)
            break;
    }
}

bool PortLine::sendLetter(char letter)
{
    const quint8 byte = quint8(letter);
    SerialPort* port = m_connection.port();
    return port && port->write(&byte, 1) == 1;
}

bool PortLine::sendBytes(const QByteArray& bytes)
{
    SerialPort* port = m_connection.port();
    if (!port)
        return false;
    if (bytes.isEmpty())
        return true;
    return port->write(reinterpret_cast<const quint8*>(bytes.constData()), int(bytes.size())) ==
           bytes.size();
}

}  // namespace devlink
