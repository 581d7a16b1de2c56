// The two fixed-format reports, written here as complete band definitions:
// report 1, "S1 - Detailed Monthly Report in Units" (spends grouped by media,
// manufacturer and brand), and report 2, "T.V Program Log" (a station log
// grouped by day and station, programme and break). Each runs its own query
// over the report's data table and prints through a BandedReport.
#pragma once

#include <QString>

#include <memory>

#include "engine/Recordset.h"
#include "print/PrintFont.h"
#include "print/PrintSurface.h"
#include "report/BandedReport.h"

namespace vantrep::grid { class GridModel; }
namespace vantrep::session { class Session; }

namespace vantrep::report {

// The query of report 1 or 2 over `dataTable`.
QString fixedReportQuery(int report, const QString& dataTable);

// Opens the report's query on the session's data connection, forward-only
// and read-only. Throws EngineError when it cannot be opened.
std::unique_ptr<engine::Recordset> openFixedReportData(session::Session& session, int report);

// Stores the logo as the data of cell 0, 0 of `grid` (grown to one cell if
// it has none), where the report header's "img;0,0" item finds it.
void storeReportLogo(grid::GridModel& grid);

// Sets the margins and band properties of report 1 or 2 on `report`;
// `reportName` is the open report's name (report 1 prints it).
void setFixedReportProperties(BandedReport& report, int number, const QString& reportName);

// The whole report without a window: query, logo, properties and print run
// onto `surface`, in `gridFont` (the main grid's font, as the fixed-format
// reports print in it). Any error ends it, and false is returned.
bool printFixedFormatReport(session::Session& session, grid::GridModel& grid, print::PrintSurface& surface,
                            int report, const print::PrintFont& gridFont);

}  // namespace vantrep::report
