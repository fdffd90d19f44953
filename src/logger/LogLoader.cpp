#include "logger/LogLoader.h"

#include "logger/ChartPyramid.h"
#include "logger/LogTable.h"

namespace logger {

namespace {
// Stores one parsed line; false when a value needed memory that is not there.
inline bool storeRow(LogTable& table, qint64 row, const RecordFields& f)
{
    if (!table.setTime(row, f[0]))
        return false;
    for (int c = 1; c < LogTable::valueColumns; ++c)
        table.setChannel(row, c, float(f[std::size_t(c)]));
    for (int c = LogTable::valueColumns; c < LogTable::columns; ++c)
        if (f[std::size_t(c)] != 0 && !table.setValue(row, c, f[std::size_t(c)]))
            return false;
    return true;
}
}  // namespace

LoadResult loadRecords(KlgReader& reader, LogTable& table, ChartPyramid& pyramid,
                       qint64& maxRecords, qint64 estimate, const LoadProgress& progress)
{
    LoadResult result;
    RecordFields fields;
    int shownPercent = -1;
    pyramid.reset();
    while (result.rows < maxRecords && reader.nextRecord(fields)) {
        const qint64 row = result.rows + 1;
        if (row >= table.rows() && !table.resize(row + 1)) {
            result.memoryShort = true;
            break;
        }
        if (!storeRow(table, row, fields)) {
            result.memoryShort = true;
            break;
        }
        result.rows = row;
        const int percent = estimate > 0 ? int(double(row) / double(estimate) * 100.0) : 0;
        if (percent != shownPercent) {
            shownPercent = percent;
            // While the estimate holds, this builds the pyramid in about a hundred steps as the
            // rows arrive; when a file of short lines runs past it, the percentage changes with
            // every row, and a partial block is not redone for each of them.
            if (row - pyramid.rowsCovered() >= ChartPyramid::edgeRows)
                pyramid.update(table, row);
            if (progress)
                progress(row, percent);
        }
        if (row == maxRecords) {
            if (!table.resize(maxRecords + 2)) {
                result.memoryShort = true;
                break;
            }
            ++maxRecords;
        }
    }
    pyramid.update(table, result.rows);
    return result;
}

}  // namespace logger
