// ChartPyramid: the smallest and largest value of every channel over blocks of rows, in levels
// of 64, 256, 1024 ... rows, so that the chart finds the envelope of a pixel column holding
// thousands of rows in a few steps instead of scanning them all. Built while a file is read
// and extended while recording.
#pragma once

#include "logger/ColumnStore.h"
#include "logger/LogTable.h"

#include <QtGlobal>
#include <array>
#include <vector>

namespace logger {

struct MinMax {
    float min;
    float max;
};

class ChartPyramid final {
public:
    static constexpr qint64 blockRows = 64;  // rows of a block of level 0
    static constexpr int fanOut = 4;         // blocks of one level per block of the next

    // Forgets everything (a new recording or file).
    void reset();
    // Covers rows 1 to rows of the table; rows covered before keep their blocks. Returns false
    // when the memory for it cannot be had: the pyramid is then empty and the chart scans.
    bool update(const LogTable& table, qint64 rows);
    qint64 rowsCovered() const { return m_rows; }
    int levels() const { return int(m_levels[0].size()); }

    // Smallest and largest value of a channel (1 to 14) in rows first to last (inclusive,
    // 1 <= first <= last <= the rows of the table).
    MinMax range(const LogTable& table, int channel, qint64 first, qint64 last) const;
    // Blocks b0 .. b1 - 1 of one level merged into m.
    MinMax blocks(int channel, int level, qint64 b0, qint64 b1, MinMax m) const;
    // The first and last value of block b of level 1 (rows b × 256 + 1 ...): a coarse view
    // reads these instead of two rows on a new memory page for every pixel column.
    static constexpr qint64 edgeRows = blockRows * fanOut;
    MinMax edges(int channel, qint64 b) const { return m_edges[channel - 1][b]; }

private:
    using Level = ColumnStore<MinMax>;
    std::array<std::vector<Level>, LogTable::channels> m_levels;
    std::array<ColumnStore<MinMax>, LogTable::channels> m_edges;  // {first, last}
    qint64 m_rows = 0;
};

// Rows [from, to) of a column (0-based indices) merged into m.
MinMax scanRows(const float* values, qint64 from, qint64 to, MinMax m);

// How the rows first .. last spread over width pixel columns: x = step × (row - first) with
// step = (width - 1) / span, each row in the column its x rounds to. When a column holds many
// rows, its start moves to a whole block of the pyramid level the chart reads (at most an
// eighth of a pixel), so that columns are answered from blocks alone.
struct ColumnPlan {
    qint64 first = 1;
    qint64 last = 1;
    double step = 1;
    int level = -1;       // pyramid level read, -1 = rows scanned
    qint64 snapRows = 1;  // column starts are multiples of this (as 0-based index)
};
ColumnPlan planColumns(const ChartPyramid& pyramid, qint64 first, qint64 last, int width);
// The first row of pixel column p (rows before it lie in columns < p); p = width gives last + 1.
qint64 columnStart(const ColumnPlan& plan, int p);

// The envelope of one pixel column of the chart: the values of its first and last row and the
// smallest and largest value in between.
struct ColumnEnvelope {
    float first;
    float min;
    float max;
    float last;
};

// One envelope per pixel column; a column no row falls into copies its left neighbour's last
// value. Needs span = last - first >= 1 and width >= 2.
void decimate(const LogTable& table, const ChartPyramid& pyramid, int channel, qint64 first,
              qint64 last, int width, std::vector<ColumnEnvelope>& out);

}  // namespace logger
