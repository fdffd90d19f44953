// The lambda table: the "B" reply order, live recording, the averaged probes and the classes.
#include "app/core/LambdaClass.h"
#include "lambda/LambdaTable.h"

#include <gtest/gtest.h>

using namespace lambda;

namespace {

// A value no other cell has, so any mix-up of i, j, k or byte order shows.
int distinct(int i, int j, int k)
{
    return 40000 + i * 1000 + j * 10 + k;  // above 255 in both bytes' sense
}

QByteArray replyWithDistinctValues(char flag)
{
    QByteArray r;
    r.append(flag);
    for (int i = 1; i <= 17; ++i)
        for (int j = 1; j <= 9; ++j)
            for (int k = 1; k <= 3; ++k) {
                const int v = distinct(i, j, k);
                r.append(char(v >> 8));
                r.append(char(v & 0xFF));
            }
    return r;
}

TEST(LambdaReply, DecodesIOuterJThenKInnerHighByteFirst)
{
    LambdaTable table;
    bool logging = false;
    ASSERT_TRUE(decodeLambdaReply(replyWithDistinctValues(1), table, logging));
    EXPECT_TRUE(logging);
    for (int i = 1; i <= 17; ++i)
        for (int j = 1; j <= 9; ++j)
            for (int k = 1; k <= 3; ++k)
                ASSERT_EQ(table.at(i, j, k), distinct(i, j, k)) << i << "," << j << "," << k;
    EXPECT_EQ(encodeLambdaReply(table, true), replyWithDistinctValues(1));
}

TEST(LambdaReply, WrongLengthLeavesTableAndFlag)
{
    const QByteArray good = replyWithDistinctValues(0);
    for (const QByteArray& bad : {good.left(good.size() - 1), good + 'x', QByteArray()}) {
        LambdaTable table;
        table.set(3, 4, 2, 777);
        const LambdaTable before = table;
        bool logging = true;
        EXPECT_FALSE(decodeLambdaReply(bad, table, logging));
        EXPECT_EQ(table, before);
        EXPECT_TRUE(logging);
    }
}

TEST(LambdaLive, StoresAtOperatingPointAndDropsBeyondTopRow)
{
    LambdaTable table;
    devlink::LiveRecord r;
    r.rpmForMaps = 16000;
    r.throttle = 100;
    r.lambda = {700.4, 810, 1200.6};
    EXPECT_TRUE(recordLive(table, r));
    EXPECT_EQ(table.at(17, 9, 1), 700);
    EXPECT_EQ(table.at(17, 9, 2), 810);
    EXPECT_EQ(table.at(17, 9, 3), 1201);

    LambdaTable untouched;
    r.throttle = 110;
    EXPECT_FALSE(recordLive(untouched, r));
    EXPECT_TRUE(untouched.isEmpty());
}

TEST(LambdaAverage, TickedProbesOnly)
{
    LambdaTable table;
    table.set(5, 5, 1, 700);
    table.set(5, 5, 2, 100);
    table.set(5, 5, 3, 900);
    EXPECT_DOUBLE_EQ(table.average(5, 5, {true, false, true}), 800);
    EXPECT_DOUBLE_EQ(table.average(5, 5, {false, false, false}), 0);
    // No probe ticked: 0.00 in the leanest colour.
    EXPECT_EQ(cellColor(table.average(5, 5, {}), {}), classColor(LambdaClass::VeryLean));
}

TEST(LambdaClasses, BoundariesTakeTheLeanerClass)
{
    const Thresholds t;  // 800, 600, 400, 200 mV
    struct Case {
        double mv;
        std::optional<LambdaClass> cls;
        const char* text;
    };
    const Case cases[] = {
        {0, LambdaClass::VeryLean, "- -"},
        {200, LambdaClass::VeryLean, "- -"},
        {201, LambdaClass::Lean, " -"},
        {400, LambdaClass::Lean, " -"},
        {500, LambdaClass::Right, ""},
        {600, LambdaClass::Right, ""},
        {800, LambdaClass::Rich, " +"},
        {801, LambdaClass::VeryRich, "+ +"},
        {2000, LambdaClass::VeryRich, "+ +"},
        {2001, std::nullopt, ""},
        {-1, std::nullopt, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(classify(c.mv, t), c.cls) << c.mv;
        EXPECT_EQ(judgementText(classify(c.mv, t)), QString::fromLatin1(c.text)) << c.mv;
    }
    EXPECT_EQ(cellColor(2001, t), kNoClassColor);
    EXPECT_EQ(cellColor(2000, t), (app::Rgb{255, 113, 2}));
}

}  // namespace
