// What every benchmark shares: its options and the median of its runs.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace vantrep::bench {

// `--runs K` (runs per figure), `--dir D` (the folder of the tables) and, for
// the benchmarks that have one, `--large` (the largest table too).
struct BenchOptions {
    int runs = 5;
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "vantrep-bench";
    bool large = false;
};

// Reads the options; one it does not know (or `--large` where
// `largeAllowed` is false) prints the usage of program `name` and gives
// false.
inline bool parseBenchOptions(int argc, char** argv, const char* name, BenchOptions& options,
                              bool largeAllowed = false) {
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--runs" && i + 1 < argc) options.runs = std::max(1, std::atoi(argv[++i]));
        else if (option == "--dir" && i + 1 < argc) options.dir = argv[++i];
        else if (option == "--large" && largeAllowed) options.large = true;
        else {
            std::fprintf(stderr, "usage: %s [--runs K] [--dir D]%s\n", name, largeAllowed ? " [--large]" : "");
            return false;
        }
    }
    return true;
}

// The median of `values`; 0 for none.
inline double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace vantrep::bench
