// Taking over the parameter fields, and the capture of a run: which live replies become
// samples, their times from the KVT's clock, the recording limit and the remaining seconds.
#include "power/PowerCapture.h"
#include "power/PowerParameters.h"

#include <gtest/gtest.h>

using namespace power;

TEST(PowerParameters, FieldsAreRoundedAndLimited)
{
    struct Case {
        Parameter field;
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        {Parameter::Ratio, "25", "20.00"},
        {Parameter::Ratio, "0", "0.01"},
        {Parameter::Ratio, "1.234", "1.23"},
        {Parameter::Ratio, "1.235", "1.24"},
        {Parameter::Ratio, "abc", "0.01"},
        {Parameter::Temperature, "-40", "-25"},
        {Parameter::Temperature, "22.9", "22"},
        {Parameter::Pressure, "", "700"},
        {Parameter::Humidity, "100", "99"},
        {Parameter::Mass, "3500", "3000"},
        {Parameter::WheelCircumference, "0", "1"},
        {Parameter::RollerCircumference, "250", "200"},
        {Parameter::Inertia, "15", "15.0"},
        {Parameter::Inertia, "0.125", "0.13"},
        {Parameter::Inertia, "1000", "100.0"},
        {Parameter::Inertia, "0.104", "0.1"},
        {Parameter::Cw, "3", "2.00"},
        {Parameter::FrontalArea, "0.004", "0.01"},
    };
    for (const Case& c : cases) {
        ParameterTexts texts = parameterTexts(PowerParameters{});
        texts[int(c.field)] = QString::fromUtf8(c.typed);
        const ParameterTexts shown = parameterTexts(parametersFromTexts(texts));
        EXPECT_EQ(shown[int(c.field)], QString::fromUtf8(c.shown)) << c.typed;
    }
}

TEST(PowerParameters, TakingOverTheShownValuesChangesNothing)
{
    PowerParameters p;
    p.inertia = 8.15f;
    p.ratio = 0.11f;
    EXPECT_EQ(parametersFromTexts(parameterTexts(p)), p);
    EXPECT_EQ(parametersFromTexts(parameterTexts(PowerParameters{})), PowerParameters{});
}

TEST(PowerParameters, DamagedValuesAreLimited)
{
    PowerParameters p;
    p.ratio = 0;
    p.rollerCircumference = 0;
    p.inertia = std::numeric_limits<float>::quiet_NaN();
    p.cw = 1e30f;
    const PowerParameters q = clampParameters(p);
    EXPECT_FLOAT_EQ(q.ratio, 0.01f);
    EXPECT_EQ(q.rollerCircumference, 1);
    EXPECT_FLOAT_EQ(q.inertia, 0.01f);
    EXPECT_FLOAT_EQ(q.cw, 2.0f);
}

TEST(PowerCapture, SamplesEveryIntervalPlusOneReply)
{
    PowerCapture c;
    c.start(0);
    std::vector<int> taken;
    for (int reply = 1; reply <= 13; ++reply)
        if (c.sampleHook(1000 + reply, quint32(reply * 10000), 3))
            taken.push_back(reply);
    EXPECT_EQ(taken, (std::vector<int>{4, 8, 12}));
    EXPECT_EQ(c.samples()[0].time, 0.0f);
    EXPECT_EQ(c.samples()[0].speed, 1004.0f);
    EXPECT_EQ(c.samples()[1].time, 400.0f);  // 40000 units of 10 µs
    EXPECT_EQ(c.samples()[2].time, 800.0f);
}

TEST(PowerCapture, SpeedsUpTo300RecordAsZero)
{
    PowerCapture c;
    c.start(0);
    c.sampleHook(300, 0, 0);
    c.sampleHook(301, 100, 0);
    EXPECT_EQ(c.samples()[0].speed, 0.0f);
    EXPECT_EQ(c.samples()[1].speed, 301.0f);
}

TEST(PowerCapture, TimeStampsWrapAround)
{
    // A KVT that has run for almost 12 hours: the 32-bit counter wraps during the run.
    PowerCapture c;
    c.start(0);
    const quint32 first = 0xFFFFFFFFu - 4999;
    c.sampleHook(2000, first, 0);
    c.sampleHook(2000, first + 10000, 0);  // wraps
    c.sampleHook(2000, first + 10050, 0);
    EXPECT_EQ(c.samples()[1].time, 100.0f);
    EXPECT_EQ(c.samples()[2].time, 100.5f);

    // Far from 0 whole milliseconds stay exact.
    c.start(0);
    c.sampleHook(2000, 4000000000u, 0);
    c.sampleHook(2000, 4000000000u + 5912300u, 0);
    EXPECT_EQ(c.samples()[1].time, 59123.0f);
}

TEST(PowerCapture, TimerHookShowsRemainingSecondsAndEndsAtTheLimit)
{
    PowerCapture c;
    c.start(1000);
    TimerStep s = c.timerHook(1000);
    EXPECT_EQ(s.remainingSeconds, 60);
    EXPECT_TRUE(s.recompute);  // nothing taken since the start
    EXPECT_FALSE(s.ended);

    c.sampleHook(2000, 0, 3);  // counter 1: no sample, no recompute
    s = c.timerHook(1000 + 15500);
    EXPECT_EQ(s.progress, 15500);
    EXPECT_EQ(s.remainingSeconds, 44);
    EXPECT_FALSE(s.recompute);

    s = c.timerHook(1000 + 60000);
    EXPECT_TRUE(s.ended);
    EXPECT_EQ(s.progress, 0);
    EXPECT_FALSE(s.remainingSeconds);
    EXPECT_FALSE(c.measuring());
    EXPECT_FALSE(c.sampleHook(2000, 0, 0));
}

TEST(PowerCapture, EndsAfter700Samples)
{
    PowerCapture c;
    c.start(0);
    for (int i = 0; i < 705; ++i)
        c.sampleHook(2000 + i, quint32(i * 100), 0);
    EXPECT_EQ(c.count(), sampleCount);
    EXPECT_EQ(c.samples()[699].speed, 2699.0f);
    EXPECT_TRUE(c.timerHook(10).ended);
}
