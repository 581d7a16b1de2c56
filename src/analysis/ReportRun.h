// The report run: the one routine every front end (the main window's first
// activation and open command, the command-line export, automation) uses to
// open a report from its argument, run its first query or produce the
// fixed-format report it names, and say what happened. And the re-run of a
// report that is open, from the layout and query state its session keeps.
#pragma once

#include <QImage>
#include <QString>

#include "grid/GridModel.h"
#include "grid/TextMeasure.h"
#include "session/Session.h"

namespace vantrep::analysis {

// Where a fixed-format report goes: the preview window, or a page document
// written to a file. Called with the data connection open on the report.
class FixedReportPrinter {
public:
    virtual ~FixedReportPrinter() = default;
    // Produces report `number` (1 or 2); false when it could not be produced.
    virtual bool printFixedReport(session::Session& session, int number) = 0;
};

// The grid a run fills, the measure its columns are sized with, and the
// picture of the listing's clip buttons.
struct GridTarget {
    grid::GridModel& grid;
    grid::TextMeasure& measure;
    const QImage& clipButton;
};

enum class RunOutcome {
    Idle,                // nothing to open ("" or "-Embedding")
    SummaryOpened,       // the cross-tab is open and filled
    ListingOpened,       // the detailed listing is open and filled
    FillFailed,          // the report is open, but its fill stopped at an error: the grid is as far as it got,
                         // or empty when memory ran out
    FixedReportPrinted,  // the fixed-format report was produced; no report stays open
    FixedReportFailed,   // the fixed-format report could not be produced
    Refused,             // the report was not opened: a check or an error stopped it
    Fatal,               // a fatal message was shown: the program ends
};

struct RunResult {
    RunOutcome outcome = RunOutcome::Idle;
    int fixedReport = 0;  // the fixed-format report's number, when one was asked for
    QString message;      // what the user was told when the run did not succeed ("" when unknown)

    // A report is open and shown: the summary or listing, even one whose fill failed.
    bool reportShown() const;
};

// The program's exit status after a run: 0 when the report was shown or
// produced (or there was nothing to open), 1 otherwise.
int ExitStatusFor(const RunResult& result);

// Opens `reportArgument` ("path[,n]", as the delivering application passes
// it) in `session`, then fills `target` with its first query or prints its
// fixed-format report through `printer`. A `layoutFile` (a saved ".str" or
// ".dtr") replaces the report's own layout before the grid is filled; one
// that does not suit or fit the report refuses the run. The filters kept
// beside the structure file (or the layout) apply to the first query. Every
// message goes through the session's Ui.
RunResult RunReport(session::Session& session, const QString& reportArgument, GridTarget target,
                    FixedReportPrinter& printer, const QString& layoutFile = QString());

// Fills `target` again from the open report's layout: the detailed listing,
// or the cross-tab query built from the session's layout and page filter and
// the summary grid filled. False when the fill stopped at an error (shown).
bool RefillReport(session::Session& session, GridTarget target);

}  // namespace vantrep::analysis
