// The mouse gesture that moves rows in the designer and filter dialogs: a
// press that may start a drag (DragStart.h's rules), the drag once the
// pointer has gone far enough (the window shows the move pointer), and the
// release that ends it as a drop or as a plain click.
#pragma once

#include <QPoint>

class QMouseEvent;
class QWidget;

namespace vantrep::grid {
class GridModel;
}
namespace vantrep::grid::ui {
class GridView;
}

namespace vantrep::design::ui {

class RowDrag {
public:
    // `window` shows the move pointer while a drag is under way.
    explicit RowDrag(QWidget* window) : window_(window) {}

    // Where a press fell: the grid cell (-1 when none) and whether it may
    // become a drag (then the window keeps the event from the view).
    struct Press {
        int row = -1;
        int col = -1;
        bool mayDrag = false;
    };
    Press press(grid::ui::GridView* view, const grid::GridModel& grid, QMouseEvent* event);
    // A move: whether it belongs to a press under way.
    bool move(QMouseEvent* event);
    bool dragging() const { return dragging_; }

    // The left button's release: a drop after a drag, a click after a press
    // that did not drag, else nothing of this gesture's.
    enum class Release { Other, Click, Drop };
    Release release();

private:
    QWidget* window_;
    bool pressed_ = false;
    bool dragging_ = false;
    QPoint origin_;
};

}  // namespace vantrep::design::ui
