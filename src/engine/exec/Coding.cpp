#include "engine/exec/Coding.h"

#include <algorithm>
#include <numeric>

#include "engine/exec/RowSources.h"

namespace vantrep::engine::exec {

namespace {

// Dense codes for values computed one per position.
CodedValues rankValues(std::vector<Value> values) {
    std::vector<uint32_t> order(values.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(),
                     [&](uint32_t a, uint32_t b) { return compareValues(values[a], values[b]) < 0; });
    CodedValues coded;
    coded.codes.assign(values.size(), 0);
    for (uint32_t i : order) {
        if (coded.values.empty() || compareValues(coded.values.back(), values[i]) != 0)
            coded.values.push_back(std::move(values[i]));
        coded.codes[i] = static_cast<uint32_t>(coded.values.size() - 1);
    }
    return coded;
}

// The expression evaluated once for each distinct value of `field`, as codes of
// the field's dictionary into a new ranked list of results.
CodedValues evaluatePerDistinctValue(const BoundExpr& expr, const DictionaryColumn& dictionary) {
    std::vector<Value> results;
    results.reserve(dictionary.values.size());
    DistinctValueRow row(nullptr);
    for (const Value& v : dictionary.values) {
        row.moveTo(&v);
        results.push_back(conform(evaluate(expr, row), expr.type));
    }
    return rankValues(std::move(results));
}

}  // namespace

int singleCodableField(const BoundExpr& expr, const CachedTable& table) {
    if (hasAggregate(expr)) return -1;
    std::vector<int> fields = fieldsUsed(expr);
    if (fields.size() != 1) return -1;
    return CachedTable::codable(table.table().fields()[static_cast<size_t>(fields[0])]) ? fields[0] : -1;
}

CodedValues codeExpression(const BoundExpr& expr, CachedTable& table, const RecordList& records) {
    CodedValues coded;
    int field = singleCodableField(expr, table);
    if (field >= 0) {
        const DictionaryColumn& dictionary = table.dictionary(field);
        coded.recordCodes = &dictionary.codes;
        if (expr.kind == BoundKind::Field) {
            coded.values.reserve(dictionary.values.size());
            for (const Value& v : dictionary.values) coded.values.push_back(conform(v, expr.type));
            return coded;
        }
        CodedValues perValue = evaluatePerDistinctValue(expr, dictionary);
        coded.remap = std::move(perValue.codes);
        coded.values = std::move(perValue.values);
        return coded;
    }
    if (!hasAggregate(expr) && fieldsUsed(expr).empty()) {
        RecordRow none(table.table(), 0);
        coded.values.push_back(conform(evaluate(expr, none), expr.type));
        coded.codes.assign(records.size(), 0);
        return coded;
    }
    std::vector<Value> values;
    values.reserve(records.size());
    RecordRow row(table.table(), 0);
    for (uint32_t r : records) {
        row.moveTo(r);
        values.push_back(conform(evaluate(expr, row), expr.type));
    }
    return rankValues(std::move(values));
}

namespace {

void collectConjuncts(const BoundExpr& expr, std::vector<const BoundExpr*>& out) {
    if (expr.kind == BoundKind::Binary && expr.op == "AND") {
        collectConjuncts(*expr.args[0], out);
        collectConjuncts(*expr.args[1], out);
    } else {
        out.push_back(&expr);
    }
}

}  // namespace

std::vector<const BoundExpr*> conjuncts(const BoundExpr& condition) {
    std::vector<const BoundExpr*> parts;
    collectConjuncts(condition, parts);
    return parts;
}

bool filterRecords(const BoundExpr& condition, CachedTable& table, const RecordList& records, RecordList& kept) {
    // A row passes an AND only when every part is true, so the parts filter one
    // after the other; the cheap ones (constant, one coded field) go first.
    std::vector<const BoundExpr*> parts = conjuncts(condition);
    std::stable_partition(parts.begin(), parts.end(), [&](const BoundExpr* p) {
        return fieldsUsed(*p).empty() || singleCodableField(*p, table) >= 0;
    });
    const RecordList* current = &records;  // what passed so far
    RecordList next;
    for (const BoundExpr* part : parts) {
        if (current->empty()) break;
        next.clear();
        if (fieldsUsed(*part).empty()) {
            RecordRow none(table.table(), (*current)[0]);
            if (isTrue(evaluate(*part, none))) continue;
        } else if (int field = singleCodableField(*part, table); field >= 0) {
            const DictionaryColumn& dictionary = table.dictionary(field);
            std::vector<uint8_t> passes(dictionary.values.size());
            DistinctValueRow row(nullptr);
            for (size_t c = 0; c < dictionary.values.size(); ++c) {
                row.moveTo(&dictionary.values[c]);
                passes[c] = isTrue(evaluate(*part, row)) ? 1 : 0;
            }
            next.reserve(current->size());
            for (uint32_t r : *current)
                if (passes[dictionary.codes[r]]) next.push_back(r);
        } else {
            RecordRow row(table.table(), 0);
            for (uint32_t r : *current) {
                row.moveTo(r);
                if (isTrue(evaluate(*part, row))) next.push_back(r);
            }
        }
        kept.swap(next);
        current = &kept;
    }
    return current != &records;
}

}  // namespace vantrep::engine::exec
