// CTOD: text to date, always in the American order (mm/dd/yyyy): the engine
// has no other date order, whatever the locale. An invalid date gives the
// empty date.
#include <cstdint>
#include <string_view>

#include "engine/exec/BuiltinFunctions.h"
#include "engine/exec/TypeRules.h"

namespace vantrep::engine::exec::builtin {

namespace {

bool isDelimiter(char c) { return c == '/' || c == '-' || c == '.'; }

// Reads 1 to `maxDigits` digits at `pos`; false when there are none.
bool readNumber(std::string_view text, size_t& pos, int maxDigits, int& number, int& digits) {
    number = 0;
    digits = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && digits < maxDigits) {
        number = number * 10 + (text[pos] - '0');
        ++pos;
        ++digits;
    }
    return digits > 0;
}

// The date of American text, or 0 (the empty date) when it is not one: month
// and day of one or two digits, delimited by '/', '-' or '.', a year of one to
// four digits, of which one or two always mean the 1900s ("3/7/04" is
// 7 March 1904, never 2004); blanks around are ignored.
int32_t parseAmericanDate(std::string_view text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return 0;
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    size_t pos = 0;
    int month, day, year, digits;
    if (!readNumber(text, pos, 2, month, digits)) return 0;
    if (pos >= text.size() || !isDelimiter(text[pos++])) return 0;
    if (!readNumber(text, pos, 2, day, digits)) return 0;
    if (pos >= text.size() || !isDelimiter(text[pos++])) return 0;
    if (!readNumber(text, pos, 4, year, digits)) return 0;
    if (pos != text.size()) return 0;
    if (digits <= 2) year += 1900;
    return isValidDate(year, month, day) ? julianDay(year, month, day) : 0;
}

}  // namespace

ColumnType ctodType(const BoundExpr& call) {
    TypeFamily family = familyOf(call.args[0]->type);
    if (family != TypeFamily::String && family != TypeFamily::Unknown)
        throwArgumentMismatch(call.function, 1, call.args[0]->position);
    return {'D', 8, 0};
}

Value ctod(const BoundExpr&, const Arguments& arguments) {
    Value text = arguments[0];
    if (text.kind() != ValueKind::String) return Value::null();
    return Value::date(parseAmericanDate(text.asString()));
}

}  // namespace vantrep::engine::exec::builtin
