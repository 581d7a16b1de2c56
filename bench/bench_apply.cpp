// bench_apply [--runs K] [--dir D]: times the layout designer's Apply on the
// export benchmark's 1,000,000-record summary, from the call to the refilled
// grid model on the open connection: MEDIA moved from the rows to the
// columns (a second column group beside MONTH), applied; then moved back in
// front of BRAND, applied. The report is opened and filled once as the
// command line does; each of the K rounds makes both moves. Prints the median,
// fastest and slowest Apply of each direction beside the target. See
// bench/README.md.
#include <QFont>
#include <QGuiApplication>
#include <QImage>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "analysis/ReportRun.h"
#include "bench/BenchSupport.h"
#include "bench/ExportBenchFolders.h"
#include "design/LayoutDesigner.h"
#include "grid/FontMeasure.h"
#include "session/ReportOpening.h"
#include "session/StartUp.h"

namespace {

namespace fs = std::filesystem;
using namespace vantrep;
using Clock = std::chrono::steady_clock;

constexpr double targetMs = 150;

// The data row of designer grid `id` showing `caption`; -1 when none does.
int rowOf(const design::LayoutDesigner& designer, design::DesignGrid id, const QString& caption) {
    const grid::GridModel& g = designer.grids()[id];
    for (int r = g.fixedRows(); r < g.rows(); ++r)
        if (design::RowCaption(g, id, r) == caption) return r;
    return -1;
}

struct Move {
    const char* name;
    design::DesignGrid from;
    design::DesignGrid to;
    int targetRow;  // 0 the header row
    std::vector<double> times;
};

void printFigure(Move& move, int gridRows) {
    const double mid = bench::median(move.times);
    const auto [fastest, slowest] = std::minmax_element(move.times.begin(), move.times.end());
    std::printf("%-22s %10d %10.1f %10.1f %10.1f %6.0f ms %s\n", move.name, gridRows, mid, *fastest, *slowest,
                targetMs, mid <= targetMs ? "PASS" : "MISS");
}

}  // namespace

int main(int argc, char** argv) {
    bench::BenchOptions options;
    if (!bench::parseBenchOptions(argc, argv, "bench_apply", options)) return 2;
#ifndef NDEBUG
    std::printf("warning: not a Release build; the figures say little\n");
#endif
    try {
        fs::create_directories(options.dir);
        const fs::path folder = bench::exportBenchFolder(options.dir, bench::summaryBenchFolder);
        bench::prepareHeadlessRun(options.dir / "tmp");
        int qtArgc = 1;
        char name[] = "bench_apply";
        char* qtArgv[] = {name, nullptr};
        QGuiApplication app(qtArgc, qtArgv);
        bench::QuietUi ui;
        const QString report = QString::fromStdString((folder / "DATA.DBF").string());
        session::Session session(ui, report);
        if (session::OpenDizave(session, report) != session::OpenOutcome::Opened) {
            std::fprintf(stderr, "bench_apply: the report did not open\n");
            return 1;
        }
        grid::GridModel grid;
        grid::FontMeasure measure{QFont()};
        QImage clipButton(16, 16, QImage::Format_ARGB32);
        clipButton.fill(Qt::transparent);
        const analysis::GridTarget target{grid, measure, clipButton};
        // The first fill decodes the table, as opening the report does.
        if (!analysis::RefillReport(session, target)) {
            std::fprintf(stderr, "bench_apply: the fill failed\n");
            return 1;
        }

        QString media;
        for (int i = 1; i <= session.aDims.upperBound(); ++i)
            if (session.aDims(i).FName.trimmed() == "MEDIA") media = session.aDims(i).FDesc.trimmed();
        Move toColumns{"rows -> columns", design::DesignGrid::Rows, design::DesignGrid::Columns, 0, {}};
        Move toRows{"columns -> rows", design::DesignGrid::Columns, design::DesignGrid::Rows, 1, {}};
        int rowsAfter[2] = {0, 0};
        for (int r = 0; r < options.runs; ++r) {
            int k = 0;
            for (Move* move : {&toColumns, &toRows}) {
                // A new designer each time, as the toolbar opens one.
                design::LayoutDesigner designer(session, [&] { return analysis::RefillReport(session, target); });
                designer.load();
                const int row = rowOf(designer, move->from, media);
                const Clock::time_point start = Clock::now();
                if (row < 0 || !designer.dropOnDimensionGrid(move->from, row, row, move->to, move->targetRow)) {
                    std::fprintf(stderr, "bench_apply: the designer refused the move %s\n", move->name);
                    return 1;
                }
                if (!designer.apply()) {
                    std::fprintf(stderr, "bench_apply: the report did not fill after the move %s\n", move->name);
                    return 1;
                }
                move->times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
                rowsAfter[k++] = grid.rows();
            }
        }
        std::printf("Apply in the layout designer (drop + Apply + refilled grid model), %llu records; %d rounds, "
                    "median\n\n",
                    static_cast<unsigned long long>(bench::summaryBenchFolder.rows), options.runs);
        std::printf("%-22s %10s %10s %10s %10s %9s %6s\n", "move of MEDIA", "grid rows", "median ms", "min ms",
                    "max ms", "target", "");
        printFigure(toColumns, rowsAfter[0]);
        printFigure(toRows, rowsAfter[1]);
        session::CloseSession(session);
        const bool pass = bench::median(toColumns.times) <= targetMs && bench::median(toRows.times) <= targetMs;
        return pass ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_apply: %s\n", e.what());
        return 1;
    }
}
