#include "graph/ChartShares.h"

#include <algorithm>

namespace vantrep::graph {

std::vector<std::vector<double>> percentShares(const ChartData& data) {
    std::vector<std::vector<double>> shares(data.values.size());
    const size_t points = data.values.empty() ? 0 : data.values.front().size();
    std::vector<double> totals(points, 0.0);
    for (const std::vector<double>& series : data.values)
        for (size_t p = 0; p < points; ++p) totals[p] += std::max(0.0, series[p]);
    for (size_t s = 0; s < data.values.size(); ++s) {
        shares[s].resize(points);
        for (size_t p = 0; p < points; ++p)
            shares[s][p] = totals[p] > 0 ? std::max(0.0, data.values[s][p]) / totals[p] * 100.0 : 0.0;
    }
    return shares;
}

std::vector<std::vector<double>> stackedTops(const std::vector<std::vector<double>>& shares) {
    std::vector<std::vector<double>> tops = shares;
    for (size_t s = 1; s < tops.size(); ++s)
        for (size_t p = 0; p < tops[s].size(); ++p) tops[s][p] += tops[s - 1][p];
    return tops;
}

}  // namespace vantrep::graph
