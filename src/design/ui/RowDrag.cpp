#include "design/ui/RowDrag.h"

#include <QMouseEvent>

#include "design/DragStart.h"
#include "grid/GridModel.h"
#include "grid/ui/GridView.h"

namespace vantrep::design::ui {

RowDrag::Press RowDrag::press(grid::ui::GridView* view, const grid::GridModel& grid, QMouseEvent* event) {
    const QModelIndex index = view->indexAt(event->position().toPoint());
    Press press;
    if (index.isValid()) {
        press.row = index.row() + grid.fixedRows();
        press.col = index.column();
    }
    const bool inside = index.isValid() && view->selectionModel()->isRowSelected(index.row(), QModelIndex());
    press.mayDrag = PressMayStartDrag(event->buttons(), event->modifiers(), press.row, press.col, grid.fixedRows(),
                                      grid.fixedCols(), inside);
    pressed_ = press.mayDrag;
    dragging_ = false;
    origin_ = event->position().toPoint();
    return press;
}

bool RowDrag::move(QMouseEvent* event) {
    if (!pressed_) return false;
    if (!dragging_ && DragDistanceReached(origin_, event->position().toPoint())) {
        dragging_ = true;
        window_->setCursor(Qt::DragMoveCursor);
    }
    return true;
}

RowDrag::Release RowDrag::release() {
    const bool wasPressed = pressed_;
    const bool wasDragging = dragging_;
    pressed_ = dragging_ = false;
    if (wasDragging) {
        window_->unsetCursor();
        return Release::Drop;
    }
    return wasPressed ? Release::Click : Release::Other;
}

}  // namespace vantrep::design::ui
