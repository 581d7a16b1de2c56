// The built-in functions row by row. Results come conformed to their static
// type, so character results are blank-padded to the width the column has.
#include <gtest/gtest.h>

#include "support/ExpressionFixture.h"

namespace vantrep::tests {
namespace {

using namespace vantrep::engine;

struct Case {
    const char* expression;
    std::string expected;
};

// 'text' blank-padded to `width`, as describe() writes a C value.
std::string padded(const std::string& text, size_t width) {
    return "'" + text + std::string(width - text.size(), ' ') + "'";
}

class EvalFunctionsTest : public ExpressionFixture {
protected:
    void expectValues(const std::vector<Case>& cases) {
        for (const Case& c : cases) EXPECT_EQ(evalText(c.expression), c.expected) << c.expression;
    }
};

TEST_F(EvalFunctionsTest, IifEvaluatesOnlyTheChosenBranch) {
    EXPECT_EQ(evalText("1/0"), "error 1307");
    EXPECT_EQ(evalText("SPEND / ZERO"), "error 1307");
    expectValues({
        {"IIF(.T., 1, 1/0)", "N:1.0000"},
        {"IIF(.F., 1/0, 2)", "N:2.0000"},
        {"IIF(NULL, 1/0, 3)", "N:3.0000"},
        {"IIF(SPEND > 0, SPEND, SPEND / ZERO)", "N:1234.500000"},
        {"IIF(ZERO = 0, 'ok', UPPER(CODE) + 1/0)", "error 9"},  // still typed: C + N is refused
    });
}

TEST_F(EvalFunctionsTest, IifResultsArePaddedToTheColumnWidth) {
    std::string bucket = "IIF(INLIST(ALLTRIM(MEDIA),\"TV\",\"RADIO\"),MEDIA,\"Others    \")";
    expectValues({
        {"IIF(.T., 'TV', 'Others')", "'TV    '"},
        {"IIF(.F., 'TV', 'Others')", "'Others'"},
        {"IIF(.T., 'a', 'bcd') + 'z'", "'az  '"},  // padding belongs to the column, not to the operand
        {bucket.c_str(), "'TV        '"},
    });
    set("MEDIA", Value::string("RADIO     "));
    EXPECT_EQ(evalText(bucket), "'RADIO     '");
    set("MEDIA", Value::string("TVR       "));
    EXPECT_EQ(evalText(bucket), "'Others    '");
    set("MEDIA", Value::string("PRINT     "));
    EXPECT_EQ(evalText(bucket), "'Others    '");

    std::string numeric = "IIF(INLIST(MONTH,1,2),MONTH,00)";
    EXPECT_EQ(evalText(numeric), "N:1");
    set("MONTH", Value::decimal(Decimal::fromInt(5)));
    EXPECT_EQ(evalText(numeric), "N:0");
    EXPECT_EQ(evalText("IIF(MONTH > 3, SPEND, 0)"), "N:1234.50");
    EXPECT_EQ(evalText("IIF(MONTH > 9, SPEND, 0)"), "N:0.00");
}

TEST_F(EvalFunctionsTest, TrimsRemoveSpacesOnly) {
    set("NAME", Value::string("  Ann Lee           "));
    expectValues({
        {"'|' + ALLTRIM(NAME) + '|'", padded("|Ann Lee|", 22)},
        {"'|' + LTRIM(NAME) + '|'", padded("|Ann Lee           |", 22)},
        {"'|' + TRIM(NAME) + '|'", padded("|  Ann Lee|", 22)},
        {"'|' + RTRIM(NAME) + '|'", padded("|  Ann Lee|", 22)},
        {"ALLTRIM(NAME)", padded("Ann Lee", 20)},
        {"'|' + ALLTRIM('   ') + '|'", "'||   '"},
        {"Trim(NAME)+ '(' + Trim(CODE)+')'", padded("  Ann Lee(AB)", 26)},
    });
    set("NAME", Value::string("\tAnn\n "));
    EXPECT_EQ(evalText("'|' + ALLTRIM(NAME) + '|'"), "'|\\x09Ann\\x0A|" + std::string(15, ' ') + "'");
}

TEST_F(EvalFunctionsTest, CaseChangesTouchAsciiLettersOnly) {
    set("MEDIA", Value::string("radio \xE9\xFF  "));
    expectValues({
        {"UPPER(MEDIA)", "'RADIO \\xE9\\xFF  '"},
        {"LOWER('AbC-\xC3\x80Z')", "'abc-\\xC0z'"},
        {"UPPER('x1_y')", "'X1_Y'"},
    });
}

TEST_F(EvalFunctionsTest, RoundIsDecimalAndHalfAwayFromZero) {
    expectValues({
        {"ROUND(2.5, 0)", "N:3"},
        {"ROUND(-2.5, 0)", "N:-3"},
        {"ROUND(2.49, 0)", "N:2"},
        {"ROUND(0.125, 2)", "N:0.13"},
        {"ROUND(-0.125, 2)", "N:-0.13"},
        {"ROUND(1.005, 2)", "N:1.01"},  // binary doubles would give 1.00
        {"ROUND(1234.1962, 2)", "N:1234.20"},
        {"ROUND(1234.1962, -2)", "N:1200"},
        {"ROUND(1250, -2)", "N:1300"},
        {"ROUND(-1250, -2)", "N:-1300"},
        {"ROUND(49.5, -2)", "N:0"},
        {"ROUND(50, -2)", "N:100"},
        {"ROUND(SPEND, 1)", "N:1234.5"},
        {"ROUND(SPEND, 0)", "N:1235"},
        {"ROUND(SPEND, 3)", "N:1234.500"},
        {"ROUND(QTY, -1)", "N:10"},
        {"ROUND(2/3, 2)", "N:0.67"},
        {"ROUND(10/3*3, 2)", "N:10.00"},
    });
    set("RATIO", Value::real(2.675));
    EXPECT_EQ(evalText("ROUND(RATIO, 2)"), "N:2.68");
}

TEST_F(EvalFunctionsTest, CtodReadsAmericanDates) {
    expectValues({
        {"CTOD('03/07/2004')", "D:2004-03-07"},
        {"CTOD('3/7/2004')", "D:2004-03-07"},
        {"CTOD('03-07-2004')", "D:2004-03-07"},
        {"CTOD('03.07.2004')", "D:2004-03-07"},
        {"CTOD(' 3/7/2004 ')", "D:2004-03-07"},
        {"CTOD('12/31/1999')", "D:1999-12-31"},
        {"CTOD('02/29/2004')", "D:2004-02-29"},
        {"CTOD('03/07/04')", "D:1904-03-07"},
        {"CTOD('02/29/2003')", "D:{}"},
        {"CTOD('13/01/2004')", "D:{}"},
        {"CTOD('00/10/2004')", "D:{}"},
        {"CTOD('04/31/2004')", "D:{}"},
        {"CTOD('')", "D:{}"},
        {"CTOD('  /  /    ')", "D:{}"},
        {"CTOD('abc')", "D:{}"},
        {"CTOD('03/07')", "D:{}"},
        {"CTOD('2004/03/07')", "D:{}"},
        {"CTOD('03/07/2004x')", "D:{}"},
        {"CTOD('003/07/2004')", "D:{}"},
        {"BORN = CTOD('03/07/2004')", ".T."},
    });
}

TEST_F(EvalFunctionsTest, EmptyByKind) {
    expectValues({
        {"EMPTY('')", ".T."},
        {"EMPTY(CODE)", ".F."},
        {"EMPTY(SPEND)", ".F."},
        {"EMPTY(ZERO)", ".T."},
        {"EMPTY(0.00)", ".T."},
        {"EMPTY(BORN)", ".F."},
        {"EMPTY(CTOD('x'))", ".T."},
        {"EMPTY(ACTIVE)", ".F."},
        {"EMPTY(.F.)", ".T."},
    });
    set("MEDIA", Value::string("          "));
    set("QTY", Value::integer(0));
    set("RATIO", Value::real(0.0));
    set("STAMP", Value::dateTime(0));
    set("NOTES", Value::string(" \t\r\n"));
    expectValues({
        {"EMPTY(MEDIA)", ".T."},
        {"EMPTY(QTY)", ".T."},
        {"EMPTY(RATIO)", ".T."},
        {"EMPTY(STAMP)", ".T."},
        {"EMPTY(NOTES)", ".T."},
    });
}

}  // namespace
}  // namespace vantrep::tests
