// Apply: the grids written back into the dictionary, the value lists and the
// page filter rebuilt, and the report run again, on the shipped samples.
#include <gtest/gtest.h>

#include <cmath>

#include "support/DbfreadSums.h"
#include "design/FillGrids.h"
#include "design/LayoutApply.h"
#include "design/OutlineRows.h"
#include "analysis/PageFilter.h"
#include "session/ValueCoding.h"
#include "support/DesignFields.h"
#include "support/OpenSample.h"

namespace vantrep::design {
namespace {

using testing::Dim;
using testing::Fields;

TEST(WriteBackDimensions, GroupNumbersGoToFDecAndTheFirstGroupsChildrenTakeTheirRow) {
    auto aDims = Fields({Dim("A", "P", 0, 5), Dim("X", "C", 2, 7), Dim("B", "C", 1, 2), Dim("R", "P", 0, 3),
                         Dim("S", "R", 1, 0, true)});
    DesignGrids grids;
    FillDimensionGrids(grids, Fields({Dim("S", "R", 2, 0, true), Dim("R", "R", 1), Dim("A", "C", 1, 0),
                                      Dim("B", "C", 1, 2), Dim("X", "C", 2)}));
    WriteBackDimensions(grids, aDims);
    EXPECT_EQ(aDims(1).Layout, "C");
    EXPECT_EQ(aDims(1).FDec, 0);
    EXPECT_EQ(aDims(1).Level, 1);
    EXPECT_EQ(aDims(2).FDec, 0);
    EXPECT_EQ(aDims(2).Level, 2);
    EXPECT_EQ(aDims(3).FDec, 2);
    EXPECT_EQ(aDims(3).Level, 1);
    EXPECT_EQ(aDims(4).Layout, "R");
    EXPECT_EQ(aDims(4).Level, 1);
    EXPECT_EQ(aDims(4).FDec, 0);
    EXPECT_EQ(aDims(5).Level, 2);
    EXPECT_TRUE(aDims(5).ShowTotal);
    EXPECT_EQ(CountFirstColumnGroup(grids.columns), 2);

    // Read back, the grids are the same.
    DesignGrids again;
    FillDimensionGrids(again, aDims);
    EXPECT_EQ(testing::Captions(again, DesignGrid::Columns), QStringList({"[A]", "X", "[B]", "X"}));
    EXPECT_EQ(testing::Captions(again, DesignGrid::Rows), QStringList({"R", "S"}));
}

TEST(WriteBackDimensions, TheColumnWriteBackEndsAtARowThatIsNoField) {
    auto aDims = Fields({Dim("A", "C", 1), Dim("B", "R", 1)});
    DesignGrids grids;
    FillDimensionGrids(grids, Fields({Dim("A", "C", 1), Dim("Gone", "C", 1, 2), Dim("B", "C", 1, 3)}));
    WriteBackDimensions(grids, aDims);
    EXPECT_EQ(aDims(2).Layout, "R");  // after the unknown caption: left alone
}

std::vector<session::ValueList> Lists(std::initializer_list<QStringList> items) {
    std::vector<session::ValueList> lists(1);
    for (const QStringList& list : items) lists.push_back({list, QString()});
    return lists;
}

TEST(BuildPageFilter, FilteredPageFieldsBecomeInListsInFieldOrder) {
    session::FieldDef month = Dim("Month", "P", 1);
    month.FName = "MONTH";
    month.FType = "N";
    session::FieldDef weekday = Dim("Weekday", "P", 2);
    weekday.FType = "N";
    session::FieldDef duration = Dim("Duration", "P", 3);
    duration.FType = "N";
    session::FieldDef size = Dim("Size", "P", 4);
    size.FType = "N";
    const auto aDims = Fields({Dim("Media", "P", 1), Dim("Brand", "R", 1), month, weekday, duration, size,
                               Dim("Channel", "P", 5)});
    const auto lists = Lists({{"Filtered Media", "A", " B "}, {"Filtered Brand", "X"}, {"Filtered Month", "Feb"},
                              {"Filtered Weekday", "Sun", "Others"}, {"Filtered Duration", "Others", "30"},
                              {"Filtered Size", "12.5", "-3"}, {"Channel", "One", "Two"}});
    const analysis::PageFilter filter = analysis::BuildPageFilter(aDims, lists);
    EXPECT_EQ(filter.sPageFilter, " MEDIA in('A','B') AND MONTH in(2) AND WEEKDAY in(1,8) AND DURATION in(0,30)"
                                  " AND SIZE in(12.5,-3)");
    EXPECT_EQ(filter.sPageFilterText, " Media in('A','B') AND Month in('Feb') AND Weekday in('Sun','Others')"
                                      " AND Duration in('Others','30') AND Size in('12.5','-3')");
    EXPECT_TRUE(analysis::BuildPageFilter(aDims, Lists({{"Media", "A"}})).sPageFilter.isEmpty());
}

TEST(BuildPageFilter, ANumericFieldsValueThatIsNoNumberIsQuoted) {
    session::FieldDef size = Dim("Size", "P", 1);
    size.FType = "N";
    const analysis::PageFilter filter =
        analysis::BuildPageFilter(Fields({size}), Lists({{"Filtered Size", "1) OR (1=1", "inf"}}));
    EXPECT_EQ(filter.sPageFilter, " SIZE in('1) OR (1=1','inf')");
}

class SummaryApply : public testing::OpenSample {};

TEST_F(SummaryApply, HostileCharacterValuesReadBackAsTheSameValues) {
    const QString folder = copySample("summary");
    // Three channels renamed by another program to texts holding quotes, a comma and a bar.
    const QStringList hostile = {"O'Brien, \"Live\"", "It's [late]|\"x\"", "Plain|Bar"};
    QProcess python;
    python.start("/usr/bin/python3",
                 {"-c",
                  "import dbf,sys\n"
                  "t=dbf.Table(sys.argv[1]); t.open(dbf.READ_WRITE)\n"
                  "for i,r in enumerate(t):\n"
                  "  if i%3==0: dbf.write(r, channel=sys.argv[2+(i//3)%3])\n"
                  "t.close()\n",
                  folder + "DATA.DBF", hostile[0], hostile[1], hostile[2]});
    ASSERT_TRUE(python.waitForFinished(60000));
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    ASSERT_EQ(open(folder + "DATA.DBF"), analysis::RunOutcome::SummaryOpened);

    const int channel = fieldIndex("CHANNEL");
    ASSERT_EQ(session->aDims(channel).Layout.trimmed(), "P");
    session->cmbField[static_cast<size_t>(channel)].items = QStringList{"Filtered Channel", hostile[0], hostile[1]};
    designer->noteFilterChange();
    ASSERT_TRUE(designer->apply());
    EXPECT_EQ(reruns, 1);

    engine::Recordset rs;
    rs.Open(("SELECT COUNT(*) FROM " + session->sDataFile + " WHERE" + session->sPageFilter).toStdString(),
            session->cnData);
    // Records 0, 3, 6, ... 2997 were renamed in turn to the three texts: 334 + 333 hold the first two.
    EXPECT_EQ(rs.field(0).value().asInteger(), 667);
    EXPECT_TRUE(session->crossTab.aQuerySql[1].contains(session->sPageFilter));
    EXPECT_TRUE(ui.messages.empty());
}

// Every cell of a cross-tab against Python's sums: variables by their heading
// in row 1, the column's key by its heading in row 0 (`keyOf` maps it to the
// table's value, "" for a column of another group).
void expectCellsAgree(const session::Session& s, const grid::GridModel& g, const QStringList& rowFields,
                      const QString& across, const std::function<QString(const QString&)>& keyOf,
                      const std::function<QString(int row, int d)>& rowKeyOf, int& checked) {
    QStringList names;
    for (int v = 1; v <= s.aVars.upperBound(); ++v)
        if (s.aVars(v).Level > 0) names << s.aVars(v).FName.trimmed();
    const auto python = vantrep::testing::SumsBy(s.sReportFolder + s.sDataFile, rowFields + QStringList{across}, names);
    ASSERT_FALSE(python.isEmpty());
    const int nRows = static_cast<int>(rowFields.size());
    for (int c = nRows + 1; c < g.cols(); ++c) {
        const QString key = keyOf(g.textMatrix(0, c));
        if (key.isEmpty()) continue;
        int v = 0;
        for (int i = 1; i <= s.aVars.upperBound(); ++i)
            if (s.aVars(i).Level > 0 && s.aVars(i).FDesc == g.textMatrix(1, c)) v = i;
        if (v == 0) continue;  // a percentage column
        const double divisor = std::max(1, s.aVars(v).Divisor);
        const double unit = 0.5 / divisor + 0.5 * std::pow(10.0, -std::max(0, s.aVars(v).FDec)) + 1e-9;
        for (int r = g.fixedRows(); r < g.rows(); ++r) {
            QStringList rowValues;
            for (int d = 1; d <= nRows; ++d) rowValues << rowKeyOf(r, d);
            const double expected = python.value(rowValues.join('|') + "|" + key).value(v - 1) / divisor;
            EXPECT_NEAR(g.valueMatrix(r, c), expected, unit) << rowValues.join('|').toStdString() << " "
                                                             << key.toStdString() << " " << names[v - 1].toStdString();
            ++checked;
        }
    }
}

TEST_F(SummaryApply, MonthToTheRowsAndBrandToTheColumnsGiveTheCrossTabOfTheTable) {
    ASSERT_EQ(open(copySample("summary") + "DATA.DBF"), analysis::RunOutcome::SummaryOpened);
    // Month leaves the columns (Weekday stays), Brand becomes a second column group.
    ASSERT_TRUE(designer->dropOnDimensionGrid(DesignGrid::Columns, rowOf(DesignGrid::Columns, "Month"),
                                              rowOf(DesignGrid::Columns, "Month"), DesignGrid::Rows, -1));
    ASSERT_TRUE(designer->dropOnDimensionGrid(DesignGrid::Rows, rowOf(DesignGrid::Rows, "Brand"),
                                              rowOf(DesignGrid::Rows, "Brand"), DesignGrid::Columns, 0));
    EXPECT_TRUE(designer->applyEnabled());
    ASSERT_TRUE(designer->apply());
    EXPECT_FALSE(designer->applyEnabled());
    ASSERT_TRUE(ui.messages.empty()) << ui.messages[0].text.toStdString();

    const session::FieldDef& month = session->aDims(fieldIndex("MONTH"));
    EXPECT_EQ(month.Layout, "R");
    EXPECT_EQ(month.Level, 2);
    const session::FieldDef& brand = session->aDims(fieldIndex("BRAND"));
    EXPECT_EQ(brand.Layout, "C");
    EXPECT_EQ(brand.Level, 1);
    EXPECT_EQ(brand.FDec, 2);
    EXPECT_EQ(session->aDims(fieldIndex("WEEKDAY")).FDec, 0);
    EXPECT_EQ(session->crossTab.nRowDims, 2);
    EXPECT_EQ(grid.textMatrix(0, 1), "Media");
    EXPECT_EQ(grid.textMatrix(0, 2), "Month");
    // Brand's value list now holds the brands, for the query's column keys.
    EXPECT_GT(session->cmbField[static_cast<size_t>(fieldIndex("BRAND"))].items.size(), 2);

    QStringList brands;  // as the value list holds them, blank-padded
    for (const QString& item : session->cmbField[static_cast<size_t>(fieldIndex("BRAND"))].items.mid(1))
        brands << item.trimmed();
    auto rowKey = [&](int r, int d) {
        const QString text = grid.textMatrix(r, d).trimmed();
        return d == 2 ? session::MonthNumber(text) : text;
    };
    int weekdayCells = 0;
    expectCellsAgree(*session, grid, {"MEDIA", "MONTH"}, "WEEKDAY", [](const QString& h) {
        return session::WeekdayNumber(h);
    }, rowKey, weekdayCells);
    int brandCells = 0;
    expectCellsAgree(*session, grid, {"MEDIA", "MONTH"}, "BRAND", [&](const QString& h) {
        return brands.contains(h.trimmed()) ? h.trimmed() : QString();
    }, rowKey, brandCells);
    EXPECT_GT(weekdayCells, 100);
    EXPECT_GT(brandCells, 100);
}

TEST_F(SummaryApply, VariablesRemovedAndReorderedLeaveTheGridWithTheNewOrder) {
    ASSERT_EQ(open(copySample("summary") + "DATA.DBF"), analysis::RunOutcome::SummaryOpened);
    const int spots = rowOf(DesignGrid::Selected, "Spots");
    ASSERT_TRUE(designer->dropOnVariableList(DesignGrid::Selected, {spots}, DesignGrid::Available, -1));
    ASSERT_EQ(designer->moveSelectedRow(rowOf(DesignGrid::Selected, "Duration"), true), 2);
    ASSERT_TRUE(designer->apply());
    EXPECT_EQ(session->aVars(1).FDesc, "Duration");
    EXPECT_EQ(session->aVars(1).Level, 1);
    EXPECT_EQ(session->aVars(2).FDesc, "Spend (USD)");
    EXPECT_TRUE(session->aVars(2).ShowTotal);
    EXPECT_EQ(session->aVars(2).Divisor, 1000);
    EXPECT_EQ(session->aVars(2).Layout, "###,###,###.00");
    EXPECT_EQ(session->aVars(3).FDesc, "Spots");
    EXPECT_EQ(session->aVars(3).Level, 0);
    EXPECT_FALSE(session->aVars(3).ShowTotal);
    EXPECT_EQ(grid.textMatrix(1, 3), "Duration");
    EXPECT_EQ(grid.textMatrix(1, 4), "Spend (USD)");
    for (int c = 1; c < grid.cols(); ++c) EXPECT_NE(grid.textMatrix(1, c), "Spots");
}

TEST_F(SummaryApply, UnderAutomationApplyIsNeverEnabledButOkStillApplies) {
    const QString folder = copySample("summary");
    ASSERT_EQ(open(folder + "DATA.DBF", "-Embedding"), analysis::RunOutcome::SummaryOpened);
    ASSERT_TRUE(designer->dropOnDimensionGrid(DesignGrid::Columns, 1, 1, DesignGrid::Rows, -1));
    EXPECT_FALSE(designer->applyEnabled());
    EXPECT_TRUE(designer->dimsChanged());
    ASSERT_TRUE(designer->apply());
    EXPECT_EQ(reruns, 1);
    EXPECT_FALSE(designer->dimsChanged());
}

TEST_F(SummaryApply, AColumnFieldWithACommaInItsValuesIsRefusedWithTheChecksMessage) {
    ASSERT_EQ(open(copySample("summary") + "DATA.DBF"), analysis::RunOutcome::SummaryOpened);
    const int brand = fieldIndex("BRAND");
    session->cmbField[static_cast<size_t>(brand)].items = QStringList{"Filtered Brand", "Acme", "Smith, Jones"};
    designer->markFilteredFields();
    const int row = rowOf(DesignGrid::Rows, "Brand");
    EXPECT_FALSE(designer->dropOnDimensionGrid(DesignGrid::Rows, row, row, DesignGrid::Columns, 0));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Dimension unfit for column \r\ncontaining invalid character (,)");
    EXPECT_EQ(rowOf(DesignGrid::Rows, "Brand"), row);
    EXPECT_EQ(rowOf(DesignGrid::Columns, "Brand"), -1);
    EXPECT_FALSE(designer->applyEnabled());
    EXPECT_EQ(designer->grids().rows.textMatrix(row, 1), "Filtered Brand");
}

class ListingApply : public testing::OpenSample {};

TEST_F(ListingApply, AFieldHiddenTwoReorderedAndAGroupingLevelAddedReachTheListingAndItsSubtotals) {
    ASSERT_EQ(open(copySample("detailed") + "Spot_Listing.dtr"), analysis::RunOutcome::ListingOpened);
    ASSERT_TRUE(designer->dropOnVariableList(DesignGrid::Selected, {rowOf(DesignGrid::Selected, "Ad description")},
                                             DesignGrid::Available, -1));
    // Brand up past Time and Date, to follow Channel; then it groups.
    ASSERT_GT(designer->moveSelectedRow(rowOf(DesignGrid::Selected, "Brand"), true), 0);
    const int brandRow = designer->moveSelectedRow(rowOf(DesignGrid::Selected, "Brand"), true);
    ASSERT_EQ(brandRow, 4);
    EXPECT_FALSE(designer->toggleCheck(DesignGrid::Selected, 5));  // Date: not under a checked row
    ASSERT_TRUE(designer->toggleCheck(DesignGrid::Selected, brandRow));
    ASSERT_TRUE(designer->apply());
    ASSERT_TRUE(ui.messages.empty()) << ui.messages[0].text.toStdString();

    QStringList headings;
    for (int c = 1; c < grid.cols(); ++c)
        if (!grid.colHidden(c)) headings << grid.textMatrix(0, c);
    EXPECT_EQ(headings.mid(0, 5), QStringList({"Media", "Channel", "Brand", "Date", "Time"}));
    EXPECT_FALSE(headings.contains("Ad description"));
    EXPECT_EQ(session->aDims(fieldIndex("BRAND")).Level, 3);
    EXPECT_EQ(session->aDims(fieldIndex("BRAND")).Divisor, 3);
    EXPECT_FALSE(session->aDims(fieldIndex("AD_DESC")).Displayed);

    const int spend = static_cast<int>(headings.indexOf("Spend (USD)")) + 1;
    ASSERT_GT(spend, 0);
    int groups = 0;
    int dataRows = 0;
    for (int r = grid.fixedRows(); r < grid.rows(); ++r) {
        if (!grid.isSubtotal(r)) {
            ++dataRows;
            continue;
        }
        if (grid.outlineLevel(r) != 3) continue;
        double sum = 0;
        int rows = 0;
        for (int k = r + 1; k < grid.rows() && !grid.isSubtotal(k); ++k, ++rows) {
            sum += grid.valueMatrix(k, spend);
            EXPECT_EQ(grid.textMatrix(k, 3), grid.textMatrix(r, 3));
        }
        EXPECT_NEAR(grid.valueMatrix(r, spend), sum, 0.005 * rows + 1e-6) << grid.textMatrix(r, 3).toStdString();
        ++groups;
    }
    EXPECT_EQ(dataRows, 2000);
    EXPECT_GT(groups, 10);
}

}  // namespace
}  // namespace vantrep::design
