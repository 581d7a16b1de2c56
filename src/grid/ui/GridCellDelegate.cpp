#include "grid/ui/GridCellDelegate.h"

#include <QPainter>

#include "grid/ui/CellStyle.h"
#include "grid/ui/GridPalette.h"
#include "grid/ui/GridTableModel.h"

namespace vantrep::grid::ui {

GridCellDelegate::GridCellDelegate(GridModel& grid, QObject* parent) : QStyledItemDelegate(parent), grid_(grid) {}

bool GridCellDelegate::joinsRowAbove(int row, int col) const {
    if (row - 1 < grid_.fixedRows() || row >= grid_.rows() || col >= grid_.cols()) return false;
    if (grid_.isSubtotal(row) || grid_.isSubtotal(row - 1)) return false;
    for (int c = grid_.fixedCols(); c <= col; ++c) {
        if (!grid_.mergeCol(c)) {
            if (c == col) return false;
            continue;
        }
        const QString text = grid_.textMatrix(row, c);
        if (text.isEmpty() || text != grid_.textMatrix(row - 1, c)) return false;
    }
    return true;
}

void GridCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const int row = index.row() + grid_.fixedRows();
    const int col = index.column();
    if (row >= grid_.rows() || col >= grid_.cols()) return;
    const QRect rect = option.rect;
    const bool fixed = col < grid_.fixedCols();
    const bool selected = option.state & QStyle::State_Selected;

    QColor background = fixed ? GridPalette::heading() : GridPalette::cell();
    const int back = grid_.cellBackColor(row, col);
    if (back >= 0) background = gridColor(back);
    if (selected) background = option.palette.color(QPalette::Highlight).lighter(175);
    painter->fillRect(rect, background);

    // A merged run shows its text once: in its first row, or in the first
    // whole row the view shows when the run starts above the view's top.
    const bool joinsAbove = joinsRowAbove(row, col);
    const bool joinsBelow = joinsRowAbove(row + 1, col);
    const bool firstWholeRow = rect.top() >= 0 && rect.top() < rect.height();
    const bool showsText = joinsAbove ? firstWholeRow : rect.top() >= 0 || !joinsBelow;
    if (showsText) {
        QRect textRect = rect.adjusted(3, 0, -3, 0);
        const QImage picture = index.data(GridTableModel::PictureRole).value<QImage>();
        if (!picture.isNull()) {
            const QPoint at(rect.right() - picture.width() - 1, rect.top() + (rect.height() - picture.height()) / 2);
            painter->drawImage(at, picture);
            textRect.setRight(at.x() - 3);
        }
        QFont font = option.font;
        font.setBold(grid_.cellBold(row, col));
        painter->setFont(font);
        const int fore = grid_.cellForeColor(row, col);
        painter->setPen(fore >= 0 ? gridColor(fore) : GridPalette::cellText());
        const QString text = grid_.textMatrix(row, col);
        painter->drawText(textRect, int(cellAlignment(grid_.colAlignment(col), text)), text);
    }

    const bool lastFrozen = col == grid_.fixedCols() + grid_.frozenCols() - 1 && grid_.frozenCols() > 0;
    painter->setPen(lastFrozen ? GridPalette::frozenEdge() : fixed ? GridPalette::headingLine() : GridPalette::cellLine());
    painter->drawLine(rect.right(), rect.top(), rect.right(), rect.bottom());
    painter->setPen(fixed ? GridPalette::headingLine() : GridPalette::cellLine());
    if (!joinsBelow) painter->drawLine(rect.left(), rect.bottom(), rect.right(), rect.bottom());
}

}  // namespace vantrep::grid::ui
