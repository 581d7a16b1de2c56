// The text the grid view puts on the clipboard for Ctrl+C: the headings of
// the selected columns (every fixed row, each text followed by a tab, each
// row ended by a carriage return), then the selected cells as the grid's clip
// text (tabs between cells, carriage returns between rows).
#pragma once

#include <QString>

#include "grid/GridModel.h"

namespace vantrep::grid::ui {

// `selection` is the selected block in grid coordinates; the headings run
// from `fromCol` (the column where the selection started) to `toCol` (where
// it ends), right to left when the selection was made leftwards.
QString copyText(const GridModel& grid, const CellRange& selection, int fromCol, int toCol);

}  // namespace vantrep::grid::ui
