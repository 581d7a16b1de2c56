// The fast reader of N fields must agree with the general parser on every
// text it accepts, and leave every other text to it.
#include <gtest/gtest.h>

#include <string>

#include "engine/dbf/DbfTable.h"
#include "engine/exec/PlainNumber.h"

namespace vantrep::engine::exec {
namespace {

struct Case {
    std::string text;  // exactly the field's bytes
    uint32_t scale;
};

// The field sits after eight bytes of other data, as inside a record.
bool readFast(const Case& c, int64_t& units) {
    std::string record = "XXXXXXXX" + c.text;
    PlainNumberReader reader(static_cast<uint32_t>(c.text.size()), c.scale);
    return reader.read(reinterpret_cast<const uint8_t*>(record.data()) + 8, units);
}

TEST(PlainNumber, AgreesWithTheGeneralParserWhereItReads) {
    const Case accepted[] = {
        {"   123456.78", 2}, {"       -0.05", 2}, {"99999999.99", 2}, {"        0.00", 2}, {" 7", 0},
        {"12", 0},           {"-5", 0},           {"1.5", 1},          {"   -1234567", 0},
        {"0.12345678", 8},   {"   1234", 0},
    };
    for (const Case& c : accepted) {
        int64_t fast = 0, general = 0;
        bool blank = false;
        ASSERT_TRUE(readFast(c, fast)) << c.text;
        ASSERT_TRUE(dbf::parseNumericField(c.text.data(), c.text.size(), static_cast<int>(c.scale), general, blank))
            << c.text;
        EXPECT_EQ(fast, general) << c.text;
    }
}

TEST(PlainNumber, LeavesEveryOtherFormToTheGeneralParser) {
    const Case refused[] = {
        {"            ", 2},  // blank
        {"    147.8 ", 2},    // fewer decimals than declared
        {"  1.5E+03", 2},     // exponent
        {"   12 34.00", 2},   // blank inside
        {"  12-34.00", 2},    // minus inside
        {"   **.**", 2},      // overflow stars
        {"  1234,56", 2},     // comma as the point
        {"123456789.00", 2},  // nine integer digits
        {"        -", 0},     // a lone minus
        {"12.", 0},           // point without decimals
        {"   +1.00", 2},      // plus sign
        {"    .50", 2},       // no integer digit
    };
    for (const Case& c : refused) {
        int64_t units = 0;
        EXPECT_FALSE(readFast(c, units)) << c.text;
    }
}

}  // namespace
}  // namespace vantrep::engine::exec
