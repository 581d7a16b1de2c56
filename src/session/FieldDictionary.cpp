#include "session/FieldDictionary.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <functional>

#include "engine/EngineError.h"

namespace vantrep::session {

namespace {

using engine::EngineError;
using engine::Value;

QString textOf(const Value& v) { return v.isNull() ? QString() : QString::fromStdString(v.toText()); }

int integerOf(const Value& v, const char* column) {
    if (v.isNull())
        throw EngineError(engine::errDataTypeMismatch, std::string("Invalid use of Null (") + column + ").");
    if (!v.isNumber()) throw EngineError(engine::errDataTypeMismatch, std::string("Type mismatch (") + column + ").");
    return static_cast<int>(v.asInteger());
}

// One row of the structure table, read column by column. A column that cannot
// be read (missing, or not a number where one is needed) is shown to the user
// as a fault and the read goes on with the next column, the field keeping what
// it held, so that one bad entry does not stop the report's structure loading.
// A fault repeated on every row (a column the table lacks) is shown once.
class StructureRow {
public:
    StructureRow(engine::Recordset& rs, Ui& ui, QSet<QString>& shown) : rs_(rs), ui_(ui), shown_(shown) {}

    void read(const std::function<void()>& step) {
        try {
            step();
        } catch (const EngineError& e) {
            const QString text = QString::fromStdString(e.description());
            if (shown_.contains(text)) return;
            shown_.insert(text);
            ui_.critical(text);
        }
    }
    Value value(const char* column) { return rs_.field(column).value(); }
    QString text(const char* column) { return textOf(value(column)); }
    int integer(const char* column) { return integerOf(value(column), column); }
    int integerOrZero(const char* column) {
        Value v = value(column);
        return v.isNull() ? 0 : integerOf(v, column);
    }
    bool logical(const char* column) {
        Value v = value(column);
        return !v.isNull() && v.asLogical();
    }

private:
    engine::Recordset& rs_;
    Ui& ui_;
    QSet<QString>& shown_;
};

bool hasTitleColumn(engine::Recordset& rs) { return rs.fields().indexOf("TITLE") >= 0; }

// The variables in level order: the first row of level 1, 2, 3 ... up to the
// first missing level, then every level-0 row (without totals).
FieldList orderVariables(const std::vector<FieldDef>& variables) {
    FieldList aVars;
    for (int level = 1;; ++level) {
        auto found = std::find_if(variables.begin(), variables.end(),
                                  [level](const FieldDef& v) { return v.Level == level; });
        if (found == variables.end()) break;
        aVars.append(*found);
    }
    for (FieldDef v : variables) {
        if (v.Level != 0) continue;
        v.ShowTotal = false;
        aVars.append(v);
    }
    return aVars;
}

// A field name as a statement may carry it: a letter or "_", then letters,
// digits and "_".
bool isPlainFieldName(const QString& name) {
    static const QRegularExpression plain(QStringLiteral("^[A-Z_][A-Z0-9_]*$"));
    return plain.match(name).hasMatch();
}

// The most decimals a number of `f` is shown with: what its width holds (a
// sign and the point take two places), never more than a double carries.
constexpr int kMostDecimals = 15;

void limitDecimals(FieldDef& f, Ui& ui) {
    const int most = std::clamp(f.FLen - 2, 0, kMostDecimals);
    if (f.FDec <= most) return;
    ui.critical(QStringLiteral("The field \"%1\" asks for %2 decimals, more than its width of %3 holds: it is shown "
                               "with %4.")
                    .arg(f.FName)
                    .arg(f.FDec)
                    .arg(f.FLen)
                    .arg(most));
    f.FDec = most;
}

// Refuses a structure whose field name is not a plain name: the name goes
// into statements.
bool refuseOddName(const FieldDef& f, const QString& sStructFile, Ui& ui) {
    if (isPlainFieldName(f.FName)) return false;
    ui.critical(QStringLiteral("The structure file \"%1\" names the field \"%2\" (%3), which is not a field name. "
                               "Can't continue!")
                    .arg(QFileInfo(sStructFile).fileName(), f.FName,
                         f.FDesc.isEmpty() ? QStringLiteral("no description") : "\"" + f.FDesc + "\""));
    return true;
}

}  // namespace

QString VariableDisplayFormat(int FLen, int FDec) {
    QString format = FDec > 0 ? "." + QString(FDec, '0') : QString();
    int digits = FLen - (FDec > 0 ? FDec + 1 : 0);
    while (digits > 0) {
        if (digits < 4) {
            format.prepend(QString(digits, '#'));
            break;
        }
        format.prepend(",###");
        digits -= 3;
    }
    if (format.startsWith(',')) format.remove(0, 1);
    return format;
}

QString ReportNameOf(const QString& structFile) { return QFileInfo(structFile).completeBaseName().replace('_', ' '); }

FieldDictionary ReadFieldDictionary(engine::Recordset& rsStruct, bool bDetailed, const QString& sStructFile, Ui& ui) {
    FieldDictionary d;
    d.sReportName = ReportNameOf(sStructFile);
    std::vector<FieldDef> variables;
    int displayed = 0;
    bool negativeDivisor = false;
    bool titled = hasTitleColumn(rsStruct);
    QSet<QString> shownFaults;
    rsStruct.MoveFirst();
    for (; !rsStruct.Eof(); rsStruct.MoveNext()) {
        StructureRow row(rsStruct, ui, shownFaults);
        if (titled)
            row.read([&] {
                QString title = row.text("TITLE").trimmed();
                if (!title.isEmpty()) d.sReportTitle = title;
            });
        FieldDef f;
        if (bDetailed) {
            row.read([&] { f.FDesc = row.text("FDESC").trimmed(); });
            row.read([&] { f.FName = row.text("FNAME").trimmed().toUpper(); });
            row.read([&] { f.FType = row.text("FTYPE").toUpper(); });
            row.read([&] { f.FLen = row.integer("FLEN"); });
            row.read([&] { f.FDec = row.integer("FDEC"); });
            row.read([&] { f.Level = row.integer("LEVEL"); });
            row.read([&] { f.Displayed = row.logical("DISPLAYED"); });
            if (refuseOddName(f, sStructFile, ui)) {
                d.refused = true;
                return d;
            }
            if (f.Displayed && f.FType.trimmed() == "N") limitDecimals(f, ui);
            if (f.FName == "CLIPDET") {
                d.bClipDet = true;
                f.Displayed = false;
            }
            if (f.Displayed) {
                ++displayed;
                f.Divisor = displayed;
                row.read([&] {
                    int divisor = row.integerOrZero("DIVISOR");
                    if (divisor > 0) f.Divisor = divisor;
                    if (divisor < 0) negativeDivisor = true;
                });
            }
            d.aDims.append(f);
            continue;
        }
        QString layout;
        row.read([&] { layout = row.text("LAYOUT"); });
        if (layout.trimmed().isEmpty()) continue;
        row.read([&] { f.FDesc = row.text("FDESC").trimmed(); });
        row.read([&] { f.FName = row.text("FNAME").trimmed().toUpper(); });
        row.read([&] { f.FType = row.text("FTYPE").toUpper(); });
        row.read([&] { f.FLen = row.integer("FLEN"); });
        row.read([&] { f.FDec = row.integer("FDEC"); });
        f.Layout = layout.toUpper();
        if (refuseOddName(f, sStructFile, ui)) {
            d.refused = true;
            return d;
        }
        row.read([&] { f.Level = row.integer("LEVEL"); });
        row.read([&] { f.ShowTotal = row.logical("SHOWTOTAL"); });
        d.aDims.append(f);
        if (layout.trimmed().toUpper() == "N") {
            FieldDef v;
            v.FDesc = f.FDesc;
            v.FName = f.FName;
            v.FLen = f.FLen;
            v.FDec = f.FDec;
            limitDecimals(v, ui);
            v.Layout = VariableDisplayFormat(v.FLen, v.FDec);
            v.Level = f.Level;
            v.ShowTotal = f.ShowTotal;
            row.read([&] { v.Divisor = row.integerOrZero("DIVISOR"); });
            variables.push_back(v);
        }
    }
    if (d.aDims.empty() || (!bDetailed && variables.empty())) {
        ui.critical("Unauthorized execution. Can't continue!");
        d.refused = true;
        return d;
    }
    if (bDetailed && negativeDivisor) {
        // A column order below 1 leaves the order of the columns unknown:
        // they follow the structure file.
        int column = 0;
        for (int i = 1; i <= d.aDims.upperBound(); ++i)
            if (d.aDims(i).Displayed) d.aDims(i).Divisor = ++column;
    }
    if (!bDetailed) {
        d.aVars = orderVariables(variables);
        if (d.aVars(1).Level != 1) {
            ui.critical("No variable of the structure file \"" + QFileInfo(sStructFile).fileName() +
                        "\" has level 1: the summary has no value to show. Can't continue!");
            d.refused = true;
            return d;
        }
    }
    return d;
}

}  // namespace vantrep::session
