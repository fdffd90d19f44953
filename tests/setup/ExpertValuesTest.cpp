// "P" decoding and the expert window's derived values, speed mean, fine-tune byte and timing.
#include "setup/ExpertValues.h"

#include <gtest/gtest.h>
#include <limits>

using namespace setup;

namespace {

QByteArray replyBytes(std::initializer_list<int> words16x12, int dyn1, int dyn2, int timer,
                      int revs, int control, int calibration)
{
    QByteArray b;
    auto put16 = [&](int v) {
        b.append(char(v >> 8));
        b.append(char(v & 0xFF));
    };
    for (int w : words16x12)
        put16(w);
    put16(300);  // angle limit
    b.append(char(dyn1));
    b.append(char(dyn2));
    put16(timer);
    put16(revs);
    put16(control);
    b.append(char(calibration));
    return b;
}

TEST(ExpertValues, DecodesEveryFieldHighByteFirst)
{
    const QByteArray data = replyBytes({10, 130, 250, 1500, 1600, 1700, 300, 60, 180, 90, 90, 1000},
                                       6, 7, 65535, 4, 0x1234, 129);
    ASSERT_EQ(data.size(), expertReplyLength - 1);
    const auto r = decodeExpertReply(data);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->injectionStart, (std::array<int, 3>{10, 130, 250}));
    EXPECT_EQ(r->injectionTime, (std::array<int, 3>{1500, 1600, 1700}));
    EXPECT_EQ(r->chargeStart, (std::array<int, 3>{300, 60, 180}));
    EXPECT_EQ(r->chargeAngle, (std::array<int, 3>{90, 90, 1000}));
    EXPECT_EQ(r->angleLimit, 300);
    EXPECT_EQ(r->dynamicAngle1, 6);
    EXPECT_EQ(r->dynamicAngle2, 7);
    EXPECT_EQ(r->timerDiffRaw, 65535);
    EXPECT_EQ(r->timerDiff, -1);
    EXPECT_EQ(r->setRevolutions, 4);
    EXPECT_EQ(r->controlValue, 0x1234);
    EXPECT_EQ(r->calibrationByte, 129);
    EXPECT_FALSE(decodeExpertReply(data.left(34)));
}

TEST(ExpertValues, SignedTimerDifferenceAroundTheMiddle)
{
    const int raw[] = {0, 32767, 32768, 65535};
    const int signedValue[] = {0, 32767, -32768, -1};
    for (int i = 0; i < 4; ++i) {
        const auto r = decodeExpertReply(
            replyBytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0, 0, raw[i], 0, 0, 0));
        EXPECT_EQ(r->timerDiff, signedValue[i]);
    }
}

TEST(ExpertValues, DerivedValues)
{
    ExpertReply r;
    r.injectionTime = {5000, 0, 20000};
    r.chargeAngle = {90, 0, 360};
    r.timerDiff = -100;
    // 6000 rpm: one revolution 10000 µs; 90° at 6001 rpm is 2499.6 µs.
    ExpertDerived d = deriveExpertValues(r, 6000, 10, 12);
    EXPECT_EQ(d.injectionPercent[0], 50);
    EXPECT_EQ(d.injectionPercent[2], 200);
    EXPECT_EQ(d.chargeUs[0], 2500);
    EXPECT_EQ(d.chargePercent[0], 83);  // 2500 / 3000
    EXPECT_DOUBLE_EQ(d.timerDiffAngle, -100 * 6000 * 360 / 7500000.0);
    // At standstill the quick-start speed (10 × 20 = 200 rpm) stands in; the angle is 0.
    d = deriveExpertValues(r, 0, 10, 12);
    EXPECT_EQ(d.injectionPercent[0], 2);  // 5000 / 300000 µs
    EXPECT_EQ(d.chargeUs[0], 74627);      // 90° at 201 rpm
    EXPECT_EQ(d.timerDiffAngle, 0);
    // Quick-start speed 0 and standing engine: nothing to divide by.
    d = deriveExpertValues(r, 0, 0, 12);
    EXPECT_EQ(d.injectionPercent[0], 0);
}

// Found by fuzzing: a standing engine, quick-start speed 0 and a long charge angle made the
// charge time overflow an int.
TEST(ExpertValues, HugeChargeTimeStaysWithinInt)
{
    const QByteArray reply = QByteArray::fromHex(
        "000102030405060708090a767676767676767676767676"
        "767676767676767676767676");
    const auto r = decodeExpertReply(reply);
    ASSERT_TRUE(r);
    const ExpertDerived d = deriveExpertValues(*r, 0, 0, 0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(d.chargeUs[i], std::numeric_limits<int>::max()) << i;
        EXPECT_EQ(d.chargePercent[i], 0) << i;
    }
}

TEST(ExpertValues, SpeedMeanKeepsTheLast40)
{
    SpeedMean mean;
    EXPECT_EQ(mean.mean(), 0);
    mean.add(1000);
    mean.add(2000);
    EXPECT_DOUBLE_EQ(mean.mean(), 1500);
    for (int i = 0; i < 40; ++i)
        mean.add(3000);
    EXPECT_DOUBLE_EQ(mean.mean(), 3000);
    mean.add(7000);
    EXPECT_DOUBLE_EQ(mean.mean(), 3100);
}

TEST(ExpertValues, MeasuredWheelWidths)
{
    // 36-1 wheel: 34 teeth seen, the gap two pitches long: 10° and 20°.
    auto w = measuredWheelWidths(34, 500, 1000);
    ASSERT_TRUE(w);
    EXPECT_DOUBLE_EQ(w->tooth, 10);
    EXPECT_DOUBLE_EQ(w->gap, 20);
    EXPECT_FALSE(measuredWheelWidths(0, 500, 1000));
    EXPECT_FALSE(measuredWheelWidths(34, 0, 1000));
}

TEST(ExpertValues, CalibrationByteStaysWithinOneByte)
{
    EXPECT_EQ(calibrationStep(255, +1), 255);
    EXPECT_EQ(calibrationStep(0, -1), 0);
    EXPECT_EQ(calibrationStep(128, +1), 129);
    EXPECT_EQ(calibrationStep(128, -1), 127);
}

TEST(ExpertValues, SerialTiming)
{
    SerialTiming t;
    t.add(360000000u, 1000, 0);  // 1 h
    EXPECT_EQ(t.stampText(), "360000000 (01:00:00)");
    EXPECT_EQ(t.frequencyText(), "");
    t.add(360010000u, 1100, 0);  // 10000 × 10 µs = 100 ms later: 10 Hz
    EXPECT_EQ(t.frequencyText(), "10.00");
    t.add(360010000u, 1150, 0);  // same stamp: left unchanged
    EXPECT_EQ(t.frequencyText(), "10.00");
    t.add(360030000u, 1300, 0);  // 200 ms: 5 Hz; mean of 10 and 5
    EXPECT_EQ(t.frequencyText(), "5.00");
    EXPECT_EQ(t.frequencyMeanText(), "7.50");
    // KVT clock 3600300 ms, program clock 1300 ms with offset -3599000.
    t.add(360030000u, 1300, -3599000);
    EXPECT_EQ(t.cpuDiffText(), "0");
    // KVT ran 300 ms while the program's clock ran 300 ms: no drift.
    EXPECT_EQ(t.driftText(), "0.000");
    t.resetDrift();
    EXPECT_EQ(t.driftText(), "");
    t.add(360050000u, 1500, 0);
    t.add(360070200u, 1700, 0);  // 202 ms against 200 ms: 1 % fast
    EXPECT_EQ(t.driftText(), "1.000");
}

}  // namespace
