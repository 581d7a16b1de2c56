// Operators: string joins, exact decimal arithmetic, doubles, dates, and how
// a value is conformed to its column.
#include <gtest/gtest.h>

#include "engine/EngineError.h"
#include "support/ExpressionFixture.h"

namespace vantrep::tests {
namespace {

using namespace vantrep::engine;
using exec::ColumnType;
using exec::conform;

struct Case {
    const char* expression;
    const char* expected;
};

class EvalOperatorsTest : public ExpressionFixture {
protected:
    void expectValues(const std::vector<Case>& cases) {
        for (const Case& c : cases) EXPECT_EQ(evalText(c.expression), c.expected) << c.expression;
    }
};

TEST_F(EvalOperatorsTest, PlusKeepsBlanksMinusMovesThemToTheEnd) {
    expectValues({
        {"'ab  ' + 'cd'", "'ab  cd'"},
        {"'ab  ' - 'cd'", "'abcd  '"},
        {"'ab' - 'cd  '", "'abcd  '"},
        {"'  ' - 'x'", "'x  '"},
        {"' a ' - ' b '", "' a b  '"},
        {"MEDIA + CODE", "'TV        AB  '"},
        {"MEDIA - CODE", "'TVAB          '"},
        {"MEDIA - CODE + '|'", "'TVAB          |'"},
    });
}

TEST_F(EvalOperatorsTest, DecimalArithmeticIsExact) {
    expectValues({
        {"0.1 + 0.2", "N:0.3"},
        {"0.1 + 0.2 = 0.3", ".T."},
        {"0.1 * 3 = 0.3", ".T."},
        {"SPEND + 0.005", "N:1234.505"},
        {"SPEND - 1234.51", "N:-0.01"},
        {"SPEND * RATE", "N:1543.12500"},
        {"SPEND * 3", "N:3703.50"},
        {"QTY * 2", "N:14"},
        {"QTY + MONTH", "N:8"},
        {"-SPEND", "N:-1234.50"},
        {"-QTY", "I:-7"},
        {"PRICE * 2", "N:2.4690"},
        {"99999999999999999999 + 1 > 99999999999999999999", ".T."},
    });
}

TEST_F(EvalOperatorsTest, QuotientsCarryFourMoreDecimals) {
    expectValues({
        {"10 / 4", "N:2.5000"},
        {"1 / 3", "N:0.3333"},
        {"2 / 3", "N:0.6667"},
        {"-2 / 3", "N:-0.6667"},
        {"7 / -2", "N:-3.5000"},
        {"SPEND / 3", "N:411.500000"},
        {"SPEND / QTY", "N:176.357143"},
        {"1 / 3 * 3 = 1", ".F."},
        {"ROUND(1 / 3 * 3, 10) = 1", ".T."},
    });
}

TEST_F(EvalOperatorsTest, DivisionByZeroIsAnError) {
    ErrorSeen seen = errorOf("SPEND / ZERO");
    EXPECT_EQ(seen.number, 1307);
    EXPECT_EQ(seen.description, "Division by zero " + at(7) + ".");
    EXPECT_EQ(errorOf("RATIO / 0").number, 1307);
    EXPECT_EQ(errorOf("1 / 0.00").number, 1307);
}

TEST_F(EvalOperatorsTest, DoublesStayDoubles) {
    expectValues({
        {"RATIO * 2", "B:1"},
        {"RATIO + SPEND", "B:1235"},
        {"RATIO / 4", "B:0.125"},
        {"RATIO = 0.5", ".T."},
    });
}

TEST_F(EvalOperatorsTest, DateArithmetic) {
    expectValues({
        {"BORN + 1", "D:2004-03-08"},
        {"1 + BORN", "D:2004-03-08"},
        {"BORN - 7", "D:2004-02-29"},
        {"BORN + 1.9", "D:2004-03-08"},
        {"BORN - {^2004-01-01}", "N:66"},
        {"{^2004-03-01} - {^2004-02-28}", "N:2"},
        {"{^2004-01-01} - BORN", "N:-66"},
        {"STAMP + 30", "T:2004-03-07 13:46:00"},
        {"STAMP - 3600", "T:2004-03-07 12:45:30"},
        {"STAMP - BORN", "N:49530.000"},
        {"STAMP - {^2004-03-06 13:45:30}", "N:86400.000"},
        {"CTOD('') + 1", "D:{}"},
        {"BORN - CTOD('')", "N:0"},
    });
}

TEST(ConformTest, ValuesTakeTheirColumnsShape) {
    EXPECT_EQ(conform(Value::string("ab"), ColumnType{'C', 4, 0}), Value::string("ab  "));
    EXPECT_EQ(conform(Value::string("abcdef"), ColumnType{'C', 4, 0}), Value::string("abcd"));
    EXPECT_EQ(conform(Value::string("ab"), ColumnType{'C', 0, 0}), Value::string(""));
    EXPECT_EQ(conform(Value::string("memo  "), ColumnType{'M', 4, 0}), Value::string("memo  "));
    EXPECT_EQ(conform(Value::decimal(Decimal{1005, 3}), ColumnType{'N', 5, 2}), Value::decimal(Decimal{101, 2}));
    EXPECT_EQ(conform(Value::decimal(Decimal{-1005, 3}), ColumnType{'N', 5, 2}), Value::decimal(Decimal{-101, 2}));
    EXPECT_EQ(conform(Value::integer(3), ColumnType{'N', 5, 2}), Value::decimal(Decimal{300, 2}));
    EXPECT_EQ(conform(Value::real(0.125), ColumnType{'N', 5, 2}), Value::decimal(Decimal{13, 2}));
    EXPECT_EQ(conform(Value::real(-2.675), ColumnType{'N', 6, 2}), Value::decimal(Decimal{-268, 2}));
    EXPECT_EQ(conform(Value::real(1e25), ColumnType{'N', 20, 0}), Value::real(1e25));
    EXPECT_EQ(conform(Value::decimal(Decimal{15, 1}), ColumnType{'B', 8, 2}), Value::real(1.5));
    EXPECT_EQ(conform(Value::decimal(Decimal{2, 0}), ColumnType{'Y', 8, 4}), Value::decimal(Decimal{20000, 4}));
    EXPECT_EQ(conform(Value::decimal(Decimal{7, 0}), ColumnType{'I', 4, 0}), Value::integer(7));
    int32_t day = julianDay(2004, 3, 7);
    EXPECT_EQ(conform(Value::date(day), ColumnType{'T', 8, 0}), Value::dateTime(int64_t(day) * msPerDay));
    EXPECT_EQ(conform(Value::date(0), ColumnType{'T', 8, 0}), Value::dateTime(0));
    EXPECT_EQ(conform(Value::null(), ColumnType{'C', 4, 0}), Value::null());
    EXPECT_EQ(conform(Value::null(), ColumnType{'N', 5, 2}), Value::null());
}

}  // namespace
}  // namespace vantrep::tests
