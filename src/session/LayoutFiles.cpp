#include "session/LayoutFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "session/FilterFile.h"
#include "session/SafeCopy.h"
#include "session/Shell.h"

namespace vantrep::session {

namespace {

bool hasExtension(const QString& name, const QString& extension) {
    return name.endsWith(extension, Qt::CaseInsensitive) && name.size() > extension.size();
}

// The memo file name that goes with the layout file name `name`.
QString memoNameFor(const QString& name, const QString& memoSuffix) { return name.left(name.size() - 3) + memoSuffix; }

}  // namespace

QString LayoutTypeText(const QString& extension) {
    return extension.compare(".dtr", Qt::CaseInsensitive) == 0 ? "Vant Report detailed listing"
                                                               : "Vant Report summary report";
}

QList<LayoutFile> ListLayouts(const QString& folder, const QString& extension) {
    QList<LayoutFile> layouts;
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& file : files) {
        if (!hasExtension(file.fileName(), extension)) continue;
        layouts.append({file.fileName(), file.absoluteFilePath(), file.size(), LayoutTypeText(extension),
                        file.lastModified()});
    }
    return layouts;
}

QString LayoutSavePath(const QString& folder, const QString& baseName, const QString& extension) {
    const QString wanted = baseName + extension;
    for (const LayoutFile& layout : ListLayouts(folder, extension))
        if (layout.fileName.compare(wanted, Qt::CaseInsensitive) == 0) return layout.path;
    return folder + "/" + baseName + extension.toUpper();
}

bool IsLayoutName(const QString& name) {
    const QString trimmed = name.trimmed();
    return !trimmed.isEmpty() && !name.contains('/') && trimmed != "." && trimmed != "..";
}

QString RenameLayout(const QString& folder, const QString& oldName, const QString& newName, QString& error) {
    const QString extension = "." + QFileInfo(oldName).suffix();
    QString target = newName.trimmed();
    if (!IsLayoutName(target)) {
        error = "\"" + newName + "\" is not a file name.";
        return QString();
    }
    if (!hasExtension(target, extension)) target += extension;
    if (target == oldName) return target;
    const QString from = folder + "/" + oldName, to = folder + "/" + target;
    if (QFileInfo::exists(to)) {
        error = "Cannot rename \"" + oldName + "\": a file named \"" + target + "\" already exists.";
        return QString();
    }
    // A memo or filter file of the new name, in any case, would become this layout's.
    for (const QString& taken : {MemoFileOf(to), FilterFileOf(to)}) {
        if (taken.isEmpty()) continue;
        error = "Cannot rename \"" + oldName + "\": a file named \"" + QFileInfo(taken).fileName() +
                "\" already exists.";
        return QString();
    }
    const QString memo = MemoFileOf(from);
    const QString memoTarget = memo.isEmpty() ? QString() : folder + "/" + memoNameFor(target, memo.right(3));
    const QString filters = FilterFileOf(from);
    const QString filtersTarget =
        filters.isEmpty() ? QString() : folder + "/" + memoNameFor(target, filters.right(3));
    QFile layout(from);
    if (!layout.rename(to)) {
        error = "Cannot rename \"" + oldName + "\" to \"" + target + "\": " + layout.errorString();
        return QString();
    }
    // A layout without its memo or its filters is damaged: on a failure it keeps its old name.
    if (!memo.isEmpty()) {
        QFile memoFile(memo);
        if (!memoFile.rename(memoTarget)) {
            error = "Cannot rename \"" + QFileInfo(memo).fileName() + "\": " + memoFile.errorString();
            QFile::rename(to, from);
            return QString();
        }
    }
    if (!filters.isEmpty()) {
        QFile filterFile(filters);
        if (!filterFile.rename(filtersTarget)) {
            error = "Cannot rename \"" + QFileInfo(filters).fileName() + "\": " + filterFile.errorString();
            if (!memo.isEmpty()) QFile::rename(memoTarget, memo);
            QFile::rename(to, from);
            return QString();
        }
    }
    return target;
}

bool DeleteLayout(const QString& path, Ui& ui) {
    const QString memo = MemoFileOf(path);
    const QString filters = FilterFileOf(path);
    if (!RecycleDelete(path, true, ui)) return false;
    if (!memo.isEmpty()) RecycleDelete(memo, false, ui);
    if (!filters.isEmpty()) RecycleDelete(filters, false, ui);
    return true;
}

}  // namespace vantrep::session
