// The layouts folder as the layout dialogs show it: the saved layouts of one
// report kind with their sizes, types and dates, the file a layout is saved
// to, renaming a layout and sending one to the trash. Each layout's memo
// file (the same name ending in "fpt") and filter file (ending in "flt",
// FilterFile.h) travel with it.
#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include "session/Ui.h"

namespace vantrep::session {

struct LayoutFile {
    QString fileName;  // with its extension, as it is on disk
    QString path;      // the full path
    qint64 size = 0;   // bytes
    QString type;      // the kind of report it lays out, in words
    QDateTime modified;
};

// The layouts in `folder` whose extension is `extension` (".str" or ".dtr",
// compared without regard to case), in file-name order.
QList<LayoutFile> ListLayouts(const QString& folder, const QString& extension);

// The words the layout lists show for a layout of `extension`.
QString LayoutTypeText(const QString& extension);

// The file a layout named `baseName` is saved to in `folder`: a layout of
// that name and kind already there (whatever the case of its name), else
// `baseName` + `extension` upper-cased.
QString LayoutSavePath(const QString& folder, const QString& baseName, const QString& extension);

// Whether `name` can be a layout's file name: not blank, no "/", not "." or "..".
bool IsLayoutName(const QString& name);

// Renames the layout `oldName` in `folder` to `newName` (the extension of
// `oldName` is added when `newName` lacks it), its memo and filter files with
// it. Refuses a name that is no file name or that another file already has. Returns the
// new file name, or "" with `error` set to the description.
QString RenameLayout(const QString& folder, const QString& oldName, const QString& newName, QString& error);

// Sends the layout at `path` to the trash after the user confirmed it, then
// its memo and filter files without a second question. True when the layout went.
bool DeleteLayout(const QString& path, Ui& ui);

}  // namespace vantrep::session
