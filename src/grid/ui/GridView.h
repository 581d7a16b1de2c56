// The grid on screen: a table view over the grid model with the fixed rows as
// its heading, the fixed and frozen columns in a second view laid over the
// left edge (they stay while the other columns scroll), sorting by a click on
// a column heading, moving columns by dragging their headings, Ctrl+C copy,
// and the click on a cell's clip button.
#pragma once

#include <QImage>
#include <QTableView>

#include "grid/GridModel.h"

namespace vantrep::grid::ui {

class GridCellDelegate;
class GridHeaderView;
class GridTableModel;

class GridView : public QTableView {
    Q_OBJECT
public:
    explicit GridView(GridModel& grid, QWidget* parent = nullptr);

    // The heading behaviour: 0 nothing, 5 a click sorts by the column and shows
    // the sort indicator, 7 also lets the user drag columns to new places.
    void setExplorerBar(int setting);
    int explorerBar() const { return explorerBar_; }

    // The picture that marks a clip button; a release of the left button on
    // it, at the right end of its cell, emits clipClicked.
    void setClipButton(const QImage& picture) { clipButton_ = picture; }

    // What Ctrl+C puts on the clipboard for the current selection, or for
    // the current cell when nothing is selected ("" when there is neither).
    QString selectionCopyText() const;
    void copyToClipboard();

    GridModel& grid() const { return grid_; }
    QTableView* frozenView() const { return frozen_; }
    GridHeaderView* heading() const { return header_; }
    int sortColumn() const { return sortColumn_; }

    // Never scrolls a frozen column into view: it is always in view.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

signals:
    // Grid row and column of the clicked clip button.
    void clipClicked(int row, int col);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void updateGeometries() override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;

private:
    void applyGridSettings();
    void sortByHeading(int col);
    void moveColumn(int logical, int oldVisual, int newVisual);
    void updateFrozenGeometry();
    int frozenCount() const;
    int frozenWidth() const;
    void setUpView(QTableView* view, GridHeaderView* header);

    GridModel& grid_;
    GridTableModel* model_;
    GridCellDelegate* delegate_;
    GridHeaderView* header_;
    QTableView* frozen_;
    GridHeaderView* frozenHeader_;
    QImage clipButton_;
    int explorerBar_ = 0;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    bool sorting_ = false;
};

}  // namespace vantrep::grid::ui
