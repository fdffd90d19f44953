// Decoding of the "I", "G" and "A" replies: pure functions over the bytes after the reply
// letter, shared by the link and the fuzz targets (the "D" reply lives with the LiveRecord).
#pragma once

#include "link/LinkTypes.h"

#include <QByteArray>
#include <optional>

namespace devlink {

// Reply lengths, letter included.
constexpr int identityReplyLength = 24;
constexpr int sensorReplyLength = 7;
// The learned map's bytes at the start of the "G" reply: 153 cells, low byte first.
constexpr int learnedMapBytes = 153 * 2;

// Device type (12), HW, SW and BL (3 each) as one character per byte, then the restart count
// high byte first. Nothing when data holds fewer than 23 bytes.
std::optional<DeviceIdentity> decodeIdentityReply(const QByteArray& data);

// Row by row over throttle, 17 cells of two bytes each. Nothing when data holds fewer than
// learnedMapBytes.
std::optional<LearnedMap> decodeLearnedMap(const QByteArray& data);

// Three 12-bit conversions of a 2 V reference, high byte first, in volts. Nothing when data
// holds fewer than 6 bytes.
std::optional<SensorVoltages> decodeSensorVoltages(const QByteArray& data);

}  // namespace devlink
