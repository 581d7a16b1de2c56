// Filters chosen through the filter logic and applied by the designer, on
// the shipped samples, each checked against Python's own pass over the
// table: an "Others" column group, page filters on a character and a number
// field (in the criteria text and the grid report's PDF), a weekday page
// value "Others", a value holding quotes, a comma and a bar, and a filtered
// listing.
#include <gtest/gtest.h>

#include <QDate>
#include <QGuiApplication>
#include <QProcess>
#include <cmath>

#include "design/FilterValues.h"
#include "print/PdfWriter.h"
#include "print/PrintSurface.h"
#include "report/GridReport.h"
#include "report/PreviewReport.h"
#include "session/Criteria.h"
#include "session/ValueCoding.h"
#include "session/ValueList.h"
#include "support/EditTable.h"
#include "support/DbfreadSums.h"
#include "support/OpenSample.h"

namespace vantrep::design {
namespace {

class FilterReport : public testing::OpenSample {
protected:
    // A filter dialog that selects `values` (compared trimmed) in this order,
    // ticks "Show Others" when asked, and ends with OK.
    LayoutDesigner::FilterDialog choose(const QStringList& values, bool others = false) {
        return [=, this](const QString& caption, int sourceIndex) {
            FilterValues f(*session, caption, sourceIndex);
            for (const QString& value : values) {
                const QStringList available = f.values(FilterList::Available);
                int row = 0;
                for (int k = 0; k < available.size(); ++k)
                    if (available[k].trimmed() == value) row = k + 1;
                EXPECT_GT(row, 0) << value.toStdString();
                if (row > 0) {
                    EXPECT_TRUE(f.drop(FilterList::Available, {row}, FilterList::Selected, -1));
                }
            }
            if (others) f.clickShowOthers(true);
            f.ok();
            return f.ChangeFilter();
        };
    }
    QStringList variableNames() const {
        QStringList names;
        for (int v = 1; v <= session->aVars.upperBound() && session->aVars(v).Level > 0; ++v)
            names << session->aVars(v).FName.trimmed();
        return names;
    }
    int variableOf(const QString& caption) const {
        for (int v = 1; v <= session->aVars.upperBound() && session->aVars(v).Level > 0; ++v)
            if (session->aVars(v).FDesc == caption) return v;
        return 0;
    }
    // Every value cell of the cross-tab against `expected`, keyed by the row
    // labels of `rowDims` label columns and the column's key `keyOf(heading)`
    // ("" skips the column); returns the cells compared.
    int expectCells(const QMap<QString, QList<double>>& expected, int rowDims,
                    const std::function<QString(const QString&)>& keyOf,
                    const std::function<QString(int, int)>& rowKeyOf = {}) {
        int checked = 0;
        for (int c = rowDims + 1; c < grid.cols(); ++c) {
            const QString key = keyOf(grid.textMatrix(0, c).trimmed());
            const int v = variableOf(grid.textMatrix(1, c));
            if (key.isEmpty() || v == 0) continue;
            const double divisor = std::max(1, session->aVars(v).Divisor);
            const double unit = 0.5 / divisor + 0.5 * std::pow(10.0, -std::max(0, session->aVars(v).FDec)) + 1e-9;
            for (int r = grid.fixedRows(); r < grid.rows(); ++r) {
                QStringList labels;
                for (int d = 1; d <= rowDims; ++d)
                    labels << (rowKeyOf ? rowKeyOf(r, d) : grid.textMatrix(r, d).trimmed());
                const double want = expected.value(labels.join('|') + "|" + key).value(v) / divisor;
                EXPECT_NEAR(grid.valueMatrix(r, c), want, unit) << labels.join('|').toStdString() << " " << key.toStdString();
                ++checked;
            }
        }
        return checked;
    }
    // The rows of data the cross-tab shows: one per key of `expected` with its row labels.
    QSet<QString> rowKeys(int rowDims) const {
        QSet<QString> keys;
        for (int r = grid.fixedRows(); r < grid.rows(); ++r) {
            QStringList labels;
            for (int d = 1; d <= rowDims; ++d) labels << grid.textMatrix(r, d).trimmed();
            keys << labels.join('|');
        }
        return keys;
    }
    static QSet<QString> keyPrefixes(const QMap<QString, QList<double>>& sums, int parts) {
        QSet<QString> keys;
        for (auto it = sums.begin(); it != sums.end(); ++it) keys << it.key().section('|', 0, parts - 1);
        return keys;
    }
    QString pdfText() {
        int argc = 1;
        char name[] = "design_tests";
        char* argv[] = {name};
        QGuiApplication app(argc, argv);  // fonts for the print surface
        print::PrintSurface surface;
        report::GridReport gridReport(surface);
        gridReport.ReportGrid = &grid;
        gridReport.ReportCriteria =
            report::previewCriteria(session::getCriteria(session->sPageFilterText, session->sReportTitle));
        gridReport.startTitles(session->sReportName);
        gridReport.printGridReport();
        const QString pdf = temp.path() + "/grid.pdf";
        EXPECT_TRUE(print::writePdf(surface.document(), pdf));
        QProcess pdftotext;
        pdftotext.start("pdftotext", {pdf, "-"});
        EXPECT_TRUE(pdftotext.waitForFinished(60000));
        return QString::fromUtf8(pdftotext.readAllStandardOutput());
    }
};

TEST_F(FilterReport, TwoMediaWithShowOthersGiveAnOthersColumnGroupHoldingExactlyTheRest) {
    const QString folder = copySample("summary");
    ASSERT_EQ(open(folder + "DATA.DBF"), analysis::RunOutcome::SummaryOpened);
    const int media = rowOf(DesignGrid::Rows, "Media");
    ASSERT_TRUE(designer->dropOnDimensionGrid(DesignGrid::Rows, media, media, DesignGrid::Columns, 0));
    designer->filterCommand("Media", 2, choose({"TV", "RADIO"}, true));
    ASSERT_TRUE(designer->apply());
    ASSERT_TRUE(ui.messages.empty()) << ui.messages[0].text.toStdString();
    EXPECT_TRUE(session->aDims(fieldIndex("MEDIA")).ShowOthers);

    QSet<QString> mediaHeadings;
    for (int c = 2; c < grid.cols(); ++c) mediaHeadings << grid.textMatrix(0, c).trimmed();
    EXPECT_TRUE(mediaHeadings.contains("Others"));
    for (const char* gone : {"PRESS", "OUTDOOR", "CINEMA"}) EXPECT_FALSE(mediaHeadings.contains(gone));

    const auto sums = vantrep::testing::FilteredSums(folder + "DATA.DBF", "True", {"BRAND", "MEDIA"}, variableNames());
    // The bucket's expected sums: every medium but the two kept.
    QMap<QString, QList<double>> expected;
    for (auto it = sums.begin(); it != sums.end(); ++it) {
        const QString brand = it.key().section('|', 0, 0);
        const QString medium = it.key().section('|', 1);
        const QString key = brand + "|" + (medium == "TV" || medium == "RADIO" ? medium : "Others");
        QList<double>& sum = expected[key];
        sum.resize(it.value().size());
        for (int k = 0; k < it.value().size(); ++k) sum[k] += it.value()[k];
    }
    int others = 0;
    const int checked = expectCells(expected, 1, [&](const QString& heading) {
        others += heading == "Others";
        return heading == "TV" || heading == "RADIO" || heading == "Others" ? heading : QString();
    });
    EXPECT_EQ(checked, 3 * 3 * (grid.rows() - grid.fixedRows()));
    EXPECT_GE(others, 3);  // at least one column per variable
    EXPECT_EQ(rowKeys(1), keyPrefixes(sums, 1));
}

TEST_F(FilterReport, PageFiltersOnACharacterAndAMonthFieldRestrictEveryTotalAndAreNamedInTheCriteriaAndThePdf) {
    const QString folder = copySample("summary");
    ASSERT_TRUE(testing::EditStructure(folder + "Brand_Spends.str", "MONTH", "LAYOUT", "P"));
    ASSERT_TRUE(testing::EditStructure(folder + "Brand_Spends.str", "WEEKDAY", "FDEC", "0", true));
    ASSERT_EQ(open(folder + "DATA.DBF"), analysis::RunOutcome::SummaryOpened);
    designer->filterCommand("Channel", 0, choose({"VOVI TV", "PORE TV"}));
    designer->filterCommand("Month", 0, choose({"Nov", "Mar"}));
    EXPECT_TRUE(designer->applyEnabled());
    ASSERT_TRUE(designer->apply());
    ASSERT_TRUE(ui.messages.empty()) << ui.messages[0].text.toStdString();

    EXPECT_EQ(session->sPageFilter, " CHANNEL in('VOVI TV','PORE TV') AND MONTH in(11,3)");
    EXPECT_EQ(session->sPageFilterText, " Channel in('VOVI TV','PORE TV') AND Month in('Nov','Mar')");
    EXPECT_EQ(session::getCriteria(session->sPageFilterText, session->sReportTitle),
              "Channel in('VOVI TV','PORE TV') AND Month in('Nov','Mar')\rBrand spends by month and weekday");

    const auto sums = vantrep::testing::FilteredSums(folder + "DATA.DBF",
                                            "CHANNEL.strip() in ('VOVI TV','PORE TV') and MONTH in (3, 11)",
                                            {"MEDIA", "BRAND", "WEEKDAY"}, variableNames());
    ASSERT_FALSE(sums.isEmpty());
    const int checked = expectCells(sums, 2, [](const QString& heading) { return session::WeekdayNumber(heading); });
    EXPECT_EQ(checked, 7 * 3 * (grid.rows() - grid.fixedRows()));
    EXPECT_EQ(rowKeys(2), keyPrefixes(sums, 2));

    const QString text = pdfText().simplified();
    EXPECT_TRUE(text.contains("Channel in('VOVI TV','PORE TV') AND Month in('Nov','Mar')")) << text.left(400).toStdString();
}

TEST_F(FilterReport, AWeekdayPageValueOthersFiltersOnEight) {
    const QString folder = copySample("summary");
    ASSERT_EQ(testing::EditEvery(folder + "DATA.DBF", "WEEKDAY", 9, "8", true), 334);
    ASSERT_TRUE(testing::EditStructure(folder + "Brand_Spends.str", "WEEKDAY", "LAYOUT", "P"));
    ASSERT_EQ(open(folder + "DATA.DBF"), analysis::RunOutcome::SummaryOpened);
    designer->filterCommand("Weekday", 0, choose({"Others"}));
    ASSERT_TRUE(designer->apply());
    EXPECT_EQ(session->sPageFilter, " WEEKDAY in(8)");
    EXPECT_EQ(session->sPageFilterText, " Weekday in('Others')");

    const auto sums = vantrep::testing::FilteredSums(folder + "DATA.DBF", "WEEKDAY == 8", {"MEDIA", "BRAND", "MONTH"},
                                            variableNames());
    const int checked = expectCells(sums, 2, [](const QString& heading) { return session::MonthNumber(heading); });
    EXPECT_GT(checked, 100);
    EXPECT_EQ(rowKeys(2), keyPrefixes(sums, 2));
}

TEST_F(FilterReport, ADatePageFilterKeepsTheRecordsOfThoseDays) {
    const QString folder = copySample("summary");
    ASSERT_TRUE(testing::EditStructure(folder + "Brand_Spends.str", "DATE", "LAYOUT", "P"));
    ASSERT_EQ(open(folder + "DATA.DBF"), analysis::RunOutcome::SummaryOpened);
    const auto shown = [](int y, int m, int d) {
        return session::DisplayFormOf(engine::Value::date(static_cast<int32_t>(QDate(y, m, d).toJulianDay())), "DATE", "D")
            .trimmed();
    };
    designer->filterCommand("Date", 0, choose({shown(2024, 3, 20), shown(2023, 6, 13)}));
    ASSERT_TRUE(designer->apply());
    ASSERT_TRUE(ui.messages.empty()) << ui.messages[0].text.toStdString();
    EXPECT_TRUE(session->sPageFilter.startsWith(" DATE in(CTOD("));

    const auto sums = vantrep::testing::FilteredSums(folder + "DATA.DBF", "str(DATE) in ('2024-03-20', '2023-06-13')",
                                            {"MEDIA", "BRAND", "MONTH"}, variableNames());
    ASSERT_FALSE(sums.isEmpty());
    const int checked = expectCells(sums, 2, [](const QString& heading) { return session::MonthNumber(heading); });
    EXPECT_GT(checked, 10);
    EXPECT_EQ(rowKeys(2), keyPrefixes(sums, 2));
}

TEST_F(FilterReport, APageValueWithAQuoteACommaAndABarFiltersThoseRecords) {
    const QString folder = copySample("summary");
    const QString hostile = "O'Brien, \"Live\" | 2";
    ASSERT_EQ(testing::EditEvery(folder + "DATA.DBF", "CHANNEL", 7, hostile), 429);
    ASSERT_EQ(open(folder + "DATA.DBF"), analysis::RunOutcome::SummaryOpened);
    designer->filterCommand("Channel", 0, choose({hostile}));
    ASSERT_TRUE(designer->apply());
    ASSERT_TRUE(ui.messages.empty()) << ui.messages[0].text.toStdString();
    EXPECT_EQ(session->sPageFilterText, " Channel in('" + hostile + "')");

    const auto sums = vantrep::testing::FilteredSums(folder + "DATA.DBF", "CHANNEL.strip() == '''" + hostile + "'''",
                                            {"MEDIA", "BRAND", "MONTH"}, variableNames());
    ASSERT_FALSE(sums.isEmpty());
    const int checked = expectCells(sums, 2, [](const QString& heading) { return session::MonthNumber(heading); });
    EXPECT_GT(checked, 50);
    EXPECT_EQ(rowKeys(2), keyPrefixes(sums, 2));
}

TEST_F(FilterReport, AFilterOnAShownListingFieldRestrictsItsRowsAndSubtotals) {
    const QString folder = copySample("detailed");
    ASSERT_EQ(open(folder + "Spot_Listing.dtr"), analysis::RunOutcome::ListingOpened);
    const int mediaRow = rowOf(DesignGrid::Selected, "Media");
    ASSERT_GT(mediaRow, 0);
    designer->filterCommand(designer->grids().selected.textMatrix(mediaRow, 1), 1, choose({"RADIO", "CINEMA"}));
    EXPECT_EQ(designer->grids().selected.textMatrix(mediaRow, 1), "Filtered Media");
    ASSERT_TRUE(designer->apply());
    ASSERT_TRUE(ui.messages.empty()) << ui.messages[0].text.toStdString();

    int mediaCol = 0;
    int spendCol = 0;
    for (int c = 1; c < grid.cols(); ++c) {
        if (grid.textMatrix(0, c).endsWith("Media")) mediaCol = c;
        if (grid.textMatrix(0, c) == "Spend (USD)") spendCol = c;
    }
    ASSERT_GT(mediaCol, 0);
    ASSERT_GT(spendCol, 0);
    const auto sums = vantrep::testing::FilteredSums(folder + "DATA.DBF", "MEDIA.strip() in ('RADIO','CINEMA')", {"MEDIA"},
                                            {"SPEND"});
    QMap<QString, int> rows;
    for (int r = grid.fixedRows(); r < grid.rows(); ++r)
        if (!grid.isSubtotal(r)) ++rows[grid.textMatrix(r, mediaCol).trimmed()];
    ASSERT_EQ(rows.keys(), QStringList({"CINEMA", "RADIO"}));
    for (const QString& medium : rows.keys()) EXPECT_EQ(rows[medium], static_cast<int>(sums[medium][0]));

    // Each first-level subtotal sums its own rows, and their sum is Python's.
    double subtotals = 0;
    int levelOne = 0;
    for (int r = grid.fixedRows(); r < grid.rows(); ++r) {
        if (!grid.isSubtotal(r) || grid.outlineLevel(r) != 1) continue;
        double sum = 0;
        int n = 0;
        for (int k = r + 1; k < grid.rows() && !(grid.isSubtotal(k) && grid.outlineLevel(k) <= 1); ++k)
            if (!grid.isSubtotal(k)) sum += grid.valueMatrix(k, spendCol), ++n;
        EXPECT_NEAR(grid.valueMatrix(r, spendCol), sum, 0.005 * n + 1e-6);
        subtotals += grid.valueMatrix(r, spendCol);
        ++levelOne;
    }
    EXPECT_EQ(levelOne, 2);
    EXPECT_NEAR(subtotals, sums["RADIO"][1] + sums["CINEMA"][1], 0.01);
}

}  // namespace
}  // namespace vantrep::design
