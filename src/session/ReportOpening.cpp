#include "session/ReportOpening.h"

#include <QDir>
#include <QFileInfo>

#include "engine/EngineError.h"
#include "session/DivisorRepair.h"
#include "session/FieldDictionary.h"
#include "session/ValueCoding.h"

namespace vantrep::session {

namespace {

const QString unauthorized = "Unauthorized execution. Can't continue!";

bool endsWithIgnoringCase(const QString& name, const QString& ending) {
    return name.right(3).compare(ending, Qt::CaseInsensitive) == 0;
}

// The text before the last "/" of a path taken as a whole.
QString parentOf(const QString& path) {
    int slash = path.lastIndexOf('/');
    return slash < 0 ? QString() : path.left(slash);
}

// Files of `folder` matching `pattern` without regard to case, in the order
// the directory gives them.
QStringList filesMatching(const QString& folder, const QString& pattern) {
    if (folder.isEmpty()) return {};  // no working copy: never the current folder
    QDir dir(folder);
    return dir.entryList({pattern}, QDir::Files | QDir::Hidden, QDir::Unsorted);
}

// The data table beside a structure file: the first "*.dbf", passing over a
// first match named exactly "tempstr.dbf".
QString dataTableIn(const QString& folder) {
    QStringList tables = filesMatching(folder, "*.dbf");
    if (tables.isEmpty()) return QString();
    if (tables[0] == "tempstr.dbf") return tables.size() > 1 ? tables[1] : QString();
    return tables[0];
}

// Whatever happens next, the previous report is no longer open: its
// structure and query results go.
void closeReport(Session& s) {
    if (s.rsStruct.State() == engine::adStateOpen) s.rsStruct.Close();
    if (s.rsData.State() == engine::adStateOpen) s.rsData.Close();
}

void openStructure(Session& s) {
    if (s.rsStruct.State() == engine::adStateOpen) s.rsStruct.Close();
    s.rsStruct.Open("SELECT * FROM [" + s.sStructFile.toStdString() + "]", s.cnData, engine::adOpenStatic,
                    engine::adLockReadOnly);
}

}  // namespace

void Session::ResetLayoutArrays() {
    aDims.clear();
    aVars.clear();
    cmbField.assign(1, ValueList());
    crossTab = CrossTabQuery();
    sPageFilter.clear();
    sPageFilterText.clear();
}

QString FixedReportField(const QString& cmdPath) {
    const QStringList fields = cmdPath.split(',');
    return fields.size() > 1 ? fields[1] : QString();
}

QString ConnectionStringFor(const QString& folder) {
    return "Driver=Microsoft Visual FoxPro Driver;UID=;PWD=;SourceDB=" + folder +
           ";SourceType=DBF;Exclusive=No;BackgroundFetch=No;Collate=Machine;";
}

namespace {

// The value lists and the first query of a summary read the row and column
// dimensions and sum the variables: the engine decodes them all in one pass.
void prepareSummaryFields(Session& s) {
    std::vector<std::string> keys, sums;
    for (int i = 1; i <= s.aDims.upperBound(); ++i) {
        const QString role = s.aDims(i).Layout.trimmed();
        if (role == "R" || role == "C") keys.push_back(s.aDims(i).FName.trimmed().toStdString());
    }
    for (int v = 1; v <= s.aVars.upperBound(); ++v)
        if (s.aVars(v).Level != 0) sums.push_back(s.aVars(v).FName.trimmed().toStdString());
    s.cnData.prepareFields(s.sDataFile.toStdString(), keys, sums);
}

}  // namespace

OpenOutcome LoadDizaveLayout(Session& s) {
    FieldDictionary d = ReadFieldDictionary(s.rsStruct, s.bDetailed, s.sStructFile, s.ui);
    s.sReportName = d.sReportName;
    s.sReportTitle = d.sReportTitle;
    if (d.refused) return OpenOutcome::Fatal;
    s.aDims = d.aDims;
    s.aVars = d.aVars;
    s.bClipDet = s.bClipDet || d.bClipDet;
    s.cmbField.assign(static_cast<size_t>(s.aDims.upperBound()) + 1, ValueList());
    if (!s.bDetailed) prepareSummaryFields(s);
    for (int i = 1; i <= s.aDims.upperBound(); ++i) {
        const FieldDef& f = s.aDims(i);
        ValueList& list = s.cmbField[static_cast<size_t>(i)];
        list.items << f.FDesc;
        QString role = f.Layout.trimmed();
        if (s.bDetailed || (role != "R" && role != "C")) continue;
        // A table that cannot be read fails every list alike: one message is enough.
        if (!FillCombo(list, f.FName, f.FType.trimmed(), s.cnData, s.sDataFile, s.ui)) return OpenOutcome::Refused;
        if (f.FType.trimmed() == "N" && f.FName == "MONTH") list.tag = "MonthStrRev";
        if (f.FName == "WEEKDAY") list.tag = "WeekDayStrRev";
    }
    s.summaryCommandsVisible = !s.bDetailed;
    s.explorerBar = s.bDetailed ? 7 : 5;
    return OpenOutcome::Opened;
}

OpenOutcome OpenDizave(Session& s, const QString& cmdPath) {
    if (cmdPath == "-Embedding" || cmdPath.isEmpty()) return OpenOutcome::Idle;

    if (s.commandLine.isEmpty())
        s.sReportPath = cmdPath;
    else if (parentOf(cmdPath) != parentOf(s.sReportPath))
        s.sReportPath.clear();

    QStringList fields = cmdPath.split(',');
    s.ResetLayoutArrays();
    s.nQueryIndex = 1;
    closeReport(s);
    const QString& first = fields[0];
    int slash = first.lastIndexOf('/');
    if (slash < 0) {
        s.ui.plain(first);
        s.ui.critical(unauthorized);
        return OpenOutcome::Fatal;
    }
    try {
        QString file = first.mid(slash + 1);
        if (file.isEmpty() || QFileInfo(first).isDir()) {
            // A folder is never taken for a file in its parent.
            s.ui.critical("\"" + first + "\" is a folder. Name the report's data table (.dbf) or its structure file "
                          "(.str, .dtr) in it.");
            return OpenOutcome::Refused;
        }
        s.sOpenedFolder = QDir::cleanPath(QFileInfo(first.left(slash + 1)).absoluteFilePath()) + "/";
        s.sReportFolder = CopyToTempFolder(first.left(slash + 1), s.workingFolderLock, s.ui);
        QString dataTable, structure;
        if (!endsWithIgnoringCase(file, "dbf")) {
            structure = file;
            dataTable = dataTableIn(s.sReportFolder);
            if (dataTable.isEmpty()) {
                s.ui.critical("No database file (*.dbf) found in the folder. Can't continue!");
                return OpenOutcome::Fatal;
            }
            if (endsWithIgnoringCase(structure, "str")) s.bDetailed = false;
            if (endsWithIgnoringCase(structure, "dtr")) s.bDetailed = true;
        } else {
            dataTable = file;
            if (fields.size() == 1) {
                QStringList found = filesMatching(s.sReportFolder, "*.str");
                s.bDetailed = found.isEmpty();
                if (found.isEmpty()) found = filesMatching(s.sReportFolder, "*.dtr");
                if (found.isEmpty()) {
                    s.ui.critical("No structure file (*.str/*.dtr) found in the folder. Can't continue!");
                    return OpenOutcome::Fatal;
                }
                structure = found[0];
            }
        }
        s.sDataFile = dataTable;
        s.sStructFile = s.sReportFolder + structure;

        if (s.cnData.State() == engine::adStateOpen) s.cnData.Close();
        s.cnData.Open(ConnectionStringFor(s.sReportFolder).toStdString());

        if (fields.size() > 1) return OpenOutcome::FixedReport;

        if (s.bDetailed) NormalizeDivisor(s.cnData, s.sStructFile, s.ui);
        openStructure(s);
        s.bClipDet = false;
        const OpenOutcome loaded = LoadDizaveLayout(s);
        if (loaded != OpenOutcome::Opened) return loaded;
        for (int i = 1; i <= s.aDims.upperBound(); ++i) {
            QString role = s.aDims(i).Layout.trimmed();
            if (role != "R" && role != "C") continue;
            if (!CheckDimensionValues(s.cmbField[static_cast<size_t>(i)].items, s.aDims(i).FName, "C", s.cnData,
                                      s.sDataFile, s.ui))
                return OpenOutcome::Refused;
        }
        return OpenOutcome::Opened;
    } catch (const engine::EngineError& e) {
        s.ui.critical(QString::fromStdString(e.description()));
        return OpenOutcome::Refused;
    }
}

}  // namespace vantrep::session
