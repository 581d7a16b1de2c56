#include "engine/Value.h"

#include <cmath>
#include <cstdio>

namespace vantrep::engine {

int32_t julianDay(int year, int month, int day) {
    int a = (14 - month) / 12;
    int y = year + 4800 - a;
    int m = month + 12 * a - 3;
    return day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
}

void civilFromJulianDay(int32_t jdn, int& year, int& month, int& day) {
    int a = jdn + 32044;
    int b = (4 * a + 3) / 146097;
    int c = a - 146097 * b / 4;
    int d = (4 * c + 3) / 1461;
    int e = c - 1461 * d / 4;
    int m = (5 * e + 2) / 153;
    day = e - (153 * m + 2) / 5 + 1;
    month = m + 3 - 12 * (m / 10);
    year = 100 * b + d - 4800 + m / 10;
}

bool isValidDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int length = lengths[month - 1];
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (month == 2 && leap) length = 29;
    return day <= length;
}

Value Value::logical(bool b) {
    Value v;
    v.kind_ = ValueKind::Logical;
    v.integer_ = b ? 1 : 0;
    return v;
}

Value Value::integer(int64_t i) {
    Value v;
    v.kind_ = ValueKind::Integer;
    v.integer_ = i;
    return v;
}

Value Value::decimal(Decimal d) {
    Value v;
    v.kind_ = ValueKind::Decimal;
    v.decimal_ = d;
    return v;
}

Value Value::real(double d) {
    Value v;
    v.kind_ = ValueKind::Double;
    v.real_ = d;
    return v;
}

Value Value::string(std::string s) {
    Value v;
    v.kind_ = ValueKind::String;
    v.string_ = std::move(s);
    return v;
}

Value Value::date(int32_t jdn) {
    Value v;
    v.kind_ = ValueKind::Date;
    v.integer_ = jdn;
    return v;
}

Value Value::dateTime(int64_t ms) {
    Value v;
    v.kind_ = ValueKind::DateTime;
    v.integer_ = ms;
    return v;
}

int64_t Value::asInteger() const {
    switch (kind_) {
    case ValueKind::Decimal: return static_cast<int64_t>(decimal_.units / powerOfTen(decimal_.scale));
    case ValueKind::Double: return static_cast<int64_t>(real_);
    default: return integer_;
    }
}

Decimal Value::asDecimal() const {
    switch (kind_) {
    case ValueKind::Decimal: return decimal_;
    case ValueKind::Double: return Decimal::fromDouble(real_, 10);
    default: return Decimal::fromInt(integer_);
    }
}

double Value::asDouble() const {
    switch (kind_) {
    case ValueKind::Decimal: return decimal_.toDouble();
    case ValueKind::Double: return real_;
    default: return static_cast<double>(integer_);
    }
}

namespace {

std::string dateText(int32_t jdn) {
    int y, m, d;
    civilFromJulianDay(jdn, y, m, d);
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", y, m, d);
    return buffer;
}

std::string realText(double d) {
    if (std::isnan(d)) return "NaN";
    if (std::isinf(d)) return d < 0 ? "-Inf" : "Inf";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", d);
    return buffer;
}

}  // namespace

std::string Value::toText() const {
    switch (kind_) {
    case ValueKind::Null: return ".NULL.";
    case ValueKind::Logical: return integer_ ? "T" : "F";
    case ValueKind::Integer: return std::to_string(integer_);
    case ValueKind::Decimal: return decimal_.toString();
    case ValueKind::Double: return realText(real_);
    case ValueKind::String: return string_;
    case ValueKind::Date: return integer_ == 0 ? "" : dateText(static_cast<int32_t>(integer_));
    case ValueKind::DateTime: {
        if (integer_ == 0) return "";
        int64_t seconds = (integer_ % msPerDay + 500) / 1000;  // round to the second for display
        int64_t day = integer_ / msPerDay;
        if (seconds >= 86400) { seconds -= 86400; ++day; }
        char buffer[40];
        std::snprintf(buffer, sizeof buffer, " %02d:%02d:%02d", static_cast<int>(seconds / 3600),
                      static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
        return dateText(static_cast<int32_t>(day)) + buffer;
    }
    }
    return "";
}

bool operator==(const Value& a, const Value& b) {
    if (a.kind_ != b.kind_) return false;
    switch (a.kind_) {
    case ValueKind::Null: return true;
    case ValueKind::Decimal: return a.decimal_.units == b.decimal_.units && a.decimal_.scale == b.decimal_.scale;
    case ValueKind::Double: return a.real_ == b.real_;
    case ValueKind::String: return a.string_ == b.string_;
    default: return a.integer_ == b.integer_;
    }
}

}  // namespace vantrep::engine
