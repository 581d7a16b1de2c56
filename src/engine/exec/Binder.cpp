// Binding: names to field indexes, calls to built-in functions or aggregate
// references, and every node's static type (TypeRules.h), checked bottom-up.
#include <string>

#include "engine/EngineError.h"
#include "engine/dbf/DbfTable.h"
#include "engine/exec/AggregateRules.h"
#include "engine/exec/Arithmetic.h"
#include "engine/exec/Functions.h"
#include "engine/exec/TypeRules.h"

namespace vantrep::engine::exec {

namespace {

bool isComparison(const std::string& op) {
    return op == "=" || op == "==" || op == "<>" || op == "<" || op == ">" || op == "<=" || op == ">=";
}

bool isArithmetic(const std::string& op) { return op == "+" || op == "-" || op == "*" || op == "/"; }

bool isLogicalOrUnknown(const ColumnType& type) {
    TypeFamily family = familyOf(type);
    return family == TypeFamily::Logical || family == TypeFamily::Unknown;
}

BoundExprPtr node(BoundKind kind, const sql::Expr& expr) {
    auto bound = std::make_unique<BoundExpr>();
    bound->kind = kind;
    bound->position = expr.position;
    return bound;
}

[[noreturn]] void throwUnsupportedOperator(const sql::Expr& expr) {
    throw EngineError(errNotSupported,
                      "Operator '" + expr.op + "' is not supported " + positionText(expr.position) + ".");
}

void checkArity(const sql::Expr& expr, size_t minimum, size_t maximum) {
    if (expr.args.size() < minimum)
        throw EngineError(errTooFewArguments, "Too few arguments for function '" + expr.name + "' " +
                                                  positionText(expr.position) + ".");
    if (expr.args.size() > maximum)
        throw EngineError(errTooManyArguments, "Too many arguments for function '" + expr.name + "' " +
                                                   positionText(expr.position) + ".");
}

// The type a literal has as written: numbers N(characters, digits after the point).
ColumnType literalType(const sql::Expr& expr, const Value& value) {
    switch (value.kind()) {
    case ValueKind::Null: return {'U', 0, 0};
    case ValueKind::Logical: return {'L', 1, 0};
    case ValueKind::String: return {'C', static_cast<int>(value.asString().size()), 0};
    case ValueKind::Date: return {'D', 8, 0};
    case ValueKind::DateTime: return {'T', 8, 0};
    case ValueKind::Double: return {'B', 8, expr.decimals};
    case ValueKind::Integer:
    case ValueKind::Decimal:
        if (expr.width > 0) return {'N', expr.width, expr.decimals};
        Decimal d = value.asDecimal();
        return {'N', static_cast<int>(d.toString().size()), d.scale};
    }
    return {'U', 0, 0};
}

class Binder {
public:
    explicit Binder(BindContext& context) : context_(context) {}

    BoundExprPtr bind(const sql::Expr& expr) {
        switch (expr.kind) {
        case sql::ExprKind::Literal: return literal(expr);
        case sql::ExprKind::Field: return field(expr);
        case sql::ExprKind::Unary: return unary(expr);
        case sql::ExprKind::Binary: return binary(expr);
        case sql::ExprKind::Function: return call(expr);
        case sql::ExprKind::In: return in(expr);
        case sql::ExprKind::Star: break;
        }
        throw EngineError(errSyntax, "'*' is allowed only in COUNT(*) " + positionText(expr.position) + ".");
    }

private:
    BoundExprPtr literal(const sql::Expr& expr) {
        auto bound = node(BoundKind::Constant, expr);
        bound->constant = expr.literal.kind() == ValueKind::String
                              ? Value::string(context_.table.encode(expr.literal.asString()))
                              : expr.literal;
        bound->type = literalType(expr, bound->constant);
        return bound;
    }

    BoundExprPtr field(const sql::Expr& expr) {
        int index = context_.table.fieldIndex(expr.name);
        if (index < 0)
            throw EngineError(errUnknownName,
                              "Field '" + expr.name + "' is not found " + positionText(expr.position) + ".");
        auto bound = node(BoundKind::Field, expr);
        bound->field = index;
        bound->type = fieldType(context_.table.fields()[static_cast<size_t>(index)]);
        return bound;
    }

