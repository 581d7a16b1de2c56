// Result-type rules and implementations of the built-in scalar functions, by
// family; Functions.cpp lists them in the one function table.
#pragma once

#include "engine/exec/Functions.h"

namespace vantrep::engine::exec::builtin {

// IIF, INLIST, EMPTY (LogicalFunctions.cpp)
ColumnType iifType(const BoundExpr& call);
Value iif(const BoundExpr& call, const Arguments& arguments);
ColumnType inListType(const BoundExpr& call);
// Also serves `e IN (v1, ...)`, whose operands have the same layout.
Value inList(const BoundExpr& call, const Arguments& arguments);
ColumnType emptyType(const BoundExpr& call);
Value empty(const BoundExpr& call, const Arguments& arguments);

// ALLTRIM, LTRIM, TRIM, RTRIM, UPPER, LOWER (StringFunctions.cpp)
ColumnType sameStringType(const BoundExpr& call);
Value allTrim(const BoundExpr& call, const Arguments& arguments);
Value leftTrim(const BoundExpr& call, const Arguments& arguments);
Value rightTrim(const BoundExpr& call, const Arguments& arguments);
Value upper(const BoundExpr& call, const Arguments& arguments);
Value lower(const BoundExpr& call, const Arguments& arguments);

// ROUND (NumericFunctions.cpp)
ColumnType roundType(const BoundExpr& call);
Value round(const BoundExpr& call, const Arguments& arguments);

// CTOD (DateFunctions.cpp)
ColumnType ctodType(const BoundExpr& call);
Value ctod(const BoundExpr& call, const Arguments& arguments);

}  // namespace vantrep::engine::exec::builtin
