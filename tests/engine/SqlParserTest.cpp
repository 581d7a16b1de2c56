// The SQL parser: every statement shape the program sends, verbatim, as a tree
// summary; precedence; literal types; fields named like keywords; positions;
// exact syntax error texts; nesting limits; the canonical text round trip;
// and the inputs the fuzzer found.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/EngineError.h"
#include "engine/sql/AstPrinter.h"
#include "engine/sql/Parser.h"

namespace vantrep::tests {
namespace {

using engine::Decimal;
using engine::EngineError;
using engine::Value;
using namespace engine::sql;

struct Case {
    std::string statement;
    std::string tree;
};

std::string errorOf(const std::string& statement) {
    try {
        parseStatement(statement);
    } catch (const EngineError& error) {
        EXPECT_EQ(error.number(), engine::errSyntax) << statement;
        return error.description();
    }
    return "no error";
}

void expectTrees(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        try {
            EXPECT_EQ(describe(parseStatement(c.statement)), c.tree) << c.statement;
        } catch (const EngineError& error) {
            ADD_FAILURE() << c.statement << "\n  " << error.description();
        }
    }
}

// The WHERE expression of "SELECT * FROM t WHERE " + condition.
std::string condition(const std::string& text) {
    Statement statement = parseStatement("SELECT * FROM t WHERE " + text);
    return describe(*std::get<SelectStatement>(statement).where);
}

// The single select item of "SELECT " + item + " FROM t".
ExprPtr item(const std::string& text) {
    Statement statement = parseStatement("SELECT " + text + " FROM t");
    return std::move(std::get<SelectStatement>(statement).items.at(0).expr);
}

std::string fixedReport1(const std::string& table) {
    return std::string("SELECT *, ") + "IIf(time<>' ',Time,color) as Pb," +
           "IIf(Medialevel='Television' Or Medialevel='Radio' Or Medialevel='Outdoor' Or "
           "Medialevel='Cinema',Position,' ') as Pos," +
           "IIf(Medialevel='Television' Or Medialevel='Radio' Or Medialevel='Outdoor'Or "
           "Medialevel='Cinema',Total_Ads,' ') as TolAd," +
           "IIf(ad_type<>' ',Trim(ad_desc)+ '(' + Trim(ad_type)+')',ad_desc) as ad_dest," +
           "IIf(main_typo<>' ',Trim(Prog_name)+ ' '+'('+Trim(main_typo)+')',prog_name) as main_type " + "FROM [" +
           table + "] " + "ORDER BY medianame, manufact, brand, subbrand, product, group, date, time";
}

std::string fixedReport2(const std::string& table) {
    return std::string("SELECT * ") + "FROM [" + table + "] " + "ORDER BY date, media_name, timest, prog_name, timebrk";
}

const std::string mediaLevels =
    "(OR (OR (OR (= Medialevel \"Television\") (= Medialevel \"Radio\")) (= Medialevel \"Outdoor\")) "
    "(= Medialevel \"Cinema\"))";

const std::vector<Case>& programStatements() {
    static const std::vector<Case> cases = {
        // Structure file checks.
        {"SELECT * FROM [/tmp/x/a.str]", "(SELECT (ITEMS *) (FROM \"/tmp/x/a.str\"))"},
        {"SELECT Divisor,count(*) AS Cnt FROM [/tmp/x/a.str] WHERE Divisor>0 GROUP BY Divisor",
         "(SELECT (ITEMS Divisor (AS (COUNT *) Cnt)) (FROM \"/tmp/x/a.str\") (WHERE (> Divisor 0)) (GROUP Divisor))"},
        {"SELECT Displayed,Divisor FROM [/tmp/x/a.str]",
         "(SELECT (ITEMS Displayed Divisor) (FROM \"/tmp/x/a.str\"))"},
        {"UPDATE [/tmp/x/a.dtr] SET Divisor=0", "(UPDATE (TABLE \"/tmp/x/a.dtr\") (SET (Divisor 0)))"},
        {"select * from [/opt/vantrep/layouts/Media.str]", "(SELECT (ITEMS *) (FROM \"/opt/vantrep/layouts/Media.str\"))"},
        {"SELECT fname FROM [/tmp/work/layouts/Media.str]",
         "(SELECT (ITEMS fname) (FROM \"/tmp/work/layouts/Media.str\"))"},
        {"SELECT * FROM [/tmp/work/Rep 1/DATA.DBF] WHERE 1=2",
         "(SELECT (ITEMS *) (FROM \"/tmp/work/Rep 1/DATA.DBF\") (WHERE (= 1 2)))"},
        // Value lists.
        {"SELECT DISTINCT BRAND FROM t ORDER BY 1", "(SELECT DISTINCT (ITEMS BRAND) (FROM \"t\") (ORDER #1))"},
        {"SELECT DISTINCT MEDIA FROM DATA.DBF ORDER BY 1",
         "(SELECT DISTINCT (ITEMS MEDIA) (FROM \"DATA.DBF\") (ORDER #1))"},
        {"SELECT DISTINCT MONTH FROM DATA.DBF", "(SELECT DISTINCT (ITEMS MONTH) (FROM \"DATA.DBF\"))"},
        {"SELECT DISTINCT MEDIA FROM [/tmp/work/Rep1/DATA.DBF]",
         "(SELECT DISTINCT (ITEMS MEDIA) (FROM \"/tmp/work/Rep1/DATA.DBF\"))"},
        // Cross-tab queries.
        {"select MEDIA, MONTH,  ROUND(SUM(SPEND),0) AS SPEND from DATA.DBF WHERE 1=1  AND INLIST(MONTH,1,2) "
         "group by 1 ,2 order by 1 ,2",
         "(SELECT (ITEMS MEDIA MONTH (AS (ROUND (SUM SPEND) 0) SPEND)) (FROM \"DATA.DBF\") "
         "(WHERE (AND (= 1 1) (INLIST MONTH 1 2))) (GROUP #1 #2) (ORDER #1 #2))"},
        {"select IIF(INLIST(ALLTRIM(MEDIA),\"TV\",\"RADIO\"),MEDIA,\"Others    \") AS MEDIA, MONTH,  "
         "ROUND(SUM(SPEND),0) AS SPEND from DATA.DBF WHERE 1=1  group by 1 ,2 order by 1 ,2",
         "(SELECT (ITEMS (AS (IIF (INLIST (ALLTRIM MEDIA) \"TV\" \"RADIO\") MEDIA \"Others    \") MEDIA) MONTH "
         "(AS (ROUND (SUM SPEND) 0) SPEND)) (FROM \"DATA.DBF\") (WHERE (= 1 1)) (GROUP #1 #2) (ORDER #1 #2))"},
        {"select MEDIA, IIF(INLIST(MONTH,1,2),MONTH,00) AS MONTH,  ROUND(SUM(SPEND),0) AS SPEND, "
         "ROUND(SUM(COST),2) AS COST from DATA.DBF WHERE 1=1  AND INLIST(ALLTRIM(BRAND),\"A\",\"B C\") "
         "group by 1 ,2 order by 1 ,2",
         "(SELECT (ITEMS MEDIA (AS (IIF (INLIST MONTH 1 2) MONTH 00) MONTH) (AS (ROUND (SUM SPEND) 0) SPEND) "
         "(AS (ROUND (SUM COST) 2) COST)) (FROM \"DATA.DBF\") "
         "(WHERE (AND (= 1 1) (INLIST (ALLTRIM BRAND) \"A\" \"B C\"))) (GROUP #1 #2) (ORDER #1 #2))"},
        // The page filter follows " WHERE 1=1 " + " AND ".
        {"select MEDIA, MONTH,  ROUND(SUM(SPEND),0) AS SPEND from DATA.DBF WHERE 1=1  AND  MEDIA in('A','B') "
         "AND MONTH in(2) group by 1 ,2 order by 1 ,2",
         "(SELECT (ITEMS MEDIA MONTH (AS (ROUND (SUM SPEND) 0) SPEND)) (FROM \"DATA.DBF\") "
         "(WHERE (AND (AND (= 1 1) (IN MEDIA \"A\" \"B\")) (IN MONTH 2))) (GROUP #1 #2) (ORDER #1 #2))"},
        {"select MONTH,  ROUND(SUM(SPEND),0) AS SPEND from DATA.DBF WHERE 1=1  group by 1 order by 1",
         "(SELECT (ITEMS MONTH (AS (ROUND (SUM SPEND) 0) SPEND)) (FROM \"DATA.DBF\") (WHERE (= 1 1)) (GROUP #1) "
         "(ORDER #1))"},
        // Detailed listings.
        {"SELECT DATE, MEDIA, SPOTS, CLIPDET from DATA.DBF WHERE 1=1  AND MEDIA IN('TV','RADIO') ORDER BY 1, 2, 3",
         "(SELECT (ITEMS DATE MEDIA SPOTS CLIPDET) (FROM \"DATA.DBF\") "
         "(WHERE (AND (= 1 1) (IN MEDIA \"TV\" \"RADIO\"))) (ORDER #1 #2 #3))"},
        {"SELECT DATE, MEDIA from DATA.DBF WHERE 1=1  AND DATE IN(CTOD('03/07/2004'),CTOD('12/31/2003')) "
         "AND SPOTS IN(1,2) ORDER BY 1, 2",
         "(SELECT (ITEMS DATE MEDIA) (FROM \"DATA.DBF\") (WHERE (AND (AND (= 1 1) "
         "(IN DATE (CTOD \"03/07/2004\") (CTOD \"12/31/2003\"))) (IN SPOTS 1 2))) (ORDER #1 #2))"},
        {"SELECT X FROM DATA.DBF WHERE 1=0", "(SELECT (ITEMS X) (FROM \"DATA.DBF\") (WHERE (= 1 0)))"},
        {"SELECT DATE FROM DATA.DBF WHERE 1=0", "(SELECT (ITEMS DATE) (FROM \"DATA.DBF\") (WHERE (= 1 0)))"},
        // Fixed-format reports.
        {fixedReport1("/tmp/work/Rep1/DATA.DBF"),
         "(SELECT (ITEMS * (AS (IIF (<> time \" \") Time color) Pb) (AS (IIF " + mediaLevels +
             " Position \" \") Pos) (AS (IIF " + mediaLevels +
             " Total_Ads \" \") TolAd) (AS (IIF (<> ad_type \" \") (+ (+ (+ (TRIM ad_desc) \"(\") (TRIM ad_type)) "
             "\")\") ad_desc) ad_dest) (AS (IIF (<> main_typo \" \") (+ (+ (+ (+ (TRIM Prog_name) \" \") \"(\") "
             "(TRIM main_typo)) \")\") prog_name) main_type)) (FROM \"/tmp/work/Rep1/DATA.DBF\") "
             "(ORDER medianame manufact brand subbrand product group date time))"},
        {fixedReport2("/tmp/work/Rep 2/data.dbf"),
         "(SELECT (ITEMS *) (FROM \"/tmp/work/Rep 2/data.dbf\") (ORDER date media_name timest prog_name timebrk))"},
    };
    return cases;
}

TEST(SqlParserTest, EveryStatementShapeTheProgramSends) { expectTrees(programStatements()); }

TEST(SqlParserTest, TableNames) {
    expectTrees({
        {"SELECT * FROM DATA.DBF", "(SELECT (ITEMS *) (FROM \"DATA.DBF\"))"},
        {"SELECT * FROM data", "(SELECT (ITEMS *) (FROM \"data\"))"},
        {"SELECT * FROM sub.dbf WHERE a=1", "(SELECT (ITEMS *) (FROM \"sub.dbf\") (WHERE (= a 1)))"},
        {"SELECT * FROM sub/dir/my-data.dbf", "(SELECT (ITEMS *) (FROM \"sub/dir/my-data.dbf\"))"},
        {"SELECT * FROM C:\\x\\DATA.DBF", "(SELECT (ITEMS *) (FROM \"C:\\x\\DATA.DBF\"))"},
        {"SELECT * FROM [C:/My Reports/Data Files/DATA.DBF]",
         "(SELECT (ITEMS *) (FROM \"C:/My Reports/Data Files/DATA.DBF\"))"},
        {"SELECT * FROM[x.dbf]WHERE a=1", "(SELECT (ITEMS *) (FROM \"x.dbf\") (WHERE (= a 1)))"},
        {"UPDATE data.dbf SET a=1, b='x' WHERE c=2",
         "(UPDATE (TABLE \"data.dbf\") (SET (a 1) (b \"x\")) (WHERE (= c 2)))"},
    });
}

TEST(SqlParserTest, KeywordsAndFunctionNamesInAnyCase) {
    expectTrees({
        {"sElEcT DiStInCt a FrOm t wHeRe a iN (1) aNd NoT b oR c gRoUp bY 1 OrDeR By 1 dEsC",
         "(SELECT DISTINCT (ITEMS a) (FROM \"t\") (WHERE (OR (AND (IN a 1) (NOT b)) c)) (GROUP #1) (ORDER (DESC #1)))"},
        {"SELECT iif(a,b,c), IIf(a,b,c), Trim(x), trim(x), AllTrim(x) FROM t",
         "(SELECT (ITEMS (IIF a b c) (IIF a b c) (TRIM x) (TRIM x) (ALLTRIM x)) (FROM \"t\"))"},
        {"update t set a = 1 where b = 2", "(UPDATE (TABLE \"t\") (SET (a 1)) (WHERE (= b 2)))"},
    });
}

TEST(SqlParserTest, FieldsNamedLikeKeywords) {
    expectTrees({
        {"SELECT date, time FROM x", "(SELECT (ITEMS date time) (FROM \"x\"))"},
        {"SELECT group, order, desc, asc FROM x", "(SELECT (ITEMS group order desc asc) (FROM \"x\"))"},
        {"SELECT * FROM x ORDER BY medianame, group, date, time",
         "(SELECT (ITEMS *) (FROM \"x\") (ORDER medianame group date time))"},
        {"SELECT * FROM x ORDER BY desc DESC, asc", "(SELECT (ITEMS *) (FROM \"x\") (ORDER (DESC desc) asc))"},
        {"SELECT * FROM x WHERE date > {^2004-03-07} AND time <> ' '",
         "(SELECT (ITEMS *) (FROM \"x\") (WHERE (AND (> date {^2004-03-07}) (<> time \" \"))))"},
        {"SELECT DATE(), date FROM x", "(SELECT (ITEMS (DATE) date) (FROM \"x\"))"},
        {"UPDATE x SET group = 1, date = {}", "(UPDATE (TABLE \"x\") (SET (group 1) (date {})))"},
    });
}

TEST(SqlParserTest, SelectItemsAliasesAndKeys) {
    expectTrees({
        {"SELECT *, IIf(a,b,c) as Pb, d FROM t", "(SELECT (ITEMS * (AS (IIF a b c) Pb) d) (FROM \"t\"))"},
        {"SELECT a, *, * FROM t", "(SELECT (ITEMS a * *) (FROM \"t\"))"},
        {"SELECT a b, c AS d FROM t", "(SELECT (ITEMS (AS a b) (AS c d)) (FROM \"t\"))"},
        {"SELECT a FROM t ORDER BY 1 DESC, 2 ASC, a DESC, b",
         "(SELECT (ITEMS a) (FROM \"t\") (ORDER (DESC #1) #2 (DESC a) b))"},
        {"SELECT a FROM t GROUP BY a, 2 ORDER BY 255", "(SELECT (ITEMS a) (FROM \"t\") (GROUP a #2) (ORDER #255))"},
        {"SELECT a FROM t ORDER BY 007", "(SELECT (ITEMS a) (FROM \"t\") (ORDER #7))"},
        // Only a bare whole number is a column position.
        {"SELECT a FROM t ORDER BY (1), 1.0, 1+1", "(SELECT (ITEMS a) (FROM \"t\") (ORDER 1 1.0 (+ 1 1)))"},
        {"SELECT COUNT(*), count(a), DATE() FROM t", "(SELECT (ITEMS (COUNT *) (COUNT a) (DATE)) (FROM \"t\"))"},
    });
}

TEST(SqlParserTest, TrailingSemicolonAndBlanks) {
    expectTrees({
        {"SELECT * FROM DATA.DBF;", "(SELECT (ITEMS *) (FROM \"DATA.DBF\"))"},
        {"SELECT * FROM [a b.dbf] ; ", "(SELECT (ITEMS *) (FROM \"a b.dbf\"))"},
        {"UPDATE t SET a=1;", "(UPDATE (TABLE \"t\") (SET (a 1)))"},
        {"\r\n\tSELECT\ta,\r\nb\nFROM\tt\tWHERE\ra=1\n", "(SELECT (ITEMS a b) (FROM \"t\") (WHERE (= a 1)))"},
    });
}

TEST(SqlParserTest, Precedence) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"a OR b AND c", "(OR a (AND b c))"},
        {"a AND b OR c AND d", "(OR (AND a b) (AND c d))"},
        {"NOT a = b", "(NOT (= a b))"},
        {"NOT a AND b", "(AND (NOT a) b)"},
        {"NOT NOT a", "(NOT (NOT a))"},
        {"!a .AND. .NOT. b .OR. c", "(OR (AND (NOT a) (NOT b)) c)"},
        {"a = b + 1", "(= a (+ b 1))"},
        {"a + b * c", "(+ a (* b c))"},
        {"a * b + c / d", "(+ (* a b) (/ c d))"},
        {"a - b - c", "(- (- a b) c)"},
        {"a / b * c", "(* (/ a b) c)"},
        {"-a * b", "(* (- a) b)"},
        {"- -a", "(- (- a))"},
        {"+a - +1", "(- a 1)"},
        {"a * (b + c) / 2", "(/ (* a (+ b c)) 2)"},
        {"(a OR b) AND c", "(AND (OR a b) c)"},
        {"a < b = .T.", "(= (< a b) .T.)"},
        {"a + 1 IN (2, 3)", "(IN (+ a 1) 2 3)"},
        {"a IN (1) AND b", "(AND (IN a 1) b)"},
        {"a NOT IN (1, 2)", "(NOT (IN a 1 2))"},
        {"NOT a IN (1)", "(NOT (IN a 1))"},
        {"a != b OR a # b", "(OR (<> a b) (<> a b))"},
        {"a == b AND a <> b", "(AND (== a b) (<> a b))"},
        {"a <= b AND a >= c AND a < d AND a > e", "(AND (AND (AND (<= a b) (>= a c)) (< a d)) (> a e))"},
        {"1=1  AND INLIST(MONTH,1,2)", "(AND (= 1 1) (INLIST MONTH 1 2))"},
        {"IIF(a > 0, -b, b + 1) = 2", "(= (IIF (> a 0) (- b) (+ b 1)) 2)"},
    };
    for (const auto& [text, tree] : cases) {
        try {
            EXPECT_EQ(condition(text), tree) << text;
        } catch (const EngineError& error) {
            ADD_FAILURE() << text << "\n  " << error.description();
        }
    }
}

