// A page field filtered from the main window as a user does it: a right
// click on its combo above the grid, "Filter" in the menu, then the filter
// dialog worked while it shows.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <functional>

#include "analysis/ui/PageFieldPanel.h"
#include "analysis/ui/frmMain.h"
#include "design/ui/frmFilter.h"

namespace vantrep::analysis::ui {

// Right-clicks the combo of page field `n` (0 the first) and chooses
// "Filter"; `inDialog` then works the filter dialog while it shows.
inline void filterFromCombo(frmMain& w, int n, const std::function<void(design::ui::frmFilter&)>& inDialog) {
    QComboBox* combo = w.pageFieldPanel()->combos().at(static_cast<size_t>(n));
    QTest::mouseClick(combo, Qt::RightButton, {}, combo->rect().center());
    QMenu* menu = w.pageFieldPanel()->popupMenu();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    EXPECT_FALSE(combo->view()->isVisible());  // the menu, not the value list
    ASSERT_EQ(menu->actions().size(), 1);
    ASSERT_EQ(menu->actions()[0]->text(), "Filter");
    bool opened = false;
    QTimer::singleShot(0, [&] {
        auto* f = qobject_cast<design::ui::frmFilter*>(QApplication::activeModalWidget());
        ASSERT_NE(f, nullptr);
        opened = true;
        ASSERT_TRUE(QTest::qWaitForWindowExposed(f));
        inDialog(*f);
    });
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(menu->actions()[0]).center());
    EXPECT_TRUE(opened);
}

}  // namespace vantrep::analysis::ui
