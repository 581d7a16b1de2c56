// One open table with what queries have decoded of it: the visible
// (non-deleted) records, dictionary-coded columns and parsed number columns.
// Everything is built on first use and kept until the table changes; a
// connection's TableCache decides when that is.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/Value.h"
#include "engine/dbf/DbfTable.h"
#include "engine/exec/BigVector.h"

namespace vantrep::engine::exec {

// A column as dense codes in value order: codes[record] is the rank of the
// record's value among the distinct values of the visible records (equal values
// share a code; NULL, when present, is code 0). values[code] is that value.
// Deleted records have code `noCode`.
struct DictionaryColumn {
    static constexpr uint32_t noCode = 0xFFFFFFFFu;
    BigVector<uint32_t> codes;
    std::vector<Value> values;
};

// A numeric column (N, F, I, Y) as integer units of 10^-scale per record, for
// exact sums at full speed. `usable` is false when some value does not fit
// (more decimals than declared, overflow): callers then take the general path.
struct NumberColumn {
    bool usable = true;
    int scale = 0;
    BigVector<int64_t> units;
    std::vector<uint8_t> isNull;  // empty when the field is not nullable
};

class CachedTable {
public:
    explicit CachedTable(std::unique_ptr<dbf::DbfTable> table) : table_(std::move(table)) {}
    CachedTable(const CachedTable&) = delete;
    CachedTable& operator=(const CachedTable&) = delete;

    const dbf::DbfTable& table() const { return *table_; }
    // Record numbers of the records SELECT and UPDATE see, ascending.
    const RecordList& visibleRows();
    // Memo-type fields (M, G, W) are never dictionary-coded.
    static bool codable(const dbf::DbfField& field);
    // Decodes, in one pass over the records, every listed field that is not
    // decoded yet: as a dictionary, or as numbers (N, F, I, Y fields only).
    void prepare(const std::vector<int>& dictionaryFields, const std::vector<int>& numberFields);
    const DictionaryColumn& dictionary(int field);
    const NumberColumn& numbers(int field);
    // The field's numbers when they are decoded already, else null; never
    // decodes, so threads may ask at once.
    const NumberColumn* decodedNumbers(int field) const;
    // Drops the decoded columns (the visible records stay) and lets the
    // table's pages read so far leave memory. No column may be in use.
    void releaseMemory();

private:
    std::unique_ptr<dbf::DbfTable> table_;
    bool visibleBuilt_ = false;
    RecordList visible_;
    std::map<int, std::unique_ptr<DictionaryColumn>> dictionaries_;
    std::map<int, std::unique_ptr<NumberColumn>> numbers_;
};

}  // namespace vantrep::engine::exec
