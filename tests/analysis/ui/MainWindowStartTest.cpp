// Starting the program's window: with each sample (the grid, the toolbar and
// the page-field panel), with no report, and with a report that cannot be
// opened; closing it.
#include <QToolBar>

#include "analysis/ui/MainWindowFixture.h"
#include "analysis/ui/PageFieldPanel.h"
#include "grid/ui/GridView.h"

namespace vantrep::analysis::ui {
namespace {

bool shown(frmMain& w, const char* key) { return w.toolbarButton(key)->isVisible(); }

TEST_F(MainWindowFixture, OpensTheSummarySampleIntoTheViewAndClosesItWithTheWindow) {
    frmMain& w = start(copySample("summary") + "DATA.DBF");
    ASSERT_TRUE(w.isVisible());
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().text.toStdString();
    EXPECT_EQ(w.windowTitle(), "Brand Spends");
    grid::GridModel& g = w.grid();
    ASSERT_GT(g.rows(), g.fixedRows());
    grid::ui::GridView* view = w.gridView();
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(view->model()->rowCount(), g.rows() - g.fixedRows());
    EXPECT_EQ(view->model()->columnCount(), g.cols());
    EXPECT_EQ(g.textMatrix(0, 1), "Media");
    EXPECT_EQ(view->model()->index(0, 1).data().toString(), g.textMatrix(g.fixedRows(), 1));
    // The row dimensions stay at the left while the values scroll.
    EXPECT_EQ(g.frozenCols(), 2);
    EXPECT_FALSE(view->frozenView()->isColumnHidden(2));
    EXPECT_TRUE(view->frozenView()->isColumnHidden(3));
    EXPECT_EQ(view->explorerBar(), 5);
    for (const char* key : {"graph2D", "sep30", "changeLayout", "saveas", "save", "open", "help"})
        EXPECT_TRUE(shown(w, key)) << key;
    // One combo per page field above the grid, wrapping when the panel narrows.
    PageFieldPanel* panel = w.pageFieldPanel();
    ASSERT_TRUE(panel->isVisible());
    ASSERT_EQ(panel->combos().size(), 2u);
    EXPECT_EQ(panel->combos()[0]->currentText(), "Channel");
    EXPECT_EQ(panel->combos()[1]->currentText(), "Language");
    const QRect first = panel->combos()[0]->geometry(), second = panel->combos()[1]->geometry();
    EXPECT_EQ(second.top(), first.top());
    EXPECT_GT(second.left(), first.right());
    EXPECT_LT(panel->geometry().bottom(), w.gridView()->geometry().top());
    const int oneLine = panel->height();
    panel->resize(first.width() + 20, panel->height());  // too narrow for two
    EXPECT_EQ(panel->combos()[1]->geometry().left(), first.left());
    EXPECT_GT(panel->combos()[1]->geometry().top(), first.bottom());
    EXPECT_GT(panel->height(), oneLine + first.height() - 1);
    // Closing the window closes the session.
    ASSERT_EQ(session->rsStruct.State(), engine::adStateOpen);
    w.close();
    EXPECT_NE(session->rsStruct.State(), engine::adStateOpen);
    EXPECT_NE(session->cnData.State(), engine::adStateOpen);
    EXPECT_EQ(session->aDims.upperBound(), 0);
}

TEST_F(MainWindowFixture, OpensTheListingSampleWithItsOwnToolbar) {
    frmMain& w = start(copySample("detailed") + "Spot_Listing.dtr");
    ASSERT_TRUE(w.isVisible());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(w.windowTitle(), "Spot Listing");
    EXPECT_EQ(w.grid().textMatrix(0, 1), "Media");
    EXPECT_EQ(w.gridView()->model()->rowCount(), w.grid().rows() - 1);
    EXPECT_EQ(w.gridView()->explorerBar(), 7);
    for (const char* key : {"graph2D", "sep30", "changeLayout", "saveas"}) EXPECT_FALSE(shown(w, key)) << key;
    for (const char* key : {"save", "open", "report", "graph3D", "help"}) EXPECT_TRUE(shown(w, key)) << key;
    EXPECT_FALSE(w.pageFieldPanel()->isVisible());
    EXPECT_TRUE(w.gridView()->isColumnHidden(w.grid().cols() - 1));  // CLIPDET
}

TEST_F(MainWindowFixture, StartsWithoutAReportShowingThePictureAndItsCommands) {
    frmMain& w = start(QString());
    EXPECT_EQ(w.windowTitle(), "Vant Report Dev. by : Quorvel");
    EXPECT_FALSE(w.gridView()->isVisible());
    EXPECT_TRUE(w.findChild<QWidget*>("picArtwork")->isVisible());
    // Commands that need a report do nothing.
    w.buttonClick("criteria");
    w.buttonClick("graph3D");
    EXPECT_TRUE(ui.messages.empty());
    // The grid command closes every other window.
    QWidget preview, chart;
    preview.show();
    chart.show();
    w.buttonClick("report");
    EXPECT_FALSE(preview.isVisible());
    EXPECT_FALSE(chart.isVisible());
    EXPECT_TRUE(w.isVisible());
    w.close();
    EXPECT_EQ(w.exitStatus(), 0);
}

TEST_F(MainWindowFixture, EndsWithAFailureStatusAfterAFatalMessage) {
    frmMain& w = start(temp.path() + "/nothing/DATA.DBF");
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.exitStatus(), 1);
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().icon, session::MessageIcon::Critical);
}

}  // namespace
}  // namespace vantrep::analysis::ui
