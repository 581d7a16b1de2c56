#include "support/ExpressionFixture.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "engine/EngineError.h"
#include "engine/dbf/DbfWriter.h"
#include "engine/sql/Parser.h"

namespace vantrep::tests {

using namespace vantrep::engine;

std::string ExpressionFixture::folder_;
std::unique_ptr<dbf::DbfTable> ExpressionFixture::table_;

std::string describe(const Value& value) {
    switch (value.kind()) {
    case ValueKind::Null: return ".NULL.";
    case ValueKind::Logical: return value.asLogical() ? ".T." : ".F.";
    case ValueKind::Integer: return "I:" + value.toText();
    case ValueKind::Decimal: return "N:" + value.toText();
    case ValueKind::Double: return "B:" + value.toText();
    case ValueKind::String: {
        std::string text = "'";
        for (unsigned char c : value.asString()) {
            if (c >= 0x20 && c < 0x7F) {
                text += static_cast<char>(c);
            } else {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02X", c);
                text += hex;
            }
        }
        return text + "'";
    }
    case ValueKind::Date: return value.isEmptyDate() ? "D:{}" : "D:" + value.toText();
    case ValueKind::DateTime: return value.isEmptyDate() ? "T:{}" : "T:" + value.toText();
    }
    return "?";
}

std::string typeText(const exec::ColumnType& type) {
    switch (type.type) {
    case 'C': return "C(" + std::to_string(type.width) + ")";
    case 'N': case 'B':
        return std::string(1, type.type) + "(" + std::to_string(type.width) + "," + std::to_string(type.decimals) + ")";
    default: return std::string(1, type.type);
    }
}

void ExpressionFixture::SetUpTestSuite() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vantrep-eval-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    std::string path = folder_ + "/EVAL.DBF";
    dbf::DbfWriter::create(path, {
                                     {"MEDIA", 'C', 10, 0},
                                     {"NAME", 'C', 20, 0},
                                     {"CODE", 'C', 4, 0},
                                     {"MONTH", 'N', 2, 0},
                                     {"SPEND", 'N', 12, 2},
                                     {"RATE", 'N', 6, 3},
                                     {"ZERO", 'N', 3, 0},
                                     {"QTY", 'I', 0, 0},
                                     {"PRICE", 'Y', 0, 0},
                                     {"RATIO", 'B', 0, 2},
                                     {"BORN", 'D', 0, 0},
                                     {"STAMP", 'T', 0, 0},
                                     {"ACTIVE", 'L', 0, 0},
                                     {"NOTES", 'M', 0, 0},
                                 });
    table_ = dbf::DbfTable::open(path);
}

void ExpressionFixture::TearDownTestSuite() {
    table_.reset();
    std::filesystem::remove_all(folder_);
}

void ExpressionFixture::SetUp() {
    ASSERT_TRUE(table_);
    row_.fields.assign(table_->fields().size(), Value::null());
    set("MEDIA", Value::string("TV        "));
    set("NAME", Value::string("  Ann Lee           "));
    set("CODE", Value::string("AB  "));
    set("MONTH", Value::decimal(Decimal::fromInt(1)));
    set("SPEND", Value::decimal(Decimal{123450, 2}));
    set("RATE", Value::decimal(Decimal{1250, 3}));
    set("ZERO", Value::decimal(Decimal::fromInt(0)));
    set("QTY", Value::integer(7));
    set("PRICE", Value::decimal(Decimal{12345, 4}));
    set("RATIO", Value::real(0.5));
    set("BORN", Value::date(julianDay(2004, 3, 7)));
    set("STAMP", Value::dateTime(int64_t(julianDay(2004, 3, 7)) * msPerDay + 49530000));
    set("ACTIVE", Value::logical(true));
    set("NOTES", Value::string("memo text"));
}

void ExpressionFixture::set(const std::string& field, Value value) {
    int index = table_->fieldIndex(field);
    ASSERT_GE(index, 0) << field;
    row_.fields[static_cast<size_t>(index)] = std::move(value);
}

exec::BoundExprPtr ExpressionFixture::bindText(const std::string& expression, bool allowAggregates) {
    sql::Statement statement = sql::parseStatement("SELECT " + expression + " FROM t");
    const sql::SelectStatement& select = std::get<sql::SelectStatement>(statement);
    aggregates_.clear();
    exec::BindContext context{*table_, allowAggregates ? &aggregates_ : nullptr};
    return exec::bind(*select.items.at(0).expr, context);
}

std::string ExpressionFixture::evalText(const std::string& expression) {
    try {
        exec::BoundExprPtr bound = bindText(expression);
        return describe(exec::evaluate(*bound, row_));
    } catch (const EngineError& e) {
        return "error " + std::to_string(e.number());
    }
}

std::string ExpressionFixture::typeOf(const std::string& expression) {
    try {
        return typeText(bindText(expression)->type);
    } catch (const EngineError& e) {
        return "error " + std::to_string(e.number()) + ": " + e.description();
    }
}

ErrorSeen ExpressionFixture::errorOf(const std::string& expression, bool allowAggregates) {
    try {
        exec::BoundExprPtr bound = bindText(expression, allowAggregates);
        exec::evaluate(*bound, row_);
    } catch (const EngineError& e) {
        return {e.number(), e.description()};
    }
    return {};
}

std::string ExpressionFixture::at(size_t column) {
    return "(position " + std::to_string(column + 7) + ")";  // after "SELECT "
}

}  // namespace vantrep::tests
