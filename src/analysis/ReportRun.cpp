#include "analysis/ReportRun.h"

#include <new>

#include "analysis/DetailedListing.h"
#include "analysis/OutOfMemory.h"
#include "analysis/QueryBuilder.h"
#include "analysis/SavedFilters.h"
#include "analysis/SummaryGrid.h"
#include "session/ReportOpening.h"

namespace vantrep::analysis {

bool RunResult::reportShown() const {
    return outcome == RunOutcome::SummaryOpened || outcome == RunOutcome::ListingOpened ||
           outcome == RunOutcome::FillFailed;
}

int ExitStatusFor(const RunResult& result) {
    switch (result.outcome) {
    case RunOutcome::Idle:
    case RunOutcome::SummaryOpened:
    case RunOutcome::ListingOpened:
    case RunOutcome::FixedReportPrinted: return 0;
    default: return 1;
    }
}

bool RefillReport(session::Session& session, GridTarget target) {
    if (session.bDetailed) return FillDetailed(session, target.grid, target.measure, target.clipButton);
    try {
        session.nQueryIndex = 1;
        RunQuery(session);
        target.grid.clear();
        return FillSummary(session, target.grid, target.measure);
    } catch (const std::bad_alloc&) {
        // The summary shows the rows of its grouped query.
        const bool queried = session.rsData.State() == engine::adStateOpen;
        GiveUpForMemory(session, target.grid, queried ? session.rsData.RecordCount() : -1);
        return false;
    }
}

namespace {

RunResult fixedReport(session::Session& session, const QString& field, FixedReportPrinter& printer) {
    bool isNumber = false;
    const int number = field.trimmed().toInt(&isNumber);
    if (!isNumber || (number != 1 && number != 2)) {
        const QString message = "There is no fixed-format report \"" + field + "\": the reports are 1 and 2.";
        session.ui.critical(message);
        return {RunOutcome::Refused, 0, message};
    }
    if (!printer.printFixedReport(session, number)) {
        const QString message = "Fixed-format report " + QString::number(number) + " could not be produced.";
        return {RunOutcome::FixedReportFailed, number, message};
    }
    return {RunOutcome::FixedReportPrinted, number, QString()};
}

}  // namespace

RunResult RunReport(session::Session& session, const QString& reportArgument, GridTarget target,
                    FixedReportPrinter& printer, const QString& layoutFile) {
    session::OpenOutcome opened;
    {
        session::BusyPointer busy(session.ui);
        opened = session::OpenDizave(session, reportArgument);
    }
    switch (opened) {
    case session::OpenOutcome::Idle: return {RunOutcome::Idle, 0, QString()};
    case session::OpenOutcome::Fatal: return {RunOutcome::Fatal, 0, QString()};
    case session::OpenOutcome::Refused: return {RunOutcome::Refused, 0, QString()};
    case session::OpenOutcome::FixedReport:
        return fixedReport(session, session::FixedReportField(reportArgument), printer);
    case session::OpenOutcome::Opened: break;
    }
    if (layoutFile.isEmpty())
        RestoreFilters(session);
    else if (ApplyLayoutWithFilters(session, layoutFile) != session::OpenOutcome::Opened)
        return {RunOutcome::Refused, 0, QString()};
    if (!RefillReport(session, target)) return {RunOutcome::FillFailed, 0, QString()};
    return {session.bDetailed ? RunOutcome::ListingOpened : RunOutcome::SummaryOpened, 0, QString()};
}

}  // namespace vantrep::analysis
