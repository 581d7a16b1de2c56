// The temporary working folder: a report folder is opened on a copy of it in
// the user's temporary folder, in a numbered container
// (<temp>/VantRepTempFolder<n>/<random>/). A running process holds an
// advisory lock on its container for as long as its copy is in use, so that
// another process starting at the same time never clears it; containers of
// ended runs are cleared and reused.
#pragma once

#include "Ui.h"

#include <QString>

namespace vantrep::session {

// The platform's temporary folder (QDir::tempPath(), which honours TMPDIR),
// always ending in "/".
QString GetTempDir();

// The lock a process holds on one working-folder container. The lock is an
// flock() on the file "<container>.lock" beside the container, so clearing
// the container never touches it; the kernel releases it when the process
// ends, so a crashed run never blocks a container for good.
class WorkingFolderLock {
public:
    WorkingFolderLock() = default;  // holds nothing
    ~WorkingFolderLock();
    WorkingFolderLock(WorkingFolderLock&& other) noexcept;
    WorkingFolderLock& operator=(WorkingFolderLock&& other) noexcept;
    WorkingFolderLock(const WorkingFolderLock&) = delete;
    WorkingFolderLock& operator=(const WorkingFolderLock&) = delete;

    enum class Attempt { Taken, HeldByOther, PermissionDenied };

    // Tries, without waiting, to lock the container at `containerPath` (no
    // trailing "/"). On Taken this object holds the lock (any lock it held
    // before is released first); otherwise it is left unchanged. Throws
    // engine::EngineError for any other failure to open the lock file.
    Attempt tryTake(const QString& containerPath);

    bool holds() const { return fd_ >= 0; }
    // The locked container's path without trailing "/"; empty when nothing is held.
    const QString& container() const { return container_; }
    void release();

private:
    int fd_ = -1;
    QString container_;
};

// Copies the contents of the report folder `sFolder` (files and subfolders,
// overwriting) into a new working folder <GetTempDir()>VantRepTempFolder<n>/
// <random>/ and returns its path ending in "/". Symbolic links are copied as
// links and never followed; the folders keep their permissions (the owner
// always keeps read, write and search); the working-folder containers and
// their lock files are never copied, when the report folder holds the
// temporary folder or is it. n starts at 0; a container
// that another live process holds, or where the copy fails with "permission
// denied", is passed over for the next n. The chosen container is cleared
// first and `lock` then holds it; a container `lock` already holds (an
// earlier open in this process) is cleared and reused. Any other failure is
// shown through `ui.critical` and the result is "".
QString CopyToTempFolder(const QString& sFolder, WorkingFolderLock& lock, Ui& ui);

}  // namespace vantrep::session
