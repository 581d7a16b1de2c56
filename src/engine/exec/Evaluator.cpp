// Evaluation of bound expressions for one row, and the helpers around it:
// conform, isTrue, fieldsUsed, hasAggregate.
#include <algorithm>
#include <cmath>

#include "engine/exec/Arithmetic.h"
#include "engine/exec/BuiltinFunctions.h"
#include "engine/exec/Compare.h"
#include "engine/exec/Functions.h"

namespace vantrep::engine::exec {

namespace {

// NOT, AND and OR with .NULL. as "unknown": .F. AND .NULL. is .F., .T. OR
// .NULL. is .T., anything else with a NULL is NULL. The right operand is not
// evaluated when the left one decides.
Value logicalNot(const Value& v) { return v.isNull() ? v : Value::logical(!v.asLogical()); }

Value logicalConnective(const BoundExpr& expr, const RowValues& row) {
    bool conjunction = expr.op == "AND";
    Value left = evaluateOperand(*expr.args[0], row);
    if (!left.isNull() && left.asLogical() != conjunction) return left;
    Value right = evaluateOperand(*expr.args[1], row);
    if (!right.isNull() && right.asLogical() != conjunction) return right;
    if (left.isNull() || right.isNull()) return Value::null();
    return Value::logical(conjunction);
}

Value binary(const BoundExpr& expr, const RowValues& row) {
    if (expr.op == "AND" || expr.op == "OR") return logicalConnective(expr, row);
    Value left = evaluateOperand(*expr.args[0], row);
    Value right = evaluateOperand(*expr.args[1], row);
    if (expr.op == "+" || expr.op == "-" || expr.op == "*" || expr.op == "/")
        return arithmetic(expr.op, left, right, expr.type.decimals, expr.position);
    return compareOperator(expr.op, left, right, expr.position);
}

Value call(const BoundExpr& expr, const RowValues& row) {
    const ScalarFunction* function = findScalarFunction(expr.function);
    return function->apply(expr, Arguments(expr, row));
}

void collectFields(const BoundExpr& expr, std::vector<int>& fields) {
    if (expr.kind == BoundKind::Field) fields.push_back(expr.field);
    for (const BoundExprPtr& arg : expr.args) collectFields(*arg, fields);
}

std::string blankPaddedOrCut(const std::string& s, int width) {
    size_t length = static_cast<size_t>(std::max(width, 0));
    if (s.size() >= length) return s.substr(0, length);
    return s + std::string(length - s.size(), ' ');
}

// A number as an N column holds it. A double is read to ten decimals first,
// then rounded half away from zero like any decimal; one too large for any N
// column (or not finite) stays a double.
Value asScaledDecimal(const Value& v, int decimals) {
    if (v.kind() != ValueKind::Double) return Value::decimal(v.asDecimal().rescaled(decimals));
    double d = v.asDouble();
    if (!std::isfinite(d) || std::fabs(d) >= 1e20) return v;
    int digits = std::fabs(d) < 1e15 && decimals < 10 ? 10 : decimals;
    return Value::decimal(Decimal::fromDouble(d, digits).rescaled(decimals));
}

}  // namespace

Value evaluateOperand(const BoundExpr& expr, const RowValues& row) {
    switch (expr.kind) {
    case BoundKind::Constant: return expr.constant;
    case BoundKind::Field: return row.field(expr.field);
    case BoundKind::Aggregate: return row.aggregate(expr.aggregate);
    case BoundKind::Unary: {
        Value operand = evaluateOperand(*expr.args[0], row);
        return expr.op == "NOT" ? logicalNot(operand) : negate(operand, expr.position);
    }
    case BoundKind::Binary: return binary(expr, row);
    case BoundKind::Call: return call(expr, row);
    case BoundKind::In: return builtin::inList(expr, Arguments(expr, row));
    }
    return Value::null();
}

Value evaluate(const BoundExpr& expr, const RowValues& row) { return conform(evaluateOperand(expr, row), expr.type); }

Value conform(const Value& value, const ColumnType& type) {
    if (value.isNull()) return value;
    switch (type.type) {
    case 'C':
        return value.kind() == ValueKind::String ? Value::string(blankPaddedOrCut(value.asString(), type.width))
                                                 : value;
    case 'N': case 'F':
        return value.isNumber() ? asScaledDecimal(value, type.decimals) : value;
    case 'Y':
        return value.isNumber() ? asScaledDecimal(value, 4) : value;
    case 'I':
        return value.isNumber() ? Value::integer(value.asInteger()) : value;
    case 'B':
        return value.isNumber() ? Value::real(value.asDouble()) : value;
    case 'D':
        if (value.kind() == ValueKind::DateTime) return Value::date(static_cast<int32_t>(value.asDateTime() / msPerDay));
        return value;
    case 'T':
        if (value.kind() == ValueKind::Date) return Value::dateTime(int64_t(value.asDate()) * msPerDay);
        return value;
    default:
        return value;
    }
}

bool isTrue(const Value& value) { return value.kind() == ValueKind::Logical && value.asLogical(); }

std::vector<int> fieldsUsed(const BoundExpr& expr) {
    std::vector<int> fields;
    collectFields(expr, fields);
    std::sort(fields.begin(), fields.end());
    fields.erase(std::unique(fields.begin(), fields.end()), fields.end());
    return fields;
}

bool hasAggregate(const BoundExpr& expr) {
    if (expr.kind == BoundKind::Aggregate) return true;
    return std::any_of(expr.args.begin(), expr.args.end(), [](const BoundExprPtr& arg) { return hasAggregate(*arg); });
}

}  // namespace vantrep::engine::exec
