// ROUND, in decimal arithmetic: a 5 rounds away from zero on both sides, and
// negative decimals zero digits left of the point (ROUND(1234.1962, -2) = 1200).
#include <algorithm>

#include "engine/EngineError.h"
#include "engine/exec/BuiltinFunctions.h"
#include "engine/exec/TypeRules.h"

namespace vantrep::engine::exec::builtin {

namespace {

// The decimals argument: the binder folds a negative literal into a constant.
int roundingDigits(const BoundExpr& call) {
    const BoundExpr& digits = *call.args[1];
    if (digits.kind != BoundKind::Constant || !digits.constant.isNumber())
        throw EngineError(errNotSupported, "The decimals of ROUND must be a constant number " +
                                               positionText(digits.position) + ".");
    return static_cast<int>(digits.constant.asInteger());
}

}  // namespace

// N(width of x, max(d, 0)), widened when x's integer places and d decimals
// need more room (ROUND(N(5,0), 2) is N(8,2)).
ColumnType roundType(const BoundExpr& call) {
    const ColumnType& x = call.args[0]->type;
    TypeFamily family = familyOf(x);
    if (family != TypeFamily::Number && family != TypeFamily::Unknown)
        throwArgumentMismatch(call.function, 1, call.args[0]->position);
    int decimals = std::max(roundingDigits(call), 0);
    ColumnType type = numericType(integerPlaces(x), decimals);
    if (x.type == 'N' || x.type == 'F') type.width = std::clamp(x.width, type.width, maxNumericWidth);
    return type;
}

// A double is read to ten decimals first, so ROUND(2.675, 2) gives 2.68 as written.
Value round(const BoundExpr& call, const Arguments& arguments) {
    Value x = arguments[0];
    if (!x.isNumber()) return Value::null();
    return Value::decimal(x.asDecimal().rounded(roundingDigits(call)));
}

}  // namespace vantrep::engine::exec::builtin
