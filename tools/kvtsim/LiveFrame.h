// The simulated KVT's live values, field by field as its "D" reply carries them, and the
// encoding of that 45-byte reply (multi-byte values high byte first).
#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <array>

namespace kvtsim {

struct LiveFrame {
    quint16 rpm = 0;
    quint16 reserved = 0;
    quint8 throttle = 0;
    quint8 engineTemp = 20;  // °C + 20
    quint8 airTemp = 20;
    quint8 ignitionBase = 0;
    quint8 ignitionAngle = 50;  // advance + 50
    quint16 injectionBase = 0;
    quint8 airTempCorrection = 100;
    quint8 engineTempCorrection = 100;
    quint16 injectionTime = 0;
    quint8 output1 = 0;
    quint8 output2 = 0;
    quint8 input1 = 0;
    quint8 input2 = 0;
    quint8 input3 = 0;
    std::array<quint16, 3> lambda{0, 0, 0};  // mV
    quint8 ignitionMode = 255;
    quint8 signalDetected = 0;
    quint8 teethSeen = 0;
    quint8 teethPerRevolution = 0;
    quint16 toothPeriod = 0;
    quint16 gapPeriod = 0;
    quint32 timeStamp = 0;  // 100 kHz counter
    quint8 statusFlag1 = 0;
    quint8 statusFlag2 = 0;
    quint8 statusFlag3 = 0;
    quint8 cpuTemperature = 40;
    quint8 emergencyProgram = 0;
    quint8 statusFlag4 = 0;

    // "d" + 44 bytes.
    QByteArray encode() const;
};

}  // namespace kvtsim
