// The main window's toolbar and commands: the buttons, criteria, open, the
// clip click, the page-field layout, the About box and the busy signs.
#include <QDesktopServices>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QTest>
#include <QToolBar>
#include <QUrl>

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
    // Each button as "key=tool tip" ("!" after it: no icon), a separator as its key alone.
    QStringList buttons;
    for (QAction* a : w.toolbar()->actions()) {
        EXPECT_EQ(w.toolbarButton(a->objectName()), a) << a->objectName().toStdString();
        buttons << a->objectName() + (a->isSeparator() ? "" : "=" + a->toolTip() + (a->icon().isNull() ? "!" : ""));
    }
    EXPECT_EQ(buttons,
              (QStringList{"save=Save Report", "open=Open Report", "saveas=Save Report Layout",
                           "changeLayout=Change Report Layout", "sep10", "preview=Preview", "sep20",
                           "criteria=Report Criteria", "export=Export to Excel", "layout=Define Report Layout",
                           "fmt=Fixed Format Reports", "sep30", "report=Grid", "graph2D=2D Graph", "graph3D=3D Graph",
                           "sep40", "help=Help"}));
    QMenu* fmt = w.toolbarButton("fmt")->menu();
    ASSERT_NE(fmt, nullptr);
    QStringList formats;
    for (QAction* a : fmt->actions()) formats << a->objectName() + "=" + a->text();
    EXPECT_EQ(formats, (QStringList{"fmt1=Format1", "fmt2=Format2"}));
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

TEST(PageFieldLayout, PlacesCombosLeftToRightWrapsAndSizesTheirText) {
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
    // A combo's text is sized by its characters.
    EXPECT_EQ(pageFieldTextTwips({"Channel", "TV"}, " Channel ", 1800), 560);
    EXPECT_EQ(pageFieldTextTwips({"Channel"}, "Channel", 1800), 1800);
}

TEST_F(MainWindowFixture, AboutBoxShowsTheProgramAndItsMaker) {
    design::ui::frmAbout about(ui);
    EXPECT_EQ(about.windowTitle(), "About VantRep");
    auto label = [&](const char* name) { return about.findChild<QLabel*>(name); };
    EXPECT_EQ(label("lblTitle")->text(), "VantRep");
    EXPECT_EQ(label("lblVersion")->text(), "Version 0.1.0");
    EXPECT_TRUE(label("lblDesc")->text().startsWith("Report and graph generation utility\nDeveloped by Quorvel\n"));
    EXPECT_TRUE(label("lblUrl")->text().contains("href="));
    EXPECT_EQ(label("lblUrl")->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(label("lblDisclaimer")->text().startsWith("Warning: "));

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
    for (int percent : {40, 0}) {
        boxes.flood(percent);
        EXPECT_EQ(bar.value(), percent);
    }
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
