#include "graph/PointThinning.h"

#include <algorithm>

namespace vantrep::graph {

namespace {

void addBucketExtremes(const std::vector<double>& values, int buckets, std::vector<char>& keep) {
    const size_t n = values.size();
    if (n == 0) return;
    keep[0] = 1;
    keep[n - 1] = 1;
    if (buckets < 1 || n <= 2 * static_cast<size_t>(buckets)) {
        std::fill(keep.begin(), keep.end(), 1);
        return;
    }
    for (int b = 0; b < buckets; ++b) {
        const size_t first = n * static_cast<size_t>(b) / static_cast<size_t>(buckets);
        const size_t last = n * static_cast<size_t>(b + 1) / static_cast<size_t>(buckets);
        if (first >= last) continue;
        auto [low, high] = std::minmax_element(values.begin() + static_cast<long>(first),
                                               values.begin() + static_cast<long>(last));
        keep[static_cast<size_t>(low - values.begin())] = 1;
        keep[static_cast<size_t>(high - values.begin())] = 1;
    }
}

std::vector<int> keptIndices(const std::vector<char>& keep) {
    std::vector<int> indices;
    for (size_t i = 0; i < keep.size(); ++i)
        if (keep[i]) indices.push_back(static_cast<int>(i));
    return indices;
}

}  // namespace

std::vector<int> thinnedIndices(const std::vector<double>& values, int buckets) {
    std::vector<char> keep(values.size(), 0);
    addBucketExtremes(values, buckets, keep);
    return keptIndices(keep);
}

std::vector<int> peakIndices(const std::vector<double>& values, int buckets) {
    const size_t n = values.size();
    std::vector<char> keep(n, 0);
    if (n == 0) return {};
    if (buckets < 1 || n <= 2 * static_cast<size_t>(buckets)) return thinnedIndices(values, buckets);
    keep[0] = 1;
    keep[n - 1] = 1;
    for (int b = 0; b < buckets; ++b) {
        const size_t first = n * static_cast<size_t>(b) / static_cast<size_t>(buckets);
        const size_t last = n * static_cast<size_t>(b + 1) / static_cast<size_t>(buckets);
        if (first >= last) continue;
        auto high = std::max_element(values.begin() + static_cast<long>(first), values.begin() + static_cast<long>(last));
        keep[static_cast<size_t>(high - values.begin())] = 1;
    }
    return keptIndices(keep);
}

std::vector<int> strideIndices(int count, int maxPoints) {
    std::vector<int> indices;
    if (count <= 0) return indices;
    const int step = maxPoints < 1 ? 1 : std::max(1, (count + maxPoints - 1) / maxPoints);
    for (int i = 0; i < count; i += step) indices.push_back(i);
    if (indices.back() != count - 1) indices.push_back(count - 1);
    return indices;
}

std::vector<int> thinnedIndices(const std::vector<std::vector<double>>& series, int buckets) {
    if (series.empty()) return {};
    std::vector<char> keep(series.front().size(), 0);
    for (const std::vector<double>& values : series) addBucketExtremes(values, buckets, keep);
    return keptIndices(keep);
}

}  // namespace vantrep::graph
