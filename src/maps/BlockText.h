// A block of cells as a spreadsheet shows it, for the clipboard: one line per throttle row from
// the top row of the views (the highest throttle) down, the speeds across, values separated by
// tabs. Reading accepts what spreadsheets write: tabs, CR LF, a trailing line end, and decimals
// with a point or a comma (rounded to whole numbers, halves to the even neighbour).
#pragma once

#include "maps/BlockOps.h"

#include <QString>
#include <optional>

namespace maps {

QString blockText(const BlockValues& block);

struct ParsedBlock {
    std::optional<BlockValues> block;  // rows from the lowest up, as BlockValues keep them
    QString error;                     // why the text was refused
};

// Longer texts cannot be a block of the maps; they are refused before being split.
inline constexpr qsizetype blockTextLimit = 64 * 1024;

ParsedBlock parseBlockText(const QString& text);

}  // namespace maps
