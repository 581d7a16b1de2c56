#include "design/DimensionDrop.h"

#include "design/OutlineRows.h"

namespace vantrep::design {

namespace {

constexpr DesignGrid col = DesignGrid::Columns;

// Inserts a child copy of `line` into every group, at the row `place` gives
// for the group's top-level row (the group's end when it has no such row).
void insertChildEverywhere(grid::GridModel& columns, const QString& line, const std::function<int(int)>& place) {
    const std::vector<int> tops = TopLevelRows(columns);
    for (auto top = tops.rbegin(); top != tops.rend(); ++top) {
        const int at = place(*top);
        const int row = InsertLine(columns, col, line, at < columns.rows() ? at : -1);
        columns.setRowData(row, RowCaption(columns, col, *top));
        columns.setOutlineLevel(row, 0);
    }
}

void appendGroup(grid::GridModel& columns, const QString& line) {
    const std::vector<int> tops = TopLevelRows(columns);
    QStringList children;
    if (!tops.empty())
        for (int r = tops.front() + 1; r < GroupEnd(columns, tops.front()); ++r) children << RowLine(columns, col, r);
    const int row = InsertLine(columns, col, line, -1);
    const QString caption = LineCaption(line);
    MakeTopLevel(columns, row, caption);
    for (const QString& child : children) {
        const int copy = InsertLine(columns, col, child, -1);
        columns.setRowData(copy, caption);
    }
}

int rowOfCaption(const grid::GridModel& grid, DesignGrid id, const QString& caption, int from, int to) {
    for (int r = from; r < to; ++r)
        if (RowCaption(grid, id, r).compare(caption, Qt::CaseInsensitive) == 0) return r;
    return -1;
}

}  // namespace

ColumnSelection CheckColumnSelection(const grid::GridModel& columns, int r1, int r2, session::Ui& ui) {
    int inside = 0;
    int outside = 0;
    for (int r = columns.fixedRows(); r < columns.rows(); ++r) {
        if (columns.outlineLevel(r) != 1) continue;
        (r >= r1 && r <= r2 ? inside : outside) += 1;
    }
    if (inside > 1) {
        ui.critical("Invalid selection");
        return ColumnSelection::Invalid;
    }
    return outside > 0 ? ColumnSelection::Accepted : ColumnSelection::TakesOnlyGroup;
}

ColumnTarget ColumnTargetOf(const grid::GridModel& columns, DesignGrid source, int targetRow) {
    if (targetRow == 0) return {ColumnTarget::NewGroup, QString()};
    if (source != col || targetRow < 0 || targetRow >= columns.rows()) return {ColumnTarget::LastChild, QString()};
    if (columns.outlineLevel(targetRow) == 1) return {ColumnTarget::FirstChild, QString()};
    return {ColumnTarget::BeforeChild, RowCaption(columns, col, targetRow)};
}

void InsertIntoColumnGrid(grid::GridModel& columns, const QString& line, const ColumnTarget& target, int index) {
    if (target.kind == ColumnTarget::NewGroup || TopLevelRows(columns).empty()) {
        appendGroup(columns, line);
        return;
    }
    switch (target.kind) {
    case ColumnTarget::NewGroup: break;
    case ColumnTarget::LastChild:
        insertChildEverywhere(columns, line, [&](int top) { return GroupEnd(columns, top); });
        break;
    case ColumnTarget::FirstChild:
        insertChildEverywhere(columns, line, [&](int top) { return std::min(top + 1 + index, GroupEnd(columns, top)); });
        break;
    case ColumnTarget::BeforeChild:
        insertChildEverywhere(columns, line, [&](int top) {
            const int end = GroupEnd(columns, top);
            const int at = rowOfCaption(columns, col, target.caption, top + 1, end);
            return at < 0 ? end : at;
        });
        break;
    }
}

int RemoveByCaption(grid::GridModel& grid, DesignGrid id, const QString& caption, int beforeRow) {
    int removedBefore = 0;
    auto remove = [&](int r) {
        if (beforeRow >= 0 && r < beforeRow) ++removedBefore;
        grid.removeItem(r);
    };
    const int row = rowOfCaption(grid, id, caption, grid.fixedRows(), grid.rows());
    if (row < 0) return 0;
    if (id == col && grid.outlineLevel(row) == 1) {
        for (int r = GroupEnd(grid, row) - 1; r >= row; --r) remove(r);
    } else if (id == col) {
        for (int r = grid.rows() - 1; r >= grid.fixedRows(); --r)
            if (RowCaption(grid, id, r).compare(caption, Qt::CaseInsensitive) == 0) remove(r);
    } else {
        remove(row);
    }
    return removedBefore;
}

bool DropOnDimensionGrid(DesignGrids& grids, DesignGrid source, int r1, int r2, DesignGrid target, int targetRow,
                         const DimensionValueCheck& check, session::Ui& ui) {
    if (!IsDimensionGrid(source) || !IsDimensionGrid(target)) return false;
    grid::GridModel& from = grids[source];
    grid::GridModel& to = grids[target];
    if (target == DesignGrid::Rows && targetRow == 0) return false;
    if (targetRow >= to.rows()) targetRow = -1;
    const int firstData = from.fixedRows();
    if (r1 > r2) std::swap(r1, r2);
    if (r1 < firstData || r2 >= from.rows()) return false;
    if (r1 == firstData && r2 == from.rows() - 1) return false;

    QStringList captions;
    for (int r = r1; r <= r2; ++r) captions << RowCaption(from, source, r);
    ColumnTarget columnTarget;
    if (target == col) {
        // A drop on one of the moved rows, or on a copy of one, has no place left to land.
        if (source == target && targetRow >= r1 && targetRow <= r2) return false;
        columnTarget = ColumnTargetOf(to, source, targetRow);
        if (columnTarget.kind == ColumnTarget::BeforeChild && captions.contains(columnTarget.caption, Qt::CaseInsensitive))
            return false;
    }

    ColumnSelection selection = ColumnSelection::Accepted;
    if (source == col) {
        selection = CheckColumnSelection(from, r1, r2, ui);
        if (selection == ColumnSelection::Invalid) return false;
    }
    const QString role = target == DesignGrid::Rows ? "R" : "C";
    for (const QString& caption : captions)
        if (!check(caption, role)) return false;

    // The selection holds the only group: the first row after it heads the group now.
    if (selection == ColumnSelection::TakesOnlyGroup && r2 + 1 < from.rows())
        MakeTopLevel(from, r2 + 1, RowCaption(from, col, r2 + 1));

    QStringList lines;
    for (int r = r1; r <= r2; ++r) lines << RowLine(from, source, r);
    for (const QString& caption : captions) {
        const int removed = RemoveByCaption(from, source, caption, source == target ? targetRow : -1);
        if (source == target && targetRow >= 0) targetRow -= removed;
    }
    for (int k = 0; k < lines.size(); ++k) {
        if (target == DesignGrid::Rows)
            InsertLine(to, target, lines[k], targetRow < 0 ? -1 : targetRow + k);
        else
            InsertIntoColumnGrid(to, lines[k], columnTarget, k);
    }
    return true;
}

}  // namespace vantrep::design
