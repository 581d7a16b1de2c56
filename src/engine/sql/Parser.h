// Lexer and parser of the engine's SQL dialect (see Ast.h for the tree).
#pragma once

#include <string_view>

#include "engine/sql/Ast.h"

namespace vantrep::engine::sql {

// Parses one statement. Keywords and function names in any case. Throws
// EngineError(errSyntax) whose description gives the 1-based character
// position of the fault and what was expected there.
Statement parseStatement(std::string_view text);

}  // namespace vantrep::engine::sql
