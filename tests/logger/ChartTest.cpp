// The chart's arithmetic: visible span, position bar and mouse rules, the pyramid's envelope
// against a plain scan, and the texts beside the chart.
#include "logger/ChartGeometry.h"
#include "logger/ChartPyramid.h"
#include "logger/LogTable.h"

#include <QRandomGenerator>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

using namespace logger;

TEST(VisibleSpan, HundredRowsAtSeveralZooms)
{
    struct Case {
        int zoom;
        qint64 cursor, first, last, span;
    };
    const Case cases[] = {
        {1, 50, 1, 100, 99},  {2, 1, 1, 51, 50},  {2, 50, 25, 75, 50},      {2, 100, 50, 100, 50},
        {8, 98, 88, 100, 12}, {1024, 1, 1, 1, 0}, {1024, 100, 100, 100, 0}, {1024, 37, 37, 37, 0},
    };
    for (const Case& c : cases) {
        const ViewSpan v = visibleSpan(100, c.zoom, c.cursor);
        EXPECT_EQ(v.first, c.first) << c.zoom << " " << c.cursor;
        EXPECT_EQ(v.last, c.last) << c.zoom << " " << c.cursor;
        EXPECT_EQ(v.span, c.span) << c.zoom << " " << c.cursor;
    }
    EXPECT_TRUE(std::isfinite(chartStep(800, 0)));
    EXPECT_EQ(chartStep(801, 0), 800.0);
}

TEST(PositionBar, PageAndMaximumFollowTheZoom)
{
    const PositionBar one = positionBar(100, 1, 40);
    EXPECT_EQ(one.maximum, 1);
    EXPECT_EQ(one.pageLength, 1);
    EXPECT_EQ(one.position, 1);
    const PositionBar two = positionBar(100, 2, 40);
    EXPECT_EQ(two.pageLength, 100);
    EXPECT_EQ(two.maximum, 199);
    EXPECT_EQ(two.position, 40);
    const PositionBar most = positionBar(100, 1024, 7);
    EXPECT_EQ(most.pageLength, 0);  // 100 / 1023 rounds to 0
    EXPECT_EQ(most.maximum, 99);
    EXPECT_EQ(most.position, 7);
}

TEST(ChartMouse, ZoomWheelAndClick)
{
    EXPECT_EQ(zoomIn(512), 1024);
    EXPECT_EQ(zoomIn(1024), 1024);
    EXPECT_EQ(zoomOut(1), 1);
    EXPECT_EQ(zoomText(1, true), "100.0%");
    EXPECT_EQ(zoomText(8), "12.50%");
    EXPECT_EQ(wheelCursor(100, 95, true, true), std::nullopt);  // would leave the rows
    EXPECT_EQ(wheelCursor(100, 95, true, false), 96);
    EXPECT_EQ(wheelCursor(100, 11, false, true), 1);
    EXPECT_EQ(wheelCursor(100, 1, false, false), std::nullopt);
    EXPECT_EQ(clickedRow(100, 1, 50, 0, 800), 1);
    EXPECT_EQ(clickedRow(100, 1, 50, 400, 800), 50);  // 1 + 400 × 99 / 800 = 50.5, to even
    EXPECT_EQ(clickedRow(100, 2, 100, 800, 800), 100);
    EXPECT_EQ(clickedRow(100, 2, 1, 0, 800), 1);
}

TEST(ChartTexts, ValuesAndTime)
{
    EXPECT_EQ(valueText(1, 3200.4), "3200");
    EXPECT_EQ(valueText(5, 0.8512), "0.851");
    EXPECT_EQ(valueText(8, 0), "Aus");
    EXPECT_EQ(valueText(12, 1), "Ein");
    EXPECT_EQ(valueText(13, -3), "-3");
    EXPECT_EQ(valueText(14, 2400, 6000, 500), "2400 (9500)");
    EXPECT_EQ(valueText(14, 2400, 2000, 500), "2400 (max.)");
    EXPECT_EQ(valueText(14, 2400, 0, 500), "2400 (max.)");
    EXPECT_EQ(valueText(14, 9000, 120000, 1000), "9000 (0)");
    EXPECT_EQ(cursorTimeText(3'723'004), "(01:02:03.004)");
    EXPECT_EQ(cursorTimeText(999), "(00:00:00.999)");
    EXPECT_EQ(stripOffset(3, 235, 100, 0), 100);
    EXPECT_EQ(stripOffset(13, -50, 30, 0), 0);
    EXPECT_EQ(stripOffset(14, 5000, 100, 1200), 100);  // clipped at the strip's top
    EXPECT_NEAR(availableInjectionUs(0, 500, 10), 300000 - 500, 1e-6);
}

