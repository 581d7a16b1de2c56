#include "app/ExportCommand.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

#include "analysis/ReportRun.h"
#include "app/ConsoleUi.h"
#include "app/ReplacingWrite.h"
#include "engine/EngineError.h"
#include "grid/FontMeasure.h"
#include "grid/GridText.h"
#include "print/PdfWriter.h"
#include "print/PrintSurface.h"
#include "report/FixedFormatReport.h"
#include "report/GridReport.h"
#include "report/PageStamp.h"
#include "report/PreviewReport.h"
#include "session/Criteria.h"
#include "session/ReportOpening.h"
#include "session/StartUp.h"

namespace vantrep::app {

namespace {

enum class OutputKind { Tsv, Csv, Pdf };

bool outputKindOf(const QString& out, OutputKind& kind) {
    if (out.endsWith(".tsv", Qt::CaseInsensitive))
        kind = OutputKind::Tsv;
    else if (out.endsWith(".csv", Qt::CaseInsensitive))
        kind = OutputKind::Csv;
    else if (out.endsWith(".pdf", Qt::CaseInsensitive))
        kind = OutputKind::Pdf;
    else
        return false;
    return true;
}

void say(const QString& text) { std::fprintf(stderr, "%s\n", qPrintable(text)); }

// The fixed-format reports of an export print onto the page document that
// becomes the PDF.
class SurfaceFixedReports : public analysis::FixedReportPrinter {
public:
    SurfaceFixedReports(grid::GridModel& grid, print::PrintSurface& surface) : grid_(grid), surface_(surface) {}
    bool printFixedReport(session::Session& session, int number) override {
        // The font a main window's grid shows by default.
        const QFont font = QGuiApplication::font();
        return report::printFixedFormatReport(session, grid_, surface_, number,
                                              print::PrintFont{font.family(), font.pointSizeF()});
    }

private:
    grid::GridModel& grid_;
    print::PrintSurface& surface_;
};

// The grid report of the open report's grid, onto `surface`.
void printGridReport(const session::Session& session, const grid::GridModel& grid, print::PrintSurface& surface,
                     report::TitleHolder& title1) {
    report::GridReport gridReport(surface);
    gridReport.ReportGrid = &grid;
    gridReport.ReportCriteria =
        report::previewCriteria(session::getCriteria(session.sPageFilterText, session.sReportTitle));
    gridReport.startTitles(session.sReportName);
    title1 = gridReport.CdlgTitle1;
    gridReport.printGridReport();
}

bool writePdf(const print::PrintSurface& surface, const QString& out, const QString& title) {
    QString error;
    if (writeReplacing(out, [&](const QString& path) { return print::writePdf(surface.document(), path, title); },
                       error))
        return true;
    say(error);
    return false;
}

bool writeText(const grid::GridModel& grid, const QString& out, grid::TextLayout layout) {
    try {
        grid::WriteGridText(grid, out, layout);
        return true;
    } catch (const engine::EngineError& e) {
        say(QString::fromStdString(e.description()));
        return false;
    }
}

}  // namespace

bool parseExportArguments(const QStringList& arguments, ExportRequest& request, QString& error) {
    if (arguments.size() != 2) {
        error = "--export needs OUT and REPORTARG.";
        return false;
    }
    request.out = arguments[0];
    request.reportArgument = arguments[1];
    return true;
}

int RunExport(const ExportRequest& request) {
    OutputKind kind;
    if (!outputKindOf(request.out, kind)) {
        say("Cannot export to \"" + request.out + "\": the file name must end in .tsv, .csv or .pdf.");
        return 2;
    }
    if (!session::FixedReportField(request.reportArgument).isEmpty() && kind != OutputKind::Pdf) {
        say("A fixed-format report is written as a PDF: the file name must end in .pdf.");
        return 2;
    }
    ConsoleUi ui;
    session::Session session(ui, request.reportArgument);
    grid::GridModel grid;
    grid::FontMeasure measure{QFont()};
    QImage clipButton(16, 16, QImage::Format_ARGB32);
    clipButton.fill(Qt::transparent);
    print::PrintSurface surface;
    report::TitleHolder title1;
    report::installPageEvents(surface, title1);
    SurfaceFixedReports fixedReports(grid, surface);

    const analysis::RunResult result =
        analysis::RunReport(session, request.reportArgument, {grid, measure, clipButton}, fixedReports);
    bool written = false;
    switch (result.outcome) {
    case analysis::RunOutcome::Idle: say("No report to export."); break;
    case analysis::RunOutcome::FixedReportPrinted: written = writePdf(surface, request.out, session.sReportName); break;
    case analysis::RunOutcome::SummaryOpened:
    case analysis::RunOutcome::ListingOpened:
        if (kind == OutputKind::Pdf) {
            if (!report::canPreviewGrid(grid, session.sDataFile)) {
                say("The report has no rows to print.");
                break;
            }
            printGridReport(session, grid, surface, title1);
            written = writePdf(surface, request.out, session.sReportName);
        } else {
            written = writeText(grid, request.out, kind == OutputKind::Tsv ? grid::TextLayout::Tsv : grid::TextLayout::Csv);
        }
        break;
    default:
        if (!result.message.isEmpty() && result.outcome == analysis::RunOutcome::FixedReportFailed) say(result.message);
        break;
    }
    session::CloseSession(session);
    return written ? 0 : 1;
}

}  // namespace vantrep::app
