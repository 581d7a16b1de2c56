// The report run every front end uses, and the re-run of an open report from
// the query state its session keeps.
#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>

#include <new>

#include "analysis/ReportRun.h"
#include "session/StartUp.h"
#include "support/DbfreadSums.h"
#include "support/ReportFolderTest.h"
#include "support/SampleCopy.h"

namespace vantrep::analysis {
namespace {

// Records the fixed-format reports asked for, with the connection state then.
class RecordingPrinter : public FixedReportPrinter {
public:
    bool printFixedReport(session::Session& session, int number) override {
        printed.push_back(number);
        connectionOpen = session.cnData.State() == engine::adStateOpen;
        return succeeds;
    }
    std::vector<int> printed;
    bool connectionOpen = false;
    bool succeeds = true;
};

// Measures as the folder tests do, or, while `exhausted`, fails as an
// allocation does when memory runs out: auto-size comes once the grid is full.
class ExhaustibleMeasure : public grid::TextMeasure {
public:
    int widthTwips(const QString& text, bool) override {
        if (exhausted) throw std::bad_alloc();
        return static_cast<int>(text.size()) * 100;
    }
    bool exhausted = true;
};

class ReportRun : public ReportFolderTest {
protected:
    // A copy of samples/<name> in the test's folder; returns it ending in "/".
    QString copySample(const QString& name) { return vantrep::testing::copySampleFolder(name, temp.path()); }
    RunResult run(const QString& argument) {
        session = std::make_unique<session::Session>(ui, argument);
        return RunReport(*session, argument, {grid, measure, clip}, printer);
    }
    int fieldIndex(const QString& name) const {
        for (int i = 1; i <= session->aDims.upperBound(); ++i)
            if (session->aDims(i).FName == name) return i;
        return 0;
    }
    // The grid's value in the first column headed `heading` (row `headingRow`) of the row whose column 1 is `rowText`.
    double valueAt(const QString& rowText, int headingRow, const QString& heading) const {
        for (int c = 1; c < grid.cols(); ++c) {
            if (grid.textMatrix(headingRow, c) != heading) continue;
            for (int r = grid.fixedRows(); r < grid.rows(); ++r)
                if (grid.textMatrix(r, 1) == rowText) return grid.valueMatrix(r, c);
        }
        return -1;
    }

