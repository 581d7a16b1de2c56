// The layout designer dialog "Report Layout": the row and column grids of a
// summary on the "&Dimension" tab, the "Available" and "Selected" lists on
// "&Variables" ("&Fields" in a listing), and "&OK", "Cancel", "&Apply".
// Rows move by dragging them with the mouse between and within the grids
// (the drop place is shown while dragging), "Selected" rows by Ctrl+Up and
// Ctrl+Down too, and a click on a "Selected" check box toggles it. What an
// edit does is the LayoutDesigner's; this window turns the mouse and keys
// into its calls.
#pragma once

#include <QDialog>
#include <QPoint>
#include <array>
#include <functional>

#include "design/LayoutDesigner.h"
#include "design/ui/RowDrag.h"
#include "session/Session.h"

class QFrame;
class QMenu;
class QPushButton;
class QTabWidget;

namespace vantrep::grid::ui {
class GridView;
}

namespace vantrep::design::ui {

class frmDesign : public QDialog {
    Q_OBJECT
public:
    // `refill` runs the open report again and shows it (the main window's
    // RefillReport); "&Apply" and "&OK" call it after writing the layout back.
    frmDesign(session::Session& session, std::function<bool()> refill, QWidget* parent = nullptr);
    ~frmDesign() override;

    LayoutDesigner& designer() { return designer_; }
    grid::ui::GridView* view(DesignGrid id) const { return views_[static_cast<size_t>(id)]; }
    QTabWidget* tabs() const { return tabs_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* applyButton() const { return apply_; }
    // The line that shows where a dragged row would land (visible while dragging).
    QFrame* dropIndicator() const { return indicator_; }
    // The popup with its one command "Filter", opened by a right click on a
    // field's caption (a summary's dimension grids, a listing's lists).
    QMenu* popupMenu() const { return mnuPop_; }

    // Closing with filter changes not applied asks first (and may not close).
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    struct DropPlace {
        DesignGrid grid = DesignGrid::Rows;
        int row = -1;       // grid row; 0 the header row, -1 below the last row
        bool found = false;
    };

    grid::ui::GridView* makeView(DesignGrid id);
    int gridOfViewport(QObject* watched) const;
    bool press(DesignGrid id, QMouseEvent* event);
    bool move(QMouseEvent* event);
    bool release(DesignGrid id, QMouseEvent* event);
    bool ctrlKey(QKeyEvent* event);
    bool popup(DesignGrid id, QMouseEvent* event);
    void mnuFilter_Click();
    DropPlace placeAt(QPoint global) const;
    void showDropPlace(const DropPlace& place);
    void drop(const DropPlace& place);
    std::vector<int> selectedRows(DesignGrid id) const;
    void selectRows(DesignGrid id, int first, int last);
    void cmdApply_Click();
    void cmdOk_Click();
    void edited();

    LayoutDesigner designer_;
    QTabWidget* tabs_;
    std::array<grid::ui::GridView*, 4> views_{};
    QPushButton* ok_;
    QPushButton* cancel_;
    QPushButton* apply_;
    QFrame* indicator_;
    QMenu* mnuPop_;
    QString sPopupField;  // the caption cell under the mouse when the popup opened

    // The grid and cell of the last press, and the drag under way.
    DesignGrid oSourceGrid = DesignGrid::Rows;
    RowDrag drag_{this};
    int pressRow_ = -1;
    int pressCol_ = -1;
};

}  // namespace vantrep::design::ui
