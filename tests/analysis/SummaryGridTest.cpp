// The summary grid filled from the shipped summary sample, its layout checked
// and its numbers compared with an independent computation by another
// program (Python's dbfread over the same table).
#include <gtest/gtest.h>

#include <QFile>

#include "analysis/QueryBuilder.h"
#include "analysis/SummaryGrid.h"
#include "grid/GridFile.h"
#include "session/ReportOpening.h"
#include "session/ValueCoding.h"
#include "support/DbfreadSums.h"
#include "support/ReportFolderTest.h"

namespace vantrep::analysis {
namespace {

class SummarySample : public ReportFolderTest {
protected:
    void SetUp() override {
        ReportFolderTest::SetUp();
        open(QString(VANTREP_SAMPLES_DIR) + "/summary/DATA.DBF");
    }
    // Opens the summary sample in a session started with `commandLine`.
    void open(const QString& commandLine) {
        s = std::make_unique<session::Session>(ui, commandLine);
        ASSERT_EQ(session::OpenDizave(*s, QString(VANTREP_SAMPLES_DIR) + "/summary/DATA.DBF"),
                  session::OpenOutcome::Opened);
    }
    std::unique_ptr<session::Session> s;
};

TEST_F(SummarySample, MediaByMonthAgreesWithAnIndependentSum) {
    open("-Embedding");  // started for automation: the fill saves the grid for the client
    // Keep MEDIA as the only row dimension, MONTH as the only column group.
    for (int i = 1; i <= s->aDims.upperBound(); ++i)
        if (s->aDims(i).FName == "BRAND" || s->aDims(i).FName == "WEEKDAY") s->aDims(i).Layout = "P";
    s->crossTab = RunQuery(s->aDims, s->cmbField, s->aVars, QString(), s->sDataFile);
    const CrossTabQuery& q = s->crossTab;
    ASSERT_EQ(q.aQuerySql.size(), 2);
    grid::GridModel g;
    FillSummary(*s, g, measure);
    ASSERT_TRUE(ui.messages.empty()) << ui.messages[0].text.toStdString();

    EXPECT_EQ(g.fixedRows(), 2);
    EXPECT_EQ(g.frozenCols(), 1);
    EXPECT_EQ(g.textMatrix(0, 1), "Media");
    EXPECT_EQ(g.textMatrix(0, 2), "Jan");
    EXPECT_EQ(g.textMatrix(1, 2), s->aVars(1).FDesc);
    EXPECT_EQ(g.textMatrix(1, 3), s->aVars(1).FDesc + "%");  // SPEND has totals

    const auto python = vantrep::testing::SumsBy(s->sReportFolder + s->sDataFile, {"MEDIA", "MONTH"}, {"SPEND"});
    ASSERT_FALSE(python.isEmpty());
    int checked = 0;
    for (int c = 2; c < g.cols(); ++c) {
        if (g.textMatrix(1, c) != s->aVars(1).FDesc) continue;
        const QString month = session::MonthNumber(g.textMatrix(0, c));
        double columnTotal = 0, percentages = 0;
        for (int r = g.fixedRows(); r < g.rows(); ++r, ++checked) {
            const double expected = python.value(g.textMatrix(r, 1) + "|" + month).value(0) / 1000.0;
            EXPECT_NEAR(g.valueMatrix(r, c), expected, 0.006)
                << g.textMatrix(r, 1).toStdString() << " " << month.toStdString();
            columnTotal += g.valueMatrix(r, c);
            percentages += g.valueMatrix(r, c + 1);
        }
        // The percentages of a column add up to 100.
        if (columnTotal > 0) {
            EXPECT_NEAR(percentages, 100.0, 0.05) << month.toStdString();
        }
    }
    EXPECT_GE(checked, 12);
    // The grid is saved, and reads back the same.
    grid::GridModel saved = grid::ReadGridFile(s->sReportFolder + "GridData.bin");
    EXPECT_EQ(saved.rows(), g.rows());
    EXPECT_EQ(saved.textMatrix(g.fixedRows(), 2), g.textMatrix(g.fixedRows(), 2));
}

TEST_F(SummarySample, TwoColumnGroupsSitSideBySide) {
    s->crossTab = RunQuery(s->aDims, s->cmbField, s->aVars, QString(), s->sDataFile);
    const CrossTabQuery& q = s->crossTab;
    ASSERT_EQ(q.aQuerySql.size(), 3);  // MONTH and WEEKDAY groups
    grid::GridModel g;
    FillSummary(*s, g, measure);
    ASSERT_TRUE(ui.messages.empty());
    QStringList heads;
    for (int c = q.nRowDims + 1; c < g.cols(); ++c) heads << g.textMatrix(0, c);
    EXPECT_TRUE(heads.contains("Jan"));
    EXPECT_LT(heads.indexOf("Jan"), heads.indexOf("Sun"));
    EXPECT_EQ(g.textMatrix(0, 1), "Media");
    EXPECT_EQ(g.textMatrix(0, 2), "Brand");
    EXPECT_TRUE(g.mergeCol(1));
    EXPECT_FALSE(QFile::exists(s->sReportFolder + "GridData.bin"));
}

}  // namespace
}  // namespace vantrep::analysis
