// The chart data read from small grids laid out as the summary grid lays
// them out, checked value by value.
#include <gtest/gtest.h>

#include <vector>

#include "graph/ChartData.h"
#include "grid/GridModel.h"

namespace vantrep::graph {
namespace {

// A grid from rows of tab-separated texts, with its fixed counts.
struct GridShape {
    int fixedRows;
    int fixedCols;
    int frozenCols;
    std::vector<QString> rows;
};

grid::GridModel makeGrid(const GridShape& shape) {
    grid::GridModel g;
    const int cols = shape.rows.empty() ? 0 : static_cast<int>(shape.rows.front().split('\t').size());
    g.setRows(static_cast<int>(shape.rows.size()));
    g.setCols(cols);
    g.setFixedRows(shape.fixedRows);
    g.setFixedCols(shape.fixedCols);
    g.setFrozenCols(shape.frozenCols);
    for (int r = 0; r < g.rows(); ++r) {
        const QStringList cells = shape.rows[static_cast<size_t>(r)].split('\t');
        for (int c = 0; c < cols; ++c) g.setTextMatrix(r, c, cells.value(c));
    }
    return g;
}

struct MapperCase {
    const char* name;
    GridShape shape;
    QStringList labels;
    std::vector<double> keys;
    QStringList pointLabels;
    std::vector<std::vector<double>> values;
};

class ChartDataMapper : public ::testing::TestWithParam<MapperCase> {};

TEST_P(ChartDataMapper, ReadsSeriesPointsAndValues) {
    const MapperCase& c = GetParam();
    grid::GridModel g = makeGrid(c.shape);
    const ChartData data = loadChartData(g);
    EXPECT_EQ(data.seriesLabels, c.labels);
    EXPECT_EQ(data.pointKeys, c.keys);
    EXPECT_EQ(data.pointLabels, c.pointLabels);
    ASSERT_EQ(data.values.size(), c.values.size());
    for (size_t s = 0; s < c.values.size(); ++s) EXPECT_EQ(data.values[s], c.values[s]) << "series " << s;
}

const MapperCase mapperCases[] = {
    {"OneHeaderRowKeepsDefaultLabels",
     {1, 1, 1, {"\tBrand\tSpend\tSpots", "\tAlpha\t1,200\t3", "\tBeta\t80\t"}},
     {"Series 1", "Series 2"},
     {0, 0},
     {"Alpha", "Beta"},
     {{1200, 80}, {3, 0}}},
    {"TwoHeaderRowsLabelFromTheRowAboveTheLast",
     {2, 1, 2,
      {"\tMedia\tBrand\tJan\tJan\tFeb", "\t\t\tSpend\tSpots\tSpend", "\tTV\tAlpha\t.25\t1\t2",
       "\tRadio\tBeta\t1.5\t4\t"}},
     {"Jan", "Jan", "Feb"},
     {0, 0},
     {"TV - Alpha", "Radio - Beta"},
     {{0.25, 1.5}, {1, 4}, {2, 0}}},
    {"EmptyInnermostHeadingIsNone",
     {3, 0, 1, {"Year\t2023\t2024", "Month\t\tMar", "Region\tUnits\tUnits", "7\t10\t20"}},
     {"None", "Mar"},
     {7},
     {"7"},
     {{10}, {20}}},
    {"NoValueColumnsGiveNoSeries", {2, 1, 2, {"\tMedia\tBrand", "\t\t", "\tTV\tAlpha"}}, {}, {0}, {"TV - Alpha"}, {}},
    {"MoreFixedThanColumnsGivesNothing", {1, 2, 2, {"\tA\tB", "\tx\ty"}}, {}, {}, {}, {}},
    {"OneRowNegativesAndPercentages",
     {2, 1, 1, {"\tBrand\tJan\tJan", "\t\tSpend\tSpend%", "\tAlpha\t-1,250.5\t12.5%"}},
     {"Jan", "Jan"},
     {0},
     {"Alpha"},
     {{-1250.5}, {0.125}}},
    {"NumericFirstRowDimensionGivesTheKeys",
     {1, 0, 1, {"Year\tSpend", "2023\t5", "2024\t6", "2025\t7"}},
     {"Series 1"},
     {2023, 2024, 2025},
     {"2023", "2024", "2025"},
     {{5, 6, 7}}},
};

INSTANTIATE_TEST_SUITE_P(Grids, ChartDataMapper, ::testing::ValuesIn(mapperCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ChartData, AGridWithoutDataRowsIsEmpty) {
    grid::GridModel g = makeGrid({2, 1, 1, {"\tBrand\tJan", "\t\tSpend"}});
    const ChartData data = loadChartData(g);
    EXPECT_TRUE(data.empty());
    EXPECT_EQ(data.pointCount(), 0);
}

}  // namespace
}  // namespace vantrep::graph
