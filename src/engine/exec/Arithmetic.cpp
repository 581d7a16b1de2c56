#include "engine/exec/Arithmetic.h"

#include <cmath>

#include "engine/EngineError.h"
#include "engine/exec/TypeRules.h"

namespace vantrep::engine::exec {

namespace {

// Decimal keeps its units below 2^120; results that would pass it go to doubles.
constexpr Int128 exactLimit = Int128(1) << 120;

Int128 magnitude(Int128 v) { return v < 0 ? -v : v; }

bool scaledFits(Int128 units, int digits) {
    return digits <= 36 && magnitude(units) <= exactLimit / powerOfTen(digits);
}

std::optional<Decimal> exactSum(const Decimal& a, const Decimal& b, bool subtract) {
    int scale = a.scale > b.scale ? a.scale : b.scale;
    if (!scaledFits(a.units, scale - a.scale) || !scaledFits(b.units, scale - b.scale)) return std::nullopt;
    return subtract ? a - b : a + b;
}

std::optional<Decimal> exactProduct(const Decimal& a, const Decimal& b) {
    if (a.isZero() || b.isZero()) return Decimal{0, 0};
    if (magnitude(a.units) > exactLimit / magnitude(b.units)) return std::nullopt;
    return a * b;
}

[[noreturn]] void throwDivisionByZero(size_t position) {
    throw EngineError(errDivisionByZero, "Division by zero " + positionText(position) + ".");
}

Value doubleArithmetic(char op, double a, double b, size_t position) {
    switch (op) {
    case '+': return Value::real(a + b);
    case '-': return Value::real(a - b);
    case '*': return Value::real(a * b);
    default:
        if (b == 0) throwDivisionByZero(position);
        return Value::real(a / b);
    }
}

Value numberArithmetic(char op, const Value& a, const Value& b, int quotientDecimals, size_t position) {
    if (a.kind() == ValueKind::Double || b.kind() == ValueKind::Double)
        return doubleArithmetic(op, a.asDouble(), b.asDouble(), position);
    Decimal x = a.asDecimal(), y = b.asDecimal();
    std::optional<Decimal> exact;
    switch (op) {
    case '+': exact = exactSum(x, y, false); break;
    case '-': exact = exactSum(x, y, true); break;
    case '*': exact = exactProduct(x, y); break;
    default: {
        if (y.isZero()) throwDivisionByZero(position);
        int decimals = quotientDecimals > quotientWorkingDecimals ? quotientDecimals : quotientWorkingDecimals;
        exact = divideDecimals(x, y, decimals);
        if (!exact) exact = divideDecimals(x, y, quotientDecimals);
    }
    }
    if (exact) return Value::decimal(*exact);
    return doubleArithmetic(op, x.toDouble(), y.toDouble(), position);
}

Value stringArithmetic(char op, const std::string& a, const std::string& b) {
    if (op == '+') return Value::string(a + b);
    size_t kept = a.find_last_not_of(' ');
    kept = kept == std::string::npos ? 0 : kept + 1;
    return Value::string(a.substr(0, kept) + b + std::string(a.size() - kept, ' '));
}

bool isMoment(const Value& v) { return v.kind() == ValueKind::Date || v.kind() == ValueKind::DateTime; }

int64_t momentMs(const Value& v) {
    return v.kind() == ValueKind::Date ? int64_t(v.asDate()) * msPerDay : v.asDateTime();
}

// A date moves by whole days (the fraction is dropped), a datetime by seconds
// kept to the millisecond.
Value moved(const Value& moment, const Value& amount, bool backwards) {
    if (moment.isEmptyDate()) return moment;
    if (moment.kind() == ValueKind::Date) {
        int64_t days = amount.asInteger();
        return Value::date(static_cast<int32_t>(moment.asDate() + (backwards ? -days : days)));
    }
    int64_t ms = static_cast<int64_t>(amount.asDecimal().rescaled(3).units);
    return Value::dateTime(moment.asDateTime() + (backwards ? -ms : ms));
}

Value difference(const Value& a, const Value& b) {
    bool dateTime = a.kind() == ValueKind::DateTime || b.kind() == ValueKind::DateTime;
    if (a.isEmptyDate() || b.isEmptyDate()) return Value::decimal(Decimal{0, dateTime ? 3 : 0});
    if (!dateTime) return Value::decimal(Decimal::fromInt(int64_t(a.asDate()) - b.asDate()));
    return Value::decimal(Decimal{momentMs(a) - momentMs(b), 3});
}

}  // namespace

Value negate(const Value& a, size_t position) {
    switch (a.kind()) {
    case ValueKind::Null: return a;
    case ValueKind::Integer: return Value::integer(-a.asInteger());
    case ValueKind::Decimal: return Value::decimal(-a.asDecimal());
    case ValueKind::Double: return Value::real(-a.asDouble());
    default: throwOperandMismatch(position);
    }
}

Value arithmetic(const std::string& op, const Value& a, const Value& b, int quotientDecimals, size_t position) {
    if (a.isNull() || b.isNull()) return Value::null();
    char o = op.empty() ? ' ' : op[0];
    if (a.isNumber() && b.isNumber()) return numberArithmetic(o, a, b, quotientDecimals, position);
    bool additive = o == '+' || o == '-';
    if (additive && a.kind() == ValueKind::String && b.kind() == ValueKind::String)
        return stringArithmetic(o, a.asString(), b.asString());
    if (additive && isMoment(a) && b.isNumber()) return moved(a, b, o == '-');
    if (o == '+' && a.isNumber() && isMoment(b)) return moved(b, a, false);
    if (o == '-' && isMoment(a) && isMoment(b)) return difference(a, b);
    throwOperandMismatch(position);
}

std::optional<Decimal> divideDecimals(const Decimal& a, const Decimal& b, int scale) {
    int shift = scale - a.scale + b.scale;  // quotient units = a.units * 10^shift / b.units
    Int128 numerator = a.units, denominator = b.units;
    if (shift >= 0) {
        if (!scaledFits(numerator, shift)) return std::nullopt;
        numerator *= powerOfTen(shift);
    } else {
        if (!scaledFits(denominator, -shift)) return std::nullopt;
        denominator *= powerOfTen(-shift);
    }
    Int128 quotient = numerator / denominator;
    Int128 remainder = magnitude(numerator % denominator);
    if (remainder * 2 >= magnitude(denominator)) quotient += (numerator < 0) != (denominator < 0) ? -1 : 1;
    return Decimal{quotient, scale};
}

}  // namespace vantrep::engine::exec
