// What binding refuses, with the number and the message the user reads.
// Positions are 1-based in "SELECT <expr> FROM t" (the fixture's at()).
#include <gtest/gtest.h>

#include "engine/EngineError.h"
#include "support/ExpressionFixture.h"

namespace vantrep::tests {
namespace {

using namespace vantrep::engine;

struct ErrorCase {
    std::string expression;
    int number;
    std::string description;
};

class BindErrorsTest : public ExpressionFixture {
protected:
    void expectErrors(const std::vector<ErrorCase>& cases) {
        for (const ErrorCase& c : cases) {
            ErrorSeen seen = errorOf(c.expression);
            EXPECT_EQ(seen.number, c.number) << c.expression;
            EXPECT_EQ(seen.description, c.description) << c.expression;
        }
    }
};

TEST_F(BindErrorsTest, UnknownNamesGiveTheirPosition) {
    expectErrors({
        {"NOPE", errUnknownName, "Field 'NOPE' is not found " + at(1) + "."},
        {"MEDIA = 'TV' AND Medialevel = 'Radio'", errUnknownName, "Field 'Medialevel' is not found " + at(18) + "."},
        {"FOO(MEDIA)", errUnknownFunction, "Function 'FOO' is not supported " + at(1) + "."},
        {"UPPER(substr(MEDIA, 1))", errUnknownFunction, "Function 'SUBSTR' is not supported " + at(7) + "."},
    });
}

TEST_F(BindErrorsTest, WrongArityNamesTheFunction) {
    std::string twentyFour = "INLIST(MONTH";
    for (int i = 1; i <= 24; ++i) twentyFour.append(",").append(std::to_string(i));
    EXPECT_EQ(typeOf(twentyFour + ")"), "L");
    expectErrors({
        {"IIF(.T., 1)", errTooFewArguments, "Too few arguments for function 'IIF' " + at(1) + "."},
        {"IIF(.T., 1, 2, 3)", errTooManyArguments, "Too many arguments for function 'IIF' " + at(1) + "."},
        {"ROUND(SPEND)", errTooFewArguments, "Too few arguments for function 'ROUND' " + at(1) + "."},
        {"round(SPEND, 1, 2)", errTooManyArguments, "Too many arguments for function 'ROUND' " + at(1) + "."},
        {"INLIST(MEDIA)", errTooFewArguments, "Too few arguments for function 'INLIST' " + at(1) + "."},
        {twentyFour + ",25)", errTooManyArguments, "Too many arguments for function 'INLIST' " + at(1) + "."},
        {"MEDIA + UPPER()", errTooFewArguments, "Too few arguments for function 'UPPER' " + at(9) + "."},
        {"ALLTRIM(MEDIA, CODE)", errTooManyArguments, "Too many arguments for function 'ALLTRIM' " + at(1) + "."},
        {"CTOD()", errTooFewArguments, "Too few arguments for function 'CTOD' " + at(1) + "."},
        {"EMPTY(MEDIA, CODE)", errTooManyArguments, "Too many arguments for function 'EMPTY' " + at(1) + "."},
        {"COUNT()", errTooFewArguments, "Too few arguments for function 'COUNT' " + at(1) + "."},
        {"SUM(SPEND, 1)", errTooManyArguments, "Too many arguments for function 'SUM' " + at(1) + "."},
    });
}

TEST_F(BindErrorsTest, OperandsOfDifferentKindsAreRefused) {
    std::string mismatch = "Operator/operand type mismatch ";
    expectErrors({
        {"MEDIA = 1", errDataTypeMismatch, mismatch + at(7) + "."},
        {"1 < MEDIA", errDataTypeMismatch, mismatch + at(3) + "."},
        {"MEDIA + 1", errDataTypeMismatch, mismatch + at(7) + "."},
        {"BORN = 'x'", errDataTypeMismatch, mismatch + at(6) + "."},
        {"ACTIVE < 1", errDataTypeMismatch, mismatch + at(8) + "."},
        {"MONTH AND .T.", errDataTypeMismatch, mismatch + at(7) + "."},
        {"NOT MEDIA", errDataTypeMismatch, mismatch + at(1) + "."},
        {"-MEDIA", errDataTypeMismatch, mismatch + at(1) + "."},
        {"BORN * 2", errDataTypeMismatch, mismatch + at(6) + "."},
        {"2 - BORN", errDataTypeMismatch, mismatch + at(3) + "."},
        {"BORN + BORN", errDataTypeMismatch, mismatch + at(6) + "."},
        {"MEDIA * CODE", errDataTypeMismatch, mismatch + at(7) + "."},
        {"MEDIA IN ('TV', 2)", errDataTypeMismatch, mismatch + at(17) + "."},
    });
}

TEST_F(BindErrorsTest, FunctionArgumentsOfTheWrongType) {
    expectErrors({
        {"IIF(.T., MEDIA, 1)", errDataTypeMismatch, "The two results of IIF are of different types " + at(1) + "."},
        {"IIf(MEDIA, 1, 2)", errDataTypeMismatch, "Argument 1 of function 'IIF' has the wrong type " + at(5) + "."},
        {"UPPER(MONTH)", errDataTypeMismatch, "Argument 1 of function 'UPPER' has the wrong type " + at(7) + "."},
        {"ALLTRIM(BORN)", errDataTypeMismatch, "Argument 1 of function 'ALLTRIM' has the wrong type " + at(9) + "."},
        {"ROUND(MEDIA, 1)", errDataTypeMismatch, "Argument 1 of function 'ROUND' has the wrong type " + at(7) + "."},
        {"CTOD(5)", errDataTypeMismatch, "Argument 1 of function 'CTOD' has the wrong type " + at(6) + "."},
        {"INLIST(MEDIA, 'TV', 1)", errDataTypeMismatch,
         "Argument 3 of function 'INLIST' has the wrong type " + at(21) + "."},
        {"SUM(MEDIA)", errDataTypeMismatch, "Argument 1 of function 'SUM' has the wrong type " + at(5) + "."},
        {"AVG(BORN)", errDataTypeMismatch, "Argument 1 of function 'AVG' has the wrong type " + at(5) + "."},
        {"ROUND(SPEND, MONTH)", errNotSupported, "The decimals of ROUND must be a constant number " + at(14) + "."},
    });
}

TEST_F(BindErrorsTest, AggregatesOnlyWhereAllowedAndNeverNested) {
    ErrorSeen inWhere = errorOf("SPEND > SUM(SPEND)", false);
    EXPECT_EQ(inWhere.number, errSyntax);
    EXPECT_EQ(inWhere.description,
              "Aggregate function 'SUM' is not allowed in this part of the statement " + at(9) + ".");
    expectErrors({
        {"SUM(MAX(SPEND))", errSyntax, "Aggregate function 'MAX' cannot be used inside another aggregate " + at(5) + "."},
        {"COUNT(ROUND(AVG(QTY), 1))", errSyntax,
         "Aggregate function 'AVG' cannot be used inside another aggregate " + at(13) + "."},
    });
    EXPECT_EQ(errorOf("COUNT(*)", false).number, errSyntax);
    EXPECT_NO_THROW(bindText("SUM(SPEND) + COUNT(*)"));
}

TEST_F(BindErrorsTest, NullCombinesWithEveryType) {
    for (const char* expression : {"MEDIA = NULL", "NULL < BORN", "NULL + MEDIA", "NULL * SPEND", "BORN + NULL",
                                   "ACTIVE AND NULL", "NOT NULL", "-NULL", "UPPER(NULL)", "ROUND(NULL, 2)",
                                   "CTOD(NULL)", "INLIST(NULL, 1, 'a')", "IIF(NULL, NULL, NULL)"}) {
        EXPECT_EQ(errorOf(expression).number, 0) << expression;
    }
}

}  // namespace
}  // namespace vantrep::tests
