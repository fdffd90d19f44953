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

// Plain scan of rows [from, to) (0-based indices into the column, which starts at row 1).
inline MinMax scan(const float* v, qint64 from, qint64 to, MinMax m)
{
    float lo = m.min;
    float hi = m.max;
    qint64 i = from;
#ifdef __SSE2__
    // Four rows at a time; this is most of the chart's time at high row counts.
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

}  // namespace

void ChartPyramid::reset()
{
    for (auto& levels : m_levels)
        levels.clear();
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
                    level[b] = scan(v, lo + 1, hi, {v[lo], v[lo]});
                }
            } else {
                const Level& below = levels[k - 1];
                const qint64 belowCount = below.size();
                for (qint64 b = from; b < count; ++b) {
                    const qint64 l = 2 * b;
                    level[b] = l + 1 < belowCount ? merge(below[l], below[l + 1]) : below[l];
                }
            }
            if (count <= 1)
                break;
            from /= 2;
            count = (count + 1) / 2;
        }
    }
    m_rows = rows;
    return true;
}

MinMax ChartPyramid::range(const LogTable& table, int channel, qint64 first, qint64 last) const
{
    const float* v = table.channel(channel) + 1;
    qint64 i0 = first - 1;
    const qint64 i1 = last;  // exclusive
    MinMax m{v[i0], v[i0]};
    const auto& levels = m_levels[channel - 1];
    if (levels.empty() || last > m_rows || i1 - i0 < 2 * blockRows)
        return scan(v, i0, i1, m);
    qint64 b0 = (i0 + blockRows - 1) / blockRows;
    qint64 b1 = i1 / blockRows;
    m = scan(v, i0, b0 * blockRows, m);
    m = scan(v, b1 * blockRows, i1, m);
    // Whole blocks b0 .. b1 - 1, climbing the levels like a segment tree.
    for (std::size_t k = 0; b0 < b1 && k < levels.size(); ++k) {
        const Level& level = levels[k];
        if (b0 & 1)
            m = merge(m, level[b0++]);
        if (b1 & 1)
            m = merge(m, level[--b1]);
        b0 >>= 1;
        b1 >>= 1;
    }
    return m;
}

qint64 columnStartRow(qint64 first, double step, int p)
{
    if (p <= 0)
        return first;
    const qint64 start = first + qint64(std::ceil((p - 0.5) / step));
    // With many blocks per pixel column the columns start on whole blocks (a shift of less
    // than a tenth of a pixel), so the pyramid answers them without scanning rows.
    if (step * double(snapRows) > 1.0)
        return start;
    const qint64 snapped = (start - 1 + ChartPyramid::blockRows / 2) / ChartPyramid::blockRows *
                               ChartPyramid::blockRows + 1;
    return std::max(snapped, first);
}

void decimate(const LogTable& table, const ChartPyramid& pyramid, int channel, qint64 first,
              qint64 last, int width, std::vector<ColumnEnvelope>& out)
{
    out.resize(std::size_t(width));
    const double step = double(width - 1) / double(last - first);
    const float* v = table.channel(channel);
    qint64 start = first;
    float carry = v[first];
    qint64 next = std::min(columnStartRow(first, step, 1), last + 1);
    for (int p = 0; p < width; ++p) {
        // The row after this column's end is the next one's first: fetch it ahead.
        const qint64 after = std::min(columnStartRow(first, step, p + 2), last + 1);
        __builtin_prefetch(v + after - 1);
        if (next <= start) {
            out[std::size_t(p)] = {carry, carry, carry, carry};
            next = std::max(next, after);
            continue;
        }
        const MinMax m = pyramid.range(table, channel, start, next - 1);
        out[std::size_t(p)] = {v[start], m.min, m.max, v[next - 1]};
        carry = v[next - 1];
        start = next;
        next = after;
    }
}

}  // namespace logger
