// The main window: the toolbar and its commands, the page-field panel, the
// grid of the open report, the picture shown while none is open, and the
// progress bar. It opens the command line's report on its first activation
// and runs the close steps when it closes.
#pragma once

#include <QImage>
#include <QPointer>
#include <QMainWindow>
#include <functional>

#include "analysis/ReportRun.h"
#include "grid/FontMeasure.h"
#include "grid/GridModel.h"
#include "print/PrintFont.h"
#include "session/Session.h"

class QProgressBar;
class QToolBar;

namespace vantrep::grid::ui {
class GridView;
}
namespace vantrep::graph::ui {
class frmGraph;
}
namespace vantrep::report::ui {
class frmPrint;
}

namespace vantrep::analysis::ui {

class PageFieldPanel;
class ReportArtwork;

class frmMain : public QMainWindow, private FixedReportPrinter {
    Q_OBJECT
public:
    // The caption while no report is open.
    static constexpr const char* designCaption = "Vant Report Dev. by : Quorvel";

    explicit frmMain(session::Session& session, QWidget* parent = nullptr);
    ~frmMain() override;

    // Toolbar button and drop-down menu clicks, by key (compared exactly).
    void buttonClick(const QString& key);
    void menuClick(const QString& key);

    // Opens `cmdPath` as the report and shows its first query; "" changes
    // nothing. After a refused open the window shows no report; after a
    // fatal message it closes.
    RunResult OpenReport2(const QString& cmdPath);

    // Fills the grid again from the open report's layout and filters (after
    // the designer's Apply, a filter change or an automation call), and the
    // chart when one is open.
    bool RefillReport();

    // Shows the chart of the grid ("2D"): sized to this window and modal,
    // closed and gone afterwards. Started for automation, the chart is made
    // but neither shown nor closed.
    void ShowGraph(const QString& type);
    // The chart window while one exists; none otherwise.
    graph::ui::frmGraph* graphForm() const;
    // The chart window, created (not shown) when there is none.
    graph::ui::frmGraph* createGraphForm();
    // The preview window kept for an automation client, created (empty, not
    // shown) when there is none; "preview" lays the grid report out in it.
    report::ui::frmPrint* previewForm();

    // The file the "open" command opens; "" when the user cancelled. The
    // default asks with a file dialog.
    void setReportFileChooser(std::function<QString()> chooser) { chooseReportFile_ = std::move(chooser); }

    // The program's exit status once the window has closed.
    int exitStatus() const { return exitStatus_; }

    QToolBar* toolbar() const { return toolbar_; }
    QAction* toolbarButton(const QString& key) const;
    grid::GridModel& grid() { return grid_; }
    grid::ui::GridView* gridView() const { return view_; }
    PageFieldPanel* pageFieldPanel() const { return pagePanel_; }
    QProgressBar* progressBar() const { return progress_; }
    const QImage& clipButton() const { return clipButton_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void firstActivation();
    RunResult runReport(const QString& reportArgument);
    bool printFixedReport(session::Session& session, int number) override;
    grid::FontMeasure gridMeasure() const;
    print::PrintFont gridFont() const;
    void showReport();
    void showNoReport();
    void openReport();
    void showCriteria();
    void exportToExcel();
    void previewReport();
    void showDesigner();
    // Switches the open report to the saved layout at `path` and fills the grid again.
    void applyLayout(const QString& path);
    // The filter dialog for page field `field`; a changed filter runs the report again.
    void filterPageField(int field);
    void closeOtherWindows();
    void showAbout();
    void openClip(int row, int col);
    QString askForReportFile();
    bool reportOpen() const;

    session::Session& session_;
    grid::GridModel grid_;
    QToolBar* toolbar_;
    PageFieldPanel* pagePanel_;
    ReportArtwork* artwork_;
    grid::ui::GridView* view_;
    QProgressBar* progress_;
    QImage clipButton_;
    std::function<QString()> chooseReportFile_;
    QPointer<graph::ui::frmGraph> graphForm_;
    QPointer<report::ui::frmPrint> previewForm_;
    int activationFlag_ = -1;  // -1 until the first activation
    bool closed_ = false;
    int exitStatus_ = 0;
};

}  // namespace vantrep::analysis::ui
