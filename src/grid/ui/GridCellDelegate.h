// Paints one data cell of the grid view: background, text in the cell's
// alignment, font and colour, the cell's picture at its right end, and the
// cell lines. Equal neighbours down a merging column are drawn as one cell:
// no line between them and the text once, in the topmost visible row of the
// run. Only the visible cells are looked at, so a long listing costs nothing.
#pragma once

#include <QStyledItemDelegate>

#include "grid/GridModel.h"

namespace vantrep::grid::ui {

class GridCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    GridCellDelegate(GridModel& grid, QObject* parent = nullptr);

    // Whether grid row `row` joins the row above in column `col`: the column
    // merges, both texts are equal and not empty, neither row is a subtotal,
    // and every merging column left of `col` joins too.
    bool joinsRowAbove(int row, int col) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    GridModel& grid_;
};

}  // namespace vantrep::grid::ui
