// Exact decimal numbers: an integer count of units of 10^-scale. The engine
// keeps N and Y values, sums and rounded results in this form so that totals
// never drift the way binary doubles do.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantrep::engine {

using Int128 = __int128;

struct Decimal {
    Int128 units = 0;  // value = units / 10^scale
    int scale = 0;     // 0 .. 30

    static constexpr int maxScale = 30;

    // Parses "-12.50", " 7", ".5", "1e3", "1.25E-2"; blanks around are ignored.
    // Returns nothing for text that is not a number or does not fit.
    static std::optional<Decimal> parse(std::string_view text);
    static Decimal fromInt(int64_t v) { return Decimal{v, 0}; }
    // Nearest decimal with the given scale (half away from zero).
    static Decimal fromDouble(double v, int scale);

    // The same value with another scale; a smaller scale rounds half away from zero.
    Decimal rescaled(int newScale) const;
    // ROUND(x, d): d >= 0 keeps d decimals, d < 0 zeroes digits left of the point.
    Decimal rounded(int digits) const;

    double toDouble() const;
    // Plain decimal text with exactly `scale` decimals: "-12.50", "0.05", "3".
    std::string toString() const;

    bool isZero() const { return units == 0; }
    bool isNegative() const { return units < 0; }
};

// 10^n for 0 <= n <= 38.
Int128 powerOfTen(int n);

Decimal operator+(const Decimal& a, const Decimal& b);
Decimal operator-(const Decimal& a, const Decimal& b);
Decimal operator*(const Decimal& a, const Decimal& b);
Decimal operator-(const Decimal& a);
// Compares numerically, whatever the scales: <0, 0, >0.
int compare(const Decimal& a, const Decimal& b);
inline bool operator==(const Decimal& a, const Decimal& b) { return compare(a, b) == 0; }

// Decimal text of a 128-bit integer.
std::string int128ToString(Int128 v);

}  // namespace vantrep::engine
