// LiveRecord: the decoded 45-byte "D" reply. What the values mean to a window (colours, texts,
// cells) is decided by the subsystem that shows them.
#pragma once

#include "link/LinkTypes.h"

#include <QByteArray>
#include <array>
#include <optional>

namespace devlink {

struct LiveRecord {
    int rpm = 0;            // as sent
    int rpmForMaps = 0;     // rpm limited to 16000; the speed every map lookup uses
    int throttle = 0;       // percent
    double engineTemp = 0;  // °C (byte - 20)
    double airTemp = 0;
    int ignitionBase = 0;
    int ignitionAngle = 0;         // as sent; shown as byte - 50 °KW
    int injectionBase = 0;         // µs
    int airTempCorrection = 0;     // percent, 100 = none
    int engineTempCorrection = 0;  // percent
    int injectionTime = 0;         // µs
    int output1 = 0;               // raw bytes: 0 off, 1 on, anything else leaves a label unchanged
    int output2 = 0;
    int input1 = 0;
    int input2 = 0;
    int input3 = 0;
    std::array<double, 3> lambda{0, 0, 0};  // mV
    int ignitionMode = 0;                   // 255 = from the curve, else constant angle + 50
    int signalDetected = 0;
    int teethSeen = 0;
    int teethPerRevolution = 0;
    int toothPeriod = 0;
    int gapPeriod = 0;
    quint32 timeStamp = 0;  // KVT clock, units of 10 µs
    int statusFlag1 = 0;
    int statusFlag2 = 0;
    int statusFlag3 = 0;
    int cpuTemperature = 0;  // °C
    int emergencyProgram = 0;
    int statusFlag4 = 0;

    bool operator==(const LiveRecord&) const = default;
};

// Reply length of "D", letter included.
constexpr int liveReplyLength = 45;

// Decodes the 44 bytes after the letter "d" (multi-byte values high byte first).
// Returns nothing when data holds fewer than 44 bytes.
std::optional<LiveRecord> decodeLiveReply(const QByteArray& data);

}  // namespace devlink
