// The column grid's outline: top-level rows (outline level 1, subtotal mark)
// stand for the top-level column dimensions, each followed by its group's
// child rows (outline level 0) for the nested dimensions.
#pragma once

#include <vector>

#include "grid/GridModel.h"

namespace vantrep::design {

// The first row from `startRow` to the last whose outline level equals
// `level`; 0 when there is none.
int FindOutlineRow(const grid::GridModel& grid, int startRow, int level);

// The number of rows of the first column group: the index of the first row
// from row 2 on with outline level 1, minus 1; the last row's index when no
// such row follows.
int CountFirstColumnGroup(const grid::GridModel& grid);

// The top-level rows, in order.
std::vector<int> TopLevelRows(const grid::GridModel& grid);

// The row after the last child of the group whose top-level row is `topRow`:
// the next top-level row, or rows() at the end of the grid.
int GroupEnd(const grid::GridModel& grid, int topRow);

// Makes `row` a top-level row of its own caption (`caption`), and gives the
// rows after it, up to the next top-level row, that caption as row data.
void MakeTopLevel(grid::GridModel& grid, int row, const QString& caption);

}  // namespace vantrep::design
