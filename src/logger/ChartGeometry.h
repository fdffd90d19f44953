// The logger chart's arithmetic, free of any window: the channels and their strips, the visible
// span for a zoom and cursor, the position bar, the mouse rules, and the texts beside the chart.
#pragma once

#include <QString>
#include <QtGlobal>
#include <array>
#include <optional>

namespace logger {

class LogTable;

struct ChannelInfo {
    const char* name;  // check box text (UTF-8)
    int collapsed;     // strip height in pixels, unticked
    int expanded;      // ticked
};
// Channels 1 to 14 (index 0 = channel 1); channel c shows column c of the table.
extern const std::array<ChannelInfo, 14> channelInfo;

// Each strip takes its height plus this gap; the "Wert:" labels show above this height.
constexpr int stripGap = 5;
constexpr int labelMinHeight = 15;
// The chart is this much narrower than the window; the window at least this wide.
constexpr int chartMargin = 165;
constexpr int minimumWindowWidth = 920;
constexpr int maximumZoom = 1024;

struct ViewSpan {
    qint64 first = 1;
    qint64 last = 1;
    qint64 span = 0;  // last - first; may be 0 at a high zoom on few rows
};
// rows = the rows available (at least 1), zoom a power of two from 1 to 1024.
ViewSpan visibleSpan(qint64 rows, int zoom, qint64 cursor);
// The horizontal step between rows; a span of 0 counts as one step.
double chartStep(int width, qint64 span);

// "100.0%" as the window is built, then 100 / z with two decimals: "50.00%".
QString zoomText(int zoom, bool asBuilt = false);
int zoomIn(int zoom);   // doubled, at most 1024
int zoomOut(int zoom);  // halved, at least 1

// The position bar in the program's terms: maximum, page length and position; the values it
// can take run from 1 to maximum - pageLength + 1.
struct PositionBar {
    qint64 maximum = 1;
    qint64 pageLength = 1;
    qint64 position = 1;
};
PositionBar positionBar(qint64 rows, int zoom, qint64 cursor);

// The wheel without Control: the new cursor, or nothing when the move would leave the rows.
std::optional<qint64> wheelCursor(qint64 rows, qint64 cursor, bool forward, bool shift);
// A click at x in a chart of the given width: the row under it.
qint64 clickedRow(qint64 rows, int zoom, qint64 cursor, double x, int width);

// Channel 14's scale: 1.2 × the largest injection time in rows 1 .. rows (at least 100 µs).
double injectionScale(const LogTable& table, qint64 rows);
// The height in pixels of a value in a strip of height h (channel 14 clipped at the top).
int stripOffset(int channel, double value, int height, double injectionMax);
// The injection time available in one revolution at speed rpm (µs), as the orange line draws
// it: at speed 0 the quick-start speed × 20 counts.
double availableInjectionUs(double rpm, double deadTimeUs, int quickStartSpeed);

// The value label of a channel at the cursor; channel 14 adds " (" + available time + ")".
QString valueText(int channel, double value, double rpm = 0, double deadTimeUs = 0);
// "(hh:mm:ss.mmm)" for a time in ms.
QString cursorTimeText(double ms);

}  // namespace logger
