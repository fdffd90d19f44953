// Connection, identification, reply waits and the commands without a reply.
#include "link/DeviceLink.h"

#include "app/core/MessageLog.h"
#include "app/core/ProgramSettings.h"
#include "link/PortHelp.h"
#include "link/ReplyCodec.h"

#include <algorithm>
#include <cerrno>
#include <cmath>

namespace devlink {

namespace {
constexpr int replyDeadlineMs = 200;

QByteArray bytesOf(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(quint8(v)));
    return out;
}
}  // namespace

DeviceLink::DeviceLink(app::MessageLog& log, const app::ProgramSettings& settings,
                       PortFactory factory, LinkClock& clock)
    : m_log(log), m_settings(settings), m_factory(std::move(factory)), m_clock(clock),
      m_transferBuffer(transferBufferSize, '\0')
{
}

DeviceLink::~DeviceLink()
{
    if (m_port)
        m_port->close();
}

void DeviceLink::setView(LinkView* view)
{
    m_view = view ? view : &m_noView;
}

void DeviceLink::setFirmwareBusy(bool busy)
{
    m_firmwareBusy = busy;
    m_log.setFirmwareBusy(busy);
}

bool DeviceLink::portFailed() const
{
    return m_port && m_port->isOpen() && m_port->failed();
}

// ---------------------------------------------------------------- connection

void DeviceLink::connectStep()
{
    switchComIfChanged();
    // A command since the last tick timed out: the identification is dropped first, so that
    // this tick identifies anew instead of a tick that polls nothing.
    if (m_identified && m_replyStatus == ReplyStatus::Timeout)
        evaluateReplyStatus();
    if (m_portLost)
        reopenLostPort();
    if (m_portOpen && !m_firmwareBusy && !m_identified)
        identify();
    evaluateReplyStatus();
}

void DeviceLink::switchComIfChanged()
{
    const bool ticked = m_view->comTicked();
    if (ticked == m_comSwitch)
        return;
    m_portName = m_view->selectedPortText();
    m_portLost = false;
    if (ticked) {
        m_comSwitch = true;
        if (!m_portOpen) {
            m_port = m_factory ? m_factory() : nullptr;
            if (m_port && m_port->open(m_portName, 254)) {
                m_log.logMessage(m_portName + QStringLiteral(" ist ein"));
                m_portOpen = true;
            } else {
                m_replyStatus = ReplyStatus::PortUnavailable;
                m_openRefusal = m_port ? m_port->openError() : 0;
            }
        }
    } else {
        m_comSwitch = false;
        m_portOpen = false;
        m_identified = false;
        if (m_port)
            m_port->close();
        m_log.logMessage(QStringLiteral("COM aus"));
        clearIdentity();
    }
}

void DeviceLink::helpWithRefusedOpen(int error)
{
    QString path = m_portName;
    if (path.isEmpty() && !m_refusedPorts.isEmpty()) {
        path = m_refusedPorts.first();
        error = EACCES;
    }
    const QString status = refusalStatusLine(path, error);
    if (status.isEmpty())
        return;
    m_log.logMessage(status);
    m_view->showPortHelp(refusalAdvice(path, error));
}

void DeviceLink::reopenLostPort()
{
    // One attempt per tick: a missing adapter costs one failed open() per period and stays
    // silent, the loss having been reported once.
    m_port = m_factory ? m_factory() : nullptr;
    if (!m_port || !m_port->open(m_portName, 254))
        return;
    m_portLost = false;
    m_portOpen = true;
    m_log.logMessage(m_portName + QStringLiteral(" ist ein"));
}

void DeviceLink::identify()
{
    if (portFailed()) {
        m_replyStatus = ReplyStatus::PortUnavailable;
        return;
    }
    discardInput();
    sendLetter('I');
    if (waitReply(identityReplyLength, QStringLiteral("i")) != ReplyStatus::Ok)
        return;

    // Exactly the 23 bytes after the letter are waiting.
    QByteArray data(identityReplyLength - 1, '\0');
    m_port->read(reinterpret_cast<quint8*>(data.data()), int(data.size()));
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

    if (m_settings.readSetupAfterIdentification && m_afterIdentification)
        m_afterIdentification();
}

void DeviceLink::evaluateReplyStatus()
{
    // A device that vanished since the last wait is reported like a failed open.
    if (m_replyStatus == ReplyStatus::Ok && m_portOpen && portFailed())
        m_replyStatus = ReplyStatus::PortUnavailable;

    switch (m_replyStatus) {
    case ReplyStatus::Ok: break;
    case ReplyStatus::PortUnavailable:
        if (m_port)
            m_port->close();
        if (m_portOpen) {
            // Lost while open: the user's switch stays on and the next ticks reconnect.
            m_portLost = true;
        } else {
            // Ticking "COM" found no device to open: the switch goes back.
            m_comSwitch = false;
            m_view->untickCom();
        }
        m_replyStatus = ReplyStatus::Ok;
        m_portOpen = false;
        m_identified = false;
        // The KVT that was identified is gone with the port; its identity must not linger.
        clearIdentity();
        m_log.logMessage(QStringLiteral("COM Fehler - Port nicht verfügbar"));
        if (m_openRefusal) {
            helpWithRefusedOpen(*m_openRefusal);
            m_openRefusal.reset();
        }
        break;
    case ReplyStatus::UnknownReply:
        m_identified = false;
        m_replyStatus = ReplyStatus::Ok;
        clearIdentity();
        m_log.logMessage(QStringLiteral("Protokollfehler"));
        break;
    case ReplyStatus::Timeout:
        m_identified = false;
        m_replyStatus = ReplyStatus::Ok;
        clearIdentity();
        m_log.logMessage(QStringLiteral("COM Fehler - timeout"));
        break;
    }
}

