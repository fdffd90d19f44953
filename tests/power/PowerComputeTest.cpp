// The evaluation of a run: air corrections, the sample rows of both measurement systems, the
// grid with its crossings and the trim of the top.
#include "power/PowerCompute.h"

#include <cmath>
#include <random>
#include <gtest/gtest.h>
#include <initializer_list>
#include <utility>

using namespace power;

namespace {

PowerSamples run(std::initializer_list<std::pair<float, float>> timeAndSpeed)
{
    PowerSamples s{};
    int i = 0;
    for (auto [t, n] : timeAndSpeed)
        s[i++] = {t, n, 0, 0, 0};
    return s;
}

// A steady acceleration from 1000 rpm to top rpm, one sample every 100 ms.
PowerSamples ramp(float top, float rpmPerSample = 100)
{
    PowerSamples s{};
    float n = 1000;
    for (int i = 0; i < sampleCount && n <= top; ++i, n += rpmPerSample)
        s[i] = {100.0f * i, n, 0, 0, 0};
    return s;
}

PowerOptions linear()
{
    PowerOptions o;
    o.system = MeasurementSystem::Linear;
    return o;
}

}  // namespace

TEST(PowerCompute, AirStateAtStandardConditions)
{
    const AirState a = airState(PowerParameters{}, PowerOptions{});
    EXPECT_NEAR(a.saturation, 31.6, 0.05);
    EXPECT_NEAR(a.dryPressure, 997.2, 0.05);
    EXPECT_FLOAT_EQ(a.correctionFactor, 1.0f);
    EXPECT_FLOAT_EQ(a.density, 1.293f);

    PowerOptions din;
    din.din = true;
    const AirState d = airState(PowerParameters{}, din);
    EXPECT_NEAR(d.correctionFactor, 1013.0 / 997.2 * std::sqrt(298.15 / 293), 1e-4);
    EXPECT_NEAR(d.density, 101300 / (298.15 * 287.058), 1e-4);
    PowerOptions ewg;
    ewg.ewg = true;
    EXPECT_NEAR(airState(PowerParameters{}, ewg).correctionFactor,
                std::pow(990 / 997.2, 1.2) * std::pow(298.15 / 298, 0.6), 1e-4);
}

TEST(PowerCompute, RollerWorkedExample)
{
    const Evaluation e = compute(run({{0, 0}, {1000, 600}}), PowerParameters{}, PowerOptions{});
    EXPECT_FLOAT_EQ(e.samples[1].v, 10.0f);
    EXPECT_NEAR(e.samples[1].torque, 942.5, 0.05);
    EXPECT_NEAR(e.samples[1].power, 59.2, 0.05);
    EXPECT_EQ(e.samples[0].torque, 0.0f);
}

TEST(PowerCompute, RollerPowerAndTorqueFollowTheGearing)
{
    // Ratio 0.11, wheel 185 cm, roller 150 cm: the roller turns at 10 · 0.11 · 185 / 150 1/s.
    PowerParameters p;
    p.ratio = 0.11f;
    p.wheelCircumference = 185;
    p.rollerCircumference = 150;
    const Evaluation e = compute(run({{0, 0}, {1000, 600}}), p, PowerOptions{});
    const double v = 10 * 0.11 * 185 / 150.0;
    const double rollerTorque = 15 * 2 * M_PI * v;
    const double power = 2 * M_PI * v * rollerTorque / 1000;
    EXPECT_NEAR(e.samples[1].power, power, 1e-3);
    // Torque at the crankshaft: the same power over the crankshaft's angular speed.
    EXPECT_NEAR(e.samples[1].torque, power * 1000 / (2 * M_PI * 10), 1e-3);
}

TEST(PowerCompute, RollerSamplesWithTheSameTimeGiveNoTorque)
{
    const Evaluation e =
        compute(run({{0, 1000}, {100, 2000}, {100, 3000}}), PowerParameters{}, PowerOptions{});
    EXPECT_GT(e.samples[1].torque, 0);
    EXPECT_EQ(e.samples[2].torque, 0.0f);
    EXPECT_EQ(e.samples[2].power, 0.0f);
}

