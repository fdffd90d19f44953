// Decoding of the "D" reply and the values derived from it.
#include "link/LiveRecord.h"

#include <gtest/gtest.h>

using namespace devlink;

namespace {

// 44 bytes after the letter with distinct values in every field.
QByteArray sampleReply()
{
    const int bytes[44] = {
        0x42, 0x68,  // rpm 17000
        0x12, 0x34,  // not evaluated
        57,          // throttle
        105, 45,     // engine 85 °C, air 25 °C
        22, 78,      // ignition base, angle (28 °KW)
        0x0F, 0xA0,  // injection base 4000
        110, 125,    // corrections
        0x15, 0x7C,  // injection time 5500
        1, 2, 0, 1, 0,  // outputs 1-2, inputs 1-3
        0x02, 0xEE, 0x03, 0x20, 0x02, 0xBC,  // lambda 750, 800, 700 mV
        60,             // ignition mode: constant 10 °KW
        1, 9, 12,       // signal, teeth seen, teeth per revolution
        0x01, 0xF4,     // tooth period 500
        0x07, 0xD0,     // gap period 2000
        0x01, 0x02, 0x03, 0x04,  // time stamp
        1, 0, 3, 91, 1, 7,       // flags, CPU temperature, emergency, flag 4
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

TEST(LiveRecordDerived, WarningLimitAndCorrections)
{
    LiveRecord r;
    r.rpmForMaps = 5999;
    r.injectionBase = 4000;
    r.airTempCorrection = 110;
    r.engineTempCorrection = 97;
    r.cpuTemperature = 86;
    r.ignitionAngle = 40;
    r.injectionTime = 8500;
    LiveDerived d = deriveLiveValues(r, 85);
    EXPECT_DOUBLE_EQ(d.injectionWarnLimit, 60.0 / 6000 * 1000 * 10 * 85);  // 8500 µs
    EXPECT_FALSE(d.injectionWarning);  // equal is not above
    EXPECT_EQ(d.airTempCorrectionUs, 400);
    EXPECT_EQ(d.engineTempCorrectionUs, -120);
    EXPECT_TRUE(d.cpuTemperatureHot);
    EXPECT_EQ(d.ignitionAngleShown, -10);
    r.injectionTime = 8501;
    EXPECT_TRUE(deriveLiveValues(r, 85).injectionWarning);
    r.cpuTemperature = 85;
    EXPECT_FALSE(deriveLiveValues(r, 85).cpuTemperatureHot);
}

TEST(LiveRecordDerived, StandingEngineGivesTheWholeWarningLimit)
{
    LiveRecord r;
    EXPECT_DOUBLE_EQ(deriveLiveValues(r, 90).injectionWarnLimit, 600000.0 * 90);
}

TEST(LiveRecordDerived, CorrectionDivisionTruncates)
{
    LiveRecord r;
    r.injectionBase = 333;
    r.airTempCorrection = 101;  // 336.33 -> 336
    r.engineTempCorrection = 99;  // 329.67 -> 329
    const LiveDerived d = deriveLiveValues(r, 85);
    EXPECT_EQ(d.airTempCorrectionUs, 3);
    EXPECT_EQ(d.engineTempCorrectionUs, -4);
}

struct TriggerCase {
    const char* name;
    int rpm, signal, teethSeen, perRev, tooth, gap;
    int gaps, teeth;
    const char* gapText;
    const char* signalText;
    const char* teethText;
    const char* revText;
    int passed;
};

class TriggerChecksTest : public ::testing::TestWithParam<TriggerCase> {};

TEST_P(TriggerChecksTest, TextsAndCount)
{
    const TriggerCase& c = GetParam();
    LiveRecord r;
    r.rpmForMaps = c.rpm;
    r.signalDetected = c.signal;
    r.teethSeen = c.teethSeen;
    r.teethPerRevolution = c.perRev;
    r.toothPeriod = c.tooth;
    r.gapPeriod = c.gap;
    const TriggerChecks t = checkTriggerWheel(r, LinkSetupValues {c.gaps, c.teeth, false});
    EXPECT_EQ(t.gapText, QString::fromUtf8(c.gapText));
    EXPECT_EQ(t.signalText, QString::fromUtf8(c.signalText));
    EXPECT_EQ(t.teethText, QString::fromUtf8(c.teethText));
    EXPECT_EQ(t.revolutionText, QString::fromUtf8(c.revText));
    EXPECT_EQ(t.checksPassed, c.passed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TriggerChecksTest,
    ::testing::Values(
        // 12-tooth wheel, one gap: 10 teeth seen + 1 + 1 = 12, gap lasts two periods.
        TriggerCase {"all", 3000, 1, 10, 12, 500, 1000, 1, 12, "1.00 Ok", "Ok", "12 Ok", "Ok", 4},
        TriggerCase {"standing", 0, 0, 0, 0, 0, 0, 2, 8, "--", "--", "--", "--", 0},
        TriggerCase {"ratio just inside", 3000, 1, 10, 12, 1000, 2299, 1, 12, "1.30 Ok", "Ok",
                     "12 Ok", "Ok", 4},
        TriggerCase {"ratio outside", 3000, 1, 10, 12, 1000, 2400, 1, 12, "1.40", "Ok",
                     "12 Ok", "Ok", 3},
        TriggerCase {"wrong teeth", 3000, 1, 9, 12, 500, 1000, 1, 12, "1.00 Ok", "Ok",
                     "11 falsch", "falsch", 2},
        TriggerCase {"revolution differs", 3000, 1, 10, 13, 500, 1000, 1, 12, "1.00 Ok", "Ok",
                     "12 Ok", "falsch", 3},
        TriggerCase {"zero tooth period", 3000, 1, 10, 12, 0, 1000, 1, 12, "--", "Ok", "12 Ok",
                     "Ok", 3},
        TriggerCase {"signal byte 2", 3000, 2, 10, 12, 500, 1000, 1, 12, "1.00 Ok", "--",
                     "12 Ok", "Ok", 3}),
    [](const auto& info) {
        std::string n = info.param.name;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return n;
    });

TEST(LiveRecordSwitchText, OnlyZeroAndOneChangeTheLabel)
{
    EXPECT_EQ(switchText(0), QStringLiteral("Aus"));
    EXPECT_EQ(switchText(1), QStringLiteral("Ein"));
    EXPECT_FALSE(switchText(2).has_value());
    EXPECT_FALSE(switchText(255).has_value());
}

TEST(LiveRecordEditorPoint, RoundsToTheNearestCellAndStaysOnTheGrid)
{
    LiveRecord r;
    r.rpmForMaps = 1499;
    r.throttle = 18;  // (18 + 6.25) / 12.5 = 1.94
    r.airTemp = -20;
    r.engineTemp = 150;
    EditorLivePoint p = editorLivePoint(r);
    EXPECT_EQ(p.mapColumn, 1);
    EXPECT_EQ(p.mapRow, 1);
    EXPECT_EQ(p.airTempPoint, 0);
    EXPECT_EQ(p.engineTempPoint, 16);
    r.rpmForMaps = 16000;
    r.throttle = 255;  // a damaged byte must not point past the last row
    p = editorLivePoint(r);
    EXPECT_EQ(p.mapColumn, 16);
    EXPECT_EQ(p.mapRow, 8);
}

TEST(LiveRecordLambdaCell, HalvesRoundUp)
{
    LiveRecord r;
    r.rpmForMaps = 2500;
    r.throttle = 25;  // 2.0
    auto cell = lambdaCell(r);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->speedCell, 4);
    EXPECT_EQ(cell->throttleCell, 3);
    r.rpmForMaps = 16000;
    r.throttle = 100;
    cell = lambdaCell(r);
    EXPECT_EQ(cell->speedCell, 17);
    EXPECT_EQ(cell->throttleCell, 9);
    r.throttle = 101;
    EXPECT_FALSE(lambdaCell(r).has_value());
}

}  // namespace
