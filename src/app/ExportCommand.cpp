#include "app/ExportCommand.h"

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QRegularExpression>
#include <cstdio>
#include <functional>
#include <new>
#include <optional>

#include "analysis/OutOfMemory.h"
#include "analysis/ReportRun.h"
#include "analysis/SpreadsheetContent.h"
#include "analysis/SpreadsheetExport.h"
#include "app/ConsoleUi.h"
#include "app/ReplacingWrite.h"
#include "engine/EngineError.h"
#include "grid/FontMeasure.h"
#include "graph/ChartKind.h"
#include "graph/ui/ChartImage.h"
#include "grid/GridText.h"
#include "print/PdfWriter.h"
#include "print/PrintSurface.h"
#include "report/FixedFormatReport.h"
#include "report/GridReport.h"
#include "report/PageStamp.h"
#include "report/PreviewReport.h"
#include "session/Criteria.h"
#include "session/HandOver.h"
#include "session/ReportOpening.h"
#include "session/StartUp.h"

namespace vantrep::app {

namespace {

enum class OutputKind { Tsv, Csv, Pdf, Xlsx, Picture };

bool outputKindOf(const QString& out, OutputKind& kind) {
    const QString ending = QFileInfo(out).suffix().toLower();
    if (ending == "tsv")
        kind = OutputKind::Tsv;
    else if (ending == "csv")
        kind = OutputKind::Csv;
    else if (ending == "pdf")
        kind = OutputKind::Pdf;
    else if (ending == "xlsx")
        kind = OutputKind::Xlsx;
    else if (ending == "jpg" || ending == "png")
        kind = OutputKind::Picture;
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
        // Without a window, the grid's font is the one the export's grid report prints in.
        return report::printFixedFormatReport(session, grid_, surface_, number, report::GridReport::defaultGridFont());
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

bool writePdf(const print::PrintSurface& surface, const QString& out, const QString& title, QString& error) {
    const QByteArray pdf = print::pdfBytes(surface.document(), title);
    if (pdf.isEmpty()) {
        error = "Cannot write \"" + out + "\": the report has no pages.";
        return false;
    }
    return writeBytesReplacing(out, pdf, error);
}

bool writeText(const grid::GridModel& grid, const QString& out, grid::TextLayout layout, QString& error) {
    QString failure;
    const bool written = writeReplacing(
        out,
        [&](const QString& path) {
            try {
                grid::WriteGridText(grid, path, layout);
                return true;
            } catch (const engine::EngineError& e) {
                failure = QString::fromStdString(e.description());
                return false;
            }
        },
        error);
    if (!written && !failure.isEmpty()) error = failure.replace(QRegularExpression("\"[^\"]*\""), "\"" + out + "\"");
    return written;
}

// A writer that throws engine::EngineError, through a replacing write.
bool writeThrowing(const QString& out, const std::function<void(const QString& path)>& write, QString& error) {
    QString failure;
    const bool written = writeReplacing(
        out,
        [&](const QString& path) {
            try {
                write(path);
                return true;
            } catch (const engine::EngineError& e) {
                failure = QString::fromStdString(e.description());
                return false;
            }
        },
        error);
    if (!written && !failure.isEmpty()) error = failure;
    return written;
}

bool writeWorkbook(const session::Session& session, const grid::GridModel& grid, const QString& out, QString& error) {
    const analysis::SpreadsheetContent content = analysis::SpreadsheetContentFor(
        session, grid, session::getCriteria(session.sPageFilterText, session.sReportTitle), session.sOpenedFolder);
    return writeThrowing(out, [&](const QString& path) { analysis::ExportGrid(grid, content, path); }, error);
}

bool writeChart(const session::Session& session, const grid::GridModel& grid, graph::ChartKind kind,
                const QString& out, QString& error) {
    if (session.bDetailed) {
        error = "A detailed listing has no chart: export it as .tsv, .csv, .xlsx or .pdf.";
        return false;
    }
    graph::ui::ChartPicture picture;
    picture.kind = kind;
    picture.header = session.sReportName;
    picture.showPercent = session.aVars.upperBound() >= 1 && session.aVars(1).ShowTotal;
    const QImage image = graph::ui::renderChartImage(grid, picture);
    if (image.isNull()) {
        error = "The grid holds no data to chart.";
        return false;
    }
    // The picture's kind follows the name the user gave, not the fresh file's.
    const graph::ui::ImageFormat format = graph::ui::imageFormatFor(out);
    return writeReplacing(
        out, [&](const QString& path) { return graph::ui::saveChartImage(image, path, format, &error); }, error);
}

}  // namespace

bool parseExportArguments(const QStringList& arguments, ExportRequest& request, QString& error) {
    QStringList rest = arguments;
    if (rest.isEmpty()) {
        error = "--export needs OUT and REPORTARG.";
        return false;
    }
    request.out = rest.takeFirst();
    while (rest.size() > 1 && rest.first().startsWith("--")) {
        const QString option = rest.takeFirst();
        if (option == "--layout") {
            request.layoutFile = rest.takeFirst();
        } else if (option == "--chart") {
            request.chartKind = rest.takeFirst();
            if (!graph::chartKindFromName(request.chartKind)) {
                error = "--chart takes line, area, sarea or radar, not \"" + request.chartKind + "\".";
                return false;
            }
        } else {
            error = "unknown option \"" + option + "\".";
            return false;
        }
    }
    if (rest.size() != 1) {
        error = "--export needs OUT, the options, then one REPORTARG.";
        return false;
    }
    request.reportArgument = rest.first();
    return true;
}

namespace {

// write(), or false with the not-enough-memory message for `out` when memory
// runs out on the way: what was made of the file is gone with its fresh
// file, and the memory it took is free again for the message.
bool withinMemory(const QString& out, QString& error, const std::function<bool()>& write) {
    try {
        return write();
    } catch (const std::bad_alloc&) {
        error = analysis::NotEnoughMemoryToWriteMessage(out);
        return false;
    }
}

bool writeReport(const session::Session& session, const grid::GridModel& grid, const QString& out,
                 const QString& chartKind, QString& error) {
    OutputKind kind;
    if (!outputKindOf(out, kind)) {
        error = "Cannot export to \"" + out + "\": the file name must end in .tsv, .csv, .xlsx, .pdf, .jpg or .png.";
        return false;
    }
    switch (kind) {
    case OutputKind::Pdf: {
        if (!report::canPreviewGrid(grid, session.sDataFile)) {
            error = "The report has no rows to print.";
            return false;
        }
        print::PrintSurface surface;
        report::TitleHolder title1;
        report::installPageEvents(surface, title1);
        printGridReport(session, grid, surface, title1);
        return writePdf(surface, out, session.sReportName, error);
    }
    case OutputKind::Xlsx: return writeWorkbook(session, grid, out, error);
    case OutputKind::Picture: {
        const std::optional<graph::ChartKind> chart = graph::chartKindFromName(chartKind);
        if (!chart) {
            error = "The chart kind must be line, area, sarea or radar, not \"" + chartKind + "\".";
            return false;
        }
        return writeChart(session, grid, *chart, out, error);
    }
    case OutputKind::Tsv: return writeText(grid, out, grid::TextLayout::Tsv, error);
    case OutputKind::Csv: return writeText(grid, out, grid::TextLayout::Csv, error);
    }
    return false;
}

}  // namespace

bool WriteOpenReport(const session::Session& session, const grid::GridModel& grid, const QString& out,
                     const QString& chartKind, QString& error) {
    return withinMemory(out, error, [&] { return writeReport(session, grid, out, chartKind, error); });
}

int RunExport(const ExportRequest& request) {
    OutputKind kind;
    if (!outputKindOf(request.out, kind)) {
        say("Cannot export to \"" + request.out + "\": the file name must end in .tsv, .csv, .xlsx, .pdf, .jpg or .png.");
        return 2;
    }
    if (!session::FixedReportField(request.reportArgument).isEmpty() && kind != OutputKind::Pdf) {
        say("A fixed-format report is written as a PDF: the file name must end in .pdf.");
        return 2;
    }
    if (session::isInHandOverFolder(request.out, request.reportArgument)) {
        say("Cannot export to \"" + request.out +
            "\": it lies in the report's hand-over folder, which is removed when the program closes.");
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
        analysis::RunReport(session, request.reportArgument, {grid, measure, clipButton}, fixedReports,
                            request.layoutFile);
    bool written = false;
    QString error;
    switch (result.outcome) {
    case analysis::RunOutcome::Idle: error = "No report to export."; break;
    case analysis::RunOutcome::FixedReportPrinted:
        written = withinMemory(request.out, error,
                               [&] { return writePdf(surface, request.out, session.sReportName, error); });
        break;
    case analysis::RunOutcome::SummaryOpened:
    case analysis::RunOutcome::ListingOpened:
        written = WriteOpenReport(session, grid, request.out, request.chartKind, error);
        break;
    case analysis::RunOutcome::FixedReportFailed: error = result.message; break;
    default: break;
    }
    if (!written && !error.isEmpty()) say(error);
    session::CloseSession(session);
    return written ? 0 : 1;
}

}  // namespace vantrep::app
