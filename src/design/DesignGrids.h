// The layout designer's four grids as grid models: the row dimensions, the
// column dimensions (an outline of column groups), and the "Available" and
// "Selected" lists of variables (or, in a listing, of fields). Grid rows are
// 0-based with the header rows first; the helpers here know each grid's check
// and caption columns and move rows as tab-separated lines.
#pragma once

#include <QString>
#include <QStringList>

#include "grid/GridModel.h"

namespace vantrep::design {

enum class DesignGrid { Rows, Columns, Available, Selected };

// The caption marker of a filtered field, and the caption colours (24-bit,
// blue in the high byte).
inline const QString filteredMarker = QStringLiteral("Filtered ");
inline constexpr int filteredColor = 16711680;
inline constexpr int plainColor = 0;

struct DesignGrids {
    grid::GridModel rows;       // header "Row": check 0 (hidden ShowTotal), caption 1
    grid::GridModel columns;    // header "Column": outline 0 (fixed), check 1 (hidden), caption 2
    grid::GridModel available;  // two header rows; check 0 (hidden), caption 1, then Type, Width, ...
    grid::GridModel selected;   // as available, with the check column shown

    grid::GridModel& operator[](DesignGrid id);
    const grid::GridModel& operator[](DesignGrid id) const;
};

bool IsDimensionGrid(DesignGrid id);
int CheckColumn(DesignGrid id);
int CaptionColumn(DesignGrid id);

// A check cell holds "-1" when checked and "0" when not; any non-zero number
// (or "True") reads as checked.
bool IsChecked(const grid::GridModel& grid, int row, int col);
void SetCheck(grid::GridModel& grid, int row, int col, bool checked);

// A displayed caption without a leading "Filtered " marker.
QString PlainCaption(const QString& shown);

// The field caption of a data row: its caption cell's data, or the cell's
// text without the marker when the cell has no data.
QString RowCaption(const grid::GridModel& grid, DesignGrid id, int row);

// The row as one line: the cells from the first non-fixed column to the last
// joined by tabs, the check as "-1" or "0" and the caption without marker.
QString RowLine(const grid::GridModel& grid, DesignGrid id, int row);

// Inserts a line made by RowLine before `position` (-1: at the end) and
// gives the caption cell its caption as data. Returns the new row.
int InsertLine(grid::GridModel& grid, DesignGrid id, const QString& line, int position);

// The caption a line carries (its second cell: every grid's line has the
// check first and the caption next).
QString LineCaption(const QString& line);

// Empty grids with their header rows, columns, merged bold headings and
// hidden columns. A listing shows "Type" and "Width" in its lists.
void SetUpDimensionGrids(DesignGrids& grids);
void SetUpVariableLists(DesignGrids& grids, bool bDetailed);

}  // namespace vantrep::design
