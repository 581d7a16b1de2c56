// The main window's report commands: `PreviewReport` (the grid report of the
// main grid in the preview) and the fixed-format reports 1 and 2, each shown
// modally in a report window over the main window.
#pragma once

#include <QWidget>

#include "print/PrintFont.h"

namespace vantrep::grid { class GridModel; }
namespace vantrep::session { class Session; }

namespace vantrep::report::ui {

class frmPrint;

// Does nothing when the grid has no data rows or no data table is open.
void PreviewReport(session::Session& session, const grid::GridModel& grid, const print::PrintFont& gridFont,
                   QWidget* mainWindow);

// The grid report of `grid` laid out in `window` (the preview instance a
// client of the automation server shows), without showing it.
void loadGridPreview(frmPrint& window, const session::Session& session, const grid::GridModel& grid,
                     const print::PrintFont& gridFont);

// Report 1 or 2 on the session's data table, printed in the main grid's
// font; any error ends it silently and false is returned.
bool showFixedFormatReport(session::Session& session, grid::GridModel& grid, int report,
                           const print::PrintFont& gridFont, QWidget* mainWindow);

}  // namespace vantrep::report::ui
