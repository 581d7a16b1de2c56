// The SQL parser: every statement shape the program sends, verbatim, as a tree
// summary; precedence; literal types; fields named like keywords; positions;
// exact syntax error texts; nesting limits; the canonical text round trip;
// and the inputs the fuzzer found.
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "engine/EngineError.h"
#include "engine/sql/AstPrinter.h"
#include "engine/sql/Parser.h"

namespace vantrep::tests {
namespace {

using engine::EngineError;
using engine::Value;
using namespace engine::sql;

using Case = std::pair<std::string, std::string>;  // a statement and its tree

// describe() of the statement, or of its WHERE expression; "error: " and the
// description of the syntax error when it does not parse.
std::string parsed(const std::string& statement, bool whereOnly = false) {
    try {
        Statement tree = parseStatement(statement);
        return whereOnly ? describe(*std::get<SelectStatement>(tree).where) : describe(tree);
    } catch (const EngineError& error) {
        EXPECT_EQ(error.number(), engine::errSyntax) << statement;
        return "error: " + error.description();
    }
}

// The text of parsed() for a syntax error.
std::string syntaxError(int position, const std::string& expected, const std::string& found) {
    return "error: Syntax error at position " + std::to_string(position) + ": expected " + expected + ", found " +
           found + ".";
}

// The single select item of "SELECT " + item + " FROM t".
ExprPtr item(const std::string& text) {
    Statement statement = parseStatement("SELECT " + text + " FROM t");
    return std::move(std::get<SelectStatement>(statement).items.at(0).expr);
}

std::string repeat(const std::string& text, int times) {
    std::string result;
    while (times-- > 0) result += text;
    return result;
}

const std::string fixedReport1 =
    "SELECT *, IIf(time<>' ',Time,color) as Pb,"
    "IIf(Medialevel='Television' Or Medialevel='Radio' Or Medialevel='Outdoor' Or Medialevel='Cinema',Position,' ') "
    "as Pos,IIf(Medialevel='Television' Or Medialevel='Radio' Or Medialevel='Outdoor'Or "
    "Medialevel='Cinema',Total_Ads,' ') as TolAd,"
    "IIf(ad_type<>' ',Trim(ad_desc)+ '(' + Trim(ad_type)+')',ad_desc) as ad_dest,"
    "IIf(main_typo<>' ',Trim(Prog_name)+ ' '+'('+Trim(main_typo)+')',prog_name) as main_type "
    "FROM [/tmp/work/Rep1/DATA.DBF] ORDER BY medianame, manufact, brand, subbrand, product, group, date, time";

const std::string mediaLevels =
    "(OR (OR (OR (= Medialevel \"Television\") (= Medialevel \"Radio\")) (= Medialevel \"Outdoor\")) "
    "(= Medialevel \"Cinema\"))";

const std::vector<Case> treeCases = {
    // Structure file checks.
    {"SELECT * FROM [/tmp/x/a.str]", "(SELECT (ITEMS *) (FROM \"/tmp/x/a.str\"))"},
    {"SELECT Divisor,count(*) AS Cnt FROM [/tmp/x/a.str] WHERE Divisor>0 GROUP BY Divisor",
     "(SELECT (ITEMS Divisor (AS (COUNT *) Cnt)) (FROM \"/tmp/x/a.str\") (WHERE (> Divisor 0)) (GROUP Divisor))"},
    {"SELECT Displayed,Divisor FROM [/tmp/x/a.str]", "(SELECT (ITEMS Displayed Divisor) (FROM \"/tmp/x/a.str\"))"},
    {"UPDATE [/tmp/x/a.dtr] SET Divisor=0", "(UPDATE (TABLE \"/tmp/x/a.dtr\") (SET (Divisor 0)))"},
    {"SELECT * FROM [/tmp/work/Rep 1/DATA.DBF] WHERE 1=2",
     "(SELECT (ITEMS *) (FROM \"/tmp/work/Rep 1/DATA.DBF\") (WHERE (= 1 2)))"},
    // Value lists.
    {"SELECT DISTINCT MEDIA FROM DATA.DBF ORDER BY 1",
     "(SELECT DISTINCT (ITEMS MEDIA) (FROM \"DATA.DBF\") (ORDER #1))"},
    {"SELECT DISTINCT MONTH FROM DATA.DBF", "(SELECT DISTINCT (ITEMS MONTH) (FROM \"DATA.DBF\"))"},
    // Cross-tab queries; the page filter follows " WHERE 1=1 " + " AND ".
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
    {"select MEDIA, MONTH,  ROUND(SUM(SPEND),0) AS SPEND from DATA.DBF WHERE 1=1  AND  MEDIA in('A','B') "
     "AND MONTH in(2) group by 1 ,2 order by 1 ,2",
     "(SELECT (ITEMS MEDIA MONTH (AS (ROUND (SUM SPEND) 0) SPEND)) (FROM \"DATA.DBF\") "
     "(WHERE (AND (AND (= 1 1) (IN MEDIA \"A\" \"B\")) (IN MONTH 2))) (GROUP #1 #2) (ORDER #1 #2))"},
    // Detailed listings.
    {"SELECT DATE, MEDIA, SPOTS, CLIPDET from DATA.DBF WHERE 1=1  AND MEDIA IN('TV','RADIO') ORDER BY 1, 2, 3",
     "(SELECT (ITEMS DATE MEDIA SPOTS CLIPDET) (FROM \"DATA.DBF\") "
     "(WHERE (AND (= 1 1) (IN MEDIA \"TV\" \"RADIO\"))) (ORDER #1 #2 #3))"},
    {"SELECT DATE, MEDIA from DATA.DBF WHERE 1=1  AND DATE IN(CTOD('03/07/2004'),CTOD('12/31/2003')) "
     "AND SPOTS IN(1,2) ORDER BY 1, 2",
     "(SELECT (ITEMS DATE MEDIA) (FROM \"DATA.DBF\") (WHERE (AND (AND (= 1 1) "
     "(IN DATE (CTOD \"03/07/2004\") (CTOD \"12/31/2003\"))) (IN SPOTS 1 2))) (ORDER #1 #2))"},
    {"SELECT DATE FROM DATA.DBF WHERE 1=0", "(SELECT (ITEMS DATE) (FROM \"DATA.DBF\") (WHERE (= 1 0)))"},
    // Fixed-format reports.
    {fixedReport1,
     "(SELECT (ITEMS * (AS (IIF (<> time \" \") Time color) Pb) (AS (IIF " + mediaLevels + " Position \" \") Pos) "
     "(AS (IIF " + mediaLevels + " Total_Ads \" \") TolAd) (AS (IIF (<> ad_type \" \") (+ (+ (+ (TRIM ad_desc) "
     "\"(\") (TRIM ad_type)) \")\") ad_desc) ad_dest) (AS (IIF (<> main_typo \" \") (+ (+ (+ (+ (TRIM Prog_name) "
     "\" \") \"(\") (TRIM main_typo)) \")\") prog_name) main_type)) (FROM \"/tmp/work/Rep1/DATA.DBF\") "
     "(ORDER medianame manufact brand subbrand product group date time))"},
    {"SELECT * FROM [/tmp/work/Rep 2/data.dbf] ORDER BY date, media_name, timest, prog_name, timebrk",
     "(SELECT (ITEMS *) (FROM \"/tmp/work/Rep 2/data.dbf\") (ORDER date media_name timest prog_name timebrk))"},
    // A bracketed table name needs no blanks around it; UPDATE takes a bare one.
    {"SELECT * FROM[x.dbf]WHERE a=1", "(SELECT (ITEMS *) (FROM \"x.dbf\") (WHERE (= a 1)))"},
    {"UPDATE data.dbf SET a=1, b='x' WHERE c=2", "(UPDATE (TABLE \"data.dbf\") (SET (a 1) (b \"x\")) (WHERE (= c 2)))"},
    // Keywords and function names in any case.
    {"sElEcT DiStInCt a FrOm t wHeRe a iN (1) aNd NoT b oR c gRoUp bY 1 OrDeR By 1 dEsC",
     "(SELECT DISTINCT (ITEMS a) (FROM \"t\") (WHERE (OR (AND (IN a 1) (NOT b)) c)) (GROUP #1) (ORDER (DESC #1)))"},
    {"SELECT iif(a,b,c), IIf(a,b,c), Trim(x), trim(x), AllTrim(x) FROM t",
     "(SELECT (ITEMS (IIF a b c) (IIF a b c) (TRIM x) (TRIM x) (ALLTRIM x)) (FROM \"t\"))"},
    {"update t set a = 1 where b = 2", "(UPDATE (TABLE \"t\") (SET (a 1)) (WHERE (= b 2)))"},
    // Fields named like keywords.
    {"SELECT date, time FROM x", "(SELECT (ITEMS date time) (FROM \"x\"))"},
    {"SELECT group, order, desc, asc FROM x", "(SELECT (ITEMS group order desc asc) (FROM \"x\"))"},
    {"SELECT * FROM x ORDER BY desc DESC, asc", "(SELECT (ITEMS *) (FROM \"x\") (ORDER (DESC desc) asc))"},
    {"SELECT * FROM x WHERE date > {^2004-03-07} AND time <> ' '",
     "(SELECT (ITEMS *) (FROM \"x\") (WHERE (AND (> date {^2004-03-07}) (<> time \" \"))))"},
    {"SELECT DATE(), date FROM x", "(SELECT (ITEMS (DATE) date) (FROM \"x\"))"},
    {"UPDATE x SET group = 1, date = {}", "(UPDATE (TABLE \"x\") (SET (group 1) (date {})))"},
    // Select items, aliases and keys; only a bare whole number is a column position.
    {"SELECT *, IIf(a,b,c) as Pb, d FROM t", "(SELECT (ITEMS * (AS (IIF a b c) Pb) d) (FROM \"t\"))"},
    {"SELECT a, *, * FROM t", "(SELECT (ITEMS a * *) (FROM \"t\"))"},
    {"SELECT a b, c AS d FROM t", "(SELECT (ITEMS (AS a b) (AS c d)) (FROM \"t\"))"},
    {"SELECT a FROM t ORDER BY 1 DESC, 2 ASC, a DESC, b",
     "(SELECT (ITEMS a) (FROM \"t\") (ORDER (DESC #1) #2 (DESC a) b))"},
    {"SELECT a FROM t GROUP BY a, 2 ORDER BY 255", "(SELECT (ITEMS a) (FROM \"t\") (GROUP a #2) (ORDER #255))"},
    {"SELECT a FROM t ORDER BY 007", "(SELECT (ITEMS a) (FROM \"t\") (ORDER #7))"},
    {"SELECT a FROM t ORDER BY (1), 1.0, 1+1", "(SELECT (ITEMS a) (FROM \"t\") (ORDER 1 1.0 (+ 1 1)))"},
    {"SELECT COUNT(*), count(a), DATE() FROM t", "(SELECT (ITEMS (COUNT *) (COUNT a) (DATE)) (FROM \"t\"))"},
    // A trailing semicolon; tabs, returns and line feeds as blanks.
    {"SELECT * FROM DATA.DBF;", "(SELECT (ITEMS *) (FROM \"DATA.DBF\"))"},
    {"SELECT * FROM [a b.dbf] ; ", "(SELECT (ITEMS *) (FROM \"a b.dbf\"))"},
    {"UPDATE t SET a=1;", "(UPDATE (TABLE \"t\") (SET (a 1)))"},
    {"\r\n\tSELECT\ta,\r\nb\nFROM\tt\tWHERE\ra=1\n", "(SELECT (ITEMS a b) (FROM \"t\") (WHERE (= a 1)))"},
};

TEST(SqlParserTest, TreesOfEveryStatementShape) {
    for (const auto& [statement, tree] : treeCases) EXPECT_EQ(parsed(statement), tree) << statement;
}

TEST(SqlParserTest, Precedence) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"a OR b AND c", "(OR a (AND b c))"},          {"a AND b OR c AND d", "(OR (AND a b) (AND c d))"},
        {"NOT a = b", "(NOT (= a b))"},                {"NOT a AND b", "(AND (NOT a) b)"},
        {"NOT NOT a", "(NOT (NOT a))"},                {"!a .AND. .NOT. b .OR. c", "(OR (AND (NOT a) (NOT b)) c)"},
        {"a = b + 1", "(= a (+ b 1))"},                {"a + b * c", "(+ a (* b c))"},
        {"a * b + c / d", "(+ (* a b) (/ c d))"},      {"a - b - c", "(- (- a b) c)"},
        {"a / b * c", "(* (/ a b) c)"},                {"-a * b", "(* (- a) b)"},
        {"- -a", "(- (- a))"},                         {"+a - +1", "(- a 1)"},
        {"a * (b + c) / 2", "(/ (* a (+ b c)) 2)"},    {"(a OR b) AND c", "(AND (OR a b) c)"},
        {"a < b = .T.", "(= (< a b) .T.)"},            {"a + 1 IN (2, 3)", "(IN (+ a 1) 2 3)"},
        {"a IN (1) AND b", "(AND (IN a 1) b)"},        {"a NOT IN (1, 2)", "(NOT (IN a 1 2))"},
        {"NOT a IN (1)", "(NOT (IN a 1))"},            {"a != b OR a # b", "(OR (<> a b) (<> a b))"},
        {"a == b AND a <> b", "(AND (== a b) (<> a b))"},
        {"a <= b AND a >= c AND a < d AND a > e", "(AND (AND (AND (<= a b) (>= a c)) (< a d)) (> a e))"},
        {"IIF(a > 0, -b, b + 1) = 2", "(= (IIF (> a 0) (- b) (+ b 1)) 2)"},
    };
    for (const auto& [text, where] : cases) EXPECT_EQ(parsed("SELECT * FROM t WHERE " + text, true), where) << text;
}

