// Writing an output file so that it is never half-written: the content goes
// to a new file beside the target, which replaces the target only once it is
// complete and on disk. A failed write leaves an earlier file as it was.
#pragma once

#include <QString>
#include <functional>

namespace vantrep::app {

// Calls `write` with the path of a fresh file in `target`'s folder; when it
// returns true, that file is flushed to disk and renamed to `target`. On
// failure the fresh file is removed and false is returned with the reason in
// `error`.
bool writeReplacing(const QString& target, const std::function<bool(const QString& path)>& write, QString& error);

}  // namespace vantrep::app
