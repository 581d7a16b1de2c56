#include "HandOver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vantrep::session {

namespace {

// Read-only as a removal without force sees it: no write permission for the owner.
bool isReadOnly(const QFileInfo& entry) { return !(entry.permissions() & QFileDevice::WriteOwner); }

// Removes what can be removed without force below `path`, then the folder
// itself if it ended up empty. Returns true when the folder is gone.
bool removeFolder(const QString& path) {
    bool everythingRemoved = true;
    const QFileInfoList entries =
        QDir(path).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QFileInfo& entry : entries) {
        bool removed = false;
        if (entry.isSymLink())
            removed = QFile::remove(entry.filePath());
        else if (entry.isDir())
            removed = !isReadOnly(entry) && removeFolder(entry.filePath());
        else
            removed = !isReadOnly(entry) && QFile::remove(entry.filePath());
        everythingRemoved = everythingRemoved && removed;
    }
    return everythingRemoved && QDir().rmdir(path);
}

}  // namespace

QString handOverFolder(const QString& commandLinePath) {
    QString path = commandLinePath;
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash <= 0)
        return QString();
    return path.left(slash);
}

namespace {

// handOverFolder(commandLinePath) when the program removes it at its close;
// empty otherwise.
QString removableFolder(const QString& commandLinePath) {
    const QString folder = handOverFolder(commandLinePath);
    if (folder.isEmpty())
        return QString();
    const QFileInfo info(folder);
    if (!info.isDir() || info.isSymLink() || isReadOnly(info))
        return QString();
    if (!QFileInfo(QDir(folder).filePath(QString::fromLatin1(kHandOverMarker))).isFile())
        return QString();
    return folder;
}

}  // namespace

bool isInHandOverFolder(const QString& path, const QString& commandLinePath) {
    const QString folder = removableFolder(commandLinePath);
    if (folder.isEmpty())
        return false;
    const QFileInfo file(path);
    QString resolved = file.canonicalFilePath();
    if (resolved.isEmpty())
        resolved = QFileInfo(file.absolutePath()).canonicalFilePath();
    const QString resolvedFolder = QFileInfo(folder).canonicalFilePath();
    return !resolved.isEmpty() && (resolved == resolvedFolder || resolved.startsWith(resolvedFolder + "/"));
}

bool removeHandOverFolder(const QString& commandLinePath) {
    const QString folder = removableFolder(commandLinePath);
    return !folder.isEmpty() && removeFolder(folder);
}

}  // namespace vantrep::session