    std::unique_ptr<session::Session> session;
    grid::GridModel grid;
    QImage clip{16, 16, QImage::Format_ARGB32};
    RecordingPrinter printer;
};

TEST_F(ReportRun, OpensEachKindOfReportAndSaysWhich) {
    RunResult summary = run(copySample("summary") + "DATA.DBF");
    EXPECT_EQ(summary.outcome, RunOutcome::SummaryOpened);
    EXPECT_EQ(ExitStatusFor(summary), 0);
    EXPECT_TRUE(summary.reportShown());
    EXPECT_GT(grid.rows(), grid.fixedRows());
    // The query state stays in the session for the re-runs.
    EXPECT_EQ(session->crossTab.aQuerySql.size(), 3);  // two column groups
    EXPECT_EQ(session->crossTab.nRowDims, 2);
    EXPECT_EQ(session->nQueryIndex, 2);
    EXPECT_EQ(session->crossTab.aColCaptions.value(1), "Month");
    session::CloseSession(*session);

    RunResult listing = run(copySample("detailed") + "Spot_Listing.dtr");
    EXPECT_EQ(listing.outcome, RunOutcome::ListingOpened);
    EXPECT_GT(grid.rows(), 1);
    EXPECT_TRUE(ui.messages.empty()) << ui.messages[0].text.toStdString();
    EXPECT_TRUE(printer.printed.empty());
}

TEST_F(ReportRun, FixedReportsGoToThePrinterAndUnknownNumbersAreRefused) {
    const QString data = copySample("detailed") + "DATA.DBF";
    RunResult two = run(data + ",2");
    EXPECT_EQ(two.outcome, RunOutcome::FixedReportPrinted);
    EXPECT_EQ(two.fixedReport, 2);
    EXPECT_EQ(printer.printed, std::vector<int>{2});
    EXPECT_TRUE(printer.connectionOpen);
    EXPECT_FALSE(two.reportShown());
    EXPECT_EQ(ExitStatusFor(two), 0);

    for (const QString suffix : {",3", ",x", ",0", ",-1", ","}) {
        ui.messages.clear();
        RunResult refused = run(data + suffix);
        EXPECT_EQ(refused.outcome, RunOutcome::Refused) << suffix.toStdString();
        EXPECT_EQ(ExitStatusFor(refused), 1);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_TRUE(ui.messages[0].text.startsWith("There is no fixed-format report")) << suffix.toStdString();
        EXPECT_EQ(refused.message, ui.messages[0].text);
    }
    EXPECT_EQ(printer.printed, std::vector<int>{2});

    printer.succeeds = false;
    RunResult failed = run(data + ",1");
    EXPECT_EQ(failed.outcome, RunOutcome::FixedReportFailed);
    EXPECT_EQ(ExitStatusFor(failed), 1);
}

TEST_F(ReportRun, NothingToOpenIsIdleAndAFatalMessageFails) {
    EXPECT_EQ(run("").outcome, RunOutcome::Idle);
    EXPECT_EQ(run("-Embedding").outcome, RunOutcome::Idle);
    EXPECT_TRUE(ui.messages.empty());
    RunResult bare = run("DATA.DBF");
    EXPECT_EQ(bare.outcome, RunOutcome::Fatal);
    EXPECT_EQ(ExitStatusFor(bare), 1);
    EXPECT_FALSE(bare.reportShown());
}

TEST_F(ReportRun, ARefillFollowsTheLayoutAndPageFilterKeptInTheSession) {
    const QString folder = copySample("summary");
    ASSERT_EQ(run(folder + "DATA.DBF").outcome, RunOutcome::SummaryOpened);
    // MEDIA alone down, MONTH alone across, only TV: as a layout change and a page filter would leave it.
    session->aDims(fieldIndex("BRAND")).Layout = "P";
    session->aDims(fieldIndex("WEEKDAY")).Layout = "P";
    session->sPageFilter = " MEDIA in('TV')";
    ASSERT_TRUE(RefillReport(*session, {grid, measure, clip}));
    ASSERT_TRUE(ui.messages.empty()) << ui.messages[0].text.toStdString();
    EXPECT_EQ(session->crossTab.nRowDims, 1);
    EXPECT_EQ(session->crossTab.aQuerySql.size(), 2);
    EXPECT_TRUE(session->crossTab.aQuerySql[1].contains(" AND  MEDIA in('TV')"));
    ASSERT_EQ(grid.rows() - grid.fixedRows(), 1);  // the TV row alone
    EXPECT_EQ(grid.textMatrix(grid.fixedRows(), 1), "TV");

    const auto python = vantrep::testing::SumsBy(folder + "DATA.DBF", {"MEDIA", "MONTH"}, {"SPEND"});
    int checked = 0;
    for (int month = 1; month <= 12; ++month) {
        const QString name = QLocale().monthName(month, QLocale::ShortFormat);
        const QList<double> sum = python.value("TV|" + QString::number(month));
        if (sum.isEmpty() || sum[0] <= 0) continue;
        EXPECT_NEAR(valueAt("TV", 0, name), sum[0] / session->aVars(1).Divisor, 0.006) << name.toStdString();
        ++checked;
    }
    EXPECT_GE(checked, 6);
}

TEST_F(ReportRun, APageFilterNeverReachesTheNextReport) {
    const QString folder = copySample("summary");
    ASSERT_EQ(run(folder + "DATA.DBF").outcome, RunOutcome::SummaryOpened);
    session->sPageFilterText = " Media in('TV')";
    session->sPageFilter = " MEDIA in('TV')";
    ASSERT_EQ(RunReport(*session, folder + "DATA.DBF", {grid, measure, clip}, printer).outcome,
              RunOutcome::SummaryOpened);
    EXPECT_TRUE(session->sPageFilter.isEmpty());
    EXPECT_TRUE(session->sPageFilterText.isEmpty());
    EXPECT_FALSE(session->crossTab.aQuerySql.join("").contains("in('TV')"));
}

TEST_F(ReportRun, RunningOutOfMemorySaysHowManyRowsEmptiesTheGridAndTheReportCanBeFilledAgain) {
    const QString listing = copySample("detailed") + "Spot_Listing.dtr";
    const QString summary = copySample("summary") + "DATA.DBF";
    for (const QString& report : {listing, summary}) {
        SCOPED_TRACE(report.toStdString());
        ui.messages.clear();
        ExhaustibleMeasure measure;
        session = std::make_unique<session::Session>(ui, report);
        const RunResult result = RunReport(*session, report, {grid, measure, clip}, printer);
        EXPECT_EQ(result.outcome, RunOutcome::FillFailed);
        EXPECT_EQ(ExitStatusFor(result), 1);
        EXPECT_EQ(grid.rows(), 0) << "no half report stays on show";
        EXPECT_TRUE(grid.redraw());
        EXPECT_NE(session->rsData.State(), engine::adStateOpen) << "the query's rows are let go";
        ASSERT_EQ(ui.messages.size(), 1u);
        const QRegularExpression told("^There is not enough memory to show (\\d+) rows of this report\\.");
        const QRegularExpressionMatch match = told.match(ui.messages[0].text);
        ASSERT_TRUE(match.hasMatch()) << ui.messages[0].text.toStdString();
        if (report == listing) {
            EXPECT_EQ(match.captured(1), "2000") << "every record of the sample is a row";
        }

        // The report stays open: with memory to spare it fills as usual.
        measure.exhausted = false;
        ui.messages.clear();
        EXPECT_TRUE(RefillReport(*session, {grid, measure, clip}));
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_GT(grid.rows(), grid.fixedRows());
        if (report == summary) {
            EXPECT_EQ(match.captured(1).toLongLong(), session->rsData.RecordCount());
        }
    }
}

}  // namespace
}  // namespace vantrep::analysis
