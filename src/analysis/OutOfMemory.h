// What a fill of the main grid does when memory runs out: the half-filled
// grid and the query's rows are let go at once, and the user is told how
// many rows did not fit, so that the program goes on with memory to spare.
#pragma once

#include <QString>

#include <cstdint>

#include "grid/GridModel.h"
#include "session/Session.h"

namespace vantrep::analysis {

// The message for a report of `rows` rows (negative: not known yet).
QString NotEnoughMemoryMessage(int64_t rows);

// The message for an export to `path` that ran out of memory while the file
// was being made.
QString NotEnoughMemoryToWriteMessage(const QString& path);

// Empties `grid` (no rows, redraw back on), closes the session's recordset
// and shows NotEnoughMemoryMessage(rows) through the session's Ui.
void GiveUpForMemory(session::Session& session, grid::GridModel& grid, int64_t rows);

}  // namespace vantrep::analysis
