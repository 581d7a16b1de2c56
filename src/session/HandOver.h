// The hand-over folder: the folder in which the delivering application hands
// over one report. When the program closes after a start with an argument it
// removes that folder, but only when the delivering application marked it as
// handed over for this run; any other folder (a report the user keeps) stays.
#pragma once

#include <QString>

namespace vantrep::session {

// The file the delivering application creates in a hand-over folder to say
// that the program may remove the folder when it closes.
inline constexpr char kHandOverMarker[] = ".vantrep-handover";

// The folder that holds the command-line text taken as one path (the text up
// to its last "/", trailing "/" ignored); empty when the text names no folder
// or only the root folder.
QString handOverFolder(const QString& commandLinePath);

// True when `path` (a file that may not exist yet) lies in
// handOverFolder(commandLinePath) or below it and that folder holds
// kHandOverMarker: whatever is written there goes with the folder when the
// program closes. Paths are compared after links are resolved.
bool isInHandOverFolder(const QString& path, const QString& commandLinePath);

// Removes handOverFolder(commandLinePath) when it holds kHandOverMarker.
// Removes without force: files and subfolders without the owner's write
// permission stay, with the folders that hold them; symbolic links are
// removed, never followed, and a folder that is itself a symbolic link is
// left alone. Returns true when the folder is gone. Errors are ignored (the
// program is closing).
bool removeHandOverFolder(const QString& commandLinePath);

}  // namespace vantrep::session
