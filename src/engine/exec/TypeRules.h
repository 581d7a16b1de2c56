// Static typing rules of bound expressions: which family a column type belongs
// to, how operand types combine into a result type, and the type errors the
// binder reports. Shared by the binder, the built-in functions and aggregates.
//
// Numeric widths follow the DBF N(w, d) convention: the width counts the
// decimal point and the sign, so N(w, d) has w - d - 1 integer places when
// d > 0 and w when d = 0. Widths never exceed 20 and decimals 18, the limits
// of an N field.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "engine/dbf/DbfField.h"
#include "engine/exec/BoundExpr.h"

namespace vantrep::engine::exec {

enum class TypeFamily { Unknown, String, Number, Date, Logical, Binary };

// 'U' Unknown; C M String; N F I Y B Number; D T Date; L Logical; the rest Binary.
TypeFamily familyOf(const ColumnType& type);

// The type of a field as an expression: V reads as C of the same width, F as N,
// Y carries its four implied decimals.
ColumnType fieldType(const dbf::DbfField& field);

constexpr int maxNumericWidth = 20;
constexpr int maxNumericDecimals = 18;

ColumnType numericType(int integerPlaces, int decimals);  // N, clamped to the limits
int integerPlaces(const ColumnType& numeric);             // I: 11, Y: 16, B: 20

// The type both branches of IIF fit in; nothing when their families differ.
std::optional<ColumnType> commonType(const ColumnType& a, const ColumnType& b);

// Whether `=`, `<` and friends accept the two operand types.
bool comparable(const ColumnType& a, const ColumnType& b);

// Result of a + b, a - b, a * b, a / b; nothing when the operator does not take
// these operand types. Numbers (I counts as 11 integer places, Y as 16):
// + and - one integer place more than the wider operand and its decimals;
// * the integer places and the decimals of both added; / N(20, four decimals
// more than the operands); any B operand gives B. Strings joined: C(wa + wb),
// M when one is a memo. Date +/- number: the date's type; date - date N(10,0)
// days; with a datetime on either side N(20,3) seconds.
std::optional<ColumnType> arithmeticType(const std::string& op, const ColumnType& a, const ColumnType& b);

// "(position N)" with the 0-based statement offset shown 1-based.
std::string positionText(size_t position);

// errDataTypeMismatch "Operator/operand type mismatch (position N)."
[[noreturn]] void throwOperandMismatch(size_t position);
// errDataTypeMismatch naming the function and the argument (1-based) at fault.
[[noreturn]] void throwArgumentMismatch(const std::string& function, size_t argument, size_t position);

}  // namespace vantrep::engine::exec
