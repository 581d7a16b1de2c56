// bench_export [--runs K] [--dir D]: times `vantrep --export` end to end, from
// process start to the written file, on a large summary report and a large
// detailed listing, and prints each figure and the peak memory beside its
// target. See bench/README.md.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/BenchOptions.h"
#include "bench/ExportBenchFolders.h"
#include "bench/ExportRun.h"
#include "engine/EngineError.h"

namespace {

namespace fs = std::filesystem;

struct Case {
    const vantrep::bench::ExportBenchFolder& folder;
    double targetMs;
    double memoryTargetMb;  // 0: none
};

const std::vector<Case> cases = {
    {vantrep::bench::summaryBenchFolder, 350, 0},
    {vantrep::bench::detailedBenchFolder, 1500, 600},
};

}  // namespace

int main(int argc, char** argv) {
    vantrep::bench::BenchOptions options;
    if (!vantrep::bench::parseBenchOptions(argc, argv, "bench_export", options)) return 2;
    const int runs = options.runs;
    const fs::path& dir = options.dir;
#ifndef NDEBUG
    std::printf("warning: not a Release build; the figures say little\n");
#endif
    try {
        fs::create_directories(dir);
        const fs::path tmp = dir / "tmp";
        fs::create_directories(tmp);
        std::printf("vantrep --export, process start to written file; %d runs per figure, median\n\n", runs);
        std::printf("%-9s %9s %10s %12s %10s %12s %6s\n", "report", "records", "grid lines", "time ms", "target",
                    "peak MB", "");
        bool allPass = true;
        for (const Case& c : cases) {
            const fs::path folder = vantrep::bench::exportBenchFolder(dir, c.folder);
            const fs::path out = dir / (std::string(c.folder.name) + ".tsv");
            vantrep::bench::runExport(VANTREP_PROGRAM, folder / "DATA.DBF", out, tmp);  // warms the page cache
            std::vector<double> times;
            double peak = 0;
            bool ok = true;
            for (int r = 0; r < runs; ++r) {
                const vantrep::bench::ExportRun run = vantrep::bench::runExport(VANTREP_PROGRAM, folder / "DATA.DBF", out, tmp);
                ok = ok && run.ok;
                times.push_back(run.ms);
                peak = std::max(peak, run.peakMb);
            }
            const double ms = vantrep::bench::median(times);
            const bool pass = ok && ms <= c.targetMs && (c.memoryTargetMb == 0 || peak <= c.memoryTargetMb);
            allPass = allPass && pass;
            char memoryTarget[32] = "";
            if (c.memoryTargetMb > 0) std::snprintf(memoryTarget, sizeof memoryTarget, " (<= %.0f)", c.memoryTargetMb);
            std::printf("%-9s %9llu %10ld %9.1f ms %7.0f ms %9.1f%s %s\n", c.folder.name,
                        static_cast<unsigned long long>(c.folder.rows), ok ? vantrep::bench::lineCount(out) : -1L, ms, c.targetMs, peak,
                        memoryTarget, !ok ? "FAILED" : pass ? "PASS" : "MISS");
        }
        return allPass ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_export: %s\n", e.what());
        return 1;
    }
}
