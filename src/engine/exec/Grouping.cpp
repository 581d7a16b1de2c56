#include "engine/exec/Grouping.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <unordered_map>

#include "engine/exec/KeyOrder.h"
#include "engine/exec/RowSources.h"

namespace vantrep::engine::exec {

Groups formGroups(const std::vector<CodedValues>& keys, const RecordList& records) {
    Groups groups;
    groups.groupOf.assign(records.size(), 0);
    if (records.empty()) return groups;
    if (keys.empty()) {
        groups.firstRecord.push_back(records[0]);
        return groups;
    }
    auto addGroup = [&](size_t position) {
        groups.firstRecord.push_back(records[position]);
        for (const CodedValues& k : keys) groups.keyCodes.push_back(k.at(position, records[position]));
        return static_cast<uint32_t>(groups.firstRecord.size() - 1);
    };
    int totalBits = 0;
    for (const CodedValues& k : keys) totalBits += bitsFor(k.values.size());
    constexpr uint32_t none = 0xFFFFFFFFu;
    if (totalBits <= 64) {
        // All key codes packed into one word per record.
        // Each key read the cheapest way it can be: straight from a field's
        // codes by record, through a remap of them, or per position.
        struct Reader {
            const uint32_t* byRecord;
            const uint32_t* remap;
            const uint32_t* byPosition;
            int bits;
        };
        std::vector<Reader> readers;
        for (const CodedValues& k : keys)
            readers.push_back({k.recordCodes ? k.recordCodes->data() : nullptr, k.remap.empty() ? nullptr : k.remap.data(),
                               k.recordCodes ? nullptr : k.codes.data(), bitsFor(k.values.size())});
        const uint32_t* recordOf = records.data();
        auto packedAt = [&](size_t i) {
            uint64_t key = 0;
            for (const Reader& k : readers) {
                uint32_t code = k.byPosition ? k.byPosition[i] : k.byRecord[recordOf[i]];
                if (k.remap) code = k.remap[code];
                key = (key << k.bits) | code;
            }
            return key;
        };
        if (totalBits <= 22) {
            std::vector<uint32_t> direct(size_t(1) << totalBits, none);
            for (size_t i = 0; i < records.size(); ++i) {
                uint32_t& g = direct[packedAt(i)];
                if (g == none) g = addGroup(i);
                groups.groupOf[i] = g;
            }
            // Codes are ranks, so the packed keys in ascending order are the
            // groups in key order: number the groups that way, so that results
            // are read in the order they were made.
            std::vector<uint32_t> renumbered(groups.count());
            uint32_t next = 0;
            for (uint32_t g : direct)
                if (g != none) renumbered[g] = next++;
            for (uint32_t& g : groups.groupOf) g = renumbered[g];
            std::vector<uint32_t> firstRecord(groups.count()), keyCodes(groups.keyCodes.size());
            size_t nk = keys.size();
            for (uint32_t g = 0; g < groups.count(); ++g) {
                firstRecord[renumbered[g]] = groups.firstRecord[g];
                for (size_t k = 0; k < nk; ++k) keyCodes[renumbered[g] * nk + k] = groups.keyCodes[g * nk + k];
            }
            groups.firstRecord.swap(firstRecord);
            groups.keyCodes.swap(keyCodes);
            groups.inKeyOrder.resize(groups.count());
            std::iota(groups.inKeyOrder.begin(), groups.inKeyOrder.end(), 0u);
        } else {
            std::unordered_map<uint64_t, uint32_t> found;
            for (size_t i = 0; i < records.size(); ++i) {
                auto [it, added] = found.try_emplace(packedAt(i), 0);
                if (added) it->second = addGroup(i);
                groups.groupOf[i] = it->second;
            }
        }
    } else {
        std::map<std::vector<uint32_t>, uint32_t> found;
        std::vector<uint32_t> key(keys.size());
        for (size_t i = 0; i < records.size(); ++i) {
            for (size_t k = 0; k < keys.size(); ++k) key[k] = keys[k].at(i, records[i]);
            auto [it, added] = found.try_emplace(key, 0);
            if (added) it->second = addGroup(i);
            groups.groupOf[i] = it->second;
        }
    }
    return groups;
}

Value GroupResults::at(size_t group) const {
    if (!exact) return values[group];
    if (!isNull.empty() && isNull[group]) return Value::null();
    return Value::decimal(Decimal{units[group], scale});
}

int decimalScaleOf(const ColumnType& type) {
    if (type.type == 'N' || type.type == 'F') return std::clamp(type.decimals, 0, Decimal::maxScale);
    if (type.type == 'Y') return 4;
    return -1;
}

// Exact integer sums on parsed number columns where possible, the general
// aggregate state otherwise.
GroupResults aggregateGroups(const AggregateCall& call, CachedTable& table, const RecordList& records,
                             const Groups& groups) {
    size_t n = groups.count();
    GroupResults results;
    BigVector<Value>& values = results.values;
    if (call.function == AggregateFunction::CountStar) {
        std::vector<int64_t> counts(n, 0);
        for (uint32_t g : groups.groupOf) ++counts[g];
        values.reserve(n);
        for (size_t g = 0; g < n; ++g) values.push_back(conform(Value::integer(counts[g]), call.type));
        return results;
    }
    const BoundExpr& argument = *call.argument;
    bool summable = call.function == AggregateFunction::Sum || call.function == AggregateFunction::Count;
    if (summable && argument.kind == BoundKind::Field) {
        const NumberColumn& column = table.numbers(argument.field);
        if (column.usable) {
            const int64_t* units = column.units.data();
            const uint32_t* groupOf = groups.groupOf.data();
            const dbf::DbfField& field = table.table().fields()[static_cast<size_t>(argument.field)];
            // A field of w characters holds less than 10^w units, so int64 sums of
            // up to 2^63 / 10^w records cannot overflow.
            bool narrowSums = (field.type == 'N' || field.type == 'F') && field.length <= 12 &&
                              records.size() < (uint64_t(1) << 63) / 1000000000000ull;
            BigVector<Int128> sums(n, 0);
            // Counts of values per group, for COUNT and where NULLs may leave a
            // group without any; empty when every group has values.
            std::vector<int64_t> counts;
            if (column.isNull.empty() && narrowSums) {
                std::vector<int64_t> narrow(n, 0);
                for (size_t i = 0; i < records.size(); ++i) narrow[groupOf[i]] += units[records[i]];
                std::copy(narrow.begin(), narrow.end(), sums.begin());
                if (call.function == AggregateFunction::Count) {
                    counts.assign(n, 0);
                    for (size_t i = 0; i < records.size(); ++i) ++counts[groupOf[i]];
                }
            } else {
                counts.assign(n, 0);
                for (size_t i = 0; i < records.size(); ++i) {
                    uint32_t r = records[i];
                    if (!column.isNull.empty() && column.isNull[r]) continue;
                    sums[groupOf[i]] += units[r];
                    ++counts[groupOf[i]];
                }
            }
            const bool someWithout = std::find(counts.begin(), counts.end(), 0) != counts.end();
            const int scale = decimalScaleOf(call.type);
            if (call.function == AggregateFunction::Sum && scale >= 0) {
                results.exact = true;
                results.scale = scale;
                if (scale != column.scale)
                    for (Int128& sum : sums) sum = Decimal{sum, column.scale}.rescaled(scale).units;
                results.units = std::move(sums);
                if (someWithout) {
                    results.isNull.resize(n);
                    for (size_t g = 0; g < n; ++g) results.isNull[g] = counts[g] == 0;
                }
                return results;
            }
            values.reserve(n);
            for (size_t g = 0; g < n; ++g) {
                if (call.function == AggregateFunction::Count)
                    values.push_back(conform(Value::integer(counts[g]), call.type));
                else
                    values.push_back(someWithout && counts[g] == 0
                                         ? Value::null()
                                         : conform(Value::decimal(Decimal{sums[g], column.scale}), call.type));
            }
            return results;
        }
    }
    std::vector<AggregateState> states(n, AggregateState(call));
    if (singleCodableField(argument, table) >= 0) {
        CodedValues coded = codeExpression(argument, table, records);
        for (size_t i = 0; i < records.size(); ++i)
            states[groups.groupOf[i]].add(coded.values[coded.at(i, records[i])]);
    } else {
        RecordRow row(table.table(), 0);
        for (size_t i = 0; i < records.size(); ++i) {
            row.moveTo(records[i]);
            states[groups.groupOf[i]].add(evaluate(argument, row));
        }
    }
    values.reserve(n);
    for (size_t g = 0; g < n; ++g) values.push_back(states[g].finish());
    return results;
}

}  // namespace vantrep::engine::exec
