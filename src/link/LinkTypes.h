// Link state shared with the rest of the program: reply status, device identity and the
// replies the polling cycle reads on demand.
#pragma once

#include <QString>
#include <QtGlobal>
#include <array>

namespace devlink {

// Outcome of the last open attempt or reply wait; evaluated and reset by connectStep.
enum class ReplyStatus { Ok = 0, PortUnavailable = 1, UnknownReply = 2, Timeout = 5 };

// What the identification reply ("i", 24 bytes) told. Texts hold one character per byte
// (codes 0-255), untrimmed.
struct DeviceIdentity {
    QString deviceType;  // 12 characters
    QString hw;          // 3 characters
    QString sw;
    QString bl;  // boot loader
    quint16 restartCount = 0;

    bool operator==(const DeviceIdentity&) const = default;
};

// The learned injection map from "G": 17 speed columns × 9 throttle rows, row by row over
// throttle (cell index = throttleIndex × 17 + speedIndex).
using LearnedMap = std::array<quint16, 153>;

// Sensor input voltages from "A", in volts: engine temperature, intake air, throttle.
using SensorVoltages = std::array<double, 3>;

}  // namespace devlink
