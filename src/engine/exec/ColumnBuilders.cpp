#include "engine/exec/ColumnBuilders.h"

#include <algorithm>
#include <numeric>

#include "engine/exec/BoundExpr.h"

namespace vantrep::engine::exec {

namespace {

uint64_t word(const uint8_t* p) {
    uint64_t k;
    std::memcpy(&k, p, 8);
    return k;
}

uint64_t hashBytes(const uint8_t* p, size_t n) {
    uint64_t h = 0x9E3779B97F4A7C15ull ^ n;
    if (n < 8) {
        uint64_t k = 0;
        std::memcpy(&k, p, n);
        h = (h ^ k) * 0x94D049BB133111EBull;
    } else {
        // Whole words, the last one overlapping the one before: no byte loop.
        // Each word is multiplied on its own, so the products run side by side.
        static constexpr uint64_t factors[4] = {0xBF58476D1CE4E5B9ull, 0x94D049BB133111EBull,
                                                0xD6E8FEB86659FD93ull, 0xA0761D6478BD642Full};
        size_t j = 0, f = 0;
        for (; j + 8 < n; j += 8, f = (f + 1) & 3) h ^= (word(p + j) + j) * factors[f];
        h ^= (word(p + n - 8) + n) * factors[f];
        h *= 0x9E3779B97F4A7C15ull;
    }
    h ^= h >> 31;
    return h | 1;  // never 0, so that a hash can stand in a slot
}

}  // namespace

uint32_t RawDictionary::addShort(size_t slot, const Key& key, uint32_t record) {
    firstRecords_.push_back(record);
    slots_[slot] = Slot{key, static_cast<uint32_t>(firstRecords_.size()), width_};
    uint32_t entry = static_cast<uint32_t>(firstRecords_.size() - 1);
    if (firstRecords_.size() * 2 >= slots_.size()) grow();
    return entry;
}

// Equal bytes, compared a word at a time.
static bool sameBytes(const uint8_t* a, const uint8_t* b, uint32_t length) {
    if (length < 8) return std::memcmp(a, b, length) == 0;
    uint32_t j = 0;
    for (; j + 8 <= length; j += 8) {
        uint64_t x, y;
        std::memcpy(&x, a + j, 8);
        std::memcpy(&y, b + j, 8);
        if (x != y) return false;
    }
    if (j == length) return true;
    uint64_t x, y;
    std::memcpy(&x, a + length - 8, 8);
    std::memcpy(&y, b + length - 8, 8);
    return x == y;
}

uint32_t RawDictionary::addLong(const uint8_t* bytes, uint32_t length, uint32_t record) {
    uint64_t h = hashBytes(bytes, length);
    for (size_t i = h & mask_;; i = (i + 1) & mask_) {
        Slot& s = slots_[i];
        if (s.entry == 0) {
            firstRecords_.push_back(record);
            offsets_.push_back(static_cast<uint32_t>(longBytes_.size()));
            longBytes_.insert(longBytes_.end(), bytes, bytes + length);
            s = Slot{Key{{h, 0, 0, 0}}, static_cast<uint32_t>(firstRecords_.size()), length};
            uint32_t entry = s.entry - 1;
            if (firstRecords_.size() * 2 >= slots_.size()) grow();
            return entry;
        }
        if (s.key.w[0] == h && s.length == length &&
            sameBytes(longBytes_.data() + offsets_[s.entry - 1], bytes, length))
            return s.entry - 1;
    }
}

void RawDictionary::grow() {
    std::vector<Slot> slots(slots_.size() * 2);
    size_t mask = slots.size() - 1;
    for (const Slot& s : slots_) {
        if (s.entry == 0) continue;
        bool isShort = s.length == width_ && width_ <= shortKeyLimit;
        size_t i = (isShort ? mix(s.key) : s.key.w[0]) & mask;
        while (slots[i].entry != 0) i = (i + 1) & mask;
        slots[i] = s;
    }
    slots_.swap(slots);
    mask_ = mask;
}

// Sorts `order` (indexes into `values`) by value, stably. The values of one
// field are usually all decimals of one scale or all texts of one width:
// those compare by their units or their bytes, as compareValues would, but
// without its general dispatch.
static void sortInValueOrder(std::vector<uint32_t>& order, const std::vector<Value>& values) {
    auto all = [&](auto test) { return std::all_of(values.begin(), values.end(), test); };
    const bool decimals = !values.empty() && all([&](const Value& v) {
        return v.kind() == ValueKind::Decimal && v.asDecimal().scale == values[0].asDecimal().scale;
    });
    if (decimals) {
        std::vector<Int128> units(values.size());
        for (size_t i = 0; i < values.size(); ++i) units[i] = values[i].asDecimal().units;
        std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) { return units[a] < units[b]; });
        return;
    }
    const bool texts = !values.empty() && all([&](const Value& v) {
        return v.kind() == ValueKind::String && v.asString().size() == values[0].asString().size();
    });
    if (texts) {
        std::stable_sort(order.begin(), order.end(),
                         [&](uint32_t a, uint32_t b) { return values[a].asString() < values[b].asString(); });
        return;
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](uint32_t a, uint32_t b) { return compareValues(values[a], values[b]) < 0; });
}

