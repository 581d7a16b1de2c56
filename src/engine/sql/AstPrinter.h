// Text forms of a parsed statement: a compact tree summary for tests and
// diagnostics, and statement text that parses back to the same tree.
#pragma once

#include <string>

#include "engine/sql/Ast.h"

namespace vantrep::engine::sql {

// S-expression of an expression, without positions:
//   field            MEDIA (as written)
//   literal          12.50 (numbers as written), "TV", .T., .F., .NULL.,
//                    {^2004-03-07}, {^2004-03-07 13:45:30}, {} (empty date)
//   function call    (IIF (INLIST (ALLTRIM MEDIA) "TV" "RADIO") MEDIA "Others    ")
//   operators        (+ a b), (- a), (NOT a), (IN MEDIA "TV" "RADIO"); COUNT(*) is (COUNT *)
std::string describe(const Expr& expr);

// S-expression of a statement:
//   (SELECT DISTINCT (ITEMS * (AS (COUNT *) Cnt)) (FROM "DATA.DBF") (WHERE ...)
//           (GROUP #1 Divisor) (ORDER (DESC #2)))   -- #n is a column position
//   (UPDATE (TABLE "a.dtr") (SET (Divisor 0)) (WHERE ...))
std::string describe(const Statement& statement);

// Statement text in a canonical form: keywords upper case, parentheses only
// where precedence needs them, table names in brackets. parseStatement() of it
// gives a tree that describe() prints exactly as it prints `statement`.
std::string toSql(const Statement& statement);

}  // namespace vantrep::engine::sql