    BoundExprPtr unary(const sql::Expr& expr) {
        BoundExprPtr operand = bind(*expr.args.at(0));
        if (expr.op == "NOT") {
            if (!isLogicalOrUnknown(operand->type)) throwOperandMismatch(expr.position);
            auto bound = node(BoundKind::Unary, expr);
            bound->op = expr.op;
            bound->type = {'L', 1, 0};
            bound->args.push_back(std::move(operand));
            return bound;
        }
        if (expr.op != "-") throwUnsupportedOperator(expr);
        TypeFamily family = familyOf(operand->type);
        if (family != TypeFamily::Number && family != TypeFamily::Unknown) throwOperandMismatch(expr.position);
        ColumnType type = operand->type;
        if (type.type == 'N' || type.type == 'F') type = numericType(integerPlaces(type) + 1, type.decimals);
        // A negative number literal is a constant, so that ROUND(x, -2) sees one.
        if (operand->kind == BoundKind::Constant) {
            operand->constant = negate(operand->constant, expr.position);
            operand->type = type;
            operand->position = expr.position;
            return operand;
        }
        auto bound = node(BoundKind::Unary, expr);
        bound->op = expr.op;
        bound->type = type;
        bound->args.push_back(std::move(operand));
        return bound;
    }

    BoundExprPtr binary(const sql::Expr& expr) {
        auto bound = node(BoundKind::Binary, expr);
        bound->op = expr.op;
        bound->args.push_back(bind(*expr.args.at(0)));
        bound->args.push_back(bind(*expr.args.at(1)));
        const ColumnType& left = bound->args[0]->type;
        const ColumnType& right = bound->args[1]->type;
        if (expr.op == "AND" || expr.op == "OR") {
            if (!isLogicalOrUnknown(left) || !isLogicalOrUnknown(right)) throwOperandMismatch(expr.position);
            bound->type = {'L', 1, 0};
        } else if (isComparison(expr.op)) {
            if (!comparable(left, right)) throwOperandMismatch(expr.position);
            bound->type = {'L', 1, 0};
        } else if (isArithmetic(expr.op)) {
            std::optional<ColumnType> type = arithmeticType(expr.op, left, right);
            if (!type) throwOperandMismatch(expr.position);
            bound->type = *type;
        } else {
            throwUnsupportedOperator(expr);
        }
        return bound;
    }

    BoundExprPtr in(const sql::Expr& expr) {
        auto bound = node(BoundKind::In, expr);
        for (const sql::ExprPtr& arg : expr.args) bound->args.push_back(bind(*arg));
        for (size_t i = 1; i < bound->args.size(); ++i)
            if (!comparable(bound->args[0]->type, bound->args[i]->type))
                throwOperandMismatch(bound->args[i]->position);
        bound->type = {'L', 1, 0};
        return bound;
    }

    BoundExprPtr call(const sql::Expr& expr) {
        if (std::optional<AggregateFunction> function = aggregateNamed(expr.name)) return aggregate(expr, *function);
        const ScalarFunction* function = findScalarFunction(expr.name);
        if (!function)
            throw EngineError(errUnknownFunction,
                              "Function '" + expr.name + "' is not supported " + positionText(expr.position) + ".");
        checkArity(expr, static_cast<size_t>(function->minArguments), static_cast<size_t>(function->maxArguments));
        auto bound = node(BoundKind::Call, expr);
        bound->function = expr.name;
        for (const sql::ExprPtr& arg : expr.args) bound->args.push_back(bind(*arg));
        bound->type = function->resultType(*bound);
        return bound;
    }

    BoundExprPtr aggregate(const sql::Expr& expr, AggregateFunction function) {
        if (insideAggregate_)
            throw EngineError(errSyntax, "Aggregate function '" + expr.name +
                                             "' cannot be used inside another aggregate " +
                                             positionText(expr.position) + ".");
        if (!context_.aggregates)
            throw EngineError(errSyntax, "Aggregate function '" + expr.name +
                                             "' is not allowed in this part of the statement " +
                                             positionText(expr.position) + ".");
        checkArity(expr, 1, 1);
        const sql::Expr& arg = *expr.args[0];
        AggregateCall aggregateCall;
        aggregateCall.function = function;
        if (arg.kind == sql::ExprKind::Star && function == AggregateFunction::Count) {
            aggregateCall.function = AggregateFunction::CountStar;
        } else {
            insideAggregate_ = true;
            aggregateCall.argument = bind(arg);
            insideAggregate_ = false;
        }
        ColumnType argumentType = aggregateCall.argument ? aggregateCall.argument->type : ColumnType{'U', 0, 0};
        aggregateCall.type = aggregateType(aggregateCall.function, argumentType, expr.name, arg.position);

        auto bound = node(BoundKind::Aggregate, expr);
        bound->type = aggregateCall.type;
        bound->aggregate = static_cast<int>(context_.aggregates->size());
        context_.aggregates->push_back(std::move(aggregateCall));
        return bound;
    }

    BindContext& context_;
    bool insideAggregate_ = false;
};

}  // namespace

BoundExprPtr bind(const sql::Expr& expr, BindContext& context) {
    Binder binder(context);
    return binder.bind(expr);
}

}  // namespace vantrep::engine::exec
