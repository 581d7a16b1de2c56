#include "engine/exec/QueryResult.h"

namespace vantrep::engine::exec {

Value QueryResult::value(size_t row, size_t column) const {
    const ResultColumn& c = columns_[column];
    switch (c.kind) {
    case ResultColumn::Kind::SourceField: return table_->table().value(sourceRows_[row], c.field);
    case ResultColumn::Kind::Coded: return c.dictionary[c.codes[row]];
    case ResultColumn::Kind::Decimal:
        if (!c.isNull.empty() && c.isNull[row]) return Value::null();
        return Value::decimal(Decimal{c.units[row], c.scale});
    case ResultColumn::Kind::Computed: return c.values[row];
    }
    return Value::null();
}

std::optional<double> QueryResult::number(size_t row, size_t column) const {
    const ResultColumn& c = columns_[column];
    if (c.kind == ResultColumn::Kind::Decimal) {
        if (!c.isNull.empty() && c.isNull[row]) return std::nullopt;
        return Decimal{c.units[row], c.scale}.toDouble();
    }
    const Value v = value(row, column);
    if (v.isNull() || v.isEmptyDate()) return std::nullopt;
    return v.asDouble();
}

std::optional<std::string_view> QueryResult::storedBytes(size_t row, size_t column) const {
    const ResultColumn& c = columns_[column];
    if (c.kind == ResultColumn::Kind::Coded)
        return std::string_view(reinterpret_cast<const char*>(&c.codes[row]), sizeof c.codes[row]);
    if (c.kind != ResultColumn::Kind::SourceField) return std::nullopt;
    const dbf::DbfTable& t = table_->table();
    const dbf::DbfField& f = t.fields()[static_cast<size_t>(c.field)];
    if (f.nullBit >= 0 || f.varLengthBit >= 0) return std::nullopt;
    return std::string_view(reinterpret_cast<const char*>(t.record(sourceRows_[row]) + f.offset), f.length);
}

}  // namespace vantrep::engine::exec
