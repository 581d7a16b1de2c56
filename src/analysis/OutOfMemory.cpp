#include "analysis/OutOfMemory.h"

namespace vantrep::analysis {

QString NotEnoughMemoryMessage(int64_t rows) {
    const QString what = rows >= 0 ? QString::number(rows) + " rows" : QStringLiteral("the rows");
    return "There is not enough memory to show " + what +
           " of this report. Filter the report to show fewer rows, or close other programs and open it again.";
}

QString NotEnoughMemoryToWriteMessage(const QString& path) {
    return "There is not enough memory to write \"" + path +
           "\". Filter the report to write fewer rows, or close other programs and export it again.";
}

void GiveUpForMemory(session::Session& s, grid::GridModel& grid, int64_t rows) {
    // Freeing comes first: the message itself needs a little memory.
    grid.setRows(0);
    if (s.rsData.State() == engine::adStateOpen) s.rsData.Close();
    grid.setRedraw(true);
    s.ui.flood(0);
    s.ui.critical(NotEnoughMemoryMessage(rows));
}

}  // namespace vantrep::analysis
