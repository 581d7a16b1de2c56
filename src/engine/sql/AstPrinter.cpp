#include "engine/sql/AstPrinter.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <string_view>

namespace vantrep::engine::sql {

namespace {

enum class Form { Summary, Sql };

std::string concat(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (std::string_view part : parts) text += part;
    return text;
}

// A numeric literal as written: the width and decimals give back leading
// zeros and a missing zero before the point (".5").
std::string numberText(const Expr& expr) {
    Decimal value = expr.literal.asDecimal().rescaled(expr.decimals);
    std::string digits = int128ToString(value.isNegative() ? -value.units : value.units);
    int integerDigits = expr.width - (expr.decimals > 0 ? expr.decimals + 1 : 0);
    size_t wanted = size_t(std::max(integerDigits, 0) + expr.decimals);
    std::string padded(digits.size() < wanted ? wanted - digits.size() : 0, '0');
    padded += digits;
    if (expr.decimals == 0) return padded;
    size_t point = padded.size() - size_t(expr.decimals);
    return concat({std::string_view(padded).substr(0, point), ".", std::string_view(padded).substr(point)});
}

std::string dateText(int32_t jdn) {
    int year, month, day;
    civilFromJulianDay(jdn, year, month, day);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", year, month, day);
    return buffer;
}

std::string dateTimeText(int64_t ms) {
    int64_t seconds = ms % msPerDay / 1000;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, " %02d:%02d:%02d", int(seconds / 3600), int(seconds / 60 % 60),
                  int(seconds % 60));
    return dateText(int32_t(ms / msPerDay)) + buffer;
}

// A string in delimiters it does not contain: a parsed string always lacks
// at least one of ' " ].
std::string quotedString(const std::string& text, Form form) {
    if (form == Form::Summary) return "\"" + text + "\"";
    if (text.find('\'') == std::string::npos) return "'" + text + "'";
    if (text.find('"') == std::string::npos) return "\"" + text + "\"";
    return "[" + text + "]";
}

std::string literalText(const Expr& expr, Form form) {
    const Value& value = expr.literal;
    switch (value.kind()) {
    case ValueKind::Null: return ".NULL.";
    case ValueKind::Logical: return value.asLogical() ? ".T." : ".F.";
    case ValueKind::Decimal: return numberText(expr);
    case ValueKind::String: return quotedString(value.asString(), form);
    case ValueKind::Date: return value.isEmptyDate() ? "{}" : "{^" + dateText(value.asDate()) + "}";
    case ValueKind::DateTime: return "{^" + dateTimeText(value.asDateTime()) + "}";
    default: return value.toText();
    }
}

std::string summaryText(const Expr& expr);

std::string summaryList(const std::vector<ExprPtr>& args) {
    std::string text;
    for (const ExprPtr& arg : args) text += concat({" ", summaryText(*arg)});
    return text;
}

std::string summaryText(const Expr& expr) {
    switch (expr.kind) {
    case ExprKind::Literal: return literalText(expr, Form::Summary);
    case ExprKind::Field: return expr.name;
    case ExprKind::Star: return "*";
    case ExprKind::Unary:
    case ExprKind::Binary: return concat({"(", expr.op, summaryList(expr.args), ")"});
    case ExprKind::Function: return concat({"(", expr.name, summaryList(expr.args), ")"});
    case ExprKind::In: return concat({"(IN", summaryList(expr.args), ")"});
    }
    return "";
}

// Binding strength of the parser's levels: an operand weaker than its place
// needs parentheses.
enum Level { OrLevel = 1, AndLevel, NotLevel, ComparisonLevel, AdditiveLevel, MultiplicativeLevel, MinusLevel, Primary };

Level levelOf(const Expr& expr) {
    if (expr.kind == ExprKind::In) return ComparisonLevel;
    if (expr.kind == ExprKind::Unary) return expr.op == "NOT" ? NotLevel : MinusLevel;
    if (expr.kind != ExprKind::Binary) return Primary;
    if (expr.op == "OR") return OrLevel;
    if (expr.op == "AND") return AndLevel;
    if (expr.op == "+" || expr.op == "-") return AdditiveLevel;
    if (expr.op == "*" || expr.op == "/") return MultiplicativeLevel;
    return ComparisonLevel;
}

// Parentheses only where the tree needs them, so that the text nests no
// deeper than any other text of the same tree.
std::string sqlText(const Expr& expr, int weakestAllowed);

std::string sqlList(const std::vector<ExprPtr>& args, size_t from) {
    std::string text;
    for (size_t i = from; i < args.size(); ++i) {
        if (i > from) text += ", ";
        text += sqlText(*args[i], OrLevel);
    }
    return text;
}

std::string sqlText(const Expr& expr, int weakestAllowed) {
    Level level = levelOf(expr);
    std::string text;
    switch (expr.kind) {
    case ExprKind::Literal: text = literalText(expr, Form::Sql); break;
    case ExprKind::Field: text = expr.name; break;
    case ExprKind::Star: text = "*"; break;
    case ExprKind::Unary: text = concat({expr.op, " ", sqlText(*expr.args[0], level)}); break;
    case ExprKind::Binary:  // left-associative: the right operand must bind tighter
        text = concat({sqlText(*expr.args[0], level), " ", expr.op, " ", sqlText(*expr.args[1], level + 1)});
        break;
    case ExprKind::Function: text = concat({expr.name, "(", sqlList(expr.args, 0), ")"}); break;
    case ExprKind::In: text = concat({sqlText(*expr.args[0], level), " IN (", sqlList(expr.args, 1), ")"}); break;
    }
    return level < weakestAllowed ? concat({"(", text, ")"}) : text;
}

std::string keySummary(const KeyItem& key) {
    std::string text = key.expr ? describe(*key.expr) : concat({"#", std::to_string(key.columnPosition)});
    return key.descending ? concat({"(DESC ", text, ")"}) : text;
}

std::string keysSummary(const char* clause, const std::vector<KeyItem>& keys) {
    if (keys.empty()) return "";
    std::string text = concat({" (", clause});
    for (const KeyItem& key : keys) text += concat({" ", keySummary(key)});
    return text + ")";
}

std::string selectSummary(const SelectStatement& select) {
    std::string text = select.distinct ? "(SELECT DISTINCT (ITEMS" : "(SELECT (ITEMS";
    for (const SelectItem& item : select.items) {
        std::string itemText = item.star ? "*" : describe(*item.expr);
        text += concat({" ", item.alias.empty() ? itemText : concat({"(AS ", itemText, " ", item.alias, ")"})});
    }
    text += ") (FROM \"" + select.table.name + "\")";
    if (select.where) text += " (WHERE " + describe(*select.where) + ")";
    return text + keysSummary("GROUP", select.groupBy) + keysSummary("ORDER", select.orderBy) + ")";
}

std::string updateSummary(const UpdateStatement& update) {
    std::string text = "(UPDATE (TABLE \"" + update.table.name + "\") (SET";
    for (const Assignment& assignment : update.assignments) {
        text += " (" + assignment.field + " " + describe(*assignment.value) + ")";
    }
    text += ")";
    if (update.where) text += " (WHERE " + describe(*update.where) + ")";
    return text + ")";
}

// A key written as an expression that is a bare literal gets parentheses, so
// that it does not read back as a column position.
std::string keysSql(const char* clause, const std::vector<KeyItem>& keys) {
    if (keys.empty()) return "";
    std::string text = std::string(" ") + clause + " ";
    for (size_t i = 0; i < keys.size(); ++i) {
        const KeyItem& key = keys[i];
        if (i > 0) text += ", ";
        if (!key.expr) {
            text += std::to_string(key.columnPosition);
        } else if (key.expr->kind == ExprKind::Literal) {
            text += concat({"(", sqlText(*key.expr, OrLevel), ")"});
        } else {
            text += sqlText(*key.expr, OrLevel);
        }
        if (key.descending) text += " DESC";
    }
    return text;
}

std::string selectSql(const SelectStatement& select) {
    std::string text = select.distinct ? "SELECT DISTINCT " : "SELECT ";
    for (size_t i = 0; i < select.items.size(); ++i) {
        const SelectItem& item = select.items[i];
        if (i > 0) text += ", ";
        text += item.star ? "*" : sqlText(*item.expr, OrLevel);
        if (!item.alias.empty()) text += " AS " + item.alias;
    }
    text += " FROM [" + select.table.name + "]";
    if (select.where) text += " WHERE " + sqlText(*select.where, OrLevel);
    return text + keysSql("GROUP BY", select.groupBy) + keysSql("ORDER BY", select.orderBy);
}

std::string updateSql(const UpdateStatement& update) {
    std::string text = "UPDATE [" + update.table.name + "] SET ";
    for (size_t i = 0; i < update.assignments.size(); ++i) {
        if (i > 0) text += ", ";
        text += update.assignments[i].field + " = " + sqlText(*update.assignments[i].value, OrLevel);
    }
    if (update.where) text += " WHERE " + sqlText(*update.where, OrLevel);
    return text;
}

}  // namespace

std::string describe(const Expr& expr) { return summaryText(expr); }

std::string describe(const Statement& statement) {
    if (const auto* select = std::get_if<SelectStatement>(&statement)) return selectSummary(*select);
    return updateSummary(std::get<UpdateStatement>(statement));
}

std::string toSql(const Statement& statement) {
    if (const auto* select = std::get_if<SelectStatement>(&statement)) return selectSql(*select);
    return updateSql(std::get<UpdateStatement>(statement));
}

}  // namespace vantrep::engine::sql
