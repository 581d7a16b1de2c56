// The summary grid (`FillSummary`): the cross-tab statements run and widened
// by the pivot, laid out in the main grid with header rows, row-dimension
// columns, value and percentage columns; empty columns and rows removed.
#pragma once

#include "analysis/QueryBuilder.h"
#include "grid/GridModel.h"
#include "session/Session.h"

namespace vantrep::analysis {

// Fills `grid` from the statements of the session's query state on its open
// report, and leaves `nQueryIndex` at the last statement. When the program
// was started for automation, the grid is saved as "GridData.bin" in the
// working folder. An engine error ends the fill with the grid as far as it
// got, is shown through the session's Ui, and false is returned.
bool FillSummary(session::Session& session, grid::GridModel& grid, grid::TextMeasure& measure);

}  // namespace vantrep::analysis
