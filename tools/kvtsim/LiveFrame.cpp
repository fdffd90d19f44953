// Encoding of the simulated "D" reply.
#include "LiveFrame.h"

namespace kvtsim {

namespace {
void put16(QByteArray& out, quint16 v)
{
    out.append(char(v >> 8));
    out.append(char(v & 0xFF));
}
}  // namespace

QByteArray LiveFrame::encode() const
{
    QByteArray out;
    out.reserve(45);
    out.append('d');
    put16(out, rpm);
    put16(out, reserved);
    out.append(char(throttle));
    out.append(char(engineTemp));
    out.append(char(airTemp));
    out.append(char(ignitionBase));
    out.append(char(ignitionAngle));
    put16(out, injectionBase);
    out.append(char(airTempCorrection));
    out.append(char(engineTempCorrection));
    put16(out, injectionTime);
    for (quint8 b : {output1, output2, input1, input2, input3})
        out.append(char(b));
    for (quint16 mv : lambda)
        put16(out, mv);
    for (quint8 b : {ignitionMode, signalDetected, teethSeen, teethPerRevolution})
        out.append(char(b));
    put16(out, toothPeriod);
    put16(out, gapPeriod);
    put16(out, quint16(timeStamp >> 16));
    put16(out, quint16(timeStamp & 0xFFFF));
    for (quint8 b :
         {statusFlag1, statusFlag2, statusFlag3, cpuTemperature, emergencyProgram, statusFlag4})
        out.append(char(b));
    return out;
}

}  // namespace kvtsim
