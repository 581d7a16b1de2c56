// The chart window: the main grid as a line, area, 100 % stacked area or
// radar chart, with a toolbar to switch kinds, toggle the depth effect and
// the value labels, preview the chart page and export a JPEG picture. A left
// press on the header, footer, chart background or near a series point picks
// its colour; any other button opens the "Graph" menu whose "Header/Footer"
// edits the header and footer texts.
//
// The report windows (the preview and the title settings dialog) live beside
// this window, so its owner hands in how to open them (previewChart,
// editHeaderFooter); while one is not set its command does nothing.
#pragma once

#include <QDialog>
#include <QImage>
#include <QString>

#include <functional>

#include "report/TitleHolder.h"

class QAction;
class QMenu;
class QToolBar;

namespace vantrep::grid { class GridModel; }
namespace vantrep::session { class Session; }

namespace vantrep::graph::ui {

class ChartWidget;

class frmGraph : public QDialog {
    Q_OBJECT
public:
    // The caption is made from `mainWindow`'s caption now ("2D Chart of ...").
    // `session` gives the dialogs (its Ui), the data table name, the
    // criteria and aVars; `grid` is ReportGrid. Both outlive the window.
    frmGraph(session::Session& session, const grid::GridModel& grid, QWidget* mainWindow = nullptr);
    ~frmGraph() override;

    const grid::GridModel* ReportGrid;
    // The chart kind; stored upper-cased. Only "2D" is drawn.
    QString GraphType() const { return graphType_; }
    void setGraphType(const QString& type) { graphType_ = type.toUpper(); }

    // Reloads the chart data from ReportGrid into the kind shown ("2D" only).
    void RefreshGraph();

    // Shows the chart page in the preview window: the chart picture and the
    // criteria text (carriage returns already turned into four spaces).
    std::function<void(const QImage& chart, const QString& criteria)> previewChart;
    // Opens the title settings dialog captioned "Header/Footer Settings" on
    // the two titles; true when the user confirmed (the titles then hold
    // the edited texts and styles).
    std::function<bool(report::TitleHolder& header, report::TitleHolder& footer)> editHeaderFooter;

    // The toolbar button (or separator) with key `key`, e.g. "line".
    QAction* button(const QString& key) const;
    QToolBar* toolbar() const { return toolbar_; }
    ChartWidget* chart() const { return chart_; }
    QMenu* mnuGraph() const { return mnuGraph_; }

    void toolbarClick(const QString& key);
    void mnuHeaderFooter_Click();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildToolbar();
    void changeKind(const QString& key);
    void chartMouseDown(Qt::MouseButton button, const QPoint& pos, const QPoint& globalPos);
    void pickColour(const QString& title, const QColor& initial, const std::function<void(const QColor&)>& apply);
    void preview();
    void exportJpeg();

    session::Session& session_;
    QString graphType_ = QStringLiteral("2D");
    QToolBar* toolbar_;
    ChartWidget* chart_;
    QMenu* mnuGraph_;
    bool activated_ = false;
};

}  // namespace vantrep::graph::ui
