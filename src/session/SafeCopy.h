// Copying a file so that the target is never half-written: the bytes go to a
// fresh file beside the target, which takes the target's name only once it
// is complete. A failed copy leaves whatever was at the target as it was.
#pragma once

#include <QString>

namespace vantrep::session {

// Copies `source` to `target` (replacing it). Returns "" when done, else the
// error's description naming the file.
QString CopyReplacing(const QString& source, const QString& target);

// The memo file beside a table or structure file: the file in the same
// folder whose name is `path`'s with its last three characters replaced by
// "fpt", in any case. "" when there is none.
QString MemoFileOf(const QString& path);

}  // namespace vantrep::session
