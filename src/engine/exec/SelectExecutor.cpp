// Running a bound SELECT: filter, then either sort the records (a listing) or
// group them (aggregates, DISTINCT), then lay out the result columns.
#include <algorithm>
#include <map>
#include <numeric>
#include <unordered_map>

#include "engine/EngineError.h"
#include "engine/exec/Coding.h"
#include "engine/exec/Executor.h"
#include "engine/exec/RowSources.h"
#include "engine/exec/SelectPlan.h"

namespace vantrep::engine::exec {

namespace {

int bitsFor(size_t cardinality) {
    int bits = 0;
    while ((size_t(1) << bits) < cardinality) ++bits;
    return bits;
}

// Positions 0..n-1 ordered by several code columns (each a rank per position),
// ties kept in position order.
std::vector<uint32_t> sortPositions(const std::vector<CodedValues>& keys, const std::vector<bool>& descending,
                                    size_t count) {
    int totalBits = 0;
    std::vector<int> bits;
    for (const CodedValues& k : keys) {
        bits.push_back(bitsFor(k.values.size()));
        totalBits += bits.back();
    }
    std::vector<uint32_t> order(count);
    if (totalBits <= 64) {
        std::vector<std::pair<uint64_t, uint32_t>> packed(count);
        for (size_t i = 0; i < count; ++i) {
            uint64_t key = 0;
            for (size_t k = 0; k < keys.size(); ++k) {
                if (bits[k] == 0) continue;
                uint64_t code = keys[k].codes[i];
                if (descending[k]) code = keys[k].values.size() - 1 - code;
                key = bits[k] == 64 ? code : (key << bits[k]) | code;
            }
            packed[i] = {key, static_cast<uint32_t>(i)};
        }
        std::sort(packed.begin(), packed.end());
        for (size_t i = 0; i < count; ++i) order[i] = packed[i].second;
        return order;
    }
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        for (size_t k = 0; k < keys.size(); ++k) {
            uint32_t x = keys[k].codes[a], y = keys[k].codes[b];
            if (x != y) return descending[k] ? x > y : x < y;
        }
        return false;
    });
    return order;
}

ResultColumn outputColumn(const OutputItem& item, CachedTable& table, const std::vector<uint32_t>& records) {
    ResultColumn column;
    column.name = item.name;
    column.type = item.expr->type;
    const BoundExpr& expr = *item.expr;
    if (expr.kind == BoundKind::Field) {
        column.kind = ResultColumn::Kind::SourceField;
        column.field = expr.field;
    } else if (fieldsUsed(expr).empty() || singleCodableField(expr, table) >= 0) {
        CodedValues coded = codeExpression(expr, table, records);
        column.kind = ResultColumn::Kind::Coded;
        column.codes = std::move(coded.codes);
        column.dictionary = std::move(coded.values);
    } else {
        column.kind = ResultColumn::Kind::Computed;
        column.values.reserve(records.size());
        RecordRow row(table.table(), 0);
        for (uint32_t r : records) {
            row.moveTo(r);
            column.values.push_back(conform(evaluate(expr, row), expr.type));
        }
    }
    return column;
}

std::shared_ptr<QueryResult> runListing(const SelectPlan& plan, std::shared_ptr<CachedTable> table,
                                        std::vector<uint32_t> records) {
    if (!plan.order.empty() && records.size() > 1) {
        std::vector<CodedValues> keys;
        std::vector<bool> descending;
        for (const SortKey& key : plan.order) {
            keys.push_back(codeExpression(*key.expr, *table, records));
            descending.push_back(key.descending);
        }
        std::vector<uint32_t> order = sortPositions(keys, descending, records.size());
        std::vector<uint32_t> sorted(records.size());
        for (size_t i = 0; i < order.size(); ++i) sorted[i] = records[order[i]];
        records.swap(sorted);
    }
    auto result = std::make_shared<QueryResult>(table);
    for (const OutputItem& item : plan.items) result->mutableColumns().push_back(outputColumn(item, *table, records));
    result->setRows(std::move(records));
    return result;
}

// Records split into groups by the codes of the group keys.
struct Groups {
    std::vector<uint32_t> groupOf;         // per record position
    std::vector<uint32_t> firstRecord;     // per group
    std::vector<uint32_t> keyCodes;        // per group, keys.size() codes each
    std::vector<uint32_t> inKeyOrder;      // the groups by their keys, when known without sorting
    size_t count() const { return firstRecord.size(); }
};