TEST(SqlParserTest, NumericLiteralsKeepWidthAndDecimalsAsWritten) {
    const std::tuple<const char*, const char*, int, int, int> cases[] = {  // text, units, scale, width, decimals
        {"12", "12", 0, 2, 0}, {"12.50", "1250", 2, 5, 2}, {".5", "5", 1, 2, 1}, {"0000000000", "0", 0, 10, 0},
        {"000000.00", "0", 2, 9, 2}, {"007", "7", 0, 3, 0}, {"0.125", "125", 3, 5, 3},
        {"123456789012345678901234567890.5", "1234567890123456789012345678905", 1, 32, 1},
    };
    for (const auto& [text, units, scale, width, decimals] : cases) {
        ExprPtr expr = item(text);
        ASSERT_EQ(expr->kind, ExprKind::Literal) << text;
        ASSERT_EQ(expr->literal.kind(), engine::ValueKind::Decimal) << text;
        EXPECT_EQ(engine::int128ToString(expr->literal.asDecimal().units), units) << text;
        EXPECT_EQ(expr->literal.asDecimal().scale, scale) << text;
        EXPECT_EQ(expr->width, width) << text;
        EXPECT_EQ(expr->decimals, decimals) << text;
    }
}

TEST(SqlParserTest, OtherLiteralValues) {
    const int32_t day = 2453072;  // Julian day number of 2004-03-07
    const int64_t march7th = day * int64_t(86400000);
    const std::pair<const char*, Value> cases[] = {
        {"'abc'", Value::string("abc")}, {"''", Value::string("")}, {"\"it's\"", Value::string("it's")},
        {"[say \"x\"]", Value::string("say \"x\"")}, {"'Café'", Value::string("Café")},
        {".T.", Value::logical(true)}, {".t.", Value::logical(true)}, {".Y.", Value::logical(true)},
        {".F.", Value::logical(false)}, {".n.", Value::logical(false)},
        {"NULL", Value::null()}, {"null", Value::null()}, {".NULL.", Value::null()},
        {"{^2004-03-07}", Value::date(day)}, {"{^2004/3/7}", Value::date(day)}, {"{ ^2004.03.07 }", Value::date(day)},
        {"{d '2004-03-07'}", Value::date(day)}, {"{D'2004-03-07'}", Value::date(day)},
        {"{^2000-02-29}", Value::date(2451604)}, {"{}", Value::date(0)}, {"{//}", Value::date(0)},
        {"{ / / }", Value::date(0)}, {"{^2004-03-07 0}", Value::dateTime(march7th)},
        {"{^2004-03-07 13:45:30}", Value::dateTime(march7th + 49530000)},
        {"{ts '2004-03-07 13:45:30'}", Value::dateTime(march7th + 49530000)},
        {"{^2004-03-07,13:45}", Value::dateTime(march7th + 49500000)},
    };
    for (const auto& [text, expected] : cases) {
        ExprPtr expr = item(text);
        ASSERT_EQ(expr->kind, ExprKind::Literal) << text;
        EXPECT_TRUE(expr->literal == expected) << text << " gives " << expr->literal.toText();
    }
}

