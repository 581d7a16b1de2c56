#include "analysis/ui/frmMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QIcon>
#include <QPainter>
#include <QProgressBar>
#include <QStandardPaths>
#include <QStatusBar>
#include <QSvgRenderer>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "session/Criteria.h"
#include "analysis/PageFilter.h"
#include "analysis/SavedFilters.h"
#include "analysis/SpreadsheetContent.h"
#include "analysis/SpreadsheetExport.h"
#include "analysis/ui/LayoutCommands.h"
#include "analysis/ui/MainToolbar.h"
#include "engine/EngineError.h"
#include "graph/ui/frmGraph.h"
#include "analysis/ui/PageFieldPanel.h"
#include "analysis/ui/ReportArtwork.h"
#include "design/ui/frmAbout.h"
#include "design/ui/frmDesign.h"
#include "design/ui/frmFilter.h"
#include "grid/FontMeasure.h"
#include "grid/ui/GridView.h"
#include "report/ui/ChartCommands.h"
#include "report/PreviewReport.h"
#include "report/ui/ReportCommands.h"
#include "report/ui/frmPrint.h"
#include "session/ReportSaving.h"
#include "session/Shell.h"
#include "session/StartUp.h"

// The window's pictures live in a resource file of this static library.
static void loadMainWindowResources() { Q_INIT_RESOURCE(MainWindow); }

namespace vantrep::analysis::ui {

namespace {

QImage renderClipButton() {
    QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer svg(QStringLiteral(":/icons/clip.svg"));
    QPainter painter(&image);
    svg.render(&painter);
    return image;
}

}  // namespace

frmMain::frmMain(session::Session& session, QWidget* parent) : QMainWindow(parent), session_(session) {
    loadMainWindowResources();
    setObjectName("frmMain");
    setWindowTitle(designCaption);
    setWindowIcon(QIcon(":/icons/vantrep.svg"));
    clipButton_ = renderClipButton();

    toolbar_ = buildMainToolbar(
        this, [this](const QString& key) { buttonClick(key); }, [this](const QString& key) { menuClick(key); });
    addToolBar(Qt::TopToolBarArea, toolbar_);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    artwork_ = new ReportArtwork(central);
    pagePanel_ = new PageFieldPanel(central);
    view_ = new grid::ui::GridView(grid_, central);
    view_->setObjectName("VSFlexGrid1");
    view_->setClipButton(clipButton_);
    connect(view_, &grid::ui::GridView::clipClicked, this, &frmMain::openClip);
    connect(pagePanel_, &PageFieldPanel::filterRequested, this, &frmMain::filterPageField);
    layout->addWidget(artwork_, 1);
    layout->addWidget(pagePanel_);
    layout->addWidget(view_, 1);
    setCentralWidget(central);

    progress_ = new QProgressBar(this);
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    progress_->setFixedWidth(220);
    progress_->setMaximumHeight(14);
    statusBar()->addPermanentWidget(progress_);
    statusBar()->setSizeGripEnabled(true);

    resize(1100, 720);
    showNoReport();
}

frmMain::~frmMain() {
    // The grid view reads the grid model until it is gone: it goes first.
    delete takeCentralWidget();
}

QAction* frmMain::toolbarButton(const QString& key) const { return toolbarAction(toolbar_, key); }

bool frmMain::reportOpen() const { return session_.rsStruct.State() == engine::adStateOpen; }

void frmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (activationFlag_ == -1) QTimer::singleShot(0, this, &frmMain::firstActivation);
}

void frmMain::firstActivation() {
    if (activationFlag_ != -1) return;
    activationFlag_ = 0;
    const RunResult result = runReport(session_.commandLine);
    if (result.outcome == RunOutcome::Idle) return;
    if (!result.reportShown()) {
        exitStatus_ = ExitStatusFor(result);
        close();
        return;
    }
    showReport();
}

