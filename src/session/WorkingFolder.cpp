#include "WorkingFolder.h"

#include "engine/EngineError.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <system_error>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace vantrep::session {

namespace fs = std::filesystem;
using engine::EngineError;

namespace {

const QString kContainerName = QStringLiteral("VantRepTempFolder");

fs::path toPath(const QString& path) { return fs::path(QFile::encodeName(path).toStdString()); }

QString fromPath(const fs::path& path) { return QFile::decodeName(QByteArray::fromStdString(path.native())); }

bool isPermissionError(const std::error_code& error) {
    return error == std::errc::permission_denied || error == std::errc::operation_not_permitted;
}

QString reason(const std::error_code& error) { return QString::fromStdString(error.message()); }

// A short random name for the working folder inside its container.
QString randomName() {
    static const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789");
    QString name = QStringLiteral("rad");
    for (int i = 0; i < 6; ++i)
        name += letters.at(QRandomGenerator::system()->bounded(letters.size()));
    return name;
}

// A fault on the report folder's side: reported, never a reason to try the
// next container.
EngineError sourceError(const fs::path& path, const std::error_code& error) {
    return EngineError(engine::errIo, QStringLiteral("Cannot read \"%1\" of the report folder: %2.")
                                          .arg(fromPath(path), reason(error))
                                          .toStdString());
}

// A working-folder container or its lock file, when `folder` is the
// temporary folder: never part of a copy, so that a report folder holding the
// temporary folder never copies the copy into itself.
bool isWorkingFolderEntry(const fs::path& folder, const fs::path& name, const fs::path& tempDir) {
    static const QRegularExpression pattern(QStringLiteral("^%1[0-9]+(\\.lock)?$").arg(kContainerName));
    std::error_code error;
    return fs::equivalent(folder, tempDir, error) && pattern.match(fromPath(name)).hasMatch();
}

// The folder permissions of `source` given to `target`, always with the
// owner's read, write and search permission, so that the program can fill
// the copy and clear it later.
std::error_code copyFolderPermissions(const fs::path& source, const fs::path& target) {
    std::error_code error;
    const fs::perms perms = fs::status(source, error).permissions();
    if (error)
        throw sourceError(source, error);
    fs::permissions(target, perms | fs::perms::owner_all, error);
    return error;
}

// Copies the contents of `from` into the existing folder `to`, overwriting.
// Symbolic links are copied as links, never followed (a dangling one too);
// subfolders keep their permissions. Returns the first error on the
// target's side (empty when all went well); throws for an error reading the
// report folder.
std::error_code copyContents(const fs::path& from, const fs::path& to, const fs::path& tempDir) {
    std::error_code listError;
    for (fs::directory_iterator it(from, listError); !listError && it != fs::directory_iterator();
         it.increment(listError)) {
        const fs::path source = it->path();
        if (isWorkingFolderEntry(from, source.filename(), tempDir))
            continue;
        const fs::path target = to / source.filename();
        std::error_code error;
        const fs::file_status status = it->symlink_status(error);
        if (error)
            throw sourceError(source, error);
        if (fs::is_symlink(status)) {
            fs::remove(target, error);
            if (!error)
                fs::copy_symlink(source, target, error);
        } else if (fs::is_directory(status)) {
            fs::create_directory(target, error);
            if (!error)
                error = copyFolderPermissions(source, target);
            if (!error)
                error = copyContents(source, target, tempDir);
        } else {
            if (::access(source.c_str(), R_OK) != 0)
                throw sourceError(source, std::error_code(errno, std::generic_category()));
            fs::copy_file(source, target, fs::copy_options::overwrite_existing, error);
        }
        if (error)
            return error;
    }
    if (listError)
        throw sourceError(from, listError);
    return {};
}

EngineError targetError(const QString& what, const fs::path& path, const std::error_code& error) {
    return EngineError(engine::errIo,
                       QStringLiteral("Cannot %1 \"%2\": %3.").arg(what, fromPath(path), reason(error)).toStdString());
}

// Removes what an earlier run left in the container, passing over `keep`.
void clearLeftovers(const fs::path& container, const fs::path& keep) {
    std::error_code ignored;
    std::vector<fs::path> leftovers;
    for (fs::directory_iterator it(container, ignored); !ignored && it != fs::directory_iterator(); it.increment(ignored))
        if (it->path().filename() != keep.filename()) leftovers.push_back(it->path());
    for (const fs::path& leftover : leftovers) fs::remove_all(leftover, ignored);
}

// Clears the container, makes the target in it and fills it. Returns false on
// "permission denied" (the caller moves on to the next container); throws for
// any other failure. An earlier run's copy is cleared on a thread of its own
// while the new copy is made (removing a large table takes as long as a good
// part of copying it); the container is locked, so nothing else touches it,
// and both are done before this returns.
bool fillContainer(const fs::path& source, const fs::path& container, const fs::path& target,
                   const fs::path& tempDir) {
    std::error_code ignored;
    if (!fs::is_directory(fs::symlink_status(container, ignored)))
        fs::remove_all(container, ignored);
    fs::create_directory(container, ignored);
    fs::remove_all(target, ignored);
    std::jthread clearing;
    try {
        clearing = std::jthread(clearLeftovers, container, target);
    } catch (const std::system_error&) {
        clearLeftovers(container, target);  // no thread to be had
    }

    std::error_code error;
    fs::create_directory(target, error);
    if (error) {
        if (isPermissionError(error))
            return false;
        throw targetError(QStringLiteral("create the working folder"), target, error);
    }
    error = copyFolderPermissions(source, target);
    if (!error)
        error = copyContents(source, target, tempDir);
    if (error) {
        if (isPermissionError(error))
            return false;
        throw targetError(QStringLiteral("copy the report into the working folder"), target, error);
    }
    return true;
}

}  // namespace