TEST(SqlParserTest, NumericLiteralsKeepWidthAndDecimalsAsWritten) {
    struct NumberCase {
        const char* text;
        int64_t units;
        int scale;
        int width;
        int decimals;
    };
    const NumberCase cases[] = {
        {"12", 12, 0, 2, 0},
        {"12.50", 1250, 2, 5, 2},
        {".5", 5, 1, 2, 1},
        {"0000000000", 0, 0, 10, 0},
        {"000000.00", 0, 2, 9, 2},
        {"007", 7, 0, 3, 0},
        {"0.125", 125, 3, 5, 3},
    };
    for (const NumberCase& c : cases) {
        ExprPtr expr = item(c.text);
        ASSERT_EQ(expr->kind, ExprKind::Literal) << c.text;
        ASSERT_EQ(expr->literal.kind(), engine::ValueKind::Decimal) << c.text;
        Decimal value = expr->literal.asDecimal();
        EXPECT_EQ(int64_t(value.units), c.units) << c.text;
        EXPECT_EQ(value.scale, c.scale) << c.text;
        EXPECT_EQ(expr->width, c.width) << c.text;
        EXPECT_EQ(expr->decimals, c.decimals) << c.text;
    }
    ExprPtr wide = item("123456789012345678901234567890.5");
    EXPECT_EQ(engine::int128ToString(wide->literal.asDecimal().units), "1234567890123456789012345678905");
    EXPECT_EQ(wide->literal.asDecimal().scale, 1);
    EXPECT_EQ(wide->width, 32);
    EXPECT_EQ(wide->decimals, 1);
}

