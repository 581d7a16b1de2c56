// The main window's toolbar and commands: the buttons, criteria, grid, open,
// the clip click, the page-field panel, the About box and the busy signs.
#include <QDesktopServices>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <QUrl>

#include "analysis/ui/MainToolbar.h"
#include "analysis/ui/MainWindowFixture.h"
#include "analysis/ui/MessageBoxUi.h"
#include "analysis/ui/PageFieldPanel.h"
#include "design/ui/frmAbout.h"
#include "grid/ui/GridView.h"

namespace vantrep::analysis::ui {

// Receives the addresses the program asks the desktop to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

namespace {

TEST_F(MainWindowFixture, HasEveryToolbarButtonInOrderWithItsToolTip) {
    frmMain& w = start(QString());
    const QStringList keys = {"save",   "open",   "saveas",   "changeLayout", "sep10",   "preview",
                              "sep20",  "criteria", "export", "layout",       "fmt",     "sep30",
                              "report", "graph2D", "graph3D", "sep40",        "help"};
    const QStringList tips = {"Save Report", "Open Report", "Save Report Layout", "Change Report Layout", "",
                              "Preview", "", "Report Criteria", "Export to Excel", "Define Report Layout",
                              "Fixed Format Reports", "", "Grid", "2D Graph", "3D Graph", "", "Help"};
    QStringList actual;
    for (QAction* a : w.toolbar()->actions()) actual << a->objectName();
    EXPECT_EQ(actual, keys);
    for (int i = 0; i < keys.size(); ++i) {
        QAction* a = w.toolbarButton(keys[i]);
        ASSERT_NE(a, nullptr) << keys[i].toStdString();
        EXPECT_EQ(a->isSeparator(), tips[i].isEmpty()) << keys[i].toStdString();
        if (tips[i].isEmpty()) continue;
        EXPECT_EQ(a->toolTip(), tips[i]);
        EXPECT_FALSE(a->icon().isNull()) << keys[i].toStdString();
    }
    QMenu* fmt = w.toolbarButton("fmt")->menu();
    ASSERT_NE(fmt, nullptr);
    ASSERT_EQ(fmt->actions().size(), 2);
    EXPECT_EQ(fmt->actions()[0]->objectName(), "fmt1");
    EXPECT_EQ(fmt->actions()[0]->text(), "Format1");
    EXPECT_EQ(fmt->actions()[1]->objectName(), "fmt2");
    EXPECT_EQ(fmt->actions()[1]->text(), "Format2");
}

TEST_F(MainWindowFixture, ShowsTheCriteriaOfAnOpenReport) {
    frmMain& w = start(copySample("summary") + "DATA.DBF");
    w.toolbarButton("criteria")->trigger();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Report Criteria");
    EXPECT_EQ(ui.messages[0].text, "Brand spends by month and weekday");
    EXPECT_EQ(ui.messages[0].buttons, session::MessageButtons::Ok);
    w.buttonClick("Criteria");  // keys compare exactly
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(MainWindowFixture, GridClosesEveryOtherWindow) {
    frmMain& w = start(QString());
    QWidget preview, chart;
    preview.show();
    chart.show();
    w.buttonClick("report");
    EXPECT_FALSE(preview.isVisible());
    EXPECT_FALSE(chart.isVisible());
    EXPECT_TRUE(w.isVisible());
}

TEST_F(MainWindowFixture, OpensAChosenReportAndReplacesTheShownOne) {
    const QString listing = copySample("detailed") + "Spot_Listing.dtr";
    frmMain& w = start(copySample("summary") + "DATA.DBF");
    ASSERT_EQ(w.windowTitle(), "Brand Spends");
    w.setReportFileChooser([] { return QString(); });
    w.buttonClick("open");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Cancel was selected.");
    EXPECT_EQ(w.windowTitle(), "Brand Spends");

    w.setReportFileChooser([&] { return listing; });
    w.buttonClick("open");
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(w.windowTitle(), "Spot Listing");
    EXPECT_EQ(session->sReportPath, listing);
    EXPECT_TRUE(session->bDetailed);
    EXPECT_EQ(w.grid().textMatrix(0, 2), "Channel");
    EXPECT_EQ(w.gridView()->explorerBar(), 7);
    EXPECT_FALSE(w.toolbarButton("graph2D")->isVisible());
    EXPECT_EQ(w.gridView()->model()->rowCount(), w.grid().rows() - 1);
}

TEST_F(MainWindowFixture, OpensTheClipOfAClickedClipButton) {
    frmMain& w = start(copySample("detailed") + "Spot_Listing.dtr");
    grid::GridModel& g = w.grid();
    int adType = -1;
    for (int c = 0; c < g.cols(); ++c)
        if (g.textMatrix(0, c) == "Ad type") adType = c;
    ASSERT_GT(adType, 0);
    int row = -1;
    for (int r = 1; r < g.rows() && row < 0; ++r)
        if (!g.cellPicture(r, adType).isNull()) row = r;
    ASSERT_GT(row, 0);
    const QString clip = g.cellData(row, adType).toString();
    ASSERT_FALSE(clip.isEmpty());

    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "open");
    grid::ui::GridView* view = w.gridView();
    const QModelIndex index = view->model()->index(row - 1, adType);
    view->scrollTo(index);
    QApplication::processEvents();
    const QRect cell = view->visualRect(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(cell.right() - 4, cell.center().y()));
    QDesktopServices::unsetUrlHandler("file");
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls[0].toLocalFile(), QDir(session->sReportFolder).absoluteFilePath(clip));
    EXPECT_TRUE(QFile::exists(catcher.urls[0].toLocalFile()));
}

TEST(PageFieldLayout, PlacesCombosLeftToRightAndWraps) {
    PageFieldPlacement p = placePageFields({100, 120, 90}, 260, 24, 6, 6);
    ASSERT_EQ(p.places.size(), 3u);
    EXPECT_EQ(p.places[0], QRect(6, 6, 100, 24));
    EXPECT_EQ(p.places[1], QRect(112, 6, 120, 24));
    EXPECT_EQ(p.places[2], QRect(6, 36, 90, 24));  // 238 + 90 passes 260 - 6
    EXPECT_EQ(p.height, 66);
    EXPECT_EQ(placePageFields({100, 120, 90}, 400, 24, 6, 6).height, 36);
    EXPECT_EQ(placePageFields({}, 400, 24, 6, 6).height, 0);
    // A combo wider than the panel still gets a line of its own.
    EXPECT_EQ(placePageFields({500}, 300, 24, 6, 6).places[0], QRect(6, 6, 500, 24));
}

TEST(PageFieldLayout, SizesACombosTextByItsCharacters) {
    EXPECT_EQ(pageFieldTextTwips({"Channel", "TV"}, " Channel ", 1800), 560);
    EXPECT_EQ(pageFieldTextTwips({"Channel"}, "Channel", 1800), 1800);
}

TEST_F(MainWindowFixture, ShowsOneComboPerPageFieldAboveTheSummary) {
    frmMain& w = start(copySample("summary") + "DATA.DBF");
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
}

TEST_F(MainWindowFixture, AboutBoxShowsTheProgramAndItsMaker) {
    design::ui::frmAbout about(ui);
    EXPECT_EQ(about.windowTitle(), "About VantRep");
    EXPECT_EQ(about.findChild<QLabel*>("lblTitle")->text(), "VantRep");
    EXPECT_EQ(about.findChild<QLabel*>("lblVersion")->text(), "Version 0.1.0");
    EXPECT_TRUE(about.findChild<QLabel*>("lblDesc")->text().startsWith(
        "Report and graph generation utility\nDeveloped by Quorvel\n"));
    EXPECT_TRUE(about.findChild<QLabel*>("lblUrl")->text().contains("href="));
    EXPECT_EQ(about.findChild<QLabel*>("lblUrl")->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(about.findChild<QLabel*>("lblDisclaimer")->text().startsWith("Warning: "));

    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", temp.path().toUtf8());  // no system-information program here
    EXPECT_TRUE(design::ui::frmAbout::systemInfoProgram().isEmpty());
    about.StartSysInfo();
    qputenv("PATH", path);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "System Information Is Unavailable At This Time");
    EXPECT_EQ(ui.messages[0].buttons, session::MessageButtons::Ok);
}

TEST(MessageBoxUi, ShowsProgressAndTheHourglass) {
    QProgressBar bar;
    MessageBoxUi boxes;
    boxes.attach(nullptr, &bar);
    boxes.flood(40);
    EXPECT_EQ(bar.value(), 40);
    boxes.flood(0);
    EXPECT_EQ(bar.value(), 0);
    {
        session::BusyPointer busy(boxes);
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace vantrep::analysis::ui

#include "MainWindowCommandsTest.moc"
