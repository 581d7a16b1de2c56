// Syntax tree of the FoxPro SQL dialect the engine runs: SELECT and UPDATE.
// The parser produces it; the binder resolves its names against a table.
// Positions are 0-based character offsets into the statement text.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "engine/Value.h"

namespace vantrep::engine::sql {

enum class ExprKind {
    Literal,   // literal: value, and for numbers the width/decimals as written
    Field,     // name: a field of the table (or an alias in ORDER BY)
    Unary,     // op "-" or "NOT"; args[0]
    Binary,    // op: "+" "-" "*" "/" "=" "==" "<>" "<" ">" "<=" ">=" "AND" "OR"
    Function,  // name upper-cased; args; COUNT(*) has one argument of kind Star
    In,        // args[0] IN (args[1], args[2], ...)
    Star,      // the "*" inside COUNT(*)
};

struct Expr {
    ExprKind kind = ExprKind::Literal;
    size_t position = 0;
    std::string name;  // Field: as written; Function: upper case
    std::string op;    // Unary/Binary, normalised: "!=" and "#" -> "<>", "!" -> "NOT"
    std::vector<std::unique_ptr<Expr>> args;
    // Literal only. Strings are UTF-8 as written, without quotes. A numeric
    // literal is a Decimal; `width` is its length in characters as written and
    // `decimals` its digits after the point ("0000000000" -> 10, 0; "12.50" -> 5, 2).
    Value literal;
    int width = 0;
    int decimals = 0;
};
using ExprPtr = std::unique_ptr<Expr>;

struct SelectItem {
    bool star = false;  // "*": every field of the table
    ExprPtr expr;       // when not star
    std::string alias;  // "AS name", or empty
    size_t position = 0;
};

// An entry of GROUP BY or ORDER BY: a 1-based column position, or an expression
// (a field name or alias in practice).
struct KeyItem {
    int columnPosition = 0;  // > 0 when written as a number
    ExprPtr expr;            // when columnPosition == 0
    bool descending = false;
    size_t position = 0;
};

struct TableRef {
    std::string name;  // as written: "[C:/x/DATA.DBF]" gives C:/x/DATA.DBF; "data" gives data
    size_t position = 0;
};

struct SelectStatement {
    bool distinct = false;
    std::vector<SelectItem> items;
    TableRef table;
    ExprPtr where;  // null when absent
    std::vector<KeyItem> groupBy;
    std::vector<KeyItem> orderBy;
};

struct Assignment {
    std::string field;
    ExprPtr value;
    size_t position = 0;
};

struct UpdateStatement {
    TableRef table;
    std::vector<Assignment> assignments;
    ExprPtr where;
};

using Statement = std::variant<SelectStatement, UpdateStatement>;

}  // namespace vantrep::engine::sql
