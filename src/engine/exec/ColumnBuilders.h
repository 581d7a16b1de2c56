// Builders that decode one field of the visible records: into dictionary
// codes, or into integer units. Several builders run side by side in one pass
// over the records, so that a query reads each record's bytes once however
// many of its fields it needs; the records are split into runs, each core
// decoding every field of its own run with builders of its own, which write
// into one shared column per field.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/dbf/DbfTable.h"
#include "engine/exec/CachedTable.h"
#include "engine/exec/PlainNumber.h"

namespace vantrep::engine::exec {

// Distinct byte strings of one field in order of first appearance; keys of up
// to 32 bytes (a name or a title field is seldom wider) are held in the slots
// themselves, longer ones in a buffer of their own.
class RawDictionary {
public:
    explicit RawDictionary(uint32_t width) : width_(width) {}

    uint32_t add(const uint8_t* bytes, uint32_t length, uint32_t record) {
        if (length != width_ || width_ > shortKeyLimit) return addLong(bytes, length, record);
        const Key key = shortKey(bytes, length);
        for (size_t i = mix(key) & mask_;; i = (i + 1) & mask_) {
            const Slot& s = slots_[i];
            if (s.entry == 0) return addShort(i, key, record);
            if (s.key == key && s.length == width_) return s.entry - 1;
        }
    }
    size_t size() const { return firstRecords_.size(); }
    uint32_t firstRecord(uint32_t entry) const { return firstRecords_[entry]; }

private:
    struct Key {
        uint64_t w[4] = {0, 0, 0, 0};
        bool operator==(const Key& other) const {
            return ((w[0] ^ other.w[0]) | (w[1] ^ other.w[1]) | (w[2] ^ other.w[2]) | (w[3] ^ other.w[3])) == 0;
        }
    };
    struct Slot {
        Key key;             // short keys; for long keys the hash in key.w[0]
        uint32_t entry = 0;  // entry + 1; 0 = empty
        uint32_t length = 0;
    };
    static constexpr uint32_t shortKeyLimit = 32;
    static uint64_t load8(const uint8_t* p) {
        uint64_t v;
        std::memcpy(&v, p, 8);
        return v;
    }
    // A key of up to 32 bytes as four words; for a fixed width the words are
    // unique to the bytes (the later words overlap the earlier ones where the
    // width is no multiple of 8).
    static Key shortKey(const uint8_t* p, uint32_t length) {
        Key key;
        if (length > 16) {
            key.w[0] = load8(p);
            key.w[1] = load8(p + 8);
            key.w[2] = load8(p + length - 16);
            key.w[3] = load8(p + length - 8);
        } else if (length >= 8) {
            key.w[0] = load8(p);
            key.w[1] = load8(p + length - 8);
        } else {
            std::memcpy(&key.w[0], p, length);
        }
        return key;
    }
    static uint64_t mix(const Key& key) {
        uint64_t h = key.w[0] * 0x9E3779B97F4A7C15ull ^ (key.w[1] + 0x632BE59BD9B4E019ull) * 0xBF58476D1CE4E5B9ull ^
                     (key.w[2] + 0x94D049BB133111EBull) * 0xD6E8FEB86659FD93ull ^
                     (key.w[3] + 0xA0761D6478BD642Full) * 0xE7037ED1A0B428DBull;
        return h ^ (h >> 29);
    }
    uint32_t addShort(size_t slot, const Key& key, uint32_t record);
    void grow();
    uint32_t addLong(const uint8_t* bytes, uint32_t length, uint32_t record);

