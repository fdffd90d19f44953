// Projection, scales, warning limits, interpolation and read-out numbers of the map views.
#include "maps/ViewGeometry.h"

#include <gtest/gtest.h>

namespace {

using maps::mapProjection;

TEST(MapProjection, OriginStepsAndScaleFollowTheCanvas)
{
    const auto p = mapProjection(385, 255, 100);
    EXPECT_DOUBLE_EQ(p.originX, 120);
    EXPECT_DOUBLE_EQ(p.originY, 225);
    EXPECT_EQ(p.dx, 14);  // (385 - 160) div 16
    EXPECT_DOUBLE_EQ(p.k, 1.2);
    // Cell (3, 2) with value 50: 3·dx right, 20 left and up, 60 up for the value.
    const QPointF at = p.at(3, 2, 50);
    EXPECT_DOUBLE_EQ(at.x(), 120 + 42 - 20);
    EXPECT_DOUBLE_EQ(at.y(), 225 - 20 - 60);
}

TEST(InjectionScale, AllZeroMapIsScaledTo100WithTicksEvery12)
{
    setup::SetupRecord record;
    EXPECT_EQ(maps::injectionYmax(record, false, 200), 100);
    EXPECT_EQ(maps::injectionValueTicks(100), (QList<int>{0, 12, 24, 36, 48, 60, 72, 84, 96}));
}

TEST(InjectionScale, LargestCellUpTo60000OrTheCapWithKapp)
{
    setup::SetupRecord record;
    record.setInjectionCell(5, 5, 4321);
    EXPECT_EQ(maps::injectionYmax(record, false, 200), 4321);
    EXPECT_EQ(maps::injectionYmax(record, true, 1800), 1800);
    record.setInjectionCell(6, 5, 65000);
    EXPECT_EQ(maps::injectionYmax(record, false, 200), 60000);
    // Ticks stay below ymax: 4321 div 8 = 540, the ninth multiple 4320 is still below.
    const auto ticks = maps::injectionValueTicks(4321);
    EXPECT_EQ(ticks.size(), 9);
    EXPECT_EQ(ticks.last(), 4320);
    EXPECT_EQ(maps::injectionValueTicks(800).last(), 700);
}

TEST(WarningLimit, ShareOfOneRevolutionLessTheLargestDeadTime)
{
    struct Case {
        int s, percent, dead, limit;
    };
    const Case cases[] = {
        {3, 85, 0, 17000},  {3, 85, 500, 16500}, {6, 85, 0, 8500},      {7, 85, 0, 7285},
        {16, 100, 0, 3750}, {0, 85, 0, 100000},  {16, 75, 4000, -1187},
    };
    for (const Case& c : cases)
        EXPECT_EQ(maps::injectionWarnLimit(c.s, c.percent, c.dead), c.limit) << c.s;
}

TEST(WarningLimit, CellColourPrefersOrangeThenGreenBlock)
{
    using maps::injectionCellColour;
    namespace col = maps::colours;
    EXPECT_EQ(injectionCellColour(17001, 17000, false, 3, 0, 0, 0), col::warning);
    EXPECT_EQ(injectionCellColour(17000, 17000, false, 3, 0, 0, 0), col::line);
    EXPECT_EQ(injectionCellColour(100, 17000, true, 3, 2, 4, 3), col::block);
    EXPECT_EQ(injectionCellColour(100, 17000, true, 4, 2, 4, 3), col::line);
    EXPECT_EQ(injectionCellColour(100, 17000, true, 3, 3, 4, 3), col::line);
    EXPECT_EQ(injectionCellColour(100, 17000, false, 3, 2, 4, 3), col::line);
    EXPECT_EQ(injectionCellColour(20000, 17000, true, 3, 2, 4, 3), col::warning);
}

TEST(Interpolation, BilinearInsideTheMap)
{
    // m(s, t) = 100 s + 10 t is reproduced exactly by the bilinear blend.
    auto cell = [](int s, int t) { return 100.0 * s + 10.0 * t; };
    const auto c = maps::interpolateAt(cell, 3250, 31.25);
    EXPECT_EQ(c.s, 3);
    EXPECT_EQ(c.t, 2);
    EXPECT_DOUBLE_EQ(c.fs, 0.25);
    EXPECT_DOUBLE_EQ(c.ft, 0.5);
    EXPECT_DOUBLE_EQ(c.value, 325 + 25);
}

TEST(Interpolation, AboveTheLastBreakpointsUsesTheLastCellAt099)
{
    auto cell = [](int s, int t) { return s == 16 ? 1000.0 : 0.0 + t; };
    const auto c = maps::interpolateAt(cell, 16000, 100);
    EXPECT_EQ(c.s, 15);
    EXPECT_EQ(c.t, 7);
    EXPECT_DOUBLE_EQ(c.fs, 0.99);
    EXPECT_DOUBLE_EQ(c.ft, 0.99);
    const double expected =
        7 * 0.01 * 0.01 + 1000 * 0.99 * 0.01 + 8 * 0.01 * 0.99 + 1000 * 0.99 * 0.99;
    EXPECT_NEAR(c.value, expected, 1e-9);
    // A speed above 16000 (not limited by a caller) is treated the same.
    EXPECT_DOUBLE_EQ(maps::interpolateAt(cell, 25000, 100).value, c.value);
}

TEST(CurveGeometry, OriginScaleAndMarkerRange)
{
    const auto p = maps::curveProjection(385, 100);
    EXPECT_DOUBLE_EQ(p.originY, 75);
    EXPECT_EQ(p.dx, 20);
    EXPECT_DOUBLE_EQ(p.at(16, 150).y(), 75 - 67.5);
    EXPECT_FALSE(maps::curveMarkerShown(-20));
    EXPECT_FALSE(maps::curveMarkerShown(140));
    EXPECT_TRUE(maps::curveMarkerShown(-19.9));
    EXPECT_TRUE(maps::curveMarkerShown(139));
    EXPECT_DOUBLE_EQ(maps::curveMarkerPosition(25), 4.5);
}

TEST(Readouts, ThrottleRoundsHalvesToEven)
{
    const int expected[] = {0, 12, 25, 38, 50, 62, 75, 88, 100};
    for (int t = 0; t <= 8; ++t)
        EXPECT_EQ(maps::throttleReadout(t), expected[t]) << t;
    EXPECT_EQ(maps::temperatureReadout(0), -20);
    EXPECT_EQ(maps::temperatureReadout(16), 140);
    EXPECT_EQ(maps::correctionReadout(15), 100);
    EXPECT_EQ(maps::leftAligned(12, 5), QStringLiteral("12   "));
}

TEST(WheelCap, StepsOf200Within200To60000)
{
    EXPECT_EQ(maps::wheelCap(200, true), 400);
    EXPECT_EQ(maps::wheelCap(200, false), 200);
    EXPECT_EQ(maps::wheelCap(59900, true), 60000);
    EXPECT_EQ(maps::wheelCap(60000, true), 60000);
    EXPECT_EQ(maps::wheelCap(1000, false), 800);
}

TEST(AutoCursor, NearestBreakpointsStayOnTheAxes)
{
    EXPECT_EQ(maps::autoSpeedIndex(0), 0);
    EXPECT_EQ(maps::autoSpeedIndex(1499), 1);
    EXPECT_EQ(maps::autoSpeedIndex(1500), 2);
    EXPECT_EQ(maps::autoSpeedIndex(16000), 16);
    EXPECT_EQ(maps::autoThrottleIndex(6.2), 0);
    EXPECT_EQ(maps::autoThrottleIndex(6.25), 1);
    EXPECT_EQ(maps::autoThrottleIndex(100), 8);
    // The throttle byte can exceed 100 %; the row stays on the map.
    EXPECT_EQ(maps::autoThrottleIndex(255), 8);
    EXPECT_EQ(maps::autoTempIndex(-40), 0);
    EXPECT_EQ(maps::autoTempIndex(-25), 0);
    EXPECT_EQ(maps::autoTempIndex(-15), 1);
    EXPECT_EQ(maps::autoTempIndex(24), 4);
    EXPECT_EQ(maps::autoTempIndex(200), 16);
}

}  // namespace
