#include "session/DivisorRepair.h"

#include "engine/EngineError.h"
#include "engine/Recordset.h"

namespace vantrep::session {

namespace {

bool isTrue(const engine::Value& v) { return !v.isNull() && v.asLogical(); }
int64_t numberOf(const engine::Value& v) { return v.isNull() ? 0 : v.asInteger(); }

// A Divisor value given to two or more fields.
bool divisorShared(engine::Connection& cnData, const std::string& table) {
    engine::Recordset rs;
    rs.Open("SELECT Divisor,count(*) AS Cnt FROM [" + table + "] WHERE Divisor>0 GROUP BY Divisor", cnData,
            engine::adOpenForwardOnly, engine::adLockReadOnly);
    for (; !rs.Eof(); rs.MoveNext())
        if (numberOf(rs.field("Cnt").value()) > 1) return true;
    return false;
}

// A Divisor on a field that is not displayed.
bool divisorOnHiddenField(engine::Connection& cnData, const std::string& table) {
    engine::Recordset rs;
    rs.Open("SELECT Displayed,Divisor FROM [" + table + "]", cnData, engine::adOpenForwardOnly,
            engine::adLockReadOnly);
    for (; !rs.Eof(); rs.MoveNext())
        if (numberOf(rs.field("Divisor").value()) > 0 && !isTrue(rs.field("Displayed").value())) return true;
    return false;
}

}  // namespace

void NormalizeDivisor(engine::Connection& cnData, const QString& sStructFile, Ui& ui) {
    const std::string table = sStructFile.toStdString();
    try {
        if (divisorShared(cnData, table) || divisorOnHiddenField(cnData, table))
            cnData.Execute("UPDATE [" + table + "] SET Divisor=0");
    } catch (const engine::EngineError& e) {
        ui.critical(QString::fromStdString(e.description()));
    }
}

}  // namespace vantrep::session