TEST(SqlParserTest, OtherLiteralValues) {
    const int32_t march7th2004 = 2453072;  // Julian day number
    const int64_t dayMs = 86400000;
    struct ValueCase {
        const char* text;
        Value expected;
    };
    const ValueCase cases[] = {
        {"'abc'", Value::string("abc")},
        {"''", Value::string("")},
        {"\"it's\"", Value::string("it's")},
        {"[say \"x\"]", Value::string("say \"x\"")},
        {"'Café'", Value::string("Café")},
        {".T.", Value::logical(true)},
        {".t.", Value::logical(true)},
        {".Y.", Value::logical(true)},
        {".F.", Value::logical(false)},
        {".n.", Value::logical(false)},
        {"NULL", Value::null()},
        {"null", Value::null()},
        {".NULL.", Value::null()},
        {"{^2004-03-07}", Value::date(march7th2004)},
        {"{^2004/3/7}", Value::date(march7th2004)},
        {"{ ^2004.03.07 }", Value::date(march7th2004)},
        {"{^2004-03-07 13:45:30}", Value::dateTime(march7th2004 * dayMs + 49530000)},
        {"{^2004-03-07,13:45}", Value::dateTime(march7th2004 * dayMs + 49500000)},
        {"{^2004-03-07 0}", Value::dateTime(march7th2004 * dayMs)},
        {"{^2000-02-29}", Value::date(2451604)},
        {"{}", Value::date(0)},
        {"{//}", Value::date(0)},
        {"{ / / }", Value::date(0)},
        {"{d '2004-03-07'}", Value::date(march7th2004)},
        {"{D'2004-03-07'}", Value::date(march7th2004)},
        {"{ts '2004-03-07 13:45:30'}", Value::dateTime(march7th2004 * dayMs + 49530000)},
    };
    for (const ValueCase& c : cases) {
        ExprPtr expr = item(c.text);
        ASSERT_EQ(expr->kind, ExprKind::Literal) << c.text;
        EXPECT_TRUE(expr->literal == c.expected) << c.text << " gives " << expr->literal.toText();
    }
}

