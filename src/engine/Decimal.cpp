#include "engine/Decimal.h"

#include <cmath>
#include <cstdio>

namespace vantrep::engine {

namespace {

constexpr Int128 maxUnits = Int128(1) << 120;  // keeps every sum and rescale clear of overflow

Int128 absolute(Int128 v) { return v < 0 ? -v : v; }

// Divides by 10^n rounding half away from zero.
Int128 divideRounded(Int128 v, int n) {
    if (n <= 0) return v;
    if (n > 38) return 0;
    Int128 p = powerOfTen(n);
    Int128 q = absolute(v) / p;
    Int128 r = absolute(v) % p;
    if (r * 2 >= p) ++q;
    return v < 0 ? -q : q;
}

}  // namespace

Int128 powerOfTen(int n) {
    Int128 p = 1;
    for (int i = 0; i < n; ++i) p *= 10;
    return p;
}

std::string int128ToString(Int128 v) {
    if (v == 0) return "0";
    bool negative = v < 0;
    char buffer[48];
    int pos = 47;
    buffer[pos] = '\0';
    while (v != 0) {
        int digit = static_cast<int>(v % 10);
        if (digit < 0) digit = -digit;
        buffer[--pos] = static_cast<char>('0' + digit);
        v /= 10;
    }
    if (negative) buffer[--pos] = '-';
    return std::string(buffer + pos);
}

std::optional<Decimal> Decimal::parse(std::string_view text) {
    size_t i = 0, n = text.size();
    while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
    while (n > i && (text[n - 1] == ' ' || text[n - 1] == '\t' || text[n - 1] == '\0')) --n;
    if (i == n) return std::nullopt;
    bool negative = false;
    if (text[i] == '-' || text[i] == '+') {
        negative = text[i] == '-';
        ++i;
    }
    Int128 units = 0;
    int scale = 0;
    int digits = 0;
    bool point = false;
    for (; i < n; ++i) {
        char c = text[i];
        if (c >= '0' && c <= '9') {
            if (units > maxUnits / 10) return std::nullopt;
            units = units * 10 + (c - '0');
            ++digits;
            if (point) ++scale;
        } else if ((c == '.' || c == ',') && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0) return std::nullopt;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == '-' || text[i] == '+')) {
            negativeExponent = text[i] == '-';
            ++i;
        }
        int exponent = 0;
        size_t start = i;
        for (; i < n && text[i] >= '0' && text[i] <= '9'; ++i) {
            exponent = exponent * 10 + (text[i] - '0');
            if (exponent > 60) return std::nullopt;
        }
        if (i == start) return std::nullopt;
        if (negativeExponent) {
            scale += exponent;
        } else {
            while (exponent > 0 && scale > 0) { --scale; --exponent; }
            for (; exponent > 0; --exponent) {
                if (units > maxUnits / 10) return std::nullopt;
                units *= 10;
            }
        }
    }
    if (i != n) return std::nullopt;
    Decimal d{negative ? -units : units, scale};
    if (d.scale > maxScale) d = d.rescaled(maxScale);
    return d;
}

Decimal Decimal::fromDouble(double v, int scale) {
    if (!std::isfinite(v)) return Decimal{0, scale};
    // Seventeen significant digits hold the double exactly enough; the
    // rounding to `scale` is then done in decimal, half away from zero.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17g", v);
    auto d = parse(buffer);
    return d ? d->rescaled(scale) : Decimal{0, scale};
}

Decimal Decimal::rescaled(int newScale) const {
    if (newScale < 0) newScale = 0;
    if (newScale > maxScale) newScale = maxScale;
    if (newScale == scale) return *this;
    if (newScale > scale) return Decimal{units * powerOfTen(newScale - scale), newScale};
    return Decimal{divideRounded(units, scale - newScale), newScale};
}

Decimal Decimal::rounded(int digits) const {
    if (digits >= 0) return rescaled(digits);
    int drop = scale - digits;  // digits < 0: also drop -digits integer digits
    if (drop > 38) return Decimal{0, 0};
    Int128 kept = divideRounded(units, drop);
    return Decimal{kept * powerOfTen(-digits), 0};
}

double Decimal::toDouble() const {
    // Powers of ten up to 10^22 are exact doubles: the table gives what pow
    // gives, without the call.
    static constexpr double exact[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                       1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const double divisor = scale >= 0 && scale <= 22 ? exact[scale] : std::pow(10.0, scale);
    // Units that fit 64 bits convert in one instruction, to the same double.
    const bool narrow = units >= INT64_MIN && units <= INT64_MAX;
    return (narrow ? static_cast<double>(static_cast<int64_t>(units)) : static_cast<double>(units)) / divisor;
}

std::string Decimal::toString() const {
    std::string digits = int128ToString(absolute(units));
    std::string sign = units < 0 ? "-" : "";
    if (scale <= 0) return sign + digits;
    size_t needed = static_cast<size_t>(scale) + 1;
    if (digits.size() < needed) digits = std::string(needed - digits.size(), '0') + digits;
    size_t point = digits.size() - static_cast<size_t>(scale);
    return sign + digits.substr(0, point) + "." + digits.substr(point);
}

Decimal operator+(const Decimal& a, const Decimal& b) {
    int s = a.scale > b.scale ? a.scale : b.scale;
    return Decimal{a.rescaled(s).units + b.rescaled(s).units, s};
}

Decimal operator-(const Decimal& a, const Decimal& b) {
    int s = a.scale > b.scale ? a.scale : b.scale;
    return Decimal{a.rescaled(s).units - b.rescaled(s).units, s};
}

Decimal operator*(const Decimal& a, const Decimal& b) {
    Decimal product{a.units * b.units, a.scale + b.scale};
    return product.scale > Decimal::maxScale ? product.rescaled(Decimal::maxScale) : product;
}

Decimal operator-(const Decimal& a) { return Decimal{-a.units, a.scale}; }

int compare(const Decimal& a, const Decimal& b) {
    int s = a.scale > b.scale ? a.scale : b.scale;
    Int128 x = a.rescaled(s).units, y = b.rescaled(s).units;
    return x < y ? -1 : (x > y ? 1 : 0);
}

}  // namespace vantrep::engine
