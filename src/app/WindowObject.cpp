#include "app/WindowObject.h"

#include "graph/ui/frmGraph.h"
#include "report/ui/frmPrint.h"

namespace vantrep::app {

qint64 WindowObject::WindowId() const {
    // Asking for the id makes the native window; it stays hidden.
    return window_ ? static_cast<qint64>(window_->winId()) : 0;
}

void WindowObject::Show() {
    if (!window_) return;
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void WindowObject::Hide() {
    if (window_) window_->hide();
}

void WindowObject::Close() {
    if (window_) window_->close();
}

GraphAdaptor::GraphAdaptor(WindowObject* object, graph::ui::frmGraph* graph)
    : QDBusAbstractAdaptor(object), graph_(graph) {}

QString GraphAdaptor::GraphType() const { return graph_ ? graph_->GraphType() : QString(); }

void GraphAdaptor::setGraphType(const QString& type) {
    if (graph_) graph_->setGraphType(type);
}

void GraphAdaptor::RefreshGraph() {
    if (graph_) graph_->RefreshGraph();
}

PreviewAdaptor::PreviewAdaptor(WindowObject* object, report::ui::frmPrint* preview)
    : QDBusAbstractAdaptor(object), preview_(preview) {}

QString PreviewAdaptor::ReportCriteria() const { return preview_ ? preview_->gridReport().ReportCriteria : QString(); }

void PreviewAdaptor::setReportCriteria(const QString& criteria) {
    if (preview_) preview_->gridReport().ReportCriteria = criteria;
}

}  // namespace vantrep::app