TEST(SqlParserTest, InvalidDateLiteralsAreSyntaxErrors) {
    const char* const texts[] = {"{^2004-02-30}", "{^2003-02-29}", "{^2004-13-01}", "{^0-01-01}",
                                 "{^2004-03-07 24:00}", "{^2004-03-07 12:60}", "{^2004-03-07 12:00:60}",
                                 "{^2004-03-07 12:}", "{^2004-03-07x}", "{^12004-03-07}", "{^2004-003-07}",
                                 "{d '2004-03-07 10:00'}", "{ts '2004-03-07'}", "{d 2004-03-07}",
                                 "{2004-03-07}", "{^}", "{03/07/2004}", "{t '10:00:00'}"};
    for (const char* text : texts) {
        EXPECT_EQ(errorOf(std::string("SELECT ") + text + " FROM t"),
                  std::string("Syntax error at position 8: expected a date such as {^2004-03-07} or "
                              "{^2004-03-07 13:45:30}, found '") +
                      text + "'.")
            << text;
    }
}

TEST(SqlParserTest, PositionsAreZeroBasedCharacterOffsets) {
    Statement statement = parseStatement("SELECT a + f(b) x, 'é' FROM [t] WHERE NOT c IN (1) ORDER BY 2");
    const auto& select = std::get<SelectStatement>(statement);
    EXPECT_EQ(select.items[0].position, 7u);
    EXPECT_EQ(select.items[0].expr->position, 9u);           // "+"
    EXPECT_EQ(select.items[0].expr->args[0]->position, 7u);  // a
    EXPECT_EQ(select.items[0].expr->args[1]->position, 11u);  // f
    EXPECT_EQ(select.items[0].expr->args[1]->args[0]->position, 13u);
    EXPECT_EQ(select.items[1].position, 19u);
    EXPECT_EQ(select.table.position, 28u);
    EXPECT_EQ(select.where->position, 38u);           // NOT
    EXPECT_EQ(select.where->args[0]->position, 44u);  // IN
    EXPECT_EQ(select.orderBy[0].position, 60u);       // the 2-byte é counts as one character

    Statement update = parseStatement("UPDATE t SET a=1, bb = 2");
    const auto& assignments = std::get<UpdateStatement>(update).assignments;
    EXPECT_EQ(assignments[0].position, 13u);
    EXPECT_EQ(assignments[1].position, 18u);
    EXPECT_EQ(assignments[1].value->position, 23u);
    EXPECT_EQ(std::get<UpdateStatement>(update).table.position, 7u);
}

