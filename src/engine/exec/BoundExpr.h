// Bound expressions: a parsed expression whose names are resolved against a
// table and whose result type is fixed before any row is read (a result column
// takes its type and width from the statement, never from the first row, so
// that a statement matching no records still gives typed columns and no value
// is cut).
//
// Scalar evaluation works one row at a time on Values; strings inside are the
// table's code-page bytes, so comparisons and ordering are byte-exact
// ("Collate=Machine"). The query executor uses these pieces both per row and,
// for expressions over a single dictionary-coded column, once per distinct value.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/Value.h"
#include "engine/sql/Ast.h"

namespace vantrep::engine::dbf { class DbfTable; }

namespace vantrep::engine::exec {

// Static type of an expression or result column. Letters as DBF field types:
// C string(width), N decimal(width, decimals), I integer, B double(decimals),
// Y currency (decimal scale 4), D date, T datetime, L logical, M memo text,
// G/W/Q binary content; 'U' for a bare NULL whose type is unknown.
struct ColumnType {
    char type = 'C';
    int width = 0;
    int decimals = 0;
    friend bool operator==(const ColumnType&, const ColumnType&) = default;
};

enum class BoundKind { Constant, Field, Aggregate, Unary, Binary, Call, In };
enum class AggregateFunction { Sum, Count, CountStar, Avg, Min, Max };

struct BoundExpr;
using BoundExprPtr = std::unique_ptr<BoundExpr>;

struct BoundExpr {
    BoundKind kind = BoundKind::Constant;
    ColumnType type;
    size_t position = 0;     // in the statement text, for messages
    Value constant;          // Constant (strings already in the table's code page)
    int field = -1;          // Field: index into DbfTable::fields()
    int aggregate = -1;      // Aggregate: index into BindContext::aggregates
    std::string op;          // Unary/Binary: as in sql::Expr
    std::string function;    // Call: upper-case name (IIF, INLIST, ALLTRIM, ...)
    std::vector<BoundExprPtr> args;  // Unary/Binary/Call operands; In: args[0] IN (args[1..])
};

struct AggregateCall {
    AggregateFunction function = AggregateFunction::Sum;
    BoundExprPtr argument;  // null for COUNT(*)
    ColumnType type;        // result type
};

struct BindContext {
    const dbf::DbfTable& table;
    // Where aggregate calls go; null where aggregates are not allowed (WHERE,
    // GROUP BY, inside another aggregate): binding one there is an error.
    std::vector<AggregateCall>* aggregates = nullptr;
};

// Resolves names, checks arities and operand types, fixes the static type.
// Throws EngineError: errUnknownName ("Field 'X' is not found." with position),
// errUnknownFunction, errTooFewArguments, errTooManyArguments,
// errDataTypeMismatch (e.g. C compared with N, IIF branches of different kinds).
BoundExprPtr bind(const sql::Expr& expr, BindContext& context);

// What the evaluator reads for the current row.
class RowValues {
public:
    virtual ~RowValues() = default;
    virtual Value field(int index) const = 0;
    virtual Value aggregate(int index) const = 0;
};

// Evaluates for one row under the engine's SQL rules (NULL propagation, string
// comparison with trailing blanks ignored and no prefix match,
// half-away-from-zero ROUND, ...). Throws EngineError on a run-time type fault.
Value evaluate(const BoundExpr& expr, const RowValues& row);

// The value as a result column of `type` holds it: C blank-padded or cut to the
// width, N rescaled to its decimals; null stays null.
Value conform(const Value& value, const ColumnType& type);

// WHERE acceptance: true only for a logical .T. (false and NULL reject).
bool isTrue(const Value& value);

// Ordering of GROUP BY, ORDER BY, DISTINCT, MIN and MAX: nulls first; strings
// byte by byte after padding the shorter with blanks; numbers by value; dates,
// datetimes, logicals (.F. before .T.) by value. Values of different kinds
// (which a bound statement never mixes in one column) order by kind.
int compareValues(const Value& a, const Value& b);

// Field indexes the expression reads (each once, ascending).
std::vector<int> fieldsUsed(const BoundExpr& expr);
// True when the expression contains an aggregate reference.
bool hasAggregate(const BoundExpr& expr);

// Running state of one aggregate: NULLs ignored; SUM exact in decimals;
// SUM/AVG/MIN/MAX of no non-null input give NULL, COUNT gives 0.
class AggregateState {
public:
    explicit AggregateState(const AggregateCall& call);
    void add(const Value& value);  // COUNT(*): call with any value per row
    Value finish() const;          // conformed to the call's type

private:
    const AggregateCall* call_;
    int64_t count_ = 0;
    Decimal sum_;
    double realSum_ = 0;
    bool real_ = false;
    Value best_;
};

}  // namespace vantrep::engine::exec
