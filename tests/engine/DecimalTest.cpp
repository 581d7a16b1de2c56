// Exact decimals turned into doubles: units of any size, to the double the
// 128-bit value rounds to.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "engine/Decimal.h"

namespace vantrep::engine {
namespace {

TEST(Decimal, ToDoubleRoundsUnitsOfAnySizeOnce) {
    const Int128 beyond = Int128(INT64_MAX) + 1, big = Int128(1) << 100;
    EXPECT_EQ((Decimal{-5, 1}.toDouble()), -0.5);
    EXPECT_EQ((Decimal{INT64_MIN, 0}.toDouble()), -9223372036854775808.0);
    EXPECT_EQ((Decimal{beyond, 0}.toDouble()), 9223372036854775808.0);
    EXPECT_EQ((Decimal{-big, 30}.toDouble()), -1267650600228229401496703205376.0 / 1e30);
    // Units a double cannot hold exactly round to the nearest, ties to even.
    EXPECT_EQ((Decimal{(Int128(1) << 53) + 1, 0}.toDouble()), 9007199254740992.0);
    EXPECT_EQ((Decimal{(Int128(1) << 53) + 3, 0}.toDouble()), 9007199254740996.0);
}

}  // namespace
}  // namespace vantrep::engine
