// Comparison of values under the engine's SQL rules (machine collation):
// strings are compared byte by byte after padding the shorter with blanks,
// so trailing blanks never matter and a prefix never matches;
// numbers by value whatever their kind; dates and datetimes on one time line.
#pragma once

#include <optional>
#include <string>

#include "engine/Value.h"

namespace vantrep::engine::exec {

// <0, 0, >0 for two non-null values of one family (strings, numbers,
// dates/datetimes, logicals); nothing when the families differ.
std::optional<int> compareSameFamily(const Value& a, const Value& b);

// The one equality of `=`, `==`, IN and INLIST for two non-null values.
bool valuesEqual(const Value& a, const Value& b);

// `a op b` for op "=" "==" "<>" "<" ">" "<=" ">=": .T. or .F., NULL when an
// operand is NULL. Throws errDataTypeMismatch for values of different families.
Value compareOperator(const std::string& op, const Value& a, const Value& b, size_t position);

}  // namespace vantrep::engine::exec
