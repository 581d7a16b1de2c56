// Running UPDATE: every visible record that meets the condition gets the new
// values, written into the file record by record.
#include <cctype>

#include "engine/EngineError.h"
#include "engine/dbf/DbfWriter.h"
#include "engine/exec/Coding.h"
#include "engine/exec/Executor.h"
#include "engine/exec/RowSources.h"

namespace vantrep::engine::exec {

namespace {

// What the writer takes for a field: UTF-8 text, numbers at the field's decimals.
Value valueForField(const Value& value, const dbf::DbfField& field, const dbf::DbfTable& table) {
    if (value.kind() == ValueKind::String) return Value::string(table.decode(value.asString()));
    if ((field.type == 'N' || field.type == 'F') && value.isNumber())
        return Value::decimal(value.asDecimal().rescaled(field.decimals));
    return value;
}

}  // namespace

int64_t runUpdate(const sql::UpdateStatement& statement, CachedTable& table, const std::string& path) {
    const dbf::DbfTable& t = table.table();
    struct Target {
        int field;
        BoundExprPtr value;
    };
    std::vector<Target> targets;
    for (const sql::Assignment& a : statement.assignments) {
        int field = t.fieldIndex(a.field);
        if (field < 0)
            throw EngineError(errUnknownName, "Field '" + a.field + "' is not found (position " +
                                                  std::to_string(a.position + 1) + ").");
        BindContext context{t, nullptr};
        targets.push_back({field, bind(*a.value, context)});
    }
    RecordList records = table.visibleRows();
    if (statement.where) {
        BindContext context{t, nullptr};
        BoundExprPtr condition = bind(*statement.where, context);
        RecordList kept;
        if (filterRecords(*condition, table, records, kept)) records.swap(kept);
    }
    if (records.empty()) return 0;

    dbf::DbfWriter writer(path);
    RecordRow row(t, 0);
    std::vector<Value> values(targets.size());
    for (uint32_t r : records) {
        row.moveTo(r);
        for (size_t i = 0; i < targets.size(); ++i) values[i] = evaluate(*targets[i].value, row);
        for (size_t i = 0; i < targets.size(); ++i) {
            const dbf::DbfField& field = t.fields()[static_cast<size_t>(targets[i].field)];
            writer.assign(r, targets[i].field, valueForField(values[i], field, t));
        }
    }
    return static_cast<int64_t>(records.size());
}

}  // namespace vantrep::engine::exec
