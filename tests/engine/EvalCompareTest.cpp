// Comparisons under the engine's rules (machine collation): blank-padded,
// byte by byte in the table's code page, never a prefix match.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "support/ExpressionFixture.h"

namespace vantrep::tests {
namespace {

using namespace vantrep::engine;
using exec::compareValues;

struct Case {
    const char* expression;
    const char* expected;
};

class EvalCompareTest : public ExpressionFixture {
protected:
    void expectValues(const std::vector<Case>& cases) {
        for (const Case& c : cases) EXPECT_EQ(evalText(c.expression), c.expected) << c.expression;
    }
};

TEST_F(EvalCompareTest, AnsiPaddedComparisonTable) {
    expectValues({
        {"'Tommy' = 'Tom'", ".F."},
        {"'Tom' = 'Tommy'", ".F."},
        {"'TV' = 'TV   '", ".T."},
        {"'TV   ' == 'TV'", ".T."},
        {"'ab' == 'abc'", ".F."},
        {"'' = ' '", ".T."},
    });
    set("MEDIA", Value::string("TV        "));
    expectValues({{"MEDIA = 'TV'", ".T."}, {"'TV' = MEDIA", ".T."}, {"MEDIA = ''", ".F."}, {"MEDIA <> 'TV'", ".F."}});
    set("MEDIA", Value::string("TVR       "));
    expectValues({{"MEDIA = 'TV'", ".F."}, {"'TV' = MEDIA", ".F."}, {"MEDIA # 'TV'", ".T."}});
    set("MEDIA", Value::string("          "));
    expectValues({{"MEDIA <> ' '", ".F."}, {"MEDIA = ''", ".T."}, {"MEDIA != ''", ".F."}});
    set("MEDIA", Value::string(" X        "));
    expectValues({{"MEDIA <> ' '", ".T."}, {"MEDIA = 'X'", ".F."}});
}

TEST_F(EvalCompareTest, NeitherEqualityNorListsMatchAPrefix) {
    expectValues({
        {"INLIST('TVR', 'TV')", ".F."},
        {"INLIST('TV', 'TVR')", ".F."},
        {"INLIST('TV  ', 'TV')", ".T."},
        {"'TVR' IN ('TV', 'RADIO')", ".F."},
        {"'TVR' = 'TV'", ".F."},
        {"'TVR' == 'TV'", ".F."},
    });
    set("MEDIA", Value::string("TVR       "));
    expectValues({
        {"INLIST(MEDIA, 'TV', 'RADIO')", ".F."},
        {"INLIST(ALLTRIM(MEDIA), 'TV', 'RADIO')", ".F."},
        {"MEDIA IN ('TV', 'RADIO')", ".F."},
        {"MEDIA IN ('RADIO', 'TVR')", ".T."},
    });
    set("MEDIA", Value::string("RADIO     "));
    expectValues({
        {"INLIST(MEDIA, 'TV', 'RADIO')", ".T."},
        {"INLIST(ALLTRIM(MEDIA), \"TV\", \"RADIO\")", ".T."},
        {"MEDIA IN ('TV', 'RADIO')", ".T."},
    });
}

TEST_F(EvalCompareTest, OrderIsByCodePageBytes) {
    expectValues({
        {"'a' < 'b'", ".T."},
        {"'B' < 'a'", ".T."},  // case-sensitive: upper case first
        {"'ab' < 'ab '", ".F."},
        {"'ab' <= 'ab '", ".T."},
        {"'abc' > 'ab'", ".T."},
        {"'ab\t' < 'ab'", ".T."},              // a tab is below the padding blank
        {"'\xE2\x82\xAC' < '\xC3\xBF'", ".T."},  // euro 0x80 before y-diaeresis 0xFF in cp1252
        {"'\xC3\xA9' > 'z'", ".T."},             // e-acute 0xE9: unsigned bytes
    });
}

TEST_F(EvalCompareTest, OtherKindsCompareByValue) {
    expectValues({
        {"MONTH = 1", ".T."},
        {"SPEND = 1234.5", ".T."},
        {"SPEND > 1234.5", ".F."},
        {"SPEND >= 1234.49", ".T."},
        {"QTY = 7.0", ".T."},
        {"QTY < RATIO", ".F."},
        {"RATIO = 0.5", ".T."},
        {"PRICE = 1.2345", ".T."},
        {"BORN = {^2004-03-07}", ".T."},
        {"BORN < STAMP", ".T."},
        {"BORN = {^2004-03-07 00:00:00}", ".T."},
        {"STAMP > {^2004-03-07 13:45:29}", ".T."},
        {"ACTIVE = .T.", ".T."},
        {".F. < .T.", ".T."},
        {"INLIST(QTY, 6, 7.0)", ".T."},
        {"INLIST(BORN, {^2004-03-07 00:00:00})", ".T."},
    });
}

TEST(CompareValuesTest, NullsFirstThenByValue) {
    std::vector<Value> values = {
        Value::string("b"), Value::null(), Value::string("a  "), Value::string("a\x01"), Value::string("A"),
    };
    std::stable_sort(values.begin(), values.end(),
                     [](const Value& a, const Value& b) { return compareValues(a, b) < 0; });
    std::vector<Value> expected = {
        Value::null(), Value::string("A"), Value::string("a\x01"), Value::string("a  "), Value::string("b"),
    };
    EXPECT_EQ(values, expected);

    EXPECT_EQ(compareValues(Value::null(), Value::null()), 0);
    EXPECT_LT(compareValues(Value::null(), Value::logical(false)), 0);
    EXPECT_GT(compareValues(Value::integer(0), Value::null()), 0);
    EXPECT_EQ(compareValues(Value::string("ab"), Value::string("ab  ")), 0);
    EXPECT_GT(compareValues(Value::string("ab"), Value::string("ab\x01")), 0);
    EXPECT_LT(compareValues(Value::string("\x7F"), Value::string("\x80")), 0);
}

TEST(CompareValuesTest, NumbersDatesAndLogicalsAcrossKinds) {
    EXPECT_GT(compareValues(Value::integer(2), Value::decimal(Decimal{15, 1})), 0);
    EXPECT_EQ(compareValues(Value::real(2.5), Value::decimal(Decimal{250, 2})), 0);
    EXPECT_LT(compareValues(Value::decimal(Decimal{-5, 0}), Value::integer(-4)), 0);
    EXPECT_EQ(compareValues(Value::decimal(Decimal{100, 2}), Value::decimal(Decimal{1, 0})), 0);
    int32_t day = julianDay(2004, 3, 7);
    EXPECT_EQ(compareValues(Value::date(day), Value::dateTime(int64_t(day) * msPerDay)), 0);
    EXPECT_LT(compareValues(Value::date(day), Value::dateTime(int64_t(day) * msPerDay + 1)), 0);
    EXPECT_LT(compareValues(Value::date(0), Value::date(day)), 0);  // the empty date first
    EXPECT_LT(compareValues(Value::logical(false), Value::logical(true)), 0);
    EXPECT_EQ(compareValues(Value::logical(true), Value::logical(true)), 0);
}

}  // namespace
}  // namespace vantrep::tests

