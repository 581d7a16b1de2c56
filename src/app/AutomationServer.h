// The automation server of "vantrep -Embedding" on the session bus: it owns
// the bus name org.vantrep.VantRep and the factory /org/vantrep/VantRep
// (interface org.vantrep.VantRep.Factory), whose CreateApplication makes the
// Application objects. Every object shares the one hidden main window and
// the session. Releasing an object, or its client leaving the bus, unloads
// the main window, and that ends the server; so does a fatal message.
#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusObjectPath>
#include <QObject>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>

#include "analysis/ui/frmMain.h"
#include "app/AutomationUi.h"
#include "app/WindowObject.h"
#include "session/Session.h"

class QDBusServiceWatcher;

namespace vantrep::design::ui { class frmDesign; }

namespace vantrep::app {

class AutomationServer : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.vantrep.VantRep.Factory")
public:
    static constexpr const char* serviceName = "org.vantrep.VantRep";
    static constexpr const char* factoryPath = "/org/vantrep/VantRep";

    AutomationServer(session::Session& session, AutomationUi& ui);
    ~AutomationServer() override;

    // Serves the factory and claims the bus name. False with the reason in
    // `error` when there is no session bus or the name is taken.
    bool start(QString& error);

    // The main window, loaded (hidden) on first use.
    analysis::ui::frmMain& mainWindow();
    session::Session& session() { return session_; }
    AutomationUi& ui() { return ui_; }

    // The designer instance, created (not shown) when there is none.
    design::ui::frmDesign& designForm();

    // The bus path of the object that stands for `window`, registered at
    // /org/vantrep/VantRep/Window/`name`; `addMembers` gives a new object
    // the window's own interfaces.
    QDBusObjectPath windowObject(const QString& name, QWidget* window,
                                 const std::function<void(WindowObject*)>& addMembers = {});

    // Unloads the main window: the server ends once the call being served
    // has had its reply.
    void release();

public slots:
    QDBusObjectPath CreateApplication();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void clientGone(const QString& client);
    void finish();

    session::Session& session_;
    AutomationUi& ui_;
    QDBusConnection bus_;
    std::unique_ptr<analysis::ui::frmMain> main_;
    QPointer<design::ui::frmDesign> designForm_;
    std::map<QString, WindowObject*> windows_;
    std::multimap<QString, QString> clientObjects_;  // client's unique name -> object path
    QDBusServiceWatcher* watcher_;
    int nextObject_ = 1;
    bool finishing_ = false;
};

}  // namespace vantrep::app