TEST(SqlParserTest, InvalidDateLiteralsAreSyntaxErrors) {
    const char* const texts[] = {"{^2004-02-30}", "{^2003-02-29}", "{^2004-13-01}", "{^0-01-01}",
                                 "{^2004-03-07 24:00}", "{^2004-03-07 12:60}", "{^2004-03-07 12:00:60}",
                                 "{^2004-03-07 12:}", "{^2004-03-07x}", "{^12004-03-07}", "{^2004-003-07}",
                                 "{d '2004-03-07 10:00'}", "{ts '2004-03-07'}", "{d 2004-03-07}",
                                 "{2004-03-07}", "{^}", "{03/07/2004}", "{t '10:00:00'}"};
    for (const std::string text : texts) {
        EXPECT_EQ(parsed("SELECT " + text + " FROM t"),
                  syntaxError(8, "a date such as {^2004-03-07} or {^2004-03-07 13:45:30}", "'" + text + "'"));
    }
}

TEST(SqlParserTest, PositionsAreZeroBasedCharacterOffsets) {
    Statement statement = parseStatement("SELECT a + f(b) x, 'é' FROM [t] WHERE NOT c IN (1) ORDER BY 2");
    const auto& select = std::get<SelectStatement>(statement);
    const Expr& sum = *select.items[0].expr;
    // The first item, a, "+", f, b, 'é', the table, NOT, IN and the 2 after
    // the 2-byte é, which counts as one character.
    EXPECT_EQ((std::vector<size_t>{select.items[0].position, sum.args[0]->position, sum.position,
                                   sum.args[1]->position, sum.args[1]->args[0]->position, select.items[1].position,
                                   select.table.position, select.where->position, select.where->args[0]->position,
                                   select.orderBy[0].position}),
              (std::vector<size_t>{7, 7, 9, 11, 13, 19, 28, 38, 44, 60}));

    Statement parsed = parseStatement("UPDATE t SET a=1, bb = 2");
    const auto& update = std::get<UpdateStatement>(parsed);
    EXPECT_EQ((std::vector<size_t>{update.table.position, update.assignments[0].position,
                                   update.assignments[1].position, update.assignments[1].value->position}),
              (std::vector<size_t>{7, 13, 18, 23}));
}

