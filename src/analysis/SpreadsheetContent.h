// What the spreadsheet export writes besides the grid itself: the criteria
// lines, the sheet's name, the folder clip links resolve against, and how
// each column's cells are written (text, numbers or dates, and in which
// format). Worked out from the open report, or given by hand.
#pragma once

#include <QString>

#include <vector>

#include "analysis/SheetFormat.h"
#include "grid/GridModel.h"
#include "session/Session.h"

namespace vantrep::analysis {

struct SpreadsheetContent {
    // The criteria text (getCriteria): one row per line above the grid, the
    // lines split at carriage returns; an empty last line is not written.
    QString criteria;
    // The report's name; cleaned and cut to what a sheet name may be.
    QString sheetName;
    // The report folder the user opened: relative clip paths resolve against
    // it, so that the links still work once the working copy is gone.
    QString reportFolder;
    // Per grid column (0-based); a column beyond the end is text.
    std::vector<SheetFormat> columns;
};

// The content for the grid of the open report: the value columns of a
// summary as numbers in their variable's display format, share columns in
// the share format; the number and date fields of a listing in theirs; row
// dimensions and every other column as text. Columns are recognised by their
// heading in the last heading row, so moved columns keep their formats.
SpreadsheetContent SpreadsheetContentFor(const session::Session& session, const grid::GridModel& grid,
                                         const QString& criteria, const QString& reportFolder);

}  // namespace vantrep::analysis
