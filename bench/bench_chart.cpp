// bench_chart [--shots DIR]: times the chart window on two summary grids and
// prints each figure beside its target: a typical grid (20 rows x 12 months
// x 2 variables) from opening the window to its first paint and a
// RefreshGraph; the summary of a 1,000,000-record table (15,000 rows x 48
// value columns) from opening to first paint, a resize, each kind of chart
// and a close. With
// --shots the windows are saved as PNG pictures in DIR, one per chart kind.
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <QApplication>
#include <QChartView>
#include <QDir>
#include <QEvent>

#include <chrono>
#include <cstdio>
#include <memory>

#include "bench/BenchSupport.h"
#include "graph/ui/ChartWidget.h"
#include "graph/ui/frmGraph.h"
#include "grid/GridModel.h"
#include "session/Session.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace vantrep;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Notes when a widget has been painted.
class PaintWatch : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted = true;
        return QObject::eventFilter(watched, event);
    }
};

// A summary grid: two heading rows (month over variable), one label column,
// `rows` brands, `valueCols` value columns of pseudo-random spends.
void fillGrid(grid::GridModel& g, int rows, int valueCols) {
    g.setRedraw(false);
    g.setRows(rows + 2);
    g.setCols(valueCols + 2);
    g.setFixedRows(2);
    g.setFixedCols(1);
    g.setFrozenCols(1);
    g.setTextMatrix(0, 1, "Brand");
    for (int c = 0; c < valueCols; ++c) {
        g.setTextMatrix(0, c + 2, QString("M%1").arg(c / 2 + 1));
        g.setTextMatrix(1, c + 2, c % 2 ? "Spots" : "Spend");
    }
    unsigned seed = 12345;
    for (int r = 0; r < rows; ++r) {
        g.setTextMatrix(r + 2, 1, QString("Brand %1").arg(r + 1));
        for (int c = 0; c < valueCols; ++c) {
            seed = seed * 1103515245u + 12345u;
            g.setTextMatrix(r + 2, c + 2, QString::number((seed >> 8) % 100000 / 100.0, 'f', 2));
        }
    }
    g.setRedraw(true);
}

// Runs events until `watch` saw a paint, at most 30 s.
void waitForPaint(PaintWatch& watch) {
    const Clock::time_point start = Clock::now();
    while (!watch.painted && msSince(start) < 30000) QApplication::processEvents(QEventLoop::AllEvents, 50);
}

void printFigure(const char* what, double ms, double targetMs) {
    std::printf("%-44s %9.1f ms   target <= %6.0f ms  %s\n", what, ms, targetMs, ms <= targetMs ? "ok" : "OVER");
}

struct Opened {
    double firstPaintMs = 0;
};

Opened openWindow(session::Session& session, const grid::GridModel& grid, std::unique_ptr<graph::ui::frmGraph>& window) {
    PaintWatch watch;
    const Clock::time_point start = Clock::now();
    window = std::make_unique<graph::ui::frmGraph>(session, grid);
    window->chart()->view()->viewport()->installEventFilter(&watch);
    window->resize(1200, 800);
    window->show();
    waitForPaint(watch);
    Opened opened{msSince(start)};
    window->chart()->view()->viewport()->removeEventFilter(&watch);
    return opened;
}

void saveShots(graph::ui::frmGraph& window, const QString& dir, const QString& name) {
    for (const char* kind : {"line", "area", "sarea", "radar"}) {
        window.toolbarClick(kind);
        QApplication::processEvents();
        window.grab().save(dir + "/" + name + "_" + kind + ".png");
    }
    window.toolbarClick("line");
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QString shots;
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == "--shots") shots = args[2];
    if (!shots.isEmpty()) QDir().mkpath(shots);

    bench::QuietUi ui;
    session::Session session(ui, QString());

    grid::GridModel typical;
    fillGrid(typical, 20, 24);
    std::unique_ptr<graph::ui::frmGraph> window;
    printFigure("typical grid: open to first paint", openWindow(session, typical, window).firstPaintMs, 150);
    Clock::time_point start = Clock::now();
    window->RefreshGraph();
    printFigure("typical grid: RefreshGraph", msSince(start), 50);
    if (!shots.isEmpty()) saveShots(*window, shots, "typical");
    window.reset();

    grid::GridModel large;
    fillGrid(large, 15000, 48);

    printFigure("15,000 x 48 grid: open to first paint", openWindow(session, large, window).firstPaintMs, 2000);
    PaintWatch watch;
    window->chart()->view()->viewport()->installEventFilter(&watch);
    start = Clock::now();
    window->resize(900, 600);
    waitForPaint(watch);
    printFigure("15,000 x 48 grid: resize to repaint", msSince(start), 500);
    window->chart()->view()->viewport()->removeEventFilter(&watch);
    for (const char* kind : {"area", "sarea", "radar", "line"}) {
        PaintWatch kindWatch;
        window->chart()->view()->viewport()->installEventFilter(&kindWatch);
        start = Clock::now();
        window->toolbarClick(kind);
        waitForPaint(kindWatch);
        printFigure(qPrintable(QString("15,000 x 48 grid: %1 chart to repaint").arg(kind)), msSince(start), 2000);
        window->chart()->view()->viewport()->removeEventFilter(&kindWatch);
    }
    if (!shots.isEmpty()) saveShots(*window, shots, "large");
    start = Clock::now();
    window->close();
    window.reset();
    printFigure("15,000 x 48 grid: close", msSince(start), 500);
    return 0;
}
