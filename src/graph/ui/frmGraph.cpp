#include "graph/ui/frmGraph.h"

#include <QAction>
#include <QActionGroup>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QChartView>
#include <QToolBar>
#include <QVBoxLayout>

#include "graph/ChartData.h"
#include "graph/ChartKind.h"
#include "graph/ValueLabels.h"
#include "graph/ui/ChartImage.h"
#include "graph/ui/ChartWidget.h"
#include "report/PreviewReport.h"
#include "session/Criteria.h"
#include "session/Session.h"

namespace vantrep::graph::ui {

namespace {

struct ButtonDef {
    const char* key;
    const char* text;
    const char* tooltip;
    bool toggle;
};

// The toolbar in order; a null text marks a separator.
constexpr ButtonDef buttons[] = {
    {"preview", "Preview", "Preview", false},
    {"sep10", nullptr, nullptr, false},
    {"export", "Export", "Export to JPG", false},
    {"sep20", nullptr, nullptr, false},
    {"line", "Line", "Line Chart", false},
    {"area", "Area", "Area Chart", false},
    {"sarea", "100 % Area", "100 % Stacked Area Chart", false},
    {"radar", "Radar", "Radar Chart", false},
    {"sep40", nullptr, nullptr, false},
    {"3d", "3D", "", true},
    {"labels", "Labels", "Show Data Labels (Values)", true},
};

}  // namespace

frmGraph::frmGraph(session::Session& session, const grid::GridModel& grid, QWidget* mainWindow)
    : QDialog(mainWindow), ReportGrid(&grid), session_(session) {
    setObjectName("frmGraph");
    const QString mainCaption = mainWindow ? mainWindow->windowTitle() : QString();
    setWindowTitle(graphType_ + " Chart of " + mainCaption);

    chart_ = new ChartWidget(this);
    report::TitleHolder header = chart_->header();
    header.Tag = mainCaption;
    chart_->setHeader(header);
    for (QWidget* part : {static_cast<QWidget*>(chart_->headerLabel()), static_cast<QWidget*>(chart_->footerLabel()),
                          chart_->view()->viewport()})
        part->installEventFilter(this);

    mnuGraph_ = new QMenu("Graph", this);
    mnuGraph_->setObjectName("mnuGraph");
    QAction* headerFooter = mnuGraph_->addAction("Header/Footer", this, &frmGraph::mnuHeaderFooter_Click);
    headerFooter->setObjectName("mnuHeaderFooter");

    toolbar_ = new QToolBar(this);
    toolbar_->setObjectName("Toolbar1");
    buildToolbar();

    // The toolbar on top, the chart filling the rest of the window.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolbar_);
    layout->addWidget(chart_, 1);
    resize(900, 600);
}

frmGraph::~frmGraph() = default;

void frmGraph::buildToolbar() {
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto* kinds = new QActionGroup(this);
    for (const ButtonDef& def : buttons) {
        QAction* action;
        if (!def.text) {
            action = toolbar_->addSeparator();
        } else {
            action = toolbar_->addAction(QString::fromLatin1(def.text));
            action->setToolTip(QString::fromLatin1(def.tooltip));
            action->setCheckable(def.toggle);
            const QString key = QString::fromLatin1(def.key);
            if (chartKindFromName(key)) {
                action->setCheckable(true);
                kinds->addAction(action);
            }
            connect(action, &QAction::triggered, this, [this, key] { toolbarClick(key); });
        }
        action->setObjectName(QString::fromLatin1(def.key));
    }
}

QAction* frmGraph::button(const QString& key) const {
    for (QAction* action : toolbar_->actions())
        if (action->objectName() == key) return action;
    return nullptr;
}

void frmGraph::toolbarClick(const QString& key) {
    if (key == "preview")
        preview();
    else if (key == "export")
        exportJpeg();
    else if (chartKindFromName(key))
        changeKind(key);
    else if (key == "3d")
        chart_->setDepth(button("3d")->isChecked() ? ChartWidget::depthOn : 0);
    else if (key == "labels" && graphType_ == "2D")
        chart_->setLabels(button("labels")->isChecked(), labelsShowPercent(session_.aVars));
}

void frmGraph::changeKind(const QString& key) {
    const ChartKind kind = *chartKindFromName(key);
    button(key)->setChecked(true);
    chart_->showData(loadChartData(*ReportGrid), kind);
}

void frmGraph::RefreshGraph() {
    if (graphType_ != "2D") return;
    chart_->showData(loadChartData(*ReportGrid), chart_->kind());
}

void frmGraph::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (activated_) return;
    activated_ = true;
    // Every chart opens as a line chart.
    if (graphType_ == "2D") button("line")->trigger();
}

bool frmGraph::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        auto* press = static_cast<QMouseEvent*>(event);
        const QPoint pos = static_cast<QWidget*>(watched)->mapTo(chart_, press->position().toPoint());
        chartMouseDown(press->button(), pos, press->globalPosition().toPoint());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmGraph::chartMouseDown(Qt::MouseButton mouseButton, const QPoint& pos, const QPoint& globalPos) {
    if (mouseButton != Qt::LeftButton) {
        mnuGraph_->popup(globalPos);
        return;
    }
    const ChartHit hit = chart_->hitAt(pos);
    switch (hit.region) {
    case ChartHit::Region::Header:
        pickColour("Select Header Color", chart_->headerBackground(),
                   [this](const QColor& colour) { chart_->setHeaderBackground(colour); });
        break;
    case ChartHit::Region::Footer:
        pickColour("Select Footer Color", chart_->footerBackground(),
                   [this](const QColor& colour) { chart_->setFooterBackground(colour); });
        break;
    case ChartHit::Region::Background:
        pickColour("Select Background Color", chart_->chartBackground(),
                   [this](const QColor& colour) { chart_->setChartBackground(colour); });
        break;
    case ChartHit::Region::Series:
        pickColour("Select Series Color", chart_->seriesColor(hit.series),
                   [this, series = hit.series](const QColor& colour) { chart_->setSeriesColor(series, colour); });
        break;
    case ChartHit::Region::Nothing:
        break;
    }
}

void frmGraph::pickColour(const QString& title, const QColor& initial,
                          const std::function<void(const QColor&)>& apply) {
    const QColor colour = session_.ui.chooseColor(initial, title);
    if (colour.isValid()) apply(colour);
}

void frmGraph::mnuHeaderFooter_Click() {
    if (!editHeaderFooter) return;
    report::TitleHolder header = chart_->header();
    report::TitleHolder footer = chart_->footer();
    if (!editHeaderFooter(header, footer)) return;
    chart_->setHeader(header);
    chart_->setFooter(footer);
}

void frmGraph::preview() {
    if (!previewChart || !report::canPreviewGrid(*ReportGrid, session_.sDataFile)) return;
    if (graphType_ != "2D") return;
    const QString criteria = report::previewCriteria(session::getCriteria(QString(), session_.sReportTitle));
    // Twice the pixels of the screen, so that the printed page stays sharp.
    previewChart(chart_->toImage(2.0), criteria);
}

void frmGraph::exportJpeg() {
    QString path = session_.ui.saveFileName("Save As", "JPEG Files (*.jpg)", windowTitle() + ".jpg");
    if (path.isEmpty()) {
        session_.ui.critical("Cancel was selected.");
        return;
    }
    if (QFileInfo(path).suffix().isEmpty()) path += ".jpg";
    if (graphType_ != "2D") return;
    QString error;
    if (!saveChartImage(chart_->toImage(), path, imageFormatFor(path), &error)) session_.ui.critical(error);
}

}  // namespace vantrep::graph::ui
