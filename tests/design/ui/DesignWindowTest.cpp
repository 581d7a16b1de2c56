// The layout designer dialog driven as a user drives it: rows dragged with
// the mouse between and within its grids, a check box clicked, Ctrl+Up, then
// "&OK" or "&Apply", and the report's grid checked after the re-run.
#include <gtest/gtest.h>

#include <QFrame>
#include <QHeaderView>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "design/support/DesignFields.h"
#include "design/support/OpenSample.h"
#include "design/ui/frmDesign.h"
#include "grid/ui/GridView.h"

namespace vantrep::design::ui {
namespace {

class DesignWindow : public testing::OpenSample {
protected:
    frmDesign& show(const QString& sample, const QString& file) {
        EXPECT_TRUE(openSession(copySample(sample) + file) == analysis::RunOutcome::SummaryOpened ||
                    session->bDetailed);
        dialog = std::make_unique<frmDesign>(*session, [this] {
            ++reruns;
            return analysis::RefillReport(*session, target());
        });
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        return *dialog;
    }
    grid::ui::GridView* view(DesignGrid id) { return dialog->view(id); }
    int rowOf(DesignGrid id, const QString& caption) {
        const grid::GridModel& g = dialog->designer().grids()[id];
        for (int r = g.fixedRows(); r < g.rows(); ++r)
            if (RowCaption(g, id, r) == caption) return r;
        return -1;
    }
    // The centre of a data row's caption cell, in its view's viewport.
    QPoint cellCentre(DesignGrid id, int row) {
        const int fixed = dialog->designer().grids()[id].fixedRows();
        return view(id)->visualRect(view(id)->model()->index(row - fixed, CaptionColumn(id))).center();
    }
    QPoint headerPoint(DesignGrid id) {
        QHeaderView* header = view(id)->horizontalHeader();
        return view(id)->viewport()->mapFromGlobal(header->mapToGlobal(header->rect().center()));
    }
    void click(DesignGrid id, QPoint at) { QTest::mouseClick(view(id)->viewport(), Qt::LeftButton, {}, at); }
    // Selects a row with a click, presses on it, moves past the drag threshold
    // and on to `to` (a point of the viewport of `target`), and lets go there.
    void drag(DesignGrid source, int row, DesignGrid target, QPoint to) {
        QWidget* from = view(source)->viewport();
        const QPoint start = cellCentre(source, row);
        click(source, start);
        QTest::mousePress(from, Qt::LeftButton, {}, start);
        QTest::mouseMove(from, start + QPoint(3, 2));
        EXPECT_FALSE(dialog->dropIndicator()->isVisible());  // 5 pixels: no drag yet
        QTest::mouseMove(from, start + QPoint(4, 2));
        const QPoint end = from->mapFromGlobal(view(target)->viewport()->mapToGlobal(to));
        QTest::mouseMove(from, end);
        EXPECT_TRUE(dialog->dropIndicator()->isVisible());  // the drop place is shown
        QTest::mouseRelease(from, Qt::LeftButton, {}, end);
        EXPECT_FALSE(dialog->dropIndicator()->isVisible());
    }

