// Tokens of the engine's SQL dialect, as the lexer hands them to the parser.
#pragma once

#include <cstddef>
#include <string>

namespace vantrep::engine::sql {

enum class TokenKind {
    End,        // end of the statement text
    Word,       // name or keyword: letters, digits and _, not starting with a digit
    Number,     // digits with an optional point: 12  12.50  .5
    String,     // '...' "..." [...]; value holds the text between the delimiters
    DotWord,    // .T. .F. .Y. .N. .NULL. .AND. .OR. .NOT.; value holds the word upper-cased
    Braced,     // {...}: a date or datetime literal; value holds the text between the braces
    Symbol,     // operator or punctuation: ( ) , * / + - = == <> != # < > <= >= ! ;
    TableName,  // after FROM or UPDATE: [any text] or a bare file name; value holds the name
    Unknown,    // a character that starts no token (one UTF-8 sequence)
};

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;     // exactly as written (with delimiters); empty for End
    std::string value;    // see TokenKind
    size_t offset = 0;    // byte offset of the first character in the statement
    size_t position = 0;  // 0-based character (UTF-8 code point) position of the first character
};

}  // namespace vantrep::engine::sql
