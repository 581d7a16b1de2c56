#include "analysis/PageFilter.h"

#include <QStringList>
#include <algorithm>

#include "analysis/ListingQuery.h"
#include "session/ValueCoding.h"

namespace vantrep::analysis {

namespace {

QString sqlValue(const session::FieldDef& field, const QString& item) {
    if (field.FType.trimmed() == "C") return CharacterLiteral(item);
    if (field.FType.trimmed() == "D") return DateLiteral(item);
    const QString name = field.FName.trimmed();
    if (name == "MONTH") return session::MonthNumber(item);
    if (name == "WEEKDAY") return session::WeekdayNumber(item);
    if (name == "DURATION" && item == "Others") return "0";
    return NumberLiteral(item);
}

}  // namespace

PageFilter BuildPageFilter(const session::FieldList& aDims, const std::vector<session::ValueList>& cmbField) {
    PageFilter filter;
    const int last = std::min(aDims.upperBound(), static_cast<int>(cmbField.size()) - 1);
    for (int i = 1; i <= last; ++i) {
        const session::FieldDef& field = aDims(i);
        const session::ValueList& values = cmbField[static_cast<size_t>(i)];
        if (field.Layout.trimmed() != "P" || !values.filtered()) continue;
        QStringList sql;
        QStringList shown;
        for (int j = 1; j < values.items.size(); ++j) {
            const QString item = values.items[j].trimmed();
            const QString value = sqlValue(field, item);
            if (value.isEmpty()) continue;
            sql << value;
            shown << "'" + item + "'";
        }
        if (sql.isEmpty()) continue;
        if (!filter.sPageFilter.isEmpty()) {
            filter.sPageFilter += " AND";
            filter.sPageFilterText += " AND";
        }
        filter.sPageFilter += " " + field.FName.trimmed() + " in(" + sql.join(',') + ")";
        filter.sPageFilterText += " " + field.FDesc.trimmed() + " in(" + shown.join(',') + ")";
    }
    return filter;
}

void UpdatePageFilter(session::Session& session) {
    const PageFilter filter = BuildPageFilter(session.aDims, session.cmbField);
    session.sPageFilter = filter.sPageFilter;
    session.sPageFilterText = filter.sPageFilterText;
}

}  // namespace vantrep::analysis
