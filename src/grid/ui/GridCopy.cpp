#include "grid/ui/GridCopy.h"

namespace vantrep::grid::ui {

QString copyText(const GridModel& grid, const CellRange& selection, int fromCol, int toCol) {
    QString text;
    const int step = toCol < fromCol ? -1 : 1;
    for (int r = 0; r < grid.fixedRows(); ++r) {
        for (int c = fromCol;; c += step) {
            text += grid.textMatrix(r, c) + '\t';
            if (c == toCol) break;
        }
        text += '\r';
    }
    return text + grid.clipText(selection);
}

}  // namespace vantrep::grid::ui
