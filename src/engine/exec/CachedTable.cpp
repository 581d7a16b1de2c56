#include "engine/exec/CachedTable.h"

#include <algorithm>
#include <cstring>
#include <numeric>

#include "engine/exec/BoundExpr.h"

namespace vantrep::engine::exec {

namespace {

uint64_t hashBytes(const uint8_t* p, size_t n) {
    uint64_t h = 0x9E3779B97F4A7C15ull ^ n;
    while (n >= 8) {
        uint64_t k;
        std::memcpy(&k, p, 8);
        h = (h ^ k) * 0xBF58476D1CE4E5B9ull;
        h ^= h >> 31;
        p += 8;
        n -= 8;
    }
    if (n > 0) {
        uint64_t k = 0;
        std::memcpy(&k, p, n);
        h = (h ^ k) * 0x94D049BB133111EBull;
        h ^= h >> 29;
    }
    return h ^ (h >> 32);
}

// Distinct byte strings of one field, in order of first appearance. The bytes
// stay in the table's mapping; an entry is remembered by its first record.
class RawDictionary {
public:
    // Returns the entry number of the bytes, adding them when new.
    uint32_t add(const uint8_t* bytes, uint32_t length, uint32_t record) {
        if (entries_.size() * 2 >= slots_.size()) grow();
        uint64_t h = hashBytes(bytes, length);
        size_t mask = slots_.size() - 1;
        for (size_t i = h & mask;; i = (i + 1) & mask) {
            uint32_t slot = slots_[i];
            if (slot == 0) {
                entries_.push_back({bytes, length, record, h});
                slots_[i] = static_cast<uint32_t>(entries_.size());
                return static_cast<uint32_t>(entries_.size() - 1);
            }
            const Entry& e = entries_[slot - 1];
            if (e.hash == h && e.length == length && std::memcmp(e.bytes, bytes, length) == 0) return slot - 1;
        }
    }
    size_t size() const { return entries_.size(); }
    uint32_t firstRecord(uint32_t entry) const { return entries_[entry].record; }

private:
    struct Entry {
        const uint8_t* bytes;
        uint32_t length;
        uint32_t record;
        uint64_t hash;
    };
    void grow() {
        std::vector<uint32_t> slots(slots_.empty() ? 1024 : slots_.size() * 2, 0);
        size_t mask = slots.size() - 1;
        for (uint32_t n = 0; n < entries_.size(); ++n) {
            size_t i = entries_[n].hash & mask;
            while (slots[i] != 0) i = (i + 1) & mask;
            slots[i] = n + 1;
        }
        slots_.swap(slots);
    }
    std::vector<uint32_t> slots_;
    std::vector<Entry> entries_;
};

// Turns entry numbers into dense codes in value order, merging entries whose
// bytes differ but whose values are equal (" 1" and "1 " in an N field).
void rankEntries(const dbf::DbfTable& table, int field, const RawDictionary& raw,
                 std::vector<uint32_t>& entryCodes, std::vector<Value>& values) {
    std::vector<Value> entryValues(raw.size());
    for (uint32_t e = 0; e < raw.size(); ++e) entryValues[e] = table.value(raw.firstRecord(e), field);
    std::vector<uint32_t> order(raw.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        return compareValues(entryValues[a], entryValues[b]) < 0;
    });
    entryCodes.assign(raw.size(), 0);
    values.clear();
    for (size_t i = 0; i < order.size(); ++i) {
        uint32_t e = order[i];
        if (values.empty() || compareValues(values.back(), entryValues[e]) != 0) values.push_back(entryValues[e]);
        entryCodes[e] = static_cast<uint32_t>(values.size() - 1);
    }
}

}  // namespace

const std::vector<uint32_t>& CachedTable::visibleRows() {
    if (!visibleBuilt_) {
        uint32_t count = table_->recordCount();
        visible_.reserve(count);
        for (uint32_t r = 0; r < count; ++r)
            if (!table_->isDeleted(r)) visible_.push_back(r);
        visibleBuilt_ = true;
    }
    return visible_;
}

bool CachedTable::codable(const dbf::DbfField& field) {
    return field.type != 'M' && field.type != 'G' && field.type != 'W' && field.type != 'P' &&
           !(field.type == 'B' && field.length != 8);
}

