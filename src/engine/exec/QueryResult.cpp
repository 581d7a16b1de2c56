#include "engine/exec/QueryResult.h"

namespace vantrep::engine::exec {

Value QueryResult::value(size_t row, size_t column) const {
    const ResultColumn& c = columns_[column];
    switch (c.kind) {
    case ResultColumn::Kind::SourceField: return table_->table().value(sourceRows_[row], c.field);
    case ResultColumn::Kind::Coded: return c.dictionary[c.codes[row]];
    case ResultColumn::Kind::Computed: return c.values[row];
    }
    return Value::null();
}

}  // namespace vantrep::engine::exec
