// Running a bound SELECT: filter, then either sort the records (a listing) or
// group them (aggregates, DISTINCT), then lay out the result columns.
#include <algorithm>
#include <numeric>

#include "engine/EngineError.h"
#include "engine/Parallel.h"
#include "engine/exec/Coding.h"
#include "engine/exec/Executor.h"
#include "engine/exec/Grouping.h"
#include "engine/exec/KeyOrder.h"
#include "engine/exec/RowSources.h"
#include "engine/exec/SelectPlan.h"

namespace vantrep::engine::exec {

namespace {

ResultColumn outputColumn(const OutputItem& item, CachedTable& table, const RecordList& records) {
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
        column.codes.resize(records.size());
        for (size_t i = 0; i < records.size(); ++i) column.codes[i] = coded.at(i, records[i]);
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
                                        RecordList records) {
    if (!plan.order.empty() && records.size() > 1) {
        std::vector<CodedValues> keys;
        std::vector<bool> descending;
        for (const SortKey& key : plan.order) {
            keys.push_back(codeExpression(*key.expr, *table, records));
            descending.push_back(key.descending);
        }
        std::vector<uint32_t> order = sortPositions(keys, descending, records.size(), &records);
        RecordList sorted(records.size());
        for (size_t i = 0; i < order.size(); ++i) sorted[i] = records[order[i]];
        records.swap(sorted);
    }
    auto result = std::make_shared<QueryResult>(table);
    for (const OutputItem& item : plan.items) result->mutableColumns().push_back(outputColumn(item, *table, records));
    result->setRows(std::move(records));
    return result;
}

bool sameKey(const BoundExpr& a, const BoundExpr& b) {
    return &a == &b || (a.kind == BoundKind::Field && b.kind == BoundKind::Field && a.field == b.field);
}

// How an output item of a grouped query is read for a group.
struct GroupedItem {
    int key = -1;                        // the group key it is, or -1
    const BoundExpr* aggregate = nullptr;  // the aggregate it is, or rounds
    bool rounding = false;
    int roundTo = 0;
};

GroupedItem classify(const BoundExpr& expr, const std::vector<const BoundExpr*>& keyExprs) {
    GroupedItem item;
    for (size_t k = 0; k < keyExprs.size() && item.key < 0; ++k)
        if (sameKey(*keyExprs[k], expr)) item.key = static_cast<int>(k);
    if (item.key >= 0) return item;
    if (expr.kind == BoundKind::Aggregate) {
        item.aggregate = &expr;
    } else if (expr.kind == BoundKind::Call && expr.function == "ROUND" && expr.args.size() == 2 &&
               expr.args[0]->kind == BoundKind::Aggregate && expr.args[1]->kind == BoundKind::Constant &&
               expr.args[1]->constant.isNumber()) {
        item.aggregate = expr.args[0].get();
        item.rounding = true;
        item.roundTo = static_cast<int>(expr.args[1]->constant.asInteger());
    }
    return item;
}

// Key k's codes per group, as a sort key.
CodedValues keyColumn(const Groups& groups, const std::vector<CodedValues>& keys, size_t k) {
    size_t nk = keys.size(), n = groups.count();
    CodedValues c;
    c.values.resize(keys[k].values.size());
    c.codes.resize(n);
    for (size_t g = 0; g < n; ++g) c.codes[g] = groups.keyCodes[g * nk + k];
    return c;
}

// Values per group as dense codes in value order, as a sort key.
CodedValues rankedValues(const std::vector<Value>& values) {
    size_t n = values.size();
    std::vector<uint32_t> order(n);
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(),
                     [&](uint32_t a, uint32_t b) { return compareValues(values[a], values[b]) < 0; });
    CodedValues c;
    c.codes.assign(n, 0);
    uint32_t code = 0;
    for (size_t i = 0; i < n; ++i) {
        if (i > 0 && compareValues(values[order[i - 1]], values[order[i]]) != 0) ++code;
        c.codes[order[i]] = code;
    }
    c.values.resize(code + 1);
    return c;
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

// COUNT(*), or SUM or COUNT of a field whose numbers are decoded and usable.
bool readsDecodedNumbers(const AggregateCall& call, const CachedTable& table) {
    if (call.function == AggregateFunction::CountStar) return true;
    const bool summed = call.function == AggregateFunction::Sum || call.function == AggregateFunction::Count;
    if (!summed || !call.argument || call.argument->kind != BoundKind::Field) return false;
    const NumberColumn* numbers = table.decodedNumbers(call.argument->field);
    return numbers && numbers->usable;
}

std::shared_ptr<QueryResult> runGrouped(const SelectPlan& plan, std::shared_ptr<CachedTable> table,
                                        const RecordList& records) {
    if (isWholeFieldDistinct(plan, *table, records.size())) return distinctValuesOfField(plan, table);
    std::vector<const BoundExpr*> keyExprs = plan.groupKeys;
    if (plan.distinct)
        for (const OutputItem& item : plan.items) keyExprs.push_back(item.expr.get());
    std::vector<CodedValues> keys;
    for (const BoundExpr* k : keyExprs) keys.push_back(codeExpression(*k, *table, records));
    Groups groups = formGroups(keys, records);
    size_t n = groups.count();

    // Aggregates that read only decoded numbers run side by side on the cores;
    // any other may decode more of the table, so then all run here.
    std::vector<GroupResults> aggregates(plan.aggregates.size());
    const bool sideBySide = std::all_of(plan.aggregates.begin(), plan.aggregates.end(),
                                        [&](const AggregateCall& call) { return readsDecodedNumbers(call, *table); });
    const size_t parts = sideBySide ? std::min(aggregates.size(), partsFor(records.size(), 100000)) : 1;
    runParts(parts, [&](size_t part) {
        for (size_t a = part; a < aggregates.size(); a += parts)
            aggregates[a] = aggregateGroups(plan.aggregates[a], *table, records, groups);
    });

    // How each output item gets its value for a group: a key column takes the
    // key's value, an aggregate (rounded or not) its result, without a trip
    // through the evaluator; anything else is evaluated on the group.
    size_t nk = keys.size();
    std::vector<GroupedItem> items;
    for (const OutputItem& item : plan.items) items.push_back(classify(*item.expr, keyExprs));
    std::vector<Value> groupAggregates(plan.aggregates.size());
    auto valueOf = [&](size_t c, uint32_t g) -> Value {
        const GroupedItem& item = items[c];
        const BoundExpr& expr = *plan.items[c].expr;
        if (item.key >= 0) return keys[static_cast<size_t>(item.key)].values[groups.keyCodes[g * nk + item.key]];
        if (item.aggregate) {
            const Value v = aggregates[static_cast<size_t>(item.aggregate->aggregate)].at(g);
            if (!item.rounding || v.isNull() || !v.isNumber()) return v;
            return conform(Value::decimal(v.asDecimal().rounded(item.roundTo)), expr.type);
        }
        for (size_t a = 0; a < aggregates.size(); ++a) groupAggregates[a] = aggregates[a].at(g);
        GroupRow row(table->table(), groups.firstRecord[g], groupAggregates);
        return conform(evaluate(expr, row), expr.type);
    };

    // Groups come out in key order, then as ORDER BY asks. The cross-tab orders
    // by its group keys: then the groups' key order is the answer.
    bool orderedByKeys = plan.order.size() <= nk && !groups.inKeyOrder.empty();
    for (size_t i = 0; orderedByKeys && i < plan.order.size(); ++i)
        orderedByKeys = !plan.order[i].descending && sameKey(*keyExprs[i], *plan.order[i].expr);
    std::vector<uint32_t> order;
    if (orderedByKeys) {
        order = std::move(groups.inKeyOrder);
    } else {
        std::vector<CodedValues> sortKeys;
        std::vector<bool> descending;
        for (const SortKey& key : plan.order) {
            size_t k = 0;
            while (k < nk && !sameKey(*keyExprs[k], *key.expr)) ++k;
            if (k < nk) {
                sortKeys.push_back(keyColumn(groups, keys, k));
            } else {
                std::vector<Value> values(n);
                for (uint32_t g = 0; g < n; ++g) values[g] = valueOf(static_cast<size_t>(key.item), g);
                sortKeys.push_back(rankedValues(values));
            }
            descending.push_back(key.descending);
        }
        for (size_t k = 0; k < nk; ++k) {
            sortKeys.push_back(keyColumn(groups, keys, k));
            descending.push_back(false);
        }
        order = sortPositions(sortKeys, descending, n, nullptr);
    }

    // An aggregate shown once, as it is, in the groups' own order becomes its
    // column without a copy; not when an item is evaluated on the groups, as
    // that reads every aggregate.
    bool movable = std::all_of(items.begin(), items.end(),
                               [](const GroupedItem& item) { return item.aggregate || item.key >= 0; });
    for (size_t i = 0; i < order.size() && movable; ++i) movable = order[i] == i;
    std::vector<int> shown(aggregates.size(), 0);
    for (const GroupedItem& item : items)
        if (item.aggregate) ++shown[static_cast<size_t>(item.aggregate->aggregate)];

    auto result = std::make_shared<QueryResult>(table);
    for (size_t c = 0; c < plan.items.size(); ++c) {
        ResultColumn column;
        column.name = plan.items[c].name;
        column.type = plan.items[c].expr->type;
        const GroupedItem& item = items[c];
        const size_t a = item.aggregate ? static_cast<size_t>(item.aggregate->aggregate) : 0;
        const int scale = decimalScaleOf(column.type);
        if (item.aggregate && aggregates[a].exact && scale >= 0) {
            // Exact sums stay exact units, rounded as asked, in the column's
            // scale. Rounding to at least their own decimals leaves them as they are.
            GroupResults& results = aggregates[a];
            column.kind = ResultColumn::Kind::Decimal;
            column.scale = scale;
            const bool unchanged = scale == results.scale && (!item.rounding || item.roundTo >= results.scale);
            if (unchanged && movable && shown[a] == 1) {
                column.units = std::move(results.units);
                column.isNull = std::move(results.isNull);
            } else {
                column.units.reserve(n);
                for (uint32_t g : order) {
                    Decimal sum{results.units[g], results.scale};
                    if (item.rounding) sum = sum.rounded(item.roundTo);
                    column.units.push_back(sum.rescaled(scale).units);
                }
                if (!results.isNull.empty())
                    for (uint32_t g : order) column.isNull.push_back(results.isNull[g]);
            }
        } else if (item.aggregate && !aggregates[a].exact && !item.rounding && movable && shown[a] == 1) {
            column.kind = ResultColumn::Kind::Computed;
            column.values = std::move(aggregates[a].values);
        } else if (items[c].key >= 0) {
            size_t k = static_cast<size_t>(items[c].key);
            column.kind = ResultColumn::Kind::Coded;
            column.dictionary = keys[k].values;
            column.codes.reserve(n);
            for (uint32_t g : order) column.codes.push_back(groups.keyCodes[g * nk + k]);
        } else {
            column.kind = ResultColumn::Kind::Computed;
            column.values.reserve(n);
            for (uint32_t g : order) column.values.push_back(valueOf(c, g));
        }
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
    const RecordList& visible = table->visibleRows();
    RecordList filtered;
    bool narrowed = plan.where && filterRecords(*plan.where, *table, visible, filtered);
    const RecordList& records = narrowed ? filtered : visible;
    if (plan.grouped() || plan.distinct) return runGrouped(plan, table, records);
    return runListing(plan, table, records);
}

}  // namespace vantrep::engine::exec
