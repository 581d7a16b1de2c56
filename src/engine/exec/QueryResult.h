// The rows of a SELECT, held column by column. A column is one of:
// - a field of the table, read from the record on demand (listings keep no copy);
// - dictionary codes per row into a small list of values (an expression over
//   one coded field, evaluated once per distinct value);
// - exact decimals per row at one scale (sums of a grouped result);
// - values computed per row (other grouped results, general expressions).
// Values are in the table's code page; the Recordset decodes them.
#pragma once

#include <memory>
#include <optional>
#include <string_view>
#include <string>
#include <vector>

#include "engine/exec/BoundExpr.h"
#include "engine/exec/CachedTable.h"

namespace vantrep::engine::exec {

struct ResultColumn {
    enum class Kind { SourceField, Coded, Decimal, Computed };
    std::string name;
    ColumnType type;
    Kind kind = Kind::Computed;
    int field = -1;               // SourceField
    BigVector<uint32_t> codes;    // Coded: per result row
    std::vector<Value> dictionary;  // Coded
    int scale = 0;                // Decimal
    BigVector<Int128> units;      // Decimal: per result row
    BigVector<uint8_t> isNull;    // Decimal: per result row, or empty when none is NULL
    BigVector<Value> values;      // Computed: per result row
};

class QueryResult {
public:
    explicit QueryResult(std::shared_ptr<CachedTable> table) : table_(std::move(table)) {}

    const CachedTable& table() const { return *table_; }
    size_t rowCount() const { return rowCount_; }
    const std::vector<ResultColumn>& columns() const { return columns_; }
    // The value of result row `row`, column `column`, conformed to the column type.
    Value value(size_t row, size_t column) const;
    // The same value as a double, nothing when it is NULL or an empty date;
    // a Decimal column's without making a Value.
    std::optional<double> number(size_t row, size_t column) const;
    // Bytes that stand for the value: rows whose bytes are equal have equal
    // values. For a table field without NULL or length flags they are the
    // record's bytes, for a coded column the row's code; a computed column
    // has none.
    std::optional<std::string_view> storedBytes(size_t row, size_t column) const;

    // Built by the executor.
    std::vector<ResultColumn>& mutableColumns() { return columns_; }
    void setRows(RecordList sourceRows) {
        rowCount_ = sourceRows.size();
        sourceRows_ = std::move(sourceRows);
    }
    void setRowCount(size_t count) { rowCount_ = count; }

private:
    std::shared_ptr<CachedTable> table_;
    RecordList sourceRows_;  // record of each result row, for SourceField columns
    std::vector<ResultColumn> columns_;
    size_t rowCount_ = 0;
};

}  // namespace vantrep::engine::exec
