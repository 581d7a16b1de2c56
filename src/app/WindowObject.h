// A window of the program as an automation client sees it, on the bus under
// /org/vantrep/VantRep/Window/...: Show, Hide, Close, its caption, whether it
// is visible and its window id (the X11 id under X, for SetOwner). The chart
// and the preview add their own members in interfaces of their own.
#pragma once

#include <QDBusAbstractAdaptor>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace vantrep::graph::ui { class frmGraph; }
namespace vantrep::report::ui { class frmPrint; }

namespace vantrep::app {

class WindowObject : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.vantrep.VantRep.Window")
    Q_PROPERTY(QString Caption READ Caption)
    Q_PROPERTY(bool Visible READ Visible)
    Q_PROPERTY(qint64 WindowId READ WindowId)
public:
    explicit WindowObject(QObject* parent) : QObject(parent) {}

    // The window the object stands for now (the instance may be made anew).
    void setWindow(QWidget* window) { window_ = window; }
    QWidget* window() const { return window_; }

    QString Caption() const { return window_ ? window_->windowTitle() : QString(); }
    bool Visible() const { return window_ && window_->isVisible(); }
    qint64 WindowId() const;

public slots:
    void Show();
    void Hide();
    void Close();

private:
    QPointer<QWidget> window_;
};

// The chart window's own members.
class GraphAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.vantrep.VantRep.Graph")
    Q_PROPERTY(QString GraphType READ GraphType WRITE setGraphType)
public:
    GraphAdaptor(WindowObject* object, graph::ui::frmGraph* graph);
    QString GraphType() const;
    void setGraphType(const QString& type);

public slots:
    void RefreshGraph();

private:
    QPointer<graph::ui::frmGraph> graph_;
};

// The preview window's own members.
class PreviewAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.vantrep.VantRep.Preview")
    Q_PROPERTY(QString ReportCriteria READ ReportCriteria WRITE setReportCriteria)
public:
    PreviewAdaptor(WindowObject* object, report::ui::frmPrint* preview);
    QString ReportCriteria() const;
    void setReportCriteria(const QString& criteria);

private:
    QPointer<report::ui::frmPrint> preview_;
};

}  // namespace vantrep::app
