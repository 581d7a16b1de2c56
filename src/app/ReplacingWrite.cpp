#include "app/ReplacingWrite.h"

#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantrep::app {

namespace {

// The permissions a newly created file gets under the process's umask.
void giveUsualPermissions(const QString& path) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(QFile::encodeName(path).constData(), 0666 & ~mask);
}

bool syncToDisk(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}

}  // namespace

bool writeReplacing(const QString& target, const std::function<bool(const QString& path)>& write, QString& error) {
    const QFileInfo info(target);
    QTemporaryFile fresh(info.absolutePath() + "/." + info.fileName() + ".XXXXXX");
    fresh.setAutoRemove(false);
    if (!fresh.open()) {
        error = "Cannot write \"" + target + "\": " + fresh.errorString() + ".";
        return false;
    }
    const QString path = fresh.fileName();
    fresh.close();
    giveUsualPermissions(path);
    if (!write(path) || !syncToDisk(path)) {
        QFile::remove(path);
        error = "Cannot write \"" + target + "\": the file could not be written completely.";
        return false;
    }
    if (::rename(QFile::encodeName(path).constData(), QFile::encodeName(target).constData()) != 0) {
        const int cause = errno;
        QFile::remove(path);
        error = "Cannot write \"" + target + "\": " + QString::fromLocal8Bit(std::strerror(cause)) + ".";
        return false;
    }
    return true;
}

}  // namespace vantrep::app
