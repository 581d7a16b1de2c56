#include "engine/exec/SelectPlan.h"

#include <algorithm>
#include <cctype>

#include "engine/EngineError.h"
#include "engine/dbf/DbfTable.h"

namespace vantrep::engine::exec {

namespace {

bool sameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string position(size_t offset) { return " (position " + std::to_string(offset + 1) + ")"; }

// The name a result column without an alias gets (the name Fields finds it
// by): the field's own name, CNT for COUNT(*), SUM_SPEND for SUM(SPEND), else
// EXP_1, EXP_2 ...
std::string defaultName(const sql::Expr& expr, int& unnamed) {
    if (expr.kind == sql::ExprKind::Field) return upper(expr.name);
    if (expr.kind == sql::ExprKind::Function && expr.args.size() == 1) {
        const sql::Expr& arg = *expr.args[0];
        static const char* aggregates[] = {"SUM", "COUNT", "AVG", "MIN", "MAX"};
        for (const char* a : aggregates) {
            if (expr.name != a) continue;
            if (arg.kind == sql::ExprKind::Star) return "CNT";
            if (arg.kind == sql::ExprKind::Field) return expr.name + "_" + upper(arg.name);
        }
    }
    return "EXP_" + std::to_string(++unnamed);
}

BoundExprPtr bindField(const std::string& name, size_t offset, const dbf::DbfTable& table) {
    sql::Expr field;
    field.kind = sql::ExprKind::Field;
    field.name = name;
    field.position = offset;
    BindContext context{table, nullptr};
    return bind(field, context);
}

int itemByName(const SelectPlan& plan, const std::string& name) {
    for (size_t i = 0; i < plan.items.size(); ++i)
        if (sameName(plan.items[i].name, name)) return static_cast<int>(i);
    return -1;
}

int itemByPosition(const SelectPlan& plan, const sql::KeyItem& key, const char* clause) {
    if (key.columnPosition < 1 || key.columnPosition > static_cast<int>(plan.items.size()))
        throw EngineError(errSyntax, std::string(clause) + " column number " + std::to_string(key.columnPosition) +
                                         " is outside the select list" + position(key.position) + ".");
    return key.columnPosition - 1;
}

void bindGroupBy(const sql::SelectStatement& statement, const dbf::DbfTable& table, SelectPlan& plan) {
    for (const sql::KeyItem& key : statement.groupBy) {
        const BoundExpr* expr = nullptr;
        if (key.columnPosition > 0) {
            expr = plan.items[static_cast<size_t>(itemByPosition(plan, key, "GROUP BY"))].expr.get();
        } else if (key.expr->kind == sql::ExprKind::Field && table.fieldIndex(key.expr->name) < 0 &&
                   itemByName(plan, key.expr->name) >= 0) {
            expr = plan.items[static_cast<size_t>(itemByName(plan, key.expr->name))].expr.get();
        } else {
            BindContext context{table, nullptr};
            plan.extraExprs.push_back(bind(*key.expr, context));
            expr = plan.extraExprs.back().get();
        }
        if (hasAggregate(*expr))
            throw EngineError(errSyntax, "GROUP BY cannot use an aggregate function" + position(key.position) + ".");
        plan.groupKeys.push_back(expr);
    }
}

void bindOrderBy(const sql::SelectStatement& statement, const dbf::DbfTable& table, SelectPlan& plan) {
    for (const sql::KeyItem& key : statement.orderBy) {
        SortKey sortKey;
        sortKey.descending = key.descending;
        if (key.columnPosition > 0) {
            sortKey.item = itemByPosition(plan, key, "ORDER BY");
        } else if (key.expr->kind == sql::ExprKind::Field && itemByName(plan, key.expr->name) >= 0) {
            sortKey.item = itemByName(plan, key.expr->name);
        } else if (plan.grouped() || plan.distinct) {
            throw EngineError(errUnknownName, "ORDER BY column is not in the select list" + position(key.position) + ".");
        } else {
            BindContext context{table, nullptr};
            plan.extraExprs.push_back(bind(*key.expr, context));
            sortKey.expr = plan.extraExprs.back().get();
        }
        if (sortKey.item >= 0) sortKey.expr = plan.items[static_cast<size_t>(sortKey.item)].expr.get();
        plan.order.push_back(sortKey);
    }
}

}  // namespace

SelectPlan bindSelect(const sql::SelectStatement& statement, const dbf::DbfTable& table) {
    SelectPlan plan;
    plan.distinct = statement.distinct;
    int unnamed = 0;
    for (const sql::SelectItem& item : statement.items) {
        if (item.star) {
            for (const dbf::DbfField& field : table.fields())
                plan.items.push_back({field.name, bindField(field.name, item.position, table)});
            continue;
        }
        BindContext context{table, &plan.aggregates};
        BoundExprPtr expr = bind(*item.expr, context);
        std::string name = item.alias.empty() ? defaultName(*item.expr, unnamed) : item.alias;
        plan.items.push_back({std::move(name), std::move(expr)});
    }
    if (plan.items.empty()) throw EngineError(errSyntax, "The select list is empty.");
    if (statement.where) {
        BindContext context{table, nullptr};
        plan.where = bind(*statement.where, context);
    }
    bindGroupBy(statement, table, plan);
    if (plan.distinct && plan.grouped())
        throw EngineError(errNotSupported, "DISTINCT together with GROUP BY or aggregate functions is not supported.");
    bindOrderBy(statement, table, plan);
    return plan;
}

}  // namespace vantrep::engine::exec
