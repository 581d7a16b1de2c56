#include "engine/exec/CachedTable.h"

#include <algorithm>
#include <numeric>

#include "engine/exec/ColumnBuilders.h"
#include "engine/Parallel.h"

namespace vantrep::engine::exec {

bool CachedTable::codable(const dbf::DbfField& field) {
    return field.type != 'M' && field.type != 'G' && field.type != 'W' && field.type != 'P' &&
           !(field.type == 'B' && field.length != 8);
}

// Below this many records a second thread costs more than it saves.
static constexpr size_t minimumRecordsPerPart = 50000;

static bool parsable(char type) { return type == 'N' || type == 'F' || type == 'I' || type == 'Y'; }

// Which part decodes each field (dictionaries first, then numbers): the
// costliest first, each to the part with the least work so far. A field
// costs about its width, a dictionary about twice what a number does.
static std::vector<size_t> shareOut(const std::vector<DictionaryBuilder>& dictionaries,
                                    const std::vector<NumberBuilder>& numbers, size_t parts) {
    std::vector<size_t> cost;
    for (const DictionaryBuilder& b : dictionaries) cost.push_back(2 * (8 + b.width()));
    for (const NumberBuilder& b : numbers) cost.push_back(8 + b.width());
    std::vector<size_t> order(cost.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return cost[a] > cost[b]; });
    std::vector<size_t> load(parts, 0), partOf(cost.size(), 0);
    for (size_t k : order) {
        const size_t part = static_cast<size_t>(std::min_element(load.begin(), load.end()) - load.begin());
        partOf[k] = part;
        load[part] += cost[k];
    }
    return partOf;
}

void CachedTable::prepare(const std::vector<int>& dictionaryFields, const std::vector<int>& numberFields) {
    const dbf::DbfTable& t = *table_;
    uint32_t count = t.recordCount();
    std::vector<DictionaryBuilder> dictionaries;
    std::vector<NumberBuilder> numbers;
    for (int f : dictionaryFields)
        if (!dictionaries_.count(f) &&
            std::none_of(dictionaries.begin(), dictionaries.end(), [f](auto& b) { return b.field() == f; }))
            dictionaries.emplace_back(t, f, count);
    for (int f : numberFields)
        if (!numbers_.count(f) && parsable(t.fields()[static_cast<size_t>(f)].type) &&
            std::none_of(numbers.begin(), numbers.end(), [f](auto& b) { return b.field() == f; }))
            numbers.emplace_back(t, f, count);
    if (visibleBuilt_ && dictionaries.empty() && numbers.empty()) return;

    // The fields asked for are shared out among the cores; each part makes one
    // pass over the records for its fields, and part 0 also notes which
    // records are not deleted.
    const size_t builders = dictionaries.size() + numbers.size();
    const size_t parts = std::max<size_t>(1, std::min(builders, partsFor(count, minimumRecordsPerPart)));
    const std::vector<size_t> partOf = shareOut(dictionaries, numbers, parts);
    auto dictionariesOf = [&](size_t part) {
        std::vector<size_t> mine;
        for (size_t k = 0; k < dictionaries.size(); ++k)
            if (partOf[k] == part) mine.push_back(k);
        return mine;
    };
    auto decodePart = [&](size_t part) {
        std::vector<DictionaryBuilder*> myDictionaries;
        std::vector<NumberBuilder*> myNumbers;
        for (size_t k : dictionariesOf(part)) myDictionaries.push_back(&dictionaries[k]);
        for (size_t k = dictionaries.size(); k < builders; ++k)
            if (partOf[k] == part) myNumbers.push_back(&numbers[k - dictionaries.size()]);
        auto decode = [&](uint32_t r, const uint8_t* bytes) {
            for (DictionaryBuilder* b : myDictionaries) b->add(r, bytes);
            for (NumberBuilder* b : myNumbers) b->add(r, bytes);
        };
        if (visibleBuilt_) {
            for (uint32_t r : visible_) decode(r, t.record(r));
            return;
        }
        for (uint32_t r = 0; r < count; ++r) {
            const uint8_t* bytes = t.record(r);
            if (bytes[0] == '*') continue;
            if (part == 0) visible_.push_back(r);
            decode(r, bytes);
        }
    };
    if (!visibleBuilt_) visible_.reserve(count);
    runParts(parts, decodePart);
    visibleBuilt_ = true;
    // Then each part puts its dictionaries in value order.
    std::vector<std::unique_ptr<DictionaryColumn>> columns(dictionaries.size());
    for (auto& column : columns) column = std::make_unique<DictionaryColumn>();
    runParts(parts, [&](size_t part) {
        for (size_t k : dictionariesOf(part)) dictionaries[k].finish(visible_, *columns[k]);
    });
    for (size_t k = 0; k < dictionaries.size(); ++k) dictionaries_.emplace(dictionaries[k].field(), std::move(columns[k]));
    for (NumberBuilder& b : numbers) numbers_.emplace(b.field(), std::make_unique<NumberColumn>(b.take()));
}

const RecordList& CachedTable::visibleRows() {
    if (!visibleBuilt_) prepare({}, {});
    return visible_;
}

const DictionaryColumn& CachedTable::dictionary(int field) {
    if (!dictionaries_.count(field)) prepare({field}, {});
    return *dictionaries_.at(field);
}

const NumberColumn* CachedTable::decodedNumbers(int field) const {
    auto found = numbers_.find(field);
    return found == numbers_.end() ? nullptr : found->second.get();
}

const NumberColumn& CachedTable::numbers(int field) {
    if (!numbers_.count(field)) {
        if (parsable(table_->fields()[static_cast<size_t>(field)].type)) {
            prepare({}, {field});
        } else {
            auto unusable = std::make_unique<NumberColumn>();
            unusable->usable = false;
            numbers_.emplace(field, std::move(unusable));
        }
    }
    return *numbers_.at(field);
}

}  // namespace vantrep::engine::exec
