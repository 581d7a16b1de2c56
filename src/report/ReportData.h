// The report data as the band language reads it: field values of the
// recordset's current record looked up by name (any case), the texts they
// print as, and the keys that decide when groups and aggregates start again.
#pragma once

#include <QHash>
#include <QString>

#include <optional>

#include "engine/Recordset.h"
#include "engine/Value.h"

namespace vantrep::report {

class ReportData {
public:
    explicit ReportData(engine::Recordset& recordset) : recordset_(recordset) {}

    engine::Recordset& recordset() { return recordset_; }
    bool atEnd() const { return recordset_.Eof(); }

    // The value of field `name` of the current record; nothing when there is
    // no such field or no current record.
    std::optional<engine::Value> value(const QString& name);
    bool hasField(const QString& name) { return indexOf(name) >= 0; }

    // The values of the comma-separated fields (every "*" removed) as text,
    // joined with nothing between them. A field that does not exist adds
    // nothing. With `dropZeros` a decimal field holding 0 adds nothing.
    QString joinedText(const QString& fieldList, bool dropZeros = false);

private:
    int indexOf(const QString& name);

    engine::Recordset& recordset_;
    QHash<QString, int> indexes_;  // lower-cased name -> field index, -1 when absent
};

// The text a value prints as under no display format.
QString valueText(const engine::Value& value);

}  // namespace vantrep::report
