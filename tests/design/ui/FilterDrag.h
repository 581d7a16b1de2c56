// Mouse drags on the filter dialog, as a user makes them: press a row, move
// past the drag threshold, let go over a place in either list.
#pragma once

#include <QTest>

#include "design/ui/frmFilter.h"
#include "grid/ui/GridView.h"

namespace vantrep::design::testing {

// The centre of data row `row` (1 the first) of list `id`, in its viewport.
inline QPoint rowCentre(ui::frmFilter& f, FilterList id, int row) {
    grid::ui::GridView* v = f.view(id);
    return v->visualRect(v->model()->index(row - 1, 0)).center();
}

// A point below the last row of list `id`, in its viewport.
inline QPoint belowRows(ui::frmFilter& f, FilterList id) { return QPoint(20, f.view(id)->viewport()->height() - 5); }

// Clicks data row `row` of `source`, drags it past the threshold and lets go
// at `to` in the viewport of `target`.
inline void drag(ui::frmFilter& f, FilterList source, int row, FilterList target, QPoint to) {
    QWidget* from = f.view(source)->viewport();
    const QPoint start = rowCentre(f, source, row);
    QTest::mouseClick(from, Qt::LeftButton, {}, start);
    QTest::mousePress(from, Qt::LeftButton, {}, start);
    QTest::mouseMove(from, start + QPoint(4, 2));
    const QPoint end = from->mapFromGlobal(f.view(target)->viewport()->mapToGlobal(to));
    QTest::mouseMove(from, end);
    QTest::mouseRelease(from, Qt::LeftButton, {}, end);
}

}  // namespace vantrep::design::testing
