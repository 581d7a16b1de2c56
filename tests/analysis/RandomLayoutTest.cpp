// Cross-tabs of layouts drawn at random over the shipped summary sample, each
// compared cell by cell with sums that Python's dbfread computes over the
// same table, and column by column with its grand totals (so that no row or
// column the data has is missing from the grid).
#include <gtest/gtest.h>

#include <QMap>
#include <QProcess>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "analysis/QueryBuilder.h"
#include "analysis/SummaryGrid.h"
#include "session/ReportOpening.h"
#include "session/ValueCoding.h"
#include "support/ReportFolderTest.h"

namespace vantrep::analysis {
namespace {

struct Layout {
    QStringList rows;     // row dimensions, outermost first
    QString across;       // MONTH or WEEKDAY
    QStringList values;   // variables, in their order
};

// Key "row values|column value" -> one sum per variable, by Python.
QMap<QString, QList<double>> sumsByPython(const QString& table, const Layout& layout) {
    QProcess python;
    python.start("/usr/bin/python3",
                 {"-c",
                  "import dbfread,sys\n"
                  "rows=sys.argv[2].split(','); across=sys.argv[3]; values=sys.argv[4].split(',')\n"
                  "t={}\n"
                  "for r in dbfread.DBF(sys.argv[1], encoding='cp1252'):\n"
                  "  k='|'.join([r[f].strip() for f in rows]+[str(r[across])])\n"
                  "  s=t.setdefault(k,[0.0]*len(values))\n"
                  "  for i,v in enumerate(values): s[i]+=float(r[v])\n"
                  "for k,s in t.items(): print(k+'\\t'+'\\t'.join(repr(x) for x in s))\n",
                  table, layout.rows.join(','), layout.across, layout.values.join(',')});
    python.waitForFinished(60000);
    QMap<QString, QList<double>> sums;
    for (const QString& line : QString::fromUtf8(python.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
        QStringList parts = line.split('\t');
        QList<double> values;
        for (int i = 1; i < parts.size(); ++i) values << parts[i].toDouble();
        sums[parts[0]] = values;
    }
    return sums;
}

Layout randomLayout(std::mt19937& random) {
    QStringList dims = {"MEDIA", "BRAND", "CHANNEL", "LANGUAGE"};
    std::shuffle(dims.begin(), dims.end(), random);
    QStringList vars = {"SPEND", "SPOTS", "DURATION"};
    std::shuffle(vars.begin(), vars.end(), random);
    Layout layout;
    layout.rows = dims.mid(0, 1 + static_cast<int>(random() % 2));
    layout.across = random() % 2 ? "MONTH" : "WEEKDAY";
    layout.values = vars.mid(0, 1 + static_cast<int>(random() % 3));
    return layout;
}

// Places the session's fields as the layout says; every other dimension
// becomes a page field and every other variable is left out.
void apply(session::Session& s, const Layout& layout) {
    for (int i = 1; i <= s.aDims.upperBound(); ++i) {
        session::FieldDef& f = s.aDims(i);
        const QString name = f.FName.trimmed();
        if (layout.rows.contains(name)) {
            f.Layout = "R";
            f.Level = static_cast<int>(layout.rows.indexOf(name)) + 1;
        } else if (name == layout.across) {
            f.Layout = "C";
            f.Level = 1;
            f.FDec = 0;
        } else {
            f.Layout = "P";
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

QString columnValue(const QString& heading, const QString& across) {
    return across == "MONTH" ? session::MonthNumber(heading) : session::WeekdayNumber(heading);
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
        CrossTabQuery q = RunQuery(s.aDims, s.cmbField, s.aVars, QString(), s.sDataFile);
        grid::GridModel g;
        FillSummary(s, q, g, measure, false);
        ASSERT_TRUE(ui.messages.empty()) << ui.messages[0].text.toStdString();
        ASSERT_EQ(q.nRowDims, layout.rows.size());

        const QMap<QString, QList<double>> python = sumsByPython(s.sReportFolder + s.sDataFile, layout);
        ASSERT_FALSE(python.isEmpty());
        const int headingRow = g.fixedRows() - 1;
        int checked = 0;
        for (int c = q.nRowDims + 1; c < g.cols(); ++c) {
            const int v = static_cast<int>(layout.values.indexOf(
                [&] {
                    for (int i = 1; i <= s.aVars.upperBound(); ++i)
                        if (s.aVars(i).FDesc == g.textMatrix(headingRow, c)) return s.aVars(i).FName.trimmed();
                    return QString();
                }()));
            if (v < 0) continue;  // a percentage column
            const double divisor = std::max(1, s.aVars(v + 1).Divisor);
            // The statement rounds each sum to units, the cell shows FDec decimals of it after the divisor.
            const double unit = 0.5 / divisor + 0.5 * std::pow(10.0, -std::max(0, s.aVars(v + 1).FDec)) + 1e-9;
            const QString key = columnValue(g.textMatrix(0, c), layout.across);
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
