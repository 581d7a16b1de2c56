// The spreadsheet export: the grid as an .xlsx workbook of one sheet, with
// the criteria lines on top, the heading rows (bold, bordered, merged as the
// grid merges them, repeated on every printed page, frozen above the data
// together with the row-dimension columns), the data rows as the grid shows
// them (hidden rows and columns left out, subtotal rows in place with their
// colours and outline level), numbers and dates as values in the format the
// grid shows them, the grid's column widths, and links from the cells of the
// column headed "Ad type" to their clip files, resolved against the report
// folder the user opened (a cell that shows no text has nothing to click on
// and stays empty, as the grid's text export has it).
#pragma once

#include <QString>

#include "analysis/SpreadsheetContent.h"
#include "grid/GridModel.h"

namespace vantrep::analysis {

// Writes `grid` with `content` to the workbook `path`. The workbook is made
// under a temporary name in the target's folder and renamed into place only
// once complete: on any failure the temporary file is removed, a file that
// was at `path` stays as it was, and engine::EngineError (errIo) is thrown
// with a description naming the file; running out of memory throws
// std::bad_alloc, the temporary file removed too. A grid larger than a
// worksheet holds (1,048,576 rows, 16,384 columns) is refused the same way.
void ExportGrid(const grid::GridModel& grid, const SpreadsheetContent& content, const QString& path);

// The report name as a sheet name: the characters a sheet name may not hold
// ([ ] : * ? / \) replaced by "_", apostrophes at either end dropped, cut to
// 31 characters; "Sheet1" when nothing is left.
QString SheetNameOf(const QString& reportName);

}  // namespace vantrep::analysis
