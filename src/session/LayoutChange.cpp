#include "session/LayoutChange.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

#include "engine/EngineError.h"
#include "engine/dbf/DbfTable.h"
#include "session/FilterFile.h"
#include "session/SafeCopy.h"
#include "session/WorkingFolder.h"

namespace vantrep::session {

QString LayoutsFolder() {
    QString folder = qEnvironmentVariable("VANTREP_LAYOUTS");
    if (folder.isEmpty()) {
        QString data = qEnvironmentVariable("XDG_DATA_HOME");
        if (data.isEmpty()) data = QDir::homePath() + "/.local/share";
        folder = data + "/vantrep/layouts";
    }
    folder = QDir::cleanPath(folder);
    QDir().mkpath(folder);
    return folder;
}

QString LayoutExtension(const Session& session) { return session.bDetailed ? ".dtr" : ".str"; }

QStringList MissingLayoutFields(const Session& s, const QString& layoutPath) {
    using engine::dbf::DbfTable;
    const auto data = DbfTable::open((s.sReportFolder + s.sDataFile).toStdString());
    QSet<QString> columns;
    for (const auto& field : data->fields()) columns.insert(QString::fromStdString(field.name).toUpper());
    const auto layout = DbfTable::open(layoutPath.toStdString());
    const int fname = layout->fieldIndex("FNAME");
    if (fname < 0) throw engine::EngineError(0, "\"" + layoutPath.toStdString() + "\" has no column fname.");
    QStringList missing;
    for (uint32_t r = 0; r < layout->recordCount(); ++r) {
        if (layout->isDeleted(r)) continue;
        const QString name =
            QString::fromStdString(layout->decode(layout->value(r, fname).asString())).trimmed();
        if (!columns.contains(name.toUpper())) missing << name;
    }
    return missing;
}

QList<LayoutFile> FittingLayouts(const Session& s, const QString& folder) {
    QList<LayoutFile> fitting;
    QTemporaryDir copy(GetTempDir() + "VantRepLayouts-XXXXXX");
    if (!copy.isValid()) return fitting;
    for (const LayoutFile& layout : ListLayouts(folder, LayoutExtension(s))) {
        const QString copied = copy.path() + "/" + layout.fileName;
        if (!QFile::copy(layout.path, copied)) continue;
        for (const QString& companion : {MemoFileOf(layout.path), FilterFileOf(layout.path)})
            if (!companion.isEmpty()) QFile::copy(companion, copy.path() + "/" + QFileInfo(companion).fileName());
        try {
            if (MissingLayoutFields(s, copied).isEmpty()) fitting.append(layout);
        } catch (const engine::EngineError&) {
            // A layout that cannot be read is not offered.
        }
    }
    return fitting;
}

OpenOutcome ApplyLayout(Session& s, const QString& layoutPath) {
    s.sStructFile = layoutPath;
    if (s.rsStruct.State() == engine::adStateOpen) s.rsStruct.Close();
    s.rsStruct.Open("select * from [" + s.sStructFile.toStdString() + "]", s.cnData, engine::adOpenStatic,
                    engine::adLockReadOnly);
    s.bClipDet = false;
    s.ResetLayoutArrays();
    const OpenOutcome loaded = LoadDizaveLayout(s);
    s.nQueryIndex = 1;
    return loaded;
}

OpenOutcome ApplyLayoutFile(Session& s, const QString& layoutPath) {
    const QString wanted = LayoutExtension(s);
    if (!layoutPath.endsWith(wanted, Qt::CaseInsensitive)) {
        s.ui.critical("The layout \"" + layoutPath + "\" does not suit this report: a " +
                      (s.bDetailed ? "detailed listing" : "summary") + " takes a \"" + wanted + "\" layout.");
        return OpenOutcome::Refused;
    }
    QStringList missing;
    try {
        missing = MissingLayoutFields(s, layoutPath);
    } catch (const engine::EngineError& e) {
        s.ui.critical("The layout \"" + layoutPath + "\" cannot be read: " + QString::fromStdString(e.what()));
        return OpenOutcome::Refused;
    }
    if (!missing.isEmpty()) {
        s.ui.critical("The layout \"" + layoutPath + "\" does not fit this report: the data table has no field " +
                      missing.join(", ") + ".");
        return OpenOutcome::Refused;
    }
    try {
        return ApplyLayout(s, QFileInfo(layoutPath).absoluteFilePath());
    } catch (const engine::EngineError& e) {
        s.ui.critical(QString::fromStdString(e.what()));
        return OpenOutcome::Refused;
    }
}

}  // namespace vantrep::session
