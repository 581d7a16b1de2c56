// A small pseudo-random generator whose output is fixed by its seed alone, on
// every machine and library: SplitMix64 for the bits and our own mappings from
// bits to ranges (the standard distributions differ between libraries). The
// sample tables and the benchmark's table depend on it byte for byte.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace vantrep::bench {

class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}

    uint64_t next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform in [0, n); n > 0. Multiply-shift: no division, no loop.
    uint64_t below(uint64_t n) {
        return static_cast<uint64_t>((static_cast<unsigned __int128>(next()) * n) >> 64);
    }

    // Uniform in [low, high], both included.
    int64_t between(int64_t low, int64_t high) {
        return low + static_cast<int64_t>(below(static_cast<uint64_t>(high - low) + 1));
    }

private:
    uint64_t state_;
};

// A fixed choice among n items with integer weights: item i is drawn with
// probability weight[i] / sum. Integer arithmetic only, so the draws are the
// same everywhere.
class WeightedChoice {
public:
    explicit WeightedChoice(const std::vector<uint64_t>& weights) {
        uint64_t total = 0;
        for (uint64_t w : weights) cumulative_.push_back(total += w);
    }

    // Weights 1 / (rank + offset), scaled to integers: Zipf's law with exponent
    // 1. A larger offset flattens the head.
    static WeightedChoice zipf(int count, int offset) {
        std::vector<uint64_t> weights;
        for (int rank = 0; rank < count; ++rank)
            weights.push_back((uint64_t(1) << 40) / static_cast<uint64_t>(rank + offset));
        return WeightedChoice(weights);
    }

    int draw(Random& random) const {
        uint64_t r = random.below(cumulative_.back());
        return static_cast<int>(std::upper_bound(cumulative_.begin(), cumulative_.end(), r) -
                                cumulative_.begin());
    }

private:
    std::vector<uint64_t> cumulative_;
};

// Fisher-Yates shuffle driven by Random.
template <typename T>
void shuffle(std::vector<T>& items, Random& random) {
    for (size_t i = items.size(); i > 1; --i) std::swap(items[i - 1], items[random.below(i)]);
}

}  // namespace vantrep::bench
