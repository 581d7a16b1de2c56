#include "design/OutlineRows.h"

#include <algorithm>

namespace vantrep::design {

int FindOutlineRow(const grid::GridModel& grid, int startRow, int level) {
    for (int r = std::max(startRow, 0); r < grid.rows(); ++r)
        if (grid.outlineLevel(r) == level) return r;
    return 0;
}

int CountFirstColumnGroup(const grid::GridModel& grid) {
    const int next = FindOutlineRow(grid, 2, 1);
    return next > 0 ? next - 1 : grid.rows() - 1;
}

std::vector<int> TopLevelRows(const grid::GridModel& grid) {
    std::vector<int> tops;
    for (int r = grid.fixedRows(); r < grid.rows(); ++r)
        if (grid.outlineLevel(r) == 1) tops.push_back(r);
    return tops;
}

int GroupEnd(const grid::GridModel& grid, int topRow) {
    const int next = FindOutlineRow(grid, topRow + 1, 1);
    return next > 0 ? next : grid.rows();
}

void MakeTopLevel(grid::GridModel& grid, int row, const QString& caption) {
    grid.setOutlineLevel(row, 1);
    grid.setIsSubtotal(row, true);
    grid.setRowData(row, caption);
    for (int r = row + 1; r < GroupEnd(grid, row); ++r) grid.setRowData(r, caption);
}

}  // namespace vantrep::design
