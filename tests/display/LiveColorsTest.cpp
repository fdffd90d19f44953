// Colour rules of the live panel and the link lamp.
#include "display/LiveColors.h"

#include <gtest/gtest.h>

namespace display {
namespace {

struct LimitCase {
    int rpmForMaps;
    int percent;
    long limit;
};

class InjectionWarnLimit : public ::testing::TestWithParam<LimitCase> {};

TEST_P(InjectionWarnLimit, IsTheRoundedSinglePrecisionShareOfOneRevolution)
{
    const LimitCase& c = GetParam();
    EXPECT_EQ(injectionWarnLimit(c.rpmForMaps, c.percent), c.limit);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InjectionWarnLimit,
    ::testing::Values(LimitCase{6000, 85, 8499},    // 8498.58 rounds up
                      LimitCase{0, 85, 51000000},   // standing engine: never reached
                      LimitCase{16000, 85, 3187},   // the largest speed the maps know
                      LimitCase{3000, 100, 19993},  // 19993.34
                      LimitCase{127, 85, 398438},   // exactly 398437.5: the even neighbour
                      // 8267.4995 in double precision is 8267.5 as a float: rounds to 8268.
                      LimitCase{5442, 75, 8268},
                      // 7113.4998 likewise becomes 7113.5 and rounds to 7114.
                      LimitCase{6325, 75, 7114}));

TEST(InjectionWarning, RedOnlyAboveTheRoundedLimit)
{
    EXPECT_EQ(injectionTimeColor(8499, 6000, 85), black);
    EXPECT_EQ(injectionTimeColor(8500, 6000, 85), warningRed);
    // The single-precision limit 8268 is not exceeded by 8268, although the unrounded
    // double-precision value (8267.4995) would be.
    EXPECT_FALSE(injectionWarning(8268, 5442, 75));
    EXPECT_TRUE(injectionWarning(8269, 5442, 75));
}

TEST(InjectionWarning, NoInjectionTimeIsRedAtEngineSpeedZero)
{
    EXPECT_FALSE(injectionWarning(65535, 0, 75));
    EXPECT_FALSE(injectionWarning(65535, 0, 100));
}

TEST(CpuTemperatureColor, RedAbove85Only)
{
    EXPECT_EQ(cpuTemperatureColor(0), black);
    EXPECT_EQ(cpuTemperatureColor(85), black);
    EXPECT_EQ(cpuTemperatureColor(86), warningRed);
    EXPECT_EQ(cpuTemperatureColor(255), warningRed);
}

struct LampCase {
    bool com;
    bool firmware;
    bool identified;
    Rgb colour;
};

class LinkLamp : public ::testing::TestWithParam<LampCase> {};

TEST_P(LinkLamp, FirstMatchingRowDecides)
{
    const LampCase& c = GetParam();
    EXPECT_EQ(linkLampColor(c.com, c.firmware, c.identified), c.colour);
}

INSTANTIATE_TEST_SUITE_P(AllStates, LinkLamp,
                         ::testing::Values(LampCase{false, false, false, Rgb{127, 127, 127}},
                                           LampCase{false, true, true, Rgb{127, 127, 127}},
                                           LampCase{false, false, true, Rgb{127, 127, 127}},
                                           LampCase{true, true, false, Rgb{255, 204, 0}},
                                           LampCase{true, true, true, Rgb{255, 204, 0}},
                                           LampCase{true, false, true, Rgb{0, 255, 0}},
                                           LampCase{true, false, false, Rgb{255, 0, 0}}));

}  // namespace
}  // namespace display
