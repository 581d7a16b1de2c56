// The engine's syntax error: "Syntax error at position N: expected X, found 'Y'."
// with N the 1-based character position of the fault in the statement.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "engine/sql/Token.h"

namespace vantrep::engine::sql {

// What a message says was found at the fault: the token as written, in single
// quotes (shortened when long, control characters as \xNN), or "the end of the
// statement".
std::string describeFound(const Token& token);

// Throws EngineError(errSyntax). `position` is 0-based; `expected` reads after
// "expected ", e.g. "')'" or "an expression".
[[noreturn]] void throwSyntaxError(size_t position, std::string_view expected, std::string_view found);

// The same, for the token that is not what the grammar expects there.
[[noreturn]] void throwUnexpected(const Token& token, std::string_view expected);

}  // namespace vantrep::engine::sql
