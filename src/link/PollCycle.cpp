// The polling cycle: "D" into the LiveRecord for every subscriber, then "G", "A" and "P" when
// a registered query wants them.
#include "link/PollCycle.h"

#include "app/core/MessageLog.h"
#include "link/Identification.h"
#include "link/PortConnection.h"
#include "link/PortLine.h"
#include "link/ReplyCodec.h"

namespace devlink {

namespace {
constexpr int expertReplyLength = 36;
}  // namespace

PollCycle::PollCycle(PortConnection& connection, PortLine& line,
                     const Identification& identification, QByteArray& transferBuffer)
    : m_connection(connection), m_line(line), m_identification(identification),
      m_transferBuffer(transferBuffer)
{
}

void PollCycle::run()
{
    if (!m_identification.identified())
        return;
    if (m_connection.portFailed()) {
        m_line.setReplyStatus(ReplyStatus::PortUnavailable);
        return;
    }
    if (pollLiveValues()) {
        // The clock offset is taken at the first "D" and whenever the expert window asks.
        if (m_clockOffsetReset) {
            m_clockOffset = m_line.clock().nowMs() - qint64(m_live.timeStamp / 100);
            m_clockOffsetReset = false;
        }
        m_feed.publishLive(m_live);
        if (m_feed.wanted(OnDemand::LearnedMap))
            readLearnedMap();
    }
    // "A" and "P" are asked for even when "D" failed.
    if (m_feed.wanted(OnDemand::SensorVoltages) && !m_connection.portFailed())
        readSensorVoltages();
    if (m_feed.wanted(OnDemand::ExpertValues) && !m_connection.portFailed())
        readExpertValues();
}

bool PollCycle::pollLiveValues()
{
    m_line.sendLetter('D');
    if (m_line.waitReply(liveReplyLength, QStringLiteral("d")) != ReplyStatus::Ok)
        return false;
    const std::optional<LiveRecord> record = decodeLiveReply(m_line.read(liveReplyLength - 1));
    if (!record)
        return false;
    m_live = *record;
    return true;
}

void PollCycle::readLearnedMap()
{
    m_line.sendLetter('G');
    m_line.pause(100);
    const std::optional<quint8> first = m_line.readByte();
    if (!first || *first != 'g')
        return;
    m_transferBuffer.fill('\0', transferBufferSize);
    int received = 0;
    while (received < transferBufferSize) {
        const std::optional<quint8> byte = m_line.readByte();
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

void PollCycle::readSensorVoltages()
{
    m_line.sendLetter('A');
    if (m_line.waitReply(sensorReplyLength, QStringLiteral("a")) != ReplyStatus::Ok)
        return;
    // Exactly the 6 bytes after the letter are waiting.
    const QByteArray data =
        m_line.read(sensorReplyLength - 1).leftJustified(sensorReplyLength - 1, '\0');
    m_feed.publishSensorVoltages(*decodeSensorVoltages(data));
}

void PollCycle::readExpertValues()
{
    m_line.sendLetter('P');
    if (m_line.waitReply(expertReplyLength, QStringLiteral("p")) != ReplyStatus::Ok)
        return;
    m_feed.publishExpertValues(m_line.read(expertReplyLength - 1));
}

}  // namespace devlink
