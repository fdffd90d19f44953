// Number formats of the live panel, the limiter and the identity texts.
#include "display/LiveFormat.h"

#include <gtest/gtest.h>

namespace display {
namespace {

devlink::LiveRecord sampleRecord()
{
    devlink::LiveRecord r;
    r.rpm = 6000;
    r.rpmForMaps = 6000;
    r.throttle = 38;
    r.engineTemp = 85;
    r.airTemp = -20;
    r.ignitionBase = 27;
    r.ignitionAngle = 80;
    r.injectionBase = 1000;
    r.airTempCorrection = 95;
    r.engineTempCorrection = 104;
    r.injectionTime = 8500;
    r.output1 = 1;
    r.output2 = 0;
    r.input1 = 0;
    r.input2 = 1;
    r.input3 = 2;
    r.lambda = {850, 0, 1234};
    r.cpuTemperature = 86;
    return r;
}

TEST(LiveTexts, EveryLabelOfOneRecord)
{
    const LiveTexts t = liveTexts(sampleRecord(), 85);
    EXPECT_EQ(t.rpm, "6000");
    EXPECT_EQ(t.throttle, "38");
    EXPECT_EQ(t.engineTemp, "85");
    EXPECT_EQ(t.airTemp, "-20");
    EXPECT_EQ(t.ignitionBase, "27");   // as received, no offset
    EXPECT_EQ(t.ignitionAngle, "30");  // byte 80 - 50
    EXPECT_EQ(t.injectionBase, "1000");
    EXPECT_EQ(t.airCorrectionPercent, "95%");
    EXPECT_EQ(t.airCorrectionUs, "-50");
    EXPECT_EQ(t.engineCorrectionPercent, "104%");
    EXPECT_EQ(t.engineCorrectionUs, "40");
    EXPECT_EQ(t.injectionTime, "8500");
    EXPECT_EQ(t.output1, QStringLiteral("Ein"));
    EXPECT_EQ(t.output2, QStringLiteral("Aus"));
    EXPECT_EQ(t.input1, QStringLiteral("Aus"));
    EXPECT_EQ(t.input2, QStringLiteral("Ein"));
    EXPECT_FALSE(t.input3.has_value());
    EXPECT_EQ(t.lambda[0], "0.85");
    EXPECT_EQ(t.lambda[1], "0.00");
    EXPECT_EQ(t.lambda[2], "1.23");
    EXPECT_EQ(t.cpuTemperature, "86");
    EXPECT_EQ(t.injectionTimeColor, warningRed);  // limit 8499 at 6000 rpm
    EXPECT_EQ(t.cpuTemperatureColor, warningRed);
}

TEST(LiveTexts, CorrectionDivisionTruncatesAsTheKvtComputes)
{
    EXPECT_EQ(correctionChangeUs(333, 101), 3);  // 336.33 -> 336
    EXPECT_EQ(correctionChangeUs(333, 99), -4);  // 329.67 -> 329
    EXPECT_EQ(correctionChangeUs(4000, 97), -120);
}

TEST(LiveTexts, LargeNumbersHaveNoThousandsSeparator)
{
    devlink::LiveRecord r = sampleRecord();
    r.rpm = 20000;
    r.rpmForMaps = 16000;
    r.injectionBase = 65535;
    r.injectionTime = 12345;
    const LiveTexts t = liveTexts(r, 85);
    EXPECT_EQ(t.rpm, "20000");  // shown as sent
    EXPECT_EQ(t.injectionBase, "65535");
    EXPECT_EQ(t.injectionTime, "12345");
}

TEST(LiveTexts, WarningAboveSixteenThousandUsesTheLimitedSpeed)
{
    devlink::LiveRecord r = sampleRecord();
    r.rpm = 20000;
    r.rpmForMaps = 16000;
    // At 20000 rpm the limit would be 2550 µs; at 16000 it is 3187.
    r.injectionTime = 3000;
    EXPECT_EQ(liveTexts(r, 85).injectionTimeColor, black);
    r.injectionTime = 3188;
    EXPECT_EQ(liveTexts(r, 85).injectionTimeColor, warningRed);
}

TEST(LiveTexts, WarningPercentageComesFromTheSettings)
{
    devlink::LiveRecord r = sampleRecord();
    r.injectionTime = 9000;  // above 85 % (8499), below 100 % (9998)
    EXPECT_EQ(liveTexts(r, 85).injectionTimeColor, warningRed);
    EXPECT_EQ(liveTexts(r, 100).injectionTimeColor, black);
}

struct CorrectionCase {
    int base;
    int percent;
    QString percentText;
    int changeUs;
};

class Correction : public ::testing::TestWithParam<CorrectionCase> {};

TEST_P(Correction, PercentAndTruncatedChange)
{
    const CorrectionCase& c = GetParam();
    EXPECT_EQ(correctionPercentText(c.percent), c.percentText);
    EXPECT_EQ(correctionChangeUs(c.base, c.percent), c.changeUs);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Correction,
    ::testing::Values(CorrectionCase{1000, 100, "100%", 0}, CorrectionCase{1000, 95, "95%", -50},
                      CorrectionCase{1000, 104, "104%", 40},
                      CorrectionCase{1001, 99, "99%", -11},   // 990.99 truncates to 990
                      CorrectionCase{333, 150, "150%", 166},  // 499.5 truncates to 499
                      CorrectionCase{0, 255, "255%", 0},
                      CorrectionCase{65535, 255, "255%", 101579}));  // no 16-bit overflow

TEST(SwitchStateText, OnlyZeroAndOneHaveText)
{
    EXPECT_EQ(switchStateText(0), QStringLiteral("Aus"));
    EXPECT_EQ(switchStateText(1), QStringLiteral("Ein"));
    EXPECT_FALSE(switchStateText(2).has_value());
    EXPECT_FALSE(switchStateText(255).has_value());
}

TEST(LambdaVoltsText, MillivoltsAsVoltsWithTwoDecimals)
{
    EXPECT_EQ(lambdaVoltsText(850), "0.85");
    EXPECT_EQ(lambdaVoltsText(0), "0.00");
    EXPECT_EQ(lambdaVoltsText(5000), "5.00");
    EXPECT_EQ(lambdaVoltsText(65535), "65.53");  // 65.535 is just below the half in binary
}

TEST(IgnitionAngleText, ByteMinusFifty)
{
    EXPECT_EQ(ignitionAngleText(50), "0");
    EXPECT_EQ(ignitionAngleText(0), "-50");
    EXPECT_EQ(ignitionAngleText(255), "205");
}

TEST(LimiterTexts, SpeedInHundredsOfRpmAndRetardAsStored)
{
    const LimiterTexts t = limiterTexts(90, 5);
    EXPECT_EQ(t.speed, "9000");
    EXPECT_EQ(t.retard, "5");
    EXPECT_EQ(limiterTexts(255, 0).speed, "25500");
}

TEST(IdentityTexts, HardwareAndSoftwareVersions)
{
    devlink::DeviceIdentity id;
    id.hw = QStringLiteral("2.1");
    id.sw = QStringLiteral("3.G");
    id.bl = QStringLiteral("1.0");
    const IdentityTexts t = identityTexts(id);
    EXPECT_EQ(t.hw, "2.1");
    EXPECT_EQ(t.sw, "3.G");
    EXPECT_TRUE(identityTexts({}).hw.isEmpty());
    EXPECT_TRUE(identityTexts({}).sw.isEmpty());
}

}  // namespace
}  // namespace display
