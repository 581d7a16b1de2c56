#include "session/ReportSaving.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <string>
#include <vector>

#include "engine/EngineError.h"
#include "engine/dbf/DbfTable.h"
#include "engine/dbf/DbfWriter.h"
#include "session/FilterFile.h"
#include "session/SafeCopy.h"

namespace vantrep::session {

namespace {

using engine::Value;
using engine::dbf::DbfTable;
using engine::dbf::DbfWriter;

// What the writer needs of each live row of a structure table.
struct StructureRow {
    uint32_t record = 0;
    QString fname;   // trimmed, upper-cased
    QString ftype;   // trimmed, upper-cased
    QString layout;  // trimmed
};

QString textOf(const DbfTable& table, uint32_t record, int field) {
    if (field < 0) return QString();
    const Value v = table.value(record, field);
    return QString::fromStdString(table.decode(v.asString())).trimmed();
}

std::vector<StructureRow> readRows(const std::string& path) {
    const auto table = DbfTable::open(path);
    const int fname = table->fieldIndex("FNAME"), ftype = table->fieldIndex("FTYPE"), layout = table->fieldIndex("LAYOUT");
    std::vector<StructureRow> rows;
    for (uint32_t r = 0; r < table->recordCount(); ++r) {
        if (table->isDeleted(r)) continue;
        rows.push_back({r, textOf(*table, r, fname).toUpper(), textOf(*table, r, ftype).toUpper(), textOf(*table, r, layout)});
    }
    return rows;
}

int fieldOf(const DbfWriter& writer, const char* name) {
    const auto& fields = writer.fields();
    for (size_t i = 0; i < fields.size(); ++i)
        if (QString::fromStdString(fields[i].name).compare(name, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
    throw engine::EngineError(0, std::string("The structure file has no column ") + name + ".");
}

void writeSummary(const Session& s, const std::vector<StructureRow>& rows, DbfWriter& w) {
    const int layout = fieldOf(w, "LAYOUT"), level = fieldOf(w, "LEVEL"), fdec = fieldOf(w, "FDEC"),
              showTotal = fieldOf(w, "SHOWTOTAL");
    int k = 0;
    for (const StructureRow& row : rows) {
        if (!row.layout.isEmpty()) {
            if (++k > s.aDims.upperBound()) break;
            const FieldDef& d = s.aDims(k);
            w.assign(row.record, layout, Value::string(d.Layout.trimmed().toStdString()));
            w.assign(row.record, level, Value::integer(d.Level));
            w.assign(row.record, fdec, Value::integer(d.FDec));
            w.assign(row.record, showTotal, Value::logical(d.ShowTotal));
        } else if (row.ftype == "N") {
            for (int v = 1; v <= s.aVars.upperBound(); ++v) {
                if (s.aVars(v).FName != row.fname) continue;
                w.assign(row.record, level, Value::integer(s.aVars(v).Level));
                w.assign(row.record, showTotal, Value::logical(s.aVars(v).ShowTotal));
            }
        }
    }
}

void writeListing(const Session& s, const std::vector<StructureRow>& rows, DbfWriter& w) {
    const int fdesc = fieldOf(w, "FDESC"), level = fieldOf(w, "LEVEL"), displayed = fieldOf(w, "DISPLAYED"),
              divisor = fieldOf(w, "DIVISOR");
    int k = 0;
    for (const StructureRow& row : rows) {
        if (++k > s.aDims.upperBound()) break;
        const FieldDef& d = s.aDims(k);
        w.assign(row.record, fdesc, Value::string(d.FDesc.toStdString()));
        w.assign(row.record, level, Value::integer(d.Level));
        w.assign(row.record, displayed, Value::logical(d.Displayed));
        w.assign(row.record, divisor, Value::integer(d.Divisor));
    }
}

// A fresh table name in `folder`: "<unique>.dbf", its memo "<unique>.fpt".
QString freshTableName(const QString& folder) {
    QTemporaryFile fresh(folder + "/savedstructXXXXXX.tmp");
    fresh.setAutoRemove(false);
    if (!fresh.open()) return QString();
    const QString name = fresh.fileName();
    fresh.close();
    QFile::remove(name);
    return name.left(name.size() - 4) + ".dbf";
}

// Removes the temporary table and its memo when it goes out of scope.
struct TemporaryTable {
    QString table, memo;
    ~TemporaryTable() {
        if (!table.isEmpty()) QFile::remove(table);
        if (!memo.isEmpty()) QFile::remove(memo);
    }
};

}  // namespace

QString WriteStructure(Session& s, const QString& sTarget) {
    TemporaryTable temp;
    temp.table = freshTableName(s.sReportFolder);
    if (temp.table.isEmpty()) return "Cannot make a temporary copy of the structure file in \"" + s.sReportFolder + "\".";
    if (QString error = CopyReplacing(s.sStructFile, temp.table); !error.isEmpty()) return error;
    const QString memo = MemoFileOf(s.sStructFile);
    if (!memo.isEmpty()) {
        temp.memo = temp.table.left(temp.table.size() - 4) + ".fpt";
        if (QString error = CopyReplacing(memo, temp.memo); !error.isEmpty()) return error;
    }
    try {
        const std::vector<StructureRow> rows = readRows(temp.table.toStdString());
        DbfWriter writer(temp.table.toStdString());
        if (s.bDetailed)
            writeListing(s, rows, writer);
        else
            writeSummary(s, rows, writer);
    } catch (const engine::EngineError& e) {
        return QString::fromStdString(e.what());
    }
    // The filter file is written before the structure replaces anything and
    // takes its name after it: a failure on the way leaves the old pair.
    FilterFileWrite filters(s, sTarget);
    if (QString error = filters.prepare(); !error.isEmpty()) return error;
    if (QString error = CopyReplacing(temp.table, sTarget); !error.isEmpty()) return error;
    if (!temp.memo.isEmpty()) {
        const QString targetMemo = QFileInfo(sTarget).absolutePath() + "/" + QFileInfo(sTarget).completeBaseName() + ".fpt";
        if (QString error = CopyReplacing(temp.memo, targetMemo); !error.isEmpty()) return error;
    }
    return filters.commit();
}

QString SavedStructurePath(const QString& folder, bool detailed) {
    const QString clean = QDir::cleanPath(folder);
    return clean + "/" + QFileInfo(clean).fileName() + (detailed ? ".dtr" : ".str");
}

namespace {

// Copies the data table and its memo from the working copy into `folder`.
QString copyData(const Session& s, const QString& folder) {
    const QString table = s.sReportFolder + s.sDataFile;
    if (QString error = CopyReplacing(table, folder + "/" + s.sDataFile); !error.isEmpty()) return error;
    const QString memo = MemoFileOf(table);
    if (memo.isEmpty()) return QString();
    return CopyReplacing(memo, folder + "/" + QFileInfo(memo).fileName());
}

}  // namespace

SaveOutcome SaveReport(Session& s) {
    if (s.rsStruct.State() != engine::adStateOpen) return SaveOutcome::NothingOpen;
    QString folder;
    const bool firstSave = s.sReportPath.isEmpty();
    if (!firstSave) {
        folder = QFileInfo(s.sReportPath).absolutePath();
    } else {
        folder = s.ui.browseForFolder("Select the folder where you want to save report", s.sReportName);
        if (folder.isEmpty()) return SaveOutcome::Cancelled;
        folder = QDir::cleanPath(folder);
    }
    BusyPointer busy(s.ui);
    QString error;
    if (!QDir().mkpath(folder))
        error = "Cannot create the folder \"" + folder + "\".";
    else if (firstSave)
        error = copyData(s, folder);
    const QString target = SavedStructurePath(folder, s.bDetailed);
    if (error.isEmpty()) error = WriteStructure(s, target);
    if (!error.isEmpty()) {
        s.ui.critical(error);
        return SaveOutcome::Failed;
    }
    s.sReportPath = target;
    return SaveOutcome::Saved;
}

}  // namespace vantrep::session
