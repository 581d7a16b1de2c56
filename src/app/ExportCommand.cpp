#include "app/ExportCommand.h"

#include <QFont>
#include <QImage>
#include <cstdio>

#include "session/Criteria.h"
#include "analysis/FirstQuery.h"
#include "engine/EngineError.h"
#include "grid/FontMeasure.h"
#include "grid/GridText.h"
#include "print/PdfWriter.h"
#include "print/PrintSurface.h"
#include "report/FixedFormatReport.h"
#include "report/GridReport.h"
#include "report/PageStamp.h"
#include "report/PreviewReport.h"
#include "session/StartUp.h"

namespace vantrep::app {

namespace {

// Messages that would be message boxes go to standard error.
class ConsoleUi : public session::Ui {
public:
    session::MessageAnswer message(const QString& text, const QString&, session::MessageIcon,
                                   session::MessageButtons buttons) override {
        QString oneLine = text;
        oneLine.replace("\r\n", " ");
        std::fprintf(stderr, "%s\n", qPrintable(oneLine));
        bool yesNo = buttons == session::MessageButtons::YesNo || buttons == session::MessageButtons::YesNoCancel;
        return yesNo ? session::MessageAnswer::Yes : session::MessageAnswer::Ok;
    }
    void setBusy(bool) override {}
    void flood(int) override {}
    QString saveFileName(const QString&, const QString&, const QString&) override { return QString(); }
    QColor chooseColor(const QColor&, const QString&) override { return QColor(); }
};

// The report as PDF: the fixed-format report the argument names with ",1" or
// ",2", else the grid report of the report's first query.
int exportPdf(const QString& out, const QString& reportArgument) {
    ConsoleUi ui;
    session::Session session(ui, reportArgument);
    print::PrintSurface surface;
    report::TitleHolder title1;
    report::installPageEvents(surface, title1);
    grid::GridModel grid;
    bool fixedRun = false;
    bool fixedPrinted = false;
    session.fixedFormatReport = [&](session::Session& s, int number) {
        fixedRun = true;
        fixedPrinted = report::printFixedFormatReport(s, grid, surface, number);
    };
    session::OpenOutcome outcome = session::FirstActivation(session);
    int status = 0;
    if (fixedRun) {
        if (!fixedPrinted) std::fprintf(stderr, "The fixed-format report could not be produced.\n");
        status = fixedPrinted ? 0 : 1;
    } else if (!session::RunsFirstQuery(session, outcome)) {
        if (outcome == session::OpenOutcome::Idle) std::fprintf(stderr, "No report to export.\n");
        status = outcome == session::OpenOutcome::Fatal || outcome == session::OpenOutcome::Idle ? 1 : 0;
        session::CloseSession(session);
        return status;
    } else {
        grid::FontMeasure measure{QFont()};
        QImage clipButton(16, 16, QImage::Format_ARGB32);
        clipButton.fill(Qt::transparent);
        analysis::RunFirstQuery(session, grid, measure, clipButton, false);
        if (!report::canPreviewGrid(grid, session.sDataFile)) {
            std::fprintf(stderr, "The report has no rows to print.\n");
            status = 1;
        } else {
            report::GridReport gridReport(surface);
            gridReport.ReportGrid = &grid;
            gridReport.ReportCriteria =
                report::previewCriteria(session::getCriteria(QString(), session.sReportTitle));
            gridReport.startTitles(session.sReportName);
            title1 = gridReport.CdlgTitle1;
            gridReport.printGridReport();
        }
    }
    if (status == 0 && !print::writePdf(surface.document(), out, session.sReportName)) {
        std::fprintf(stderr, "Cannot write \"%s\".\n", qPrintable(out));
        status = 1;
    }
    session::CloseSession(session);
    return status;
}

}  // namespace

int RunExport(const QString& out, const QString& reportArgument) {
    if (out.endsWith(".pdf", Qt::CaseInsensitive)) return exportPdf(out, reportArgument);
    grid::TextLayout layout;
    if (out.endsWith(".tsv", Qt::CaseInsensitive))
        layout = grid::TextLayout::Tsv;
    else if (out.endsWith(".csv", Qt::CaseInsensitive))
        layout = grid::TextLayout::Csv;
    else {
        std::fprintf(stderr, "Cannot export to \"%s\": the file name must end in .tsv, .csv or .pdf.\n", qPrintable(out));
        return 2;
    }
    ConsoleUi ui;
    session::Session session(ui, reportArgument);
    session::OpenOutcome outcome = session::FirstActivation(session);
    if (!session::RunsFirstQuery(session, outcome)) {
        session::CloseSession(session);
        if (outcome == session::OpenOutcome::Idle) std::fprintf(stderr, "No report to export.\n");
        return outcome == session::OpenOutcome::Fatal || outcome == session::OpenOutcome::Idle ? 1 : 0;
    }
    grid::GridModel grid;
    grid::FontMeasure measure{QFont()};
    QImage clipButton(16, 16, QImage::Format_ARGB32);
    clipButton.fill(Qt::transparent);
    analysis::RunFirstQuery(session, grid, measure, clipButton, false);
    int status = 0;
    try {
        grid::WriteGridText(grid, out, layout);
    } catch (const engine::EngineError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        status = 1;
    }
    session::CloseSession(session);
    return status;
}

}  // namespace vantrep::app
