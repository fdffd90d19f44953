// Block arithmetic and spreadsheet text: each operation's values and limits on small blocks,
// and the clipboard text both ways.
#include "maps/BlockOps.h"
#include "maps/BlockText.h"

#include <gtest/gtest.h>

namespace {

using maps::BlockOp;
using maps::BlockValues;
using maps::ShownRange;

struct OpCase {
    const char* name;
    BlockValues in;
    BlockOp op;
    double amount;
    ShownRange range;
    std::vector<int> expected;
};

constexpr ShownRange injection{0, 59999};
constexpr ShownRange ignition{0, 50};
constexpr ShownRange correction{85, 235};

class BlockOpTable : public ::testing::TestWithParam<OpCase> {};

TEST_P(BlockOpTable, GivesTheExpectedCells)
{
    const OpCase& c = GetParam();
    const BlockValues out = maps::applyBlockOp(c.in, c.op, c.amount, c.range);
    EXPECT_EQ(out.columns, c.in.columns);
    EXPECT_EQ(out.rows, c.in.rows);
    EXPECT_EQ(out.values, c.expected);
}

// Blocks are listed row by row from the lowest throttle row up.
INSTANTIATE_TEST_SUITE_P(
    Ops, BlockOpTable,
    ::testing::Values(
        OpCase{"SetFillsEveryCell", {2, 2, {1, 2, 3, 4}}, BlockOp::Set, 700, injection,
               {700, 700, 700, 700}},
        OpCase{"SetIsLimitedToTheKeysRange", {2, 1, {1, 2}}, BlockOp::Set, 65000, injection,
               {59999, 59999}},
        OpCase{"AddStopsAtTheTopOfTheIgnitionRange", {3, 1, {10, 45, 50}}, BlockOp::Add, 7,
               ignition, {17, 50, 50}},
        OpCase{"NegativeAddStopsAtZero", {2, 1, {5, 500}}, BlockOp::Add, -100, injection,
               {0, 400}},
        OpCase{"CurvesKeepTheir85To235Percent", {3, 1, {90, 200, 230}}, BlockOp::Add, 10,
               correction, {100, 210, 235}},
        OpCase{"CurvesNeverDropBelow85", {2, 1, {90, 100}}, BlockOp::Add, -10, correction,
               {85, 90}},
        OpCase{"ScaleRoundsHalvesToEven", {4, 1, {1, 3, 5, 1000}}, BlockOp::Scale, 50, injection,
               {0, 2, 2, 500}},
        OpCase{"ScaleByAFractionalPercentage", {2, 1, {1000, 2000}}, BlockOp::Scale, 102.5,
               injection, {1025, 2050}},
        OpCase{"ScaleIsLimited", {2, 1, {40000, 30}}, BlockOp::Scale, 200, injection,
               {59999, 60}},
        OpCase{"SmoothPullsASpikeHalfwayToItsNeighbours", {3, 1, {100, 400, 100}},
               BlockOp::Smooth, 0, injection, {250, 250, 250}},
        OpCase{"SmoothUsesOnlyNeighboursInsideTheBlock", {2, 2, {0, 0, 0, 80}}, BlockOp::Smooth,
               0, injection, {0, 20, 20, 40}},
        OpCase{"SmoothOfOneCellChangesNothing", {1, 1, {123}}, BlockOp::Smooth, 0, injection,
               {123}},
        OpCase{"InterpolateARowBetweenItsEnds", {5, 1, {100, 0, 0, 0, 500}},
               BlockOp::Interpolate, 0, injection, {100, 200, 300, 400, 500}},
        OpCase{"InterpolateAColumnBetweenItsEnds", {1, 3, {10, 99, 30}}, BlockOp::Interpolate, 0,
               ignition, {10, 20, 30}},
        OpCase{"InterpolateARectangleBetweenItsCorners",
               {3, 3, {0, 7, 200, 7, 7, 7, 400, 7, 1000}}, BlockOp::Interpolate, 0, injection,
               {0, 100, 200, 200, 400, 600, 400, 700, 1000}},
        OpCase{"InterpolateRoundsHalvesToEven", {3, 1, {1, 0, 2}}, BlockOp::Interpolate, 0,
               injection, {1, 2, 2}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BlockText, RowsGoTopDownAsTheViewsShowThem)
{
    // Two throttle rows: the lower row 0 holds 1 2 3, the upper row 1 holds 4 5 6.
    const BlockValues block{3, 2, {1, 2, 3, 4, 5, 6}};
    EXPECT_EQ(maps::blockText(block), QStringLiteral("4\t5\t6\n1\t2\t3\n"));
    const maps::ParsedBlock back = maps::parseBlockText(maps::blockText(block));
    ASSERT_TRUE(back.block) << back.error.toStdString();
    EXPECT_EQ(*back.block, block);
}

TEST(BlockText, ReadsWhatSpreadsheetsWrite)
{
    const maps::ParsedBlock p = maps::parseBlockText(QStringLiteral(" 10,5\t7.5 \r\n-3\t+4\r\n\r\n"));
    ASSERT_TRUE(p.block) << p.error.toStdString();
    EXPECT_EQ(p.block->columns, 2);
    EXPECT_EQ(p.block->rows, 2);
    // Halves to the even neighbour; the first line is the upper row.
    EXPECT_EQ(p.block->values, (std::vector<int>{-3, 4, 10, 8}));
}

TEST(BlockText, RefusesWhatIsNoBlockOfNumbers)
{
    struct Case {
        QString text;
        QString errorHas;
    };
    const Case cases[] = {
        {QString(), QStringLiteral("keine Werte")},
        {QStringLiteral("\n\n"), QStringLiteral("keine Werte")},
        {QStringLiteral("1\t2\n3\n"), QStringLiteral("verschieden viele")},
        {QStringLiteral("1\tzwei\n"), QStringLiteral("Zeile 1, Spalte 2: \"zwei\"")},
        {QStringLiteral("1\t\t3\n"), QStringLiteral("Spalte 2")},
        {QStringLiteral("1e3\n"), QStringLiteral("keine Zahl")},
        {QStringLiteral("1.2.3\n"), QStringLiteral("keine Zahl")},
        {QString(maps::blockTextLimit + 1, u'1'), QStringLiteral("zu viel")},
    };
    for (const Case& c : cases) {
        const maps::ParsedBlock p = maps::parseBlockText(c.text);
        EXPECT_FALSE(p.block) << c.text.left(30).toStdString();
        EXPECT_TRUE(p.error.contains(c.errorHas)) << p.error.toStdString();
    }
}

}  // namespace