void DeviceLink::clearIdentity()
{
    m_identity = DeviceIdentity{};
    m_view->identityCleared();
}

void DeviceLink::closePort()
{
    if (m_port)
        m_port->close();
    m_portOpen = false;
    m_portLost = false;
    m_identified = false;
}

// ---------------------------------------------------------------- replies

ReplyStatus DeviceLink::waitReply(int count, const QString& letter)
{
    const qint64 deadline = m_clock.nowMs() + replyDeadlineMs;
    m_replyStatus = ReplyStatus::Ok;
    if (!m_port || !m_port->isOpen() || m_port->failed()) {
        // Nothing can arrive; waiting the 200 ms out would only stall the program.
        if (portFailed())
            m_replyStatus = ReplyStatus::PortUnavailable;
        else {
            m_replyStatus = ReplyStatus::Timeout;
            m_log.logMessage(QStringLiteral("Antwort dauert zu lange (") + letter +
                             QStringLiteral(")"));
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
            m_log.logMessage(QStringLiteral("Antwort dauert zu lange (") + letter +
                             QStringLiteral(")"));
        }
        if (m_port->bytesWaiting() == count) {
            done = true;
            if (!letter.isEmpty()) {
                const QChar first(char16_t(readByte().value_or(0)));
                if (QString(first) != letter) {
                    m_replyStatus = ReplyStatus::UnknownReply;
                    m_identified = false;
                    m_log.logMessage(QStringLiteral("unbekannte Antwort (") + letter +
                                     QStringLiteral(")"));
                }
            }
        }
        if (m_port->failed()) {
            m_replyStatus = ReplyStatus::PortUnavailable;
            done = true;
        }
        if (!done) {
            const qint64 remaining = deadline - m_clock.nowMs();
            // Sleep on the port until more bytes come or just past the deadline.
            m_port->waitForInput(int(std::max<qint64>(remaining + 1, 1)));
        }
    }
    return m_replyStatus;
}

std::optional<quint8> DeviceLink::readByte()
{
    quint8 byte = 0;
    if (!m_port || m_port->read(&byte, 1) != 1)
        return std::nullopt;
    return byte;
}

int DeviceLink::bytesWaiting()
{
    return m_port ? m_port->bytesWaiting() : 0;
}

int DeviceLink::bytesToWrite()
{
    return m_port ? m_port->bytesToWrite() : 0;
}

void DeviceLink::discardInput()
{
    if (!m_port)
        return;
    quint8 chunk[256];
    while (m_port->bytesWaiting() > 0) {
        if (m_port->read(chunk, int(sizeof chunk)) <= 0)
            break;
    }
}

void DeviceLink::sendLetter(char letter)
{
    const quint8 byte = quint8(letter);
    if (m_port)
        m_port->write(&byte, 1);
}

void DeviceLink::sendBytes(const QByteArray& bytes)
{
    if (m_port && !bytes.isEmpty())
        m_port->write(reinterpret_cast<const quint8*>(bytes.constData()), int(bytes.size()));
}

// ---------------------------------------------------------------- blind commands

void DeviceLink::sendSetValue(int index, double value)
{
    if (!m_identified)
        return;
    sendLetter('W');
    pause(20);
    const int rounded = int(std::clamp(std::nearbyint(value), 0.0, 255.0));
    sendBytes(bytesOf({index, rounded}));
}

void DeviceLink::eraseEeprom()
{
    sendLetter('X');
    pause(20);
    sendBytes(QByteArray(1, char(3)));
    m_log.logMessage(QStringLiteral("EEPROM loeschen"));
}

void DeviceLink::sendCalibrationByte(quint8 value)
{
    sendLetter('X');
    pause(20);
    sendBytes(QByteArray(1, char(4)));
    pause(20);
    sendBytes(QByteArray(1, char(value)));
}

void DeviceLink::restartKvt()
{
    sendLetter('N');
}

void DeviceLink::switchOutput(int output, quint16 value)
{
    sendLetter('V');
    pause(20);
    sendBytes(bytesOf({output, value >> 8, value & 0xFF}));
}

std::optional<QByteArray> DeviceLink::readLambdaTable(bool fromEeprom)
{
    sendLetter('B');
    sendBytes(QByteArray(1, char(fromEeprom ? 1 : 0)));
    pause(200);
    if (waitReply(920, QStringLiteral("b")) != ReplyStatus::Ok)
        return std::nullopt;
    QByteArray data(919, '\0');
    const int n = m_port->read(reinterpret_cast<quint8*>(data.data()), 919);
    if (n != 919)
        return std::nullopt;
    return data;
}

void DeviceLink::clearLambdaTable(bool eeprom)
{
    sendLetter('C');
    sendBytes(QByteArray(1, char(eeprom ? 1 : 0)));
}

void DeviceLink::startBootLoader()
{
    sendLetter('U');
    pause(200);
}

}  // namespace devlink
