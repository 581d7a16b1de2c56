// Turning expressions over a set of records into dense codes in value order,
// and filtering records by a condition. Expressions that read a single
// dictionary-coded field are evaluated once per distinct value of that field
// instead of once per record: this is what makes the program's cross-tab and
// value-list statements fast on large tables.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/exec/BoundExpr.h"
#include "engine/exec/CachedTable.h"

namespace vantrep::engine::exec {

// Codes of an expression for a list of records, and the distinct values they
// stand for. An expression over one coded field reads the field's codes by
// record (through `remap` when the expression merges or reorders values), so
// that no array per record is built for it.
struct CodedValues {
    std::vector<uint32_t> codes;  // per position in the record list, unless recordCodes is set
    const BigVector<uint32_t>* recordCodes = nullptr;  // a field's dictionary codes, by record
    std::vector<uint32_t> remap;  // with recordCodes: dictionary code -> code; empty when the same
    std::vector<Value> values;    // distinct values in order; codes index them

    uint32_t at(size_t position, uint32_t record) const {
        if (!recordCodes) return codes[position];
        uint32_t code = (*recordCodes)[record];
        return remap.empty() ? code : remap[code];
    }
};

// Codes of `expr` (no aggregates) for each record of `records`, with every value
// conformed to the expression's type.
CodedValues codeExpression(const BoundExpr& expr, CachedTable& table, const RecordList& records);

// Puts into `kept` the records of `records` for which `condition` is true
// (order kept) and returns true; returns false, leaving `kept` alone, when the
// condition lets every record pass without looking at any (WHERE 1=1).
bool filterRecords(const BoundExpr& condition, CachedTable& table, const RecordList& records, RecordList& kept);

// The parts of a condition joined by AND at its top.
std::vector<const BoundExpr*> conjuncts(const BoundExpr& condition);

// The single field an expression reads when it can be evaluated per distinct
// value of that field, else -1.
int singleCodableField(const BoundExpr& expr, const CachedTable& table);

}  // namespace vantrep::engine::exec
