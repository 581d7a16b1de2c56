// Static result types: every expression is typed before any row is read, as
// a result column needs it (see the fixture for the table's fields).
#include <gtest/gtest.h>

#include "support/ExpressionFixture.h"

namespace vantrep::tests {
namespace {

struct TypeCase {
    const char* expression;
    const char* type;
};

class BindTypesTest : public ExpressionFixture {
protected:
    void expectTypes(const std::vector<TypeCase>& cases) {
        for (const TypeCase& c : cases) EXPECT_EQ(typeOf(c.expression), c.type) << c.expression;
    }
};

TEST_F(BindTypesTest, FieldsKeepTheirOwnTypeAndWidth) {
    expectTypes({
        {"MEDIA", "C(10)"},
        {"media", "C(10)"},
        {"Month", "N(2,0)"},
        {"SPEND", "N(12,2)"},
        {"QTY", "I"},
        {"PRICE", "Y"},
        {"RATIO", "B(8,2)"},
        {"BORN", "D"},
        {"STAMP", "T"},
        {"ACTIVE", "L"},
        {"NOTES", "M"},
    });
    auto price = bindText("PRICE");
    EXPECT_EQ(price->type.decimals, 4);
    EXPECT_EQ(price->field, table().fieldIndex("PRICE"));
}

TEST_F(BindTypesTest, LiteralsAreTypedAsWritten) {
    expectTypes({
        {"'abc'", "C(3)"},
        {"''", "C(0)"},
        {"\"Others    \"", "C(10)"},
        {"'\xC3\xA9t\xC3\xA9'", "C(3)"},  // three code-page bytes, not five UTF-8 ones
        {"0000000000", "N(10,0)"},
        {"12.50", "N(5,2)"},
        {"7", "N(1,0)"},
        {"-2", "N(2,0)"},
        {".T.", "L"},
        {"NULL", "U"},
        {"{^2004-03-07}", "D"},
        {"{^2004-03-07 13:45:30}", "T"},
    });
}

TEST_F(BindTypesTest, IifTakesTheWiderBranch) {
    expectTypes({
        // the cross-tab bucket terms
        {"IIF(INLIST(ALLTRIM(MEDIA),\"TV\",\"RADIO\"),MEDIA,\"Others    \")", "C(10)"},
        {"IIF(INLIST(MONTH,1,2),MONTH,00)", "N(2,0)"},
        {"IIF(INLIST(MONTH,1,2),MONTH,000)", "N(3,0)"},
        {"IIF(INLIST(ALLTRIM(CODE),\"AB\"),CODE,\"Others\")", "C(6)"},
        {"IIf(time<>' ',MEDIA,CODE)", "error 12: Field 'time' is not found (position 12)."},
        {"IIF(.T., SPEND, 0)", "N(12,2)"},
        {"IIF(.T., MONTH, 1.5)", "N(4,1)"},
        {"IIF(.T., RATE, SPEND)", "N(13,3)"},
        {"IIF(.T., QTY, QTY)", "I"},
        {"IIF(.T., QTY, MONTH)", "N(11,0)"},
        {"IIF(.T., RATIO, SPEND)", "B(8,2)"},
        {"IIF(.T., BORN, BORN)", "D"},
        {"IIF(.T., BORN, STAMP)", "T"},
        {"IIF(.T., NULL, MEDIA)", "C(10)"},
        {"IIF(.T., NOTES, MEDIA)", "M"},
        {"IIF(NULL, ACTIVE, .F.)", "L"},
    });
}

TEST_F(BindTypesTest, StringFunctionsAndJoins) {
    expectTypes({
        {"MEDIA + CODE", "C(14)"},
        {"MEDIA - CODE", "C(14)"},
        {"Trim(NAME)+ '(' + Trim(CODE)+')'", "C(26)"},
        {"ALLTRIM(MEDIA)", "C(10)"},
        {"TRIM(MEDIA)", "C(10)"},
        {"RTRIM(MEDIA)", "C(10)"},
        {"LTRIM(MEDIA)", "C(10)"},
        {"UPPER(CODE)", "C(4)"},
        {"LOWER(NAME)", "C(20)"},
        {"UPPER(NOTES)", "M"},
        {"NOTES + MEDIA", "M"},
        {"MEDIA + NULL", "C(10)"},
    });
}

TEST_F(BindTypesTest, LogicalResults) {
    expectTypes({
        {"MEDIA = 'TV'", "L"},
        {"MEDIA == 'TV'", "L"},
        {"SPEND >= 1", "L"},
        {"NOT ACTIVE", "L"},
        {"ACTIVE AND MONTH > 1 OR NULL", "L"},
        {"INLIST(MEDIA, 'TV', 'RADIO')", "L"},
        {"MEDIA IN ('TV', 'RADIO')", "L"},
        {"EMPTY(BORN)", "L"},
        {"MEDIA = NULL", "L"},
    });
}

TEST_F(BindTypesTest, RoundKeepsTheWidthWithTheGivenDecimals) {
    expectTypes({
        {"ROUND(SPEND, 0)", "N(12,0)"},
        {"ROUND(SPEND, 1)", "N(12,1)"},
        {"ROUND(SPEND, -2)", "N(12,0)"},
        {"ROUND(SPEND, 4)", "N(14,4)"},  // widened: nine integer places and four decimals
        {"ROUND(RATE, 1)", "N(6,1)"},
        {"ROUND(QTY, 2)", "N(14,2)"},
        {"ROUND(1234.1962, -2)", "N(9,0)"},
        {"ROUND(SUM(SPEND), 0)", "N(20,0)"},
        {"ROUND(RATIO, 2)", "N(20,2)"},
    });
}

TEST_F(BindTypesTest, DatesAndArithmetic) {
    expectTypes({
        {"CTOD('03/07/2004')", "D"},
        {"BORN + 1", "D"},
        {"1 + BORN", "D"},
        {"BORN - 30", "D"},
        {"BORN - BORN", "N(10,0)"},
        {"STAMP + 60", "T"},
        {"STAMP - STAMP", "N(20,3)"},
        {"STAMP - BORN", "N(20,3)"},
        {"SPEND + MONTH", "N(13,2)"},
        {"SPEND - RATE", "N(14,3)"},
        {"SPEND * RATE", "N(17,5)"},
        {"SPEND / MONTH", "N(20,6)"},
        {"QTY + 1", "N(12,0)"},
        {"-SPEND", "N(13,2)"},
        {"-QTY", "I"},
        {"RATIO * 2", "B(8,2)"},
        {"NULL + 1", "N(1,0)"},
        {"99999999999999999999 + 1", "N(20,0)"},
    });
}

TEST_F(BindTypesTest, AggregateResults) {
    expectTypes({
        {"SUM(SPEND)", "N(20,2)"},
        {"SUM(MONTH)", "N(20,0)"},
        {"SUM(QTY)", "N(20,0)"},
        {"SUM(RATIO)", "B(8,2)"},
        {"SUM(PRICE)", "Y"},
        {"AVG(SPEND)", "N(20,6)"},
        {"AVG(QTY)", "N(20,4)"},
        {"AVG(PRICE)", "N(20,8)"},
        {"COUNT(*)", "N(10,0)"},
        {"count(MEDIA)", "N(10,0)"},
        {"MIN(MEDIA)", "C(10)"},
        {"MAX(BORN)", "D"},
        {"MAX(SPEND)", "N(12,2)"},
    });
}

}  // namespace
}  // namespace vantrep::tests
