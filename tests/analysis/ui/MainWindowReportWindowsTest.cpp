// The main window's commands that open other windows or write files, used as
// a user uses them: toolbar buttons clicked with the mouse, the modal windows
// they open inspected and closed while they show, file dialogs answered by
// the scripted Ui.
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <functional>

#include "analysis/ui/MainWindowFixture.h"
#include "analysis/ui/ToolbarClicks.h"
#include "graph/ui/frmGraph.h"

namespace vantrep::analysis::ui {
namespace {

TEST_F(MainWindowFixture, TheChartButtonShowsTheChartModallyAndUnloadsIt) {
    frmMain& w = start(copySample("summary") + "DATA.DBF");
    QString caption;
    QRect shownAt;
    whenModalOpens([&](QWidget* modal) {
        ASSERT_NE(qobject_cast<graph::ui::frmGraph*>(modal), nullptr);
        caption = modal->windowTitle();
        shownAt = modal->geometry();
        EXPECT_EQ(w.graphForm(), modal);
    });
    clickButton(w, "graph2D");
    EXPECT_EQ(caption, "2D Chart of " + w.windowTitle());
    EXPECT_EQ(shownAt.size(), w.geometry().size());
    EXPECT_EQ(w.graphForm(), nullptr);  // unloaded once closed
}

TEST_F(MainWindowFixture, ExportWritesTheWorkbookWhereTheUserSaysAndNothingOnCancel) {
    frmMain& w = start(copySample("summary") + "DATA.DBF");
    clickButton(w, "export");  // cancelled: no answer scripted
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogs[0].title, "Save As");
    EXPECT_EQ(ui.dialogs[0].filter, "Excel Files (*.xlsx)");
    EXPECT_EQ(ui.dialogs[0].proposed, w.windowTitle() + ".xlsx");
    EXPECT_TRUE(QDir(temp.path()).entryList({"*.xlsx"}).isEmpty());

    const QString path = temp.path() + "/spends.xlsx";
    ui.saveNames.push_back(path);
    clickButton(w, "export");
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_TRUE(ui.messages.empty()) << ui.messages[0].text.toStdString();
    // Another program reads the first heading and the first row-dimension value back.
    QProcess python;
    python.start("/usr/bin/python3",
                 {"-c",
                  "import openpyxl,sys\n"
                  "ws=openpyxl.load_workbook(sys.argv[1]).active\n"
                  "rows=[[c for c in r] for r in ws.iter_rows(values_only=True)]\n"
                  "print(sum(1 for r in rows if any(v is not None for v in r)))\n",
                  path});
    ASSERT_TRUE(python.waitForFinished(60000));
    const int sheetRows = QString::fromUtf8(python.readAllStandardOutput()).trimmed().toInt();
    // Criteria line(s) above the grid's rows.
    EXPECT_GE(sheetRows, w.grid().rows());
    EXPECT_LE(sheetRows, w.grid().rows() + 3);
}

TEST_F(MainWindowFixture, TheLayoutButtonOpensADesignerOnlyWhileAReportIsOpen) {
    frmMain& idle = start(QString());
    bool opened = false;
    whenModalOpens([&](QWidget* modal) { opened = modal != nullptr; });
    clickButton(idle, "layout");
    QTest::qWait(100);
    EXPECT_FALSE(opened);

    frmMain& w = start(copySample("summary") + "DATA.DBF");
    const int rows = w.grid().rows();
    QString caption;
    whenModalOpens([&](QWidget* modal) { caption = modal ? modal->windowTitle() : QString(); });
    clickButton(w, "layout");
    EXPECT_EQ(caption, "Report Layout");
    EXPECT_EQ(w.grid().rows(), rows);  // closed without Apply: the grid is as it was
}

TEST_F(MainWindowFixture, TheCriteriaShowThePageFilterKeptInTheSession) {
    frmMain& w = start(copySample("summary") + "DATA.DBF");
    session->sPageFilterText = " Media in('TV')";
    clickButton(w, "criteria");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Media in('TV')\rBrand spends by month and weekday");
}

}  // namespace
}  // namespace vantrep::analysis::ui
