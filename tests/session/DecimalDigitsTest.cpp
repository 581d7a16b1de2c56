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

#include "session/DecimalDigits.h"

namespace vantrep::session {
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

}  // namespace
}  // namespace vantrep::session
