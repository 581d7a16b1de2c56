// bench_xlsx [--runs K] [--dir D]: times the spreadsheet export end to end on
// the export benchmark's large summary and listing: a fresh process opens the
// report as the command line does, fills the grid and writes the .xlsx; the
// figure runs from process start to the closed file. Prints each figure, the
// child's own split (open and fill, workbook) and its peak memory beside the
// targets. See bench/README.md.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFont>
#include <QGuiApplication>
#include <QImage>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "analysis/ReportRun.h"
#include "analysis/SpreadsheetExport.h"
#include "bench/BenchSupport.h"
#include "bench/ExportBenchFolders.h"
#include "engine/EngineError.h"
#include "grid/FontMeasure.h"
#include "session/Criteria.h"
#include "session/ReportOpening.h"
#include "session/StartUp.h"

namespace {

namespace fs = std::filesystem;
using namespace vantrep;
using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The child: what `vantrep --export OUT.xlsx FOLDER/DATA.DBF` does. Prints
// "fill-ms write-ms sheet-rows" on standard output.
int runChild(const QString& folder, const QString& out) {
    int argc = 1;
    char name[] = "bench_xlsx";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    const Clock::time_point start = Clock::now();
    bench::QuietUi ui;
    const QString report = folder + "/DATA.DBF";
    session::Session session(ui, report);
    if (session::OpenDizave(session, report) != session::OpenOutcome::Opened) return 1;
    grid::GridModel grid;
    grid::FontMeasure measure{QFont()};
    QImage clipButton(16, 16, QImage::Format_ARGB32);
    clipButton.fill(Qt::transparent);
    if (!analysis::RefillReport(session, analysis::GridTarget{grid, measure, clipButton})) return 1;
    const double fillMs = msSince(start);
    const Clock::time_point write = Clock::now();
    int status = 0;
    try {
        analysis::ExportGrid(grid,
                             analysis::SpreadsheetContentFor(session, grid, session::getCriteria(QString(), session.sReportTitle),
                                                             folder + "/"),
                             out);
    } catch (const engine::EngineError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        status = 1;
    }
    std::printf("%.1f %.1f %d\n", fillMs, msSince(write), grid.rows());
    session::CloseSession(session);
    return status;
}

struct Case {
    const bench::ExportBenchFolder& folder;
    double targetMs;
    double memoryTargetMb;  // 0: none
};

const std::vector<Case> cases = {
    {bench::summaryBenchFolder, 1500, 400},
    {bench::detailedBenchFolder, 6000, 0},
};

struct Run {
    double ms = 0, fillMs = 0, writeMs = 0, peakMb = 0;
    int gridRows = 0;
    bool ok = false;
};

Run runExport(const char* self, const fs::path& folder, const fs::path& out, const fs::path& tmp) {
    fs::remove(out);
    int channel[2];
    if (pipe(channel) != 0) return {};
    const Clock::time_point start = Clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        dup2(channel[1], STDOUT_FILENO);
        close(channel[0]);
        setenv("TMPDIR", tmp.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        execl(self, self, "--child", folder.c_str(), out.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(channel[1]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    Run run;
    run.ms = msSince(start);
    run.peakMb = usage.ru_maxrss / 1024.0;
    char buffer[128] = {};
    const ssize_t n = read(channel[0], buffer, sizeof buffer - 1);
    close(channel[0]);
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0 && fs::exists(out) && n > 0 &&
             std::sscanf(buffer, "%lf %lf %d", &run.fillMs, &run.writeMs, &run.gridRows) == 3;
    return run;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--child") return runChild(argv[2], argv[3]);
    bench::BenchOptions options;
    if (!bench::parseBenchOptions(argc, argv, "bench_xlsx", options)) return 2;
    const int runs = options.runs;
    const fs::path& dir = options.dir;
#ifndef NDEBUG
    std::printf("warning: not a Release build; the figures say little\n");
#endif
    try {
        const fs::path self = fs::canonical("/proc/self/exe");
        fs::create_directories(dir);
        const fs::path tmp = dir / "tmp";
        fs::create_directories(tmp);
        std::printf(".xlsx export, process start to closed file; %d runs per figure, median\n\n", runs);
        std::printf("%-9s %9s %9s %10s %10s %10s %9s %14s %6s\n", "report", "records", "grid rows", "fill ms",
                    "write ms", "time ms", "target", "peak MB", "");
        bool allPass = true;
        for (const Case& c : cases) {
            const fs::path folder = bench::exportBenchFolder(dir, c.folder);
            const fs::path out = dir / (std::string(c.folder.name) + ".xlsx");
            runExport(self.c_str(), folder, out, tmp);  // warms the page cache
            std::vector<double> times, fills, writes;
            double peak = 0;
            bool ok = true;
            int gridRows = 0;
            for (int r = 0; r < runs; ++r) {
                Run run = runExport(self.c_str(), folder, out, tmp);
                ok = ok && run.ok;
                times.push_back(run.ms);
                fills.push_back(run.fillMs);
                writes.push_back(run.writeMs);
                peak = std::max(peak, run.peakMb);
                gridRows = run.gridRows;
            }
            const double ms = bench::median(times);
            const bool pass = ok && ms <= c.targetMs && (c.memoryTargetMb == 0 || peak <= c.memoryTargetMb);
            allPass = allPass && pass;
            char memoryTarget[32] = "";
            if (c.memoryTargetMb > 0) std::snprintf(memoryTarget, sizeof memoryTarget, " (<= %.0f)", c.memoryTargetMb);
            std::printf("%-9s %9llu %9d %10.1f %10.1f %10.1f %6.0f ms %7.1f%s %s\n", c.folder.name,
                        static_cast<unsigned long long>(c.folder.rows), gridRows, bench::median(fills), bench::median(writes), ms,
                        c.targetMs, peak, memoryTarget, !ok ? "FAILED" : pass ? "PASS" : "MISS");
            if (ok) std::printf("%-9s workbook %.1f MB\n", "", fs::file_size(out) / 1048576.0);
        }
        return allPass ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_xlsx: %s\n", e.what());
        return 1;
    }
}
