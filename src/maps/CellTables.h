// The four tables of the SetupRecord seen alike: one cell of a view by (column, row), its value
// as the user sees it (µs, °KW, or the correction in % for the curves), the range the editing
// keys keep it in, and the command that sends it to the KVT.
#pragma once

#include "maps/View.h"
#include "setup/SetupRecord.h"

#include <QByteArray>
#include <QString>
#include <initializer_list>

namespace maps {

// A cell of a view: column = speed or temperature index 0..16, row = throttle index 0..8
// (always 0 on the curves).
struct CellAt {
    int column = 0;
    int row = 0;
    bool operator==(const CellAt&) const = default;
};

// The rectangle of cells between two corners, both included.
struct CellRect {
    int column0 = 0;
    int row0 = 0;
    int column1 = 0;
    int row1 = 0;

    static CellRect spanning(CellAt a, CellAt b);
    int columns() const { return column1 - column0 + 1; }
    int rows() const { return row1 - row0 + 1; }
    int cells() const { return columns() * rows(); }
    bool contains(CellAt c) const
    {
        return c.column >= column0 && c.column <= column1 && c.row >= row0 && c.row <= row1;
    }
    bool operator==(const CellRect&) const = default;
};

// The values a cell may take, as shown.
struct ShownRange {
    int minimum = 0;
    int maximum = 0;
};

// Columns and rows a view has; with the ignition map switched off only row 0 is in use.
int columnCount(View view);
int rowCount(View view, const setup::SetupRecord& record);

// Shown value = stored value, except on the curves where the correction shows stored + 85 %.
int shownOffset(View view);
ShownRange shownRange(View view);
int storedCell(const setup::SetupRecord& record, View view, CellAt cell);
void setStoredCell(setup::SetupRecord& record, View view, CellAt cell, int stored);
inline int shownCell(const setup::SetupRecord& record, View view, CellAt cell)
{
    return storedCell(record, view, cell) + shownOffset(view);
}

// Whether a typed answer holds a number at all: a cancelled box or text without digits must
// never become a 0 in the running engine.
bool holdsNumber(const QString& typed);

// The low byte of each value, in order: the parameter bytes of a short command.
QByteArray bytes(std::initializer_list<int> values);

// One cell command on the line: the letter, the bytes after the 20 ms pause, the log line.
struct CellCommand {
    View view = View::Injection;
    CellAt cell;
    int value = 0;  // stored
    char letter = 'K';
    QByteArray bytes;
    QString logLine;
};

// "K", "T", "Z" or "M" with the cell's indices counted from 1 and its stored value. Injection
// cells log "Einspritzkennfeld aktualisiert (s:t)" when changed as part of a block.
CellCommand cellCommand(View view, CellAt cell, int stored, bool blockLogLine);

// How a cell is named to the user in lists: "(s:t)" for the maps as in the log lines, "(i)"
// for the curves.
QString cellName(View view, CellAt cell);

}  // namespace maps