Groups formGroups(const std::vector<CodedValues>& keys, const std::vector<uint32_t>& records) {
    Groups groups;
    groups.groupOf.assign(records.size(), 0);
    if (records.empty()) return groups;
    if (keys.empty()) {
        groups.firstRecord.push_back(records[0]);
        return groups;
    }
    auto addGroup = [&](size_t position) {
        groups.firstRecord.push_back(records[position]);
        for (const CodedValues& k : keys) groups.keyCodes.push_back(k.codes[position]);
        return static_cast<uint32_t>(groups.firstRecord.size() - 1);
    };
    int totalBits = 0;
    for (const CodedValues& k : keys) totalBits += bitsFor(k.values.size());
    constexpr uint32_t none = 0xFFFFFFFFu;
    if (totalBits <= 64) {
        // All key codes packed into one word per record.
        std::vector<uint64_t> packed(records.size());
        std::vector<int> bits;
        std::vector<const uint32_t*> codes;
        for (const CodedValues& k : keys) {
            bits.push_back(bitsFor(k.values.size()));
            codes.push_back(k.codes.data());
        }
        if (keys.size() == 2) {
            const uint32_t *a = codes[0], *b = codes[1];
            const int shift = bits[1];
            for (size_t i = 0; i < records.size(); ++i) packed[i] = (uint64_t(a[i]) << shift) | b[i];
        } else {
            for (size_t i = 0; i < records.size(); ++i) {
                uint64_t key = 0;
                for (size_t k = 0; k < keys.size(); ++k) key = (key << bits[k]) | codes[k][i];
                packed[i] = key;
            }
        }
        if (totalBits <= 22) {
            std::vector<uint32_t> direct(size_t(1) << totalBits, none);
            for (size_t i = 0; i < records.size(); ++i) {
                uint32_t& g = direct[packed[i]];
                if (g == none) g = addGroup(i);
                groups.groupOf[i] = g;
            }
            // Codes are ranks, so the packed keys in ascending order are the
            // groups in key order.
            groups.inKeyOrder.reserve(groups.count());
            for (uint32_t g : direct)
                if (g != none) groups.inKeyOrder.push_back(g);
        } else {
            std::unordered_map<uint64_t, uint32_t> found;
            for (size_t i = 0; i < records.size(); ++i) {
                auto [it, added] = found.try_emplace(packed[i], 0);
                if (added) it->second = addGroup(i);
                groups.groupOf[i] = it->second;
            }
        }
    } else {
        std::map<std::vector<uint32_t>, uint32_t> found;
        std::vector<uint32_t> key(keys.size());
        for (size_t i = 0; i < records.size(); ++i) {
            for (size_t k = 0; k < keys.size(); ++k) key[k] = keys[k].codes[i];
            auto [it, added] = found.try_emplace(key, 0);
            if (added) it->second = addGroup(i);
            groups.groupOf[i] = it->second;
        }
    }
    return groups;
}

// One aggregate over every group: exact integer sums on parsed number columns
// where possible, the general aggregate state otherwise.
std::vector<Value> aggregateGroups(const AggregateCall& call, CachedTable& table, const std::vector<uint32_t>& records,
                                   const Groups& groups) {
    size_t n = groups.count();
    std::vector<Value> results(n);
    if (call.function == AggregateFunction::CountStar) {
        std::vector<int64_t> counts(n, 0);
        for (uint32_t g : groups.groupOf) ++counts[g];
        for (size_t g = 0; g < n; ++g) results[g] = conform(Value::integer(counts[g]), call.type);
        return results;
    }
    const BoundExpr& argument = *call.argument;
    bool summable = call.function == AggregateFunction::Sum || call.function == AggregateFunction::Count;
    if (summable && argument.kind == BoundKind::Field) {
        const NumberColumn& column = table.numbers(argument.field);
        if (column.usable) {
            std::vector<Int128> sums(n, 0);
            std::vector<int64_t> counts(n, 0);
            for (size_t i = 0; i < records.size(); ++i) {
                uint32_t r = records[i];
                if (!column.isNull.empty() && column.isNull[r]) continue;
                uint32_t g = groups.groupOf[i];
                sums[g] += column.units[r];
                ++counts[g];
            }
            for (size_t g = 0; g < n; ++g) {
                if (call.function == AggregateFunction::Count)
                    results[g] = conform(Value::integer(counts[g]), call.type);
                else
                    results[g] = counts[g] == 0 ? Value::null()
                                                : conform(Value::decimal(Decimal{sums[g], column.scale}), call.type);
            }
            return results;
        }
    }
    std::vector<AggregateState> states(n, AggregateState(call));
    if (singleCodableField(argument, table) >= 0) {
        CodedValues coded = codeExpression(argument, table, records);
        for (size_t i = 0; i < records.size(); ++i) states[groups.groupOf[i]].add(coded.values[coded.codes[i]]);
    } else {
        RecordRow row(table.table(), 0);
        for (size_t i = 0; i < records.size(); ++i) {
            row.moveTo(records[i]);
            states[groups.groupOf[i]].add(evaluate(argument, row));
        }
    }
    for (size_t g = 0; g < n; ++g) results[g] = states[g].finish();
    return results;
}

