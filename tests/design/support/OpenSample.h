// A designer test on an open sample report: a copy of samples/<name> in a
// temporary folder, the report run as the main window runs it, and the
// designer's re-run filling the same grid.
#pragma once

#include <QFile>
#include <QImage>
#include <memory>

#include "analysis/ReportRun.h"
#include "analysis/support/ReportFolderTest.h"
#include "design/LayoutDesigner.h"
#include "support/SampleCopy.h"

namespace vantrep::design::testing {

class NoFixedReports : public analysis::FixedReportPrinter {
public:
    bool printFixedReport(session::Session&, int) override { return false; }
};

class OpenSample : public analysis::ReportFolderTest {
protected:
    // A copy of samples/<name> in the test's folder; returns it ending in "/".
    QString copySample(const QString& name) { return vantrep::testing::copySampleFolder(name, temp.path()); }
    // Opens `argument` as the program started with `commandLine` would.
    analysis::RunOutcome openSession(const QString& argument, const QString& commandLine = QString()) {
        session = std::make_unique<session::Session>(ui, commandLine.isEmpty() ? argument : commandLine);
        return analysis::RunReport(*session, argument, target(), printer).outcome;
    }
    // Opens `argument` and makes a designer whose re-run refills `grid`.
    analysis::RunOutcome open(const QString& argument, const QString& commandLine = QString()) {
        const analysis::RunOutcome outcome = openSession(argument, commandLine);
        designer = std::make_unique<LayoutDesigner>(*session, [this] {
            ++reruns;
            return analysis::RefillReport(*session, target());
        });
        designer->load();
        return outcome;
    }
    analysis::GridTarget target() { return {grid, measure, clip}; }
    int fieldIndex(const QString& name) const {
        for (int i = 1; i <= session->aDims.upperBound(); ++i)
            if (session->aDims(i).FName == name) return i;
        return 0;
    }
    // The data row of `caption` in a designer grid, -1 when absent.
    int rowOf(DesignGrid id, const QString& caption) {
        const grid::GridModel& g = designer->grids()[id];
        for (int r = g.fixedRows(); r < g.rows(); ++r)
            if (RowCaption(g, id, r) == caption) return r;
        return -1;
    }

    std::unique_ptr<session::Session> session;
    std::unique_ptr<LayoutDesigner> designer;
    grid::GridModel grid;
    QImage clip{16, 16, QImage::Format_ARGB32};
    NoFixedReports printer;
    int reruns = 0;
};

}  // namespace vantrep::design::testing
