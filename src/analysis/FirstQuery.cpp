#include "analysis/FirstQuery.h"

#include "analysis/DetailedListing.h"
#include "analysis/QueryBuilder.h"
#include "analysis/SummaryGrid.h"

namespace vantrep::analysis {

void RunFirstQuery(session::Session& session, grid::GridModel& grid, grid::TextMeasure& measure,
                   const QImage& clipButton, bool embedded) {
    if (session.bDetailed) {
        FillDetailed(session, grid, measure, clipButton);
        return;
    }
    grid.clear();
    CrossTabQuery query = RunQuery(session.aDims, session.cmbField, session.aVars, QString(), session.sDataFile);
    FillSummary(session, query, grid, measure, embedded);
}

}  // namespace vantrep::analysis
