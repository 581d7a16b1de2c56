// What the user may edit in the designer's grids by hand: the check column
// of the lists (in a listing the checked "Selected" rows are the grouping
// levels and stay one unbroken block from the top), and the order of the
// "Selected" list by Ctrl+Up and Ctrl+Down.
#pragma once

#include "design/DesignGrids.h"
#include "session/FieldDef.h"

namespace vantrep::design {

// Whether a cell of column `col` of grid `id` takes an edit: the dimension
// grids only in their (hidden) check column, the lists only in column 0.
bool CanEditCell(DesignGrid id, int col);

// Toggles the check of data row `row` of a list. In a listing's "Selected"
// list, checking is refused unless the row is the first data row or the row
// above is checked, and unchecking is refused while the row below is checked.
// Returns true when the check changed.
bool ToggleCheck(grid::GridModel& list, DesignGrid id, int row, bool bDetailed);

// Ctrl+Up (`up`) or Ctrl+Down on the "Selected" list with data row `row` the
// single selected row: moves it one place unless it is already first (last).
// In a listing the moved row's check follows its new neighbours (checked
// when the row below is checked after a move up, unchecked under an
// unchecked row after a move down) and every field's Divisor takes its new
// position. Returns the row's new index, or -1 when nothing moved.
int MoveSelectedRow(grid::GridModel& selected, int row, bool up, bool bDetailed, session::FieldList& aDims);

// A listing's column order: every data row of "Selected" writes its position
// (1 for the first data row) into its field's Divisor.
void WriteDivisorPositions(const grid::GridModel& selected, session::FieldList& aDims);

}  // namespace vantrep::design
