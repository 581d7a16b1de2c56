// A number as plain decimal digits, so that display rounding works on the
// decimal value the user sees rather than on its binary approximation.
#pragma once

#include <string>

namespace vantrep::session {

struct DecimalDigits {
    bool negative = false;
    std::string integer;   // integer digits without leading zeros; "" for 0
    std::string fraction;  // fraction digits, as many as the source text had

    // Reads plain decimal text such as "-12.50", "3", ".5" (no exponent).
    static DecimalDigits fromText(const std::string& text);
    // The shortest text that reads back as exactly `value` (finite values only).
    static DecimalDigits fromDouble(double value);

    // The value times 10^places (places >= 0), exactly.
    DecimalDigits shifted(int places) const;
    // Exactly `decimals` fraction digits, rounding half away from zero.
    DecimalDigits rounded(int decimals) const;
    bool isZero() const;
};

}  // namespace vantrep::session
