// The filters kept with a saved report or layout (session/FilterFile.h)
// taking effect: read into the value lists once they are filled, before the
// first query, and the page filter built again from them.
#pragma once

#include <QString>

#include "session/ReportOpening.h"
#include "session/Session.h"

namespace vantrep::analysis {

// Reads the filter file beside the open report's structure file into its
// value lists and rebuilds the page filter (`sPageFilter`,
// `sPageFilterText`) from them. A damaged file is a warning, never a failure.
void RestoreFilters(session::Session& session);

// A saved layout applied to the open report (session::ApplyLayoutFile) with
// the filters kept beside it. Returns ApplyLayoutFile's outcome; a layout
// that is refused leaves the report and its filters as they were.
session::OpenOutcome ApplyLayoutWithFilters(session::Session& session, const QString& layoutPath);

}  // namespace vantrep::analysis
