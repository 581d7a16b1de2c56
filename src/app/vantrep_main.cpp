// The VantRep program: the main window on a report (or on none), or, with
// --export, the command-line export without a window.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <csignal>
#include <cstdio>
#include <unistd.h>

#include "analysis/ui/MessageBoxUi.h"
#include "analysis/ui/frmMain.h"
#include "app/AutomationServer.h"
#include "app/ExportCommand.h"
#include "app/HugePageHeap.h"
#include "session/Session.h"

namespace {

// Qt wants a private runtime folder; without a desktop session there is none.
void ensureRuntimeFolder() {
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) return;
    QString runtime = QDir::tempPath() + "/vantrep-runtime-" + QString::number(getuid());
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
}

const char usage[] =
    "usage: vantrep [REPORTARG]\n"
    "       vantrep -Embedding\n"
    "       vantrep --export OUT.tsv|OUT.csv|OUT.xlsx|OUT.pdf|OUT.jpg|OUT.png [--chart line|area|sarea|radar] "
    "REPORTARG\n";

int runExport(int argc, char** argv) {
    QStringList arguments;
    for (int i = 2; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    vantrep::app::ExportRequest request;
    QString error;
    if (!vantrep::app::parseExportArguments(arguments, request, error)) {
        std::fprintf(stderr, "vantrep: %s\n%s", qPrintable(error), usage);
        return 2;
    }
    // The export needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ensureRuntimeFolder();
    // Charts are drawn with widgets, on the offscreen platform.
    QApplication app(argc, argv);
    return vantrep::app::RunExport(request);
}

// A window needs a screen a user can see: the offscreen and minimal
// platforms have none, and without a display Qt would abort.
bool hasDisplay() {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.startsWith("offscreen") || platform.startsWith("minimal")) return false;
    return !platform.isEmpty() || !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

int runMainWindow(int argc, char** argv) {
    if (!hasDisplay()) {
        std::fprintf(stderr, "vantrep: no display to show the main window on (run it under xvfb-run, or use --export).\n%s",
                     usage);
        return 2;
    }
    ensureRuntimeFolder();
    QApplication app(argc, argv);
    QApplication::setApplicationName("VantRep");
    QApplication::setApplicationVersion(QStringLiteral(VANTREP_VERSION));
    const QString commandLine = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    vantrep::analysis::ui::MessageBoxUi ui;
    vantrep::session::Session session(ui, commandLine);
    vantrep::analysis::ui::frmMain window(session);
    ui.attach(&window, window.progressBar());
    QApplication::setWindowIcon(window.windowIcon());
    window.show();
    app.exec();
    return window.exitStatus();
}

// "-Embedding": the automation server on the session bus. Its windows show
// only when a client asks; without a display they are drawn offscreen.
int runAutomationServer(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !hasDisplay()) qputenv("QT_QPA_PLATFORM", "offscreen");
    ensureRuntimeFolder();
    QApplication app(argc, argv);
    QApplication::setApplicationName("VantRep");
    QApplication::setApplicationVersion(QStringLiteral(VANTREP_VERSION));
    // A client's windows come and go; the server ends when it is released.
    QApplication::setQuitOnLastWindowClosed(false);
    vantrep::analysis::ui::MessageBoxUi boxes;
    vantrep::app::AutomationUi ui(boxes);
    vantrep::session::Session session(ui, "-Embedding");
    vantrep::app::AutomationServer server(session, ui);
    QString error;
    if (!server.start(error)) {
        std::fprintf(stderr, "vantrep: %s\n", qPrintable(error));
        return 1;
    }
    return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
    // A file-size limit makes a write fail with a reason instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    if (argc > 1 && QString(argv[1]) == "--export") {
        vantrep::app::TakeHeapInHugePages();
        return runExport(argc, argv);
    }
    if (argc == 2 && QString(argv[1]) == "-Embedding") return runAutomationServer(argc, argv);
    if (argc > 2) {
        std::fprintf(stderr, "%s", usage);
        return 2;
    }
    return runMainWindow(argc, argv);
}
