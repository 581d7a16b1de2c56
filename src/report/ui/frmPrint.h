// The report window: it holds the print surface and the report engine, runs
// the print run of a banded report (when Data is set) or of the grid report,
// and previews the finished document page by page: zoom, scrolling, the page
// keys, Find (Ctrl+F) and Find Next (F3) with the hit marked on the page,
// the popup menu, the title settings of a grid report, the page set-up
// (paper, orientation, margins) of whatever it shows, printing through the
// system's print dialog and saving as PDF. Every page gets the page events
// of PageStamp.h.
#pragma once

#include <QDialog>
#include <QImage>
#include <QMenu>
#include <QString>

#include <functional>
#include <map>

#include "print/PrintSurface.h"
#include "report/BandedReport.h"
#include "report/GridReport.h"

class QLabel;
class QPrinter;
class QScrollArea;
class QToolBar;

namespace vantrep::report::ui {

class PreviewPage;
class frmTitleSettings;

class frmPrint : public QDialog {
    Q_OBJECT
public:
    // `mainWindow` gives the preview its place, size and caption.
    explicit frmPrint(QWidget* mainWindow = nullptr);
    ~frmPrint() override;

    print::PrintSurface& VP() { return VP_; }
    // The banded report; the grid report prints when its Data is not set.
    BandedReport& report() { return report_; }
    GridReport& gridReport() { return grid_; }

    // The print run, then page 1 on show. Engine errors are passed on.
    void load();
    // `RenderChart`: prints the chart page (ChartPage.h) of `chart` under the
    // grid report's criteria, font and margins instead of the print run.
    void RenderChart(const QImage& chart);

    int pageCount() const { return VP_.document().pageCount(); }
    int currentPage() const;
    // Shows page `page`; pages outside the document are ignored.
    void showPage(int page);
    int zoom() const;
    void setZoom(int percent);

    // Search as Find and Find Next do it (see the find state below).
    void search(const QString& text);
    void mnuFind_Click();
    void mnuFindNext_Click();
    void mnuTitle_Click();
    // Page Setup: the dialog (frmPageSetup.h) on the page set-up of the
    // report shown; OK lays the document out again on the new page.
    void mnuPageSetup_Click();
    // The page set-up of the report shown: the banded report's, else the
    // grid report's (which the chart page uses too). Later lay-outs in this
    // window (after a title change) keep it.
    PageSetup& pageSetup();
    // Makes `setup` the page set-up of the report shown and lays the
    // document out again.
    void applyPageSetup(const PageSetup& setup);
    // Removes the hit marking from the page shown.
    void removeMarking();
    // The marking of page `page` (empty when it has none).
    QRectF marking(int page) const;

    // The popup menu, with the entries a right-click shows for this report.
    QMenu* preparedMenu();

    void printDocument();
    // Prints on `printer` the pages it asks for (all when it names none).
    // When the printer's paper or orientation differs from the document's,
    // or it cannot print as near the edge as the margins ask, the document
    // is laid out again for the printer first (and stays so in the preview),
    // so that nothing is cut off.
    void printOn(QPrinter& printer);
    void saveAsPdf();

    // The answers a user gives; tests replace them. By default an input box
    // asks "Find What ?", a file dialog asks where to save the PDF, an
    // information box shows messages and the title dialog is shown modally.
    std::function<QString()> askFindText;
    std::function<QString()> askPdfPath;
    std::function<void(const QString& text, const QString& title)> showInformation;
    std::function<void(frmTitleSettings&)> showTitleDialog;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool handleKey(QKeyEvent* event);
    bool gridReportShown() const { return report_.Data == nullptr && !chartShown_; }
    // Runs `print` with the busy pointer, the find state and markings
    // dropped, then shows the new document.
    void layOut(const std::function<void()>& print);
    // Prints again whatever the window shows: the banded report, the chart
    // page or the grid report.
    void printShown();
    void refresh();
    void updatePageLabel();
    void scrollToMarking(const QRectF& rect);
    void takeMainWindowLayout();
    QToolBar* buildToolbar();

    QWidget* mainWindow_;
    print::PrintSurface VP_;
    BandedReport report_;
    GridReport grid_;
    QToolBar* toolbar_;
    QScrollArea* scroll_;
    PreviewPage* page_;
    QLabel* pageLabel_;
    QMenu* menu_;
    QAction* mnuFind_;
    QAction* mnuFindNext_;
    QAction* mnuSep1_;
    QAction* mnuTitle_;
    QAction* mnuPageSetup_;
    QImage chart_;  // the chart page's picture
    std::map<int, QRectF> markings_;
    // The find state: the text, the page of the last hit (0 = none) and the
    // Y position after it.
    QString findText_;
    qint16 findPage_ = 0;
    double findY_ = 0;
    bool laidOut_ = false;
    bool chartShown_ = false;
};

}  // namespace vantrep::report::ui
