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

#include "bench/AdTableGenerator.h"
#include "bench/ReportSampleFolders.h"
#include "engine/EngineError.h"

namespace {

namespace fs = std::filesystem;
using vantrep::bench::Placement;
using Clock = std::chrono::steady_clock;

constexpr uint64_t benchSeed = 1;

// Two row dimensions, months across, three variables, spend with percentages.
const std::vector<Placement> summaryPlacements = {
    {"MEDIA", "R", 1, -1, false, false, 0, "Spend by media, brand and month"},
    {"BRAND", "R", 2},
    {"MONTH", "C", 1, 0},
    {"SPEND", "N", 1, -1, true, false, 1000},
    {"SPOTS", "N", 2},
    {"DURATION", "N", 3, -1, false, false, 60},
};

// Three group levels: media, channel, brand.
const std::vector<Placement> detailedPlacements = {
    {"MEDIA", "", 1, -1, false, true, 1, "Spots by media, channel and brand"},
    {"CHANNEL", "", 2, -1, false, true, 2},
    {"BRAND", "", 3, -1, false, true, 3},
    {"DATE", "", 0, -1, false, true, 4},
    {"TIME", "", 0, -1, false, true, 5},
    {"AD_DESC", "", 0, -1, false, true, 6},
    {"AD_TYPE", "", 0, -1, false, true, 7},
    {"DURATION", "", 0, -1, false, true, 8},
    {"SPOTS", "", 0, -1, false, true, 9},
    {"SPEND", "", 0, -1, false, true, 10},
    {"LANGUAGE", "", 0, -1, false, true, 11},
    {"CLIPDET"},
};

// The summary runs on the engine benchmark's table (ten fields, 123 MB for a
// million records), the listing on the wide table of the fixed reports.
void writeSummaryFolder(const fs::path& folder, uint64_t rows) {
    fs::create_directories(folder);
    vantrep::bench::writeAdTable((folder / "DATA.DBF").string(), rows, benchSeed);
    std::vector<vantrep::bench::ReportField> fields;
    for (const vantrep::engine::dbf::FieldSpec& spec : vantrep::bench::AdTableGenerator::fields())
        fields.push_back({spec, spec.name});
    vantrep::bench::writeStructureFile((folder / "Spends.str").string(), fields, summaryPlacements);
}

void writeDetailedFolder(const fs::path& folder, uint64_t rows) {
    vantrep::bench::writeReportFolder(folder.string(), rows, benchSeed, "Spots.dtr", detailedPlacements, true);
}

struct Case {
    const char* name;
    uint64_t rows;
    const char* structureName;
    void (*write)(const fs::path& folder, uint64_t rows);
    double targetMs;
    double memoryTargetMb;  // 0: none
};

const std::vector<Case> cases = {
    {"summary", 1000000, "Spends.str", writeSummaryFolder, 350, 0},
    {"detailed", 200000, "Spots.dtr", writeDetailedFolder, 1500, 600},
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

// The case's folder, written once and kept; named after rows and seed.
fs::path folderFor(const fs::path& dir, const Case& c) {
    fs::path folder = dir / (std::string(c.name) + "_" + std::to_string(c.rows) + "_" + std::to_string(benchSeed) + "_V1");
    if (!fs::exists(folder / c.structureName)) {
        std::printf("writing %s ...\n", folder.c_str());
        std::fflush(stdout);
        fs::remove_all(folder);
        c.write(folder, c.rows);
    }
    return folder;
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
            const fs::path folder = folderFor(dir, c);
            const fs::path out = dir / (std::string(c.name) + ".tsv");
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
            std::printf("%-9s %9llu %10ld %9.1f ms %7.0f ms %9.1f%s %s\n", c.name,
                        static_cast<unsigned long long>(c.rows), ok ? lineCount(out) : -1L, ms, c.targetMs, peak,
                        memoryTarget, !ok ? "FAILED" : pass ? "PASS" : "MISS");
        }
        return allPass ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_export: %s\n", e.what());
        return 1;
    }
}
