// The desktop shell: opening a document with the application the desktop
// associates with it, and sending a file to the trash (the recycle bin).
// Failures are told to the user through Ui with the program's own messages.
#pragma once

#include <QString>

#include "session/Ui.h"

namespace vantrep::session {

// The text shown for a failed shell request with result `result` (0..32, the
// shell's error codes): the error number, "-", and the message, for example
// "53-File not found" for result 2.
QString shellErrorText(int result);

// Opens `file` (relative to `folder` when it is relative and `folder` is not
// empty) with the desktop's associated application. Returns true when the
// desktop accepted the request. A missing folder (result 3), a missing file
// (result 2), an unreadable file (result 5) or a file type no application
// opens (result 31) is shown as shellErrorText in a plain message box and
// returns false.
bool ShellExecuteFile(const QString& file, const QString& folder, Ui& ui);

// Moves the file at `path` to the desktop's trash. With `confirm`, asks
// first ("Confirm File Delete", Yes/No) and returns false on No. Returns true
// when the file went to the trash, false otherwise.
bool RecycleDelete(const QString& path, bool confirm, Ui& ui);

}  // namespace vantrep::session
