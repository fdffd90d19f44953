#include "logger/ChartPyramid.h"

#include <algorithm>
#include <cmath>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace logger {

namespace {
inline MinMax merge(MinMax a, MinMax b)
{
    return {std::min(a.min, b.min), std::max(a.max, b.max)};
}
}  // namespace

MinMax scanRows(const float* v, qint64 from, qint64 to, MinMax m)
{
    float lo = m.min;
    float hi = m.max;
    qint64 i = from;
#ifdef __SSE2__
    // Four rows at a time; at fine zoom levels this is most of the chart's time.
    if (to - i >= 8) {
        __m128 vlo = _mm_set1_ps(lo);
        __m128 vhi = _mm_set1_ps(hi);
        for (; i + 4 <= to; i += 4) {
            const __m128 x = _mm_loadu_ps(v + i);
            vlo = _mm_min_ps(vlo, x);
            vhi = _mm_max_ps(vhi, x);
        }
        alignas(16) float l[4];
        alignas(16) float h[4];
        _mm_store_ps(l, vlo);
        _mm_store_ps(h, vhi);
        lo = std::min(std::min(l[0], l[1]), std::min(l[2], l[3]));
        hi = std::max(std::max(h[0], h[1]), std::max(h[2], h[3]));
    }
#endif
    for (; i < to; ++i) {
        lo = v[i] < lo ? v[i] : lo;
        hi = v[i] > hi ? v[i] : hi;
    }
    return {lo, hi};
}

void ChartPyramid::reset()
{
    for (auto& levels : m_levels)
        levels.clear();
    for (auto& edges : m_edges)
        edges.release();
    m_rows = 0;
}

bool ChartPyramid::update(const LogTable& table, qint64 rows)
{
    if (rows < m_rows)
        reset();
    if (rows == m_rows)
        return true;
    // The block holding the last covered row may have been partial; it is redone.
    const qint64 redoFrom = m_rows / blockRows;
    for (int c = 0; c < LogTable::channels; ++c) {
        const float* v = table.channel(c + 1) + 1;  // index 0 = row 1
        auto& levels = m_levels[c];
        qint64 count = (rows + blockRows - 1) / blockRows;
        qint64 from = redoFrom;
        for (int k = 0;; ++k) {
            if (int(levels.size()) <= k) {
                levels.emplace_back();
                from = 0;  // a new level is filled from its start
            }
            Level& level = levels[k];
            if (!level.resize(count)) {
                reset();
                return false;
            }
            if (k == 0) {
                for (qint64 b = from; b < count; ++b) {
                    const qint64 lo = b * blockRows;
                    const qint64 hi = std::min(lo + blockRows, rows);
                    level[b] = scanRows(v, lo + 1, hi, {v[lo], v[lo]});
                }
            } else {
                const Level& below = levels[k - 1];
                const qint64 belowCount = below.size();
                for (qint64 b = from; b < count; ++b) {
                    MinMax m = below[b * fanOut];
                    for (qint64 j = b * fanOut + 1; j < std::min(b * fanOut + fanOut, belowCount);
                         ++j)
                        m = merge(m, below[j]);
                    level[b] = m;
                }
            }
            if (count <= 1)
                break;
            from /= fanOut;
            count = (count + fanOut - 1) / fanOut;
        }
        auto& edges = m_edges[c];
        const qint64 edgeCount = (rows + edgeRows - 1) / edgeRows;
        if (!edges.resize(edgeCount)) {
            reset();
            return false;
        }
        for (qint64 b = m_rows / edgeRows; b < edgeCount; ++b)
            edges[b] = {v[b * edgeRows], v[std::min((b + 1) * edgeRows, rows) - 1]};
    }
    m_rows = rows;
    return true;
}

MinMax ChartPyramid::blocks(int channel, int level, qint64 b0, qint64 b1, MinMax m) const
{
    const MinMax* b = m_levels[channel - 1][std::size_t(level)].data();
    for (qint64 i = b0; i < b1; ++i)
        m = merge(m, b[i]);
    return m;
}

