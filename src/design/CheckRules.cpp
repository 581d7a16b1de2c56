#include "design/CheckRules.h"

#include "session/FieldLookup.h"

namespace vantrep::design {

bool CanEditCell(DesignGrid id, int col) { return col == CheckColumn(id); }

bool ToggleCheck(grid::GridModel& list, DesignGrid id, int row, bool bDetailed) {
    if (IsDimensionGrid(id) || row < list.fixedRows() || row >= list.rows()) return false;
    const int col = CheckColumn(id);
    const bool checking = !IsChecked(list, row, col);
    if (bDetailed && id == DesignGrid::Selected) {
        if (checking && row != list.fixedRows() && !IsChecked(list, row - 1, col)) return false;
        if (!checking && row + 1 < list.rows() && IsChecked(list, row + 1, col)) return false;
    }
    SetCheck(list, row, col, checking);
    return true;
}

int MoveSelectedRow(grid::GridModel& selected, int row, bool up, bool bDetailed, session::FieldList& aDims) {
    const int to = up ? row - 1 : row + 1;
    if (row < selected.fixedRows() || row >= selected.rows() || to < selected.fixedRows() || to >= selected.rows())
        return -1;
    selected.rowPosition(row, to);
    if (bDetailed) {
        const int col = CheckColumn(DesignGrid::Selected);
        if (up && IsChecked(selected, to + 1, col)) SetCheck(selected, to, col, true);
        if (!up && !IsChecked(selected, to - 1, col)) SetCheck(selected, to, col, false);
        WriteDivisorPositions(selected, aDims);
    }
    return to;
}

void WriteDivisorPositions(const grid::GridModel& selected, session::FieldList& aDims) {
    for (int r = selected.fixedRows(); r < selected.rows(); ++r) {
        const int i = session::FindFieldByDesc(aDims, RowCaption(selected, DesignGrid::Selected, r));
        if (i > 0) aDims(i).Divisor = r - selected.fixedRows() + 1;
    }
}

}  // namespace vantrep::design
