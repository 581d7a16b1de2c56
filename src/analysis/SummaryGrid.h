// The summary grid (`FillSummary`): the cross-tab statements run and widened
// by the pivot, laid out in the main grid with header rows, row-dimension
// columns, value and percentage columns; empty columns and rows removed.
#pragma once

#include "analysis/QueryBuilder.h"
#include "grid/GridModel.h"
#include "session/Session.h"

namespace vantrep::analysis {

// Fills `grid` from the statements of `query` on the open report of
// `session`. When `embedded` (started for automation), the grid is saved as
// "GridData.bin" in the working folder. An engine error ends the fill with the
// grid as far as it got and is shown through the session's Ui.
void FillSummary(session::Session& session, const CrossTabQuery& query, grid::GridModel& grid,
                 grid::TextMeasure& measure, bool embedded);

}  // namespace vantrep::analysis