TEST(SqlParserTest, SyntaxErrorsNameThePositionAndWhatWasExpected) {
    const std::vector<Case> cases = {
        {"SELECT  from DATA.DBF WHERE 1=1",
         "Syntax error at position 9: expected a field, an expression or * in the select list, found 'from'."},
        {"SELECT DATE, MEDIA, from DATA.DBF",
         "Syntax error at position 21: expected a field, an expression or * in the select list, found 'from'."},
        {"SELECT", "Syntax error at position 7: expected a field, an expression or * in the select list, "
                   "found the end of the statement."},
        {"SELECT a,,b FROM t",
         "Syntax error at position 10: expected a field, an expression or * in the select list, found ','."},
        {"", "Syntax error at position 1: expected SELECT or UPDATE, found the end of the statement."},
        {"   ", "Syntax error at position 4: expected SELECT or UPDATE, found the end of the statement."},
        {"DELETE FROM t", "Syntax error at position 1: expected SELECT or UPDATE, found 'DELETE'."},
        {"SELECT * DATA.DBF", "Syntax error at position 10: expected ',' or FROM, found 'DATA'."},
        {"SELECT a b c", "Syntax error at position 12: expected ',' or FROM, found 'c'."},
        {"SELECT a @ b FROM t", "Syntax error at position 10: expected ',' or FROM, found '@'."},
        {"SELECT 'Café' @ FROM t", "Syntax error at position 15: expected ',' or FROM, found '@'."},
        {"SELECT a\x01 FROM t", "Syntax error at position 9: expected ',' or FROM, found '\\x01'."},
        {"SELECT a AS FROM t", "Syntax error at position 13: expected a column name after AS, found 'FROM'."},
        {"SELECT * FROM", "Syntax error at position 14: expected a table name, found the end of the statement."},
        {"SELECT * FROM []", "Syntax error at position 15: expected a table name, found '[]'."},
        {"SELECT * FROM [  ]", "Syntax error at position 15: expected a table name, found '[  ]'."},
        {"SELECT * FROM (t)", "Syntax error at position 15: expected a table name, found '('."},
        {"SELECT * FROM t WHERE a = 'abc",
         "Syntax error at position 27: expected the closing ' of the string that starts here, "
         "found the end of the statement."},
        {"SELECT * FROM [/tmp/a.dbf",
         "Syntax error at position 15: expected the closing ] of the table name that starts here, "
         "found the end of the statement."},
        {"SELECT [abc FROM t",
         "Syntax error at position 8: expected the closing ] of the string that starts here, "
         "found the end of the statement."},
        {"SELECT * FROM t x",
         "Syntax error at position 17: expected WHERE, GROUP BY, ORDER BY or the end of the statement, found 'x'."},
        {"SELECT * FROM t WHERE 1=1 x",
         "Syntax error at position 27: expected GROUP BY, ORDER BY or the end of the statement, found 'x'."},
        {"SELECT a FROM t GROUP BY a ASC",
         "Syntax error at position 28: expected ',', ORDER BY or the end of the statement, found 'ASC'."},
        {"SELECT a FROM t ORDER BY a GROUP BY a",
         "Syntax error at position 28: expected ',', ASC, DESC or the end of the statement, found 'GROUP'."},
        {"SELECT a FROM t GROUP a", "Syntax error at position 23: expected BY after GROUP, found 'a'."},
        {"SELECT a FROM t ORDER 1", "Syntax error at position 23: expected BY after ORDER, found '1'."},
        {"SELECT a FROM t ORDER BY 0",
         "Syntax error at position 26: expected a column position from 1 to 255, found '0'."},
        {"SELECT a FROM t group by 1 ,0",
         "Syntax error at position 29: expected a column position from 1 to 255, found '0'."},
        {"SELECT a FROM t ORDER BY 256",
         "Syntax error at position 26: expected a column position from 1 to 255, found '256'."},
        {"SELECT a FROM t ORDER BY 99999999999999999999",
         "Syntax error at position 26: expected a column position from 1 to 255, found '99999999999999999999'."},
        {"SELECT a FROM t ORDER BY a,",
         "Syntax error at position 28: expected an expression, found the end of the statement."},
        {"SELECT * FROM t;;", "Syntax error at position 17: expected the end of the statement, found ';'."},
        {"SELECT * FROM t; SELECT", "Syntax error at position 18: expected the end of the statement, found 'SELECT'."},
        {"SELECT * FROM t WHERE a IN 1", "Syntax error at position 28: expected '(' after IN, found '1'."},
        {"SELECT * FROM t WHERE a IN ()", "Syntax error at position 29: expected an expression, found ')'."},
        {"SELECT * FROM t WHERE a IN (1 2)", "Syntax error at position 31: expected ',' or ')', found '2'."},
        {"SELECT * FROM t WHERE a NOT b", "Syntax error at position 29: expected IN after NOT, found 'b'."},
        {"SELECT ROUND(SUM(a),0 FROM t", "Syntax error at position 23: expected ',' or ')', found 'FROM'."},
        {"SELECT (a FROM t", "Syntax error at position 11: expected ')', found 'FROM'."},
        {"SELECT SUM(*) FROM t", "Syntax error at position 12: expected an expression, found '*'."},
        {"SELECT COUNT(*, a) FROM t", "Syntax error at position 15: expected ')', found ','."},
        {"SELECT * FROM t WHERE a = AND b", "Syntax error at position 27: expected an expression, found 'AND'."},
        {"SELECT * FROM t WHERE a = .AND.", "Syntax error at position 27: expected an expression, found '.AND.'."},
        {"SELECT * FROM t WHERE a = NOT b", "Syntax error at position 27: expected an expression, found 'NOT'."},
        {"SELECT * FROM t WHERE", "Syntax error at position 22: expected an expression, found the end of the statement."},
        {"SELECT 1.x FROM t", "Syntax error at position 9: expected ',' or FROM, found '.'."},
        {"SELECT 1234567890123456789012345678901234567890123 FROM t",
         "Syntax error at position 8: expected a number of at most 36 digits with at most 30 decimals, "
         "found '1234567890123456789012345678901234567890...'."},
        {"SELECT 0.1234567890123456789012345678901 FROM t",
         "Syntax error at position 8: expected a number of at most 36 digits with at most 30 decimals, "
         "found '0.1234567890123456789012345678901'."},
        {"SELECT 'Ünïcödé text that goes on and on and on' x y FROM t",
         "Syntax error at position 52: expected ',' or FROM, found 'y'."},
        {"SELECT 'Ünïcödé text that goes on and on and on and on' FROM t WHERE",
         "Syntax error at position 69: expected an expression, found the end of the statement."},
        {"UPDATE t a=1", "Syntax error at position 10: expected SET, found 'a'."},
        {"UPDATE t SET a==1", "Syntax error at position 15: expected '=', found '=='."},
        {"UPDATE t SET =1", "Syntax error at position 14: expected a field name, found '='."},
        {"UPDATE t SET from=1", "Syntax error at position 14: expected a field name, found 'from'."},
        {"UPDATE t SET a=1 b", "Syntax error at position 18: expected ',', WHERE or the end of the statement, found 'b'."},
        {"UPDATE t SET a=1 WHERE b=2 c", "Syntax error at position 28: expected the end of the statement, found 'c'."},
        {"UPDATE SET a=1", "Syntax error at position 12: expected SET, found 'a'."},
        {"UPDATE", "Syntax error at position 7: expected a table name, found the end of the statement."},
    };
    for (const Case& c : cases) EXPECT_EQ(errorOf(c.statement), c.tree) << c.statement;
}

