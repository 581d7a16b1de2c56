// Aggregate states: NULLs ignored, exact decimal sums, counts, averages and
// extremes, each finished in the type the call was bound to.
#include <gtest/gtest.h>

#include "support/ExpressionFixture.h"

namespace vantrep::tests {
namespace {

using namespace vantrep::engine;
using exec::AggregateState;

class EvalAggregateTest : public ExpressionFixture {
protected:
    // Binds `call` (one aggregate) and feeds it `inputs`; the finished value as
    // describe() writes it.
    std::string aggregateOf(const std::string& call, const std::vector<Value>& inputs) {
        bindText(call);
        EXPECT_EQ(aggregates_.size(), 1u) << call;
        AggregateState state(aggregates_.at(0));
        for (const Value& v : inputs) state.add(v);
        return describe(state.finish());
    }

    static Value n(int64_t units, int scale) { return Value::decimal(Decimal{units, scale}); }
};

TEST_F(EvalAggregateTest, SumIsExact) {
    bindText("SUM(SPEND)");
    AggregateState tenths(aggregates_.at(0));
    for (int i = 0; i < 10000; ++i) tenths.add(n(10, 2));
    EXPECT_EQ(describe(tenths.finish()), "N:1000.00");

    AggregateState large(aggregates_.at(0));
    Value largest = Value::decimal(*Decimal::parse("99999999999999999.99"));  // N(20,2)
    for (int i = 0; i < 1000; ++i) large.add(largest);
    EXPECT_EQ(describe(large.finish()), "N:99999999999999999990.00");

    EXPECT_EQ(aggregateOf("SUM(QTY)", {Value::integer(7), Value::integer(8)}), "N:15");
    EXPECT_EQ(aggregateOf("SUM(PRICE)", {n(12345, 4), n(20000, 4)}), "N:3.2345");
    EXPECT_EQ(aggregateOf("SUM(RATIO)", {Value::real(0.5), Value::real(0.25)}), "B:0.75");
    EXPECT_EQ(aggregateOf("SUM(SPEND)", {n(-150, 2), n(150, 2)}), "N:0.00");
}

TEST_F(EvalAggregateTest, NullsAreIgnored) {
    EXPECT_EQ(aggregateOf("SUM(SPEND)", {Value::null(), n(150, 2), Value::null(), n(225, 2)}), "N:3.75");
    EXPECT_EQ(aggregateOf("SUM(SPEND)", {Value::null(), Value::null()}), ".NULL.");
    EXPECT_EQ(aggregateOf("SUM(SPEND)", {}), ".NULL.");
    EXPECT_EQ(aggregateOf("AVG(SPEND)", {Value::null()}), ".NULL.");
    EXPECT_EQ(aggregateOf("MIN(MEDIA)", {Value::null()}), ".NULL.");
    EXPECT_EQ(aggregateOf("MAX(SPEND)", {}), ".NULL.");
    EXPECT_EQ(aggregateOf("AVG(SPEND)", {n(100, 2), Value::null(), n(200, 2)}), "N:1.500000");
}

TEST_F(EvalAggregateTest, CountStarCountsRowsCountCountsValues) {
    std::vector<Value> inputs = {Value::null(), n(1, 0), Value::null(), n(0, 0)};
    EXPECT_EQ(aggregateOf("COUNT(*)", inputs), "N:4");
    EXPECT_EQ(aggregateOf("COUNT(SPEND)", inputs), "N:2");
    EXPECT_EQ(aggregateOf("COUNT(SPEND)", {Value::null()}), "N:0");
    EXPECT_EQ(aggregateOf("COUNT(*)", {}), "N:0");
}

TEST_F(EvalAggregateTest, AverageRoundsToItsDecimals) {
    EXPECT_EQ(aggregateOf("AVG(SPEND)", {n(100, 2), n(200, 2), n(400, 2)}), "N:2.333333");
    EXPECT_EQ(aggregateOf("AVG(SPEND)", {n(1, 2), n(1, 2), n(0, 2)}), "N:0.006667");
    EXPECT_EQ(aggregateOf("AVG(SPEND)", {n(-1, 2), n(-1, 2), n(0, 2)}), "N:-0.006667");
    EXPECT_EQ(aggregateOf("AVG(QTY)", {Value::integer(1), Value::integer(2)}), "N:1.5000");
    EXPECT_EQ(aggregateOf("AVG(RATIO)", {Value::real(1), Value::real(2)}), "B:1.5");
}

TEST_F(EvalAggregateTest, MinAndMaxUseTheEngineOrder) {
    std::vector<Value> media = {Value::string("TV        "), Value::string("RADIO     "), Value::null(),
                                Value::string("radio     "), Value::string("TVR       ")};
    EXPECT_EQ(aggregateOf("MIN(MEDIA)", media), "'RADIO     '");
    EXPECT_EQ(aggregateOf("MAX(MEDIA)", media), "'radio     '");
    EXPECT_EQ(aggregateOf("MIN(SPEND)", {n(250, 2), n(10, 0), n(15, 1)}), "N:1.50");
    EXPECT_EQ(aggregateOf("MAX(SPEND)", {n(250, 2), n(10, 0), n(15, 1)}), "N:10.00");
    EXPECT_EQ(aggregateOf("MAX(BORN)", {Value::date(julianDay(2004, 3, 7)), Value::date(0),
                                        Value::date(julianDay(1999, 12, 31))}),
              "D:2004-03-07");
    EXPECT_EQ(aggregateOf("MIN(BORN)", {Value::date(julianDay(2004, 3, 7)), Value::date(0)}), "D:{}");
}

TEST_F(EvalAggregateTest, ExpressionsReadFinishedAggregates) {
    auto bound = bindText("ROUND(SUM(SPEND), 0)");
    ASSERT_EQ(aggregates_.size(), 1u);
    AggregateState state(aggregates_[0]);
    state.add(n(123450, 2));
    row_.aggregates = {state.finish()};
    EXPECT_EQ(describe(exec::evaluate(*bound, row_)), "N:1235");

    auto ratio = bindText("IIF(COUNT(*) > 0, SUM(SPEND) / COUNT(*), 0)");
    ASSERT_EQ(aggregates_.size(), 3u);
    row_.aggregates = {n(3, 0), n(1000, 2), n(3, 0)};
    EXPECT_EQ(describe(exec::evaluate(*ratio, row_)), "N:3.333333");
}

}  // namespace
}  // namespace vantrep::tests
