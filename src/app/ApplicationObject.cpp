#include "app/ApplicationObject.h"

#include <QApplication>
#include <QDBusError>
#include <QWindow>

#include "app/AutomationServer.h"
#include "app/ExportCommand.h"
#include "design/ui/frmDesign.h"
#include "engine/Recordset.h"
#include "graph/ui/frmGraph.h"
#include "report/ui/frmPrint.h"

namespace vantrep::app {

namespace {

const char noReportError[] = "org.vantrep.VantRep.Error.NoReport";
const char noWindowError[] = "org.vantrep.VantRep.Error.NoWindow";
const char exportError[] = "org.vantrep.VantRep.Error.Export";

// A window id held in a variant: any integer, or its decimal text.
bool windowIdOf(const QDBusVariant& value, qint64& id) {
    bool ok = false;
    id = value.variant().toLongLong(&ok);
    return ok;
}

// This program's top-level window with the native id `id`; none when no
// window of it has that id.
QWidget* ownWindow(qint64 id) {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->internalWinId() != 0 && static_cast<qint64>(window->internalWinId()) == id) return window;
    return nullptr;
}

}  // namespace

ApplicationObject::ApplicationObject(AutomationServer& server, QObject* parent) : QObject(parent), server_(server) {}

bool ApplicationObject::refuseWithoutReport(const QString& what) {
    const session::Session& session = server_.session();
    if (session.rsStruct.State() == engine::adStateOpen && !(what == "chart" && session.bDetailed)) return false;
    sendErrorReply(noReportError, session.rsStruct.State() == engine::adStateOpen
                                      ? "A detailed listing has no chart."
                                      : "No report is open: call OpenReport first.");
    return true;
}

void ApplicationObject::OpenReport(const QString& cmdPath) { server_.mainWindow().OpenReport2(cmdPath); }

void ApplicationObject::ExportGrid(qint64 hWnd) {
    server_.ui().setDialogOwner(hWnd);
    server_.mainWindow().buttonClick("export");
    server_.ui().setDialogOwner(0);
}

QString ApplicationObject::GridData() { return server_.session().sReportFolder + "GridData.bin"; }

QDBusObjectPath ApplicationObject::DesignForm() {
    if (refuseWithoutReport("designer")) return {};
    return server_.windowObject("Design", &server_.designForm());
}

QDBusObjectPath ApplicationObject::PreviewForm() {
    report::ui::frmPrint* preview = server_.mainWindow().previewForm();
    return server_.windowObject("Preview", preview,
                                [preview](WindowObject* object) { new PreviewAdaptor(object, preview); });
}

QDBusObjectPath ApplicationObject::GraphForm() {
    if (refuseWithoutReport("chart")) return {};
    graph::ui::frmGraph* graph = server_.mainWindow().createGraphForm();
    return server_.windowObject("Graph", graph, [graph](WindowObject* object) { new GraphAdaptor(object, graph); });
}

void ApplicationObject::ShowGraph() { server_.mainWindow().ShowGraph("2D"); }

void ApplicationObject::ShowPreview() { server_.mainWindow().buttonClick("preview"); }

qint64 ApplicationObject::SetOwner(const QDBusVariant& hWnd, const QDBusVariant& HwndtoUse) {
    qint64 windowId = 0;
    qint64 ownerId = 0;
    if (!windowIdOf(hWnd, windowId) || !windowIdOf(HwndtoUse, ownerId)) {
        sendErrorReply(QDBusError::InvalidArgs, "SetOwner takes two window ids (integers).");
        return 0;
    }
    QWidget* window = ownWindow(windowId);
    if (!window) {
        sendErrorReply(noWindowError, "No window of this program has the id " + QString::number(windowId) +
                                          ": take it from a window object's WindowId.");
        return 0;
    }
    QWindow* handle = window->windowHandle();
    const qint64 previous = handle->transientParent() ? static_cast<qint64>(handle->transientParent()->winId()) : 0;
    QWindow* owner = nullptr;
    if (ownerId != 0) {
        QWidget* own = ownWindow(ownerId);
        // A client's window is known by its id alone; the handle lives as long as the window it owns.
        owner = own ? own->windowHandle() : QWindow::fromWinId(static_cast<WId>(ownerId));
        if (owner && !own) owner->QObject::setParent(window);
    }
    handle->setTransientParent(owner);
    return previous;
}

void ApplicationObject::Release() { server_.release(); }

void ApplicationObject::ExportTo(const QString& path) {
    const session::Session& session = server_.session();
    QString error;
    if (session.rsStruct.State() != engine::adStateOpen)
        error = "No report is open: call OpenReport first.";
    else if (WriteOpenReport(session, server_.mainWindow().grid(), path, QStringLiteral("line"), error))
        return;
    sendErrorReply(exportError, error);
}

}  // namespace vantrep::app