TEST(SqlParserTest, LongFoundTextsAreShortenedWithoutSplittingACharacter) {
    // 39 ASCII characters and then "é": the cut falls inside it and moves before it.
    std::string word = "'" + std::string(38, 'a') + "ééé'";
    EXPECT_EQ(errorOf("SELECT 1 " + word + " FROM t"),
              "Syntax error at position 10: expected ',' or FROM, found '" + word.substr(0, 39) + "...'.");
}

TEST(SqlParserTest, NestingIsLimitedTo200Levels) {
    auto nested = [](int depth) {
        return "SELECT " + std::string(size_t(depth), '(') + "1" + std::string(size_t(depth), ')') + " FROM t";
    };
    EXPECT_NO_THROW(parseStatement(nested(200)));
    EXPECT_EQ(errorOf(nested(201)),
              "Syntax error at position 208: expected an expression nested at most 200 levels deep, found '('.");
    EXPECT_EQ(errorOf(nested(100000)),
              "Syntax error at position 208: expected an expression nested at most 200 levels deep, found '('.");

    auto calls = [](int depth) {
        std::string text = "SELECT ";
        for (int i = 0; i < depth; ++i) text += "f(";
        return text + "1" + std::string(size_t(depth), ')') + " FROM t";
    };
    EXPECT_NO_THROW(parseStatement(calls(199)));  // 199 calls and the literal: 200 levels
    EXPECT_EQ(errorOf(calls(200)),
              "Syntax error at position 8: expected an expression nested at most 200 levels deep, found 'f'.");

    // A chain of operators builds a deep tree without nesting in the text.
    auto chain = [](int operators) {
        std::string text = "SELECT 1";
        for (int i = 0; i < operators; ++i) text += "+1";
        return text + " FROM t";
    };
    EXPECT_NO_THROW(parseStatement(chain(199)));
    EXPECT_EQ(errorOf(chain(200)),
              "Syntax error at position 407: expected an expression nested at most 200 levels deep, found '+'.");
    EXPECT_EQ(errorOf(chain(100000)),
              "Syntax error at position 407: expected an expression nested at most 200 levels deep, found '+'.");

    auto prefixed = [](const std::string& op, int count) {
        std::string text = "SELECT * FROM t WHERE ";
        for (int i = 0; i < count; ++i) text += op;
        return text + "a";
    };
    EXPECT_NO_THROW(parseStatement(prefixed("NOT ", 199)));
    EXPECT_EQ(errorOf(prefixed("NOT ", 200)),
              "Syntax error at position 23: expected an expression nested at most 200 levels deep, found 'NOT'.");
    EXPECT_EQ(errorOf(prefixed("!", 100000)),
              "Syntax error at position 223: expected an expression nested at most 200 levels deep, found '!'.");
    EXPECT_NO_THROW(parseStatement(prefixed("-", 199)));
    EXPECT_EQ(errorOf(prefixed("-", 200)),
              "Syntax error at position 23: expected an expression nested at most 200 levels deep, found '-'.");
    EXPECT_EQ(errorOf(prefixed("+", 201)),
              "Syntax error at position 223: expected an expression nested at most 200 levels deep, found '+'.");
    EXPECT_NO_THROW(parseStatement(prefixed("+", 200)));

    // Long flat lists are not nesting.
    std::string list = "SELECT * FROM t WHERE a IN (0";
    for (int i = 1; i < 20000; ++i) {
        list += ",";
        list += std::to_string(i);
    }
    Statement statement = parseStatement(list + ")");
    EXPECT_EQ(std::get<SelectStatement>(statement).where->args.size(), 20001u);
}

