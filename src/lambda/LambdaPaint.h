// Drawing the lambda table: the window's grid canvas (axes, coloured cells, values or
// judgements, the operating-point frame) and the printed page. QtGui only, so both can be drawn
// on any paint device and checked without windows.
#pragma once

#include "app/core/LambdaClass.h"
#include "lambda/LambdaTable.h"

#include <QColor>
#include <QString>
#include <array>

class QPainter;
class QPaintDevice;

namespace lambda {

// What the grid canvas (725 × 280 units) shows.
struct GridView {
    std::array<bool, 3> probes{true, true, true};  // "Lambda 1" … "Lambda 3"
    bool showValues = true;                        // "Werte [V]"; false: "++ / --"
    Thresholds thresholds;
    int pointSpeed = 1;  // operating point, counted from 1
    int pointThrottle = 1;
    bool redFrame = false;  // the injection map is being edited
    QColor background{240, 240, 240};
};

// The operating point of a live record in grid cells; outside values are kept in the grid.
std::pair<int, int> operatingPoint(int rpmForMaps, double throttle);

void paintGrid(QPainter& p, const LambdaTable& table, const GridView& view);

// What the printed page shows besides the table.
struct PrintHeader {
    QString fileName, date, time, hardware, software, comment;
    QString printedAt;    // "dd.MM.yyyy, um hh:mm:ss"
    QString description;  // first footer line
    QString systemLine;   // "[ CPU: … ]"
};

// One page on device: title, header lines, the threshold box and one grid per probe.
// Returns false when the painter cannot start on the device.
bool printPage(QPaintDevice& device, const LambdaTable& table, const Thresholds& t,
               const PrintHeader& header);

}  // namespace lambda
