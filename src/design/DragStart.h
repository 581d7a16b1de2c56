// When a mouse press in a designer grid starts a drag: the left button
// alone, on a data cell inside the selection (in a list, on a selected row),
// and only once the mouse has moved more than the threshold from where it
// was pressed, counting |dx| + |dy|. A press released without such a move
// selects the cell instead (in a list, that row alone).
#pragma once

#include <QPoint>
#include <Qt>

namespace vantrep::design {

inline constexpr int dragThreshold = 5;  // pixels

// Whether a press may become a drag. `row` and `col` are the grid cell under
// the mouse (-1 when none); `insideSelection` whether that cell (in a list,
// its row) is selected.
bool PressMayStartDrag(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int row, int col, int fixedRows,
                       int fixedCols, bool insideSelection);

// Whether the mouse, pressed at `origin`, has moved far enough to drag.
bool DragDistanceReached(QPoint origin, QPoint now, int threshold = dragThreshold);

// The dimension grids take no press from 3000 to 3150 twips from their left.
bool PressIgnoredByDimensionGrid(int xTwips);

}  // namespace vantrep::design