TEST(SqlParserTest, CanonicalTextParsesBackToTheSameTree) {
    std::vector<std::string> statements;
    for (const Case& c : programStatements()) statements.push_back(c.statement);
    statements.insert(statements.end(),
                      {"SELECT a FROM t ORDER BY (1), 1.0 DESC, -2", "SELECT 'its', \"a'b\", [a'\"b] FROM t",
                       "SELECT .5, 0000000000, 000000.00, 12.50, {}, {^2004-03-07 13:45:30}, .NULL., .F. FROM t",
                       "SELECT * FROM t WHERE NOT a NOT IN (1) AND - -b = +c",
                       "UPDATE [a b.dbf] SET x = 1, y = 'z' WHERE q",
                       "SELECT a b, count(*) FROM sub/x.dbf GROUP BY 1 ORDER BY b DESC"});
    for (const std::string& text : statements) {
        Statement first = parseStatement(text);
        std::string canonical = toSql(first);
        try {
            EXPECT_EQ(describe(parseStatement(canonical)), describe(first)) << text << "\n" << canonical;
        } catch (const EngineError& error) {
            ADD_FAILURE() << canonical << "\n  " << error.description();
        }
    }
    // A tree of 199 nested IN lists reads back although each IN needs parentheses.
    std::string nestedIn = "SELECT * FROM t WHERE a";
    for (int i = 0; i < 199; ++i) nestedIn += " IN (a";
    nestedIn += std::string(199, ')');
    Statement deep = parseStatement(nestedIn);
    EXPECT_EQ(describe(parseStatement(toSql(deep))), describe(deep));
}

