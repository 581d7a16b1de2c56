// Which calls are aggregates and what type each gives. Result types:
// SUM of N(w,d) or F N(20,d), of I N(20,0), of Y Y, of B B; AVG of N(w,d),
// F, I or Y N(20, d + 4) (I counts as d = 0, Y as d = 4), of B B; COUNT(*)
// and COUNT(x) N(10,0); MIN and MAX the argument's own type.
#pragma once

#include <optional>
#include <string_view>

#include "engine/exec/BoundExpr.h"

namespace vantrep::engine::exec {

// SUM, COUNT, AVG, MIN, MAX (upper case); COUNT gives Count (COUNT(*) is
// told apart by its argument).
std::optional<AggregateFunction> aggregateNamed(std::string_view name);

// The result type of `function` over an argument of type `argument` (ignored
// for COUNT(*)). Throws errDataTypeMismatch for an argument it cannot take.
ColumnType aggregateType(AggregateFunction function, const ColumnType& argument, std::string_view name,
                         size_t position);

}  // namespace vantrep::engine::exec
