// ChartPyramid: the smallest and largest value of every channel over blocks of rows, in levels
// of 64, 128, 256 ... rows, so that the chart finds the envelope of any run of rows in a few
// steps instead of scanning them all. Built while a file is read and extended while recording.
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
    static constexpr qint64 blockRows = 64;

    // Forgets everything (a new recording or file).
    void reset();
    // Covers rows 1 to rows of the table; rows covered before keep their blocks. Returns false
    // when the memory for it cannot be had: the pyramid is then empty and range() scans.
    bool update(const LogTable& table, qint64 rows);
    qint64 rowsCovered() const { return m_rows; }

    // Smallest and largest value of a channel (1 to 14) in rows first to last (inclusive,
    // 1 <= first <= last <= the rows of the table).
    MinMax range(const LogTable& table, int channel, qint64 first, qint64 last) const;

private:
    using Level = ColumnStore<MinMax>;
    std::array<std::vector<Level>, LogTable::channels> m_levels;
    qint64 m_rows = 0;
};

// The envelope of one pixel column of the chart: the values of its first and last row and the
// smallest and largest value in between.
struct ColumnEnvelope {
    float first;
    float min;
    float max;
    float last;
};

// The rows of the view first .. last spread over width pixel columns, x = step × (row - first)
// with step = (width - 1) / span, each row going to the column its x rounds to. Fills one
// envelope per column; a column no row falls into copies its left neighbour's last value.
// Needs span = last - first >= 1 and width >= 2.
void decimate(const LogTable& table, const ChartPyramid& pyramid, int channel, qint64 first,
              qint64 last, int width, std::vector<ColumnEnvelope>& out);

// Pixel columns holding more rows than this start on whole blocks of the pyramid.
constexpr qint64 snapRows = 8 * ChartPyramid::blockRows;
// The first row of pixel column p (rows before it lie in columns < p).
qint64 columnStartRow(qint64 first, double step, int p);

}  // namespace logger
