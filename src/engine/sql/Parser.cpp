#include "engine/sql/Parser.h"

#include <string>
#include <vector>

#include "engine/sql/ExpressionParser.h"
#include "engine/sql/SyntaxError.h"
#include "engine/sql/TokenCursor.h"

namespace vantrep::engine::sql {

namespace {

constexpr int maxColumnPosition = 255;

// The statement grammar:
//   SELECT [DISTINCT] item {, item} FROM table [WHERE expr]
//          [GROUP BY key {, key}] [ORDER BY key [ASC|DESC] {, key [ASC|DESC]}]
//   UPDATE table SET field = expr {, field = expr} [WHERE expr]
// with one optional ";" at the end.
class StatementParser {
public:
    explicit StatementParser(std::string_view text) : tokens_(text) {}

    Statement parse() {
        if (tokens_.atWord("SELECT")) return parseSelect();
        if (tokens_.atWord("UPDATE")) return parseUpdate();
        throwUnexpected(tokens_.current(), "SELECT or UPDATE");
    }

private:
    SelectStatement parseSelect() {
        SelectStatement select;
        tokens_.advance();
        if (tokens_.atWord("DISTINCT")) {
            select.distinct = true;
            tokens_.advance();
        }
        do {
            select.items.push_back(parseSelectItem());
        } while (tokens_.acceptSymbol(","));
        tokens_.expectWord("FROM", "',' or FROM", LexMode::TableName);
        select.table = parseTable();
        std::string stillAllowed = "WHERE, GROUP BY, ORDER BY or ";
        if (tokens_.atWord("WHERE")) {
            tokens_.advance();
            select.where = parseExpression(tokens_);
            stillAllowed = "GROUP BY, ORDER BY or ";
        }
        if (tokens_.atWord("GROUP")) {
            tokens_.advance();
            tokens_.expectWord("BY", "BY after GROUP");
            select.groupBy = parseKeys(false);
            stillAllowed = "',', ORDER BY or ";
        }
        if (tokens_.atWord("ORDER")) {
            tokens_.advance();
            tokens_.expectWord("BY", "BY after ORDER");
            select.orderBy = parseKeys(true);
            stillAllowed = "',', ASC, DESC or ";
        }
        expectEnd(stillAllowed);
        return select;
    }

    SelectItem parseSelectItem() {
        SelectItem item;
        item.position = tokens_.current().position;
        if (tokens_.acceptSymbol("*")) {
            item.star = true;
            return item;
        }
        if (tokens_.atWord("FROM") || tokens_.atSymbol(",") || tokens_.atEnd()) {
            throwUnexpected(tokens_.current(), "a field, an expression or * in the select list");
        }
        item.expr = parseExpression(tokens_);
        if (tokens_.atWord("AS")) {
            tokens_.advance();
            item.alias = tokens_.expectName("a column name after AS");
        } else if (tokens_.atName()) {
            item.alias = tokens_.expectName("a column name");
        }
        return item;
    }

    UpdateStatement parseUpdate() {
        UpdateStatement update;
        tokens_.advance(LexMode::TableName);
        update.table = parseTable();
        tokens_.expectWord("SET", "SET");
        do {
            Assignment assignment;
            assignment.position = tokens_.current().position;
            assignment.field = tokens_.expectName("a field name");
            tokens_.expectSymbol("=", "'='");
            assignment.value = parseExpression(tokens_);
            update.assignments.push_back(std::move(assignment));
        } while (tokens_.acceptSymbol(","));
        std::string stillAllowed = "',', WHERE or ";
        if (tokens_.atWord("WHERE")) {
            tokens_.advance();
            update.where = parseExpression(tokens_);
            stillAllowed = "";
        }
        expectEnd(stillAllowed);
        return update;
    }

    // The current token was read as a table name (after FROM or UPDATE).
    TableRef parseTable() {
        const Token& token = tokens_.current();
        bool blank = token.value.find_first_not_of(" \t\r\n") == std::string::npos;
        if (token.kind != TokenKind::TableName || blank) throwUnexpected(token, "a table name");
        TableRef table{token.value, token.position};
        tokens_.advance();
        return table;
    }

    // GROUP BY / ORDER BY entries: a bare whole number is a column position.
    std::vector<KeyItem> parseKeys(bool withDirection) {
        std::vector<KeyItem> keys;
        do {
            KeyItem key;
            key.position = tokens_.current().position;
            Token first = tokens_.current();
            key.expr = parseExpression(tokens_);
            if (isSignedNumber(first, *key.expr)) {
                throwUnexpected(first, "a column position from 1 to " + std::to_string(maxColumnPosition));
            }
            if (isColumnPosition(first, *key.expr)) {
                key.columnPosition = columnPosition(first);
                key.expr.reset();
            }
            if (withDirection && tokens_.atWord("ASC")) {
                tokens_.advance();
            } else if (withDirection && tokens_.atWord("DESC")) {
                key.descending = true;
                tokens_.advance();
            }
            keys.push_back(std::move(key));
        } while (tokens_.acceptSymbol(","));
        return keys;
    }

    // The key is the number token alone, not part of a larger expression.
    static bool isColumnPosition(const Token& first, const Expr& key) {
        return first.kind == TokenKind::Number && first.text.find('.') == std::string::npos &&
               key.kind == ExprKind::Literal && key.position == first.position;
    }

    // The key is a whole number with a sign ("-1", "+2"): refused as a column
    // position out of range is, never taken as a constant to group or order by.
    static bool isSignedNumber(const Token& first, const Expr& key) {
        if (first.kind != TokenKind::Symbol || (first.text != "-" && first.text != "+")) return false;
        const Expr& number = key.kind == ExprKind::Unary && key.op == "-" && key.position == first.position
                                 ? *key.args[0]
                                 : key;
        const ValueKind kind = number.literal.kind();
        return number.kind == ExprKind::Literal && number.decimals == 0 && number.position > first.position &&
               (kind == ValueKind::Integer || kind == ValueKind::Decimal);
    }

    static int columnPosition(const Token& number) {
        int value = 0;
        for (char digit : number.text) {
            value = value * 10 + (digit - '0');
            if (value > maxColumnPosition) break;
        }
        if (value < 1 || value > maxColumnPosition) {
            throwUnexpected(number, "a column position from 1 to " + std::to_string(maxColumnPosition));
        }
        return value;
    }

    // `stillAllowed` lists the clauses that could have come instead, e.g. "WHERE or ".
    void expectEnd(const std::string& stillAllowed) {
        if (tokens_.acceptSymbol(";")) {
            if (!tokens_.atEnd()) throwUnexpected(tokens_.current(), "the end of the statement");
        }
        if (!tokens_.atEnd()) throwUnexpected(tokens_.current(), stillAllowed + "the end of the statement");
    }

    TokenCursor tokens_;
};

}  // namespace

Statement parseStatement(std::string_view text) { return StatementParser(text).parse(); }

}  // namespace vantrep::engine::sql
