// libFuzzer target: any bytes as a log file (".klg"), read with buffers of varying size into
// the table and the chart's pyramid. Every value read must be finite, every record line written
// from the table must read back to the same line, and the pyramid must agree with a plain scan.
#include "logger/ChartPyramid.h"
#include "logger/KlgReader.h"
#include "logger/LogFormat.h"
#include "logger/LogLoader.h"
#include "logger/LogTable.h"

#include <QBuffer>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the buffer size, so that lines fall across refills everywhere.
    const qint64 bufferBytes = 16 + qint64(data[0]) * 3;
    QBuffer in;
    in.setData(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    in.open(QIODevice::ReadOnly);
    logger::KlgReader reader(in, bufferBytes);
    reader.readHeader();

    logger::LogTable table;
    logger::ChartPyramid pyramid;
    qint64 maxRecords = 4;
    table.resize(maxRecords + 1);
    logger::LogTable::setAllocationLimit(1 << 20);
    const logger::LoadResult result = logger::loadRecords(
        reader, table, pyramid, maxRecords, qint64(size) / logger::reckonedLineBytes, {});
    logger::LogTable::setAllocationLimit(0);
    if (result.rows > maxRecords || table.rows() < result.rows + 1)
        std::abort();

    char line[logger::recordLineCapacity];
    char again[logger::recordLineCapacity];
    for (qint64 row = 1; row <= result.rows; ++row) {
        for (int c = 0; c < logger::LogTable::columns; ++c)
            if (!std::isfinite(table.value(row, c)))
                std::abort();
        const int n = logger::formatRecordLine(table, row, line);
        logger::RecordFields fields;
        logger::parseRecordLine(line, line + n - 1, fields);
        std::array<double, 15> values;
        std::copy_n(fields.begin(), 15, values.begin());
        const int m = logger::formatRecordLine(values, again);
        if (m != n || std::memcmp(line, again, std::size_t(n)) != 0)
            std::abort();
    }
    if (result.rows > 0 && pyramid.rowsCovered() == result.rows) {
        for (int c = 1; c <= logger::LogTable::channels; ++c) {
            const float* v = table.channel(c);
            const logger::MinMax m = pyramid.range(table, c, 1, result.rows);
            if (m.min != *std::min_element(v + 1, v + result.rows + 1) ||
                m.max != *std::max_element(v + 1, v + result.rows + 1))
                std::abort();
        }
    }
    return 0;
}
