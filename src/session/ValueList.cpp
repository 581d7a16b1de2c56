#include "session/ValueList.h"

#include "engine/EngineError.h"
#include "engine/Recordset.h"
#include "format/DisplayFormat.h"
#include "session/ValueCoding.h"

namespace vantrep::session {

QString DisplayFormOf(const engine::Value& value, const QString& FName, const QString& FType, const QLocale& locale) {
    if (FType.trimmed() != "N" || value.isNull()) return format::Format(value, QString(), locale);
    QString name = FName.trimmed().toUpper();
    if (name == "MONTH") return MonthText(static_cast<int>(value.asInteger()), locale);
    if (name == "WEEKDAY") return WeekdayText(static_cast<int>(value.asInteger()));
    if (name == "DURATION" && value.asDecimal().isZero()) return "Others";
    return format::Format(value, QString(), locale);
}

bool FillCombo(ValueList& list, const QString& FName, const QString& FType, engine::Connection& connection,
               const QString& sDataFile, Ui& ui, const QLocale& locale) {
    try {
        engine::Recordset rs;
        rs.Open(("SELECT DISTINCT " + FName + " FROM " + sDataFile + " ORDER BY 1").toStdString(), connection,
                engine::adOpenStatic, engine::adLockReadOnly);
        if (rs.RecordCount() == 1) {
            QString only = DisplayFormOf(rs.field(0).value(), FName, FType, locale);
            // The list becomes the value followed by an empty item.
            list.items.append(QString());
            list.items[0] = only;
            return true;
        }
        for (; !rs.Eof(); rs.MoveNext()) list.items.append(DisplayFormOf(rs.field(0).value(), FName, FType, locale));
        return true;
    } catch (const engine::EngineError& e) {
        ui.critical(QString::fromStdString(e.description()));
        return false;
    }
}

}  // namespace vantrep::session
