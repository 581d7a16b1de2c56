// Builders that decode one field of every visible record: into dictionary
// codes, or into integer units. Several builders run side by side in one pass
// over the records, so that a query reads each record's bytes once however
// many of its fields it needs.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/dbf/DbfTable.h"
#include "engine/exec/CachedTable.h"

namespace vantrep::engine::exec {

// Distinct byte strings of one field in order of first appearance; keys of up
// to 16 bytes are held in the slots themselves, longer ones stay in the table's
// mapping and are remembered by their first record.
class RawDictionary {
public:
    explicit RawDictionary(uint32_t width) : width_(width) {}

    uint32_t add(const uint8_t* bytes, uint32_t length, uint32_t record);
    size_t size() const { return firstRecords_.size(); }
    uint32_t firstRecord(uint32_t entry) const { return firstRecords_[entry]; }

private:
    struct Slot {
        uint64_t k0 = 0, k1 = 0;  // short keys; for long keys the hash in k0
        uint32_t entry = 0;       // entry + 1; 0 = empty
        uint32_t length = 0;
    };
    void grow();
    uint32_t addLong(const uint8_t* bytes, uint32_t length, uint32_t record);

    uint32_t width_;
    std::vector<Slot> slots_;
    std::vector<uint32_t> firstRecords_;
    std::vector<const uint8_t*> longBytes_;  // long keys: where the bytes are
};

class DictionaryBuilder {
public:
    DictionaryBuilder(const dbf::DbfTable& table, int field, uint32_t recordCount);
    void add(uint32_t record, const uint8_t* recordBytes) {
        if (nullable_ && table_.isNull(record, field_)) {
            hasNull_ = true;
            codes_[record] = nullEntry;
        } else if (direct_) {
            const uint8_t* p = recordBytes + offset_;
            uint32_t key = length_ == 1 ? p[0] : (p[0] | (uint32_t(p[1]) << 8));
            uint32_t& e = directEntries_[key];
            if (e == DictionaryColumn::noCode) e = raw_.add(p, length_, record);
            codes_[record] = e;
        } else if (fixedWidth_) {
            codes_[record] = raw_.add(recordBytes + offset_, length_, record);
        } else {
            std::string_view bytes = table_.rawBytes(record, field_);
            codes_[record] = raw_.add(reinterpret_cast<const uint8_t*>(bytes.data()),
                                      static_cast<uint32_t>(bytes.size()), record);
        }
    }
    // Turns entries into codes in value order for the given visible records.
    void finish(const std::vector<uint32_t>& visible, DictionaryColumn& column);
    int field() const { return field_; }

private:
    static constexpr uint32_t nullEntry = DictionaryColumn::noCode - 1;
    const dbf::DbfTable& table_;
    int field_;
    uint32_t offset_, length_;
    bool nullable_, fixedWidth_, direct_;
    bool hasNull_ = false;
    RawDictionary raw_;
    std::vector<uint32_t> directEntries_;
    std::vector<uint32_t> codes_;  // entry per record until finish()
};

class NumberBuilder {
public:
    NumberBuilder(const dbf::DbfTable& table, int field, uint32_t recordCount);
    void add(uint32_t record, const uint8_t* recordBytes) {
        const uint8_t* p = recordBytes + offset_;
        switch (type_) {
        case 'I': {
            int32_t v;
            std::memcpy(&v, p, 4);
            column_.units[record] = v;
            break;
        }
        case 'Y': std::memcpy(&column_.units[record], p, 8); break;
        default: {
            const char* text = reinterpret_cast<const char*>(p);
            bool blank;
            if (!parsePlainNumber(text, column_.units[record]) &&
                !dbf::parseNumericField(text, length_, column_.scale, column_.units[record], blank))
                column_.usable = false;
        }
        }
        if (nullable_) column_.isNull[record] = table_.isNull(record, field_) ? 1 : 0;
    }
    NumberColumn take() { return std::move(column_); }

    // The form nearly every writer uses: blanks, an optional minus, digits, and
    // exactly `scale` decimals after a point, filling the field. Anything else
    // (blank, short decimals, exponent, junk) is left to the general parser.
    bool parsePlainNumber(const char* text, int64_t& units) const {
        const uint32_t scale = static_cast<uint32_t>(column_.scale);
        if (length_ > 18 || (scale > 0 && scale + 1 > length_)) return false;  // no room for int64 or a point
        uint32_t i = 0;
        while (i < length_ && text[i] == ' ') ++i;
        if (i == length_) return false;
        bool negative = text[i] == '-';
        if (negative) ++i;
        uint32_t integerEnd = scale > 0 ? length_ - scale - 1 : length_;
        if (i > integerEnd || (scale == 0 && i == length_)) return false;
        int64_t value = 0;
        for (; i < integerEnd; ++i) {
            unsigned digit = static_cast<unsigned char>(text[i]) - '0';
            if (digit > 9) return false;
            value = value * 10 + digit;
        }
        if (column_.scale > 0) {
            if (text[i] != '.') return false;
            for (++i; i < length_; ++i) {
                unsigned digit = static_cast<unsigned char>(text[i]) - '0';
                if (digit > 9) return false;
                value = value * 10 + digit;
            }
        }
        units = negative ? -value : value;
        return true;
    }
    int field() const { return field_; }

private:
    const dbf::DbfTable& table_;
    int field_;
    char type_;
    uint32_t offset_, length_;
    bool nullable_;
    NumberColumn column_;
};

}  // namespace vantrep::engine::exec
