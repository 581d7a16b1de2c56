// The grid as text: every row as shown (fixed rows first, hidden rows and
// columns left out, subtotal rows included), one line per row. A merged
// cell writes its text in every cell it covers: merging is a display effect.
#pragma once

#include <QString>

#include "grid/GridModel.h"

namespace vantrep::grid {

enum class TextLayout {
    Tsv,  // tab-separated; a tab, line break or backslash inside a cell as \t, \n, \r, \\ .
    // comma-separated; a cell holding a comma, quote or line break in double quotes, quotes doubled;
    // a text beginning with "=", "+", "-" or "@" that is not a number gets a leading "'", so a
    // spreadsheet keeps it as text instead of running it as a formula
    Csv,
};

QString GridAsText(const GridModel& grid, TextLayout layout);

// Writes GridAsText as UTF-8. Throws engine::EngineError (errIo) naming the file.
void WriteGridText(const GridModel& grid, const QString& path, TextLayout layout);

}  // namespace vantrep::grid
