#include "design/LayoutApply.h"

#include <algorithm>

#include "design/CheckRules.h"
#include "session/FieldLookup.h"

namespace vantrep::design {

void WriteBackDimensions(const DesignGrids& grids, session::FieldList& aDims) {
    const grid::GridModel& rows = grids.rows;
    for (int r = rows.fixedRows(); r < rows.rows(); ++r) {
        const int i = session::FindFieldByDesc(aDims, RowCaption(rows, DesignGrid::Rows, r));
        if (i == 0) continue;
        aDims(i).FDec = 0;
        aDims(i).Layout = "R";
        aDims(i).Level = r;
        aDims(i).ShowTotal = IsChecked(rows, r, CheckColumn(DesignGrid::Rows));
    }
    const grid::GridModel& columns = grids.columns;
    int group = 0;
    for (int r = columns.fixedRows(); r < columns.rows(); ++r) {
        const int i = session::FindFieldByDesc(aDims, RowCaption(columns, DesignGrid::Columns, r));
        if (i == 0) break;
        session::FieldDef& field = aDims(i);
        if (columns.outlineLevel(r) == 1) {
            field.FDec = group;
            field.Level = 1;
            group = group == 0 ? 2 : group + 1;
        } else if (group < 3) {
            field.FDec = 0;
            field.Level = r;
        }
        field.Layout = "C";
        field.ShowTotal = IsChecked(columns, r, CheckColumn(DesignGrid::Columns));
    }
}

void WriteBackVariables(const DesignGrids& grids, session::Session& session) {
    const grid::GridModel& selected = grids.selected;
    const grid::GridModel& available = grids.available;
    const int check = CheckColumn(DesignGrid::Selected);
    if (!session.bDetailed) {
        session::FieldList aVars;
        auto add = [&](const grid::GridModel& list, int r, int level) {
            session::FieldDef v;
            v.FDesc = RowCaption(list, DesignGrid::Selected, r);
            v.FName = list.textMatrix(r, 2);
            v.FLen = static_cast<int>(list.valueMatrix(r, 3));
            v.FDec = static_cast<int>(list.valueMatrix(r, 4));
            v.Layout = list.textMatrix(r, 5);
            v.Divisor = static_cast<int>(list.valueMatrix(r, 6));
            v.Level = level;
            v.ShowTotal = level > 0 && IsChecked(list, r, check);
            aVars.append(v);
        };
        for (int r = selected.fixedRows(); r < selected.rows(); ++r) add(selected, r, r - selected.fixedRows() + 1);
        for (int r = available.fixedRows(); r < available.rows(); ++r) add(available, r, 0);
        session.aVars = std::move(aVars);
        return;
    }
    int count = 0;
    for (int r = selected.fixedRows(); r < selected.rows(); ++r) {
        const int i = session::FindFieldByDesc(session.aDims, RowCaption(selected, DesignGrid::Selected, r));
        if (i == 0) continue;
        count = IsChecked(selected, r, check) ? count + 1 : 0;
        session.aDims(i).Level = count;
        session.aDims(i).Displayed = true;
    }
    for (int r = available.fixedRows(); r < available.rows(); ++r) {
        const int i = session::FindFieldByDesc(session.aDims, RowCaption(available, DesignGrid::Available, r));
        if (i == 0) continue;
        session.aDims(i).Displayed = false;
        session.aDims(i).Divisor = 0;
    }
    WriteDivisorPositions(selected, session.aDims);
}

void ResetValueCombos(session::Session& session) {
    const int last = std::min(session.aDims.upperBound(), static_cast<int>(session.cmbField.size()) - 1);
    for (int i = 1; i <= last; ++i) {
        session::ValueList& list = session.cmbField[static_cast<size_t>(i)];
        if (list.filtered()) continue;
        const session::FieldDef& field = session.aDims(i);
        const QString role = field.Layout.trimmed();
        list.items = QStringList{field.FDesc.trimmed()};
        if (role == "R" || role == "C")
            session::FillCombo(list, field.FName.trimmed().toUpper(), field.FType.trimmed().toUpper(), session.cnData,
                               session.sDataFile, session.ui);
    }
}

}  // namespace vantrep::design
