// The query a report shows first, and again after its layout changes: the
// detailed listing for a .dtr report; for a summary, the grid cleared, the
// cross-tab statements built from the session's layout and the summary grid
// filled.
#pragma once

#include <QImage>

#include "grid/GridModel.h"
#include "session/Session.h"

namespace vantrep::analysis {

// `clipButton` is the listing's clip picture; `embedded` is true when the
// program runs for automation (the summary grid is then saved for the client).
void RunFirstQuery(session::Session& session, grid::GridModel& grid, grid::TextMeasure& measure,
                   const QImage& clipButton, bool embedded);

}  // namespace vantrep::analysis
