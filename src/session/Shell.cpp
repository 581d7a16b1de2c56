#include "session/Shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace vantrep::session {

namespace {

// Shell results without a number of their own are shown offset from this base.
constexpr int kShellErrorBase = -2147220456;

enum ShellResult {
    shellFileNotFound = 2,
    shellPathNotFound = 3,
    shellAccessDenied = 5,
    shellNoAssociation = 31,
};

// The folder that holds the desktop's home trash ("Trash" below it).
QString dataHome() {
    const QString configured = qEnvironmentVariable("XDG_DATA_HOME");
    return configured.isEmpty() ? QDir::homePath() + "/.local/share" : configured;
}

}  // namespace

QString shellErrorText(int result) {
    int number = kShellErrorBase + result;
    QString message = "An error occurred whilst trying to open or print the selected file.";
    switch (result) {
    case 0:
    case 8: number = 7; message = "Out of memory"; break;
    case 2: number = 53; message = "File not found"; break;
    case 3: number = 76; message = "Path not found"; break;
    case 5: number = 75; message = "Path/file access error"; break;
    case 11: message = "The executable file is invalid or corrupt"; break;
    case 26: number = 75; message = "A sharing violation occurred."; break;
    case 27: message = "This file type does not have a valid file association."; break;
    case 28: number = 286; message = "The file could not be opened due to time out. Please try again in a moment."; break;
    case 29:
        number = 285;
        message = "The file could not be opened because the DDE transaction failed. Please try again in a moment.";
        break;
    case 30:
        number = 285;
        message = "The file could not be opened because the target application is busy. Please try again in a moment.";
        break;
    case 31: message = "No application is associated with this file type."; break;
    case 32: number = 48; message = "The specified dynamic-link library was not found."; break;
    default: break;
    }
    return QString::number(number) + "-" + message;
}

bool ShellExecuteFile(const QString& file, const QString& folder, Ui& ui) {
    // The desktop opens documents only: there is no show command (a program
    // file is never started hidden here), no parameters and no verb but "open".
    const QFileInfo target(QFileInfo(file).isRelative() && !folder.isEmpty() ? QDir(folder).filePath(file) : file);
    int failure = 0;
    if (!target.absoluteDir().exists()) {
        failure = shellPathNotFound;
    } else if (!target.exists()) {
        failure = shellFileNotFound;
    } else if (!target.isReadable()) {
        failure = shellAccessDenied;
    } else if (!QDesktopServices::openUrl(QUrl::fromLocalFile(target.absoluteFilePath()))) {
        failure = shellNoAssociation;
    }
    if (failure == 0) return true;
    ui.plain(shellErrorText(failure));
    return false;
}

bool RecycleDelete(const QString& path, bool confirm, Ui& ui) {
    if (confirm) {
        const QFileInfo info(path);
        const QString question = "Are you sure you want to send '" + info.completeBaseName() + "." + info.suffix() +
                                 "' to the Recycle Bin ?";
        if (ui.message(question, "Confirm File Delete", MessageIcon::None, MessageButtons::YesNo) !=
            MessageAnswer::Yes) {
            return false;
        }
    }
    // Qt reports success with a relative trash path, and writes the trash into
    // the current folder, when the data folder does not exist yet.
    if (!QDir().mkpath(dataHome())) return false;
    QString trashedPath;
    if (!QFile::moveToTrash(path, &trashedPath)) return false;
    return QFileInfo(trashedPath).isAbsolute();
}

}  // namespace vantrep::session
