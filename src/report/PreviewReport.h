// What the main window's preview command needs beyond the report window:
// whether there is anything to preview, and the criteria text as the grid
// report prints it.
#pragma once

#include <QString>

namespace vantrep::grid { class GridModel; }

namespace vantrep::report {

// False when the grid has nothing but its fixed part or no data table is open.
bool canPreviewGrid(const grid::GridModel& grid, const QString& sDataFile);

// The criteria with every carriage return turned into four spaces.
QString previewCriteria(const QString& criteria);

}  // namespace vantrep::report
