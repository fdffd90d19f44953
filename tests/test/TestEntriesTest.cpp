// The test window's validation pass, flow measurement and estimates.
#include "test/TestEntries.h"

#include <gtest/gtest.h>

using namespace kvttest;

namespace {

TestInputTexts textsWith(const TestValues& v)
{
    return fieldTexts(v);
}

TEST(TestEntries, FieldsAreLimitedInThePassesOrder)
{
    struct Case {
        const char* coil;
        const char* angle;
        const char* tacho;
        const char* weight;
        int coilUnits, angleOut, tachoOut, weightTenths;
        const char* weightShown;
    };
    const Case cases[] = {
        {"100", "75", "100", "612.3", 1, 50, 500, 5000, "500.0"},
        {"3000", "-60", "20000", "-1", 12, -50, 16000, 0, "0.0"},
        {"8249", "12", "3000", "30", 32, 12, 3000, 300, "30.0"},
        {"9999", "abc", "", "11.26", 32, 0, 500, 113, "11.3"},
        {"499", "-7.6", "4000.4", "0.04", 1, -8, 4000, 0, "0.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.coil);
        TestInputTexts t = textsWith(TestValues{});
        t.coilUs = c.coil;
        t.constantAngle = c.angle;
        t.tachoSpeed = c.tacho;
        t.longWeight[1] = c.weight;
        const TestValues v = validate(t, TestValues{});
        EXPECT_EQ(v.coilChargeTime, c.coilUnits);
        EXPECT_EQ(v.constantAngle, c.angleOut);
        EXPECT_EQ(v.tachoSpeed, c.tachoOut);
        EXPECT_EQ(v.longTenths[1], c.weightTenths);
        const TestInputTexts back = fieldTexts(v);
        EXPECT_EQ(back.longWeight[1], QString::fromUtf8(c.weightShown));
        EXPECT_EQ(back.coilUs, QString::number(c.coilUnits * 250));
    }
}

TEST(TestEntries, EstimateInputsAreClampedToTheirRanges)
{
    TestInputTexts t = textsWith(TestValues{});
    t.injFlow = "5";
    t.injMaxSpeed = "99999";
    t.injVolume = "0";
    t.injEfficiency = "301";
    t.injMaxDuty = "0";
    t.coilMaxSpeed = "50";
    t.coilVoltage = "30";
    t.coilResistance = "0.04";
    t.coilInductance = "12.34";
    const TestValues v = validate(t, TestValues{});
    EXPECT_EQ(v.injFlow, 10);
    EXPECT_EQ(v.injMaxSpeed, 16000);
    EXPECT_EQ(v.injVolume, 10);
    EXPECT_EQ(v.injEfficiency, 300);
    EXPECT_EQ(v.injMaxDuty, 1);
    EXPECT_EQ(v.coilMaxSpeed, 100);
    EXPECT_DOUBLE_EQ(v.coilVoltage, 24.0);
    EXPECT_DOUBLE_EQ(v.coilResistance, 0.1);
    EXPECT_DOUBLE_EQ(v.coilInductance, 12.3);
}

TEST(TestEntries, TachoTestSpeedAsTypedButNeverWrapped)
{
    // Typed past the field's range it stays as typed; past the output's 16 bits it stops at the
    // top instead of wrapping round (4294968296 once ran the tachometer at 1000 rpm).
    const std::pair<const char*, int> cases[] = {
        {"7000", 7000},     {"20000", 20000}, {"4294968296", 65535},
        {"-4294967296", 0}, {"1e400", 1},     {"abc", 0},
    };
    for (const auto& [text, speed] : cases)
        EXPECT_EQ(tachoTestSpeed(QString::fromLatin1(text)), speed) << text;
}

TEST(TestEntries, FlowOfTheWorkedExample)
{
    // 30 g long, 11 g short: a = 0.06, b = 0.022, m = 0.0042222 g/ms.
    const auto f = computeFlows({300, 280, 0}, {110, 100, 0});
    EXPECT_EQ(switchingTimeText(f[0]), "789");
    EXPECT_EQ(flowText(f[0]), "333.3");
    // 28 g / 10 g: m = 0.002 g/ms, 315.8 ml/min; balanced against the larger injector 1.
    EXPECT_EQ(flowText(f[1]), "315.8");
    EXPECT_EQ(switchingTimeText(f[1]), "1000");
    EXPECT_EQ(balanceText(f[0]), "0");
    EXPECT_EQ(balanceText(f[1]), "56");
    EXPECT_EQ(fullLoadText(flowText(f[0])), "20.0");
}

TEST(TestEntries, NegativeSwitchingTimeShowsZero)
{
    const auto f = computeFlows({300, 0, 0}, {140, 0, 0});
    EXPECT_EQ(switchingTimeText(f[0]), "0");
    EXPECT_TRUE(f[0].flow.has_value());
}

TEST(TestEntries, InjectorsWithoutASlopeShowDashesAndStayOutOfTheLargestFlow)
{
    // Injector 2 equal weights, injector 3 nothing weighed, injector 1 short heavier than long.
    auto f = computeFlows({100, 200, 0}, {150, 200, 0});
    for (const InjectorFlow& x : f) {
        EXPECT_EQ(flowText(x), "--");
        EXPECT_EQ(balanceText(x), "--");
        EXPECT_EQ(switchingTimeText(x), "--");
    }
    EXPECT_EQ(fullLoadText(flowText(f[0])), "--");
    // A real injector beside an empty one is balanced against itself only.
    f = computeFlows({0, 300, 0}, {0, 110, 0});
    EXPECT_EQ(balanceText(f[1]), "0");
    EXPECT_EQ(balanceText(f[0]), "--");
}

TEST(TestEntries, EstimatesMatchHandWorkedNumbers)
{
    TestValues v;
    v.injFlow = 300;  // 223 g/min
    v.injVolume = 125;
    v.injEfficiency = 100;
    v.injMaxDuty = 85;
    v.injMaxSpeed = 12000;
    const InjectorEstimate i = estimateInjector(v);
    EXPECT_EQ(i.fuelGramPerMin, 223);
    EXPECT_EQ(integerText(i.requiredUs), "3480");
    EXPECT_EQ(integerText(i.availableUs), "5000");

    v.coilInductance = 4.0;
    v.coilResistance = 0.8;
    v.coilVoltage = 13.5;
    v.coilMaxSpeed = 12000;
    const CoilEstimate c = estimateCoil(v);
    EXPECT_EQ(integerText(c.chargeUs), "10000");
    EXPECT_EQ(QString::number(c.maxCurrent, 'f', 3), "14.591");
    EXPECT_EQ(integerText(c.availableUs), "4000");
}

TEST(TestEntries, SensorPositionStaysWithin10And180)
{
    EXPECT_EQ(sensorAngleStep(180, +1), 180);
    EXPECT_EQ(sensorAngleStep(10, -1), 10);
    EXPECT_EQ(sensorAngleStep(179, +1), 180);
    EXPECT_EQ(sensorAngleStep(11, -1), 10);
}

}  // namespace
