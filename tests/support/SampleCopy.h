// Copies of the shipped sample report folders, so that no test ever opens,
// changes or leaves anything in the samples themselves.
#pragma once

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QString>

namespace vantrep::testing {

// Copies samples/<name> with its subfolders to <into>/<name>; returns the
// copy's folder ending in "/".
inline QString copySampleFolder(const QString& name, const QString& into) {
    const QString from = QString(VANTREP_SAMPLES_DIR) + "/" + name;
    const QString to = into + "/" + name + "/";
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + QDir(from).relativeFilePath(file);
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(file, target);
    }
    return to;
}

}  // namespace vantrep::testing
