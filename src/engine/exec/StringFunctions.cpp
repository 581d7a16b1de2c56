// ALLTRIM, LTRIM, TRIM/RTRIM, UPPER and LOWER. Strings are the table's
// code-page bytes: trimming removes spaces only, and case changes touch the
// ASCII letters only (bytes from 0x80 up are left as they are, since their
// meaning depends on the code page).
#include "engine/exec/BuiltinFunctions.h"
#include "engine/exec/TypeRules.h"

namespace vantrep::engine::exec::builtin {

namespace {

template <typename Change>
Value changed(const Arguments& arguments, Change change) {
    Value v = arguments[0];
    if (v.kind() != ValueKind::String) return v;  // NULL stays NULL
    return Value::string(change(v.asString()));
}

std::string withoutLeadingSpaces(const std::string& s) {
    size_t first = s.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : s.substr(first);
}

std::string withoutTrailingSpaces(const std::string& s) {
    size_t last = s.find_last_not_of(' ');
    return last == std::string::npos ? std::string() : s.substr(0, last + 1);
}

}  // namespace

// The argument's own type: C(w) stays C(w), the column pads the shorter result.
ColumnType sameStringType(const BoundExpr& call) {
    const ColumnType& type = call.args[0]->type;
    TypeFamily family = familyOf(type);
    if (family != TypeFamily::String && family != TypeFamily::Unknown)
        throwArgumentMismatch(call.function, 1, call.args[0]->position);
    return type;
}

Value allTrim(const BoundExpr&, const Arguments& arguments) {
    return changed(arguments, [](const std::string& s) { return withoutTrailingSpaces(withoutLeadingSpaces(s)); });
}

Value leftTrim(const BoundExpr&, const Arguments& arguments) {
    return changed(arguments, withoutLeadingSpaces);
}

Value rightTrim(const BoundExpr&, const Arguments& arguments) {
    return changed(arguments, withoutTrailingSpaces);
}

Value upper(const BoundExpr&, const Arguments& arguments) {
    return changed(arguments, [](std::string s) {
        for (char& c : s)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        return s;
    });
}

Value lower(const BoundExpr&, const Arguments& arguments) {
    return changed(arguments, [](std::string s) {
        for (char& c : s)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return s;
    });
}

}  // namespace vantrep::engine::exec::builtin
