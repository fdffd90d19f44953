// The polling cycle: "D" into the LiveRecord and its feeds, then "G", "A" and "P".
#include "link/DeviceLink.h"

#include "app/MessageLog.h"
#include "app/ProgramSettings.h"

#include <cmath>

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
        const LinkSetupValues setup = m_view->setupValues();
        // The clock offset is taken at the first "D" and whenever the expert window asks.
        if (m_clockOffsetReset) {
            m_clockOffset = m_clock.nowMs() - qint64(m_live.timeStamp / 100);
            m_clockOffsetReset = false;
        }
        feedPowerMeasurement();
        feedLambdaLogger();
        updateTriggerChecks(setup);
        m_view->ignitionModeUpdated(m_live.ignitionMode == 255, m_live.ignitionMode - 50);
        if (setup.learnActive && m_view->learnMapUpdatesShown())
            readLearnedMap();
        m_view->livePointForEditor(editorLivePoint(m_live));
    }
    // "A" and "P" are asked for even when "D" failed.
    if (m_view->settingsWindowShown() && !portFailed())
        readSensorVoltages();
    if (m_view->expertWindowShown() && !portFailed())
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
    m_derived = deriveLiveValues(m_live, int(m_settings.injectionWarnPercent));
    m_view->liveRecordUpdated(m_live, m_derived);
    return true;
}

void DeviceLink::feedPowerMeasurement()
{
    if (!m_view->powerMeasurementRunning())
        return;
    // One sample every (interval + 1)th poll.
    if (m_powerTickCounter >= m_settings.powerSampleInterval) {
        m_powerTickCounter = 0;
        const double t = m_live.timeStamp / 100.0;
        if (!m_powerRunStart)
            m_powerRunStart = t;
        const int speed = m_live.rpmForMaps > 300 ? m_live.rpmForMaps : 0;
        m_view->powerSample(t - *m_powerRunStart, speed);
    } else {
        ++m_powerTickCounter;
    }
}

void DeviceLink::feedLambdaLogger()
{
    if (!m_view->lambdaLiveRecording())
        return;
    const std::optional<LambdaCell> cell = lambdaCell(m_live);
    if (!cell)
        return;
    std::array<int, 3> mv {};
    for (int k = 0; k < 3; ++k)
        mv[k] = int(std::nearbyint(m_live.lambda[k]));
    m_view->lambdaSample(*cell, mv);
}

void DeviceLink::updateTriggerChecks(const LinkSetupValues& setup)
{
    m_triggerChecks = checkTriggerWheel(m_live, setup);
    m_view->triggerChecksUpdated(m_triggerChecks);
    if (m_live.rpmForMaps > m_settings.sensorErrorMinSpeed && !m_triggerChecks.allPassed()) {
        ++m_sensorErrorCount;
        if (m_sensorErrorCount > 9999)
            m_sensorErrorCount = 0;
    }
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
    constexpr int mapBytes = 153 * 2;
    if (received < mapBytes)
        return;
    LearnedMap map {};
    for (int row = 0; row < 9; ++row) {
        for (int column = 0; column < 17; ++column) {
            const int at = row * 34 + column * 2;
            map[row * 17 + column] = quint16(quint8(m_transferBuffer.at(at)) |
                                             (quint8(m_transferBuffer.at(at + 1)) << 8));
        }
    }
    m_view->learnedMapRead(map);
}

void DeviceLink::readSensorVoltages()
{
    sendLetter('A');
    if (waitReply(7, QStringLiteral("a")) != ReplyStatus::Ok)
        return;
    for (double& volts : m_sensorVoltages)
        volts = readWord() / 4096.0 * 2.0;
    m_view->sensorVoltagesRead(m_sensorVoltages);
}

void DeviceLink::readExpertValues()
{
    sendLetter('P');
    if (waitReply(36, QStringLiteral("p")) != ReplyStatus::Ok)
        return;
    QByteArray data(35, '\0');
    const int n = m_port->read(reinterpret_cast<quint8*>(data.data()), int(data.size()));
    data.truncate(n);
    m_view->expertValuesRead(data);
}

}  // namespace devlink
