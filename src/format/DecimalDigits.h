// A number as plain decimal digits, so that display rounding works on the
// decimal value the user sees rather than on its binary approximation.
#pragma once

#include <string>
#include <string_view>

#include "engine/Decimal.h"

namespace vantrep::format {

class DecimalDigits {
public:
    // Reads plain decimal text such as "-12.50", "3", ".5" (no exponent).
    static DecimalDigits fromText(std::string_view text);
    // The shortest text that reads back as exactly `value` (finite values only).
    static DecimalDigits fromDouble(double value);
    // What fromDouble(value) then round(decimals) give (finite values only),
    // read straight from value * 10^decimals unless that lies so near a half
    // that only the shortest text can tell which way it rounds.
    static DecimalDigits fromDoubleRounded(double value, int decimals);
    // The exact value, with as many fraction digits as its scale.
    static DecimalDigits fromDecimal(const engine::Decimal& value);

    bool negative() const { return negative_; }
    // Integer digits without leading zeros ("" for 0), and fraction digits.
    std::string_view integer() const { return std::string_view(digits_).substr(0, integerCount_); }
    std::string_view fraction() const { return std::string_view(digits_).substr(integerCount_); }

    // Multiplies by 10^places (places >= 0), exactly.
    void shift(int places);
    // Keeps exactly `decimals` fraction digits, rounding half away from zero.
    void round(int decimals);
    bool isZero() const;

private:
    void dropLeadingZeros();

    bool negative_ = false;
    std::string digits_;  // the integer digits, then the fraction digits
    size_t integerCount_ = 0;
};

}  // namespace vantrep::format
