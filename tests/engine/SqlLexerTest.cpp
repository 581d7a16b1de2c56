// The SQL lexer: token boundaries of the statements the program sends (no
// blank between a string and OR, a blank before a comma, ...), literals,
// operators, table names after FROM/UPDATE, character positions, and the
// errors of unterminated strings.
#include <string>
#include <string_view>
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

const char* kindName(TokenKind kind) {
    switch (kind) {
    case TokenKind::End: return "End";
    case TokenKind::Word: return "Word";
    case TokenKind::Number: return "Number";
    case TokenKind::String: return "String";
    case TokenKind::DotWord: return "Dot";
    case TokenKind::Braced: return "Braced";
    case TokenKind::Symbol: return "Symbol";
    case TokenKind::TableName: return "Table";
    case TokenKind::Unknown: return "Unknown";
    }
    return "?";
}

// "Kind:text" per token, with "=value" where the lexer extracted one.
std::string summary(const Token& token) {
    std::string text = std::string(kindName(token.kind)) + ":" + token.text;
    if (!token.value.empty()) text += "=" + token.value;
    return text;
}

std::vector<std::string> lexAll(std::string_view statement) {
    Lexer lexer(statement);
    std::vector<std::string> tokens;
    for (Token token = lexer.next(); token.kind != TokenKind::End; token = lexer.next()) {
        tokens.push_back(summary(token));
    }
    return tokens;
}

using Tokens = std::vector<std::string>;

std::string errorOf(std::string_view statement) {
    try {
        lexAll(statement);
    } catch (const EngineError& error) {
        EXPECT_EQ(error.number(), engine::errSyntax);
        return error.description();
    }
    return "no error";
}

TEST(SqlLexerTest, TokensNeedNoBlankBetweenThem) {
    EXPECT_EQ(lexAll("Medialevel='Outdoor'Or Medialevel"),
              (Tokens{"Word:Medialevel", "Symbol:=", "String:'Outdoor'=Outdoor", "Word:Or", "Word:Medialevel"}));
    EXPECT_EQ(lexAll("group by 1 ,2"), (Tokens{"Word:group", "Word:by", "Number:1", "Symbol:,", "Number:2"}));
    EXPECT_EQ(lexAll("count(*) AS Cnt"),
              (Tokens{"Word:count", "Symbol:(", "Symbol:*", "Symbol:)", "Word:AS", "Word:Cnt"}));
    EXPECT_EQ(lexAll("Divisor>0"), (Tokens{"Word:Divisor", "Symbol:>", "Number:0"}));
    EXPECT_EQ(lexAll("Trim(ad_desc)+ '(' +Trim(x)+')'"),
              (Tokens{"Word:Trim", "Symbol:(", "Word:ad_desc", "Symbol:)", "Symbol:+", "String:'('=(", "Symbol:+",
                      "Word:Trim", "Symbol:(", "Word:x", "Symbol:)", "Symbol:+", "String:')'=)"}));
    EXPECT_EQ(lexAll("IN('TV','RADIO')"),
              (Tokens{"Word:IN", "Symbol:(", "String:'TV'=TV", "Symbol:,", "String:'RADIO'=RADIO", "Symbol:)"}));
    EXPECT_EQ(lexAll("a12_b _c 1a"), (Tokens{"Word:a12_b", "Word:_c", "Number:1", "Word:a"}));
}

TEST(SqlLexerTest, TabsCarriageReturnsAndLineFeedsAreBlanks) {
    EXPECT_EQ(lexAll("\tSELECT\r\na\n,\tb  \r"), (Tokens{"Word:SELECT", "Word:a", "Symbol:,", "Word:b"}));
    EXPECT_TRUE(lexAll(" \t\r\n ").empty());
}

TEST(SqlLexerTest, OperatorsOfOneAndTwoCharacters) {
    EXPECT_EQ(lexAll("a<>b!=c==d<=e>=f#g"),
              (Tokens{"Word:a", "Symbol:<>", "Word:b", "Symbol:!=", "Word:c", "Symbol:==", "Word:d", "Symbol:<=",
                      "Word:e", "Symbol:>=", "Word:f", "Symbol:#", "Word:g"}));
    EXPECT_EQ(lexAll("=<>!;*/+-"),
              (Tokens{"Symbol:=", "Symbol:<>", "Symbol:!", "Symbol:;", "Symbol:*", "Symbol:/", "Symbol:+", "Symbol:-"}));
    EXPECT_EQ(lexAll("< ="), (Tokens{"Symbol:<", "Symbol:="}));
}

TEST(SqlLexerTest, NumbersAsWritten) {
    EXPECT_EQ(lexAll("12 12.50 .5 0000000000 000000.00"),
              (Tokens{"Number:12", "Number:12.50", "Number:.5", "Number:0000000000", "Number:000000.00"}));
    // A point not followed by a digit is not part of the number.
    EXPECT_EQ(lexAll("1.x"), (Tokens{"Number:1", "Unknown:.", "Word:x"}));
    EXPECT_EQ(lexAll("1.2.3"), (Tokens{"Number:1.2", "Number:.3"}));
    EXPECT_EQ(lexAll("-5"), (Tokens{"Symbol:-", "Number:5"}));
}

TEST(SqlLexerTest, StringsInThreeDelimitersWithoutEscapes) {
    EXPECT_EQ(lexAll("'a \"b\" [c]' \"it's\" [say \"x\" 'y']"),
              (Tokens{"String:'a \"b\" [c]'=a \"b\" [c]", "String:\"it's\"=it's",
                      "String:[say \"x\" 'y']=say \"x\" 'y'"}));
    // No doubling escape: '' ends the first string and starts another.
    EXPECT_EQ(lexAll("'it''s'"), (Tokens{"String:'it'=it", "String:'s'=s"}));
    EXPECT_EQ(lexAll("'' \"\" []"), (Tokens{"String:''", "String:\"\"", "String:[]"}));
    EXPECT_EQ(lexAll("'line\none'"), (Tokens{"String:'line\none'=line\none"}));
    EXPECT_EQ(lexAll("'Café'"), (Tokens{"String:'Café'=Café"}));
}