TEST(PowerCompute, LinearWorkedExample)
{
    const Evaluation e = compute(run({{0, 0}, {1000, 600}}), PowerParameters{}, linear());
    EXPECT_FLOAT_EQ(e.samples[1].v, 10.0f);
    EXPECT_NEAR(e.samples[1].power, 100.57, 0.005);
    EXPECT_NEAR(e.samples[1].torque, 1600.6, 0.05);
}

TEST(PowerCompute, NonFiniteValuesCountAsZero)
{
    // Equal times with different speeds would divide by zero.
    for (const PowerOptions& o : {linear(), PowerOptions{}}) {
        const Evaluation e =
            compute(run({{0, 1000}, {100, 2000}, {100, 3000}, {200, 4000}}), PowerParameters{}, o);
        for (const PowerSample& s : e.samples) {
            EXPECT_TRUE(std::isfinite(s.power) && std::isfinite(s.torque));
        }
        EXPECT_EQ(e.samples[2].power, 0.0f);
        for (const GridPoint& g : e.curve)
            EXPECT_TRUE(std::isfinite(g.power) && std::isfinite(g.torque));
    }
    PowerSamples broken = run({{0, 1000}, {100, 2000}});
    broken[1].speed = std::numeric_limits<float>::infinity();
    broken[2].time = std::numeric_limits<float>::quiet_NaN();
    const Evaluation e = compute(broken, PowerParameters{}, PowerOptions{});
    EXPECT_EQ(e.highestSpeed, 1000);
}

TEST(PowerCompute, DragPowerUsesTheDensityOnlyWithACorrection)
{
    PowerOptions ewg = linear();
    ewg.ewg = true;
    const PowerSamples s = run({{0, 0}, {1000, 600}});
    for (const PowerOptions& o : {linear(), ewg}) {
        const Evaluation e = compute(s, PowerParameters{}, o);
        const double drag = e.samples[1].power - 100.0 * e.air.correctionFactor;
        EXPECT_NEAR(drag, e.air.density / 2 * 2.5 * 0.35 * 1000 / 1000, 1e-3);
    }
    EXPECT_FLOAT_EQ(compute(s, PowerParameters{}, linear()).air.density, 1.293f);
    EXPECT_NEAR(compute(s, PowerParameters{}, ewg).air.density, 1.1836, 1e-3);
}

TEST(PowerCompute, GridOfA4000RpmRunIsTrimmedAtTheTop)
{
    const Evaluation e = compute(ramp(4000), PowerParameters{}, PowerOptions{});
    EXPECT_EQ(e.highestSpeed, 4000);
    // Points 1 … 81 were filled; the top one with a value (4000 rpm) and all above are gone.
    for (int k = 1; k <= gridPoints; ++k) {
        const GridPoint& g = e.curve[k - 1];
        if (k * 50 > 1000 && k * 50 < 4000) {
            EXPECT_EQ(g.speed, float(k * 50)) << k;
            EXPECT_GT(g.torque, 0) << k;
            EXPECT_GT(g.power, 0) << k;
        } else if (k * 50 >= 4000) {
            EXPECT_EQ(g.speed, 0.0f) << k;
            EXPECT_EQ(g.torque, 0.0f) << k;
        } else {
            EXPECT_EQ(g.torque, 0.0f) << k;  // below the run: speed kept, no value
        }
    }
}

