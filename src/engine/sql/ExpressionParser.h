// Expressions of the engine's SQL dialect, lowest precedence first:
//   OR; AND; NOT (also !); comparisons = == <> != # < > <= >= and [NOT] IN (list);
//   + -; * /; unary - +; literals, fields, function calls, parentheses.
// Binary operators associate to the left. An expression may be nested at
// most 200 levels deep, a chain of operators of one precedence ("a OR b OR
// c") counting as one level, and at most 200 parentheses and calls may be
// open at once; its tree, in which a chain of n operators is n levels high,
// may be at most 4096 levels high. So no input can exhaust the stack of the
// stages that walk the tree.
#pragma once

#include "engine/sql/Ast.h"
#include "engine/sql/TokenCursor.h"

namespace vantrep::engine::sql {

constexpr int maxExpressionDepth = 200;
constexpr int maxExpressionHeight = 4096;

// Parses one expression from the current token and leaves the cursor on the
// first token after it. Throws EngineError(errSyntax).
ExprPtr parseExpression(TokenCursor& tokens);

}  // namespace vantrep::engine::sql
