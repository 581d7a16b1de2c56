// bench_rerun [--runs K] [--dir D]: times the re-run of an open report, as the
// layout designer's Apply makes it: RefillReport (the cross-tab statement
// built from the session's layout and page filter, run on the open
// connection, and the summary grid filled and auto-sized again) on the export
// benchmark's 1,000,000-record summary. The report is opened once as the
// command line opens it, then filled K + 1 times; the first fill is dropped,
// as it decodes the table, which a re-run finds decoded already. Prints the
// median, the fastest and the slowest beside the target. See bench/README.md.
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
#include "bench/BenchSupport.h"
#include "bench/ExportBenchFolders.h"
#include "grid/FontMeasure.h"
#include "session/ReportOpening.h"
#include "session/StartUp.h"

namespace {

namespace fs = std::filesystem;
using namespace vantrep;
using Clock = std::chrono::steady_clock;

constexpr double targetMs = 120;

}  // namespace

int main(int argc, char** argv) {
    bench::BenchOptions options;
    if (!bench::parseBenchOptions(argc, argv, "bench_rerun", options)) return 2;
    const int runs = options.runs;
    const fs::path& dir = options.dir;
#ifndef NDEBUG
    std::printf("warning: not a Release build; the figures say little\n");
#endif
    try {
        fs::create_directories(dir);
        const fs::path folder = bench::exportBenchFolder(dir, bench::summaryBenchFolder);
        bench::prepareHeadlessRun(dir / "tmp");

        int qtArgc = 1;
        char name[] = "bench_rerun";
        char* qtArgv[] = {name, nullptr};
        QGuiApplication app(qtArgc, qtArgv);
        bench::QuietUi ui;
        const QString report = QString::fromStdString((folder / "DATA.DBF").string());
        session::Session session(ui, report);
        if (session::OpenDizave(session, report) != session::OpenOutcome::Opened) {
            std::fprintf(stderr, "bench_rerun: the report did not open\n");
            return 1;
        }
        grid::GridModel grid;
        grid::FontMeasure measure{QFont()};
        QImage clipButton(16, 16, QImage::Format_ARGB32);
        clipButton.fill(Qt::transparent);
        const analysis::GridTarget target{grid, measure, clipButton};

        std::vector<double> times;
        for (int r = 0; r <= runs; ++r) {
            const Clock::time_point start = Clock::now();
            if (!analysis::RefillReport(session, target)) {
                std::fprintf(stderr, "bench_rerun: the fill failed\n");
                return 1;
            }
            if (r > 0) times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        }
        std::sort(times.begin(), times.end());
        const double median = bench::median(times);
        std::printf("re-run of the open summary (RefillReport), %llu records, %d grid rows; %d runs, median\n\n",
                    static_cast<unsigned long long>(bench::summaryBenchFolder.rows), grid.rows(), runs);
        std::printf("%-10s %10s %10s %10s %9s %6s\n", "report", "median ms", "min ms", "max ms", "target", "");
        std::printf("%-10s %10.1f %10.1f %10.1f %6.0f ms %s\n", "summary", median, times.front(), times.back(),
                    targetMs, median <= targetMs ? "PASS" : "MISS");
        session::CloseSession(session);
        return median <= targetMs ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_rerun: %s\n", e.what());
        return 1;
    }
}
