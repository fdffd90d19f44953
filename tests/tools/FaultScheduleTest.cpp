// The seeded fault schedule played on a (not started) host, and how the soak counts the ticks
// until the KVT is identified again.
#include "FaultSchedule.h"
#include "PtyHost.h"
#include "SoakFigures.h"

#include <gtest/gtest.h>
#include <set>

using namespace kvtsim;

namespace {

// Plays the schedule for ms milliseconds in 2 ms steps; every reply fault is used up by one
// "I" exchange each step, as a polling program would.
std::vector<PlayedFault> play(quint64 seed, qint64 ms)
{
    PtyHost host;
    FaultSchedule schedule(seed);
    for (qint64 t = 0; t < ms; t += 2) {
        schedule.step(host, t);
        if (t % 100 == 0)
            host.withSimulator([t](KvtSimulator& sim) { sim.receive("I", t); });
    }
    schedule.finish(host, ms);
    return schedule.played();
}

TEST(FaultSchedule, SameSeedSameFaultsAndEveryKindComes)
{
    const std::vector<PlayedFault> a = play(16, 300'000);
    const std::vector<PlayedFault> b = play(16, 300'000);
    const std::vector<PlayedFault> c = play(17, 300'000);
    ASSERT_GT(a.size(), 40u);
    ASSERT_EQ(a.size(), b.size());
    std::set<LineFault> kinds;
    std::set<FaultTarget> targets;
    bool differs = a.size() != c.size();
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].kind, b[i].kind);
        EXPECT_EQ(a[i].param, b[i].param);
        EXPECT_EQ(a[i].startMs, b[i].startMs);
        EXPECT_GE(a[i].endMs, a[i].startMs);
        if (i + 1 < a.size()) {
            EXPECT_GE(a[i + 1].startMs - a[i].endMs, 1500) << "faults come one at a time";
        }
        kinds.insert(a[i].kind);
        targets.insert(a[i].target);
        if (i < c.size() && (c[i].kind != a[i].kind || c[i].param != a[i].param))
            differs = true;
    }
    EXPECT_EQ(kinds.size(), std::size_t(lineFaultKinds));
    EXPECT_EQ(targets.size(), std::size_t(faultTargets));
    EXPECT_TRUE(differs);
}

TEST(FaultSchedule, CountedFaultEndsWithTheReplyItSpoilsAndLeavesTheKvtClean)
{
    PtyHost host;
    FaultSchedule schedule(3);
    qint64 t = 0;
    // Step until a counted wrong-letter fault aimed at any reply is in progress.
    while (t < 600'000) {
        schedule.step(host, t);
        const PlayedFault* f = schedule.current();
        if (f && f->kind == LineFault::WrongLetter && f->target != FaultTarget::SetupRead)
            break;
        t += 2;
    }
    const PlayedFault* f = schedule.current();
    ASSERT_NE(f, nullptr);
    const int count = f->param;
    for (int i = 0; i < count; ++i) {
        const QByteArray reply =
            host.withSimulator([t](KvtSimulator& sim) { return sim.receive("I", t); });
        ASSERT_FALSE(reply.isEmpty());
        EXPECT_NE(reply.at(0), 'i');
    }
    schedule.step(host, t += 2);
    EXPECT_EQ(schedule.current(), nullptr);
    EXPECT_EQ(schedule.played().back().endMs, t);
    EXPECT_EQ(host.withSimulator([t](KvtSimulator& sim) { return sim.receive("I", t); }).at(0),
              'i');
}

TEST(SoakFigures, TicksUntilIdentifiedCountFromTheFaultsEnd)
{
    // Ticks of 100 ms; x marks identified at the tick's end, and at the next tick's start
    // unless a command between the ticks failed (!).
    auto ticks = [](const char* marks) {
        std::vector<soak::TickMark> out;
        bool before = false;
        for (int i = 0; marks[i]; ++i) {
            if (marks[i] == '!') {
                before = false;
                continue;
            }
            out.push_back(
                {qint64(out.size()) * 100, qint64(out.size()) * 100 + 50, marks[i] == 'x', before});
            before = marks[i] == 'x';
        }
        return out;
    };
    const struct {
        const char* marks;
        qint64 endMs;
        int expected;
    } cases[] = {
        {"xxxxx", 150, 0},  // never lost
        {"x-xxx", 150, 1},  // lost before the end, back at the first tick after it
        {"xx-xx", 150, 2},  // lost at the first tick after the end
        {"xx--x", 150, 3},  {"xx---", 150, -1},  // never back
        {"xxxxx", 450, -1},                      // no tick after the end
        {"--xxx", 0, 3},                         // a tick starting right at the end counts
        {"xx!xx", 150, 1},                       // lost between the ticks around the end
    };
    for (const auto& c : cases)
        EXPECT_EQ(soak::ticksUntilIdentified(ticks(c.marks), c.endMs), c.expected) << c.marks;
}

TEST(SoakFigures, TargetsMissedAreNamed)
{
    soak::SoakFigures f;
    f.faults.resize(2);
    f.ticksToIdentify = {1, 2};
    f.polls = 10;
    f.rssWarmKb = 100'000;
    f.rssEndKb = 104'000;
    EXPECT_TRUE(f.missed({}).isEmpty());
    f.ticksToIdentify = {1, 3};
    f.rssEndKb = 106'000;
    f.hangs = 1;
    EXPECT_EQ(f.missed({}).size(), 3);
    f.ticksToIdentify = {-1, 1};
    EXPECT_TRUE(f.missed({}).first().contains("not identified again"));
}

}  // namespace
