#include "engine/exec/Compare.h"

#include <cstring>

#include "engine/exec/BoundExpr.h"
#include "engine/exec/TypeRules.h"

namespace vantrep::engine::exec {

namespace {

enum class Family { Null, Logical, Number, String, Moment };

Family familyOf(const Value& v) {
    switch (v.kind()) {
    case ValueKind::Null: return Family::Null;
    case ValueKind::Logical: return Family::Logical;
    case ValueKind::Integer: case ValueKind::Decimal: case ValueKind::Double: return Family::Number;
    case ValueKind::String: return Family::String;
    case ValueKind::Date: case ValueKind::DateTime: return Family::Moment;
    }
    return Family::Null;
}

int sign(bool less, bool greater) { return less ? -1 : (greater ? 1 : 0); }

// Unsigned bytes, the shorter operand read as if padded with blanks.
int comparePadded(const std::string& a, const std::string& b) {
    // The common length byte by byte (memcmp compares unsigned bytes), then
    // the longer one's rest against the blanks the shorter is padded with.
    const size_t common = a.size() < b.size() ? a.size() : b.size();
    if (int c = std::memcmp(a.data(), b.data(), common); c != 0) return c < 0 ? -1 : 1;
    const std::string& longer = a.size() > b.size() ? a : b;
    for (size_t i = common; i < longer.size(); ++i) {
        const unsigned char x = static_cast<unsigned char>(longer[i]);
        if (x != ' ') return (x < ' ') == (&longer == &a) ? -1 : 1;
    }
    return 0;
}

int compareNumbers(const Value& a, const Value& b) {
    if (a.kind() == ValueKind::Double || b.kind() == ValueKind::Double) {
        double x = a.asDouble(), y = b.asDouble();
        return sign(x < y, x > y);
    }
    if (a.kind() == ValueKind::Integer && b.kind() == ValueKind::Integer)
        return sign(a.asInteger() < b.asInteger(), a.asInteger() > b.asInteger());
    int c = compare(a.asDecimal(), b.asDecimal());
    return sign(c < 0, c > 0);
}

// A date is its midnight; the empty date and the empty datetime are both 0.
int64_t moment(const Value& v) {
    return v.kind() == ValueKind::Date ? int64_t(v.asDate()) * msPerDay : v.asDateTime();
}

}  // namespace

std::optional<int> compareSameFamily(const Value& a, const Value& b) {
    Family family = familyOf(a);
    if (family != familyOf(b)) return std::nullopt;
    switch (family) {
    case Family::Null: return 0;
    case Family::Logical: return sign(!a.asLogical() && b.asLogical(), a.asLogical() && !b.asLogical());
    case Family::Number: return compareNumbers(a, b);
    case Family::String: return comparePadded(a.asString(), b.asString());
    case Family::Moment: return sign(moment(a) < moment(b), moment(a) > moment(b));
    }
    return std::nullopt;
}

bool valuesEqual(const Value& a, const Value& b) {
    std::optional<int> c = compareSameFamily(a, b);
    return c && *c == 0;
}

Value compareOperator(const std::string& op, const Value& a, const Value& b, size_t position) {
    if (a.isNull() || b.isNull()) return Value::null();
    std::optional<int> c = compareSameFamily(a, b);
    if (!c) throwOperandMismatch(position);
    if (op == "=" || op == "==") return Value::logical(*c == 0);
    if (op == "<>") return Value::logical(*c != 0);
    if (op == "<") return Value::logical(*c < 0);
    if (op == ">") return Value::logical(*c > 0);
    if (op == "<=") return Value::logical(*c <= 0);
    return Value::logical(*c >= 0);  // ">="
}

int compareValues(const Value& a, const Value& b) {
    if (a.isNull() || b.isNull()) return sign(!b.isNull(), !a.isNull());
    if (std::optional<int> c = compareSameFamily(a, b)) return *c;
    return sign(familyOf(a) < familyOf(b), familyOf(a) > familyOf(b));
}

}  // namespace vantrep::engine::exec