TEST(PowerCompute, TwoRisingCrossingsAddUp)
{
    const PowerSamples once = run({{0, 4900}, {100, 5100}, {200, 6000}});
    const PowerSamples twice = run({{0, 4900}, {100, 5100}, {200, 4800}, {300, 5200}, {400, 6000}});
    const PowerCurve a = compute(once, PowerParameters{}, PowerOptions{}).curve;
    const PowerCurve b = compute(twice, PowerParameters{}, PowerOptions{}).curve;
    const Evaluation e = compute(twice, PowerParameters{}, PowerOptions{});
    // The second crossing from 4800 to 5200 in 100 ms at 5000 rpm, interpolated by hand.
    const auto& s = e.samples;
    const float second = s[2].torque + (s[3].torque - s[2].torque) / 400 * 200;
    EXPECT_NEAR(b[99].torque, a[99].torque + std::fabs(second), 1e-2);
    EXPECT_GT(b[99].torque, a[99].torque);
}

TEST(PowerCompute, RunDownCountsOnlyWithDragAdded)
{
    PowerSamples down{};
    for (int i = 0; i < 50; ++i)
        down[i] = {100.0f * i, 8000.0f - 100 * i, 0, 0, 0};
    const Evaluation plain = compute(down, PowerParameters{}, PowerOptions{});
    for (const GridPoint& g : plain.curve) {
        EXPECT_EQ(g.torque, 0.0f);
        EXPECT_EQ(g.power, 0.0f);
    }
    PowerOptions drag;
    drag.addDrag = true;
    const Evaluation added = compute(down, PowerParameters{}, drag);
    // Falling through 5000 rpm: the negative power counts as its absolute value.
    EXPECT_GT(added.curve[99].power, 0);
    EXPECT_NEAR(added.curve[99].power, std::fabs(added.samples[30].power), 1e-3);
}

TEST(PowerCompute, GridSumsEveryCrossingOfEveryPointInSampleOrder)
{
    // The grid by its definition: every point against every pair of neighbouring samples.
    const auto byDefinition = [](const Evaluation& e, bool addDrag) {
        PowerCurve c{};
        const int points = std::min(e.highestSpeed / gridStep + 1, gridPoints);
        for (int k = 1; k <= points; ++k) {
            const float nk = float(k * gridStep);
            c[k - 1] = {nk, 0, 0};
            float n0 = 0, t0 = 0, p0 = 0;
            for (const PowerSample& x : e.samples) {
                if (x.speed > 0 && ((n0 < nk && nk <= x.speed) ||
                                    (addDrag && x.speed <= nk && nk < n0))) {
                    const float f = (nk - n0) / (x.speed - n0);
                    const auto finite = [](float v) { return std::isfinite(v) ? v : 0.0f; };
                    c[k - 1].torque += std::fabs(finite(t0 + (x.torque - t0) * f));
                    c[k - 1].power += std::fabs(finite(p0 + (x.power - p0) * f));
                }
                n0 = x.speed, t0 = x.torque, p0 = x.power;
            }
        }
        for (int k = gridPoints; k >= 1; --k) {
            if (c[k - 1].torque > 0) {
                c[k - 1] = {};
                break;
            }
            c[k - 1].speed = 0;
        }
        return c;
    };
    std::mt19937 random(20261208);
    std::uniform_real_distribution<float> step(-900, 1000);
    for (int round = 0; round < 40; ++round) {
        PowerSamples s{};
        float n = 0;
        for (int i = 0; i < sampleCount; ++i) {
            // Speeds on grid points, between them, zero, negative and far beyond the grid.
            n = round % 5 == 0 ? std::round(n / 50 + step(random) / 200) * 50 : n + step(random);
            if (i % 97 == 13)
                n = (round % 2 ? 1.0e30f : -50.0f);
            s[i] = {20.0f * i, n, 0, 0, 0};
            if (i % 97 == 14)
                n = 3000;
        }
        for (const bool drag : {false, true}) {
            PowerOptions o;
            o.addDrag = drag;
            const Evaluation e = compute(s, PowerParameters{}, o);
            const PowerCurve expected = byDefinition(e, drag);
            for (int k = 0; k < gridPoints; ++k)
                ASSERT_EQ(e.curve[k], expected[k]) << "round " << round << " point " << k + 1;
        }
    }
}
