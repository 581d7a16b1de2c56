// bench_export [--runs K] [--dir D]: times `vantrep --export` end to end, from
// process start to the written file, on a large summary report and a large
// detailed listing, and prints each figure and the peak memory beside its
// target. See bench/README.md.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/ExportBenchFolders.h"
#include "engine/EngineError.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Case {
    const vantrep::bench::ExportBenchFolder& folder;
    double targetMs;
    double memoryTargetMb;  // 0: none
};

const std::vector<Case> cases = {
    {vantrep::bench::summaryBenchFolder, 350, 0},
    {vantrep::bench::detailedBenchFolder, 1500, 600},
};

struct Run {
    double ms = 0;
    double peakMb = 0;
    bool ok = false;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Starts the program as a delivering application would and waits for it.
Run runExport(const fs::path& folder, const fs::path& out, const fs::path& tmp) {
    fs::remove(out);
    const std::string report = (folder / "DATA.DBF").string();
    Clock::time_point start = Clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        setenv("TMPDIR", tmp.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        execl(VANTREP_PROGRAM, VANTREP_PROGRAM, "--export", out.c_str(), report.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    Run run;
    run.ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    run.peakMb = usage.ru_maxrss / 1024.0;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0 && fs::exists(out);
    return run;
}

long lineCount(const fs::path& file) {
    std::ifstream in(file);
    long lines = 0;
    for (std::string line; std::getline(in, line);) ++lines;
    return lines;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 5;
    fs::path dir = fs::temp_directory_path() / "vantrep-bench";
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string option = argv[i];
        if (option == "--runs") runs = std::max(1, std::atoi(argv[i + 1]));
        else if (option == "--dir") dir = argv[i + 1];
        else {
            std::fprintf(stderr, "usage: bench_export [--runs K] [--dir D]\n");
            return 2;
        }
    }
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
            runExport(folder, out, tmp);  // warms the page cache
            std::vector<double> times;
            double peak = 0;
            bool ok = true;
            for (int r = 0; r < runs; ++r) {
                Run run = runExport(folder, out, tmp);
                ok = ok && run.ok;
                times.push_back(run.ms);
                peak = std::max(peak, run.peakMb);
            }
            const double ms = median(times);
            const bool pass = ok && ms <= c.targetMs && (c.memoryTargetMb == 0 || peak <= c.memoryTargetMb);
            allPass = allPass && pass;
            char memoryTarget[32] = "";
            if (c.memoryTargetMb > 0) std::snprintf(memoryTarget, sizeof memoryTarget, " (<= %.0f)", c.memoryTargetMb);
            std::printf("%-9s %9llu %10ld %9.1f ms %7.0f ms %9.1f%s %s\n", c.folder.name,
                        static_cast<unsigned long long>(c.folder.rows), ok ? lineCount(out) : -1L, ms, c.targetMs, peak,
                        memoryTarget, !ok ? "FAILED" : pass ? "PASS" : "MISS");
        }
        return allPass ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_export: %s\n", e.what());
        return 1;
    }
}
