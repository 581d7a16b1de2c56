#include "design/FillGrids.h"

#include "design/OutlineRows.h"
#include "session/FieldLookup.h"

namespace vantrep::design {

namespace {

// Puts a field in data row `row` of a dimension grid, growing it as needed.
void placeField(grid::GridModel& grid, DesignGrid id, int row, const session::FieldDef& field) {
    if (grid.rows() <= row) grid.setRows(row + 1);
    SetCheck(grid, row, CheckColumn(id), field.ShowTotal);
    grid.setTextMatrix(row, CaptionColumn(id), field.FDesc);
    grid.setCellData(row, CaptionColumn(id), field.FDesc);
}

void dropEmptyRows(grid::GridModel& grid, DesignGrid id) {
    for (int r = grid.rows() - 1; r >= grid.fixedRows(); --r)
        if (grid.textMatrix(r, CaptionColumn(id)).isEmpty()) grid.removeItem(r);
}

// The first "C" field of level `level`, 0 when none.
int columnFieldOfLevel(const session::FieldList& aDims, int level) {
    for (int i = 1; i <= aDims.upperBound(); ++i)
        if (aDims(i).Layout.trimmed() == "C" && aDims(i).Level == level) return i;
    return 0;
}

QString listLine(const QStringList& cells) { return cells.join('\t'); }

QString numberOrBlank(int n) { return n == 0 ? QString() : QString::number(n); }

QString typeText(const QString& FType) {
    if (FType.trimmed() == "D") return "Date";
    if (FType.trimmed() == "N") return "Num";
    return "Char";
}

void markGrid(grid::GridModel& grid, DesignGrid id, const session::FieldList& aDims,
              const std::vector<session::ValueList>& cmbField) {
    const int col = CaptionColumn(id);
    for (int r = grid.fixedRows(); r < grid.rows(); ++r) {
        const int i = session::FindFieldByDesc(aDims, RowCaption(grid, id, r));
        if (i == 0) continue;
        const bool filtered = static_cast<size_t>(i) < cmbField.size() && cmbField[static_cast<size_t>(i)].filtered();
        grid.setTextMatrix(r, col, filtered ? filteredMarker + aDims(i).FDesc : aDims(i).FDesc);
        grid.setCellForeColor(r, col, filtered ? filteredColor : plainColor);
        grid.setCellData(r, col, aDims(i).FDesc);
    }
}

}  // namespace

void FillDimensionGrids(DesignGrids& grids, const session::FieldList& aDims) {
    SetUpDimensionGrids(grids);
    grid::GridModel& columns = grids.columns;
    for (int i = 1; i <= aDims.upperBound(); ++i) {
        const session::FieldDef& field = aDims(i);
        const QString role = field.Layout.trimmed();
        if (role == "R" && field.Level >= 1) {
            placeField(grids.rows, DesignGrid::Rows, field.Level, field);
        } else if (role == "C" && field.Level == 1) {
            const int row = field.FDec >= 1 ? field.FDec : 1;
            placeField(columns, DesignGrid::Columns, row, field);
            columns.setRowData(row, field.FDesc);
            columns.setOutlineLevel(row, 1);
            columns.setIsSubtotal(row, true);
        }
    }
    dropEmptyRows(grids.rows, DesignGrid::Rows);
    dropEmptyRows(columns, DesignGrid::Columns);

    for (int top = FindOutlineRow(columns, 1, 1); top > 0; top = FindOutlineRow(columns, top + 1, 1)) {
        const QString group = columns.rowData(top).toString();
        for (int level = 2;; ++level) {
            const int i = columnFieldOfLevel(aDims, level);
            if (i == 0) break;
            const int end = GroupEnd(columns, top);
            const int row = InsertLine(columns, DesignGrid::Columns,
                                       (aDims(i).ShowTotal ? "-1\t" : "0\t") + aDims(i).FDesc,
                                       end < columns.rows() ? end : -1);
            columns.setRowData(row, group);
        }
    }
}

void FillVariableLists(DesignGrids& grids, const session::FieldList& aDims, const session::FieldList& aVars,
                       bool bDetailed) {
    SetUpVariableLists(grids, bDetailed);
    if (!bDetailed) {
        for (int i = 1; i <= aVars.upperBound(); ++i) {
            const session::FieldDef& v = aVars(i);
            const QString line = listLine({v.ShowTotal ? "-1" : "0", v.FDesc, v.FName, QString::number(v.FLen),
                                           QString::number(v.FDec), v.Layout, QString::number(v.Divisor)});
            InsertLine(v.Level > 0 ? grids.selected : grids.available,
                       v.Level > 0 ? DesignGrid::Selected : DesignGrid::Available, line, -1);
        }
        return;
    }
    auto fieldLine = [](const session::FieldDef& f) {
        return listLine({f.Level > 0 ? "-1" : "0", f.FDesc, typeText(f.FType), numberOrBlank(f.FLen), f.FName,
                         f.FType, numberOrBlank(f.FDec)});
    };
    auto listed = [&](int i) { return aDims(i).FName.trimmed() != "CLIPDET"; };
    for (int k = 1;; ++k) {
        bool any = false;
        for (int i = 1; i <= aDims.upperBound(); ++i) {
            if (!aDims(i).Displayed || aDims(i).Divisor != k) continue;
            any = true;
            if (listed(i)) InsertLine(grids.selected, DesignGrid::Selected, fieldLine(aDims(i)), -1);
        }
        if (!any) break;
    }
    for (int i = 1; i <= aDims.upperBound(); ++i)
        if (!aDims(i).Displayed && listed(i))
            InsertLine(grids.available, DesignGrid::Available, fieldLine(aDims(i)), -1);
}

void MarkFilteredFields(DesignGrids& grids, const session::FieldList& aDims,
                        const std::vector<session::ValueList>& cmbField, bool bDetailed) {
    if (bDetailed) {
        markGrid(grids.available, DesignGrid::Available, aDims, cmbField);
        markGrid(grids.selected, DesignGrid::Selected, aDims, cmbField);
    } else {
        markGrid(grids.rows, DesignGrid::Rows, aDims, cmbField);
        markGrid(grids.columns, DesignGrid::Columns, aDims, cmbField);
    }
}

}  // namespace vantrep::design