    std::unique_ptr<frmDesign> dialog;
};

TEST_F(DesignWindow, ShowsTheSummarysLayoutOnItsTabs) {
    frmDesign& d = show("summary", "DATA.DBF");
    EXPECT_EQ(d.windowTitle(), "Report Layout");
    EXPECT_EQ(d.tabs()->tabText(0), "&Dimension");
    EXPECT_EQ(d.tabs()->tabText(1), "&Variables");
    EXPECT_EQ(d.okButton()->text(), "&OK");
    EXPECT_EQ(d.cancelButton()->text(), "Cancel");
    EXPECT_EQ(d.applyButton()->text(), "&Apply");
    EXPECT_FALSE(d.applyButton()->isEnabled());
    EXPECT_EQ(rowOf(DesignGrid::Rows, "Media"), 1);
    EXPECT_EQ(rowOf(DesignGrid::Columns, "Weekday"), 2);
    EXPECT_EQ(rowOf(DesignGrid::Selected, "Spend (USD)"), 2);
    EXPECT_TRUE(view(DesignGrid::Rows)->isColumnHidden(0));
}

TEST_F(DesignWindow, ARowFieldDraggedOntoTheColumnHeaderBecomesAColumnGroupAndOkRefillsTheGrid) {
    show("summary", "DATA.DBF");
    drag(DesignGrid::Rows, rowOf(DesignGrid::Rows, "Brand"), DesignGrid::Columns, headerPoint(DesignGrid::Columns));
    EXPECT_EQ(rowOf(DesignGrid::Rows, "Brand"), -1);
    EXPECT_EQ(rowOf(DesignGrid::Columns, "Brand"), 3);
    EXPECT_EQ(dialog->designer().grids().columns.outlineLevel(3), 1);
    EXPECT_TRUE(dialog->applyButton()->isEnabled());

    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(reruns, 1);
    EXPECT_EQ(session->aDims(fieldIndex("BRAND")).Layout, "C");
    EXPECT_EQ(session->aDims(fieldIndex("BRAND")).FDec, 3);
    EXPECT_EQ(session->crossTab.nRowDims, 1);
    EXPECT_EQ(session->crossTab.aQuerySql.size(), 4);  // Month, Weekday and Brand groups
    EXPECT_EQ(grid.textMatrix(0, 1), "Media");
    EXPECT_NE(grid.textMatrix(0, 2), "Brand");  // Brand left the rows of the grid
    QStringList heads;
    for (int c = 2; c < grid.cols(); ++c) heads << grid.textMatrix(0, c);
    EXPECT_TRUE(heads.contains("Jan"));
    EXPECT_TRUE(heads.contains("Sun"));
}

TEST_F(DesignWindow, AColumnChildDraggedOntoTheRowGridLeavesEveryGroup) {
    show("summary", "DATA.DBF");
    // First Brand is nested under both groups: dropped on the Weekday row.
    drag(DesignGrid::Rows, rowOf(DesignGrid::Rows, "Brand"), DesignGrid::Columns,
         cellCentre(DesignGrid::Columns, rowOf(DesignGrid::Columns, "Weekday")));
    ASSERT_EQ(testing::Captions(dialog->designer().grids(), DesignGrid::Columns),
              QStringList({"[Month]", "Brand", "[Weekday]", "Brand"}));
    // Then dragged back, from the second group, onto Media in the rows.
    drag(DesignGrid::Columns, 4, DesignGrid::Rows, cellCentre(DesignGrid::Rows, 1));
    EXPECT_EQ(testing::Captions(dialog->designer().grids(), DesignGrid::Columns),
              QStringList({"[Month]", "[Weekday]"}));
    EXPECT_EQ(testing::Captions(dialog->designer().grids(), DesignGrid::Rows), QStringList({"Brand", "Media"}));

    QTest::mouseClick(dialog->applyButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog->applyButton()->isEnabled());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(grid.textMatrix(0, 1), "Brand");
    EXPECT_EQ(grid.textMatrix(0, 2), "Media");
    EXPECT_EQ(session->aDims(fieldIndex("BRAND")).Level, 1);
    EXPECT_EQ(session->aDims(fieldIndex("MEDIA")).Level, 2);
}

TEST_F(DesignWindow, AVariableDraggedBetweenTwoCheckedOnesIsCheckedAndShownAfterOk) {
    show("summary", "DATA.DBF");
    dialog->tabs()->setCurrentIndex(1);
    QApplication::processEvents();
    // Spend (checked) and Spots (checked) are selected; a third goes between them.
    ASSERT_EQ(testing::Captions(dialog->designer().grids(), DesignGrid::Selected),
              QStringList({"Spend (USD)", "Spots", "Duration"}));
    const grid::GridModel& selected = dialog->designer().grids().selected;
    // Duration (unchecked) out to Available, then back onto Spots.
    drag(DesignGrid::Selected, 4, DesignGrid::Available, cellCentre(DesignGrid::Available, 2));
    const int available = rowOf(DesignGrid::Available, "Duration");
    ASSERT_GT(available, 0);
    EXPECT_FALSE(IsChecked(dialog->designer().grids().available, available, 0));
    drag(DesignGrid::Available, available, DesignGrid::Selected, cellCentre(DesignGrid::Selected, 3));
    EXPECT_EQ(testing::Captions(dialog->designer().grids(), DesignGrid::Selected),
              QStringList({"Spend (USD)", "Duration", "Spots"}));
    EXPECT_TRUE(IsChecked(selected, 3, 0));

    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    EXPECT_EQ(session->aVars(2).FDesc, "Duration");
    EXPECT_TRUE(session->aVars(2).ShowTotal);
    QStringList heads;
    for (int c = 3; c < grid.cols(); ++c) heads << grid.textMatrix(1, c);  // after Media and Brand
    EXPECT_EQ(heads.mid(0, 6), QStringList({"Spend (USD)", "Spend (USD)%", "Duration", "Duration%", "Spots", "Spots%"}));
}

TEST_F(DesignWindow, ListingFieldsReorderWithCtrlUpAndGroupByACheckClick) {
    show("detailed", "Spot_Listing.dtr");
    EXPECT_FALSE(dialog->tabs()->isTabVisible(0));
    EXPECT_EQ(dialog->tabs()->tabText(1), "&Fields");
    EXPECT_FALSE(view(DesignGrid::Selected)->isColumnHidden(3));  // Width
    const int date = rowOf(DesignGrid::Selected, "Date");
    ASSERT_EQ(date, 4);
    click(DesignGrid::Selected, cellCentre(DesignGrid::Selected, date));
    QTest::keyClick(view(DesignGrid::Selected), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(rowOf(DesignGrid::Selected, "Date"), 3);
    // Moved up above the checked Channel, Date joins the grouping block.
    EXPECT_TRUE(IsChecked(dialog->designer().grids().selected, 3, 0));
    // A click on Time's check box under the block checks it.
    const int time = rowOf(DesignGrid::Selected, "Time");
    const grid::GridModel& selected = dialog->designer().grids().selected;
    const QPoint box = view(DesignGrid::Selected)->visualRect(view(DesignGrid::Selected)->model()->index(time - 2, 0)).center();
    click(DesignGrid::Selected, box);
    EXPECT_TRUE(IsChecked(selected, time, 0));  // Channel above it is checked
    EXPECT_TRUE(dialog->applyButton()->isEnabled());
    // A click on the last field's box is refused: the row above it is not checked.
    const int last = selected.rows() - 1;
    click(DesignGrid::Selected,
          view(DesignGrid::Selected)->visualRect(view(DesignGrid::Selected)->model()->index(last - 2, 0)).center());
    EXPECT_FALSE(IsChecked(selected, last, 0));

    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    EXPECT_EQ(session->aDims(fieldIndex("DATE")).Level, 2);
    EXPECT_EQ(session->aDims(fieldIndex("CHANNEL")).Level, 3);
    EXPECT_EQ(session->aDims(fieldIndex("TIME")).Level, 4);
    EXPECT_EQ(grid.textMatrix(0, 2), "Date");
    EXPECT_EQ(grid.textMatrix(0, 3), "Channel");
}

}  // namespace
}  // namespace vantrep::design::ui
