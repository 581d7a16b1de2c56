#include "format/DecimalDigits.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace vantrep::format {

DecimalDigits DecimalDigits::fromText(std::string_view text) {
    DecimalDigits d;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        d.negative_ = text[0] == '-';
        text.remove_prefix(1);
    }
    const size_t point = text.find('.');
    const std::string_view integer = text.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    d.digits_.append(integer);
    d.integerCount_ = integer.size();
    d.digits_.append(fraction);
    d.dropLeadingZeros();
    return d;
}

namespace {

// The shortest decimal that reads back as `magnitude` (not negative), found
// without writing text when it has at most 15 significant digits: the value
// is read as a whole number of 10^-j with the most decimals j that keep it
// under 10^15. Such a whole number and 10^j are exact doubles, so their
// quotient is the double the decimal reads as; at that size no two decimals
// of j places read as one double, so when one reads back, it is the shortest
// text with its trailing zeros.
constexpr double powersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
constexpr double limit = 1e15;

bool shortDecimal(double magnitude, int64_t& units, int& decimals) {
    if (!(magnitude < limit)) return false;
    int j = 15;
    while (j > 0 && magnitude * powersOfTen[j] >= limit) --j;
    const double whole = std::nearbyint(magnitude * powersOfTen[j]);
    if (whole >= limit || whole / powersOfTen[j] != magnitude) return false;
    units = static_cast<int64_t>(whole);
    for (; j > 0 && units % 10 == 0; --j) units /= 10;
    decimals = j;
    return true;
}

}  // namespace

DecimalDigits DecimalDigits::fromDouble(double value) {
    int64_t units = 0;
    int decimals = 0;
    if (shortDecimal(std::fabs(value), units, decimals)) {
        DecimalDigits d = fromDecimal(engine::Decimal{units, decimals});
        d.negative_ = std::signbit(value);
        return d;
    }
    // Fixed notation without a precision gives the shortest round-trip text,
    // so 0.125 reads "0.125" and 1.005 reads "1.005" (not 1.00499999...).
    char buffer[400];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return fromText(std::string_view(buffer, static_cast<size_t>(result.ptr - buffer)));
}

DecimalDigits DecimalDigits::fromDoubleRounded(double value, int decimals) {
    if (decimals >= 0 && decimals <= 15) {
        const double scaled = std::fabs(value) * powersOfTen[decimals];
        if (scaled < limit) {
            // The product and the shortest text times 10^decimals each lie
            // within a unit in the last place of `scaled` from the exact
            // value * 10^decimals; farther than that from the half between
            // two whole numbers, all three round to the same one.
            const double whole = std::floor(scaled);
            const double fraction = scaled - whole;
            if (std::fabs(fraction - 0.5) > scaled * 1e-14) {
                const int64_t units = static_cast<int64_t>(whole) + (fraction > 0.5 ? 1 : 0);
                DecimalDigits d = fromDecimal(engine::Decimal{units, decimals});
                d.negative_ = std::signbit(value);
                return d;
            }
        }
    }
    DecimalDigits d = fromDouble(value);
    d.round(decimals);
    return d;
}

DecimalDigits DecimalDigits::fromDecimal(const engine::Decimal& value) {
    DecimalDigits d;
    d.negative_ = value.units < 0;
    const engine::Int128 magnitude = d.negative_ ? -value.units : value.units;
    char buffer[48];
    char* end = buffer + sizeof buffer;
    char* start = end;
    if (magnitude <= static_cast<engine::Int128>(UINT64_MAX)) {
        for (uint64_t rest = static_cast<uint64_t>(magnitude); rest > 0; rest /= 10) *--start = char('0' + rest % 10);
    } else {
        for (engine::Int128 rest = magnitude; rest > 0; rest /= 10) *--start = char('0' + int(rest % 10));
    }
    const size_t count = static_cast<size_t>(end - start);
    const size_t scale = static_cast<size_t>(std::max(value.scale, 0));
    if (count < scale) d.digits_.append(scale - count, '0');
    d.digits_.append(start, count);
    d.integerCount_ = d.digits_.size() - scale;
    d.dropLeadingZeros();
    return d;
}

void DecimalDigits::dropLeadingZeros() {
    size_t zeros = 0;
    while (zeros < integerCount_ && digits_[zeros] == '0') ++zeros;
    digits_.erase(0, zeros);
    integerCount_ -= zeros;
}

void DecimalDigits::shift(int places) {
    const size_t move = static_cast<size_t>(std::max(places, 0));
    const size_t fractionCount = digits_.size() - integerCount_;
    if (fractionCount < move) digits_.append(move - fractionCount, '0');
    integerCount_ += move;
    dropLeadingZeros();
}

void DecimalDigits::round(int decimals) {
    const size_t keep = static_cast<size_t>(std::max(decimals, 0));
    const size_t fractionCount = digits_.size() - integerCount_;
    if (fractionCount <= keep) {
        digits_.append(keep - fractionCount, '0');
        return;
    }
    const bool up = digits_[integerCount_ + keep] >= '5';
    digits_.resize(integerCount_ + keep);
    if (!up) return;
    size_t i = digits_.size();
    for (; i > 0 && digits_[i - 1] == '9'; --i) digits_[i - 1] = '0';
    if (i > 0) {
        ++digits_[i - 1];
    } else {
        digits_.insert(digits_.begin(), '1');
        ++integerCount_;
    }
}

bool DecimalDigits::isZero() const { return digits_.find_first_not_of('0') == std::string::npos; }

}  // namespace vantrep::format
