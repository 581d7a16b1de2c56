// `vantrep --export OUT REPORTARG`: opens the report as the main window's
// first activation does, fills the summary grid or the listing, and writes the
// grid to OUT, its kind chosen by OUT's ending: .tsv or .csv text, or a .pdf
// of the grid report (of the fixed-format report with ",1" or ",2").
#pragma once

#include <QString>

namespace vantrep::app {

// Returns the process exit status: 0 when OUT was written.
int RunExport(const QString& out, const QString& reportArgument);

}  // namespace vantrep::app
