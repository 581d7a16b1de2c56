// The numbers the chart draws besides the data: 100 % shares and their
// stacked tops, value label texts, display thinning and the kind names.
#include <gtest/gtest.h>

#include <vector>

#include "graph/ChartKind.h"
#include "graph/ChartShares.h"
#include "graph/PointThinning.h"
#include "graph/ValueLabels.h"

namespace vantrep::graph {
namespace {

ChartData dataOf(std::vector<std::vector<double>> values) {
    ChartData data;
    data.values = std::move(values);
    data.pointKeys.assign(data.values.empty() ? 0 : data.values.front().size(), 0.0);
    return data;
}

TEST(ChartShares, EachPointSharesOneHundredPercent) {
    const auto shares = percentShares(dataOf({{1, 3, 0}, {3, 1, 0}}));
    ASSERT_EQ(shares.size(), 2u);
    EXPECT_EQ(shares[0], (std::vector<double>{25, 75, 0}));
    EXPECT_EQ(shares[1], (std::vector<double>{75, 25, 0}));
    const auto tops = stackedTops(shares);
    EXPECT_EQ(tops[0], (std::vector<double>{25, 75, 0}));
    EXPECT_EQ(tops[1], (std::vector<double>{100, 100, 0}));
}

TEST(ChartShares, NegativeValuesCountAsNothing) {
    const auto shares = percentShares(dataOf({{-4, -1}, {2, -1}, {6, -3}}));
    EXPECT_EQ(shares[0], (std::vector<double>{0, 0}));
    EXPECT_EQ(shares[1], (std::vector<double>{25, 0}));
    EXPECT_EQ(shares[2], (std::vector<double>{75, 0}));
}

TEST(ChartShares, NoSeriesGiveNoShares) {
    EXPECT_TRUE(percentShares(dataOf({})).empty());
    EXPECT_TRUE(stackedTops({}).empty());
}

struct LabelCase {
    double value;
    bool percent;
    const char* text;
};

TEST(ValueLabels, FormatsWholeNumbersOrPercentages) {
    const LabelCase cases[] = {
        {1234567.4, false, "1,234,567"}, {0.6, false, "1"}, {-2500, false, "-2,500"}, {0, false, ""},
        {0.125, true, "12.50%"},         {1, true, "100.00%"}, {-0.5, true, "-50.00%"},
    };
    for (const LabelCase& c : cases) EXPECT_EQ(valueLabelText(c.value, c.percent), c.text) << c.value;
}

TEST(ValueLabels, PercentWhenTheFirstVariableShowsTotals) {
    session::FieldList vars;
    EXPECT_FALSE(labelsShowPercent(vars));
    vars.append(session::FieldDef{});
    vars.append(session::FieldDef{});
    vars(2).ShowTotal = true;
    EXPECT_FALSE(labelsShowPercent(vars));
    vars(1).ShowTotal = true;
    EXPECT_TRUE(labelsShowPercent(vars));
}

TEST(PointThinning, ShortSeriesKeepEveryPoint) {
    EXPECT_EQ(thinnedIndices(std::vector<double>{5, 1, 4}, 2), (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(thinnedIndices(std::vector<double>{}, 10).empty());
}

TEST(PointThinning, LongSeriesKeepEachBucketsExtremesAndTheEnds) {
    // Two buckets of five: [3 9 1 4 4] and [2 2 8 0 5].
    const std::vector<double> values{3, 9, 1, 4, 4, 2, 2, 8, 0, 5};
    EXPECT_EQ(thinnedIndices(values, 2), (std::vector<int>{0, 1, 2, 7, 8, 9}));
}

TEST(PointThinning, SeriesTogetherKeepTheUnionOfTheirPoints) {
    // In a flat bucket the first point is the lowest and the last the highest.
    const std::vector<std::vector<double>> series{{0, 9, 0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 7, 0, 0, 1}};
    EXPECT_EQ(thinnedIndices(series, 2), (std::vector<int>{0, 1, 4, 5, 6, 9}));
}

TEST(PointThinning, AreasKeepEachBucketsPeak) {
    const std::vector<double> values{3, 9, 1, 9, 4, 2, 2, 8, 0, 5};
    EXPECT_EQ(peakIndices(values, 2), (std::vector<int>{0, 1, 7, 9}));
    EXPECT_EQ(peakIndices(std::vector<double>{1, 2}, 2), (std::vector<int>{0, 1}));
}

TEST(PointThinning, StridesKeepEveryKthPointAndTheLast) {
    EXPECT_EQ(strideIndices(10, 4), (std::vector<int>{0, 3, 6, 9}));
    EXPECT_EQ(strideIndices(11, 4), (std::vector<int>{0, 3, 6, 9, 10}));
    EXPECT_EQ(strideIndices(3, 10), (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(strideIndices(0, 10).empty());
}

TEST(ChartKind, NamesGoBothWays) {
    for (ChartKind kind : {ChartKind::Line, ChartKind::Area, ChartKind::StackedArea, ChartKind::Radar})
        EXPECT_EQ(chartKindFromName(chartKindName(kind)), kind);
    EXPECT_EQ(chartKindFromName("sarea"), ChartKind::StackedArea);
    EXPECT_FALSE(chartKindFromName("pie").has_value());
    EXPECT_FALSE(chartKindFromName("Line").has_value());
}

}  // namespace
}  // namespace vantrep::graph
