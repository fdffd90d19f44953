// The comparison file (".klv"): 1054 text lines in UTF-8 with the description line in
// UTF-16LE, holding a measurement's texts, parameters, raw samples, options and its grid.
// Pure functions over bytes, so the format is tested and fuzzed without windows or disks.
#pragma once

#include "power/PowerTypes.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace power {

constexpr int fileLineCount = 1054;

// Everything a comparison file holds.
struct PowerFileContent {
    QString fileName;  // name and extension, without folder
    MeasurementInfo info;
    PowerParameters parameters;
    PowerSamples samples{};  // only time and speed are stored
    PowerOptions options;
    PowerCurve curve{};  // the grid as evaluated when saved
    QString systemText;  // field 2 of the measurement-system line, as written
};

// The stored description: the first 200 characters without line feeds, carriage returns and
// commas; "..." when nothing is left.
QString cleanDescription(const QString& text);
// KVT version texts go into single lines: CR, LF and commas become blanks.
QString cleanVersionText(const QString& text);

QByteArray encodePowerFile(const PowerFileContent& content);

// Reads whatever the bytes hold: missing or non-numeric lines read as empty text or 0,
// non-finite numbers as 0, and the parameters are limited like typed ones.
PowerFileContent decodePowerFile(QByteArrayView bytes);

// The labels a comparison slot shows for a file.
ComparisonLabels comparisonLabels(const PowerFileContent& content);

}  // namespace power
