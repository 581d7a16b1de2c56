// Cross-tabs of layouts drawn at random over the shipped summary sample, each
// compared cell by cell with sums that Python's dbfread computes over the
// same table, and column by column with its grand totals (so that no row or
// column the data has is missing from the grid).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "analysis/QueryBuilder.h"
#include "analysis/SummaryGrid.h"
#include "session/ReportOpening.h"
#include "session/ValueCoding.h"
#include "support/DbfreadSums.h"
#include "support/ReportFolderTest.h"

namespace vantrep::analysis {
namespace {

struct Layout {
    QStringList rows;     // row dimensions, outermost first
    QString across;       // MONTH or WEEKDAY
    QStringList values;   // variables, in their order
};

Layout randomLayout(std::mt19937& random) {
    QStringList dims = {"MEDIA", "BRAND", "CHANNEL", "LANGUAGE"}, vars = {"SPEND", "SPOTS", "DURATION"};
    std::shuffle(dims.begin(), dims.end(), random);
    std::shuffle(vars.begin(), vars.end(), random);
    // A braced list is evaluated left to right: rows, across, values.
    return {dims.mid(0, 1 + static_cast<int>(random() % 2)), random() % 2 ? "MONTH" : "WEEKDAY",
            vars.mid(0, 1 + static_cast<int>(random() % 3))};
}

// Places the session's fields as the layout says; every other dimension
// becomes a page field and every other variable is left out.
void apply(session::Session& s, const Layout& layout) {
    for (int i = 1; i <= s.aDims.upperBound(); ++i) {
        session::FieldDef& f = s.aDims(i);
        const QString name = f.FName.trimmed();
        f.Layout = layout.rows.contains(name) ? "R" : name == layout.across ? "C" : "P";
        if (f.Layout == "R") f.Level = static_cast<int>(layout.rows.indexOf(name)) + 1;
        if (f.Layout == "C") {
            f.Level = 1;
            f.FDec = 0;
        }
    }
    // Variables are used in order up to the first one of level 0.
    session::FieldList vars;
    for (const QString& name : layout.values)
        for (int v = 1; v <= s.aVars.upperBound(); ++v)
            if (s.aVars(v).FName.trimmed() == name) vars.append(s.aVars(v));
    for (int v = 1; v <= vars.upperBound(); ++v) vars(v).Level = v;
    s.aVars = vars;
}

class RandomLayout : public ReportFolderTest {};

TEST_F(RandomLayout, EveryCellAndColumnTotalAgreesWithAnIndependentSum) {
    std::mt19937 random(20261206);
    std::vector<Layout> layouts;
    for (int round = 0; round < 4; ++round) layouts.push_back(randomLayout(random));
    // The largest grid the sample gives (2,886 rows): filled on several cores.
    layouts.push_back({{"BRAND", "CHANNEL"}, "MONTH", {"SPEND", "SPOTS", "DURATION"}});
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(("rows " + layout.rows.join(",") + " across " + layout.across + " values " +
                      layout.values.join(",")).toStdString());
        session::Session s(ui, QString(VANTREP_SAMPLES_DIR) + "/summary/DATA.DBF");
        ASSERT_EQ(session::OpenDizave(s, s.commandLine), session::OpenOutcome::Opened);
        apply(s, layout);
        s.crossTab = RunQuery(s.aDims, s.cmbField, s.aVars, QString(), s.sDataFile);
        const CrossTabQuery& q = s.crossTab;
        grid::GridModel g;
        FillSummary(s, g, measure);
        ASSERT_TRUE(ui.messages.empty()) << ui.messages[0].text.toStdString();
        ASSERT_EQ(q.nRowDims, layout.rows.size());

        const auto python = vantrep::testing::SumsBy(s.sReportFolder + s.sDataFile, layout.rows + QStringList{layout.across}, layout.values);
        ASSERT_FALSE(python.isEmpty());
        const int headingRow = g.fixedRows() - 1;
        int checked = 0;
        for (int c = q.nRowDims + 1; c < g.cols(); ++c) {
            int v = -1;  // the variable shown in the column
            for (int i = 1; i <= s.aVars.upperBound(); ++i)
                if (s.aVars(i).FDesc == g.textMatrix(headingRow, c))
                    v = static_cast<int>(layout.values.indexOf(s.aVars(i).FName.trimmed()));
            if (v < 0) continue;  // a percentage column
            const double divisor = std::max(1, s.aVars(v + 1).Divisor);
            // The statement rounds each sum to units, the cell shows FDec decimals of it after the divisor.
            const double unit = 0.5 / divisor + 0.5 * std::pow(10.0, -std::max(0, s.aVars(v + 1).FDec)) + 1e-9;
            const QString key = layout.across == "MONTH" ? session::MonthNumber(g.textMatrix(0, c))
                                                         : session::WeekdayNumber(g.textMatrix(0, c));
            double gridColumn = 0;
            for (int r = g.fixedRows(); r < g.rows(); ++r) {
                QStringList rowValues;
                for (int d = 1; d <= q.nRowDims; ++d) rowValues << g.textMatrix(r, d).trimmed();
                const double expected = python.value(rowValues.join('|') + "|" + key).value(v) / divisor;
                EXPECT_NEAR(g.valueMatrix(r, c), expected, unit) << rowValues.join('|').toStdString() << " " << key.toStdString();
                gridColumn += g.valueMatrix(r, c);
                ++checked;
            }
            double dataColumn = 0;
            for (auto it = python.begin(); it != python.end(); ++it)
                if (it.key().section('|', -1) == key) dataColumn += it.value().value(v) / divisor;
            EXPECT_NEAR(gridColumn, dataColumn, unit * (g.rows() - g.fixedRows()) + 1e-6) << key.toStdString();
        }
        EXPECT_GT(checked, 0);
    }
}

}  // namespace
}  // namespace vantrep::analysis
