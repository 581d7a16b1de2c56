#include "engine/sql/Lexer.h"

#include <string>

#include "engine/sql/SyntaxError.h"

namespace vantrep::engine::sql {

namespace {

bool isBlank(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool isLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool isContinuationByte(unsigned char c) { return (c & 0xC0) == 0x80; }

// Characters of a file name written without brackets: DATA.DBF, sub/data.dbf,
// C:\x\data. Bytes of non-ASCII characters are accepted as they are.
bool isBareNameCharacter(unsigned char c) {
    return isLetter(c) || isDigit(c) || c == '.' || c == '-' || c == '/' || c == '\\' || c == ':' || c >= 0x80;
}

std::string upperCase(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

bool isDotWord(const std::string& upper) {
    return upper == "T" || upper == "F" || upper == "Y" || upper == "N" || upper == "NULL" || upper == "AND" ||
           upper == "OR" || upper == "NOT";
}

}  // namespace

Lexer::Lexer(std::string_view text) : text_(text) {}

unsigned char Lexer::at(size_t offset) const {
    return offset < text_.size() ? static_cast<unsigned char>(text_[offset]) : 0;
}

void Lexer::skipBlanks() {
    while (pos_ < text_.size() && isBlank(at(pos_))) ++pos_;
}

size_t Lexer::characterPosition(size_t offset) {
    for (; countedOffset_ < offset; ++countedOffset_) {
        if (!isContinuationByte(at(countedOffset_))) ++countedCharacters_;
    }
    return countedCharacters_;
}

Token Lexer::next(LexMode mode) {
    skipBlanks();
    Token token;
    token.offset = pos_;
    token.position = characterPosition(pos_);
    if (pos_ >= text_.size()) return token;

    if (mode == LexMode::TableName && readTableName(token)) return token;

    unsigned char c = at(pos_);
    if (isLetter(c)) {
        readWord(token);
    } else if (isDigit(c) || (c == '.' && isDigit(at(pos_ + 1)))) {
        readNumber(token);
    } else if (c == '.') {
        readDotWord(token);
    } else if (c == '\'' || c == '"') {
        readDelimited(token, static_cast<char>(c), TokenKind::String, "string");
    } else if (c == '[') {
        readDelimited(token, ']', TokenKind::String, "string");
    } else if (c == '{') {
        readDelimited(token, '}', TokenKind::Braced, "date");
    } else {
        readSymbol(token);
    }
    token.text = std::string(text_.substr(token.offset, pos_ - token.offset));
    return token;
}

bool Lexer::readTableName(Token& token) {
    if (at(pos_) == '[') {
        readDelimited(token, ']', TokenKind::TableName, "table name");
    } else {
        size_t end = pos_;
        while (end < text_.size() && isBareNameCharacter(at(end))) ++end;
        if (end == pos_) return false;
        token.kind = TokenKind::TableName;
        token.value = std::string(text_.substr(pos_, end - pos_));
        pos_ = end;
    }
    token.text = std::string(text_.substr(token.offset, pos_ - token.offset));
    return true;
}

void Lexer::readWord(Token& token) {
    size_t end = pos_;
    while (end < text_.size() && (isLetter(at(end)) || isDigit(at(end)))) ++end;
    token.kind = TokenKind::Word;
    pos_ = end;
}

void Lexer::readNumber(Token& token) {
    size_t end = pos_;
    while (isDigit(at(end))) ++end;
    if (at(end) == '.' && isDigit(at(end + 1))) {
        ++end;
        while (isDigit(at(end))) ++end;
    }
    token.kind = TokenKind::Number;
    pos_ = end;
}

void Lexer::readDotWord(Token& token) {
    size_t end = pos_ + 1;
    while (isLetter(at(end))) ++end;
    if (at(end) == '.') {
        std::string upper = upperCase(text_.substr(pos_ + 1, end - pos_ - 1));
        if (isDotWord(upper)) {
            token.kind = TokenKind::DotWord;
            token.value = upper;
            pos_ = end + 1;
            return;
        }
    }
    readUnknown(token);
}

void Lexer::readDelimited(Token& token, char close, TokenKind kind, const char* what) {
    size_t closing = text_.find(close, pos_ + 1);
    if (closing == std::string_view::npos) {
        throwSyntaxError(token.position,
                         std::string("the closing ") + close + " of the " + what + " that starts here",
                         "the end of the statement");
    }
    token.kind = kind;
    token.value = std::string(text_.substr(pos_ + 1, closing - pos_ - 1));
    pos_ = closing + 1;
}

void Lexer::readSymbol(Token& token) {
    static const char* const twoCharacterSymbols[] = {"==", "<>", "<=", ">=", "!="};
    std::string_view rest = text_.substr(pos_);
    for (const char* symbol : twoCharacterSymbols) {
        if (rest.starts_with(symbol)) {
            token.kind = TokenKind::Symbol;
            pos_ += 2;
            return;
        }
    }
    if (std::string_view("(),*/+-=<>#!;").find(static_cast<char>(at(pos_))) != std::string_view::npos) {
        token.kind = TokenKind::Symbol;
        ++pos_;
        return;
    }
    readUnknown(token);
}

void Lexer::readUnknown(Token& token) {
    token.kind = TokenKind::Unknown;
    size_t end = pos_ + 1;
    if (at(pos_) >= 0xC0) {
        while (end < text_.size() && end < pos_ + 4 && isContinuationByte(at(end))) ++end;
    }
    pos_ = end;
}

}  // namespace vantrep::engine::sql
