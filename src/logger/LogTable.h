// LogTable: the logger's in-memory table of recorded rows, 19 columns by (capacity + 1) rows,
// rows counted from 1 (row 0 stays empty).
//
// It is kept column by column so that the chart reads one channel as one contiguous array:
// - column 0, the time in ms, as 32-bit whole milliseconds while every value is one (24 days),
//   widened to double on the first value that is not, so milliseconds are never lost;
// - columns 1 to 14 as single-precision floats;
// - columns 15 to 18 only exist in files written by other hands; they take memory only once a
//   value other than 0 is stored there and read back as 0 otherwise.
#pragma once

#include "logger/ColumnStore.h"

#include <QtGlobal>
#include <array>

namespace logger {

class LogTable final {
public:
    static constexpr int columns = 19;
    static constexpr int valueColumns = 15;  // columns 0 to 14 carry the recorded values
    static constexpr int channels = 14;      // columns 1 to 14

    LogTable();

    // Sizes the table for rows 0 .. rows - 1; new rows are 0. Returns false, leaving the
    // table as it was, when the memory cannot be had (or the size exceeds the allocation
    // limit).
    bool resize(qint64 rows);
    qint64 rows() const { return m_rows; }

    double value(qint64 row, int column) const;
    // Returns false when a value needs memory that cannot be had (a widened time column, one
    // of columns 15 to 18); the table is unchanged then.
    bool setValue(qint64 row, int column, double v);
    // Fast paths for filling whole rows: columns 1 to 14 and the time.
    void setChannel(qint64 row, int channel, float v) { m_channels[channel - 1][row] = v; }
    bool setTime(qint64 row, double ms);
    double time(qint64 row) const
    {
        return m_timeWide.empty() ? double(m_timeMs[row]) : m_timeWide[row];
    }

    // Channel 1 to 14 (= column) as one contiguous array indexed by row.
    const float* channel(int channel) const { return m_channels[channel - 1].data(); }

    // Zeroes every cell.
    void clear();
    // Before new data: drops columns 15 to 18 and narrows the time column again.
    void startOver();
    // Bytes the table's columns take per row at present.
    qint64 bytesPerRow() const;
    bool extraColumnsInUse() const;

    // An upper bound in bytes for the table, so that a failing allocation can be tested;
    // 0 = none.
    static void setAllocationLimit(qint64 bytes);

private:
    bool fits(qint64 rows, qint64 bytesPerRow) const;

    std::array<ColumnStore<float>, channels> m_channels;
    ColumnStore<qint32> m_timeMs;
    ColumnStore<double> m_timeWide;  // in use instead of m_timeMs once not empty
    std::array<ColumnStore<float>, columns - valueColumns> m_extra;
    qint64 m_rows = 0;
};

}  // namespace logger
