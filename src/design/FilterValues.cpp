#include "design/FilterValues.h"

#include <algorithm>

#include "design/DesignGrids.h"
#include "engine/EngineError.h"
#include "engine/Recordset.h"
#include "session/FieldLookup.h"
#include "session/ValueCoding.h"

namespace vantrep::design {

namespace {

void setUpList(grid::GridModel& list, const QString& heading) {
    list.clear();
    list.setCols(1);
    list.setRows(1);
    list.setFixedCols(0);
    list.setFixedRows(1);
    list.setTextMatrix(0, 0, heading);
    list.setCellBold(0, 0, true);
}

// Inserts `value` before data row `position` (-1: at the end); returns its row.
int insertValue(grid::GridModel& list, const QString& value, int position) {
    list.addItem(QString(), position);
    const int row = position < 0 ? list.rows() - 1 : position;
    list.setTextMatrix(row, 0, value);
    return row;
}

}  // namespace

int FieldWithValueList(const session::Session& session, const QString& caption) {
    const int i = session::FindFieldByDesc(session.aDims, caption);
    return i < static_cast<int>(session.cmbField.size()) ? i : 0;
}

FilterValues::FilterValues(session::Session& session, QString FieldName, int SourceIndex)
    : session_(session),
      fieldName_(std::move(FieldName)),
      sourceIndex_(SourceIndex),
      field_(FieldWithValueList(session, fieldName_)) {
    setUpList(available_, "Available");
    setUpList(selected_, "Selected");
    LoadSelectedValues();
    LoadAvailableValues();
    // Taking the stored choice is no change of the filter.
    showOthers_ = field_ > 0 && showOthersEnabled() && session_.aDims(field_).ShowOthers;
}

QStringList FilterValues::values(FilterList id) const {
    const grid::GridModel& g = list(id);
    QStringList out;
    for (int r = g.fixedRows(); r < g.rows(); ++r) out << g.textMatrix(r, 0);
    return out;
}

int FilterValues::dataRows(FilterList id) const { return list(id).rows() - list(id).fixedRows(); }

void FilterValues::LoadSelectedValues() {
    if (field_ == 0) return;
    const session::ValueList& combo = session_.cmbField[static_cast<size_t>(field_)];
    if (session_.aDims(field_).Layout.trimmed() != "P" && !combo.filtered()) return;
    for (int j = 1; j < combo.items.size(); ++j) insertValue(selected_, combo.items[j], -1);
}

void FilterValues::LoadAvailableValues() {
    if (field_ == 0) return;
    const session::FieldDef& field = session_.aDims(field_);
    const QStringList selected = values(FilterList::Selected);
    try {
        engine::Recordset rs;
        rs.Open(("SELECT DISTINCT " + field.FName.trimmed() + " FROM " + session_.sDataFile).toStdString(),
                session_.cnData, engine::adOpenStatic, engine::adLockReadOnly);
        for (; !rs.Eof(); rs.MoveNext()) {
            const QString value = session::DisplayFormOf(rs.field(0).value(), field.FName, field.FType);
            if (!selected.contains(value)) insertValue(available_, value, -1);
        }
    } catch (const engine::EngineError& e) {
        session_.ui.critical(QString::fromStdString(e.description()));
    }
}

bool FilterValues::clickShowOthers(bool checked) {
    if (checked && dataRows(FilterList::Selected) == 0) return showOthers_ = false;
    if (dataRows(FilterList::Selected) > 0) changeFilter_ = true;
    return showOthers_ = checked;
}

bool FilterValues::valuesFit(const QStringList& values, const QString& role) const {
    for (const QString& value : values)
        if (!session::CheckDimensionValue(value, role, session_.ui)) return false;
    return true;
}

bool FilterValues::drop(FilterList source, std::vector<int> rows, FilterList target, int targetRow) {
    grid::GridModel& from = list(source);
    grid::GridModel& to = list(target);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.empty() || targetRow == 0) return false;
    if (rows.front() < from.fixedRows() || rows.back() >= from.rows()) return false;
    const int moving = static_cast<int>(rows.size());
    if (source == FilterList::Available && (target == FilterList::Available || moving == dataRows(source)))
        return false;
    if (targetRow < to.fixedRows() || targetRow >= to.rows()) targetRow = -1;
    // Values dragged within "Selected" count too: a full list cannot be reordered.
    if (target == FilterList::Selected && dataRows(FilterList::Selected) + moving > maxFilterValues) {
        session_.ui.critical("Maximum 25 filters are possible");
        return false;
    }

    QStringList moved;
    for (int r : rows) moved << from.textMatrix(r, 0);
    if (!session_.bDetailed) {
        // A column field left without a selection shows every value again; a
        // value selected for a row or column field must fit its grid.
        const bool emptiesColumnField = sourceIndex_ == 2 && source == FilterList::Selected &&
                                        target == FilterList::Available && moving == dataRows(source);
        if (emptiesColumnField && !valuesFit(values(FilterList::Available) + moved, "C")) return false;
        if (target == FilterList::Selected && (sourceIndex_ == 1 || sourceIndex_ == 2) &&
            !valuesFit(moved, sourceIndex_ == 1 ? "R" : "C"))
            return false;
    }

    for (auto r = rows.rbegin(); r != rows.rend(); ++r) {
        from.removeItem(*r);
        if (source == target && targetRow > *r) --targetRow;
    }
    for (int k = 0; k < moved.size(); ++k) insertValue(to, moved[k], targetRow < 0 ? -1 : targetRow + k);
    if (dataRows(FilterList::Selected) == 0) showOthers_ = false;
    changeFilter_ = true;
    return true;
}

void FilterValues::ok() {
    if (field_ == 0) return;
    session::FieldDef& field = session_.aDims(field_);
    session::ValueList& combo = session_.cmbField[static_cast<size_t>(field_)];
    const QString role = field.Layout.trimmed();
    const QStringList selected = values(FilterList::Selected);
    if (!selected.isEmpty())
        combo.items = QStringList{filteredMarker + fieldName_} + selected;
    else if (role == "R" || role == "C")
        combo.items = QStringList{fieldName_} + values(FilterList::Available);
    else
        combo.items = QStringList{fieldName_};
    field.ShowOthers = showOthers_;
}

void FilterValues::unload() { changePrompt_ = dataRows(FilterList::Selected) > 0; }

}  // namespace vantrep::design
