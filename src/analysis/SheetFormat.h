// How a grid column's cells go into a worksheet: as text, as numbers or as
// dates, with the spreadsheet number format that shows them as the program's
// display pattern does. Cells hold the value the grid shows (after divisor and
// rounding), read back from the cell's text, so that a sum in the spreadsheet
// adds up what the user sees.
#pragma once

#include <QString>

#include <optional>

namespace vantrep::analysis {

enum class SheetValueKind { Text, Number, Date };

struct SheetFormat {
    SheetValueKind kind = SheetValueKind::Text;
    QString numberFormat;  // the spreadsheet's format code; "" for text
    QString pattern;       // the display pattern it stands for
};

// The sheet format of cells shown through `pattern`. Number patterns ("#,###",
// "###,###.00", "###.00%") give numbers with the same placeholders, grouping,
// decimals and literal text. Date patterns made of numeric days, months and
// four-digit years with literal text between ("dd/mm/yyyy") give dates; any
// other date pattern (names, two-digit years, times) and the empty pattern
// keep the cells as text.
SheetFormat SheetFormatOf(const QString& pattern);

// The value a cell of that format holds, read from its shown text: a number,
// or a date as a serial day count from 30 December 1899. nullopt when the
// text is not such a value (empty, a caption in a number column, text
// columns), and the cell is written as text.
std::optional<double> SheetValueOf(const QString& text, const SheetFormat& format);

}  // namespace vantrep::analysis
