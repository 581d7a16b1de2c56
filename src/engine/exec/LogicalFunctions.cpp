// IIF, INLIST and EMPTY.
#include "engine/EngineError.h"
#include "engine/exec/BuiltinFunctions.h"
#include "engine/exec/Compare.h"
#include "engine/exec/TypeRules.h"

namespace vantrep::engine::exec::builtin {

namespace {

bool isBlankByte(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

ColumnType iifType(const BoundExpr& call) {
    TypeFamily condition = familyOf(call.args[0]->type);
    if (condition != TypeFamily::Logical && condition != TypeFamily::Unknown)
        throwArgumentMismatch(call.function, 1, call.args[0]->position);
    std::optional<ColumnType> type = commonType(call.args[1]->type, call.args[2]->type);
    if (!type)
        throw EngineError(errDataTypeMismatch,
                          "The two results of IIF are of different types " + positionText(call.position) + ".");
    return *type;
}

// Only the chosen branch is evaluated; a NULL condition chooses the second.
Value iif(const BoundExpr&, const Arguments& arguments) {
    return isTrue(arguments[0]) ? arguments[1] : arguments[2];
}

ColumnType inListType(const BoundExpr& call) {
    for (size_t i = 1; i < call.args.size(); ++i)
        if (!comparable(call.args[0]->type, call.args[i]->type))
            throwArgumentMismatch(call.function, i + 1, call.args[i]->position);
    return {'L', 1, 0};
}

// Values are read in turn up to the first match. Matching is whole-value
// equality (blank padded), never a prefix: INLIST("TVR", "TV") is .F.
Value inList(const BoundExpr&, const Arguments& arguments) {
    Value probe = arguments[0];
    if (probe.isNull()) return Value::null();
    bool sawNull = false;
    for (size_t i = 1; i < arguments.count(); ++i) {
        Value candidate = arguments[i];
        if (candidate.isNull())
            sawNull = true;
        else if (valuesEqual(probe, candidate))
            return Value::logical(true);
    }
    return sawNull ? Value::null() : Value::logical(false);
}

ColumnType emptyType(const BoundExpr&) { return {'L', 1, 0}; }

// Blank text (spaces, tabs, line breaks), zero, the empty date, .F.; a NULL
// is not empty.
Value empty(const BoundExpr&, const Arguments& arguments) {
    Value v = arguments[0];
    switch (v.kind()) {
    case ValueKind::Null: return Value::logical(false);
    case ValueKind::Logical: return Value::logical(!v.asLogical());
    case ValueKind::Integer: return Value::logical(v.asInteger() == 0);
    case ValueKind::Decimal: return Value::logical(v.asDecimal().isZero());
    case ValueKind::Double: return Value::logical(v.asDouble() == 0);
    case ValueKind::String: {
        for (char c : v.asString())
            if (!isBlankByte(c)) return Value::logical(false);
        return Value::logical(true);
    }
    case ValueKind::Date: case ValueKind::DateTime: return Value::logical(v.isEmptyDate());
    }
    return Value::logical(false);
}

}  // namespace vantrep::engine::exec::builtin