RunResult frmMain::OpenReport2(const QString& cmdPath) {
    if (cmdPath.isEmpty()) return {};
    activationFlag_ = 0;
    const RunResult result = runReport(cmdPath);
    if (result.outcome == RunOutcome::Fatal) {
        // A fatal message ends the program.
        exitStatus_ = ExitStatusFor(result);
        close();
        return result;
    }
    if (!result.reportShown()) {
        // The earlier report's session is gone: its grid must not stay on show.
        grid_.setRedraw(false);
        grid_.clear();
        grid_.setRows(0);
        grid_.setRedraw(true);
        showNoReport();
        return result;
    }
    showReport();
    session_.sReportPath = cmdPath;
    return result;
}

print::PrintFont frmMain::gridFont() const { return {view_->font().family(), view_->font().pointSizeF()}; }

grid::FontMeasure frmMain::gridMeasure() const {
    return grid::FontMeasure(view_->font(), 1440.0 / view_->logicalDpiX());
}

RunResult frmMain::runReport(const QString& reportArgument) {
    grid::FontMeasure measure = gridMeasure();
    return RunReport(session_, reportArgument, GridTarget{grid_, measure, clipButton_}, *this);
}

bool frmMain::RefillReport() {
    if (!reportOpen()) return false;
    session::BusyPointer busy(session_.ui);
    grid::FontMeasure measure = gridMeasure();
    const bool filled = analysis::RefillReport(session_, GridTarget{grid_, measure, clipButton_});
    showReport();
    if (graphForm_) graphForm_->RefreshGraph();
    return filled;
}

bool frmMain::printFixedReport(session::Session& session, int number) {
    return report::ui::showFixedFormatReport(session, grid_, number, gridFont(), this);
}

void frmMain::showReport() {
    setWindowTitle(session_.sReportName);
    artwork_->hide();
    for (const char* key : {"graph2D", "sep30", "changeLayout", "saveas"})
        toolbarButton(key)->setVisible(session_.summaryCommandsVisible);
    view_->setExplorerBar(session_.explorerBar);
    if (session_.bDetailed)
        pagePanel_->clearFields();
    else
        pagePanel_->setFields(session_);
    view_->show();
    view_->setFocus();
}

void frmMain::showNoReport() {
    setWindowTitle(designCaption);
    pagePanel_->clearFields();
    view_->hide();
    artwork_->show();
}

void frmMain::buttonClick(const QString& key) {
    if (key == "save")
        session::SaveReport(session_);
    else if (key == "open")
        openReport();
    else if (key == "saveas" && reportOpen())
        SaveLayoutAs(session_, windowTitle(), this);
    else if (key == "changeLayout" && reportOpen())
        ChooseLayout(session_, [this](const QString& path) { applyLayout(path); }, this);
    else if (key == "criteria")
        showCriteria();
    else if (key == "report")
        closeOtherWindows();
    else if (key == "help")
        showAbout();
    else if (key == "layout")
        showDesigner();
    else if (key == "graph2D")
        ShowGraph("2D");
    else if (key == "export")
        exportToExcel();
    else if (key == "preview")
        previewReport();
    // The other buttons have no action in this window.
}

void frmMain::menuClick(const QString& key) {
    if (key == "fmt1" || key == "fmt2") {
        if (!session_.sDataFile.isEmpty() && session_.cnData.State() == engine::adStateOpen)
            printFixedReport(session_, key == "fmt1" ? 1 : 2);
        return;
    }
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->windowTitle() == key) {
            window->raise();
            window->activateWindow();
            window->setFocus();
            return;
        }
    }
}

void frmMain::showCriteria() {
    if (!reportOpen()) return;
    session_.ui.message(session::getCriteria(session_.sPageFilterText, session_.sReportTitle), "Report Criteria", session::MessageIcon::None,
                        session::MessageButtons::Ok);
}

graph::ui::frmGraph* frmMain::graphForm() const { return graphForm_; }

