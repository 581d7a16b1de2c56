#include "engine/sql/TokenCursor.h"

#include <algorithm>
#include <iterator>

#include "engine/sql/SyntaxError.h"

namespace vantrep::engine::sql {

namespace {

bool equalsUpper(std::string_view text, std::string_view upper) {
    if (text.size() != upper.size()) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != upper[i]) return false;
    }
    return true;
}

}  // namespace

bool isReserved(const Token& token) {
    static const char* const reserved[] = {"SELECT", "DISTINCT", "FROM", "WHERE", "AND", "OR",
                                           "NOT",    "IN",       "AS",   "BY",    "NULL"};
    if (token.kind != TokenKind::Word) return false;
    return std::any_of(std::begin(reserved), std::end(reserved),
                       [&](const char* word) { return equalsUpper(token.text, word); });
}

TokenCursor::TokenCursor(std::string_view text) : lexer_(text) { advance(); }

void TokenCursor::advance(LexMode mode) { current_ = lexer_.next(mode); }

bool TokenCursor::atWord(std::string_view upper) const {
    return current_.kind == TokenKind::Word && equalsUpper(current_.text, upper);
}

bool TokenCursor::atSymbol(std::string_view symbol) const {
    return current_.kind == TokenKind::Symbol && current_.text == symbol;
}

bool TokenCursor::atLogical(std::string_view upper) const {
    return atWord(upper) || (current_.kind == TokenKind::DotWord && current_.value == upper) ||
           (upper == "NOT" && atSymbol("!"));
}

bool TokenCursor::atName() const { return current_.kind == TokenKind::Word && !isReserved(current_); }

bool TokenCursor::acceptSymbol(std::string_view symbol) {
    if (!atSymbol(symbol)) return false;
    advance();
    return true;
}

void TokenCursor::expectSymbol(std::string_view symbol, std::string_view expected) {
    if (!acceptSymbol(symbol)) throwUnexpected(current_, expected);
}

void TokenCursor::expectWord(std::string_view upper, std::string_view expected, LexMode nextMode) {
    if (!atWord(upper)) throwUnexpected(current_, expected);
    advance(nextMode);
}

std::string TokenCursor::expectName(std::string_view expected) {
    if (!atName()) throwUnexpected(current_, expected);
    std::string name = current_.text;
    advance();
    return name;
}

}  // namespace vantrep::engine::sql
