// The trigger-wheel checks, the ignition mode and the sensor-error counter.
#include "test/TriggerWheel.h"

#include <cctype>
#include <gtest/gtest.h>

using devlink::LiveRecord;
using namespace kvttest;

namespace {

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
    const TriggerChecks t = checkTriggerWheel(r, c.gaps, c.teeth);
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
        TriggerCase{"all", 3000, 1, 10, 12, 500, 1000, 1, 12, "1.00 Ok", "Ok", "12 Ok", "Ok", 4},
        TriggerCase{"standing", 0, 0, 0, 0, 0, 0, 2, 8, "--", "--", "--", "--", 0},
        TriggerCase{"ratio just inside", 3000, 1, 10, 12, 1000, 2299, 1, 12, "1.30 Ok", "Ok",
                    "12 Ok", "Ok", 4},
        TriggerCase{"ratio outside", 3000, 1, 10, 12, 1000, 2400, 1, 12, "1.40", "Ok", "12 Ok",
                    "Ok", 3},
        TriggerCase{"ratio just inside below", 3000, 1, 10, 12, 1000, 1701, 1, 12, "0.70 Ok", "Ok",
                    "12 Ok", "Ok", 4},
        TriggerCase{"ratio at the lower limit", 3000, 1, 10, 12, 1000, 1700, 1, 12, "0.70", "Ok",
                    "12 Ok", "Ok", 3},
        TriggerCase{"two gaps", 3000, 1, 33, 36, 1000, 3000, 2, 36, "2.00 Ok", "Ok", "36 Ok", "Ok",
                    4},
        TriggerCase{"wrong teeth", 3000, 1, 9, 12, 500, 1000, 1, 12, "1.00 Ok", "Ok", "11 falsch",
                    "falsch", 2},
        TriggerCase{"revolution differs", 3000, 1, 10, 13, 500, 1000, 1, 12, "1.00 Ok", "Ok",
                    "12 Ok", "falsch", 3},
        TriggerCase{"zero tooth period", 3000, 1, 10, 12, 0, 1000, 1, 12, "--", "Ok", "12 Ok", "Ok",
                    3},
        TriggerCase{"signal byte 2", 3000, 2, 10, 12, 500, 1000, 1, 12, "1.00 Ok", "--", "12 Ok",
                    "Ok", 3}),
    [](const auto& info) {
        std::string n = info.param.name;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return n;
    });

TEST(TriggerChecks, AnOddSignalByteLeavesTheShownTextButDoesNotPass)
{
    LiveRecord r;
    r.signalDetected = 7;
    const TriggerChecks t = checkTriggerWheel(r, 1, 12, QStringLiteral("Ok"));
    EXPECT_EQ(t.signalText, "Ok");
    EXPECT_EQ(t.checksPassed, 0);
}

TEST(IgnitionMode, CurveOrConstantAngle)
{
    LiveRecord r;
    r.ignitionMode = 255;
    EXPECT_TRUE(ignitionModeOf(r).fromCurve);
    r.ignitionMode = 62;
    EXPECT_FALSE(ignitionModeOf(r).fromCurve);
    EXPECT_EQ(ignitionModeOf(r).constantAngle, 12);
}

TEST(SensorErrorCounter, CountsFailedChecksOnlyAboveTheMinimumSpeed)
{
    SensorErrorCounter counter;
    LiveRecord r;
    TriggerChecks failed;
    failed.checksPassed = 3;
    TriggerChecks passed;
    passed.checksPassed = 4;
    r.rpmForMaps = 3000;
    counter.count(r, failed, 1000);
    EXPECT_EQ(counter.value(), 1);
    r.rpmForMaps = 1000;  // not above the minimum
    counter.count(r, failed, 1000);
    r.rpmForMaps = 5000;
    counter.count(r, passed, 1000);
    EXPECT_EQ(counter.value(), 1);
    counter.reset();
    EXPECT_EQ(counter.value(), 0);
}

TEST(SensorErrorCounter, WrapsAfter9999)
{
    SensorErrorCounter counter;
    LiveRecord r;
    r.rpmForMaps = 3000;
    const TriggerChecks failed;
    for (int i = 0; i < 10000; ++i)
        counter.count(r, failed, 0);
    EXPECT_EQ(counter.value(), 0);
    counter.count(r, failed, 0);
    EXPECT_EQ(counter.value(), 1);
}

}  // namespace
