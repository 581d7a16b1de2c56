// The fast reading of an N field in the form nearly every writer uses:
// leading blanks, an optional minus, digits, a point and exactly `scale`
// decimals, right-aligned in the field. Eight bytes are checked and converted
// at a time. Anything else (blank, fewer decimals, exponents, junk, more than
// eight integer digits) is refused, and the caller takes the general parser.
#pragma once

#include <cstdint>
#include <cstring>

namespace vantrep::engine::exec {

class PlainNumberReader {
public:
    // `length` and `scale` of the field. Reading looks at up to 8 bytes before
    // the field, which the caller guarantees to be readable (a record never
    // starts within 8 bytes of the start of its file).
    PlainNumberReader(uint32_t length, uint32_t scale)
        : integerBytes_(scale > 0 && length >= scale + 1 ? length - scale - 1 : length),
          scale_(scale),
          length_(length),
          usable_(length >= 1 && scale <= 8 && (scale == 0 || length >= scale + 1)),
          outside_(lowLanes(8 - (integerBytes_ < 8 ? integerBytes_ : 8))),
          beforeFraction_(lowLanes(8 - scale)),
          scaleFactor_(powerOf10(scale)) {}

    bool usable() const { return usable_; }

    bool read(const uint8_t* field, int64_t& units) const {
        if (!usable_) return false;
        for (uint32_t j = 0; j + 8 < integerBytes_; ++j)
            if (field[j] != ' ') return false;  // more than eight integer places: not the common case
        uint64_t w = load8(field + integerBytes_ - 8);
        // Lanes before the field count as leading blanks.
        w = (w & ~outside_) | (spaces & outside_);

        uint64_t blankLanes = equalLanes(w, spaces);
        uint64_t blank = (blankLanes >> 7) * 0xFF;
        if (blank == ~0ull || (blank & (blank + 1)) != 0) return false;  // all blank, or a blank inside
        unsigned first = static_cast<unsigned>(__builtin_ctzll(~blank)) / 8;
        bool negative = ((w >> (8 * first)) & 0xFF) == '-';
        if (negative) {
            if (first == 7) return false;  // a minus with no digits
            w = (w & ~(0xFFull << (8 * first))) | (0x30ull << (8 * first));
        }
        w |= blank & 0x1010101010101010ull;  // leading blanks read as zeros
        uint64_t integer;
        if (!digits(w, integer)) return false;

        uint64_t fraction = 0;
        if (scale_ > 0) {
            if (field[integerBytes_] != '.') return false;
            uint64_t f = load8(field + length_ - 8);
            f = (f & ~beforeFraction_) | (zeros & beforeFraction_);
            if (!digits(f, fraction)) return false;
        }
        int64_t value = static_cast<int64_t>(integer * scaleFactor_ + fraction);
        units = negative ? -value : value;
        return true;
    }

private:
    static constexpr uint64_t spaces = 0x2020202020202020ull;
    static constexpr uint64_t zeros = 0x3030303030303030ull;

    static uint64_t load8(const uint8_t* p) {
        uint64_t v;
        std::memcpy(&v, p, 8);
        return v;
    }
    static uint64_t lowLanes(uint32_t n) { return n >= 8 ? ~0ull : (n == 0 ? 0 : (1ull << (8 * n)) - 1); }
    // 0x80 in each lane of `w` that equals the same lane of `pattern`.
    static uint64_t equalLanes(uint64_t w, uint64_t pattern) {
        uint64_t t = w ^ pattern;
        return ~(((t & 0x7F7F7F7F7F7F7F7Full) + 0x7F7F7F7F7F7F7F7Full) | t) & 0x8080808080808080ull;
    }
    // Eight ASCII digits, the first the most significant; false if any is not a digit.
    static bool digits(uint64_t w, uint64_t& value) {
        uint64_t x = w - zeros;
        if (((x | (x + 0x7676767676767676ull)) & 0x8080808080808080ull) != 0) return false;
        x = (x * 10 + (x >> 8)) & 0x00FF00FF00FF00FFull;
        x = (x * 100 + (x >> 16)) & 0x0000FFFF0000FFFFull;
        value = (x * 10000 + (x >> 32)) & 0xFFFFFFFFull;
        return true;
    }
    static uint64_t powerOf10(uint32_t n) {
        uint64_t p = 1;
        while (n-- > 0) p *= 10;
        return p;
    }

    uint32_t integerBytes_, scale_, length_;
    bool usable_;
    uint64_t outside_;         // lanes of the integer window before the field
    uint64_t beforeFraction_;  // lanes of the fraction window before the decimals
    uint64_t scaleFactor_;     // 10^scale
};

}  // namespace vantrep::engine::exec