TEST(ChartScale, InjectionScaleHasAFloor)
{
    LogTable t;
    ASSERT_TRUE(t.resize(11));
    EXPECT_EQ(injectionScale(t, 10), 120.0);
    t.setChannel(4, 14, 2000);
    EXPECT_EQ(injectionScale(t, 10), 2400.0);
}

// Plain per-row envelope of the same pixel columns.
std::vector<ColumnEnvelope> rawEnvelope(const LogTable& t, const ChartPyramid& pyramid, int channel,
                                        qint64 first, qint64 last, int width)
{
    std::vector<ColumnEnvelope> out(static_cast<std::size_t>(width));
    const ColumnPlan plan = planColumns(pyramid, first, last, width);
    const float* v = t.channel(channel);
    float carry = v[first];
    for (int p = 0; p < width; ++p) {
        bool any = false;
        ColumnEnvelope e{carry, carry, carry, carry};
        const qint64 from = columnStart(plan, p);
        const qint64 to = p + 1 == width ? last + 1 : columnStart(plan, p + 1);
        for (qint64 i = from; i < to; ++i) {
            if (!any)
                e = {v[i], v[i], v[i], v[i]};
            any = true;
            e.min = std::min(e.min, v[i]);
            e.max = std::max(e.max, v[i]);
            e.last = v[i];
        }
        carry = e.last;
        out[std::size_t(p)] = e;
    }
    return out;
}

TEST(ChartPyramid, EnvelopeEqualsARawScan)
{
    const qint64 rows = 200'003;
    LogTable t;
    ASSERT_TRUE(t.resize(rows + 1));
    auto* random = QRandomGenerator::global();
    for (qint64 i = 1; i <= rows; ++i)
        t.setChannel(i, 1, float(500 + random->bounded(16000)));  // never 0, as fresh memory is
    ChartPyramid pyramid;
    // Built in pieces, as while recording.
    for (qint64 covered : {qint64(1), qint64(63), qint64(64), qint64(65), qint64(5000), rows})
        ASSERT_TRUE(pyramid.update(t, covered));
    const float* v = t.channel(1);
    for (int n = 0; n < 3000; ++n) {
        qint64 a = 1 + random->bounded(int(rows));
        qint64 b = 1 + random->bounded(int(rows));
        if (a > b)
            std::swap(a, b);
        const MinMax m = pyramid.range(t, 1, a, b);
        const auto [lo, hi] = std::minmax_element(v + a, v + b + 1);
        ASSERT_EQ(m.min, *lo) << a << " " << b;
        ASSERT_EQ(m.max, *hi) << a << " " << b;
    }
    for (int zoom : {1, 2, 8, 64, 1024}) {
        for (qint64 cursor : {qint64(1), qint64(777), qint64(100000), rows}) {
            for (int width : {301, 40}) {  // 40 columns of 5000 rows read the second level
                const ViewSpan v = visibleSpan(rows, zoom, cursor);
                // Snapped column starts stay within an eighth of a column of the exact ones.
                const ColumnPlan plan = planColumns(pyramid, v.first, v.last, width);
                for (int p = 1; p < width; ++p) {
                    const double exact = v.first + std::ceil((p - 0.5) / plan.step);
                    ASSERT_LE(std::fabs(double(columnStart(plan, p)) - exact),
                              0.125 / plan.step + 1);
                }
                std::vector<ColumnEnvelope> fast;
                decimate(t, pyramid, 1, v.first, v.last, width, fast);
                const auto slow = rawEnvelope(t, pyramid, 1, v.first, v.last, width);
                for (int p = 0; p < width; ++p) {
                    ASSERT_EQ(fast[p].first, slow[p].first) << zoom << " " << cursor << " " << p;
                    ASSERT_EQ(fast[p].min, slow[p].min) << zoom << " " << cursor << " " << p;
                    ASSERT_EQ(fast[p].max, slow[p].max) << zoom << " " << cursor << " " << p;
                    ASSERT_EQ(fast[p].last, slow[p].last) << zoom << " " << cursor << " " << p;
                }
            }
        }
    }
}

TEST(ChartPyramid, SingleRowSpikeShowsAtFullView)
{
    const qint64 rows = 3'000'000;
    LogTable t;
    ASSERT_TRUE(t.resize(rows + 1));
    t.setChannel(1'234'567, 14, 9000);
    ChartPyramid pyramid;
    ASSERT_TRUE(pyramid.update(t, rows));
    std::vector<ColumnEnvelope> env;
    decimate(t, pyramid, 14, 1, rows, 1400, env);
    int peaks = 0;
    for (const ColumnEnvelope& e : env)
        peaks += e.max == 9000 ? 1 : 0;
    EXPECT_EQ(peaks, 1);
}

}  // namespace
