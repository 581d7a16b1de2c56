// Writing an output file so that it is never half-written and never silently
// lost: the content goes to a new file beside the target, which replaces the
// target only once it is complete and on disk, so a failed write leaves an
// earlier file as it was. A target that is a link is followed; a target that
// is not a regular file (a device, a pipe) is written in place, every write
// checked, and never replaced.
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

namespace vantrep::app {

// Calls `write` with the path of a fresh file; when it returns true, the
// content reaches `target` as described above. On failure nothing is left
// under a fresh name and false is returned with the reason in `error`; an
// exception from `write` goes on to the caller, the fresh file removed.
bool writeReplacing(const QString& target, const std::function<bool(const QString& path)>& write, QString& error);

// `bytes` written to `target` the same way.
bool writeBytesReplacing(const QString& target, const QByteArray& bytes, QString& error);

}  // namespace vantrep::app
