// NULL: three-valued logic, propagation through operators and functions, and
// the exceptions (IIF, INLIST, EMPTY, WHERE acceptance).
#include <gtest/gtest.h>

#include "support/ExpressionFixture.h"

namespace vantrep::tests {
namespace {

using namespace vantrep::engine;

struct Case {
    const char* expression;
    const char* expected;
};

class EvalNullTest : public ExpressionFixture {
protected:
    void expectValues(const std::vector<Case>& cases) {
        for (const Case& c : cases) EXPECT_EQ(evalText(c.expression), c.expected) << c.expression;
    }
};

TEST_F(EvalNullTest, TruthTables) {
    expectValues({
        {".T. AND .T.", ".T."},   {".T. AND .F.", ".F."},   {".T. AND NULL", ".NULL."},
        {".F. AND .T.", ".F."},   {".F. AND .F.", ".F."},   {".F. AND NULL", ".F."},
        {"NULL AND .T.", ".NULL."}, {"NULL AND .F.", ".F."}, {"NULL AND NULL", ".NULL."},
        {".T. OR .T.", ".T."},    {".T. OR .F.", ".T."},    {".T. OR NULL", ".T."},
        {".F. OR .T.", ".T."},    {".F. OR .F.", ".F."},    {".F. OR NULL", ".NULL."},
        {"NULL OR .T.", ".T."},   {"NULL OR .F.", ".NULL."}, {"NULL OR NULL", ".NULL."},
        {"NOT .T.", ".F."},       {"NOT .F.", ".T."},       {"NOT NULL", ".NULL."},
    });
    set("ACTIVE", Value::null());
    expectValues({{"ACTIVE AND .F.", ".F."}, {"ACTIVE OR .T.", ".T."}, {"ACTIVE OR MONTH = 2", ".NULL."}});
}

TEST_F(EvalNullTest, OperatorsAndFunctionsGiveNull) {
    expectValues({
        {"NULL + 1", ".NULL."},
        {"MEDIA + NULL", ".NULL."},
        {"MEDIA - NULL", ".NULL."},
        {"NULL / 0", ".NULL."},
        {"-NULL", ".NULL."},
        {"BORN + NULL", ".NULL."},
        {"NULL = NULL", ".NULL."},
        {"MEDIA = NULL", ".NULL."},
        {"NULL <> 1", ".NULL."},
        {"UPPER(NULL)", ".NULL."},
        {"ALLTRIM(NULL)", ".NULL."},
        {"LTRIM(NULL)", ".NULL."},
        {"ROUND(NULL, 2)", ".NULL."},
        {"CTOD(NULL)", ".NULL."},
    });
    set("SPEND", Value::null());
    set("MEDIA", Value::null());
    expectValues({
        {"SPEND * 2", ".NULL."},
        {"-SPEND", ".NULL."},
        {"ROUND(SPEND, 0)", ".NULL."},
        {"SPEND > 0", ".NULL."},
        {"TRIM(MEDIA) + 'x'", ".NULL."},
        {"MEDIA IN ('TV')", ".NULL."},
    });
}

TEST_F(EvalNullTest, IifEmptyAndInlistHaveTheirOwnRules) {
    expectValues({
        {"IIF(NULL, 'a', 'b')", "'b'"},
        {"IIF(.T., NULL, 'b')", ".NULL."},
        {"EMPTY(NULL)", ".F."},
        {"INLIST(NULL, 1, 2)", ".NULL."},
        {"INLIST(NULL, NULL)", ".NULL."},
        {"INLIST(1, NULL, 1)", ".T."},
        {"INLIST(1, 1, NULL)", ".T."},
        {"INLIST(1, 2, NULL)", ".NULL."},
        {"INLIST(1, 2, 3)", ".F."},
        {"MEDIA IN ('X', NULL)", ".NULL."},
        {"MEDIA IN (NULL, 'TV')", ".T."},
    });
    set("MONTH", Value::null());
    expectValues({{"IIF(MONTH > 1, 'big', 'small')", "'small'"}, {"INLIST(MONTH, 1, 2)", ".NULL."}});
}

TEST(IsTrueTest, OnlyLogicalTrueIsAccepted) {
    EXPECT_TRUE(exec::isTrue(Value::logical(true)));
    EXPECT_FALSE(exec::isTrue(Value::logical(false)));
    EXPECT_FALSE(exec::isTrue(Value::null()));
    EXPECT_FALSE(exec::isTrue(Value::integer(1)));
    EXPECT_FALSE(exec::isTrue(Value::string("T")));
}

}  // namespace
}  // namespace vantrep::tests
