// Sampling a power run from the polled records.
#include "power/PowerSampler.h"

#include <gtest/gtest.h>

using devlink::LiveRecord;

namespace {

TEST(PowerSampler, OneSampleEveryIntervalPlusOnePolls)
{
    power::PowerSampler sampler;
    sampler.start();
    std::vector<power::PowerSample> samples;
    for (int i = 0; i < 6; ++i) {
        LiveRecord r;
        r.timeStamp = quint32(100000 + i * 10000);  // 100 ms apart
        r.rpmForMaps = i < 3 ? 3000 : 300;
        if (const auto s = sampler.next(r, 2))
            samples.push_back(*s);
    }
    ASSERT_EQ(samples.size(), 2u);
    EXPECT_DOUBLE_EQ(samples[0].timeMs, 0);
    EXPECT_EQ(samples[0].speed, 3000);
    EXPECT_DOUBLE_EQ(samples[1].timeMs, 300);
    EXPECT_EQ(samples[1].speed, 0);  // 300 rpm or less counts as standing
}

TEST(PowerSampler, StartTimesTheNextRunAnew)
{
    power::PowerSampler sampler;
    LiveRecord r;
    r.timeStamp = 100000;
    ASSERT_TRUE(sampler.next(r, 0));
    sampler.start();
    r.timeStamp = 500000;
    const auto s = sampler.next(r, 0);
    ASSERT_TRUE(s);
    EXPECT_DOUBLE_EQ(s->timeMs, 0);
}

}  // namespace