TEST(SqlParserTest, CanonicalTextHasParenthesesOnlyWhereNeeded) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"select *, IIf(a<>' ',b,.5) c from t where a in(1,'x') order by 1 desc, (2)",
         "SELECT *, IIF(a <> ' ', b, .5) AS c FROM [t] WHERE a IN (1, 'x') ORDER BY 1 DESC, (2)"},
        {"update t set a=-1, b=[it's] where not c", "UPDATE [t] SET a = - 1, b = \"it's\" WHERE NOT c"},
        {"SELECT (a - b) - c, a - (b - c), -(a+b)*c, (a*b)+(c/d) FROM t",
         "SELECT a - b - c, a - (b - c), - (a + b) * c, a * b + c / d FROM [t]"},
        {"SELECT * FROM t WHERE (a OR b) AND NOT (c = d) OR (e AND f)",
         "SELECT * FROM [t] WHERE (a OR b) AND NOT c = d OR e AND f"},
        {"SELECT * FROM t WHERE (a = b) = (c IN (1)) AND (NOT d) AND a NOT IN (2)",
         "SELECT * FROM [t] WHERE a = b = (c IN (1)) AND NOT d AND NOT a IN (2)"},
    };
    for (const auto& [text, canonical] : cases) EXPECT_EQ(toSql(parseStatement(text)), canonical) << text;
}

}  // namespace
}  // namespace vantrep::tests
