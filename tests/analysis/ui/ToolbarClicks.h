// Using the main window as a user does: a toolbar button clicked with the
// mouse, and a look at the modal window it opens while that window shows.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <functional>

#include "analysis/ui/frmMain.h"

namespace vantrep::analysis::ui {

// Clicks the toolbar button of `key` with the mouse.
inline void clickButton(frmMain& w, const QString& key) {
    QWidget* button = w.toolbar()->widgetForAction(w.toolbarButton(key));
    ASSERT_NE(button, nullptr) << key.toStdString();
    QTest::mouseClick(button, Qt::LeftButton);
}

// Runs `look` on the modal window that opens next, then closes it (when
// `look` has not closed it already).
inline void whenModalOpens(const std::function<void(QWidget*)>& look) {
    QTimer::singleShot(50, [look] {
        QWidget* modal = QApplication::activeModalWidget();
        look(modal);
        if (modal && modal->isVisible()) modal->close();
    });
}

}  // namespace vantrep::analysis::ui
