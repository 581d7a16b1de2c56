// What binding hands the executor besides types: the aggregate calls of an
// expression, the fields it reads, whether it needs aggregates.
#include <gtest/gtest.h>

#include "support/ExpressionFixture.h"

namespace vantrep::tests {
namespace {

using namespace vantrep::engine;
using exec::AggregateFunction;
using exec::BoundKind;

class BindAggregatesTest : public ExpressionFixture {};

TEST_F(BindAggregatesTest, AggregateCallsAreListedInOrderAndReferenced) {
    auto bound = bindText("ROUND(SUM(SPEND), 0) + COUNT(*) + COUNT(MEDIA)");
    ASSERT_EQ(aggregates_.size(), 3u);
    EXPECT_EQ(aggregates_[0].function, AggregateFunction::Sum);
    ASSERT_TRUE(aggregates_[0].argument);
    EXPECT_EQ(aggregates_[0].argument->kind, BoundKind::Field);
    EXPECT_EQ(aggregates_[0].argument->field, table().fieldIndex("SPEND"));
    EXPECT_EQ(aggregates_[1].function, AggregateFunction::CountStar);
    EXPECT_FALSE(aggregates_[1].argument);
    EXPECT_EQ(aggregates_[2].function, AggregateFunction::Count);
    EXPECT_EQ(typeText(aggregates_[2].type), "N(10,0)");

    // ((ROUND(SUM) + COUNT(*)) + COUNT(MEDIA))
    const exec::BoundExpr& round = *bound->args[0]->args[0];
    ASSERT_EQ(round.kind, BoundKind::Call);
    EXPECT_EQ(round.function, "ROUND");
    EXPECT_EQ(round.args[0]->kind, BoundKind::Aggregate);
    EXPECT_EQ(round.args[0]->aggregate, 0);
    EXPECT_EQ(bound->args[0]->args[1]->aggregate, 1);
    EXPECT_EQ(bound->args[1]->aggregate, 2);
}

TEST_F(BindAggregatesTest, MinMaxAndAvgArgumentsAreBoundExpressions) {
    bindText("MAX(ALLTRIM(MEDIA) + CODE)");
    ASSERT_EQ(aggregates_.size(), 1u);
    EXPECT_EQ(aggregates_[0].function, AggregateFunction::Max);
    EXPECT_EQ(typeText(aggregates_[0].type), "C(14)");
    EXPECT_EQ(aggregates_[0].argument->kind, BoundKind::Binary);
    bindText("AVG(SPEND * 2)");
    EXPECT_EQ(aggregates_[0].function, AggregateFunction::Avg);
    EXPECT_EQ(typeText(aggregates_[0].type), "N(20,6)");
}

TEST_F(BindAggregatesTest, FieldsUsedAndAggregatePresence) {
    int month = table().fieldIndex("MONTH"), spend = table().fieldIndex("SPEND"), media = table().fieldIndex("MEDIA");
    ASSERT_LT(media, month);
    ASSERT_LT(month, spend);
    EXPECT_EQ(exec::fieldsUsed(*bindText("IIF(MONTH > 1, SPEND, SPEND + MONTH)")), (std::vector<int>{month, spend}));
    EXPECT_EQ(exec::fieldsUsed(*bindText("SPEND IN (MONTH, 1) AND MEDIA = 'TV'")),
              (std::vector<int>{media, month, spend}));
    EXPECT_TRUE(exec::fieldsUsed(*bindText("1 + 2")).empty());
    // an aggregate's argument belongs to its call, not to the expression
    auto grouped = bindText("ROUND(SUM(SPEND), 0) + MONTH");
    EXPECT_EQ(exec::fieldsUsed(*grouped), std::vector<int>{month});
    EXPECT_EQ(exec::fieldsUsed(*aggregates_.at(0).argument), std::vector<int>{spend});
    EXPECT_TRUE(exec::hasAggregate(*grouped));
    EXPECT_TRUE(exec::hasAggregate(*bindText("IIF(COUNT(*) > 1, 'many', 'one')")));
    EXPECT_FALSE(exec::hasAggregate(*bindText("IIF(MONTH > 1, SPEND, 0)")));
}

}  // namespace
}  // namespace vantrep::tests
