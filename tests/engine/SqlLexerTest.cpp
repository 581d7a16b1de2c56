// The SQL lexer: token boundaries of the statements the program sends (no
// blank between a string and OR, a blank before a comma, ...), literals,
// operators, table names after FROM/UPDATE, character positions, and the
// errors of unterminated strings.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "engine/EngineError.h"
#include "engine/sql/Lexer.h"

namespace vantrep::tests {
namespace {

using engine::EngineError;
using engine::sql::Lexer;
using engine::sql::LexMode;
using engine::sql::Token;
using engine::sql::TokenKind;

// "Kind:text" per token, with "=value" where the lexer extracted one, joined
// by " | ". The first token is read in `mode`, the others as expression tokens.
std::string lexAll(std::string_view statement, LexMode mode = LexMode::Expression) {
    static const char* const kinds[] = {"End",    "Word",   "Number", "String", "Dot",
                                        "Braced", "Symbol", "Table",  "Unknown"};
    Lexer lexer(statement);
    std::string tokens;
    for (Token token = lexer.next(mode); token.kind != TokenKind::End; token = lexer.next()) {
        tokens += (tokens.empty() ? "" : " | ") + (kinds[int(token.kind)] + (":" + token.text));
        if (!token.value.empty()) tokens += "=" + token.value;
    }
    return tokens;
}

TEST(SqlLexerTest, ExpressionTokens) {
    const std::pair<std::string_view, std::string> cases[] = {
        // Tokens need no blank between them.
        {"Medialevel='Outdoor'Or Medialevel",
         "Word:Medialevel | Symbol:= | String:'Outdoor'=Outdoor | Word:Or | Word:Medialevel"},
        {"group by 1 ,2", "Word:group | Word:by | Number:1 | Symbol:, | Number:2"},
        {"count(*) AS Cnt", "Word:count | Symbol:( | Symbol:* | Symbol:) | Word:AS | Word:Cnt"},
        {"Divisor>0", "Word:Divisor | Symbol:> | Number:0"},
        {"a12_b _c 1a", "Word:a12_b | Word:_c | Number:1 | Word:a"},
        {"Trim(ad_desc)+ '(' +Trim(x)+')'",
         "Word:Trim | Symbol:( | Word:ad_desc | Symbol:) | Symbol:+ | String:'('=( | Symbol:+ | Word:Trim | Symbol:( | "
         "Word:x | Symbol:) | Symbol:+ | String:')'=)"},
        {"IN('TV','RADIO')", "Word:IN | Symbol:( | String:'TV'=TV | Symbol:, | String:'RADIO'=RADIO | Symbol:)"},
        // Tabs, carriage returns and line feeds are blanks.
        {"\tSELECT\r\na\n,\tb  \r", "Word:SELECT | Word:a | Symbol:, | Word:b"}, {" \t\r\n ", ""},
        // Operators of one and two characters.
        {"a<>b!=c==d<=e>=f#g",
         "Word:a | Symbol:<> | Word:b | Symbol:!= | Word:c | Symbol:== | Word:d | Symbol:<= | Word:e | Symbol:>= | "
         "Word:f | Symbol:# | Word:g"},
        {"=<>!;*/+-", "Symbol:= | Symbol:<> | Symbol:! | Symbol:; | Symbol:* | Symbol:/ | Symbol:+ | Symbol:-"},
        {"< =", "Symbol:< | Symbol:="},
        // Numbers as written; a point not followed by a digit is not part of one.
        {"12 12.50 .5 0000000000 000000.00",
         "Number:12 | Number:12.50 | Number:.5 | Number:0000000000 | Number:000000.00"},
        {"1.x", "Number:1 | Unknown:. | Word:x"}, {"1.2.3", "Number:1.2 | Number:.3"}, {"-5", "Symbol:- | Number:5"},
        // Strings in three delimiters, without escapes: '' ends one string and starts another.
        {"'a \"b\" [c]' \"it's\" [say \"x\" 'y']",
         "String:'a \"b\" [c]'=a \"b\" [c] | String:\"it's\"=it's | String:[say \"x\" 'y']=say \"x\" 'y'"},
        {"'it''s'", "String:'it'=it | String:'s'=s"}, {"'' \"\" []", "String:'' | String:\"\" | String:[]"},
        {"'line\none'", "String:'line\none'=line\none"}, {"'Café'", "String:'Café'=Café"},
        {"[/tmp/x/a.str]", "String:[/tmp/x/a.str]=/tmp/x/a.str"},  // not a table name here
        // Dot words in any case.
        {".T. .f. .Y. .n. .NULL. .null. .and. .Or. .NOT.",
         "Dot:.T.=T | Dot:.f.=F | Dot:.Y.=Y | Dot:.n.=N | Dot:.NULL.=NULL | Dot:.null.=NULL | Dot:.and.=AND | "
         "Dot:.Or.=OR | Dot:.NOT.=NOT"},
        {".X.", "Unknown:. | Word:X | Unknown:."}, {".T", "Unknown:. | Word:T"},
        // Braced literals keep their inside.
        {"{^2004-03-07}{}{//}{d '2004-03-07'}",
         "Braced:{^2004-03-07}=^2004-03-07 | Braced:{} | Braced:{//}=// | Braced:{d '2004-03-07'}=d '2004-03-07'"},
        // Characters that start no token are single tokens.
        {"a @ b", "Word:a | Unknown:@ | Word:b"}, {"é$", "Unknown:é | Unknown:$"},
        {std::string_view("a\0b", 3), std::string("Word:a | Unknown:\0 | Word:b", 27)},
        {"\x80\xFF", "Unknown:\x80 | Unknown:\xFF"},
    };
    for (const auto& [text, tokens] : cases) EXPECT_EQ(lexAll(text), tokens) << text;
}

TEST(SqlLexerTest, TableNamesAfterFromOrUpdate) {
    const std::pair<const char*, const char*> cases[] = {
        {"[C:/My Reports/Data Files/DATA.DBF] WHERE",
         "Table:[C:/My Reports/Data Files/DATA.DBF]=C:/My Reports/Data Files/DATA.DBF | Word:WHERE"},
        {"[/tmp/x/a.str]", "Table:[/tmp/x/a.str]=/tmp/x/a.str"},
        {"DATA.DBF WHERE", "Table:DATA.DBF=DATA.DBF | Word:WHERE"},
        {"data;", "Table:data=data | Symbol:;"}, {"2004.dbf", "Table:2004.dbf=2004.dbf"},
        {"sub/my-data.dbf ORDER", "Table:sub/my-data.dbf=sub/my-data.dbf | Word:ORDER"},
        {"C:\\x\\DATA.DBF", "Table:C:\\x\\DATA.DBF=C:\\x\\DATA.DBF"},
        {"données.dbf", "Table:données.dbf=données.dbf"},
        // Where no table name stands, ordinary tokens come back.
        {"(x", "Symbol:( | Word:x"}, {"'t'", "String:'t'=t"},
    };
    for (const auto& [text, tokens] : cases) EXPECT_EQ(lexAll(text, LexMode::TableName), tokens) << text;
}

// Positions count characters, offsets bytes; End repeats at the end.
TEST(SqlLexerTest, PositionsCountCharactersNotBytes) {
    Lexer lexer("SELECT 'Café',\tx");
    std::vector<size_t> positions, offsets;
    for (Token token = lexer.next();; token = lexer.next()) {
        positions.push_back(token.position);
        offsets.push_back(token.offset);
        if (token.kind == TokenKind::End) break;
    }
    EXPECT_EQ(positions, (std::vector<size_t>{0, 7, 13, 15, 16}));
    EXPECT_EQ(offsets, (std::vector<size_t>{0, 7, 14, 16, 17}));
    EXPECT_EQ(lexer.next().kind, TokenKind::End);
    EXPECT_EQ(lexer.next(LexMode::TableName).kind, TokenKind::End);
}

TEST(SqlLexerTest, UnterminatedDelimitersAreSyntaxErrorsAtTheirStart) {
    const struct {
        const char* text;
        int position;
        const char* closing;
        LexMode mode = LexMode::Expression;
    } cases[] = {
        {"a = 'abc", 5, "' of the string"},
        {"x \"abc'", 3, "\" of the string"},
        {"[abc", 1, "] of the string"},
        {"'Café' {^2004-03-07", 8, "} of the date"},
        {"  [/tmp/a b.dbf", 3, "] of the table name", LexMode::TableName},
    };
    for (const auto& c : cases) {
        try {
            lexAll(c.text, c.mode);
            ADD_FAILURE() << c.text << ": no error";
        } catch (const EngineError& error) {
            EXPECT_EQ(error.number(), engine::errSyntax) << c.text;
            EXPECT_EQ(error.description(), "Syntax error at position " + std::to_string(c.position) +
                                               ": expected the closing " + c.closing +
                                               " that starts here, found the end of the statement.")
                << c.text;
        }
    }
}

}  // namespace
}  // namespace vantrep::tests
