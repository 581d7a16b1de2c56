// Thinning of long series for display: a chart of thousands of points per
// series draws no more detail than its width in pixels holds, so each series
// is drawn through the points that keep its shape (the first, the last and
// the lowest and highest of every bucket). Printed and exported pictures are
// drawn at their own size through the same rule; the data itself is never
// changed.
#pragma once

#include <vector>

namespace vantrep::graph {

// The indices of the points to draw, ascending. Up to `buckets` buckets of
// consecutive points keep their minimum and maximum; with `values` no longer
// than 2 * buckets, every index is kept. The first and last index are kept.
std::vector<int> thinnedIndices(const std::vector<double>& values, int buckets);

// For areas, whose fill shows the top edge only: each bucket's highest
// point (the first of equals), with the first and last index; every index
// when `values` is no longer than 2 * buckets.
std::vector<int> peakIndices(const std::vector<double>& values, int buckets);

// For series that must share their points (stacked areas): every k-th of
// `count` indices, k the smallest step giving at most `maxPoints`, and the
// last index.
std::vector<int> strideIndices(int count, int maxPoints);

// The union of the indices several series keep (ascending), so that stacked
// series share their points.
std::vector<int> thinnedIndices(const std::vector<std::vector<double>>& series, int buckets);

}  // namespace vantrep::graph
