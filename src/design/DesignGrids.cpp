#include "design/DesignGrids.h"

namespace vantrep::design {

grid::GridModel& DesignGrids::operator[](DesignGrid id) {
    switch (id) {
    case DesignGrid::Rows: return rows;
    case DesignGrid::Columns: return columns;
    case DesignGrid::Available: return available;
    case DesignGrid::Selected: return selected;
    }
    return rows;
}

const grid::GridModel& DesignGrids::operator[](DesignGrid id) const {
    return const_cast<DesignGrids&>(*this)[id];
}

bool IsDimensionGrid(DesignGrid id) { return id == DesignGrid::Rows || id == DesignGrid::Columns; }

int CheckColumn(DesignGrid id) { return id == DesignGrid::Columns ? 1 : 0; }

int CaptionColumn(DesignGrid id) { return id == DesignGrid::Columns ? 2 : 1; }

bool IsChecked(const grid::GridModel& grid, int row, int col) {
    const QString text = grid.textMatrix(row, col).trimmed();
    return text.compare("True", Qt::CaseInsensitive) == 0 || grid.valueMatrix(row, col) != 0;
}

void SetCheck(grid::GridModel& grid, int row, int col, bool checked) {
    grid.setTextMatrix(row, col, checked ? "-1" : "0");
}

QString PlainCaption(const QString& shown) {
    return shown.startsWith(filteredMarker) ? shown.mid(filteredMarker.size()).trimmed() : shown;
}

QString RowCaption(const grid::GridModel& grid, DesignGrid id, int row) {
    const QVariant data = grid.cellData(row, CaptionColumn(id));
    return data.isValid() ? data.toString() : PlainCaption(grid.textMatrix(row, CaptionColumn(id)));
}

QString RowLine(const grid::GridModel& grid, DesignGrid id, int row) {
    QStringList cells;
    for (int c = grid.fixedCols(); c < grid.cols(); ++c) {
        if (c == CheckColumn(id))
            cells << (IsChecked(grid, row, c) ? "-1" : "0");
        else if (c == CaptionColumn(id))
            cells << RowCaption(grid, id, row);
        else
            cells << grid.textMatrix(row, c);
    }
    return cells.join('\t');
}

QString LineCaption(const QString& line) { return line.section('\t', 1, 1); }

int InsertLine(grid::GridModel& grid, DesignGrid id, const QString& line, int position) {
    grid.addItem(QString(grid.fixedCols(), '\t') + line, position);
    const int row = position < 0 ? grid.rows() - 1 : position;
    grid.setCellData(row, CaptionColumn(id), LineCaption(line));
    return row;
}

namespace {

void setHeading(grid::GridModel& grid, int row, const QString& text) {
    for (int c = 0; c < grid.cols(); ++c) {
        grid.setTextMatrix(row, c, text);
        grid.setCellBold(row, c, true);
    }
    grid.setMergeRow(row, true);
}

void setUpList(grid::GridModel& list, const QString& heading, bool checkShown, bool bDetailed) {
    list.clear();
    list.setCols(7);
    list.setRows(2);
    list.setFixedCols(0);
    list.setFixedRows(2);
    setHeading(list, 0, heading);
    const QStringList names{"", "Name", "Type", "Width", "", "", ""};
    for (int c = 0; c < list.cols(); ++c) list.setTextMatrix(1, c, names[c]);
    list.setColHidden(0, !checkShown);
    list.setColHidden(1, false);
    for (int c = 2; c <= 3; ++c) list.setColHidden(c, !bDetailed);
    for (int c = 4; c <= 6; ++c) list.setColHidden(c, true);
}

}  // namespace

void SetUpDimensionGrids(DesignGrids& grids) {
    grid::GridModel& rows = grids.rows;
    rows.clear();
    rows.setCols(2);
    rows.setRows(1);
    rows.setFixedCols(0);
    rows.setFixedRows(1);
    setHeading(rows, 0, "Row");
    rows.setColHidden(0, true);

    grid::GridModel& columns = grids.columns;
    columns.clear();
    columns.setCols(3);
    columns.setRows(1);
    columns.setFixedCols(1);
    columns.setFixedRows(1);
    setHeading(columns, 0, "Column");
    // The narrow outline column would show a cut piece of the heading.
    columns.setTextMatrix(0, 0, QString());
    columns.setColHidden(1, true);
}

void SetUpVariableLists(DesignGrids& grids, bool bDetailed) {
    setUpList(grids.available, "Available", false, bDetailed);
    setUpList(grids.selected, "Selected", true, bDetailed);
}

}  // namespace vantrep::design
