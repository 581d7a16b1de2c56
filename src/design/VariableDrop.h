// Drag and drop between and within the "Available" and "Selected" lists.
#pragma once

#include <vector>

#include "design/DesignGrids.h"

namespace vantrep::design {

// The check a row takes when it lands at data row `row` of "Selected": an
// unchecked row takes the check of the row it was dropped on (the row now
// below it; at the end, the row above), a checked row the check of the row
// above, except at the first data row, where it keeps its own.
void AdjustDroppedCheck(grid::GridModel& selected, int row, bool appended);

// The drop of the selected rows `rows` of list `source` on row `targetRow`
// of list `target` (a header row or -1: after the last row). Refused when it
// would empty "Selected" or a selected row is a header row. The rows keep
// their order. Returns true when rows moved.
bool DropOnVariableList(DesignGrids& grids, DesignGrid source, std::vector<int> rows, DesignGrid target,
                        int targetRow);

}  // namespace vantrep::design
