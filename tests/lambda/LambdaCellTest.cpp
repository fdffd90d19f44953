// The lambda table cell and voltages of a polled record.
#include "lambda/LambdaCell.h"

#include <gtest/gtest.h>

using devlink::LiveRecord;
using namespace lambda;

namespace {

TEST(LambdaCell, HalvesRoundUp)
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

TEST(LambdaCell, MillivoltsRoundToWholeNumbers)
{
    LiveRecord r;
    r.lambda = {700.4, 750.5, 65535};
    EXPECT_EQ(lambdaMillivolts(r), (std::array<int, 3> {700, 750, 65535}));
}

}  // namespace
