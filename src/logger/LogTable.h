// LogTable: the logger's in-memory table, 19 single-precision columns by (capacity + 1) rows,
// rows counted from 1 (row 0 stays empty).
#pragma once

#include <QtGlobal>
#include <vector>

namespace logger {

class LogTable final {
public:
    static constexpr int columns = 19;

    // Sizes the table for rows 0 .. rows - 1. Returns false, leaving the table as it was, when
    // the memory cannot be had (or the size exceeds the allocation limit).
    bool resize(qint64 rows);
    qint64 rows() const { return m_rows; }

    float value(qint64 row, int column) const { return m_cells[index(row, column)]; }
    void setValue(qint64 row, int column, float v) { m_cells[index(row, column)] = v; }
    void clear();

    // An upper bound in bytes for resize, so that a failing allocation can be tested; 0 = none.
    static void setAllocationLimit(qint64 bytes);

private:
    std::size_t index(qint64 row, int column) const
    {
        return static_cast<std::size_t>(row) * columns + static_cast<std::size_t>(column);
    }

    std::vector<float> m_cells;
    qint64 m_rows = 0;
};

}  // namespace logger
