#include "logger/LogTable.h"

#include <cmath>
#include <limits>

namespace logger {

namespace {
qint64 allocationLimit = 0;

bool wholeMilliseconds(double ms)
{
    return ms >= std::numeric_limits<qint32>::min() && ms <= std::numeric_limits<qint32>::max() &&
           ms == std::floor(ms);
}
}  // namespace

void LogTable::setAllocationLimit(qint64 bytes)
{
    allocationLimit = bytes;
}

LogTable::LogTable() = default;

qint64 LogTable::bytesPerRow() const
{
    qint64 bytes = channels * qint64(sizeof(float));
    bytes += m_timeWide.empty() ? qint64(sizeof(qint32)) : qint64(sizeof(double));
    for (const auto& c : m_extra)
        bytes += c.empty() ? 0 : qint64(sizeof(float));
    return bytes;
}

bool LogTable::extraColumnsInUse() const
{
    for (const auto& c : m_extra)
        if (!c.empty())
            return true;
    return false;
}

bool LogTable::fits(qint64 rows, qint64 perRow) const
{
    if (rows > std::numeric_limits<qint64>::max() / perRow)
        return false;
    return allocationLimit <= 0 || rows * perRow <= allocationLimit;
}

bool LogTable::resize(qint64 rows)
{
    if (rows < 1 || !fits(rows, bytesPerRow()))
        return false;
    const qint64 old = m_rows;
    bool ok = m_timeWide.empty() ? m_timeMs.resize(rows) : m_timeWide.resize(rows);
    for (auto& c : m_channels)
        ok = ok && c.resize(rows);
    for (auto& c : m_extra)
        ok = ok && (c.empty() || c.resize(rows));
    if (!ok) {
        // Shrinking back never needs memory; the rows that were there keep their values.
        (m_timeWide.empty() ? m_timeMs.resize(old) : m_timeWide.resize(old));
        for (auto& c : m_channels)
            c.resize(std::min(c.size(), old));
        for (auto& c : m_extra)
            if (!c.empty())
                c.resize(std::min(c.size(), old));
        return false;
    }
    m_rows = rows;
    return true;
}

double LogTable::value(qint64 row, int column) const
{
    if (column == 0)
        return time(row);
    if (column < valueColumns)
        return m_channels[column - 1][row];
    const auto& extra = m_extra[column - valueColumns];
    return extra.empty() ? 0.0 : extra[row];
}

bool LogTable::setTime(qint64 row, double ms)
{
    if (!m_timeWide.empty()) {
        m_timeWide[row] = ms;
        return true;
    }
    if (wholeMilliseconds(ms)) {
        m_timeMs[row] = qint32(ms);
        return true;
    }
    // The first time that is not a whole 32-bit millisecond: widen the column.
    const qint64 perRow = bytesPerRow() + qint64(sizeof(double) - sizeof(qint32));
    ColumnStore<double> wide;
    if (!fits(m_rows, perRow) || !wide.resize(m_rows))
        return false;
    for (qint64 i = 0; i < m_rows; ++i)
        wide[i] = m_timeMs[i];
    wide[row] = ms;
    m_timeWide = std::move(wide);
    m_timeMs.release();
    return true;
}

bool LogTable::setValue(qint64 row, int column, double v)
{
    if (column == 0)
        return setTime(row, v);
    if (column < valueColumns) {
        m_channels[column - 1][row] = float(v);
        return true;
    }
    auto& extra = m_extra[column - valueColumns];
    if (extra.empty()) {
        if (v == 0)
            return true;
        if (!fits(m_rows, bytesPerRow() + qint64(sizeof(float))) || !extra.resize(m_rows))
            return false;
    }
    extra[row] = float(v);
    return true;
}

void LogTable::clear()
{
    for (auto& c : m_channels)
        std::fill_n(c.data(), c.size(), 0.0f);
    if (m_timeWide.empty())
        std::fill_n(m_timeMs.data(), m_timeMs.size(), 0);
    else
        std::fill_n(m_timeWide.data(), m_timeWide.size(), 0.0);
    for (auto& c : m_extra)
        c.release();
}

void LogTable::startOver()
{
    for (auto& c : m_extra)
        c.release();
    if (!m_timeWide.empty()) {
        ColumnStore<qint32> narrow;
        if (narrow.resize(m_rows)) {
            m_timeMs = std::move(narrow);
            m_timeWide.release();
        }
    }
}

}  // namespace logger
