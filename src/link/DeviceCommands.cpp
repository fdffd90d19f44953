// The command letters, their pauses and byte orders.
#include "link/DeviceCommands.h"

#include "app/core/MessageLog.h"
#include "link/Identification.h"
#include "link/PortLine.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace devlink {

namespace {
constexpr int lambdaReplyLength = 920;

QByteArray bytesOf(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(quint8(v)));
    return out;
}
}  // namespace

DeviceCommands::DeviceCommands(PortLine& line, const Identification& identification,
                               app::MessageLog& log)
    : m_line(line), m_identification(identification), m_log(log)
{
}

void DeviceCommands::sendSetValue(int index, double value)
{
    if (!m_identification.identified())
        return;
    m_line.sendLetter('W');
    m_line.pause(20);
    const int rounded = int(std::clamp(std::nearbyint(value), 0.0, 255.0));
    m_line.sendBytes(bytesOf({index, rounded}));
}

void DeviceCommands::eraseEeprom()
{
    m_line.sendLetter('X');
    m_line.pause(20);
    m_line.sendBytes(QByteArray(1, char(3)));
    m_log.logMessage(QStringLiteral("EEPROM loeschen"));
}

void DeviceCommands::sendCalibrationByte(quint8 value)
{
    m_line.sendLetter('X');
    m_line.pause(20);
    m_line.sendBytes(QByteArray(1, char(4)));
    m_line.pause(20);
    m_line.sendBytes(QByteArray(1, char(value)));
}

void DeviceCommands::restartKvt()
{
    m_line.sendLetter('N');
}

void DeviceCommands::switchOutput(int output, quint16 value)
{
    m_line.sendLetter('V');
    m_line.pause(20);
    m_line.sendBytes(bytesOf({output, value >> 8, value & 0xFF}));
}

std::optional<QByteArray> DeviceCommands::readLambdaTable(bool fromEeprom)
{
    m_line.sendLetter('B');
    m_line.sendBytes(QByteArray(1, char(fromEeprom ? 1 : 0)));
    m_line.pause(200);
    if (m_line.waitReply(lambdaReplyLength, QStringLiteral("b")) != ReplyStatus::Ok)
        return std::nullopt;
    QByteArray data = m_line.read(lambdaReplyLength - 1);
    if (data.size() != lambdaReplyLength - 1)
        return std::nullopt;
    return data;
}

void DeviceCommands::clearLambdaTable(bool eeprom)
{
    m_line.sendLetter('C');
    m_line.sendBytes(QByteArray(1, char(eeprom ? 1 : 0)));
}

void DeviceCommands::startBootLoader()
{
    m_line.sendLetter('U');
    m_line.pause(200);
}

}  // namespace devlink
