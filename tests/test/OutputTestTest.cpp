// The output tests' step lists and the timed runner.
#include "test/OutputTest.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace kvttest;

namespace {

struct Sent {
    int output;
    int value;
};

std::vector<Sent> switches(const TestSteps& steps)
{
    std::vector<Sent> out;
    for (const TestStep& s : steps)
        if (s.kind == TestStep::Switch)
            out.push_back({s.output, s.value});
    return out;
}

QStringList captions(const TestSteps& steps)
{
    QStringList out;
    for (const TestStep& s : steps)
        if (s.kind == TestStep::Caption)
            out << s.text;
    return out;
}

int waited(const TestSteps& steps)
{
    int ms = 0;
    for (const TestStep& s : steps)
        if (s.kind == TestStep::Wait)
            ms += s.value;
    return ms;
}

TEST(OutputTest, TimedOutputValuesAreTruncated)
{
    EXPECT_EQ(injectorValue(125), 62534);  // 125 / 131 × 65536 = 62534.35
    EXPECT_EQ(injectorValue(15), 7504);
    EXPECT_EQ(injectorValue(6), 3001);
    EXPECT_EQ(coilValue(8), 1000);  // 1000.55
    EXPECT_EQ(coilValue(0.25), 31);
    EXPECT_EQ(coilValue(600), 65535);  // beyond 16 bits stays at the top
}

TEST(OutputTest, EveryOutputNumberAndItsValue)
{
    struct Case {
        TestSteps steps;
        int output;
        int value;
        int count;
        int ms;
        QStringList caps;
    };
    const Case cases[] = {
        {switchOutputSteps(1, 1), 2, 1, 1, 1000, {"(1)"}},
        {switchOutputSteps(2, 10),
         3,
         10,
         1,
         10000,
         {"(10)", "(9)", "(8)", "(7)", "(6)", "(5)", "(4)", "(3)", "(2)", "(1)"}},
        {coilSteps(1, 1, 32), 4, 1000, 1, 100, {"(1)"}},
        {coilSteps(3, 10, 32), 6, 1000, 10, 1000, {}},
        {injectorSteps(1, 1), 7, 62534, 15, 750, {"(1)"}},
        {injectorSteps(3, 10), 9, 62534, 150, 7500, {}},
        {tachoSteps(7000),
         10,
         7000,
         1,
         10000,
         {"(10)", "(9)", "(8)", "(7)", "(6)", "(5)", "(4)", "(3)", "(2)", "(1)"}},
        {tachoSteps(70000), 10, 65535, 1, 10000, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.output);
        const auto sent = switches(c.steps);
        ASSERT_EQ(int(sent.size()), c.count);
        for (const Sent& s : sent) {
            EXPECT_EQ(s.output, c.output);
            EXPECT_EQ(s.value, c.value);
        }
        EXPECT_EQ(waited(c.steps), c.ms);
        if (!c.caps.isEmpty()) {
            EXPECT_EQ(captions(c.steps), c.caps);
        }
    }
}

TEST(OutputTest, FuelPumpOnThenOffAfterThreeSeconds)
{
    const TestSteps s = fuelPumpSteps();
    const auto sent = switches(s);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].output, 1);
    EXPECT_EQ(sent[0].value, 1);
    EXPECT_EQ(sent[1].value, 0);
    EXPECT_EQ(captions(s), (QStringList{"(3)", "(2)", "(1)"}));
    EXPECT_EQ(waited(s), 3000);
}

TEST(OutputTest, FlowTestPulsesAndEndsWithThePumpOff)
{
    const TestSteps s = flowTestSteps(2, false);
    const auto sent = switches(s);
    ASSERT_EQ(sent.size(), 1u + 2 * 500 + 1);
    EXPECT_EQ(sent[2].output, 8);
    EXPECT_EQ(sent[2].value, 3001);
    EXPECT_EQ(sent.back().output, 1);
    EXPECT_EQ(sent.back().value, 0);
    const QStringList caps = captions(s);
    EXPECT_EQ(caps.first(), "Start");
    EXPECT_EQ(caps[1], "500");
    EXPECT_EQ(caps.last(), "1");
}

class RunnerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QCoreApplication::instance()) {
            static int argc = 1;
            static char name[] = "test";
            static char* argv[] = {name, nullptr};
            static QCoreApplication app(argc, argv);
        }
    }
    std::vector<Sent> sent;
    bool portOpen = true;
};

TEST_F(RunnerTest, EscapeAtTheFirstPulseSwitchesThePumpOff)
{
    OutputTestRunner runner(
        [&](int o, quint16 v) {
            sent.push_back({o, v});
        },
        [&] { return portOpen; });
    QSignalSpy done(&runner, &OutputTestRunner::finished);
    QObject::connect(&runner, &OutputTestRunner::caption, [&](const QString& text) {
        if (text == "Start")
            runner.requestAbort();
    });
    ASSERT_TRUE(runner.start(flowTestSteps(1, true)));
    EXPECT_TRUE(runner.running());
    EXPECT_FALSE(runner.start(fuelPumpSteps()));
    ASSERT_TRUE(done.wait(3000));
    EXPECT_TRUE(done.at(0).at(0).toBool());   // aborted
    EXPECT_FALSE(done.at(0).at(1).toBool());  // port still there
    EXPECT_FALSE(runner.running());
    ASSERT_EQ(sent.size(), 2u);  // pump on, no pulse, pump off
    EXPECT_EQ(sent[1].output, 1);
    EXPECT_EQ(sent[1].value, 0);
}

TEST_F(RunnerTest, ALostPortEndsTheTest)
{
    OutputTestRunner runner(
        [&](int o, quint16 v) {
            sent.push_back({o, v});
        },
        [&] { return portOpen; });
    QSignalSpy done(&runner, &OutputTestRunner::finished);
    QObject::connect(&runner, &OutputTestRunner::caption, [&](const QString& text) {
        if (text == "(2)")
            portOpen = false;
    });
    QElapsedTimer clock;
    clock.start();
    runner.start(fuelPumpSteps());
    ASSERT_TRUE(done.wait(5000));
    EXPECT_TRUE(done.at(0).at(1).toBool());
    EXPECT_LT(clock.elapsed(), 2500);
    EXPECT_EQ(sent.size(), 1u);
}

}  // namespace
