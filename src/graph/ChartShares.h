// The 100 % stacked area chart's numbers: each point's values as shares of
// the point's total, in percent, and their running sums (the tops of the
// stacked areas).
#pragma once

#include <vector>

#include "graph/ChartData.h"

namespace vantrep::graph {

// shares[s][p] = values[s][p] / sum over s of values[.][p] * 100. An area
// cannot stack below its neighbour, so negative values count as 0; a point
// whose total is not above 0 gives 0 for every series.
std::vector<std::vector<double>> percentShares(const ChartData& data);

// The running sums of `shares` over the series: tops[s][p] = shares[0][p] +
// ... + shares[s][p]; the last series tops out at 100 (or 0).
std::vector<std::vector<double>> stackedTops(const std::vector<std::vector<double>>& shares);

}  // namespace vantrep::graph
