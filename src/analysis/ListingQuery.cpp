#include "analysis/ListingQuery.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>

namespace vantrep::analysis {

namespace {

QString literalOf(const QString& value, ValueKind kind) {
    switch (kind) {
    case ValueKind::Character: return CharacterLiteral(value);
    case ValueKind::Date: return DateLiteral(value);
    case ValueKind::Other: return NumberLiteral(value);
    }
    return NumberLiteral(value);
}

}  // namespace

QString DateLiteral(const QString& shown) {
    const QString text = shown.trimmed();
    QDate date = QLocale().toDate(text, QLocale::ShortFormat);
    if (!date.isValid()) date = QDate::fromString(text, "M/d/yyyy");
    if (!date.isValid()) date = QDate::fromString(text, "dd/MM/yyyy");
    return "CTOD(" + CharacterLiteral(date.isValid() ? date.toString("MM/dd/yyyy") : text) + ")";
}

QString NumberLiteral(const QString& value) {
    static const QRegularExpression plainNumber(QStringLiteral("^-?[0-9]+(\\.[0-9]+)?$"));
    const QString text = value.trimmed();
    return plainNumber.match(text).hasMatch() ? text : CharacterLiteral(text);
}

QString CharacterLiteral(const QString& value) {
    if (!value.contains('\'')) return "'" + value + "'";
    if (!value.contains('"')) return "\"" + value + "\"";
    if (!value.contains(']')) return "[" + value + "]";
    QStringList pieces;
    for (const QString& piece : value.split('\'')) pieces << "'" + piece + "'";
    return pieces.join("+\"'\"+");
}

QString ListingStatement(const session::FieldList& aDims, const std::vector<session::ValueList>& cmbField,
                         bool bClipDet, const QString& sDataFile,
                         const std::function<ValueKind(const QString&)>& kindOf) {
    QStringList names;
    for (int k = 1;; ++k) {
        int found = 0;
        for (int i = 1; i <= aDims.upperBound() && found == 0; ++i)
            if (aDims(i).Displayed && aDims(i).Divisor == k) found = i;
        if (found == 0) break;
        names << aDims(found).FName;
    }
    const int columns = static_cast<int>(names.size());
    if (bClipDet) names << "CLIPDET";
    // No first column leaves the select list empty: the engine refuses it.
    QString s = "SELECT " + names.join(", ");
    s += " from " + sDataFile + " WHERE 1=1 ";
    for (int i = 1; i <= aDims.upperBound(); ++i) {
        const session::ValueList& list = cmbField.at(static_cast<size_t>(i));
        if (list.items.isEmpty() || !list.items[0].contains("Filtered")) continue;
        ValueKind kind = kindOf(aDims(i).FName);
        QStringList values;
        for (int j = 1; j < list.items.size(); ++j) values << literalOf(list.items[j], kind);
        s += " AND " + aDims(i).FName + " IN(" + values.join(',') + ")";
    }
    QStringList positions;
    for (int k = 1; k <= columns; ++k) positions << QString::number(k);
    return s + " ORDER BY " + positions.join(", ");
}

}  // namespace vantrep::analysis
