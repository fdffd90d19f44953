// Decoding of the "D" reply.
#include "link/LiveRecord.h"

#include <algorithm>

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

}  // namespace devlink