MinMax ChartPyramid::range(const LogTable& table, int channel, qint64 first, qint64 last) const
{
    const float* v = table.channel(channel) + 1;
    const qint64 i0 = first - 1;
    const qint64 i1 = last;  // exclusive
    MinMax m{v[i0], v[i0]};
    const auto& levels = m_levels[channel - 1];
    if (levels.empty() || last > m_rows || i1 - i0 < 2 * blockRows)
        return scanRows(v, i0, i1, m);
    qint64 b = (i0 + blockRows - 1) / blockRows;
    qint64 e = i1 / blockRows;
    m = scanRows(v, i0, b * blockRows, m);
    m = scanRows(v, e * blockRows, i1, m);
    // Whole blocks b .. e - 1: single blocks at the ends of each level, whole groups above.
    for (std::size_t k = 0; b < e; ++k) {
        const Level& level = levels[k];
        if (k + 1 == levels.size() || e - b < fanOut) {
            for (; b < e; ++b)
                m = merge(m, level[b]);
            break;
        }
        for (; b % fanOut != 0; ++b)
            m = merge(m, level[b]);
        for (; e % fanOut != 0; --e)
            m = merge(m, level[e - 1]);
        b /= fanOut;
        e /= fanOut;
    }
    return m;
}

ColumnPlan planColumns(const ChartPyramid& pyramid, qint64 first, qint64 last, int width)
{
    ColumnPlan plan;
    plan.first = first;
    plan.last = last;
    plan.step = double(width - 1) / double(std::max<qint64>(last - first, 1));
    const double rowsPerColumn = 1.0 / plan.step;
    if (pyramid.rowsCovered() < last || pyramid.levels() == 0)
        return plan;
    // The coarsest level whose blocks are at most a quarter of a column: the start of a column
    // moves by at most an eighth of a pixel, and a column is a handful of blocks.
    qint64 block = ChartPyramid::blockRows;
    if (double(block) * 4 > rowsPerColumn)
        return plan;
    plan.level = 0;
    while (plan.level + 1 < pyramid.levels() &&
           double(block * ChartPyramid::fanOut) * 4 <= rowsPerColumn) {
        block *= ChartPyramid::fanOut;
        ++plan.level;
    }
    plan.snapRows = block;
    return plan;
}

qint64 columnStart(const ColumnPlan& plan, int p)
{
    if (p <= 0)
        return plan.first;
    const qint64 start = plan.first + qint64(std::ceil((p - 0.5) / plan.step));
    if (plan.snapRows <= 1)
        return std::min(start, plan.last + 1);
    const qint64 snapped = (start - 1 + plan.snapRows / 2) / plan.snapRows * plan.snapRows + 1;
    return std::clamp(snapped, plan.first, plan.last + 1);
}

void decimate(const LogTable& table, const ChartPyramid& pyramid, int channel, qint64 first,
              qint64 last, int width, std::vector<ColumnEnvelope>& out)
{
    out.resize(std::size_t(width));
    const ColumnPlan plan = planColumns(pyramid, first, last, width);
    const float* v = table.channel(channel);
    const qint64 block = plan.snapRows;
    qint64 start = first;
    float carry = v[first];
    // At fine zoom levels each column reads two rows a few pages from the last column's; they
    // are fetched a few columns ahead so that the memory latency overlaps the work.
    constexpr int ahead = 8;
    for (int p = 0; p < width; ++p) {
        const qint64 next = p + 1 == width ? last + 1 : columnStart(plan, p + 1);
        if (plan.level < 1 && p + ahead < width)
            __builtin_prefetch(v + columnStart(plan, p + ahead) - 1);
        if (next <= start) {
            out[std::size_t(p)] = {carry, carry, carry, carry};
            continue;
        }
        // Rows start .. next - 1 are indices start - 1 .. next - 2 of the column from row 1.
        const float* rows = v + 1;
        const qint64 i0 = start - 1;
        const qint64 i1 = next - 1;
        // Not from the rows: at coarse zoom levels they are not read at all.
        MinMax m{INFINITY, -INFINITY};
        if (plan.level < 0) {
            m = scanRows(rows, i0, i1, m);
        } else {
            const qint64 b0 = (i0 + block - 1) / block;
            const qint64 b1 = std::max(i1 / block, b0);
            m = scanRows(rows, i0, std::min(b0 * block, i1), m);
            m = pyramid.blocks(channel, plan.level, b0, b1, m);
            m = scanRows(rows, std::max(b1 * block, i0), i1, m);
        }
        float firstValue;
        float lastValue;
        constexpr qint64 edge = ChartPyramid::edgeRows;
        if (plan.level >= 1 && i0 % edge == 0 && i1 % edge == 0) {
            firstValue = pyramid.edges(channel, i0 / edge).min;
            lastValue = pyramid.edges(channel, i1 / edge - 1).max;
        } else {
            firstValue = v[start];
            lastValue = v[next - 1];
        }
        out[std::size_t(p)] = {firstValue, m.min, m.max, lastValue};
        carry = lastValue;
        start = next;
    }
}

}  // namespace logger
