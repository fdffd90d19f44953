// The simulated KVT's 578-byte setup block: byte offsets of the fields the simulator uses and
// a plausible factory setup for a single-cylinder two-stroke engine.
#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace kvtsim {

constexpr int setupBlockSize = 578;

namespace offset {
constexpr int cylinderOffset12 = 0;
constexpr int engineTempCal1Temp = 2;
constexpr int airTempCal1Temp = 6;
constexpr int throttleCal1Percent = 10;
constexpr int coilChargeTime = 14;
constexpr int sensorAngle = 16;
constexpr int triggerTeeth = 17;
constexpr int injectionStartAngle = 18;
constexpr int quickStartSpeed = 22;
constexpr int limiterSpeed = 23;
constexpr int limiterRetard = 24;
constexpr int output1Speed1 = 25;
constexpr int output2Speed1 = 26;
constexpr int injectionExtension = 27;
constexpr int airTempCorrection = 36;      // 17 bytes
constexpr int ignitionMap = 53;            // 153 bytes, row by row over throttle
constexpr int injectionMap = 206;          // 153 words, little-endian, same order
constexpr int engineTempCorrection = 512;  // 17 bytes
constexpr int tachoPulses = 530;
constexpr int dynamicFactor1 = 532;
constexpr int dynamicFactor2 = 533;
constexpr int learnActive = 537;
constexpr int learnMinEngineTemp = 538;
constexpr int lambdaTarget = 543;  // word
constexpr int output1Mode = 547;
constexpr int output2Mode = 548;
constexpr int output1Speed2 = 552;
constexpr int output2Speed2 = 553;
constexpr int triggerGaps = 554;
constexpr int learnIncrement = 555;  // word
constexpr int lambdaLogging = 567;
constexpr int limpTiming = 570;
constexpr int limpEnrichment = 571;
constexpr int ignitionMapEnabled = 577;
}  // namespace offset

// The setup a new simulated KVT starts with (also its first EEPROM contents).
QByteArray factorySetup();

// Little helpers over a setup block (bounds are the caller's: offsets above are in range).
int setupByte(const QByteArray& block, int at);
int setupWord(const QByteArray& block, int at);
void setSetupByte(QByteArray& block, int at, int value);
void setSetupWord(QByteArray& block, int at, int value);

// Map and curve cells (speed 0-16, throttle 0-8, temperature 0-16).
int injectionCell(const QByteArray& block, int speed, int throttle);
int ignitionCell(const QByteArray& block, int speed, int throttle);

}  // namespace kvtsim
