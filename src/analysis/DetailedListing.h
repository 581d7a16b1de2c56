// The detailed listing (`FillDetailed`): the data rows themselves in the main
// grid, the displayed fields as columns in their order, the user's filters
// applied, clip buttons in the AD_TYPE cells and subtotals per group level.
#pragma once

#include <QImage>

#include "grid/GridModel.h"
#include "session/Session.h"

namespace vantrep::analysis {

// Level colours of the listing's subtotals (24-bit, blue in the high byte).
int SubtotalLevelColor(int level);

// Fills `grid` from the open report of `session`. `clipButton` is the picture
// shown at the right of an AD_TYPE cell that has a clip. An engine error ends
// the fill with the grid as far as it got, is shown through the session's Ui,
// and false is returned. When memory runs out the grid is emptied, the
// session's recordset closed, the user told (GiveUpForMemory) and false
// returned.
bool FillDetailed(session::Session& session, grid::GridModel& grid, grid::TextMeasure& measure,
                  const QImage& clipButton);

}  // namespace vantrep::analysis
