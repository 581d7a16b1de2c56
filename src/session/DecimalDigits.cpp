#include "session/DecimalDigits.h"

#include <charconv>

namespace vantrep::session {

namespace {

std::string withoutLeadingZeros(const std::string& digits) {
    size_t first = digits.find_first_not_of('0');
    return first == std::string::npos ? std::string() : digits.substr(first);
}

// Adds one to a string of decimal digits; "999" becomes "1000".
std::string incremented(std::string digits) {
    for (size_t i = digits.size(); i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return digits;
        }
        digits[i] = '0';
    }
    return "1" + digits;
}

}  // namespace

DecimalDigits DecimalDigits::fromText(const std::string& text) {
    DecimalDigits d;
    std::string body = text;
    if (!body.empty() && (body[0] == '-' || body[0] == '+')) {
        d.negative = body[0] == '-';
        body.erase(0, 1);
    }
    size_t point = body.find('.');
    d.integer = withoutLeadingZeros(body.substr(0, point));
    if (point != std::string::npos) d.fraction = body.substr(point + 1);
    return d;
}

DecimalDigits DecimalDigits::fromDouble(double value) {
    // Fixed notation without a precision gives the shortest round-trip text,
    // so 0.125 reads "0.125" and 1.005 reads "1.005" (not 1.00499999...).
    char buffer[400];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return fromText(std::string(buffer, result.ptr));
}

DecimalDigits DecimalDigits::shifted(int places) const {
    DecimalDigits d = *this;
    std::string fraction = d.fraction;
    if (static_cast<int>(fraction.size()) < places) fraction.append(places - fraction.size(), '0');
    d.integer = withoutLeadingZeros(d.integer + fraction.substr(0, places));
    d.fraction = fraction.substr(places);
    return d;
}

DecimalDigits DecimalDigits::rounded(int decimals) const {
    DecimalDigits d = *this;
    size_t keep = static_cast<size_t>(decimals);
    if (d.fraction.size() <= keep) {
        d.fraction.append(keep - d.fraction.size(), '0');
        return d;
    }
    bool up = d.fraction[keep] >= '5';
    d.fraction.resize(keep);
    if (up) {
        std::string all = incremented(d.integer + d.fraction);
        d.integer = withoutLeadingZeros(all.substr(0, all.size() - keep));
        d.fraction = all.substr(all.size() - keep);
    }
    return d;
}

bool DecimalDigits::isZero() const {
    return integer.empty() && fraction.find_first_not_of('0') == std::string::npos;
}

}  // namespace vantrep::session
