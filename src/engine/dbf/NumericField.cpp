// parseNumericField: the ASCII text of N and F fields as exact scaled integers.
#include <cstdint>

#include "engine/dbf/DbfTable.h"

namespace vantrep::engine::dbf {

namespace {

constexpr uint64_t int64Limit = uint64_t(INT64_MAX);
constexpr int maxExponent = 40;

bool isPadding(char c) { return c == ' ' || c == '\0'; }

bool fail(int64_t& units) {
    units = 0;
    return false;
}

}  // namespace

bool parseNumericField(const char* bytes, size_t length, int scale, int64_t& units, bool& blank) {
    units = 0;
    blank = false;
    size_t i = 0, n = length;
    while (i < n && isPadding(bytes[i])) ++i;
    while (n > i && isPadding(bytes[n - 1])) --n;
    if (i == n) {
        blank = true;
        return true;
    }
    bool negative = false;
    if (bytes[i] == '-' || bytes[i] == '+') {
        negative = bytes[i] == '-';
        ++i;
    }
    uint64_t mantissa = 0;
    int digits = 0, fraction = 0;
    bool point = false;
    for (; i < n; ++i) {
        char c = bytes[i];
        if (c >= '0' && c <= '9') {
            if (mantissa > (UINT64_MAX - 9) / 10) return fail(units);
            mantissa = mantissa * 10 + uint64_t(c - '0');
            ++digits;
            fraction += point;
        } else if ((c == '.' || c == ',') && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0) return fail(units);
    int exponent = 0;
    if (i < n && (bytes[i] == 'e' || bytes[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (bytes[i] == '-' || bytes[i] == '+')) {
            negativeExponent = bytes[i] == '-';
            ++i;
        }
        size_t start = i;
        for (; i < n && bytes[i] >= '0' && bytes[i] <= '9'; ++i) {
            exponent = exponent * 10 + (bytes[i] - '0');
            if (exponent > maxExponent) return fail(units);
        }
        if (i == start) return fail(units);
        if (negativeExponent) exponent = -exponent;
    }
    if (i != n) return fail(units);

    // Bring the digits to units of 10^-scale; dropping a non-zero digit means
    // the value has more decimals than the scale allows.
    int shift = scale - fraction + exponent;
    for (; shift > 0 && mantissa != 0; --shift) {
        if (mantissa > int64Limit / 10) return fail(units);
        mantissa *= 10;
    }
    for (; shift < 0; ++shift) {
        if (mantissa % 10 != 0) return fail(units);
        mantissa /= 10;
    }
    if (mantissa > int64Limit + (negative ? 1 : 0)) return fail(units);
    units = negative ? int64_t(0 - mantissa) : int64_t(mantissa);
    return true;
}

}  // namespace vantrep::engine::dbf