QString GetTempDir() {
    QString path = QDir::tempPath();
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

WorkingFolderLock::~WorkingFolderLock() { release(); }

WorkingFolderLock::WorkingFolderLock(WorkingFolderLock&& other) noexcept
    : fd_(other.fd_), container_(std::move(other.container_)) {
    other.fd_ = -1;
    other.container_.clear();
}

WorkingFolderLock& WorkingFolderLock::operator=(WorkingFolderLock&& other) noexcept {
    if (this != &other) {
        release();
        fd_ = other.fd_;
        container_ = std::move(other.container_);
        other.fd_ = -1;
        other.container_.clear();
    }
    return *this;
}

void WorkingFolderLock::release() {
    if (fd_ >= 0)
        ::close(fd_);  // closing the only descriptor drops the flock
    fd_ = -1;
    container_.clear();
}

WorkingFolderLock::Attempt WorkingFolderLock::tryTake(const QString& containerPath) {
    const QString lockPath = containerPath + QStringLiteral(".lock");
    const QByteArray encoded = QFile::encodeName(lockPath);
    const int fd = ::open(encoded.constData(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        const std::error_code error(errno, std::generic_category());
        if (isPermissionError(error))
            return Attempt::PermissionDenied;
        throw targetError(QStringLiteral("open the lock file"), toPath(lockPath), error);
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const std::error_code error(errno, std::generic_category());
        ::close(fd);
        if (error == std::errc::operation_would_block)
            return Attempt::HeldByOther;
        throw targetError(QStringLiteral("lock"), toPath(lockPath), error);
    }
    release();
    fd_ = fd;
    container_ = containerPath;
    return Attempt::Taken;
}

QString CopyToTempFolder(const QString& sFolder, WorkingFolderLock& lock, Ui& ui) {
    QString folder = sFolder;
    if (folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    const fs::path source = toPath(folder);
    const QString tempDir = GetTempDir();
    try {
        for (int n = 0; n <= std::numeric_limits<std::int16_t>::max(); ++n) {
            const QString container = tempDir + kContainerName + QString::number(n);
            const QString target = container + QLatin1Char('/') + randomName();
            if (lock.container() != container &&
                lock.tryTake(container) != WorkingFolderLock::Attempt::Taken)
                continue;
            if (fillContainer(source, toPath(container), toPath(target), toPath(tempDir)))
                return target + QLatin1Char('/');
        }
        throw EngineError(engine::errIo, QStringLiteral("No working folder can be made in \"%1\": every %2 "
                                                        "container is in use or refused.")
                                             .arg(tempDir, kContainerName)
                                             .toStdString());
    } catch (const EngineError& error) {
        ui.critical(QString::fromStdString(error.description()));
        return QString();
    }
}

}  // namespace vantrep::session