TEST(SqlParserTest, SyntaxErrorsNameThePositionAndWhatWasExpected) {
    const std::string selectList = "a field, an expression or * in the select list", orFrom = "',' or FROM";
    const std::string expression = "an expression", theEnd = "the end of the statement";
    const std::string number = "a number of at most 36 digits with at most 30 decimals";
    const std::string column = "a column position from 1 to 255", table = "a table name";
    const std::tuple<std::string, int, std::string, std::string> cases[] = {  // statement, position, expected, found
        {"SELECT  from DATA.DBF WHERE 1=1", 9, selectList, "'from'"},
        {"SELECT DATE, MEDIA, from DATA.DBF", 21, selectList, "'from'"},
        {"SELECT", 7, selectList, theEnd}, {"SELECT a,,b FROM t", 10, selectList, "','"},
        {"", 1, "SELECT or UPDATE", theEnd}, {"   ", 4, "SELECT or UPDATE", theEnd},
        {"DELETE FROM t", 1, "SELECT or UPDATE", "'DELETE'"}, {"SELECT * DATA.DBF", 10, orFrom, "'DATA'"},
        {"SELECT a b c", 12, orFrom, "'c'"}, {"SELECT a @ b FROM t", 10, orFrom, "'@'"},
        {"SELECT 'Café' @ FROM t", 15, orFrom, "'@'"}, {"SELECT a\x01 FROM t", 9, orFrom, "'\\x01'"},
        {"SELECT 1.x FROM t", 9, orFrom, "'.'"},
        {"SELECT a AS FROM t", 13, "a column name after AS", "'FROM'"},
        {"SELECT * FROM", 14, table, theEnd}, {"SELECT * FROM []", 15, table, "'[]'"},
        {"SELECT * FROM [  ]", 15, table, "'[  ]'"}, {"SELECT * FROM (t)", 15, table, "'('"},
        {"SELECT * FROM t WHERE a = 'abc", 27, "the closing ' of the string that starts here", theEnd},
        {"SELECT * FROM [/tmp/a.dbf", 15, "the closing ] of the table name that starts here", theEnd},
        {"SELECT [abc FROM t", 8, "the closing ] of the string that starts here", theEnd},
        {"SELECT * FROM t x", 17, "WHERE, GROUP BY, ORDER BY or the end of the statement", "'x'"},
        {"SELECT * FROM t WHERE 1=1 x", 27, "GROUP BY, ORDER BY or the end of the statement", "'x'"},
        {"SELECT a FROM t GROUP BY a ASC", 28, "',', ORDER BY or the end of the statement", "'ASC'"},
        {"SELECT a FROM t ORDER BY a GROUP BY a", 28, "',', ASC, DESC or the end of the statement", "'GROUP'"},
        {"SELECT a FROM t GROUP a", 23, "BY after GROUP", "'a'"},
        {"SELECT a FROM t ORDER 1", 23, "BY after ORDER", "'1'"},
        {"SELECT a FROM t ORDER BY 0", 26, column, "'0'"}, {"SELECT a FROM t group by 1 ,0", 29, column, "'0'"},
        {"SELECT a FROM t GROUP BY -1", 26, column, "'-'"}, {"SELECT a FROM t GROUP BY 1, +2", 29, column, "'+'"},
        {"SELECT a FROM t ORDER BY -1 DESC", 26, column, "'-'"},
        {"SELECT a FROM t ORDER BY 256", 26, column, "'256'"},
        {"SELECT a FROM t ORDER BY 99999999999999999999", 26, column, "'99999999999999999999'"},
        {"SELECT a FROM t ORDER BY a,", 28, expression, theEnd},
        {"SELECT * FROM t;;", 17, theEnd, "';'"}, {"SELECT * FROM t; SELECT", 18, theEnd, "'SELECT'"},
        {"SELECT * FROM t WHERE a IN 1", 28, "'(' after IN", "'1'"},
        {"SELECT * FROM t WHERE a IN ()", 29, expression, "')'"},
        {"SELECT * FROM t WHERE a IN (1 2)", 31, "',' or ')'", "'2'"},
        {"SELECT * FROM t WHERE a NOT b", 29, "IN after NOT", "'b'"},
        {"SELECT ROUND(SUM(a),0 FROM t", 23, "',' or ')'", "'FROM'"}, {"SELECT (a FROM t", 11, "')'", "'FROM'"},
        {"SELECT SUM(*) FROM t", 12, expression, "'*'"}, {"SELECT COUNT(*, a) FROM t", 15, "')'", "','"},
        {"SELECT * FROM t WHERE a = AND b", 27, expression, "'AND'"},
        {"SELECT * FROM t WHERE a = .AND.", 27, expression, "'.AND.'"},
        {"SELECT * FROM t WHERE a = NOT b", 27, expression, "'NOT'"},
        {"SELECT * FROM t WHERE", 22, expression, theEnd},
        {"SELECT 1234567890123456789012345678901234567890123 FROM t", 8, number,
         "'1234567890123456789012345678901234567890...'"},
        {"SELECT 0.1234567890123456789012345678901 FROM t", 8, number, "'0.1234567890123456789012345678901'"},
        // Positions count characters, not bytes.
        {"SELECT 'Ünïcödé text that goes on and on and on' x y FROM t", 52, orFrom, "'y'"},
        {"SELECT 'Ünïcödé text that goes on and on and on and on' FROM t WHERE", 69, expression, theEnd},
        // Long found texts are cut without splitting a character: 39 ASCII
        // characters and then "é", so the cut moves before it.
        {"SELECT 1 '" + std::string(38, 'a') + "ééé' FROM t", 10, orFrom, "''" + std::string(38, 'a') + "...'"},
        {"UPDATE t a=1", 10, "SET", "'a'"}, {"UPDATE SET a=1", 12, "SET", "'a'"},
        {"UPDATE t SET a==1", 15, "'='", "'=='"}, {"UPDATE t SET =1", 14, "a field name", "'='"},
        {"UPDATE t SET from=1", 14, "a field name", "'from'"},
        {"UPDATE t SET a=1 b", 18, "',', WHERE or the end of the statement", "'b'"},
        {"UPDATE t SET a=1 WHERE b=2 c", 28, theEnd, "'c'"}, {"UPDATE", 7, table, theEnd},
    };
    for (const auto& [statement, position, expected, found] : cases)
        EXPECT_EQ(parsed(statement), syntaxError(position, expected, found)) << statement;
}

