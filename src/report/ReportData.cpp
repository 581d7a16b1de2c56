#include "report/ReportData.h"

#include <QStringList>

#include "format/DisplayFormat.h"

namespace vantrep::report {

int ReportData::indexOf(const QString& name) {
    QString key = name.toLower();
    auto found = indexes_.constFind(key);
    if (found != indexes_.constEnd()) return *found;
    int index = recordset_.fields().indexOf(name.toStdString());
    indexes_.insert(key, index);
    return index;
}

std::optional<engine::Value> ReportData::value(const QString& name) {
    int index = indexOf(name);
    if (index < 0 || recordset_.Eof() || recordset_.Bof()) return std::nullopt;
    return recordset_.field(index).value();
}

QString ReportData::joinedText(const QString& fieldList, bool dropZeros) {
    QString list = fieldList;
    list.remove(u'*');
    QString joined;
    for (const QString& name : list.split(u',')) {
        std::optional<engine::Value> field = value(name);
        if (!field) continue;
        if (dropZeros && field->kind() == engine::ValueKind::Decimal && field->asDecimal().isZero()) continue;
        joined += valueText(*field);
    }
    return joined;
}

QString valueText(const engine::Value& value) { return format::Format(value, QString()); }

}  // namespace vantrep::report
