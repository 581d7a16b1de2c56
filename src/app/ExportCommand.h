// `vantrep --export OUT [--chart KIND] [--layout FILE] REPORTARG`: opens the report through
// the report run, as the main window does, and writes the result to OUT, its
// kind chosen by OUT's ending: .tsv or .csv text of the grid, an .xlsx
// workbook, a .pdf of the grid report (of the fixed-format report with ",1"
// or ",2"), or a .jpg or .png picture of the summary's chart (KIND "line",
// "area", "sarea" or "radar"; line by default).
#pragma once

#include <QString>
#include <QStringList>

#include "grid/GridModel.h"
#include "session/Session.h"

namespace vantrep::app {

// What the command line asks to export.
struct ExportRequest {
    QString out;
    QString chartKind = QStringLiteral("line");
    QString layoutFile;  // --layout: a saved layout applied before the grid is filled
    QString reportArgument;
};

// Reads the arguments after "--export": OUT, the options, then REPORTARG.
// Returns false with the reason in `error` when they do not fit.
bool parseExportArguments(const QStringList& arguments, ExportRequest& request, QString& error);

// Writes the open report's grid to `out`, its kind chosen by the ending as
// for --export (a picture shows the chart of kind `chartKind`). The file is
// written beside `out` and renamed into place. Returns false with the reason
// in `error` when nothing was written.
bool WriteOpenReport(const session::Session& session, const grid::GridModel& grid, const QString& out,
                     const QString& chartKind, QString& error);

// Runs the export. Returns the process exit status: 0 when OUT was written
// completely, 1 when the report or the writing failed, 2 when the request
// cannot be served. Messages go to standard error.
int RunExport(const ExportRequest& request);

}  // namespace vantrep::app
