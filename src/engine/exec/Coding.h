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

struct CodedValues {
    std::vector<uint32_t> codes;  // per position in the record list
    std::vector<Value> values;    // distinct values in order; codes index them
};

// Codes of `expr` (no aggregates) for each record of `records`, with every value
// conformed to the expression's type.
CodedValues codeExpression(const BoundExpr& expr, CachedTable& table, const std::vector<uint32_t>& records);

// The records of `records` for which `condition` is true (order kept).
std::vector<uint32_t> filterRecords(const BoundExpr& condition, CachedTable& table,
                                    std::vector<uint32_t> records);

// The parts of a condition joined by AND at its top.
std::vector<const BoundExpr*> conjuncts(const BoundExpr& condition);

// The single field an expression reads when it can be evaluated per distinct
// value of that field, else -1.
int singleCodableField(const BoundExpr& expr, const CachedTable& table);

}  // namespace vantrep::engine::exec