    uint32_t width_;
    std::vector<Slot> slots_ = std::vector<Slot>(256);
    size_t mask_ = 255;
    std::vector<uint32_t> firstRecords_;
    // Long keys: their bytes side by side, `offsets_` telling where each starts
    // (kept close together, so that comparing does not reach into the file).
    std::vector<uint8_t> longBytes_;
    std::vector<uint32_t> offsets_;
};

// The dictionary entries of one field for one run of records. Each record's
// entry goes into `codes` (the field's, shared by the builders of all runs);
// orderEntries then turns the entries of every run into codes in value order.
class DictionaryBuilder {
public:
    DictionaryBuilder(const dbf::DbfTable& table, int field, BigVector<uint32_t>& codes);
    void add(uint32_t record, const uint8_t* recordBytes) {
        const size_t known = raw_.size();
        if (nullable_ && table_.isNullInRecord(recordBytes, field_)) {
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
            std::string_view bytes = table_.rawBytesInRecord(recordBytes, field_);
            codes_[record] = raw_.add(reinterpret_cast<const uint8_t*>(bytes.data()),
                                      static_cast<uint32_t>(bytes.size()), record);
        }
        if (raw_.size() != known) entryRecords_.insert(entryRecords_.end(), recordBytes, recordBytes + recordLength_);
    }
    // Replaces the entry of `record` (one this builder decoded) by its code,
    // given every entry's code.
    void recode(uint32_t record, const std::vector<uint32_t>& entryCodes) const {
        uint32_t& code = codes_[record];
        code = code == nullEntry ? 0 : entryCodes[code];
    }
    int field() const { return field_; }

    // The codes in value order of the entries that `runs` (the builders of
    // one field) found, one list per run, with the distinct values in
    // `values`. Bytes that differ but mean the same value (" 1" and "1 " in
    // an N field) share one code; NULL, when found, is code 0.
    static std::vector<std::vector<uint32_t>> orderEntries(const std::vector<const DictionaryBuilder*>& runs,
                                                           std::vector<Value>& values);

private:
    static constexpr uint32_t nullEntry = DictionaryColumn::noCode - 1;
    const dbf::DbfTable& table_;
    int field_;
    uint32_t offset_, length_;
    uint32_t recordLength_;
    bool nullable_, fixedWidth_, direct_;
    bool hasNull_ = false;
    RawDictionary raw_;
    // The bytes of each entry's first record, entry after entry: the entries'
    // values are read from them, not from the table's mapping.
    std::vector<uint8_t> entryRecords_;
    const uint8_t* entryRecord(uint32_t entry) const { return entryRecords_.data() + size_t(entry) * recordLength_; }
    std::vector<uint32_t> directEntries_;
    BigVector<uint32_t>& codes_;  // entry per record until recoded
};

// Reads one number field for one run of records into `column` (the
// field's, shared by the builders of all runs; see numberColumnFor).
class NumberBuilder {
public:
    NumberBuilder(const dbf::DbfTable& table, int field, NumberColumn& column);
    void add(uint32_t record, const uint8_t* recordBytes) {
        const uint8_t* p = recordBytes + offset_;
        int64_t& units = column_.units[record];
        switch (type_) {
        case 'I': {
            int32_t v;
            std::memcpy(&v, p, 4);
            units = v;
            break;
        }
        case 'Y': std::memcpy(&units, p, 8); break;
        default: {
            bool blank;
            if (!plain_.read(p, units) &&
                !dbf::parseNumericField(reinterpret_cast<const char*>(p), length_, column_.scale, units, blank))
                usable_ = false;
        }
        }
        if (nullable_) column_.isNull[record] = table_.isNullInRecord(recordBytes, field_) ? 1 : 0;
    }
    // False when some value of the run did not fit the column.
    bool usable() const { return usable_; }
    int field() const { return field_; }

private:
    const dbf::DbfTable& table_;
    int field_;
    char type_;
    uint32_t offset_, length_;
    bool nullable_;
    bool usable_ = true;
    PlainNumberReader plain_;
    NumberColumn& column_;
};

// An empty column for the numbers of `field` (N, F, I or Y) of `recordCount` records.
NumberColumn numberColumnFor(const dbf::DbfTable& table, int field, uint32_t recordCount);

}  // namespace vantrep::engine::exec
