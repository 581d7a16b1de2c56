// The grid view over the grid model: what it shows, the frozen columns, the
// copy rule, sorting and moving by the headings, the clip click, merged runs,
// and a long listing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFont>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "grid/ui/GridCellDelegate.h"
#include "grid/ui/GridHeaderView.h"
#include "grid/ui/GridTableModel.h"
#include "grid/ui/GridView.h"

namespace vantrep::grid::ui {
namespace {

// A summary-like grid: one heading row, the fixed column, one frozen
// row-dimension column and three value columns.
void fillSmall(GridModel& g) {
    g.setRedraw(false);
    g.setRows(9);
    g.setCols(5);
    g.setFixedRows(1);
    g.setFixedCols(1);
    g.setFrozenCols(1);
    const char* heads[] = {"", "Media", "Jan", "Feb", "Mar"};
    for (int c = 0; c < 5; ++c) g.setTextMatrix(0, c, heads[c]);
    for (int r = 1; r < 9; ++r) {
        g.setTextMatrix(r, 1, r <= 4 ? "TV" : "Radio");
        for (int c = 2; c < 5; ++c) g.setTextMatrix(r, c, QString::number(r * 10 + c));
    }
    g.setColWidth(1, 1500);
    g.setRedraw(true);
}

TEST(GridView, ShowsTheModelsDataRowsWithTheirLooks) {
    GridModel g;
    fillSmall(g);
    g.setCellForeColor(3, 2, 204);  // red 204 in the low byte
    g.setCellBackColor(3, 3, 0xcc0000);  // blue 204 in the high byte
    g.setCellBold(4, 2, true);
    g.setColAlignment(4, alignCenterCenter);
    GridView view(g);
    QAbstractItemModel* m = view.model();
    EXPECT_EQ(m->rowCount(), 8);  // the heading row is not an item row
    EXPECT_EQ(m->columnCount(), 5);
    EXPECT_EQ(m->index(0, 1).data().toString(), "TV");
    EXPECT_EQ(m->index(2, 2).data(Qt::ForegroundRole).value<QColor>(), QColor(204, 0, 0));
    EXPECT_EQ(m->index(2, 3).data(Qt::BackgroundRole).value<QColor>(), QColor(0, 0, 204));
    EXPECT_TRUE(m->index(3, 2).data(Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(m->index(3, 3).data(Qt::FontRole).value<QFont>().bold());
    // General alignment: numbers right, texts left; code 4 centres.
    EXPECT_EQ(m->index(0, 2).data(Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(m->index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignLeft | Qt::AlignVCenter);
    EXPECT_EQ(m->index(0, 4).data(Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignCenter);
    // The fixed column cannot be selected.
    EXPECT_FALSE(m->flags(m->index(0, 0)) & Qt::ItemIsSelectable);
    EXPECT_EQ(view.columnWidth(1), 100);  // 1500 twips at 96 dpi

    g.setTextMatrix(1, 2, "changed");  // a change with redraw on reaches the view
    EXPECT_EQ(m->index(0, 2).data().toString(), "changed");
    g.setColHidden(3, true);
    EXPECT_TRUE(view.isColumnHidden(3));
}

TEST(GridView, KeepsTheFixedAndFrozenColumnsInTheOverlay) {
    GridModel g;
    fillSmall(g);
    GridView view(g);
    view.resize(300, 200);
    view.show();
    QTableView* frozen = view.frozenView();
    EXPECT_TRUE(frozen->isVisible());
    EXPECT_FALSE(frozen->isColumnHidden(0));
    EXPECT_FALSE(frozen->isColumnHidden(1));
    for (int c = 2; c < 5; ++c) EXPECT_TRUE(frozen->isColumnHidden(c));
    EXPECT_EQ(frozen->width(), view.columnWidth(0) + view.columnWidth(1));
    EXPECT_EQ(frozen->selectionModel(), view.selectionModel());
    view.verticalScrollBar()->setValue(3);
    EXPECT_EQ(frozen->verticalScrollBar()->value(), view.verticalScrollBar()->value());
}

class CopyRule : public ::testing::Test {
protected:
    void select(GridView& view, int fromRow, int fromCol, int toRow, int toCol) {
        QAbstractItemModel* m = view.model();
        // Item rows are grid rows less the heading row.
        const QModelIndex from = m->index(fromRow - 1, fromCol), to = m->index(toRow - 1, toCol);
        view.selectionModel()->select(QItemSelection(from, to), QItemSelectionModel::ClearAndSelect);
        view.selectionModel()->setCurrentIndex(to, QItemSelectionModel::NoUpdate);
    }
    QString copied(GridView& view) {
        QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
        return QApplication::clipboard()->text();
    }
    GridModel g;
};

TEST_F(CopyRule, PutsTheHeadingsOfTheSelectedColumnsFirst) {
    fillSmall(g);
    GridView view(g);
    select(view, 5, 2, 7, 3);
    EXPECT_EQ(copied(view), "Jan\tFeb\t\r52\t53\r62\t63\r72\t73");
}

TEST_F(CopyRule, RunsTheHeadingsRightToLeftForALeftwardsSelection) {
    fillSmall(g);
    GridView view(g);
    select(view, 2, 4, 3, 2);
    EXPECT_EQ(copied(view), "Mar\tFeb\tJan\t\r22\t23\t24\r32\t33\t34");
}

TEST_F(CopyRule, RepeatsEveryHeadingRow) {
    fillSmall(g);
    g.setRows(10);
    g.setFixedRows(2);  // row 1 becomes a second heading row
    GridView view(g);
    QAbstractItemModel* m = view.model();
    view.selectionModel()->select(QItemSelection(m->index(0, 3), m->index(0, 3)), QItemSelectionModel::ClearAndSelect);
    view.selectionModel()->setCurrentIndex(m->index(0, 3), QItemSelectionModel::NoUpdate);
    EXPECT_EQ(copied(view), "Feb\t\r13\t\r23");
}

TEST_F(CopyRule, CopiesTheCurrentCellWhenNothingIsSelected) {
    fillSmall(g);
    GridView view(g);
    QAbstractItemModel* m = view.model();
    view.selectionModel()->setCurrentIndex(m->index(2, 3), QItemSelectionModel::Clear);
    ASSERT_TRUE(view.selectionModel()->selection().isEmpty());
    EXPECT_EQ(copied(view), "Feb\t\r33");
    view.selectionModel()->clear();  // no current cell either
    EXPECT_EQ(copied(view), "");
}

TEST(GridView, SortsByAClickOnAHeadingAndShowsTheIndicator) {
    GridModel g;
    fillSmall(g);
    g.setTextMatrix(2, 3, "5");
    GridView view(g);
    view.resize(500, 300);
    view.show();
    auto click = [&](int col) {
        QHeaderView* header = view.heading();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(col) + header->sectionSize(col) / 2, 5));
    };
    click(3);  // sorting is off until the report kind allows it
    EXPECT_EQ(g.textMatrix(1, 3), "13");
    view.setExplorerBar(5);
    click(3);
    EXPECT_EQ(g.textMatrix(1, 3), "5");
    EXPECT_EQ(g.textMatrix(g.rows() - 1, 3), "83");
    EXPECT_TRUE(view.heading()->isSortIndicatorShown());
    EXPECT_EQ(view.heading()->sortIndicatorSection(), 3);
    EXPECT_EQ(view.heading()->sortIndicatorOrder(), Qt::AscendingOrder);
    click(3);
    EXPECT_EQ(g.textMatrix(1, 3), "83");
    EXPECT_EQ(view.heading()->sortIndicatorOrder(), Qt::DescendingOrder);
    EXPECT_EQ(view.model()->index(0, 3).data().toString(), "83");
}

TEST(GridView, MovesADraggedColumnInTheModelOnlyWhenAllowed) {
    GridModel g;
    fillSmall(g);
    g.setFrozenCols(0);
    GridView view(g);
    view.setExplorerBar(5);
    EXPECT_FALSE(view.heading()->sectionsMovable());
    view.setExplorerBar(7);
    EXPECT_TRUE(view.heading()->sectionsMovable());
    view.heading()->moveSection(4, 2);  // what a drag of "Mar" onto "Jan" does
    EXPECT_EQ(g.textMatrix(0, 2), "Mar");
    EXPECT_EQ(g.textMatrix(0, 3), "Jan");
    EXPECT_EQ(g.textMatrix(1, 2), "14");
    EXPECT_EQ(view.heading()->visualIndex(4), 4);  // the heading's order stays the model's
    view.heading()->moveSection(3, 0);            // not in front of the fixed column
    EXPECT_EQ(g.textMatrix(0, 0), "");
    EXPECT_EQ(g.textMatrix(0, 3), "Jan");
}

TEST(GridView, ReportsAClickOnTheClipButtonAtTheRightEndOfItsCell) {
    GridModel g;
    fillSmall(g);
    g.setFrozenCols(0);
    g.setColWidth(2, 1800);  // 120 pixels
    QImage clip(16, 16, QImage::Format_ARGB32);
    clip.fill(Qt::red);
    g.setCellPicture(3, 2, clip);
    g.setCellData(3, 2, "clips/AD0001.mpg");
    QImage other(16, 16, QImage::Format_ARGB32);
    other.fill(Qt::blue);
    g.setCellPicture(4, 2, other);
    GridView view(g);
    view.setClipButton(clip);
    view.resize(500, 300);
    view.show();
    QSignalSpy spy(&view, &GridView::clipClicked);
    auto release = [&](int itemRow, int dx) {
        const QRect cell = view.visualRect(view.model()->index(itemRow, 2));
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(cell.left() + dx, cell.center().y()));
    };
    release(2, 30);  // on the text
    EXPECT_EQ(spy.count(), 0);
    release(3, 115);  // a picture that is not the clip button
    EXPECT_EQ(spy.count(), 0);
    release(2, 115);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy[0][0].toInt(), 3);
    EXPECT_EQ(spy[0][1].toInt(), 2);
}

TEST(GridView, DrawsEqualNeighboursOfAMergingColumnAsOneRun) {
    GridModel g;
    fillSmall(g);
    g.setRows(10);
    g.setTextMatrix(9, 1, "Radio");
    g.setTextMatrix(9, 2, "52");
    g.setMergeCol(1, true);
    g.setMergeCol(2, true);
    g.setTextMatrix(6, 2, "52");
    g.setIsSubtotal(8, true);
    GridCellDelegate delegate(g);
    EXPECT_FALSE(delegate.joinsRowAbove(1, 1));  // the first data row starts a run
    EXPECT_TRUE(delegate.joinsRowAbove(2, 1));
    EXPECT_FALSE(delegate.joinsRowAbove(5, 1));  // "Radio" after "TV"
    EXPECT_TRUE(delegate.joinsRowAbove(6, 2));   // 52 twice, within one "Radio" run
    EXPECT_FALSE(delegate.joinsRowAbove(3, 2));  // different numbers
    EXPECT_FALSE(delegate.joinsRowAbove(8, 1));  // a subtotal row stands alone
    EXPECT_FALSE(delegate.joinsRowAbove(9, 1));
    EXPECT_FALSE(delegate.joinsRowAbove(2, 3));  // the column does not merge
    g.setTextMatrix(6, 1, "TV");
    EXPECT_FALSE(delegate.joinsRowAbove(6, 2));  // the run to the left breaks
}

TEST(GridView, DrawsEqualHeadingsOfAMergingRowAsOneCell) {
    GridModel g;
    fillSmall(g);
    g.setRows(10);
    g.setFixedRows(2);
    g.setTextMatrix(0, 2, "Jan");
    g.setTextMatrix(0, 3, "Jan");
    g.setTextMatrix(1, 2, "Spend");
    g.setTextMatrix(1, 3, "Spots");
    g.setTextMatrix(1, 1, "");
    g.setMergeRow(0, true);
    GridView view(g);
    view.resize(500, 300);
    view.show();
    QApplication::processEvents();
    GridHeaderView* header = view.heading();
    const QImage image = header->grab().toImage();
    const int line = header->lineHeight();
    const int edge = header->sectionViewportPosition(3) - 1;  // the last pixel column of column 2
    const QColor lineColor = image.pixelColor(edge, line + 2);
    EXPECT_NE(lineColor, image.pixelColor(edge - 3, line + 2));  // "Spend" and "Spots" are apart
    EXPECT_EQ(image.pixelColor(edge, 2), image.pixelColor(edge - 3, 2));  // one "Jan" over both, no line
    EXPECT_EQ(header->height(), 2 * line);
}

// The first pixel column, from the left of `x1`..`x2`, on the first heading
// line that differs from the heading's background; -1 when none does.
int firstInk(const QImage& image, int x1, int x2, int lineHeight) {
    const QColor background = image.pixelColor(x1 + 1, 1);
    for (int x = x1 + 1; x < x2 - 1; ++x)
        for (int y = 1; y < lineHeight - 1; ++y)
            if (image.pixelColor(x, y) != background) return x;
    return -1;
}

TEST(GridView, DrawsAHeadingCellWithItsOwnAlignment) {
    GridModel g;
    fillSmall(g);
    g.setRows(10);
    g.setFixedRows(2);
    g.setColWidth(2, 3000);
    g.setColWidth(3, 3000);
    g.setTextMatrix(0, 2, "Jan");
    g.setTextMatrix(0, 3, "Jan");
    g.setCellAlignment(0, 2, alignLeftTop);
    GridView view(g);
    view.resize(700, 300);
    view.show();
    QApplication::processEvents();
    GridHeaderView* header = view.heading();
    const QImage image = header->grab().toImage();
    const int left2 = header->sectionViewportPosition(2), left3 = header->sectionViewportPosition(3);
    const int ink2 = firstInk(image, left2, left3, header->lineHeight()) - left2;
    const int ink3 = firstInk(image, left3, left3 + header->sectionSize(3), header->lineHeight()) - left3;
    EXPECT_GE(ink2, 0);
    EXPECT_LT(ink2, 12);     // at the left edge
    EXPECT_GT(ink3, ink2 + 20);  // the other heading stays centred
}

TEST(GridView, OpensALongListingQuicklyWithoutSpans) {
#if defined(NDEBUG) && !defined(__SANITIZE_ADDRESS__)
    const qint64 limitMs = 1500;
#else
    const qint64 limitMs = 15000;  // unoptimised and instrumented builds are many times slower
#endif
    GridModel g;
    const int rows = 200000;
    g.setRedraw(false);
    g.setRows(rows + 1);
    g.setCols(9);
    g.setFixedRows(1);
    g.setFixedCols(1);
    for (int c = 1; c < 9; ++c) g.setTextMatrix(0, c, QString("Field %1").arg(c));
    for (int r = 1; r <= rows; ++r) {
        g.setTextMatrix(r, 1, r % 1000 < 500 ? "TV" : "Radio");
        for (int c = 2; c < 9; ++c) g.setTextMatrix(r, c, QString::number(r + c));
    }
    g.setMergeCol(1, true);
    g.setRedraw(true);
    QElapsedTimer timer;
    timer.start();
    GridView view(g);
    view.resize(900, 600);
    view.show();
    QApplication::processEvents();
    view.verticalScrollBar()->setValue(rows / 2);
    QApplication::processEvents();
    view.scrollToBottom();
    QApplication::processEvents();
    const qint64 elapsed = timer.elapsed();
    EXPECT_LT(elapsed, limitMs) << elapsed << " ms";
    EXPECT_EQ(view.model()->rowCount(), rows);
    // The merged runs are painted, not spanned.
    EXPECT_EQ(view.rowSpan(0, 1), 1);
    EXPECT_EQ(view.rowSpan(rows / 2, 1), 1);
    EXPECT_EQ(view.columnSpan(0, 1), 1);
}

}  // namespace
}  // namespace vantrep::grid::ui
