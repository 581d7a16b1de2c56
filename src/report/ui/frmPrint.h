// The report window: it holds the print surface and the report engine, runs
// the print run of a banded report (when Data is set) or of the grid report,
// and previews the finished document page by page: zoom, scrolling, the page
// keys, Find (Ctrl+F) and Find Next (F3) with the hit marked on the page,
// the popup menu, the title settings of a grid report, printing through the
// system's print dialog and saving as PDF. Every page gets the page events
// of PageStamp.h.
#pragma once

#include <QDialog>
#include <QMenu>
#include <QString>

#include <functional>
#include <map>

#include "print/PrintSurface.h"
#include "report/BandedReport.h"
#include "report/GridReport.h"

class QLabel;
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
    // Removes the hit marking from the page shown.
    void removeMarking();
    // The marking of page `page` (empty when it has none).
    QRectF marking(int page) const;

    // The popup menu, with the entries a right-click shows for this report.
    QMenu* preparedMenu();

    void printDocument();
    void saveAsPdf();

    // The answers a user gives; tests replace them. By default an input box
    // asks "Find What ?", an information box shows messages and the title
    // dialog is shown modally.
    std::function<QString()> askFindText;
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
