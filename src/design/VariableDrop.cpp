#include "design/VariableDrop.h"

#include <algorithm>

namespace vantrep::design {

void AdjustDroppedCheck(grid::GridModel& selected, int row, bool appended) {
    const int col = CheckColumn(DesignGrid::Selected);
    const int first = selected.fixedRows();
    if (!IsChecked(selected, row, col)) {
        const int neighbour = appended ? row - 1 : row + 1;
        if (neighbour >= first && neighbour < selected.rows())
            SetCheck(selected, row, col, IsChecked(selected, neighbour, col));
    } else if (row > first) {
        SetCheck(selected, row, col, IsChecked(selected, row - 1, col));
    }
}

bool DropOnVariableList(DesignGrids& grids, DesignGrid source, std::vector<int> rows, DesignGrid target,
                        int targetRow) {
    if (IsDimensionGrid(source) || IsDimensionGrid(target) || rows.empty()) return false;
    grid::GridModel& from = grids[source];
    grid::GridModel& to = grids[target];
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.front() < from.fixedRows() || rows.back() >= from.rows()) return false;
    if (source == DesignGrid::Selected && static_cast<int>(rows.size()) == from.rows() - from.fixedRows())
        return false;
    if (targetRow < to.fixedRows() || targetRow >= to.rows()) targetRow = -1;

    QStringList lines;
    for (int r : rows) lines << RowLine(from, source, r);
    for (auto r = rows.rbegin(); r != rows.rend(); ++r) {
        from.removeItem(*r);
        if (source == target && targetRow > *r) --targetRow;
    }
    const bool appended = targetRow < 0;
    for (int k = 0; k < lines.size(); ++k) {
        const int row = InsertLine(to, target, lines[k], appended ? -1 : targetRow + k);
        if (target == DesignGrid::Selected) AdjustDroppedCheck(to, row, appended);
    }
    return true;
}

}  // namespace vantrep::design
