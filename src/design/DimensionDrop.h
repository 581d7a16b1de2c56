// Drag and drop between and within the designer's row grid and column grid:
// the refused drops, the column grid's selection check, the value check of
// every moved field for its new role, and the insertion that keeps the
// column grid an outline of groups sharing the same children.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "design/DesignGrids.h"
#include "session/Ui.h"

namespace vantrep::design {

// Whether the field of caption `caption` can serve in role `role` ("R" or
// "C"); tells the user why not before it returns false.
using DimensionValueCheck = std::function<bool(const QString& caption, const QString& role)>;

enum class ColumnSelection {
    Invalid,          // more than one top-level row: refused, "Invalid selection" shown
    Accepted,         // another top-level row stays behind
    TakesOnlyGroup,   // holds the grid's only top-level row: the next row must take its place
};

// The check of a drag from the column grid over rows r1..r2.
ColumnSelection CheckColumnSelection(const grid::GridModel& columns, int r1, int r2, session::Ui& ui);

// Where a line lands in the column grid.
struct ColumnTarget {
    enum Kind {
        NewGroup,       // the header row: a new top-level dimension at the end
        LastChild,      // the last child of every group
        FirstChild,     // the first child of every group (dropped on a top-level row)
        BeforeChild,    // before the child `caption` in every group
    } kind = LastChild;
    QString caption;    // BeforeChild: the child dropped on
};

// The target of a drop from grid `source` on row `targetRow` of the column
// grid (0 the header row, -1 below the last row).
ColumnTarget ColumnTargetOf(const grid::GridModel& columns, DesignGrid source, int targetRow);

// Inserts one moved line. A new group gets copies of the first group's
// children; a child goes into every group. With no group at all, the line
// becomes the first top-level row. `index` is the line's place among the
// lines of one drop, so that they keep their order.
void InsertIntoColumnGrid(grid::GridModel& columns, const QString& line, const ColumnTarget& target, int index);

// Removes a field from a dimension grid by its caption: from the row grid its
// row; from the column grid a child from every group, or a top-level row with
// the child rows of its group. Returns the rows removed before `beforeRow`.
int RemoveByCaption(grid::GridModel& grid, DesignGrid id, const QString& caption, int beforeRow);

// The drop of rows r1..r2 of grid `source` on row `targetRow` of dimension
// grid `target` (-1: below the last row). Refused drops change nothing; a
// field whose values cannot serve in the target role cancels the whole drop.
// Returns true when rows moved.
bool DropOnDimensionGrid(DesignGrids& grids, DesignGrid source, int r1, int r2, DesignGrid target, int targetRow,
                         const DimensionValueCheck& check, session::Ui& ui);

}  // namespace vantrep::design
