// The built-in scalar functions: one table with each function's name, arity,
// result-type rule and implementation. Aggregates (SUM, COUNT, ...) are not
// here: the binder turns them into aggregate references (AggregateRules.h).
#pragma once

#include <string_view>

#include "engine/exec/BoundExpr.h"

namespace vantrep::engine::exec {

// Evaluates a sub-expression as its enclosing expression consumes it: values
// as computed, not yet conformed to a result column (TRIM inside `+` stays
// trimmed). Defined with the evaluator.
Value evaluateOperand(const BoundExpr& expr, const RowValues& row);

// The arguments of one call for the current row, evaluated when read, so that
// a function can leave some unevaluated (IIF evaluates one branch only).
class Arguments {
public:
    Arguments(const BoundExpr& call, const RowValues& row) : call_(call), row_(row) {}
    size_t count() const { return call_.args.size(); }
    Value operator[](size_t index) const { return evaluateOperand(*call_.args[index], row_); }

private:
    const BoundExpr& call_;
    const RowValues& row_;
};

struct ScalarFunction {
    std::string_view name;  // upper case
    int minArguments;
    int maxArguments;
    // Result type from the call's bound arguments; throws EngineError when an
    // argument does not fit.
    ColumnType (*resultType)(const BoundExpr& call);
    Value (*apply)(const BoundExpr& call, const Arguments& arguments);
};

// The function named `name` (upper case), or null when there is none.
const ScalarFunction* findScalarFunction(std::string_view name);

}  // namespace vantrep::engine::exec