bool sameKey(const BoundExpr& a, const BoundExpr& b) {
    return &a == &b || (a.kind == BoundKind::Field && b.kind == BoundKind::Field && a.field == b.field);
}

// SELECT DISTINCT field over every visible record: the field's dictionary is
// the answer, already in order.
std::shared_ptr<QueryResult> distinctValuesOfField(const SelectPlan& plan, std::shared_ptr<CachedTable> table) {
    const BoundExpr& expr = *plan.items[0].expr;
    const DictionaryColumn& dictionary = table->dictionary(expr.field);
    ResultColumn column;
    column.name = plan.items[0].name;
    column.type = expr.type;
    column.kind = ResultColumn::Kind::Computed;
    for (const Value& v : dictionary.values) column.values.push_back(conform(v, expr.type));
    if (!plan.order.empty() && plan.order[0].descending) std::reverse(column.values.begin(), column.values.end());
    auto result = std::make_shared<QueryResult>(table);
    result->setRowCount(column.values.size());
    result->mutableColumns().push_back(std::move(column));
    return result;
}

bool isWholeFieldDistinct(const SelectPlan& plan, CachedTable& table, size_t recordCount) {
    if (!plan.distinct || plan.items.size() != 1 || plan.items[0].expr->kind != BoundKind::Field) return false;
    if (recordCount != table.visibleRows().size()) return false;
    const dbf::DbfField& field = table.table().fields()[static_cast<size_t>(plan.items[0].expr->field)];
    if (!CachedTable::codable(field)) return false;
    return std::all_of(plan.order.begin(), plan.order.end(), [](const SortKey& k) { return k.item == 0; });
}

