#include "app/AutomationServer.h"

#include <QApplication>
#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>
#include <QEvent>
#include <QTimer>

#include "app/ApplicationObject.h"
#include "design/ui/frmDesign.h"

namespace vantrep::app {

AutomationServer::AutomationServer(session::Session& session, AutomationUi& ui)
    : session_(session), ui_(ui), bus_(QDBusConnection::sessionBus()) {
    watcher_ = new QDBusServiceWatcher(this);
    watcher_->setConnection(bus_);
    watcher_->setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
    connect(watcher_, &QDBusServiceWatcher::serviceUnregistered, this, &AutomationServer::clientGone);
}

AutomationServer::~AutomationServer() {
    // The windows go before the session they read.
    delete designForm_;
    if (main_) main_->removeEventFilter(this);
    main_.reset();
}

bool AutomationServer::start(QString& error) {
    if (!bus_.isConnected()) {
        error = "no D-Bus session bus to serve automation on (DBUS_SESSION_BUS_ADDRESS: \"" +
                qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS") + "\").";
        return false;
    }
    if (!bus_.registerObject(factoryPath, this, QDBusConnection::ExportAllSlots)) {
        error = "cannot serve " + QString(factoryPath) + " on the session bus.";
        return false;
    }
    if (!bus_.registerService(serviceName)) {
        error = "the bus name " + QString(serviceName) + " is taken: another automation server runs.";
        return false;
    }
    return true;
}

analysis::ui::frmMain& AutomationServer::mainWindow() {
    if (!main_) {
        main_ = std::make_unique<analysis::ui::frmMain>(session_);
        ui_.attach(main_.get(), main_->progressBar());
        QApplication::setWindowIcon(main_->windowIcon());
        main_->installEventFilter(this);
    }
    return *main_;
}

design::ui::frmDesign& AutomationServer::designForm() {
    if (!designForm_) {
        analysis::ui::frmMain* main = &mainWindow();
        designForm_ = new design::ui::frmDesign(session_, [main] { return main->RefillReport(); }, main);
    }
    return *designForm_;
}

QDBusObjectPath AutomationServer::windowObject(const QString& name, QWidget* window,
                                               const std::function<void(WindowObject*)>& addMembers) {
    const QString path = QString(factoryPath) + "/Window/" + name;
    auto found = windows_.find(name);
    if (found != windows_.end() && found->second->window() != window) {
        // The window was made anew: so is the object that stands for it.
        bus_.unregisterObject(path);
        delete found->second;
        windows_.erase(found);
        found = windows_.end();
    }
    if (found == windows_.end()) {
        auto* object = new WindowObject(this);
        object->setWindow(window);
        if (addMembers) addMembers(object);
        bus_.registerObject(path, object,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties |
                                QDBusConnection::ExportAdaptors);
        windows_[name] = object;
    }
    return QDBusObjectPath(path);
}

QDBusObjectPath AutomationServer::CreateApplication() {
    mainWindow();
    const QString path = QString(factoryPath) + "/Application/" + QString::number(nextObject_++);
    auto* object = new ApplicationObject(*this, this);
    bus_.registerObject(path, object, QDBusConnection::ExportAllSlots);
    const QString client = message().service();
    clientObjects_.emplace(client, path);
    watcher_->addWatchedService(client);
    return QDBusObjectPath(path);
}

void AutomationServer::clientGone(const QString& client) {
    // A client that leaves the bus releases the objects it made.
    if (clientObjects_.erase(client) > 0) release();
}

void AutomationServer::release() {
    // Queued, so the call being served gets its reply first.
    QTimer::singleShot(0, this, [this] {
        if (main_) main_->close();
    });
}

bool AutomationServer::eventFilter(QObject* watched, QEvent* event) {
    // The main window unloads (released, or closed after a fatal message):
    // the program ends.
    if (watched == main_.get() && event->type() == QEvent::Close && !finishing_) {
        finishing_ = true;
        QTimer::singleShot(0, this, &AutomationServer::finish);
    }
    return QObject::eventFilter(watched, event);
}

void AutomationServer::finish() {
    // Giving the name back waits for the bus daemon's answer, and so also
    // for every reply sent before it: no client loses its reply.
    bus_.unregisterService(serviceName);
    QApplication::exit(main_ ? main_->exitStatus() : 0);
}

}  // namespace vantrep::app
