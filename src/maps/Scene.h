// What a view draws, as data: coloured lines, texts and circles in canvas pixels. The scene
// builders are plain functions, so tests check colours and positions without a window and the
// view widgets only paint the list.
#pragma once

#include "maps/CellTables.h"
#include "maps/ViewGeometry.h"

#include <QList>
#include <QPointF>
#include <QString>
#include <optional>
#include <vector>

namespace maps {

// What a drawn element belongs to, so that tests and the painter can tell them apart.
enum class Part { Frame, Cell, LiveMarker, LiveCell, Cursor, Selection, Difference };

struct Line {
    QPointF a;
    QPointF b;
    Rgb colour;
    Part part = Part::Frame;
    // For Cell and LiveCell segments: the start cell and the end cell.
    int s = -1;
    int t = -1;
    int s2 = -1;
    int t2 = -1;
};

struct Text {
    QPointF at;  // left end of the base line, or its middle when centred
    QString text;
    Rgb colour = colours::axis;
    bool centred = false;
    // Room the text has along its base line (0: as much as it needs). Where the view's font is
    // wider, the painter narrows the font for this text so neighbouring labels stay apart.
    double maxWidth = 0;
};

struct Circle {
    QPointF centre;
    double radius = 0;
    Rgb colour;
    bool filled = false;
    Part part = Part::Frame;
};

// Where a cell's value is drawn, for finding the cell under the mouse.
struct CellPoint {
    CellAt cell;
    QPointF at;
};

struct Scene {
    int width = 0;
    int height = 0;
    Rgb background = colours::background;
    // Scenes with the same key have the same background, Frame lines and texts, so a view may
    // keep that part painted and redraw only the rest.
    QString frameKey;
    QList<Line> lines;
    QList<Text> texts;
    QList<Circle> circles;
    QList<CellPoint> points;
};

// The live values the views follow (from the last good poll).
struct LivePoint {
    double rpmForMaps = 0;  // already limited to 16000 rpm by the poll
    double throttle = 0;    // %
    double airTemp = 0;     // °C
    double engineTemp = 0;  // °C
};

// What the editor marks in a view: the cursor cell when the view is being edited, the
// selected block, and the cells that differ from a reference setup.
struct ViewCursor {
    bool shown = false;
    int speedIndex = 0;  // or tempIndex for the curves
    int throttleIndex = 0;
    std::optional<CellRect> selection{};
    std::vector<CellAt> differing{};
};

// The cell under a canvas point: the nearest drawn cell within a few pixels.
std::optional<CellAt> cellNear(const Scene& scene, QPointF at);

}  // namespace maps