std::shared_ptr<QueryResult> runGrouped(const SelectPlan& plan, std::shared_ptr<CachedTable> table,
                                        const std::vector<uint32_t>& records) {
    if (isWholeFieldDistinct(plan, *table, records.size())) return distinctValuesOfField(plan, table);
    std::vector<const BoundExpr*> keyExprs = plan.groupKeys;
    if (plan.distinct)
        for (const OutputItem& item : plan.items) keyExprs.push_back(item.expr.get());
    std::vector<CodedValues> keys;
    for (const BoundExpr* k : keyExprs) keys.push_back(codeExpression(*k, *table, records));
    Groups groups = formGroups(keys, records);
    size_t n = groups.count();

    std::vector<std::vector<Value>> aggregates(plan.aggregates.size());
    for (size_t a = 0; a < plan.aggregates.size(); ++a)
        aggregates[a] = aggregateGroups(plan.aggregates[a], *table, records, groups);

    // Output values per group. Key columns take the key's value, and an
    // aggregate (rounded or not) its result, without a trip through the evaluator.
    std::vector<std::vector<Value>> columns(plan.items.size(), std::vector<Value>(n));
    std::vector<Value> groupAggregates(plan.aggregates.size());
    size_t nk = keys.size();
    for (size_t c = 0; c < plan.items.size(); ++c) {
        const BoundExpr& expr = *plan.items[c].expr;
        size_t k = 0;
        while (k < nk && !sameKey(*keyExprs[k], expr)) ++k;
        const BoundExpr* aggregate = nullptr;
        int roundTo = 0;
        bool rounding = false;
        if (expr.kind == BoundKind::Aggregate) {
            aggregate = &expr;
        } else if (expr.kind == BoundKind::Call && expr.function == "ROUND" && expr.args.size() == 2 &&
                   expr.args[0]->kind == BoundKind::Aggregate && expr.args[1]->kind == BoundKind::Constant &&
                   expr.args[1]->constant.isNumber()) {
            aggregate = expr.args[0].get();
            roundTo = static_cast<int>(expr.args[1]->constant.asInteger());
            rounding = true;
        }
        for (size_t g = 0; g < n; ++g) {
            if (k < nk) {
                columns[c][g] = keys[k].values[groups.keyCodes[g * nk + k]];
            } else if (aggregate && !rounding) {
                columns[c][g] = aggregates[static_cast<size_t>(aggregate->aggregate)][g];
            } else if (aggregate) {
                const Value& v = aggregates[static_cast<size_t>(aggregate->aggregate)][g];
                columns[c][g] = v.isNull() || !v.isNumber()
                                    ? v
                                    : conform(Value::decimal(v.asDecimal().rounded(roundTo)), expr.type);
            } else {
                for (size_t a = 0; a < aggregates.size(); ++a) groupAggregates[a] = aggregates[a][g];
                GroupRow row(table->table(), groups.firstRecord[g], groupAggregates);
                columns[c][g] = conform(evaluate(expr, row), expr.type);
            }
        }
    }

    // Groups come out in key order, then as ORDER BY asks.
    std::vector<CodedValues> sortKeys;
    std::vector<bool> descending;
    auto keyColumn = [&](size_t k) {
        CodedValues c;
        c.values.resize(keys[k].values.size());
        c.codes.resize(n);
        for (size_t g = 0; g < n; ++g) c.codes[g] = groups.keyCodes[g * nk + k];
        return c;
    };
    for (const SortKey& key : plan.order) {
        size_t k = 0;
        while (k < nk && !sameKey(*keyExprs[k], *key.expr)) ++k;
        if (k < nk) {
            sortKeys.push_back(keyColumn(k));
        } else {
            CodedValues c;
            std::vector<uint32_t> order(n);
            std::iota(order.begin(), order.end(), 0u);
            const std::vector<Value>& values = columns[static_cast<size_t>(key.item)];
            std::stable_sort(order.begin(), order.end(),
                             [&](uint32_t a, uint32_t b) { return compareValues(values[a], values[b]) < 0; });
            c.codes.assign(n, 0);
            uint32_t code = 0;
            for (size_t i = 0; i < n; ++i) {
                if (i > 0 && compareValues(values[order[i - 1]], values[order[i]]) != 0) ++code;
                c.codes[order[i]] = code;
            }
            c.values.resize(code + 1);
            sortKeys.push_back(std::move(c));
        }
        descending.push_back(key.descending);
    }
    for (size_t k = 0; k < nk; ++k) {
        sortKeys.push_back(keyColumn(k));
        descending.push_back(false);
    }
    // The cross-tab orders by its group keys: then the groups' key order is the answer.
    bool orderedByKeys = plan.order.size() <= nk && !groups.inKeyOrder.empty();
    for (size_t i = 0; orderedByKeys && i < plan.order.size(); ++i)
        orderedByKeys = !plan.order[i].descending && sameKey(*keyExprs[i], *plan.order[i].expr);
    std::vector<uint32_t> order = orderedByKeys ? groups.inKeyOrder : sortPositions(sortKeys, descending, n);

    auto result = std::make_shared<QueryResult>(table);
    for (size_t c = 0; c < plan.items.size(); ++c) {
        ResultColumn column;
        column.name = plan.items[c].name;
        column.type = plan.items[c].expr->type;
        column.kind = ResultColumn::Kind::Computed;
        column.values.reserve(n);
        for (uint32_t g : order) column.values.push_back(std::move(columns[c][g]));
        result->mutableColumns().push_back(std::move(column));
    }
    result->setRowCount(n);
    return result;
}

// Decodes every column the statement will read in one pass over the records.
void prepareColumns(const SelectPlan& plan, CachedTable& table) {
    std::vector<int> dictionaryFields, numberFields;
    auto wantCoded = [&](const BoundExpr& expr) {
        int field = singleCodableField(expr, table);
        if (field >= 0) dictionaryFields.push_back(field);
    };
    if (plan.where)
        for (const BoundExpr* part : conjuncts(*plan.where)) wantCoded(*part);
    for (const BoundExpr* key : plan.groupKeys) wantCoded(*key);
    for (const SortKey& key : plan.order) wantCoded(*key.expr);
    for (const AggregateCall& call : plan.aggregates) {
        if (!call.argument) continue;
        bool summed = call.function == AggregateFunction::Sum || call.function == AggregateFunction::Count;
        if (summed && call.argument->kind == BoundKind::Field)
            numberFields.push_back(call.argument->field);
        else
            wantCoded(*call.argument);
    }
    for (const OutputItem& item : plan.items)
        if (plan.distinct || (!plan.grouped() && item.expr->kind != BoundKind::Field)) wantCoded(*item.expr);
    table.prepare(dictionaryFields, numberFields);
}

}  // namespace

std::shared_ptr<QueryResult> runSelect(const sql::SelectStatement& statement, std::shared_ptr<CachedTable> table) {
    SelectPlan plan = bindSelect(statement, table->table());
    prepareColumns(plan, *table);
    std::vector<uint32_t> records = table->visibleRows();
    if (plan.where) records = filterRecords(*plan.where, *table, std::move(records));
    if (plan.grouped() || plan.distinct) return runGrouped(plan, table, records);
    return runListing(plan, table, std::move(records));
}

}  // namespace vantrep::engine::exec
