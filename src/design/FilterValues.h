// What the filter dialog does, without its window: the values of one report
// field in two lists, "Available" and "Selected", the drops that move values
// between and within them under their rules, "Show Others", and OK's
// write-back of the selection into the field's value list. Each list is a
// one-column grid whose row 0 is its header; data rows start at 1.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "grid/GridModel.h"
#include "session/Session.h"

namespace vantrep::design {

enum class FilterList { Available, Selected };

// More values than this cannot be selected.
inline constexpr int maxFilterValues = 25;

// The index in aDims of the field of caption `caption` (compared without
// regard to case) when that field has a value list; 0 otherwise.
int FieldWithValueList(const session::Session& session, const QString& caption);

class FilterValues {
public:
    // The field whose caption is `FieldName`, opened from designer grid
    // `SourceIndex` (1 the row grid, 2 the column grid; 0 or 1 the lists of
    // a listing). Loads both lists; a caption that names no field leaves
    // them empty.
    FilterValues(session::Session& session, QString FieldName, int SourceIndex);
    FilterValues(const FilterValues&) = delete;
    FilterValues& operator=(const FilterValues&) = delete;

    const QString& FieldName() const { return fieldName_; }
    int SourceIndex() const { return sourceIndex_; }
    // Values were moved, or "Show Others" was clicked with values selected.
    bool ChangeFilter() const { return changeFilter_; }
    // Set by unload(): "Selected" held at least one value.
    bool ChangePrompt() const { return changePrompt_; }

    grid::GridModel& list(FilterList id) { return id == FilterList::Available ? available_ : selected_; }
    const grid::GridModel& list(FilterList id) const { return id == FilterList::Available ? available_ : selected_; }
    // The data rows' values, in order.
    QStringList values(FilterList id) const;

    // "Show Others" is offered for a summary only, and can be ticked only for
    // a field opened from the row or column grid.
    bool showOthersVisible() const { return !session_.bDetailed; }
    bool showOthersEnabled() const { return sourceIndex_ >= 1; }
    bool showOthers() const { return showOthers_; }
    // A click on "Show Others" that would make it `checked`; it stays
    // unchecked while "Selected" is empty. Returns the box's new state.
    bool clickShowOthers(bool checked);

    // The drop of rows `rows` of list `source` on row `targetRow` of list
    // `target` (-1: below the last row; 0, the header row, takes nothing).
    // Refused silently: reordering "Available", emptying "Available",
    // header rows in the selection. More than 25 selected values are refused
    // with a message, and in a summary a value that cannot serve in the
    // field's grid cancels the drop with the check's message. Returns true
    // when values moved.
    bool drop(FilterList source, std::vector<int> rows, FilterList target, int targetRow);

    // OK: writes the selection into the field's value list ("Filtered " and
    // the caption, then the selected values; with nothing selected, a row or
    // column dimension gets back its caption and every value, any other
    // field its caption alone) and the "Show Others" choice into ShowOthers.
    void ok();
    // The dialog closes (after OK or Cancel).
    void unload();

private:
    void LoadSelectedValues();
    void LoadAvailableValues();
    bool valuesFit(const QStringList& values, const QString& role) const;
    int dataRows(FilterList id) const;

    session::Session& session_;
    const QString fieldName_;
    const int sourceIndex_;
    const int field_;  // index in aDims, 0 when the caption names no field
    grid::GridModel available_;
    grid::GridModel selected_;
    bool showOthers_ = false;
    bool changeFilter_ = false;
    bool changePrompt_ = false;
};

}  // namespace vantrep::design
