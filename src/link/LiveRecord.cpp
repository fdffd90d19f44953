// Decoding of the "D" reply and the values derived from it.
#include "link/LiveRecord.h"

#include <algorithm>
#include <cmath>

namespace devlink {

namespace {

class Reader {
public:
    explicit Reader(const QByteArray& data) : m_data(data) {}
    int u8() { return quint8(m_data.at(m_pos++)); }
    int u16()
    {
        const int high = u8();
        return high * 256 + u8();
    }
    quint32 u32()
    {
        const quint32 high = quint32(u16());
        return (high << 16) | quint32(u16());
    }

private:
    const QByteArray& m_data;
    int m_pos = 0;
};

}  // namespace

std::optional<LiveRecord> decodeLiveReply(const QByteArray& data)
{
    if (data.size() < liveReplyLength - 1)
        return std::nullopt;
    Reader in(data);
    LiveRecord r;
    r.rpm = in.u16();
    r.rpmForMaps = std::min(r.rpm, 16000);
    in.u16();  // not evaluated
    r.throttle = in.u8();
    r.engineTemp = in.u8() - 20;
    r.airTemp = in.u8() - 20;
    r.ignitionBase = in.u8();
    r.ignitionAngle = in.u8();
    r.injectionBase = in.u16();
    r.airTempCorrection = in.u8();
    r.engineTempCorrection = in.u8();
    r.injectionTime = in.u16();
    r.output1 = in.u8();
    r.output2 = in.u8();
    r.input1 = in.u8();
    r.input2 = in.u8();
    r.input3 = in.u8();
    for (double& mv : r.lambda)
        mv = in.u16();
    r.ignitionMode = in.u8();
    r.signalDetected = in.u8();
    r.teethSeen = in.u8();
    r.teethPerRevolution = in.u8();
    r.toothPeriod = in.u16();
    r.gapPeriod = in.u16();
    r.timeStamp = in.u32();
    r.statusFlag1 = in.u8();
    r.statusFlag2 = in.u8();
    r.statusFlag3 = in.u8();
    r.cpuTemperature = in.u8();
    r.emergencyProgram = in.u8();
    r.statusFlag4 = in.u8();
    return r;
}

LiveDerived deriveLiveValues(const LiveRecord& record, int injectionWarnPercent)
{
    LiveDerived d;
    // The injection time that fills the warning share of one revolution, in µs.
    d.injectionWarnLimit = 60.0 / (record.rpmForMaps + 1) * 1000.0 * 10.0 * injectionWarnPercent;
    d.injectionWarning = record.injectionTime > std::nearbyint(d.injectionWarnLimit);
    // Integer arithmetic as the KVT computes it: the division truncates.
    d.airTempCorrectionUs =
        record.injectionBase * record.airTempCorrection / 100 - record.injectionBase;
    d.engineTempCorrectionUs =
        record.injectionBase * record.engineTempCorrection / 100 - record.injectionBase;
    d.cpuTemperatureHot = record.cpuTemperature > 85;
    d.ignitionAngleShown = record.ignitionAngle - 50;
    return d;
}

TriggerChecks checkTriggerWheel(const LiveRecord& record, const LinkSetupValues& setup)
{
    TriggerChecks c;
    // A tooth period of 0 has no ratio; it fails the gap check instead of dividing by zero.
    c.gapRatioValid = record.toothPeriod > 0;
    if (c.gapRatioValid)
        c.gapRatio = double(record.gapPeriod) / record.toothPeriod - 1.0;
    if (record.rpmForMaps > 0 && c.gapRatioValid) {
        c.gapText = QString::number(c.gapRatio, 'f', 2);
        if (setup.triggerGaps - 0.3 < c.gapRatio && c.gapRatio < setup.triggerGaps + 0.3) {
            c.gapText += QStringLiteral(" Ok");
            ++c.checksPassed;
        }
    } else {
        c.gapText = QStringLiteral("--");
    }

    if (record.signalDetected == 1) {
        c.signalText = QStringLiteral("Ok");
        ++c.checksPassed;
    } else {
        c.signalText = QStringLiteral("--");
    }

    c.countedTeeth = record.teethSeen + setup.triggerGaps + 1;
    if (record.teethSeen == 0) {
        c.teethText = QStringLiteral("--");
        c.revolutionText = QStringLiteral("--");
    } else {
        c.teethText = QString::number(c.countedTeeth);
        if (c.countedTeeth == setup.triggerTeeth) {
            c.teethText += QStringLiteral(" Ok");
            ++c.checksPassed;
        } else {
            c.teethText += QStringLiteral(" falsch");
        }
        if (c.countedTeeth == record.teethPerRevolution) {
            c.revolutionText = QStringLiteral("Ok");
            ++c.checksPassed;
        } else {
            c.revolutionText = QStringLiteral("falsch");
        }
    }
    return c;
}

std::optional<QString> switchText(int byte)
{
    if (byte == 0)
        return QStringLiteral("Aus");
    if (byte == 1)
        return QStringLiteral("Ein");
    return std::nullopt;
}

EditorLivePoint editorLivePoint(const LiveRecord& record)
{
    EditorLivePoint p;
    p.mapColumn = std::clamp(int((record.rpmForMaps + 500) / 1000), 0, 16);
    // A throttle byte above 100 % would point past the last row.
    p.mapRow = std::clamp(int((record.throttle + 6.25) / 12.5), 0, 8);
    p.airTempPoint = std::clamp(int(std::trunc((record.airTemp + 25) / 10)), 0, 16);
    p.engineTempPoint = std::clamp(int(std::trunc((record.engineTemp + 25) / 10)), 0, 16);
    return p;
}

std::optional<LambdaCell> lambdaCell(const LiveRecord& record)
{
    if (record.throttle > 100)
        return std::nullopt;
    LambdaCell cell;
    cell.speedCell = int(std::floor(record.rpmForMaps / 1000.0 + 0.5)) + 1;
    cell.throttleCell = int(std::floor(record.throttle / 12.5 + 0.5)) + 1;
    return cell;
}

}  // namespace devlink
