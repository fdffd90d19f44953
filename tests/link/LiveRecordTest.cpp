// Decoding of the "D" reply and the values derived from it.
#include "link/LiveRecord.h"

#include <gtest/gtest.h>

using namespace devlink;

namespace {

// 44 bytes after the letter with distinct values in every field.
QByteArray sampleReply()
{
    const int bytes[44] = {
        0x42, 0x68,                          // rpm 17000
        0x12, 0x34,                          // not evaluated
        57,                                  // throttle
        105,  45,                            // engine 85 °C, air 25 °C
        22,   78,                            // ignition base, angle (28 °KW)
        0x0F, 0xA0,                          // injection base 4000
        110,  125,                           // corrections
        0x15, 0x7C,                          // injection time 5500
        1,    2,    0,    1,    0,           // outputs 1-2, inputs 1-3
        0x02, 0xEE, 0x03, 0x20, 0x02, 0xBC,  // lambda 750, 800, 700 mV
        60,                                  // ignition mode: constant 10 °KW
        1,    9,    12,                      // signal, teeth seen, teeth per revolution
        0x01, 0xF4,                          // tooth period 500
        0x07, 0xD0,                          // gap period 2000
        0x01, 0x02, 0x03, 0x04,              // time stamp
        1,    0,    3,    91,   1,    7,     // flags, CPU temperature, emergency, flag 4
    };
    QByteArray out;
    for (int b : bytes)
        out.append(char(b));
    return out;
}

TEST(LiveRecordDecode, EveryFieldHighByteFirst)
{
    const auto r = decodeLiveReply(sampleReply());
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->rpm, 17000);
    EXPECT_EQ(r->rpmForMaps, 16000);
    EXPECT_EQ(r->throttle, 57);
    EXPECT_DOUBLE_EQ(r->engineTemp, 85);
    EXPECT_DOUBLE_EQ(r->airTemp, 25);
    EXPECT_EQ(r->ignitionBase, 22);
    EXPECT_EQ(r->ignitionAngle, 78);
    EXPECT_EQ(r->injectionBase, 4000);
    EXPECT_EQ(r->airTempCorrection, 110);
    EXPECT_EQ(r->engineTempCorrection, 125);
    EXPECT_EQ(r->injectionTime, 5500);
    EXPECT_EQ(r->output1, 1);
    EXPECT_EQ(r->output2, 2);
    EXPECT_EQ(r->input1, 0);
    EXPECT_EQ(r->input2, 1);
    EXPECT_EQ(r->input3, 0);
    EXPECT_DOUBLE_EQ(r->lambda[0], 750);
    EXPECT_DOUBLE_EQ(r->lambda[1], 800);
    EXPECT_DOUBLE_EQ(r->lambda[2], 700);
    EXPECT_EQ(r->ignitionMode, 60);
    EXPECT_EQ(r->signalDetected, 1);
    EXPECT_EQ(r->teethSeen, 9);
    EXPECT_EQ(r->teethPerRevolution, 12);
    EXPECT_EQ(r->toothPeriod, 500);
    EXPECT_EQ(r->gapPeriod, 2000);
    EXPECT_EQ(r->timeStamp, 0x01020304u);
    EXPECT_EQ(r->statusFlag1, 1);
    EXPECT_EQ(r->statusFlag2, 0);
    EXPECT_EQ(r->statusFlag3, 3);
    EXPECT_EQ(r->cpuTemperature, 91);
    EXPECT_EQ(r->emergencyProgram, 1);
    EXPECT_EQ(r->statusFlag4, 7);
}

TEST(LiveRecordDecode, TooShortIsRefused)
{
    EXPECT_FALSE(decodeLiveReply(sampleReply().left(43)).has_value());
}

}  // namespace
