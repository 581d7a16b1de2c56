#include "session/ValueCoding.h"

#include <array>

#include "engine/EngineError.h"
#include "engine/Recordset.h"

namespace vantrep::session {

namespace {

const std::array<QString, 7> kWeekdayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const QString kOthers = QStringLiteral("Others");

QString unfitDescription(const QString& dimensionKind, QChar character) {
    return "Dimension unfit for " + dimensionKind + "\r\ncontaining invalid character (" + character + ")";
}

}  // namespace

QString MonthText(int n, const QLocale& locale) {
    if (n < 1 || n > 12) return kOthers;
    return locale.monthName(n, QLocale::ShortFormat);
}

QString MonthNumber(const QString& s, const QLocale& locale) {
    const QString name = s.trimmed();
    if (name.isEmpty()) return QString();
    for (int month = 1; month <= 12; ++month) {
        if (name.compare(locale.monthName(month, QLocale::ShortFormat), Qt::CaseInsensitive) == 0 ||
            name.compare(locale.monthName(month, QLocale::LongFormat), Qt::CaseInsensitive) == 0) {
            return QString::number(month);
        }
    }
    return QString();
}

QString WeekdayText(int n) {
    if (n < 1 || n > 7) return kOthers;
    return kWeekdayNames[static_cast<size_t>(n - 1)];
}

QString WeekdayNumber(const QString& s) {
    for (size_t i = 0; i < kWeekdayNames.size(); ++i) {
        if (s == kWeekdayNames[i]) return QString::number(i + 1);
    }
    if (s == kOthers) return QStringLiteral("8");
    return QString();
}

void RequireDimensionValue(const QString& s, const QString& role) {
    const bool column = role == QLatin1String("C");
    // Column keys separate values with these; the double quote breaks row keys too.
    const std::array<QChar, 5> reserved = {',', ';', ':', '"', '|'};
    for (QChar character : reserved) {
        const bool quote = character == '"';
        if (!(column || quote) || !s.contains(character)) continue;
        // The wording for a double quote names the role; the column-only
        // characters keep a blank before the line break.
        const QString kind = quote ? (column ? QStringLiteral("column") : QStringLiteral("row"))
                                   : QStringLiteral("column ");
        throw engine::EngineError(errDimensionValue, unfitDescription(kind, character).toStdString());
    }
}

bool CheckDimensionValue(const QString& s, const QString& role, Ui& ui) {
    try {
        RequireDimensionValue(s, role);
        return true;
    } catch (const engine::EngineError& error) {
        ui.plain(QString::fromStdString(error.description()));
        return false;
    }
}

bool CheckDimensionValues(const QStringList& values, const QString& fieldName, const QString& role,
                          engine::Connection& connection, const QString& dataFile, Ui& ui) {
    if (!values.isEmpty() && values.first().contains(QLatin1String("Filtered"))) {
        for (qsizetype i = 1; i < values.size(); ++i) {
            if (!CheckDimensionValue(values.at(i), role, ui)) return false;
        }
        return true;
    }
    if (role != QLatin1String("C")) return true;

    engine::Recordset distinct;
    distinct.Open(("SELECT DISTINCT " + fieldName + " FROM " + dataFile).toStdString(), connection,
                  engine::adOpenForwardOnly, engine::adLockReadOnly);
    for (; !distinct.Eof(); distinct.MoveNext()) {
        const QString value = QString::fromStdString(distinct.field(0).value().toText());
        if (!CheckDimensionValue(value, role, ui)) return false;
    }
    return true;
}

int AlignFromBars(const QString& text) {
    if (text.isEmpty() || text == QLatin1String("||")) return 6;
    if (text.startsWith(QLatin1String("||"))) return 8;
    if (text.startsWith('|')) return 7;
    return 6;
}

}  // namespace vantrep::session
