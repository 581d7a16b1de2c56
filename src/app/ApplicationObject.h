// One Application object of the automation server
// (/org/vantrep/VantRep/Application/N, interface
// org.vantrep.VantRep.Application): a thin front over the shared main window.
// The members keep the order clients rely on; ExportTo is an addition for
// clients that run without anyone at the screen.
#pragma once

#include <QDBusContext>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QObject>

namespace vantrep::app {

class AutomationServer;

class ApplicationObject : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.vantrep.VantRep.Application")
public:
    ApplicationObject(AutomationServer& server, QObject* parent);

public slots:
    // Opens the report `cmdPath` ("path[,n]") in the main window and fills
    // its first query; "" changes nothing. Messages are shown, and the call
    // returns normally.
    void OpenReport(const QString& cmdPath);
    // The spreadsheet export with its save dialog, owned by the main window
    // (0) or by the client's window with this X11 id.
    void ExportGrid(qint64 hWnd);
    // The working folder's "GridData.bin", rewritten by every summary fill.
    QString GridData();
    QDBusObjectPath DesignForm();
    QDBusObjectPath PreviewForm();
    QDBusObjectPath GraphForm();
    // The main window's chart command ("2D"): the chart is made, not shown.
    void ShowGraph();
    // The main window's preview command: the preview is laid out, not shown.
    void ShowPreview();
    // Makes window `HwndtoUse` the owner of this program's window `hWnd`
    // (window ids held in variants); returns the previous owner's id, 0
    // when there was none.
    qint64 SetOwner(const QDBusVariant& hWnd, const QDBusVariant& HwndtoUse);
    // Releases the object: the main window unloads and the program ends.
    void Release();
    // Writes the grid to `path` as --export does, by the path's ending; an
    // error reply names the reason when nothing was written.
    void ExportTo(const QString& path);

private:
    bool refuseWithoutReport(const QString& what);

    AutomationServer& server_;
};

}  // namespace vantrep::app