TEST(SqlLexerTest, DotWordsInAnyCase) {
    EXPECT_EQ(lexAll(".T. .f. .Y. .n. .NULL. .null. .and. .Or. .NOT."),
              (Tokens{"Dot:.T.=T", "Dot:.f.=F", "Dot:.Y.=Y", "Dot:.n.=N", "Dot:.NULL.=NULL", "Dot:.null.=NULL",
                      "Dot:.and.=AND", "Dot:.Or.=OR", "Dot:.NOT.=NOT"}));
    EXPECT_EQ(lexAll(".X."), (Tokens{"Unknown:.", "Word:X", "Unknown:."}));
    EXPECT_EQ(lexAll(".T"), (Tokens{"Unknown:.", "Word:T"}));
}

TEST(SqlLexerTest, BracedLiteralsKeepTheirInside) {
    EXPECT_EQ(lexAll("{^2004-03-07}{}{//}{d '2004-03-07'}"),
              (Tokens{"Braced:{^2004-03-07}=^2004-03-07", "Braced:{}", "Braced:{//}=//",
                      "Braced:{d '2004-03-07'}=d '2004-03-07'"}));
}

TEST(SqlLexerTest, TableNamesAfterFromOrUpdate) {
    struct Case {
        const char* text;
        Tokens expected;
    };
    const Case cases[] = {
        {"[C:/My Reports/Data Files/DATA.DBF] WHERE",
         {"Table:[C:/My Reports/Data Files/DATA.DBF]=C:/My Reports/Data Files/DATA.DBF", "Word:WHERE"}},
        {"[/tmp/x/a.str]", {"Table:[/tmp/x/a.str]=/tmp/x/a.str"}},
        {"DATA.DBF WHERE", {"Table:DATA.DBF=DATA.DBF", "Word:WHERE"}},
        {"data;", {"Table:data=data", "Symbol:;"}},
        {"sub/my-data.dbf ORDER", {"Table:sub/my-data.dbf=sub/my-data.dbf", "Word:ORDER"}},
        {"C:\\x\\DATA.DBF", {"Table:C:\\x\\DATA.DBF=C:\\x\\DATA.DBF"}},
        {"2004.dbf", {"Table:2004.dbf=2004.dbf"}},
        {"données.dbf", {"Table:données.dbf=données.dbf"}},
        // Where no table name stands, ordinary tokens come back.
        {"(x", {"Symbol:(", "Word:x"}},
        {"'t'", {"String:'t'=t"}},
    };
    for (const Case& c : cases) {
        Lexer lexer(c.text);
        Tokens tokens;
        for (Token token = lexer.next(LexMode::TableName); token.kind != TokenKind::End; token = lexer.next()) {
            tokens.push_back(summary(token));
        }
        EXPECT_EQ(tokens, c.expected) << c.text;
    }
    // In an expression "[" starts a string.
    EXPECT_EQ(lexAll("[/tmp/x/a.str]"), (Tokens{"String:[/tmp/x/a.str]=/tmp/x/a.str"}));
}

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
}

TEST(SqlLexerTest, EndRepeatsAtTheEnd) {
    Lexer lexer("a");
    EXPECT_EQ(lexer.next().kind, TokenKind::Word);
    Token end = lexer.next();
    EXPECT_EQ(end.kind, TokenKind::End);
    EXPECT_EQ(end.position, 1u);
    EXPECT_EQ(lexer.next().kind, TokenKind::End);
    EXPECT_EQ(lexer.next(LexMode::TableName).kind, TokenKind::End);
}

TEST(SqlLexerTest, UnknownCharactersAreSingleTokens) {
    EXPECT_EQ(lexAll("a @ b"), (Tokens{"Word:a", "Unknown:@", "Word:b"}));
    EXPECT_EQ(lexAll("é$"), (Tokens{"Unknown:é", "Unknown:$"}));
    EXPECT_EQ(lexAll(std::string_view("a\0b", 3)), (Tokens{"Word:a", std::string("Unknown:\0", 9), "Word:b"}));
    EXPECT_EQ(lexAll("\x80\xFF"), (Tokens{"Unknown:\x80", "Unknown:\xFF"}));
}

TEST(SqlLexerTest, UnterminatedDelimitersAreSyntaxErrorsAtTheirStart) {
    EXPECT_EQ(errorOf("a = 'abc"),
              "Syntax error at position 5: expected the closing ' of the string that starts here, "
              "found the end of the statement.");
    EXPECT_EQ(errorOf("x \"abc'"),
              "Syntax error at position 3: expected the closing \" of the string that starts here, "
              "found the end of the statement.");
    EXPECT_EQ(errorOf("[abc"),
              "Syntax error at position 1: expected the closing ] of the string that starts here, "
              "found the end of the statement.");
    EXPECT_EQ(errorOf("'Café' {^2004-03-07"),
              "Syntax error at position 8: expected the closing } of the date that starts here, "
              "found the end of the statement.");
    Lexer lexer("  [/tmp/a b.dbf");
    try {
        lexer.next(LexMode::TableName);
        ADD_FAILURE() << "no error";
    } catch (const EngineError& error) {
        EXPECT_EQ(error.description(),
                  "Syntax error at position 3: expected the closing ] of the table name that starts here, "
                  "found the end of the statement.");
    }
}

}  // namespace
}  // namespace vantrep::tests
