// The one-page printout of the power comparison: title, print date and the user's text, the
// parameters, a block per shown curve, the display settings, the cursor read-outs, the chart
// and the footer with the computer's facts. Drawn on any paged device (printer or PDF).
#pragma once

#include "app/core/SystemInfo.h"
#include "power/ChartPainter.h"
#include "power/PowerTypes.h"

#include <QDateTime>
#include <QString>
#include <array>

class QPagedPaintDevice;
class QPainter;

namespace power {

struct PrintContent {
    PowerParameters parameters;
    PowerOptions options;
    MeasurementInfo info;
    QString fileName;                             // current measurement
    std::array<ComparisonLabels, 2> comparisons;  // "Kurve 2:", "Kurve 3:"
    ChartInput chart;
    QString printText;  // "Individualtext auf Ausdruck:"
    QDateTime printedAt;
    app::SystemInfo system;
};

constexpr const char* printJobName = "KVT - Leistungsvergleich";

// Draws the page in units of points on a page of the given size (in points).
void drawPowerPage(QPainter& painter, const QSizeF& page, const PrintContent& content);

// Draws the page on a device that has just been set up (a printer after its dialog, a PDF
// writer); false when painting could not start.
bool printPowerPage(QPagedPaintDevice& device, const PrintContent& content);

// The page as a PDF file (A4), for the command-line tool and tests.
bool printPowerPdf(const QString& path, const PrintContent& content);

}  // namespace power
