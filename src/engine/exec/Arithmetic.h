// The arithmetic operators on values: numbers (exact decimals where both
// operands are exact, doubles as soon as one is a double), string joins and
// date arithmetic. A NULL operand gives NULL.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "engine/Value.h"

namespace vantrep::engine::exec {

// Decimals a quotient is computed with before its column rounds it: enough
// that a later ROUND of a ratio does not round twice.
constexpr int quotientWorkingDecimals = 18;

// -a for a number.
Value negate(const Value& a, size_t position);

// a op b for op "+" "-" "*" "/":
// - numbers: exact for Integer and Decimal operands (a result beyond the exact
//   range falls back to a double); a quotient is rounded half away from zero
//   to max(`quotientDecimals`, quotientWorkingDecimals) decimals;
// - strings: "+" joins keeping every blank; "-" joins after moving the left
//   operand's trailing blanks to the end of the result;
// - date + days, days + date, date - days; datetime +/- seconds;
//   date - date in days, datetime - datetime in seconds (an empty date on
//   either side gives 0); an empty date moved by days stays empty.
// Throws EngineError: errDivisionByZero, errDataTypeMismatch for operands the
// operator does not take. `position` is the operator's, for messages.
Value arithmetic(const std::string& op, const Value& a, const Value& b, int quotientDecimals, size_t position);

// a / b rounded half away from zero to `scale` decimals; nothing when the
// exact quotient does not fit. `b` must not be zero.
std::optional<Decimal> divideDecimals(const Decimal& a, const Decimal& b, int scale);

}  // namespace vantrep::engine::exec