// Nesting in the text, calls, chains of operators within chains and prefix
// operators are all limited to 200 levels; a chain of operators of one
// precedence is one level, and long flat lists are not nesting. A chain may
// be 4095 operators long (a tree 4096 levels high).
TEST(SqlParserTest, NestingIsLimitedTo200Levels) {
    const std::string tooDeep = "an expression nested at most 200 levels deep";
    const std::string tooHigh = "an expression at most 4096 levels high";
    auto nested = [](int depth) { return "SELECT " + repeat("(", depth) + "1" + repeat(")", depth) + " FROM t"; };
    auto calls = [](int depth) { return "SELECT " + repeat("f(", depth) + "1" + repeat(")", depth) + " FROM t"; };
    auto chain = [](int operators) { return "SELECT 1" + repeat("+1", operators) + " FROM t"; };
    auto ors = [](int operators) { return "SELECT * FROM t WHERE a=0" + repeat(" OR a=1", operators); };
    // Each level a product inside a sum: "1+1*(1+1*(...))".
    auto mixed = [](int levels) { return "SELECT " + repeat("1+1*(", levels) + "1" + repeat(")", levels) + " FROM t"; };
    auto prefixed = [](const char* op, int count) { return "SELECT * FROM t WHERE " + repeat(op, count) + "a"; };
    const std::tuple<std::string, int, std::string, std::string> cases[] = {  // statement, error position (0: none), expected, found
        {nested(200), 0, "", ""}, {nested(201), 208, tooDeep, "("}, {nested(100000), 208, tooDeep, "("},
        {calls(199), 0, "", ""}, {calls(200), 8, tooDeep, "f"},  // 199 calls and the literal: 200 levels
        {chain(200), 0, "", ""}, {chain(4095), 0, "", ""}, {chain(4096), 8199, tooHigh, "+"},
        {chain(100000), 8199, tooHigh, "+"}, {ors(200), 0, "", ""}, {ors(4000), 0, "", ""},
        {mixed(99), 0, "", ""}, {mixed(100), 9, tooDeep, "+"},  // two levels each: the sum and the product
        {prefixed("NOT ", 199), 0, "", ""}, {prefixed("NOT ", 200), 23, tooDeep, "NOT"},
        {prefixed("!", 100000), 223, tooDeep, "!"},
        {prefixed("-", 199), 0, "", ""}, {prefixed("-", 200), 23, tooDeep, "-"},
        {prefixed("+", 200), 0, "", ""}, {prefixed("+", 201), 223, tooDeep, "+"},
    };
    for (const auto& [statement, position, expected, found] : cases) {
        std::string name = statement.substr(0, 30) + "... of " + std::to_string(statement.size()) + " characters";
        if (position == 0) EXPECT_NO_THROW(parseStatement(statement)) << name;
        else EXPECT_EQ(parsed(statement), syntaxError(position, expected, "'" + found + "'")) << name;
    }
    std::string list = "SELECT * FROM t WHERE a IN (0";
    for (int i = 1; i < 20000; ++i) list += "," + std::to_string(i);
    Statement statement = parseStatement(list + ")");
    EXPECT_EQ(std::get<SelectStatement>(statement).where->args.size(), 20001u);
}

TEST(SqlParserTest, CanonicalTextParsesBackToTheSameTree) {
    std::vector<std::string> statements;
    for (const auto& [statement, tree] : treeCases) statements.push_back(statement);
    statements.insert(statements.end(),
                      {"SELECT a FROM t ORDER BY (1), 1.0 DESC, -a, -1.5, 2 - 1", "SELECT 'its', \"a'b\", [a'\"b] FROM t",
                       "SELECT .5, 0000000000, 000000.00, 12.50, {}, {^2004-03-07 13:45:30}, .NULL., .F. FROM t",
                       "SELECT * FROM t WHERE NOT a NOT IN (1) AND - -b = +c",
                       "UPDATE [a b.dbf] SET x = 1, y = 'z' WHERE q",
                       "SELECT a b, count(*) FROM sub/x.dbf GROUP BY 1 ORDER BY b DESC",
                       // 199 nested IN lists read back although each IN needs parentheses.
                       "SELECT * FROM t WHERE a" + repeat(" IN (a", 199) + repeat(")", 199)});
    for (const std::string& text : statements) {
        Statement first = parseStatement(text);
        EXPECT_EQ(parsed(toSql(first)), describe(first)) << text << "\n" << toSql(first);
    }
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
