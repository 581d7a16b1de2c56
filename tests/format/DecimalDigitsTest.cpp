// A double's digits are those of its shortest round-trip text, however they
// are found.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "format/DecimalDigits.h"

namespace vantrep::format {
namespace {

DecimalDigits byText(double value) {
    char buffer[400];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return DecimalDigits::fromText(std::string_view(buffer, static_cast<size_t>(result.ptr - buffer)));
}

void expectShortestDigits(double value) {
    const DecimalDigits quick = DecimalDigits::fromDouble(value), written = byText(value);
    EXPECT_EQ(quick.integer(), written.integer()) << value;
    EXPECT_EQ(quick.fraction(), written.fraction()) << value;
    EXPECT_EQ(quick.negative(), written.negative()) << value;
}

TEST(DecimalDigits, DoublesGiveTheDigitsOfTheirShortestText) {
    std::mt19937_64 random(7);
    for (int i = 0; i < 100000; ++i) {
        // Decimals as sums and their shares come out of the engine...
        const double sign = random() % 4 == 0 ? -1.0 : 1.0;
        const double units = static_cast<double>(random() % 1000000000000000ull >> (random() % 50));
        const double decimal = sign * units / std::pow(10.0, static_cast<int>(random() % 19));
        expectShortestDigits(decimal);
        expectShortestDigits(decimal / 1000.0);
        expectShortestDigits(static_cast<float>(decimal) / static_cast<float>(units + 1) * 100.0);
        // ...and any bits at all.
        const uint64_t bits = random();
        double any = 0;
        std::memcpy(&any, &bits, sizeof any);
        if (std::isfinite(any)) expectShortestDigits(any);
    }
    for (double edge : {0.0, -0.0, 0.1 + 0.2, 1e15 - 1, 1e15, 999999999999999.9, 0.99999999999999994, 9.5, 1.005,
                        5e-324, 1e300, std::numeric_limits<double>::max(), 123456789012345.6, 0.000000000000001})
        expectShortestDigits(edge);
}

void expectRoundedAsTheShortestText(double value, int decimals) {
    DecimalDigits slow = DecimalDigits::fromDouble(value);
    slow.round(decimals);
    const DecimalDigits quick = DecimalDigits::fromDoubleRounded(value, decimals);
    EXPECT_EQ(quick.integer(), slow.integer()) << value << " to " << decimals;
    EXPECT_EQ(quick.fraction(), slow.fraction()) << value << " to " << decimals;
    EXPECT_EQ(quick.negative(), slow.negative()) << value << " to " << decimals;
}

// Rounding read straight from the double must round as the shortest text
// does, halves above all: 1.005 is a little less than 1.005 as a double.
TEST(DecimalDigits, RoundingReadFromTheDoubleRoundsAsTheShortestText) {
    std::mt19937_64 random(11);
    for (int i = 0; i < 100000; ++i) {
        const int decimals = static_cast<int>(random() % 6);
        const double sign = random() % 4 == 0 ? -1.0 : 1.0;
        const double units = static_cast<double>(random() % 100000000000ull >> (random() % 40));
        const double decimal = sign * units / std::pow(10.0, static_cast<int>(random() % 8));
        expectRoundedAsTheShortestText(decimal, decimals);
        expectRoundedAsTheShortestText(decimal / 1000.0, decimals);
        expectRoundedAsTheShortestText(decimal / 60.0, decimals);
        // A half at the last place kept, written with the decimals asked for plus one.
        const double half = sign * (units * 10 + 5) / std::pow(10.0, decimals + 1);
        expectRoundedAsTheShortestText(half, decimals);
        expectRoundedAsTheShortestText(std::nextafter(half, 0.0), decimals);
        expectRoundedAsTheShortestText(std::nextafter(half, 2 * half), decimals);
    }
    for (double edge : {0.0, -0.0, 1.005, 2.675, 0.125, -0.125, 0.005, -0.004, 999.995, 1e15 - 1, 1e15, 5e-324,
                        1e300, 99999999999999.95, 0.49999999999999994, 0.5, 1.5, 2.5})
        for (int decimals : {0, 1, 2, 3, 15, 16, 20})
            expectRoundedAsTheShortestText(edge, decimals);
}

}  // namespace
}  // namespace vantrep::format
