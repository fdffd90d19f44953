// LiveRecord: the decoded 45-byte "D" reply, and the values derived from it in the same tick
// (warning limit, corrections in µs, trigger-wheel checks, editor and lambda cells).
#pragma once

#include "link/LinkTypes.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace devlink {

struct LiveRecord {
    int rpm = 0;         // as sent
    int rpmForMaps = 0;  // rpm limited to 16000; used by every map lookup, logger, power, lambda
    int throttle = 0;    // percent
    double engineTemp = 0;  // °C (byte - 20)
    double airTemp = 0;
    int ignitionBase = 0;
    int ignitionAngle = 0;  // as sent; shown as byte - 50 °KW
    int injectionBase = 0;  // µs
    int airTempCorrection = 0;     // percent, 100 = none
    int engineTempCorrection = 0;  // percent
    int injectionTime = 0;         // µs
    int output1 = 0;  // raw bytes: 0 off, 1 on, anything else leaves a label unchanged
    int output2 = 0;
    int input1 = 0;
    int input2 = 0;
    int input3 = 0;
    std::array<double, 3> lambda {0, 0, 0};  // mV
    int ignitionMode = 0;  // 255 = from the curve, else constant angle + 50
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

// Values derived from one record.
struct LiveDerived {
    double injectionWarnLimit = 0;  // µs: injection time that fills the warning share of a turn
    bool injectionWarning = false;  // injection time above the limit rounded: shown red
    int airTempCorrectionUs = 0;
    int engineTempCorrectionUs = 0;
    bool cpuTemperatureHot = false;  // above 85 °C: shown red
    int ignitionAngleShown = 0;      // ignition angle - 50
};

LiveDerived deriveLiveValues(const LiveRecord& record, int injectionWarnPercent);

// The test window's "Sensorstabilität" texts.
struct TriggerChecks {
    QString gapText;         // "Lückenerkennung:"
    QString signalText;      // "Signal erkannt:"
    QString teethText;       // "erkannte Zähnezahl:"
    QString revolutionText;  // "Umdrehung erkannt:"
    double gapRatio = 0;
    bool gapRatioValid = false;
    int countedTeeth = 0;
    int checksPassed = 0;  // 0-4; all four draw a green tick, fewer a red cross

    bool allPassed() const { return checksPassed == 4; }
};

TriggerChecks checkTriggerWheel(const LiveRecord& record, const LinkSetupValues& setup);

// "Aus" for 0, "Ein" for 1, nothing (label unchanged) for any other byte.
std::optional<QString> switchText(int byte);

// Where the map editor's "auto" cursor goes for the live values.
struct EditorLivePoint {
    int mapColumn = 0;  // speedIndex 0-16 for the injection and ignition maps
    int mapRow = 0;     // throttleIndex 0-8
    int airTempPoint = 0;     // tempIndex 0-16 of the intake-air curve
    int engineTempPoint = 0;  // tempIndex 0-16 of the engine-temperature curve
};

EditorLivePoint editorLivePoint(const LiveRecord& record);

// Lambda table cell for the live values, counted from 1 (speed 1-17, throttle 1-9); halves
// round up. Nothing when the throttle lies outside 0-100 %.
struct LambdaCell {
    int speedCell = 1;
    int throttleCell = 1;
};
std::optional<LambdaCell> lambdaCell(const LiveRecord& record);

}  // namespace devlink
