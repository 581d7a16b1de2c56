// Lexer of the engine's SQL dialect: turns the statement text into tokens, one
// at a time, on the parser's demand.
//
// Blanks, tabs, CR and LF separate tokens and are otherwise ignored. Tokens
// need no blank between them ('Outdoor'Or is a string and a word). A "["
// starts a string, except where the parser asks for a table name (after FROM
// or UPDATE), where "[...]" is a path. Strings have no escapes: a string ends
// at the first closing delimiter.
#pragma once

#include <cstddef>
#include <string_view>

#include "engine/sql/Token.h"

namespace vantrep::engine::sql {

enum class LexMode {
    Expression,  // ordinary tokens
    TableName,   // a table name if one stands here: [any text up to ]] or a bare file name
};

class Lexer {
public:
    // The text must outlive the lexer.
    explicit Lexer(std::string_view text);

    // The next token; End at the end of the text (and on every call after).
    // Throws EngineError(errSyntax) for a string, bracketed name or braced
    // literal without its closing delimiter.
    Token next(LexMode mode = LexMode::Expression);

private:
    void skipBlanks();
    size_t characterPosition(size_t offset);
    bool readTableName(Token& token);
    void readWord(Token& token);
    void readNumber(Token& token);
    void readDotWord(Token& token);
    void readDelimited(Token& token, char close, TokenKind kind, const char* what);
    void readSymbol(Token& token);
    void readUnknown(Token& token);
    unsigned char at(size_t offset) const;

    std::string_view text_;
    size_t pos_ = 0;
    // Characters counted so far, up to countedOffset_ (tokens come in order).
    size_t countedOffset_ = 0;
    size_t countedCharacters_ = 0;
};

}  // namespace vantrep::engine::sql
