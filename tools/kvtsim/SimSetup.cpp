// Factory setup of the simulated KVT and access to its setup block.
#include "SimSetup.h"

#include <algorithm>
#include <cmath>

namespace kvtsim {

int setupByte(const QByteArray& block, int at)
{
    return quint8(block.at(at));
}

int setupWord(const QByteArray& block, int at)
{
    return quint8(block.at(at)) | (quint8(block.at(at + 1)) << 8);
}

void setSetupByte(QByteArray& block, int at, int value)
{
    block[at] = char(quint8(value));
}

void setSetupWord(QByteArray& block, int at, int value)
{
    block[at] = char(value & 0xFF);
    block[at + 1] = char((value >> 8) & 0xFF);
}

int injectionCell(const QByteArray& block, int speed, int throttle)
{
    return setupWord(block, offset::injectionMap + 2 * (throttle * 17 + speed));
}

int ignitionCell(const QByteArray& block, int speed, int throttle)
{
    return setupByte(block, offset::ignitionMap + throttle * 17 + speed);
}

QByteArray factorySetup()
{
    QByteArray b(setupBlockSize, '\0');
    // Sensor calibration: two points per sensor (t20, centivolts, percent).
    const int sensorCal[] = {20 + 20, 220, 20 + 100, 40, 20 + 0, 230,
                             20 + 60, 110, 0,        50, 100,    230};
    for (int i = 0; i < 12; ++i)
        setSetupByte(b, offset::engineTempCal1Temp + i, std::min(sensorCal[i], 255));
    setSetupByte(b, offset::coilChargeTime, 12);  // 3 ms
    setSetupByte(b, 15, 0);
    setSetupByte(b, offset::sensorAngle, 60);
    setSetupByte(b, offset::triggerTeeth, 12);
    setSetupByte(b, offset::injectionStartAngle, 90);
    setSetupWord(b, 19, 4000);  // start injection time
    setSetupByte(b, 21, 3);
    setSetupByte(b, offset::quickStartSpeed, 25);
    setSetupByte(b, offset::limiterSpeed, 110);
    setSetupByte(b, offset::limiterRetard, 15);
    setSetupByte(b, offset::output1Speed1, 40);
    setSetupByte(b, offset::output2Speed1, 60);
    for (int i = 0; i < 3; ++i)
        setSetupByte(b, offset::injectionExtension + i, 0);
    for (int t = 0; t < 17; ++t) {
        // Richer when cold: 130 % at -20 °C falling to 100 % at 80 °C.
        const int air = std::clamp(15 + (6 - t) * 3, 5, 60);
        setSetupByte(b, offset::airTempCorrection + t, air);
        const int engine = std::clamp(15 + (10 - t) * 4, 15, 60);
        setSetupByte(b, offset::engineTempCorrection + t, engine);
    }
    for (int r = 0; r < 9; ++r) {
        for (int s = 0; s < 17; ++s) {
            const int advance = std::clamp(8 + s * 2 - r, 0, 32);
            setSetupByte(b, offset::ignitionMap + r * 17 + s, advance);
            const double base = 900 + 450.0 * r + 120.0 * s + 30.0 * r * s;
            setSetupWord(b, offset::injectionMap + 2 * (r * 17 + s), int(std::lround(base)));
        }
    }
    setSetupByte(b, 529, 0);
    setSetupByte(b, offset::tachoPulses, 1);
    setSetupByte(b, 531, 5);
    setSetupByte(b, offset::dynamicFactor1, 3);
    setSetupByte(b, offset::dynamicFactor2, 3);
    setSetupByte(b, 534, 15);
    setSetupByte(b, 535, 50);
    setSetupByte(b, 536, 1);
    setSetupByte(b, offset::learnActive, 0);
    setSetupByte(b, offset::learnMinEngineTemp, 70);
    setSetupByte(b, 539, 20);
    setSetupByte(b, 540, 160);
    setSetupByte(b, 541, 10);
    setSetupByte(b, 542, 100);
    setSetupWord(b, offset::lambdaTarget, 750);
    setSetupByte(b, 545, 1);
    setSetupByte(b, 546, 100);
    setSetupByte(b, offset::output1Mode, 1);
    setSetupByte(b, offset::output2Mode, 0);
    setSetupByte(b, offset::output1Speed2, 90);
    setSetupByte(b, offset::output2Speed2, 100);
    setSetupByte(b, offset::triggerGaps, 1);
    setSetupWord(b, offset::learnIncrement, 100);
    setSetupByte(b, 557, 10);
    for (int i = 0; i < 3; ++i)
        setSetupWord(b, 558 + 2 * i, 700);  // injector dead times
    setSetupByte(b, 564, 120);
    setSetupByte(b, 568, 20 + 110);
    setSetupByte(b, 569, 60);
    setSetupByte(b, offset::limpTiming, 30 + 10);
    setSetupByte(b, offset::limpEnrichment, 100);
    setSetupByte(b, 573, 20 + 50);
    setSetupByte(b, 574, 2);
    setSetupByte(b, 575, 10);
    setSetupByte(b, 576, 20);
    setSetupByte(b, offset::ignitionMapEnabled, 1);
    return b;
}

}  // namespace kvtsim
