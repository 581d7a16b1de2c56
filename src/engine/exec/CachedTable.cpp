#include "engine/exec/CachedTable.h"

#include <algorithm>

#include "engine/exec/ColumnBuilders.h"
#include "engine/exec/RecordStream.h"
#include "engine/Parallel.h"

namespace vantrep::engine::exec {

bool CachedTable::codable(const dbf::DbfField& field) {
    return field.type != 'M' && field.type != 'G' && field.type != 'W' && field.type != 'P' &&
           !(field.type == 'B' && field.length != 8);
}

// Below this many records a second thread costs more than it saves.
static constexpr size_t minimumRecordsPerPart = 50000;

static bool parsable(char type) { return type == 'N' || type == 'F' || type == 'I' || type == 'Y'; }

void CachedTable::prepare(const std::vector<int>& dictionaryFields, const std::vector<int>& numberFields) {
    const dbf::DbfTable& t = *table_;
    const uint32_t count = t.recordCount();
    std::vector<int> newDictionaries, newNumbers;
    for (int f : dictionaryFields)
        if (!dictionaries_.count(f) && std::find(newDictionaries.begin(), newDictionaries.end(), f) == newDictionaries.end())
            newDictionaries.push_back(f);
    for (int f : numberFields)
        if (!numbers_.count(f) && parsable(t.fields()[static_cast<size_t>(f)].type) &&
            std::find(newNumbers.begin(), newNumbers.end(), f) == newNumbers.end())
            newNumbers.push_back(f);
    if (visibleBuilt_ && newDictionaries.empty() && newNumbers.empty()) return;

    // The records are split into runs, one per core; each run is read once,
    // every field decoded by a builder of the run's own, into the columns
    // that all runs share. A run is a range of the visible records when they
    // are known, else a range of all records, its deleted ones passed over
    // and its visible ones noted.
    const bool overVisible = visibleBuilt_;
    const size_t span = overVisible ? visible_.size() : count;
    const size_t parts = partsFor(span, minimumRecordsPerPart);
    std::vector<std::unique_ptr<DictionaryColumn>> dictionaries(newDictionaries.size());
    for (auto& column : dictionaries) {
        column = std::make_unique<DictionaryColumn>();
        column->codes.assign(count, DictionaryColumn::noCode);
    }
    std::vector<std::unique_ptr<NumberColumn>> numbers;
    for (int f : newNumbers) numbers.push_back(std::make_unique<NumberColumn>(numberColumnFor(t, f, count)));
    struct Run {
        std::vector<DictionaryBuilder> dictionaries;
        std::vector<NumberBuilder> numbers;
        RecordList visible;
    };
    std::vector<Run> runs(parts);
    for (Run& run : runs) {
        for (size_t k = 0; k < newDictionaries.size(); ++k)
            run.dictionaries.emplace_back(t, newDictionaries[k], dictionaries[k]->codes);
        for (size_t k = 0; k < newNumbers.size(); ++k) run.numbers.emplace_back(t, newNumbers[k], *numbers[k]);
    }
    runParts(parts, [&](size_t part) {
        Run& run = runs[part];
        const auto [begin, end] = partRange(span, parts, part);
        auto decode = [&](uint32_t r, const uint8_t* bytes) {
            for (DictionaryBuilder& b : run.dictionaries) b.add(r, bytes);
            for (NumberBuilder& b : run.numbers) b.add(r, bytes);
        };
        RecordStream records(t, count);
        if (overVisible) {
            for (size_t i = begin; i < end; ++i) decode(visible_[i], records.record(visible_[i]));
            return;
        }
        run.visible.reserve(end - begin);
        for (size_t r = begin; r < end; ++r) {
            const uint8_t* bytes = records.record(static_cast<uint32_t>(r));
            if (bytes[0] == '*') continue;
            run.visible.push_back(static_cast<uint32_t>(r));
            decode(static_cast<uint32_t>(r), bytes);
        }
    });
    // Where each run's records lie in the visible records.
    std::vector<std::pair<size_t, size_t>> decoded(parts);
    for (size_t part = 0; part < parts; ++part) decoded[part] = partRange(span, parts, part);
    if (!overVisible) {
        visible_.reserve(count);
        for (size_t part = 0; part < parts; ++part) {
            decoded[part] = {visible_.size(), visible_.size() + runs[part].visible.size()};
            visible_.insert(visible_.end(), runs[part].visible.begin(), runs[part].visible.end());
            runs[part].visible = RecordList();
        }
        visibleBuilt_ = true;
    }
    // Each dictionary's entries, found run by run, put in value order; then
    // every run gives its records their codes.
    std::vector<std::vector<std::vector<uint32_t>>> entryCodes;  // per field, per run
    for (size_t k = 0; k < newDictionaries.size(); ++k) {
        std::vector<const DictionaryBuilder*> builders;
        for (const Run& run : runs) builders.push_back(&run.dictionaries[k]);
        entryCodes.push_back(DictionaryBuilder::orderEntries(builders, dictionaries[k]->values));
    }
    if (!newDictionaries.empty())
        runParts(parts, [&](size_t part) {
            const Run& run = runs[part];
            for (size_t k = 0; k < newDictionaries.size(); ++k)
                for (size_t i = decoded[part].first; i < decoded[part].second; ++i)
                    run.dictionaries[k].recode(visible_[i], entryCodes[k][part]);
        });
    for (size_t k = 0; k < newDictionaries.size(); ++k)
        dictionaries_.emplace(newDictionaries[k], std::move(dictionaries[k]));
    for (size_t k = 0; k < newNumbers.size(); ++k) {
        for (const Run& run : runs) numbers[k]->usable = numbers[k]->usable && run.numbers[k].usable();
        numbers_.emplace(newNumbers[k], std::move(numbers[k]));
    }
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

void CachedTable::releaseMemory() {
    dictionaries_.clear();
    numbers_.clear();
    table_->releasePages();
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