namespace vantrep::tests {
namespace {

// Strings compare byte by byte as unsigned, the shorter padded with blanks.
TEST(CompareStrings, PaddedComparisonMatchesByteByByteReading) {
    auto reference = [](const std::string& a, const std::string& b) {
        for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
            const unsigned char x = i < a.size() ? static_cast<unsigned char>(a[i]) : ' ';
            const unsigned char y = i < b.size() ? static_cast<unsigned char>(b[i]) : ' ';
            if (x != y) return x < y ? -1 : 1;
        }
        return 0;
    };
    const char alphabet[] = {' ', '\t', 'a', 'B', '\x7f', '\x80', '\xe9', '\0'};
    std::mt19937 random(5);
    for (int i = 0; i < 20000; ++i) {
        std::string a, b;
        for (size_t n = random() % 6; n > 0; --n) a += alphabet[random() % sizeof alphabet];
        b = random() % 3 == 0 ? a : std::string();
        for (size_t n = random() % 4; n > 0; --n) b += alphabet[random() % sizeof alphabet];
        const int got = exec::compareValues(Value::string(a), Value::string(b));
        EXPECT_EQ(got, reference(a, b)) << "'" << a << "' vs '" << b << "'";
    }
}

}  // namespace
}  // namespace vantrep::tests
