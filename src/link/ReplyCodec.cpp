// Decoding of the "I", "G" and "A" replies.
#include "link/ReplyCodec.h"

namespace devlink {

namespace {
int byteAt(const QByteArray& data, int at)
{
    return quint8(data.at(at));
}
}  // namespace

std::optional<DeviceIdentity> decodeIdentityReply(const QByteArray& data)
{
    if (data.size() < identityReplyLength - 1)
        return std::nullopt;
    QString text;
    for (int i = 0; i < 21; ++i)
        text += QChar(char16_t(byteAt(data, i)));
    DeviceIdentity id;
    id.deviceType = text.mid(0, 12);
    id.hw = text.mid(12, 3);
    id.sw = text.mid(15, 3);
    id.bl = text.mid(18, 3);
    id.restartCount = quint16(byteAt(data, 21) * 256 + byteAt(data, 22));
    return id;
}

std::optional<LearnedMap> decodeLearnedMap(const QByteArray& data)
{
    if (data.size() < learnedMapBytes)
        return std::nullopt;
    LearnedMap map{};
    for (int row = 0; row < 9; ++row) {
        for (int column = 0; column < 17; ++column) {
            const int at = row * 34 + column * 2;
            map[row * 17 + column] = quint16(byteAt(data, at) | (byteAt(data, at + 1) << 8));
        }
    }
    return map;
}

std::optional<SensorVoltages> decodeSensorVoltages(const QByteArray& data)
{
    if (data.size() < sensorReplyLength - 1)
        return std::nullopt;
    SensorVoltages volts{};
    for (int i = 0; i < 3; ++i)
        volts[i] = (byteAt(data, 2 * i) * 256 + byteAt(data, 2 * i + 1)) / 4096.0 * 2.0;
    return volts;
}

}  // namespace devlink
