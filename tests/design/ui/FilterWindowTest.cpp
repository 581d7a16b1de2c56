// The filter dialog driven as a user drives it: values dragged with the
// mouse into "Selected" and reordered there, "Show Others", "OK"; and opened
// from the designer's popup on a right click, with the closing question.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "design/support/OpenSample.h"
#include "design/ui/FilterDrag.h"
#include "design/ui/frmDesign.h"
#include "design/ui/frmFilter.h"
#include "grid/ui/GridView.h"

namespace vantrep::design::ui {
namespace {

using testing::belowRows;
using testing::drag;
using testing::rowCentre;

class FilterWindow : public testing::OpenSample {
protected:
    void SetUp() override {
        OpenSample::SetUp();
        ASSERT_EQ(openSession(copySample("summary") + "DATA.DBF"), analysis::RunOutcome::SummaryOpened);
    }
    session::ValueList& combo(const QString& name) { return session->cmbField[static_cast<size_t>(fieldIndex(name))]; }
};

TEST_F(FilterWindow, ValuesDraggedIntoSelectedAndReorderedThereAreWrittenByOk) {
    frmFilter f(*session, "Media", 1);
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    EXPECT_EQ(f.windowTitle(), "Filter for Media");
    EXPECT_TRUE(f.showOthersBox()->isVisible());
    const QStringList all = f.filter().values(FilterList::Available);
    ASSERT_EQ(all.size(), 5);

    // "Show Others" wants a selection first.
    QTest::mouseClick(f.showOthersBox(), Qt::LeftButton);
    EXPECT_FALSE(f.showOthersBox()->isChecked());
    EXPECT_FALSE(f.ChangeFilter());

    drag(f, FilterList::Available, 2, FilterList::Selected, belowRows(f, FilterList::Selected));
    drag(f, FilterList::Available, 3, FilterList::Selected, belowRows(f, FilterList::Selected));
    ASSERT_EQ(f.filter().values(FilterList::Selected), QStringList({all[1], all[3]}));
    // The second value dropped on the first goes before it.
    drag(f, FilterList::Selected, 2, FilterList::Selected, rowCentre(f, FilterList::Selected, 1));
    EXPECT_EQ(f.filter().values(FilterList::Selected), QStringList({all[3], all[1]}));
    // A press and a move of five pixels in all is no drag.
    QWidget* available = f.view(FilterList::Available)->viewport();
    const QPoint start = rowCentre(f, FilterList::Available, 1);
    QTest::mousePress(available, Qt::LeftButton, {}, start);
    QTest::mouseMove(available, start + QPoint(3, 2));
    QTest::mouseRelease(available, Qt::LeftButton, {}, start + QPoint(3, 2));
    EXPECT_EQ(f.filter().values(FilterList::Available).size(), 3);

    QTest::mouseClick(f.showOthersBox(), Qt::LeftButton);
    EXPECT_TRUE(f.showOthersBox()->isChecked());
    QTest::mouseClick(f.okButton(), Qt::LeftButton);
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(f.ChangePrompt());
    EXPECT_EQ(combo("MEDIA").items, QStringList({"Filtered Media", all[3], all[1]}));
    EXPECT_TRUE(session->aDims(fieldIndex("MEDIA")).ShowOthers);
}

TEST_F(FilterWindow, TheDesignersPopupOpensTheFilterAndClosingAsksWhetherToIgnoreIt) {
    const QStringList before = combo("BRAND").items;
    frmDesign designer(*session, [] { return true; });
    designer.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&designer));
    grid::ui::GridView* rows = designer.view(DesignGrid::Rows);
    const int brand = 2;  // Media, Brand
    ASSERT_EQ(RowCaption(designer.designer().grids().rows, DesignGrid::Rows, brand), "Brand");
    const QPoint cell = rows->visualRect(rows->model()->index(brand - 1, 1)).center();
    QTest::mouseClick(rows->viewport(), Qt::RightButton, {}, cell);
    QMenu* menu = designer.popupMenu();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions()[0]->text(), "Filter");

    QString caption;
    QTimer::singleShot(0, [&] {
        auto* f = qobject_cast<frmFilter*>(QApplication::activeModalWidget());
        ASSERT_NE(f, nullptr);
        caption = f->windowTitle();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(f));
        drag(*f, FilterList::Available, 1, FilterList::Selected, belowRows(*f, FilterList::Selected));
        QTest::mouseClick(f->okButton(), Qt::LeftButton);
    });
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(menu->actions()[0]).center());
    EXPECT_EQ(caption, "Filter for Brand");
    EXPECT_TRUE(combo("BRAND").filtered());
    EXPECT_EQ(combo("BRAND").items.size(), 2);
    EXPECT_EQ(designer.designer().grids().rows.textMatrix(brand, 1), "Filtered Brand");
    EXPECT_TRUE(designer.applyButton()->isEnabled());

    ui.answers = {session::MessageAnswer::No};
    QTest::mouseClick(designer.cancelButton(), Qt::LeftButton);
    EXPECT_TRUE(designer.isVisible());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Ignore filters applied ?");
    ui.answers = {session::MessageAnswer::Yes};
    QTest::mouseClick(designer.cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(designer.isVisible());
    EXPECT_EQ(combo("BRAND").items, before);
}

}  // namespace
}  // namespace vantrep::design::ui
