// One value of the data engine: null, logical, integer, exact decimal, double,
// string, date or datetime. Inside the engine strings hold the table's
// code-page bytes; values handed out by a Recordset hold UTF-8.
#pragma once

#include <cstdint>
#include <string>

#include "engine/Decimal.h"

namespace vantrep::engine {

enum class ValueKind : uint8_t { Null, Logical, Integer, Decimal, Double, String, Date, DateTime };

// Calendar helpers. Dates are Julian Day Numbers; 0 stands for the empty date.
int32_t julianDay(int year, int month, int day);
void civilFromJulianDay(int32_t jdn, int& year, int& month, int& day);
bool isValidDate(int year, int month, int day);
constexpr int64_t msPerDay = 86400000;

class Value {
public:
    Value() = default;
    static Value null() { return Value(); }
    static Value logical(bool b);
    static Value integer(int64_t i);
    static Value decimal(Decimal d);
    static Value real(double d);
    static Value string(std::string s);
    static Value date(int32_t jdn);  // 0 = empty date
    // Milliseconds since the start of Julian day 0; 0 = empty datetime.
    static Value dateTime(int64_t ms);

    ValueKind kind() const { return kind_; }
    bool isNull() const { return kind_ == ValueKind::Null; }
    bool isNumber() const {
        return kind_ == ValueKind::Integer || kind_ == ValueKind::Decimal || kind_ == ValueKind::Double;
    }

    bool asLogical() const { return integer_ != 0; }
    int64_t asInteger() const;  // numbers truncated toward zero
    Decimal asDecimal() const;  // Integer and Decimal exactly, Double to 10 places
    double asDouble() const;
    const std::string& asString() const { return string_; }
    int32_t asDate() const { return static_cast<int32_t>(integer_); }
    int64_t asDateTime() const { return integer_; }
    bool isEmptyDate() const {
        return (kind_ == ValueKind::Date || kind_ == ValueKind::DateTime) && integer_ == 0;
    }

    // The value as text the way the engine reports it: numbers in plain decimal
    // (a Decimal with its own scale), dates YYYY-MM-DD, datetimes
    // YYYY-MM-DD HH:MM:SS, logicals T or F, null as .NULL., strings as they are.
    std::string toText() const;

    // Same kind and same content (strings byte for byte); for tests and caches.
    friend bool operator==(const Value& a, const Value& b);

private:
    ValueKind kind_ = ValueKind::Null;
    int64_t integer_ = 0;  // Logical, Integer, Date, DateTime
    double real_ = 0;
    Decimal decimal_;
    std::string string_;
};

}  // namespace vantrep::engine