DictionaryBuilder::DictionaryBuilder(const dbf::DbfTable& table, int field, BigVector<uint32_t>& codes)
    : table_(table),
      field_(field),
      recordLength_(table.recordLength()),
      raw_(table.fields()[static_cast<size_t>(field)].length),
      codes_(codes) {
    const dbf::DbfField& f = table.fields()[static_cast<size_t>(field)];
    offset_ = f.offset;
    length_ = f.length;
    nullable_ = f.nullBit >= 0;
    fixedWidth_ = f.type != 'V' && f.type != 'Q';
    direct_ = fixedWidth_ && !nullable_ && f.length <= 2;
    if (direct_) directEntries_.assign(65536, DictionaryColumn::noCode);
}

std::vector<std::vector<uint32_t>> DictionaryBuilder::orderEntries(const std::vector<const DictionaryBuilder*>& runs,
                                                                   std::vector<Value>& values) {
    // The entries of all runs as one list: the first run's as they are, each
    // later run's looked up by its bytes and added when new.
    const DictionaryBuilder& first = *runs.front();
    RawDictionary all = first.raw_;
    std::vector<const uint8_t*> records;  // per entry of the list: its first record's bytes
    for (uint32_t e = 0; e < first.raw_.size(); ++e) records.push_back(first.entryRecord(e));
    std::vector<std::vector<uint32_t>> entryOf(runs.size());  // per run: its entries in the list
    bool hasNull = false;
    for (size_t k = 0; k < runs.size(); ++k) {
        const DictionaryBuilder& run = *runs[k];
        hasNull = hasNull || run.hasNull_;
        entryOf[k].resize(run.raw_.size());
        for (uint32_t e = 0; e < run.raw_.size(); ++e) {
            if (k == 0) {
                entryOf[k][e] = e;
                continue;
            }
            const std::string_view bytes = first.table_.rawBytesInRecord(run.entryRecord(e), first.field_);
            const size_t known = all.size();
            entryOf[k][e] = all.add(reinterpret_cast<const uint8_t*>(bytes.data()),
                                    static_cast<uint32_t>(bytes.size()), run.raw_.firstRecord(e));
            if (all.size() != known) records.push_back(run.entryRecord(e));
        }
    }
    // The list in value order.
    size_t n = all.size();
    std::vector<Value> entryValues(n);
    for (uint32_t e = 0; e < n; ++e) entryValues[e] = first.table_.valueInRecord(records[e], first.field_);
    std::vector<uint32_t> order(n);
    std::iota(order.begin(), order.end(), 0u);
    sortInValueOrder(order, entryValues);
    values.clear();
    if (hasNull) values.push_back(Value::null());
    std::vector<uint32_t> entryCodes(n, 0);
    for (uint32_t e : order) {
        if (values.size() == (hasNull ? 1u : 0u) || compareValues(values.back(), entryValues[e]) != 0)
            values.push_back(std::move(entryValues[e]));
        entryCodes[e] = static_cast<uint32_t>(values.size() - 1);
    }
    for (std::vector<uint32_t>& entries : entryOf)
        for (uint32_t& e : entries) e = entryCodes[e];
    return entryOf;
}

NumberBuilder::NumberBuilder(const dbf::DbfTable& table, int field, NumberColumn& column)
    : table_(table),
      field_(field),
      plain_(table.fields()[static_cast<size_t>(field)].length, table.fields()[static_cast<size_t>(field)].decimals),
      column_(column) {
    const dbf::DbfField& f = table.fields()[static_cast<size_t>(field)];
    type_ = f.type;
    offset_ = f.offset;
    length_ = f.length;
    nullable_ = f.nullBit >= 0;
}

NumberColumn numberColumnFor(const dbf::DbfTable& table, int field, uint32_t recordCount) {
    const dbf::DbfField& f = table.fields()[static_cast<size_t>(field)];
    NumberColumn column;
    column.scale = f.type == 'Y' ? 4 : (f.type == 'I' ? 0 : f.decimals);
    column.usable = f.type == 'N' || f.type == 'F' || f.type == 'I' || f.type == 'Y';
    column.units.assign(recordCount, 0);
    if (f.nullBit >= 0) column.isNull.assign(recordCount, 0);
    return column;
}

}  // namespace vantrep::engine::exec