const DictionaryColumn& CachedTable::dictionary(int field) {
    auto found = dictionaries_.find(field);
    if (found != dictionaries_.end()) return *found->second;

    const dbf::DbfTable& t = *table_;
    const dbf::DbfField& f = t.fields()[static_cast<size_t>(field)];
    const std::vector<uint32_t>& rows = visibleRows();
    auto column = std::make_unique<DictionaryColumn>();
    column->codes.assign(t.recordCount(), DictionaryColumn::noCode);

    // Entry numbers first, then dense ranks. NULL is kept apart from the bytes
    // (a NULL field's bytes are blank) and takes code 0, since nulls sort first.
    constexpr uint32_t nullEntry = DictionaryColumn::noCode - 1;
    std::vector<uint32_t> entryOf(t.recordCount(), 0);
    RawDictionary raw;
    bool hasNull = false;
    const bool fixedWidth = f.type != 'V' && f.type != 'Q';
    if (fixedWidth && !f.nullable && f.length <= 2) {
        // One or two bytes: the bytes themselves index a table.
        std::vector<uint32_t> direct(65536, DictionaryColumn::noCode);
        for (uint32_t r : rows) {
            const uint8_t* p = t.record(r) + f.offset;
            uint32_t key = f.length == 1 ? p[0] : (p[0] | (uint32_t(p[1]) << 8));
            uint32_t& e = direct[key];
            if (e == DictionaryColumn::noCode) e = raw.add(p, f.length, r);
            entryOf[r] = e;
        }
    } else {
        for (uint32_t r : rows) {
            if (f.nullable && t.isNull(r, field)) {
                hasNull = true;
                entryOf[r] = nullEntry;
            } else if (fixedWidth) {
                entryOf[r] = raw.add(t.record(r) + f.offset, f.length, r);
            } else {
                std::string_view bytes = t.rawBytes(r, field);
                entryOf[r] = raw.add(reinterpret_cast<const uint8_t*>(bytes.data()),
                                     static_cast<uint32_t>(bytes.size()), r);
            }
        }
    }

    std::vector<uint32_t> entryCodes;
    rankEntries(t, field, raw, entryCodes, column->values);
    const uint32_t shift = hasNull ? 1 : 0;
    if (hasNull) column->values.insert(column->values.begin(), Value::null());
    for (uint32_t r : rows)
        column->codes[r] = entryOf[r] == nullEntry ? 0 : entryCodes[entryOf[r]] + shift;

    const DictionaryColumn& result = *column;
    dictionaries_.emplace(field, std::move(column));
    return result;
}

const NumberColumn& CachedTable::numbers(int field) {
    auto found = numbers_.find(field);
    if (found != numbers_.end()) return *found->second;

    const dbf::DbfTable& t = *table_;
    const dbf::DbfField& f = t.fields()[static_cast<size_t>(field)];
    auto column = std::make_unique<NumberColumn>();
    column->units.assign(t.recordCount(), 0);
    if (f.nullable) column->isNull.assign(t.recordCount(), 0);
    const std::vector<uint32_t>& rows = visibleRows();

    switch (f.type) {
    case 'N':
    case 'F': {
        column->scale = f.decimals;
        for (uint32_t r : rows) {
            const char* p = reinterpret_cast<const char*>(t.record(r) + f.offset);
            bool blank = false;
            if (!dbf::parseNumericField(p, f.length, f.decimals, column->units[r], blank)) {
                column->usable = false;
                break;
            }
        }
        break;
    }
    case 'I':
        for (uint32_t r : rows) {
            int32_t v;
            std::memcpy(&v, t.record(r) + f.offset, 4);
            column->units[r] = v;
        }
        break;
    case 'Y':
        column->scale = 4;
        for (uint32_t r : rows) std::memcpy(&column->units[r], t.record(r) + f.offset, 8);
        break;
    default:
        column->usable = false;
    }
    if (column->usable && f.nullable)
        for (uint32_t r : rows) column->isNull[r] = t.isNull(r, field) ? 1 : 0;

    const NumberColumn& result = *column;
    numbers_.emplace(field, std::move(column));
    return result;
}

}  // namespace vantrep::engine::exec
