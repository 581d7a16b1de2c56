// Writing dBASE III and Visual FoxPro tables: creating a table, appending
// records, assigning field values in place, memos into the .fpt/.dbt.
//
// Every write goes straight to the file. A record is written with one
// positioned write, so it is never left half-written; an append writes the
// record, then the end-of-file mark, then the header's count and date; a memo
// is written (block, memo header) before the pointer that refers to it.
// A value that does not fit its field is an EngineError, never truncated.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/Value.h"
#include "engine/dbf/DbfField.h"

namespace vantrep::engine::dbf {

enum class TableFormat { VisualFoxPro, DBase3 };

struct FieldSpec {
    std::string name;  // up to 10 characters
    char type = 'C';   // C N F D L M I Y B T (VFP); C N D L M (dBASE III)
    int length = 0;    // C, N, F; fixed types take their own length when 0
    int decimals = 0;
    bool nullable = false;  // VFP only
};

class DbfWriter {
public:
    // Creates (or replaces) a table with the given fields, no records, code page
    // 1252 unless told; a memo file is created beside it when a field needs one.
    static void create(const std::string& path, const std::vector<FieldSpec>& fields,
                       TableFormat format = TableFormat::VisualFoxPro, int codePage = 1252);

    // Opens an existing table for writing. Throws EngineError (errReadOnly for a
    // table with a structural index or a read-only file).
    explicit DbfWriter(const std::string& path);
    ~DbfWriter();
    DbfWriter(const DbfWriter&) = delete;
    DbfWriter& operator=(const DbfWriter&) = delete;

    // Values are given in field order (fewer values leave the rest blank).
    // Strings are UTF-8 and are encoded into the table's code page.
    void append(const std::vector<Value>& values);
    // Appends many records with one header update at the end (for generators
    // and saved copies); each record is still written whole.
    void appendMany(const std::vector<std::vector<Value>>& records);
    // Assigns one field of record `record` (0-based) and persists it at once.
    void assign(uint32_t record, int field, const Value& value);
    void setDeleted(uint32_t record, bool deleted);

    uint32_t recordCount() const;
    const std::vector<DbfField>& fields() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace vantrep::engine::dbf
