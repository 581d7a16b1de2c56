// The VantRep program. For now it offers the command-line export; the main
// window comes with its own part of the program.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>
#include <unistd.h>

#include "app/ExportCommand.h"

int main(int argc, char** argv) {
    if (argc == 4 && QString(argv[1]) == "--export") {
        // The export needs no display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
            // Qt wants a private runtime folder; without a desktop session there is none.
            QString runtime = QDir::tempPath() + "/vantrep-runtime-" + QString::number(getuid());
            QDir().mkpath(runtime);
            QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
        }
        QGuiApplication app(argc, argv);
        return vantrep::app::RunExport(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    std::fprintf(stderr, "usage: vantrep --export OUT.tsv|OUT.csv REPORTARG\n");
    return 2;
}
