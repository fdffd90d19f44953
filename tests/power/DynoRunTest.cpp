// A measurement of the simulated KVT's dynamometer run, taken from its live replies exactly as
// the polling cycle decodes them: the run's shape, its time stamps and the evaluated grid.
#include "DynoRun.h"
#include "KvtSimulator.h"
#include "link/LiveRecord.h"
#include "power/PowerCapture.h"
#include "power/PowerCompute.h"

#include <gtest/gtest.h>

using namespace power;

namespace {

// Polls "D" every 100 ms of KVT time from startMs for durationMs, feeding the capture.
void poll(kvtsim::KvtSimulator& sim, PowerCapture& capture, qint64 startMs, qint64 durationMs)
{
    for (qint64 ms = startMs; ms < startMs + durationMs; ms += 100) {
        const QByteArray reply = sim.receive("D", ms);
        ASSERT_EQ(reply.size(), devlink::liveReplyLength);
        const auto record = devlink::decodeLiveReply(reply.mid(1));
        ASSERT_TRUE(record);
        capture.sampleHook(record->rpmForMaps, record->timeStamp, 0);
    }
}

}  // namespace

TEST(DynoRun, AcceleratesInAboutEightSecondsAndRollsDown)
{
    kvtsim::DynoRun run;
    kvtsim::LiveFrame f;
    f.rpm = 5000;
    run.request();
    qint64 ms = 10000;
    run.apply(f, ms);
    EXPECT_EQ(run.phase(), kvtsim::DynoRun::Phase::Hold);
    while (run.phase() != kvtsim::DynoRun::Phase::Accelerate)
        run.apply(f, ++ms);
    const qint64 accelerationStart = ms;
    while (run.phase() == kvtsim::DynoRun::Phase::Accelerate)
        run.apply(f, ++ms);
    EXPECT_NEAR(double(ms - accelerationStart), 8000, 800);
    EXPECT_GE(f.rpm, 11990);
    EXPECT_EQ(f.throttle, 0);
    while (run.running())
        run.apply(f, ms += 10);
    EXPECT_FALSE(run.apply(f, ms + 10));
}

TEST(DynoRun, MeasuredOnTheRollerGivesAGridOverTheRun)
{
    kvtsim::KvtSimulator sim;
    sim.dynoRun().request();
    PowerCapture capture;
    capture.start(0);
    poll(sim, capture, 5000, 11000);  // hold, acceleration, the start of the roll-down
    ASSERT_GT(capture.count(), 80);
    EXPECT_EQ(capture.samples()[0].time, 0.0f);
    EXPECT_EQ(capture.samples()[1].time, 100.0f);

    // The flywheel seen at the crankshaft: ratio 1, equal circumferences, its inertia.
    PowerParameters p;
    p.inertia = float(kvtsim::DynoRun::inertia);
    const Evaluation e = compute(capture.samples(), p, PowerOptions{});
    int filled = 0;
    float peakTorque = 0, peakTorqueAt = 0, peakPower = 0;
    for (const GridPoint& g : e.curve) {
        if (g.torque <= 0)
            continue;
        ++filled;
        if (g.torque > peakTorque) {
            peakTorque = g.torque;
            peakTorqueAt = g.speed;
        }
        peakPower = std::max(peakPower, g.power);
    }
    // 3050 … 11950 rpm, without the top point.
    EXPECT_GE(filled, 170);
    // Net torque (engine minus drag) and its peak near 9000 rpm come out again.
    const double netPeak =
        kvtsim::DynoRun::fullThrottleTorque(9000) - kvtsim::DynoRun::dragTorque(9000);
    EXPECT_NEAR(peakTorque, netPeak, 0.1 * netPeak);
    EXPECT_NEAR(peakTorqueAt, 8700, 700);
    EXPECT_GT(peakPower, 15);
    EXPECT_LT(peakPower, 30);
}
