// The summary grid filled from the shipped summary sample, its layout checked
// and its numbers compared with an independent computation by another
// program (Python's dbfread over the same table).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

#include "analysis/QueryBuilder.h"
#include "analysis/SummaryGrid.h"
#include "grid/GridFile.h"
#include "session/ReportOpening.h"
#include "session/ValueCoding.h"
#include "support/ReportFolderTest.h"

namespace vantrep::analysis {
namespace {

class SummarySample : public ReportFolderTest {
protected:
    // Opens the sample with only MEDIA as row dimension and MONTH across.
    void open(session::Session& s) {
        const QString arg = QString(VANTREP_SAMPLES_DIR) + "/summary/DATA.DBF";
        ASSERT_EQ(session::OpenDizave(s, arg), session::OpenOutcome::Opened);
    }

};

// Sums of SPEND per MEDIA and month, by Python over the working copy.
QMap<QString, double> spendsByPython(const QString& table) {
    QProcess python;
    python.start("/usr/bin/python3",
                 {"-c",
                  "import dbfread,sys\n"
                  "t={}\n"
                  "for r in dbfread.DBF(sys.argv[1], encoding='cp1252'):\n"
                  "  k=r['MEDIA'].strip()+'|'+str(r['MONTH'])\n"
                  "  t[k]=t.get(k,0)+float(r['SPEND'])\n"
                  "for k,v in sorted(t.items()): print(k+'|'+repr(v))\n",
                  table});
    python.waitForFinished(60000);
    QMap<QString, double> sums;
    for (const QString& line : QString::fromUtf8(python.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
        QStringList parts = line.split('|');
        sums[parts[0] + "|" + parts[1]] = parts[2].toDouble();
    }
    return sums;
}

TEST_F(SummarySample, MediaByMonthAgreesWithAnIndependentSum) {
    session::Session s(ui, QString(VANTREP_SAMPLES_DIR) + "/summary/DATA.DBF");
    open(s);
    // Keep MEDIA as the only row dimension, MONTH as the only column group.
    for (int i = 1; i <= s.aDims.upperBound(); ++i) {
        session::FieldDef& f = s.aDims(i);
        if (f.FName == "BRAND" || f.FName == "WEEKDAY") f.Layout = "P";
    }
    CrossTabQuery q = RunQuery(s.aDims, s.cmbField, s.aVars, QString(), s.sDataFile);
    ASSERT_EQ(q.aQuerySql.size(), 2);
    grid::GridModel g;
    FillSummary(s, q, g, measure, true);
    ASSERT_TRUE(ui.messages.empty()) << ui.messages[0].text.toStdString();

    EXPECT_EQ(g.fixedRows(), 2);
    EXPECT_EQ(g.frozenCols(), 1);
    EXPECT_EQ(g.textMatrix(0, 1), "Media");
    EXPECT_EQ(g.textMatrix(0, 2), "Jan");
    EXPECT_EQ(g.textMatrix(1, 2), s.aVars(1).FDesc);
    EXPECT_EQ(g.textMatrix(1, 3), s.aVars(1).FDesc + "%");  // SPEND has totals

    QMap<QString, double> python = spendsByPython(s.sReportFolder + s.sDataFile);
    ASSERT_FALSE(python.isEmpty());
    int checked = 0;
    for (int c = 2; c < g.cols(); ++c) {
        if (g.textMatrix(1, c) != s.aVars(1).FDesc) continue;
        int month = session::MonthNumber(g.textMatrix(0, c)).toInt();
        double columnTotal = 0;
        for (int r = g.fixedRows(); r < g.rows(); ++r) {
            double expected = python.value(g.textMatrix(r, 1) + "|" + QString::number(month)) / 1000.0;
            EXPECT_NEAR(g.valueMatrix(r, c), expected, 0.006) << g.textMatrix(r, 1).toStdString() << " " << month;
            columnTotal += g.valueMatrix(r, c);
            ++checked;
        }
        // The percentages of a column add up to 100.
        double percentages = 0;
        for (int r = g.fixedRows(); r < g.rows(); ++r) percentages += g.valueMatrix(r, c + 1);
        if (columnTotal > 0) {
            EXPECT_NEAR(percentages, 100.0, 0.05);
        }
    }
    EXPECT_GE(checked, 12);
    EXPECT_TRUE(QFile::exists(s.sReportFolder + "GridData.bin"));
    grid::GridModel saved = grid::ReadGridFile(s.sReportFolder + "GridData.bin");
    EXPECT_EQ(saved.rows(), g.rows());
    EXPECT_EQ(saved.textMatrix(g.fixedRows(), 2), g.textMatrix(g.fixedRows(), 2));
}

TEST_F(SummarySample, TwoColumnGroupsSitSideBySide) {
    session::Session s(ui, QString(VANTREP_SAMPLES_DIR) + "/summary/DATA.DBF");
    open(s);
    CrossTabQuery q = RunQuery(s.aDims, s.cmbField, s.aVars, QString(), s.sDataFile);
    ASSERT_EQ(q.aQuerySql.size(), 3);  // MONTH and WEEKDAY groups
    grid::GridModel g;
    FillSummary(s, q, g, measure, false);
    ASSERT_TRUE(ui.messages.empty());
    QStringList heads;
    for (int c = q.nRowDims + 1; c < g.cols(); ++c) heads << g.textMatrix(0, c);
    EXPECT_TRUE(heads.contains("Jan"));
    EXPECT_TRUE(heads.contains("Sun"));
    EXPECT_LT(heads.indexOf("Jan"), heads.indexOf("Sun"));
    EXPECT_EQ(g.textMatrix(0, 1), "Media");
    EXPECT_EQ(g.textMatrix(0, 2), "Brand");
    EXPECT_TRUE(g.mergeCol(1));
    EXPECT_FALSE(QFile::exists(s.sReportFolder + "GridData.bin"));
}

}  // namespace
}  // namespace vantrep::analysis
