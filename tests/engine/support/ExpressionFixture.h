// Fixture of the binder and evaluator tests: a small table with one field of
// every kind (written with the engine's writer, no records), expressions given
// as text and parsed as the select item of "SELECT <expr> FROM t", and one row
// of values held in memory. Field values are set per test.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/dbf/DbfTable.h"
#include "engine/exec/BoundExpr.h"

namespace vantrep::tests {

// The current row: field values by index, aggregate results by index.
class MemoryRow : public engine::exec::RowValues {
public:
    std::vector<engine::Value> fields;
    std::vector<engine::Value> aggregates;
    engine::Value field(int index) const override { return fields.at(static_cast<size_t>(index)); }
    engine::Value aggregate(int index) const override { return aggregates.at(static_cast<size_t>(index)); }
};

// A value as tests write it: .NULL., .T., .F., 'text' (quotes show the blanks),
// N:12.50 (decimal), I:7 (integer), B:0.5 (double), D:2004-03-07, D:{} (empty),
// T:2004-03-07 13:45:30.
std::string describe(const engine::Value& value);

// C(10), N(12,2), B(8,2); other types by their letter: L, D, T, I, Y, M, U.
std::string typeText(const engine::exec::ColumnType& type);

struct ErrorSeen {
    int number = 0;  // 0 when nothing was thrown
    std::string description;
};

class ExpressionFixture : public ::testing::Test {
protected:
    // Fields: MEDIA C(10), NAME C(20), CODE C(4), MONTH N(2,0), SPEND N(12,2),
    // RATE N(6,3), ZERO N(3,0), QTY I, PRICE Y, RATIO B(8,2), BORN D, STAMP T,
    // ACTIVE L, NOTES M.
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;

    static const engine::dbf::DbfTable& table() { return *table_; }

    // Binds the expression; aggregates go to aggregates_ (cleared first) unless
    // `allowAggregates` is false.
    engine::exec::BoundExprPtr bindText(const std::string& expression, bool allowAggregates = true);
    // Binds and evaluates against row_; the value as describe() writes it, or
    // "error N" when binding or evaluating throws.
    std::string evalText(const std::string& expression);
    std::string typeOf(const std::string& expression);
    // What binding (and evaluating) the expression throws.
    ErrorSeen errorOf(const std::string& expression, bool allowAggregates = true);
    // The message position of a 1-based column of the expression text.
    static std::string at(size_t column);

    void set(const std::string& field, engine::Value value);

    MemoryRow row_;
    std::vector<engine::exec::AggregateCall> aggregates_;

private:
    static std::string folder_;
    static std::unique_ptr<engine::dbf::DbfTable> table_;
};

}  // namespace vantrep::tests
