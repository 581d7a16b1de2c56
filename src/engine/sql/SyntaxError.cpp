#include "engine/sql/SyntaxError.h"

#include <cstdio>

#include "engine/EngineError.h"

namespace vantrep::engine::sql {

namespace {

constexpr size_t maxShownBytes = 40;

bool isContinuationByte(unsigned char c) { return (c & 0xC0) == 0x80; }

std::string printable(std::string_view text) {
    std::string shown;
    for (unsigned char c : text) {
        if (c < 0x20 || c == 0x7F) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\x%02X", c);
            shown += buffer;
        } else {
            shown += static_cast<char>(c);
        }
    }
    return shown;
}

}  // namespace

std::string describeFound(const Token& token) {
    if (token.kind == TokenKind::End) return "the end of the statement";
    std::string_view text = token.text;
    bool shortened = false;
    if (text.size() > maxShownBytes) {
        size_t cut = maxShownBytes;
        while (cut > 0 && isContinuationByte(static_cast<unsigned char>(text[cut]))) --cut;
        text = text.substr(0, cut);
        shortened = true;
    }
    std::string found = "'";
    found += printable(text);
    found += shortened ? "...'" : "'";
    return found;
}

void throwSyntaxError(size_t position, std::string_view expected, std::string_view found) {
    throw EngineError(errSyntax, "Syntax error at position " + std::to_string(position + 1) + ": expected " +
                                     std::string(expected) + ", found " + std::string(found) + ".");
}

void throwUnexpected(const Token& token, std::string_view expected) {
    throwSyntaxError(token.position, expected, describeFound(token));
}

}  // namespace vantrep::engine::sql
