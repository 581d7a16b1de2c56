#include "engine/exec/TypeRules.h"

#include <algorithm>

#include "engine/EngineError.h"

namespace vantrep::engine::exec {

TypeFamily familyOf(const ColumnType& type) {
    switch (type.type) {
    case 'U': return TypeFamily::Unknown;
    case 'C': case 'M': return TypeFamily::String;
    case 'N': case 'F': case 'I': case 'Y': case 'B': return TypeFamily::Number;
    case 'D': case 'T': return TypeFamily::Date;
    case 'L': return TypeFamily::Logical;
    default: return TypeFamily::Binary;
    }
}

ColumnType fieldType(const dbf::DbfField& field) {
    switch (field.type) {
    case 'V': return {'C', field.length, 0};
    case 'F': return {'N', field.length, field.decimals};
    case 'Y': return {'Y', field.length, 4};
    case 'C': case 'D': case 'T': case 'L': case 'I': case 'M': return {field.type, field.length, 0};
    default: return {field.type, field.length, field.decimals};
    }
}

ColumnType numericType(int integerPlaces, int decimals) {
    decimals = std::clamp(decimals, 0, maxNumericDecimals);
    int width = std::max(integerPlaces, 0) + (decimals > 0 ? decimals + 1 : 0);
    width = std::clamp(width, decimals > 0 ? decimals + 1 : 1, maxNumericWidth);
    return {'N', width, decimals};
}

int integerPlaces(const ColumnType& numeric) {
    switch (numeric.type) {
    case 'I': return 11;  // ten digits and a sign
    case 'Y': return 16;  // fifteen digits and a sign
    case 'B': return maxNumericWidth;
    default: return std::max(numeric.decimals > 0 ? numeric.width - numeric.decimals - 1 : numeric.width, 0);
    }
}

std::optional<ColumnType> commonType(const ColumnType& a, const ColumnType& b) {
    TypeFamily fa = familyOf(a), fb = familyOf(b);
    if (fa == TypeFamily::Unknown) return b;
    if (fb == TypeFamily::Unknown) return a;
    if (fa != fb) return std::nullopt;
    switch (fa) {
    case TypeFamily::String:
        if (a.type == 'M' || b.type == 'M') return ColumnType{'M', 4, 0};
        return ColumnType{'C', std::max(a.width, b.width), 0};
    case TypeFamily::Number:
        if (a.type == b.type && (a.type == 'I' || a.type == 'Y')) return a;
        if (a.type == 'B' || b.type == 'B') return ColumnType{'B', 8, std::max(a.decimals, b.decimals)};
        return numericType(std::max(integerPlaces(a), integerPlaces(b)), std::max(a.decimals, b.decimals));
    case TypeFamily::Date:
        return a.type == b.type ? a : ColumnType{'T', 8, 0};
    case TypeFamily::Logical:
        return a;
    default:
        if (a.type != b.type) return std::nullopt;
        return ColumnType{a.type, std::max(a.width, b.width), 0};
    }
}

bool comparable(const ColumnType& a, const ColumnType& b) {
    TypeFamily fa = familyOf(a), fb = familyOf(b);
    if (fa == TypeFamily::Unknown || fb == TypeFamily::Unknown) return true;
    return fa == fb && fa != TypeFamily::Binary;
}

namespace {

std::optional<ColumnType> numberArithmetic(const std::string& op, const ColumnType& a, const ColumnType& b) {
    int decimals = std::max(a.decimals, b.decimals);
    if (a.type == 'B' || b.type == 'B') return ColumnType{'B', 8, decimals};
    if (op == "+" || op == "-") return numericType(std::max(integerPlaces(a), integerPlaces(b)) + 1, decimals);
    if (op == "*") return numericType(integerPlaces(a) + integerPlaces(b), a.decimals + b.decimals);
    // A quotient shows four decimals more than its operands.
    int quotientDecimals = std::min(decimals + 4, maxNumericDecimals);
    return numericType(maxNumericWidth - quotientDecimals - 1, quotientDecimals);
}

std::optional<ColumnType> dateArithmetic(const std::string& op, const ColumnType& a, const ColumnType& b) {
    TypeFamily fa = familyOf(a), fb = familyOf(b);
    bool dateTime = a.type == 'T' || b.type == 'T';
    if (fa == TypeFamily::Date && fb == TypeFamily::Number && (op == "+" || op == "-"))
        return ColumnType{a.type, 8, 0};
    if (fa == TypeFamily::Number && fb == TypeFamily::Date && op == "+") return ColumnType{b.type, 8, 0};
    if (fa == TypeFamily::Date && fb == TypeFamily::Date && op == "-")
        return dateTime ? numericType(16, 3) : numericType(10, 0);  // seconds / days
    return std::nullopt;
}

}  // namespace

std::optional<ColumnType> arithmeticType(const std::string& op, const ColumnType& a, const ColumnType& b) {
    TypeFamily fa = familyOf(a), fb = familyOf(b);
    if (fa == TypeFamily::Unknown && fb == TypeFamily::Unknown) return a;
    if (fa == TypeFamily::Unknown || fb == TypeFamily::Unknown) {
        const ColumnType& known = fa == TypeFamily::Unknown ? b : a;
        TypeFamily family = familyOf(known);
        bool joins = family == TypeFamily::String && (op == "+" || op == "-");
        bool computes = family == TypeFamily::Number;
        bool moves = family == TypeFamily::Date && (op == "+" || op == "-");
        if (joins || computes || moves) return known;
        return std::nullopt;
    }
    if (fa == TypeFamily::String && fb == TypeFamily::String && (op == "+" || op == "-")) {
        if (a.type == 'M' || b.type == 'M') return ColumnType{'M', 4, 0};
        return ColumnType{'C', a.width + b.width, 0};
    }
    if (fa == TypeFamily::Number && fb == TypeFamily::Number) return numberArithmetic(op, a, b);
    return dateArithmetic(op, a, b);
}

std::string positionText(size_t position) { return "(position " + std::to_string(position + 1) + ")"; }

void throwOperandMismatch(size_t position) {
    throw EngineError(errDataTypeMismatch, "Operator/operand type mismatch " + positionText(position) + ".");
}

void throwArgumentMismatch(const std::string& function, size_t argument, size_t position) {
    throw EngineError(errDataTypeMismatch, "Argument " + std::to_string(argument) + " of function '" + function +
                                               "' has the wrong type " + positionText(position) + ".");
}

}  // namespace vantrep::engine::exec
