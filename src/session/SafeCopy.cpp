#include "session/SafeCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace vantrep::session {

QString CopyReplacing(const QString& source, const QString& target) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) return "Cannot read \"" + source + "\": " + in.errorString() + ".";
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) return "Cannot write \"" + target + "\": " + out.errorString() + ".";
    constexpr qint64 chunkSize = 1 << 20;
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(chunkSize);
        if (chunk.isEmpty()) {
            out.cancelWriting();
            return "Cannot read \"" + source + "\": " + in.errorString() + ".";
        }
        if (out.write(chunk) != chunk.size()) {
            const QString why = out.errorString();
            out.cancelWriting();
            return "Cannot write \"" + target + "\": " + why + ".";
        }
    }
    if (!out.commit()) return "Cannot write \"" + target + "\": " + out.errorString() + ".";
    return QString();
}

QString MemoFileOf(const QString& path) {
    const QFileInfo info(path);
    const QString wanted = info.fileName().left(info.fileName().size() - 3) + "fpt";
    for (const QString& name : QDir(info.absolutePath()).entryList(QDir::Files | QDir::Hidden))
        if (name.compare(wanted, Qt::CaseInsensitive) == 0) return info.absolutePath() + "/" + name;
    return QString();
}

}  // namespace vantrep::session
