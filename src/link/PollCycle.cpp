// The polling cycle: "D" into the LiveRecord for every subscriber, then "G", "A" and "P" when
// a registered query wants them.
#include "link/DeviceLink.h"

#include "app/core/MessageLog.h"
#include "link/ReplyCodec.h"

namespace devlink {

void DeviceLink::pollCycle()
{
    if (!m_identified)
        return;
    if (portFailed()) {
        m_replyStatus = ReplyStatus::PortUnavailable;
        return;
    }
    if (pollLiveValues()) {
        // The clock offset is taken at the first "D" and whenever the expert window asks.
        if (m_clockOffsetReset) {
            m_clockOffset = m_clock.nowMs() - qint64(m_live.timeStamp / 100);
            m_clockOffsetReset = false;
        }
        m_feed.publishLive(m_live);
        if (m_feed.wanted(OnDemand::LearnedMap))
            readLearnedMap();
    }
    // "A" and "P" are asked for even when "D" failed.
    if (m_feed.wanted(OnDemand::SensorVoltages) && !portFailed())
        readSensorVoltages();
    if (m_feed.wanted(OnDemand::ExpertValues) && !portFailed())
        readExpertValues();
}

bool DeviceLink::pollLiveValues()
{
    sendLetter('D');
    if (waitReply(liveReplyLength, QStringLiteral("d")) != ReplyStatus::Ok)
        return false;
    QByteArray data(liveReplyLength - 1, '\0');
    const int n = m_port->read(reinterpret_cast<quint8*>(data.data()), int(data.size()));
    const std::optional<LiveRecord> record = decodeLiveReply(data.left(n));
    if (!record)
        return false;
    m_live = *record;
    return true;
}

void DeviceLink::readLearnedMap()
{
    sendLetter('G');
    pause(100);
    const std::optional<quint8> first = readByte();
    if (!first || *first != 'g')
        return;
    m_transferBuffer.fill('\0', transferBufferSize);
    int received = 0;
    while (received < transferBufferSize) {
        const std::optional<quint8> byte = readByte();
        if (!byte)
            break;
        m_transferBuffer[received++] = char(*byte);
    }
    // A reply cut short would write zeros into the map; keep the map as it was instead.
    const std::optional<LearnedMap> map = decodeLearnedMap(m_transferBuffer.left(received));
    if (!map)
        return;
    m_feed.publishLearnedMap(*map);
}

void DeviceLink::readSensorVoltages()
{
    sendLetter('A');
    if (waitReply(sensorReplyLength, QStringLiteral("a")) != ReplyStatus::Ok)
        return;
    QByteArray data(sensorReplyLength - 1, '\0');
    m_port->read(reinterpret_cast<quint8*>(data.data()), int(data.size()));
    const SensorVoltages volts = *decodeSensorVoltages(data);
    m_feed.publishSensorVoltages(volts);
}

void DeviceLink::readExpertValues()
{
    sendLetter('P');
    if (waitReply(36, QStringLiteral("p")) != ReplyStatus::Ok)
        return;
    QByteArray data(35, '\0');
    const int n = m_port->read(reinterpret_cast<quint8*>(data.data()), int(data.size()));
    data.truncate(n);
    m_feed.publishExpertValues(data);
}

}  // namespace devlink
