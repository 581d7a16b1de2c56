// The grid's heading: the fixed rows of the grid model drawn above the
// columns, one line per fixed row, equal neighbouring texts of a merging row
// drawn as one cell, and the sort indicator in the last line.
#pragma once

#include <QHeaderView>

#include "grid/GridModel.h"

namespace vantrep::grid::ui {

class GridHeaderView : public QHeaderView {
    Q_OBJECT
public:
    GridHeaderView(GridModel& grid, QWidget* parent = nullptr);

    // The height of one heading line, in pixels.
    void setLineHeight(int pixels);
    int lineHeight() const { return lineHeight_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    // The horizontal extent, in viewport pixels, of the columns col1..col2
    // that this heading shows.
    std::pair<int, int> spanOf(int col1, int col2) const;
    void paintSortIndicator(QPainter* painter, const QRect& line) const;

    GridModel& grid_;
    int lineHeight_ = 22;
};

}  // namespace vantrep::grid::ui
