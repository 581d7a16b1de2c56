#include "design/DragStart.h"

#include <cstdlib>

namespace vantrep::design {

bool PressMayStartDrag(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int row, int col, int fixedRows,
                       int fixedCols, bool insideSelection) {
    if (buttons != Qt::LeftButton || modifiers != Qt::NoModifier) return false;
    if (row < fixedRows || col < fixedCols) return false;
    return insideSelection;
}

bool DragDistanceReached(QPoint origin, QPoint now, int threshold) {
    return std::abs(now.x() - origin.x()) + std::abs(now.y() - origin.y()) > threshold;
}

bool PressIgnoredByDimensionGrid(int xTwips) { return xTwips >= 3000 && xTwips <= 3150; }

}  // namespace vantrep::design
