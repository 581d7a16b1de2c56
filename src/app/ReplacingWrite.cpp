#include "app/ReplacingWrite.h"

#include <QDir>
#include <QFile>
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

// write(path), the file at `path` removed when it throws.
bool writeOrRemove(const std::function<bool(const QString& path)>& write, const QString& path) {
    try {
        return write(path);
    } catch (...) {
        QFile::remove(path);
        throw;
    }
}

QString reason(int cause) { return QString::fromLocal8Bit(std::strerror(cause)); }

QString cannotWrite(const QString& target, const QString& why) { return "Cannot write \"" + target + "\": " + why + "."; }

// The file a target names once its links are followed.
QString followLinks(const QString& target) {
    QFileInfo info(target);
    if (!info.isSymLink()) return info.absoluteFilePath();
    const QString resolved = info.canonicalFilePath();
    return resolved.isEmpty() ? info.symLinkTarget() : resolved;  // a dangling link: its target is created
}

// True when `path` exists as something other than a regular file.
bool existsAsNonRegular(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && !S_ISREG(st.st_mode);
}

// The permissions a newly created file gets under the process's umask.
void giveUsualPermissions(const QString& path) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(QFile::encodeName(path).constData(), 0666 & ~mask);
}

// Writes all of `bytes` to the open descriptor, every write checked.
bool writeAll(int fd, const QByteArray& bytes, int& cause) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0) {
            if (errno == EINTR) continue;
            cause = errno;
            return false;
        }
        done += n;
    }
    return true;
}

bool syncToDisk(const QString& path, int& cause) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0) {
        cause = errno;
        return false;
    }
    const bool synced = ::fsync(fd) == 0;
    if (!synced) cause = errno;
    return ::close(fd) == 0 && synced;
}

// A fresh, empty file named after `target` in `folder`; "" when none can be made.
QString freshFileIn(const QString& folder, const QString& target, QString& why) {
    QTemporaryFile fresh(folder + "/." + QFileInfo(target).fileName() + ".XXXXXX");
    fresh.setAutoRemove(false);
    if (!fresh.open()) {
        why = fresh.errorString();
        return QString();
    }
    fresh.close();
    giveUsualPermissions(fresh.fileName());
    return fresh.fileName();
}

// A device or pipe: the content is made in a private file first, then
// copied into the target with every write checked.
bool writeInPlace(const QString& target, const QString& real,
                  const std::function<bool(const QString& path)>& write, QString& error) {
    QString why;
    const QString path = freshFileIn(QDir::tempPath(), target, why);
    if (path.isEmpty()) {
        error = cannotWrite(target, why);
        return false;
    }
    QFile made(path);
    if (!writeOrRemove(write, path) || !made.open(QIODevice::ReadOnly)) {
        QFile::remove(path);
        error = cannotWrite(target, "the content could not be made");
        return false;
    }
    QByteArray bytes;
    try {
        bytes = made.readAll();
    } catch (...) {
        QFile::remove(path);
        throw;
    }
    made.close();
    QFile::remove(path);
    const int fd = ::open(QFile::encodeName(real).constData(), O_WRONLY);
    int cause = 0;
    bool written = fd >= 0 && writeAll(fd, bytes, cause);
    if (fd < 0) cause = errno;
    if (fd >= 0 && ::close(fd) != 0 && written) {
        cause = errno;
        written = false;
    }
    if (!written) error = cannotWrite(target, reason(cause));
    return written;
}

}  // namespace

bool writeReplacing(const QString& target, const std::function<bool(const QString& path)>& write, QString& error) {
    const QString real = followLinks(target);
    if (existsAsNonRegular(real)) return writeInPlace(target, real, write, error);
    QString why;
    const QString path = freshFileIn(QFileInfo(real).absolutePath(), target, why);
    if (path.isEmpty()) {
        error = cannotWrite(target, why);
        return false;
    }
    int cause = 0;
    if (!writeOrRemove(write, path) || !syncToDisk(path, cause)) {
        QFile::remove(path);
        error = cannotWrite(target, cause ? reason(cause) : QString("the file could not be written completely"));
        return false;
    }
    if (::rename(QFile::encodeName(path).constData(), QFile::encodeName(real).constData()) != 0) {
        cause = errno;
        QFile::remove(path);
        error = cannotWrite(target, reason(cause));
        return false;
    }
    return true;
}

bool writeBytesReplacing(const QString& target, const QByteArray& bytes, QString& error) {
    int cause = 0;
    const bool written = writeReplacing(
        target,
        [&](const QString& path) {
            const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_TRUNC);
            if (fd < 0) {
                cause = errno;
                return false;
            }
            const bool all = writeAll(fd, bytes, cause);
            return ::close(fd) == 0 && all;
        },
        error);
    if (!written && cause) error = cannotWrite(target, reason(cause));
    return written;
}

}  // namespace vantrep::app
