// The block operations of the map editor on a rectangle of cells, as plain arithmetic on the
// shown values: set, add, scale, smooth and interpolate. Every result is rounded to a whole
// number (halves to the even neighbour, as typed values are) and limited to the view's range.
#pragma once

#include "maps/CellTables.h"

#include <vector>

namespace maps {

// Shown values of a rectangle, row by row from its lowest row (throttle index) up.
struct BlockValues {
    int columns = 0;
    int rows = 0;
    std::vector<int> values;

    int at(int column, int row) const { return values[size_t(row * columns + column)]; }
    int& at(int column, int row) { return values[size_t(row * columns + column)]; }
    bool operator==(const BlockValues&) const = default;
};

enum class BlockOp {
    Set,          // every cell to amount
    Add,          // every cell plus amount
    Scale,        // every cell times amount %
    Smooth,       // every cell halfway to the mean of its neighbours inside the block
    Interpolate,  // linear between the corner values (the end values of a single row or column)
};

BlockValues applyBlockOp(const BlockValues& block, BlockOp op, double amount, ShownRange range);

// The German name of an operation, for the log and the undo list.
QString blockOpName(BlockOp op);

}  // namespace maps
