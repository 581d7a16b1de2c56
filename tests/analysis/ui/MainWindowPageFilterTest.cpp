// A page field filtered from the main window as a user does it: a right click
// on its combo above the grid, "Filter", a value dragged into "Selected",
// OK; the report runs again with the filter, the combo shows the kept value
// and the criteria name it. Cancel changes nothing.
#include <QCheckBox>
#include <QAbstractItemView>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <functional>

#include "analysis/ui/MainWindowFixture.h"
#include "analysis/ui/PageFieldFilter.h"
#include "analysis/ui/PageFieldPanel.h"
#include "design/ui/FilterDrag.h"

namespace vantrep::analysis::ui {
namespace {

using design::FilterList;
using design::ui::frmFilter;

using MainWindowPageFilter = MainWindowFixture;

TEST_F(MainWindowPageFilter, AValueKeptFromThePanelRunsTheReportAgainWithThePageFilter) {
    frmMain& w = start(copySample("summary") + "DATA.DBF");
    ASSERT_TRUE(ui.messages.empty());
    const int allRows = w.grid().rows();
    QString caption, kept;
    filterFromCombo(w, 0, [&](frmFilter& f) {
        caption = f.windowTitle();
        EXPECT_FALSE(f.showOthersBox()->isEnabled());  // page fields have no "Others" bucket
        design::testing::drag(f, FilterList::Available, 1, FilterList::Selected,
                              design::testing::belowRows(f, FilterList::Selected));
        kept = f.filter().values(FilterList::Selected).value(0);
        QTest::mouseClick(f.okButton(), Qt::LeftButton);
    });
    EXPECT_EQ(caption, "Filter for Channel");
    ASSERT_FALSE(kept.isEmpty());
    EXPECT_EQ(session->sPageFilter, " CHANNEL in('" + kept.trimmed() + "')");
    EXPECT_TRUE(session->crossTab.aQuerySql[1].contains(session->sPageFilter));
    EXPECT_LT(w.grid().rows(), allRows);  // one channel's brands only

    // The panel was laid out again with the filtered list.
    QComboBox* combo = w.pageFieldPanel()->combos().at(0);
    EXPECT_EQ(combo->currentText(), "Filtered Channel");
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(1), kept);

    w.buttonClick("criteria");
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_TRUE(ui.messages.back().text.startsWith("Channel in('" + kept.trimmed() + "')"))
        << ui.messages.back().text.toStdString();
}

TEST_F(MainWindowPageFilter, TheMenuKeyOnAComboOffersTheFilterToo) {
    frmMain& w = start(copySample("summary") + "DATA.DBF");
    QComboBox* combo = w.pageFieldPanel()->combos().at(1);
    combo->setFocus();
    const QPoint centre = combo->rect().center();
    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, centre, combo->mapToGlobal(centre));
    QApplication::sendEvent(combo, &menuKey);
    QMenu* menu = w.pageFieldPanel()->popupMenu();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    QString caption;
    QTimer::singleShot(0, [&] {
        auto* f = qobject_cast<frmFilter*>(QApplication::activeModalWidget());
        ASSERT_NE(f, nullptr);
        caption = f->windowTitle();
        QTest::keyClick(f, Qt::Key_Escape);
    });
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Return);
    EXPECT_EQ(caption, "Filter for Language");
    EXPECT_FALSE(combo->view()->isVisible());  // the value list stayed closed
}

TEST_F(MainWindowPageFilter, CancelLeavesTheReportAsItWas) {
    frmMain& w = start(copySample("summary") + "DATA.DBF");
    const QString sql = session->crossTab.aQuerySql[1];
    const int rows = w.grid().rows();
    filterFromCombo(w, 0, [&](frmFilter& f) { QTest::mouseClick(f.cancelButton(), Qt::LeftButton); });
    EXPECT_TRUE(session->sPageFilter.isEmpty());
    EXPECT_EQ(session->crossTab.aQuerySql[1], sql);
    EXPECT_EQ(w.grid().rows(), rows);
    EXPECT_EQ(w.pageFieldPanel()->combos().at(0)->currentText(), "Channel");
}

}  // namespace
}  // namespace vantrep::analysis::ui
