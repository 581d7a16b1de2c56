#include "engine/sql/Literals.h"

#include <climits>
#include <string>

#include "engine/Decimal.h"

namespace vantrep::engine::sql {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Reads the parts of a date and time from left to right.
class Scanner {
public:
    explicit Scanner(std::string_view text) : text_(text) {}

    bool atEnd() const { return i_ == text_.size(); }
    void skipBlanks() {
        while (i_ < text_.size() && isBlank(text_[i_])) ++i_;
    }
    bool accept(std::string_view oneOf) {
        if (i_ < text_.size() && oneOf.find(text_[i_]) != std::string_view::npos) {
            ++i_;
            return true;
        }
        return false;
    }
    // One to maxDigits decimal digits.
    bool number(int maxDigits, int& out) {
        size_t start = i_;
        out = 0;
        while (i_ < text_.size() && text_[i_] >= '0' && text_[i_] <= '9' && i_ - start < size_t(maxDigits)) {
            out = out * 10 + (text_[i_] - '0');
            ++i_;
        }
        return i_ > start && !(i_ < text_.size() && text_[i_] >= '0' && text_[i_] <= '9');
    }

private:
    std::string_view text_;
    size_t i_ = 0;
};

enum class TimePart { Forbidden, Optional, Required };

// "yyyy-mm-dd" (also with / or .), then perhaps a blank or comma and "hh[:mm[:ss]]".
std::optional<Value> dateTimeValue(std::string_view text, TimePart timePart) {
    Scanner scan(trimmed(text));
    int year, month, day;
    if (!scan.number(4, year) || !scan.accept("-/.") || !scan.number(2, month) || !scan.accept("-/.") ||
        !scan.number(2, day) || !isValidDate(year, month, day)) {
        return std::nullopt;
    }
    int32_t jdn = julianDay(year, month, day);
    bool separated = scan.accept(" \t,");
    scan.skipBlanks();
    if (scan.atEnd()) {
        if (timePart == TimePart::Required) return std::nullopt;
        return Value::date(jdn);
    }
    if (!separated || timePart == TimePart::Forbidden) return std::nullopt;
    int hour = 0, minute = 0, second = 0;
    if (!scan.number(2, hour)) return std::nullopt;
    if (scan.accept(":")) {
        if (!scan.number(2, minute)) return std::nullopt;
        if (scan.accept(":") && !scan.number(2, second)) return std::nullopt;
    }
    scan.skipBlanks();
    if (!scan.atEnd() || hour > 23 || minute > 59 || second > 59) return std::nullopt;
    int64_t milliseconds = ((hour * 60 + minute) * 60 + second) * int64_t(1000);
    return Value::dateTime(jdn * msPerDay + milliseconds);
}

// "'...'" around the text of an ODBC escape.
std::optional<std::string_view> quoted(std::string_view text) {
    text = trimmed(text);
    if (text.size() < 2 || text.front() != '\'' || text.back() != '\'') return std::nullopt;
    return text.substr(1, text.size() - 2);
}

bool startsWithWord(std::string_view text, std::string_view lowerWord) {
    if (text.size() <= lowerWord.size()) return false;
    for (size_t i = 0; i < lowerWord.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != lowerWord[i]) return false;
    }
    return isBlank(text[lowerWord.size()]) || text[lowerWord.size()] == '\'';
}

}  // namespace

std::optional<NumberLiteral> numberLiteral(std::string_view text) {
    if (text.size() > size_t(INT_MAX)) return std::nullopt;
    size_t point = text.find('.');
    int decimals = point == std::string_view::npos ? 0 : int(text.size() - point - 1);
    if (decimals > Decimal::maxScale) return std::nullopt;
    std::optional<Decimal> decimal = Decimal::parse(text);
    if (!decimal) return std::nullopt;
    return NumberLiteral{Value::decimal(*decimal), int(text.size()), decimals};
}

std::optional<Value> bracedLiteral(std::string_view inside) {
    std::string compact;
    for (char c : inside) {
        if (!isBlank(c)) compact += c;
    }
    if (compact.empty() || compact == "//") return Value::date(0);

    std::string_view text = trimmed(inside);
    if (text.front() == '^') return dateTimeValue(text.substr(1), TimePart::Optional);
    if (startsWithWord(text, "ts")) {
        std::optional<std::string_view> content = quoted(text.substr(2));
        if (content) return dateTimeValue(*content, TimePart::Required);
    } else if (startsWithWord(text, "d")) {
        std::optional<std::string_view> content = quoted(text.substr(1));
        if (content) return dateTimeValue(*content, TimePart::Forbidden);
    }
    return std::nullopt;
}

}  // namespace vantrep::engine::sql
