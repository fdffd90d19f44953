// Loading the record lines of a log file into the LogTable: row by row from row 1, growing the
// table by one row whenever the maximum record count is reached, and keeping the chart's
// pyramid up to date as the rows come in. Messages are the caller's.
#pragma once

#include "logger/KlgReader.h"

#include <QtGlobal>
#include <functional>

namespace logger {

class ChartPyramid;
class LogTable;

struct LoadResult {
    qint64 rows = 0;           // rows read and stored
    bool memoryShort = false;  // reading ended because the table could not grow
};

// Shown whenever the per cent (rows / estimate × 100, 0 without an estimate) changes.
using LoadProgress = std::function<void(qint64 rows, int percent)>;

// Reads records until the input ends or the table cannot grow. maxRecords is the maximum
// record count (the table must have maxRecords + 1 rows); it grows with the table.
LoadResult loadRecords(KlgReader& reader, LogTable& table, ChartPyramid& pyramid,
                       qint64& maxRecords, qint64 estimate, const LoadProgress& progress);

}  // namespace logger
