// A table of one row being built on the print surface: the cells the caller
// fills between startTable and endTable, with the attributes a band line sets.
//
// Alignment codes place text in its cell on a 3 x 3 grid: code % 3 is the
// horizontal place (0 left, 1 centre, 2 right), code / 3 the vertical one
// (0 top, 1 bottom, 2 middle); so 6, 7 and 8 are left, centred and right in
// the middle of the row. Any other code is left and middle.
#pragma once

#include <QString>

#include <vector>

#include "print/PrintFont.h"

namespace vantrep::print {

enum class TableBorder { None, All };

struct TableCell {
    QString text;
    double width = 0;  // twips
    int align = 6;
    PrintFont font;
    int color = 0;  // text colour number
    // The further cell attribute: a background colour number; 0 leaves the
    // cell unfilled.
    int attribute = 0;
};

struct PrintTable {
    std::vector<TableCell> cells;  // the columns, left to right
    double rowHeight = -1;  // twips; below 0 fits the tallest cell text
    bool hidden = false;  // measured, neither drawn nor moving Y
};

enum class HorizontalPlace { Left, Centre, Right };
enum class VerticalPlace { Top, Bottom, Middle };

struct Placement {
    HorizontalPlace horizontal = HorizontalPlace::Left;
    VerticalPlace vertical = VerticalPlace::Middle;
};

// The place of alignment code `code`, as described above.
Placement placementFromCode(int code);

}  // namespace vantrep::print
