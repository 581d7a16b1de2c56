#include "session/LayoutChange.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

#include "engine/EngineError.h"
#include "engine/dbf/DbfTable.h"
#include "session/FieldDictionary.h"
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

namespace {

// What switching to another layout replaces, kept to be put back when the
// layout cannot be loaded.
struct LayoutState {
    QString sStructFile;
    bool bClipDet = false;
    FieldList aDims;
    FieldList aVars;
    std::vector<ValueList> cmbField;
    CrossTabQuery crossTab;
    int nQueryIndex = 1;
    QString sPageFilter;
    QString sPageFilterText;
    QString sReportName;
    QString sReportTitle;
    bool summaryCommandsVisible = false;
    int explorerBar = 0;
};

LayoutState stateOf(const Session& s) {
    return {s.sStructFile, s.bClipDet, s.aDims, s.aVars, s.cmbField, s.crossTab, s.nQueryIndex, s.sPageFilter,
            s.sPageFilterText, s.sReportName, s.sReportTitle, s.summaryCommandsVisible, s.explorerBar};
}

void openStructure(Session& s) {
    if (s.rsStruct.State() == engine::adStateOpen) s.rsStruct.Close();
    s.rsStruct.Open("select * from [" + s.sStructFile.toStdString() + "]", s.cnData, engine::adOpenStatic,
                    engine::adLockReadOnly);
}

void restore(Session& s, const LayoutState& kept) {
    s.sStructFile = kept.sStructFile;
    s.bClipDet = kept.bClipDet;
    s.aDims = kept.aDims;
    s.aVars = kept.aVars;
    s.cmbField = kept.cmbField;
    s.crossTab = kept.crossTab;
    s.nQueryIndex = kept.nQueryIndex;
    s.sPageFilter = kept.sPageFilter;
    s.sPageFilterText = kept.sPageFilterText;
    s.sReportName = kept.sReportName;
    s.sReportTitle = kept.sReportTitle;
    s.summaryCommandsVisible = kept.summaryCommandsVisible;
    s.explorerBar = kept.explorerBar;
    try {
        openStructure(s);
    } catch (const engine::EngineError& e) {
        s.ui.critical(QString::fromStdString(e.description()));
    }
}

// Messages kept instead of shown: what reading a layout's dictionary would say.
class RecordingUi : public Ui {
public:
    explicit RecordingUi(Ui& shown) : shown_(shown) {}
    MessageAnswer message(const QString& text, const QString&, MessageIcon, MessageButtons) override {
        texts << text;
        return MessageAnswer::Ok;
    }
    void setBusy(bool busy) override { shown_.setBusy(busy); }
    void flood(int percent) override { shown_.flood(percent); }
    QString saveFileName(const QString&, const QString&, const QString&) override { return QString(); }
    QColor chooseColor(const QColor&, const QString&) override { return QColor(); }
    QString browseForFolder(const QString&, const QString&) override { return QString(); }

    QStringList texts;

private:
    Ui& shown_;
};

// Why the field dictionary of the layout at `layoutPath` describes no
// report, in the dictionary's own words; "" when it describes one.
QString refusalOf(Session& s, const QString& layoutPath) {
    engine::Recordset layout;
    layout.Open("select * from [" + layoutPath.toStdString() + "]", s.cnData, engine::adOpenStatic,
                engine::adLockReadOnly);
    RecordingUi recorded(s.ui);
    if (!ReadFieldDictionary(layout, s.bDetailed, layoutPath, recorded).refused) return QString();
    // At start-up these messages end the program; here the open report stays.
    const QString ending = QStringLiteral(" Can't continue!");
    QStringList reasons;
    for (QString reason : recorded.texts) {
        if (reason.endsWith(ending)) reason.chop(ending.size());
        reasons << reason;
    }
    return reasons.join("\r\n");
}

}  // namespace

OpenOutcome ApplyLayout(Session& s, const QString& layoutPath) {
    const LayoutState kept = stateOf(s);
    try {
        s.sStructFile = layoutPath;
        openStructure(s);
        s.bClipDet = false;
        s.ResetLayoutArrays();
        const OpenOutcome loaded = LoadDizaveLayout(s);
        s.nQueryIndex = 1;
        if (loaded == OpenOutcome::Opened) return loaded;
    } catch (const engine::EngineError& e) {
        s.ui.critical(QString::fromStdString(e.description()));
    }
    restore(s, kept);
    return OpenOutcome::Refused;
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
    const QString path = QFileInfo(layoutPath).absoluteFilePath();
    QString refusal;
    try {
        refusal = refusalOf(s, path);
    } catch (const engine::EngineError& e) {
        refusal = QString::fromStdString(e.description());
    }
    if (!refusal.isEmpty()) {
        s.ui.critical("The layout \"" + layoutPath + "\" cannot be applied; the report keeps its layout.\r\n" +
                      refusal);
        return OpenOutcome::Refused;
    }
    return ApplyLayout(s, path);
}

}  // namespace vantrep::session
