#include "engine/exec/CachedTable.h"

#include <algorithm>

#include "engine/exec/ColumnBuilders.h"

namespace vantrep::engine::exec {

bool CachedTable::codable(const dbf::DbfField& field) {
    return field.type != 'M' && field.type != 'G' && field.type != 'W' && field.type != 'P' &&
           !(field.type == 'B' && field.length != 8);
}

static bool parsable(char type) { return type == 'N' || type == 'F' || type == 'I' || type == 'Y'; }

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

    // One pass over the records: the deletion flag and every field asked for.
    auto decode = [&](uint32_t r, const uint8_t* bytes) {
        for (DictionaryBuilder& b : dictionaries) b.add(r, bytes);
        for (NumberBuilder& b : numbers) b.add(r, bytes);
    };
    if (visibleBuilt_) {
        for (uint32_t r : visible_) decode(r, t.record(r));
    } else {
        visible_.reserve(count);
        for (uint32_t r = 0; r < count; ++r) {
            const uint8_t* bytes = t.record(r);
            if (bytes[0] == '*') continue;
            visible_.push_back(r);
            decode(r, bytes);
        }
        visibleBuilt_ = true;
    }
    for (DictionaryBuilder& b : dictionaries) {
        auto column = std::make_unique<DictionaryColumn>();
        b.finish(visible_, *column);
        dictionaries_.emplace(b.field(), std::move(column));
    }
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
