#include "logger/LogTable.h"

#include <algorithm>
#include <new>

namespace logger {

namespace {
qint64 allocationLimit = 0;
}

void LogTable::setAllocationLimit(qint64 bytes)
{
    allocationLimit = bytes;
}

bool LogTable::resize(qint64 rows)
{
    if (rows < 1)
        return false;
    const qint64 bytes = rows * columns * qint64(sizeof(float));
    if (allocationLimit > 0 && bytes > allocationLimit)
        return false;
    // The old table stays valid until the new one exists, so a failure changes nothing.
    try {
        std::vector<float> cells(static_cast<std::size_t>(rows) * columns, 0.0f);
        const qint64 keep = std::min(rows, m_rows);
        std::copy_n(m_cells.begin(), keep * columns, cells.begin());
        m_cells.swap(cells);
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    m_rows = rows;
    return true;
}

void LogTable::clear()
{
    std::fill(m_cells.begin(), m_cells.end(), 0.0f);
}

}  // namespace logger
