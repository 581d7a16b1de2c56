// The parser's view of the statement: the current token, and the tests and
// expectations the grammar is written with. Keywords match in any case.
#pragma once

#include <string>
#include <string_view>

#include "engine/sql/Lexer.h"
#include "engine/sql/Token.h"

namespace vantrep::engine::sql {

// Words that are never a field, alias or function name. GROUP, ORDER, DATE
// and TIME are not among them: tables have fields of those names.
bool isReserved(const Token& token);

class TokenCursor {
public:
    // Reads the first token. The text must outlive the cursor.
    explicit TokenCursor(std::string_view text);

    const Token& current() const { return current_; }
    // Moves to the next token, read in the given mode.
    void advance(LexMode mode = LexMode::Expression);

    bool atEnd() const { return current_.kind == TokenKind::End; }
    // The keyword `upper` (given in upper case).
    bool atWord(std::string_view upper) const;
    bool atSymbol(std::string_view symbol) const;
    // AND, OR or NOT, also written .AND. .OR. .NOT.; NOT also as "!".
    bool atLogical(std::string_view upper) const;
    // A word that is not reserved: a field, alias or function name.
    bool atName() const;

    // Each expectation throws the syntax error "expected <expected>, found ..."
    // when the current token is not the one named.
    bool acceptSymbol(std::string_view symbol);
    void expectSymbol(std::string_view symbol, std::string_view expected);
    void expectWord(std::string_view upper, std::string_view expected, LexMode nextMode = LexMode::Expression);
    std::string expectName(std::string_view expected);  // returns the name as written

private:
    Lexer lexer_;
    Token current_;
};

}  // namespace vantrep::engine::sql
