// bench_listing [--runs K] [--dir D] [--large]: times `vantrep --export
// OUT.tsv LISTING.dtr` on a detailed listing of every record of a
// 1,000,000-record table, from process start to the closed file, and prints
// the time and the peak memory of the program beside their goals. With
// --large a 5,000,000-record table is timed too. See bench/README.md.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/AdTableGenerator.h"
#include "bench/BenchOptions.h"
#include "bench/ExportRun.h"
#include "bench/ReportSampleFolders.h"

namespace {

namespace fs = std::filesystem;
using vantrep::bench::Placement;

constexpr uint64_t seed = 1;
constexpr const char* structureName = "Listing.dtr";
constexpr double goalMs = 6000;
constexpr double goalMb = 600;

// Every field of the table shown, grouped by media, channel and brand.
const std::vector<Placement> placements = {
    {"MEDIA", "", 1, -1, false, true, 1, "Every spot by media, channel and brand"},
    {"CHANNEL", "", 2, -1, false, true, 2},
    {"BRAND", "", 3, -1, false, true, 3},
    {"ADVERTISER", "", 0, -1, false, true, 4},
    {"DATE", "", 0, -1, false, true, 5},
    {"MONTH", "", 0, -1, false, true, 6},
    {"WEEKDAY", "", 0, -1, false, true, 7},
    {"DURATION", "", 0, -1, false, true, 8},
    {"SPOTS", "", 0, -1, false, true, 9},
    {"SPEND", "", 0, -1, false, true, 10},
};

// The folder of a listing over `rows` records, written when it is not there yet.
fs::path listingFolder(const fs::path& dir, uint64_t rows) {
    const fs::path folder = dir / ("listing_" + std::to_string(rows) + "_" + std::to_string(seed) + "_V" +
                                   std::to_string(vantrep::bench::adTableVersion));
    if (!fs::exists(folder / structureName)) {
        std::printf("writing %s ...\n", folder.c_str());
        std::fflush(stdout);
        fs::remove_all(folder);
        fs::create_directories(folder);
        vantrep::bench::writeAdTable((folder / "DATA.DBF").string(), rows, seed);
        std::vector<vantrep::bench::ReportField> fields;
        for (const auto& spec : vantrep::bench::AdTableGenerator::fields()) fields.push_back({spec, spec.name});
        vantrep::bench::writeStructureFile((folder / structureName).string(), fields, placements);
    }
    return folder;
}

// Times one table size and prints its line; true when both goals are met.
bool measure(const fs::path& dir, uint64_t rows, int runs) {
    const fs::path folder = listingFolder(dir, rows);
    const fs::path tmp = dir / "tmp";
    fs::create_directories(tmp);
    const fs::path out = dir / ("listing_" + std::to_string(rows) + ".tsv");
    vantrep::bench::runExport(VANTREP_PROGRAM, folder / structureName, out, tmp);  // warms the page cache
    std::vector<double> times, peaks;
    bool ok = true;
    for (int r = 0; r < runs; ++r) {
        const vantrep::bench::ExportRun run = vantrep::bench::runExport(VANTREP_PROGRAM, folder / structureName, out, tmp);
        ok = ok && run.ok;
        times.push_back(run.ms);
        peaks.push_back(run.peakMb);
    }
    const double ms = vantrep::bench::median(times);
    const double mb = vantrep::bench::median(peaks);
    const bool pass = ok && ms <= goalMs && mb <= goalMb;
    std::printf("%9llu %10ld %9.0f ms %9.0f MB  %s\n", static_cast<unsigned long long>(rows),
                ok ? vantrep::bench::lineCount(out) : -1L, ms, mb, !ok ? "FAILED" : pass ? "PASS" : "MISS");
    return pass;
}

}  // namespace

int main(int argc, char** argv) {
    vantrep::bench::BenchOptions options;
    options.runs = 3;
    if (!vantrep::bench::parseBenchOptions(argc, argv, "bench_listing", options, true)) return 2;
    const int runs = options.runs;
    const bool large = options.large;
    const fs::path& dir = options.dir;
#ifndef NDEBUG
    std::printf("warning: not a Release build; the figures say little\n");
#endif
    try {
        fs::create_directories(dir);
        std::printf("vantrep --export OUT.tsv %s, every record listed, process start to closed file;\n"
                    "%d runs per figure, median; goals: 1,000,000 records in <= %.0f ms and <= %.0f MB peak\n\n",
                    structureName, runs, goalMs, goalMb);
        std::printf("%9s %10s %12s %12s\n", "records", "grid lines", "time", "peak");
        bool pass = measure(dir, 1000000, runs);
        if (large) measure(dir, 5000000, runs);  // no goal of its own: shown for the trend
        return pass ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_listing: %s\n", e.what());
        return 1;
    }
}
