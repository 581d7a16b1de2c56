#include "design/LayoutDesigner.h"

#include "analysis/PageFilter.h"
#include "design/CheckRules.h"
#include "design/DimensionDrop.h"
#include "design/FillGrids.h"
#include "design/LayoutApply.h"
#include "design/OutlineRows.h"
#include "design/VariableDrop.h"
#include "engine/EngineError.h"
#include "session/FieldLookup.h"
#include "session/ValueCoding.h"

namespace vantrep::design {

LayoutDesigner::LayoutDesigner(session::Session& session, std::function<bool()> refill)
    : session_(session), refill_(std::move(refill)) {
    SetUpDimensionGrids(grids_);
    SetUpVariableLists(grids_, session_.bDetailed);
}

void LayoutDesigner::load() {
    if (!session_.bDetailed) FillDimensionGrids(grids_, session_.aDims);
    FillVariableLists(grids_, session_.aDims, session_.aVars, session_.bDetailed);
    markFilteredFields();
}

void LayoutDesigner::markFilteredFields() {
    MarkFilteredFields(grids_, session_.aDims, session_.cmbField, session_.bDetailed);
}

void LayoutDesigner::edited(bool& flag) {
    flag = true;
    if (!session_.embedded()) applyEnabled_ = true;
}

bool LayoutDesigner::toggleCheck(DesignGrid id, int row) {
    if (!ToggleCheck(grids_[id], id, row, session_.bDetailed)) return false;
    edited(bVarsChanged_);
    return true;
}

int LayoutDesigner::moveSelectedRow(int row, bool up) {
    const int to = MoveSelectedRow(grids_.selected, row, up, session_.bDetailed, session_.aDims);
    if (to >= 0) edited(bVarsChanged_);
    return to;
}

bool LayoutDesigner::valuesFit(const QString& caption, const QString& role) {
    const int i = session::FindFieldByDesc(session_.aDims, caption);
    if (i == 0 || static_cast<size_t>(i) >= session_.cmbField.size()) return true;
    try {
        return session::CheckDimensionValues(session_.cmbField[static_cast<size_t>(i)].items, session_.aDims(i).FName,
                                             role, session_.cnData, session_.sDataFile, session_.ui);
    } catch (const engine::EngineError& e) {
        session_.ui.critical(QString::fromStdString(e.description()));
        return false;
    }
}

bool LayoutDesigner::dropOnDimensionGrid(DesignGrid source, int r1, int r2, DesignGrid target, int targetRow) {
    const DimensionValueCheck check = [this](const QString& caption, const QString& role) {
        return valuesFit(caption, role);
    };
    if (!DropOnDimensionGrid(grids_, source, r1, r2, target, targetRow, check, session_.ui)) return false;
    markFilteredFields();
    edited(bDimsChanged_);
    return true;
}

bool LayoutDesigner::dropOnVariableList(DesignGrid source, const std::vector<int>& rows, DesignGrid target,
                                        int targetRow) {
    if (!DropOnVariableList(grids_, source, rows, target, targetRow)) return false;
    if (session_.bDetailed) {
        WriteDivisorPositions(grids_.selected, session_.aDims);
        markFilteredFields();
    }
    edited(bVarsChanged_);
    return true;
}

void LayoutDesigner::noteFilterChange() {
    edited(bFiltersChanged_);
    markFilteredFields();
}

void LayoutDesigner::filterCommand(const QString& popupField, int sourceIndex, const FilterDialog& show) {
    const QString caption = popupField.startsWith("Filtered") ? popupField.mid(9).trimmed() : popupField;
    const bool created = !colFilterSnapshots_.contains(caption);
    if (created) colFilterSnapshots_.save(caption, session_);
    if (show(caption, sourceIndex))
        edited(bFiltersChanged_);
    else if (created)
        colFilterSnapshots_.remove(caption);
    markFilteredFields();
}

bool LayoutDesigner::queryUnload() {
    if (!bFiltersChanged_) return true;
    if (session_.ui.message("Ignore filters applied ?", QString(), session::MessageIcon::Question,
                            session::MessageButtons::YesNo) != session::MessageAnswer::Yes)
        return false;
    colFilterSnapshots_.restore(session_);
    bFiltersChanged_ = false;
    if (!filterApplied_) return true;
    // The report shows a filter applied since the designer opened: it follows
    // the value lists just restored. A failed run has shown its message.
    if (!session_.bDetailed) rebuildPageFilter();
    refill_();
    return true;
}

void LayoutDesigner::rebuildPageFilter() {
    ResetValueCombos(session_);
    analysis::UpdatePageFilter(session_);
}

bool LayoutDesigner::apply() {
    const bool rebuildFilters = bDimsChanged_ || (bFiltersChanged_ && !session_.bDetailed);
    if (bDimsChanged_) WriteBackDimensions(grids_, session_.aDims);
    if (rebuildFilters) rebuildPageFilter();
    filterApplied_ = filterApplied_ || bFiltersChanged_;
    if (bVarsChanged_) WriteBackVariables(grids_, session_);
    const bool rerun = bDimsChanged_ || bFiltersChanged_ || bVarsChanged_;
    if (rerun && !session_.bDetailed) {
        session_.crossTab.nRowDims = grids_.rows.rows() - grids_.rows.fixedRows();
        session_.crossTab.nColDims = CountFirstColumnGroup(grids_.columns);
        session_.nQueryIndex = 1;
    }
    bDimsChanged_ = bVarsChanged_ = bFiltersChanged_ = false;
    applyEnabled_ = false;
    return rerun ? refill_() : true;
}

}  // namespace vantrep::design
