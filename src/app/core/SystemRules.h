// The system window's computations, kept free of widgets: stepped and limited entries, the
// logger's resulting recording time and file size, and the check of the lambda thresholds.
#pragma once

#include <QString>
#include <QtGlobal>

namespace app {

// Int(value / step) · step (truncating toward zero), then limited to minimum .. maximum.
qint64 steppedEntry(qint64 value, qint64 step, qint64 minimum, qint64 maximum);

// Longest recording: records × period / 1000 whole seconds, as "hh:mm:ss".
QString loggerTimeText(qint64 records, qint64 periodMs);
// Approximate log file size: Int(records · 65 / 1000) + " kB".
QString loggerSizeText(qint64 records);

// The big display's lambda thresholds in mV must not rise from "sehr fett (++)" down to
// "sehr mager (--)"; equal neighbours are fine. True when they need checking.
bool lambdaThresholdsOutOfOrder(double veryRich, double rich, double lean, double veryLean);
// "Lambdaanzeigewerte prüfen!" or empty.
QString lambdaThresholdWarning(double veryRich, double rich, double lean, double veryLean);

// Volts as shown in the system window: mV / 1000 with two decimals, three when the millivolts
// need them (so that the shown text reads back as the stored value).
QString voltsText(double millivolts);

// The printout text keeps its first 100 characters.
QString printoutTextEntry(const QString& text);

}  // namespace app
