#include "grid/ui/GridHeaderView.h"

#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <climits>

#include "grid/ui/CellStyle.h"
#include "grid/ui/GridPalette.h"

namespace vantrep::grid::ui {

GridHeaderView::GridHeaderView(GridModel& grid, QWidget* parent) : QHeaderView(Qt::Horizontal, parent), grid_(grid) {
    setDefaultAlignment(Qt::AlignCenter);
    setHighlightSections(false);
    setSectionResizeMode(QHeaderView::Interactive);
    setMinimumSectionSize(4);
}

void GridHeaderView::setLineHeight(int pixels) {
    lineHeight_ = pixels;
    updateGeometry();
}

QSize GridHeaderView::sizeHint() const {
    QSize size = QHeaderView::sizeHint();
    size.setHeight(std::max(1, grid_.fixedRows()) * lineHeight_);
    return size;
}

std::pair<int, int> GridHeaderView::spanOf(int col1, int col2) const {
    int left = INT_MAX, right = INT_MIN;
    for (int c = col1; c <= col2 && c < count(); ++c) {
        if (isSectionHidden(c)) continue;
        const int x = sectionViewportPosition(c);
        left = std::min(left, x);
        right = std::max(right, x + sectionSize(c));
    }
    return {left, right};
}

void GridHeaderView::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    if (!rect.isValid() || logicalIndex >= grid_.cols()) return;
    painter->save();
    painter->setClipRect(rect);
    const int lines = std::min(grid_.fixedRows(), grid_.rows());
    for (int r = 0; r < lines;) {
        CellRange range{r, logicalIndex, r, logicalIndex};
        if (grid_.mergeRow(r)) range = grid_.mergedRange(r, logicalIndex);
        // A heading of one column also covers the empty heading cells below it.
        int bottom = r;
        if (range.col1 == range.col2)
            while (bottom + 1 < lines && grid_.textMatrix(bottom + 1, logicalIndex).isEmpty()) ++bottom;
        auto [left, right] = spanOf(range.col1, range.col2);
        if (left <= right) {
            const QRect cell(left, rect.top() + r * lineHeight_, right - left, (bottom - r + 1) * lineHeight_);
            painter->fillRect(cell, GridPalette::heading());
            painter->setPen(GridPalette::headingLine());
            painter->drawLine(cell.right(), cell.top(), cell.right(), cell.bottom());
            painter->drawLine(cell.left(), cell.bottom(), cell.right(), cell.bottom());
            QFont font = this->font();
            font.setBold(grid_.cellBold(r, logicalIndex));
            painter->setFont(font);
            const int fore = grid_.cellForeColor(r, logicalIndex);
            painter->setPen(fore < 0 ? GridPalette::headingText() : gridColor(fore));
            const QString text = grid_.textMatrix(r, logicalIndex);
            const int alignment = grid_.cellAlignment(r, logicalIndex);
            painter->drawText(cell.adjusted(4, 0, -4, 0),
                              alignment < 0 ? Qt::Alignment(Qt::AlignCenter) : cellAlignment(alignment, text), text);
            if (bottom == lines - 1 && isSortIndicatorShown() && sortIndicatorSection() == logicalIndex)
                paintSortIndicator(painter, cell);
        }
        r = bottom + 1;
    }
    painter->restore();
}

void GridHeaderView::paintSortIndicator(QPainter* painter, const QRect& line) const {
    const int size = 7;
    const int x = line.right() - size - 4;
    const int y = line.center().y();
    QPolygon arrow;
    if (sortIndicatorOrder() == Qt::AscendingOrder)
        arrow << QPoint(x, y + 2) << QPoint(x + size, y + 2) << QPoint(x + size / 2, y - 2);
    else
        arrow << QPoint(x, y - 2) << QPoint(x + size, y - 2) << QPoint(x + size / 2, y + 2);
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(GridPalette::headingText());
    painter->drawPolygon(arrow);
}

}  // namespace vantrep::grid::ui
