// Expressions of the engine's SQL dialect, lowest precedence first:
//   OR; AND; NOT (also !); comparisons = == <> != # < > <= >= and [NOT] IN (list);
//   + -; * /; unary - +; literals, fields, function calls, parentheses.
// Binary operators associate to the left. An expression tree may be at most
// 200 levels deep, and at most 200 parentheses and calls may be open at once,
// so that no input can exhaust the stack.
#pragma once

#include "engine/sql/Ast.h"
#include "engine/sql/TokenCursor.h"

namespace vantrep::engine::sql {

constexpr int maxExpressionDepth = 200;

// Parses one expression from the current token and leaves the cursor on the
// first token after it. Throws EngineError(errSyntax).
ExprPtr parseExpression(TokenCursor& tokens);

}  // namespace vantrep::engine::sql
