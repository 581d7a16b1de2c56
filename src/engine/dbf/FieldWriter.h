// Putting values into the bytes of a record: the blank form of each field
// type, and a Value encoded into its field, with the _NullFlags bits kept
// right. A value that does not fit is an EngineError, never cut.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Value.h"
#include "engine/dbf/DbfHeader.h"

namespace vantrep::engine::dbf {

// Stores memo content and gives the block number to put in the record.
using StoreMemo = std::function<uint32_t(std::string_view)>;

class FieldWriter {
public:
    FieldWriter(const DbfHeader& header, int codePage, const std::string& tablePath)
        : header_(header), codePage_(codePage), tablePath_(tablePath) {}

    // A record of blank fields: spaces, binary zeros for I Y B T and 4-byte memo
    // pointers, no NULL flags set.
    std::vector<uint8_t> blankRecord() const;

    // Puts `value` into field `field` of `record` (a whole record). Strings are
    // UTF-8, encoded into the table's code page except for binary fields; a
    // non-empty memo is stored through `storeMemo` before the record changes.
    void put(uint8_t* record, int field, const Value& value, const StoreMemo& storeMemo) const;

private:
    void blankField(uint8_t* record, const DbfField& field) const;
    void setFlag(uint8_t* record, int bit, bool on) const;
    void putString(uint8_t* bytes, const DbfField& field, const Value& value) const;
    void putVariable(uint8_t* record, const DbfField& field, const Value& value) const;
    void putNumeric(uint8_t* bytes, const DbfField& field, const Value& value) const;
    void putMemo(uint8_t* bytes, const DbfField& field, const Value& value, const StoreMemo& storeMemo) const;
    std::string textOf(const DbfField& field, const Value& value) const;
    [[noreturn]] void mismatch(const DbfField& field, const Value& value) const;
    [[noreturn]] void tooWide(const DbfField& field, const Value& value) const;

    const DbfHeader& header_;
    int codePage_;
    std::string tablePath_;
};

}  // namespace vantrep::engine::dbf