graph::ui::frmGraph* frmMain::createGraphForm() {
    if (graphForm_) return graphForm_;
    graphForm_ = new graph::ui::frmGraph(session_, grid_, this);
    graph::ui::frmGraph* graph = graphForm_;
    graph->previewChart = [this](const QImage& chart, const QString& criteria) {
        report::ui::PreviewChart(chart, criteria, this);
    };
    graph->editHeaderFooter = [graph](report::TitleHolder& header, report::TitleHolder& footer) {
        return report::ui::editChartHeaderFooter(header, footer, graph);
    };
    return graph;
}

report::ui::frmPrint* frmMain::previewForm() {
    if (!previewForm_) previewForm_ = new report::ui::frmPrint(this);
    return previewForm_;
}

void frmMain::previewReport() {
    // Started for automation, the client shows the preview it is handed.
    if (!session_.embedded())
        report::ui::PreviewReport(session_, grid_, gridFont(), this);
    else if (report::canPreviewGrid(grid_, session_.sDataFile))
        report::ui::loadGridPreview(*previewForm(), session_, grid_, gridFont());
}

void frmMain::ShowGraph(const QString& type) {
    if (!reportOpen() || session_.bDetailed) return;
    createGraphForm()->setGraphType(type);
    if (session_.embedded()) return;
    graphForm_->setGeometry(geometry());
    graphForm_->exec();
    delete graphForm_;
}

void frmMain::showDesigner() {
    if (!reportOpen()) return;
    // A new designer every time, so it starts from the current dictionary.
    design::ui::frmDesign designer(session_, [this] { return RefillReport(); }, this);
    designer.exec();
}

void frmMain::filterPageField(int field) {
    if (!reportOpen() || session_.bDetailed) return;
    design::ui::frmFilter filter(session_, session_.aDims(field).FDesc.trimmed(), 0, this);
    filter.exec();
    if (!filter.ChangeFilter()) return;
    analysis::UpdatePageFilter(session_);
    RefillReport();
}

void frmMain::exportToExcel() {
    if (!reportOpen()) return;
    const QString path = session_.ui.saveFileName("Save As", "Excel Files (*.xlsx)", windowTitle() + ".xlsx");
    if (path.isEmpty()) return;
    session::BusyPointer busy(session_.ui);
    try {
        ExportGrid(grid_,
                   SpreadsheetContentFor(session_, grid_,
                                         session::getCriteria(session_.sPageFilterText, session_.sReportTitle),
                                         session_.sOpenedFolder),
                   path);
    } catch (const engine::EngineError& e) {
        session_.ui.critical(QString::fromStdString(e.description()));
    }
}

void frmMain::applyLayout(const QString& path) {
    // A layout that cannot be applied leaves the report on show as it was.
    if (ApplyLayoutWithFilters(session_, path) == session::OpenOutcome::Opened) RefillReport();
}

void frmMain::closeOtherWindows() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window != this && window->isVisible()) window->close();
}

void frmMain::showAbout() {
    design::ui::frmAbout about(session_.ui, this);
    about.exec();
}

QString frmMain::askForReportFile() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!QDir(folder).exists()) folder = QDir::homePath();
    QFileDialog dialog(this, QString(), folder);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The name shows the filter as the user knows it; the patterns after it do the matching.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter("Layout Files (*.dtr;*.str) (*.dtr *.str *.DTR *.STR *.Dtr *.Str)");
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().first();
}

void frmMain::openReport() {
    const QString path = chooseReportFile_ ? chooseReportFile_() : askForReportFile();
    if (path.isEmpty()) {
        session_.ui.critical("Cancel was selected.");
        return;
    }
    OpenReport2(path);
}

void frmMain::openClip(int row, int col) {
    session::ShellExecuteFile(grid_.cellData(row, col).toString(), session_.sReportFolder, session_.ui);
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (!closed_) {
        closed_ = true;
        closeOtherWindows();
        session::CloseSession(session_);
    }
    event->accept();
}

}  // namespace vantrep::analysis::ui
