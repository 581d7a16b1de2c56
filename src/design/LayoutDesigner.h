// What the layout designer does, without its window: the four grids filled
// from the open report's dictionary, the user's edits and drops with their
// rules, and Apply, which writes the grids back into the dictionary, rebuilds
// the value lists and the page filter, and has the report run again. The
// dialog shows these grids and turns mouse and keys into these calls.
#pragma once

#include <functional>
#include <vector>

#include "design/DesignGrids.h"
#include "design/FilterSnapshots.h"
#include "session/Session.h"

namespace vantrep::design {

class LayoutDesigner {
public:
    // `refill` runs the report again and shows it (the main window's
    // RefillReport); it returns false when the fill stopped at an error.
    LayoutDesigner(session::Session& session, std::function<bool()> refill);
    LayoutDesigner(const LayoutDesigner&) = delete;
    LayoutDesigner& operator=(const LayoutDesigner&) = delete;

    // Fills the grids from the dictionary (the dimension grids for a summary
    // only) and marks the filtered fields.
    void load();
    void markFilteredFields();

    DesignGrids& grids() { return grids_; }
    const DesignGrids& grids() const { return grids_; }
    bool detailed() const { return session_.bDetailed; }
    // "&Apply" is enabled by edits, drops and filter changes, never under automation.
    bool applyEnabled() const { return applyEnabled_; }
    bool dimsChanged() const { return bDimsChanged_; }
    bool varsChanged() const { return bVarsChanged_; }
    bool filtersChanged() const { return bFiltersChanged_; }

    // A check click on data row `row` of a list, under the check rules.
    bool toggleCheck(DesignGrid id, int row);
    // Ctrl+Up / Ctrl+Down on "Selected" with `row` the single selected row;
    // the row's new index, or -1 when nothing moved.
    int moveSelectedRow(int row, bool up);
    // Drops (the selection of `source` on row `targetRow` of `target`, -1
    // below the last row); true when rows moved.
    bool dropOnDimensionGrid(DesignGrid source, int r1, int r2, DesignGrid target, int targetRow);
    bool dropOnVariableList(DesignGrid source, const std::vector<int>& rows, DesignGrid target, int targetRow);
    // A filter was changed for one of the report's fields.
    void noteFilterChange();

    // Shows the filter dialog for field `caption` opened from designer grid
    // `sourceIndex` and returns its ChangeFilter.
    using FilterDialog = std::function<bool(const QString& caption, int sourceIndex)>;
    // The "Filter" command on the caption `popupField` of a data row of
    // designer grid `sourceIndex` (1 rows, 2 columns; 0 or 1 the lists of a
    // listing): the field's value list is kept aside before its first change
    // since the designer opened, the dialog runs, and a change enables
    // "&Apply"; an opening that changed nothing leaves no snapshot of its own.
    void filterCommand(const QString& popupField, int sourceIndex, const FilterDialog& show);
    // Whether the designer may close: with filter changes not applied the
    // user is asked "Ignore filters applied ?"; Yes restores the value lists
    // kept aside (and runs the report again when a filter change was applied
    // since the designer opened), No keeps the designer open.
    bool queryUnload();
    const FilterSnapshots& filterSnapshots() const { return colFilterSnapshots_; }
    session::Session& session() { return session_; }

    // Writes the edits back and runs the report again when anything changed;
    // false when that run failed.
    bool apply();

private:
    bool valuesFit(const QString& caption, const QString& role);
    // Unfiltered value lists refilled, and the page filter built from the lists.
    void rebuildPageFilter();
    void edited(bool& flag);

    session::Session& session_;
    std::function<bool()> refill_;
    DesignGrids grids_;
    bool bVarsChanged_ = false;
    bool bDimsChanged_ = false;
    bool bFiltersChanged_ = false;
    bool filterApplied_ = false;  // an Apply since the designer opened ran a filter change
    bool applyEnabled_ = false;
    FilterSnapshots colFilterSnapshots_;
};

}  // namespace vantrep::design
