#include <gtest/gtest.h>

#include <vector>

#include "engine/EngineError.h"
#include "grid/GridModel.h"

using vantrep::engine::EngineError;
using namespace vantrep::grid;

namespace {

constexpr int kRed204 = 0x0000CC;
constexpr int kBlue204 = 0xCC0000;

// A listing: header row, then MEDIA | REGION | SPEND | UNITS sorted by the first two.
GridModel listing() {
    GridModel grid(1, 4);
    grid.setFixedRows(1);
    grid.setTextMatrix(0, 0, "MEDIA");
    grid.addItem("Press\tNorth\t1,000.50\t1");
    grid.addItem("Press\tNorth\t200\t2");
    grid.addItem("Press\tSouth\t50\t3");
    grid.addItem("TV\tNorth\t3,000\t4");
    return grid;
}

QString column(const GridModel& grid, int col) {
    QStringList texts;
    for (int r = 0; r < grid.rows(); ++r) texts << grid.textMatrix(r, col);
    return texts.join('|');
}

SubtotalRequest request(int group, int total, QString format = "#,###.00") {
    SubtotalRequest r;
    r.function = subtotalSum;
    r.groupCol = group;
    r.totalCol = total;
    r.format = std::move(format);
    return r;
}

}  // namespace

TEST(GridSubtotal, GrandTotalStandsAtTheFirstDataRow) {
    GridModel grid = listing();
    SubtotalRequest total = request(-1, 2);
    total.foreColor = kRed204;
    total.bold = true;
    grid.subtotal(total);
    total.totalCol = 3;
    total.format = "";
    grid.subtotal(total);  // fills the same row
    ASSERT_EQ(grid.rows(), 6);
    EXPECT_TRUE(grid.isSubtotal(1));
    EXPECT_EQ(grid.outlineLevel(1), -1);
    EXPECT_EQ(grid.textMatrix(1, 0), "Grand Total");
    EXPECT_EQ(grid.textMatrix(1, 2), "4,250.50");
    EXPECT_EQ(grid.textMatrix(1, 3), "10");
    EXPECT_DOUBLE_EQ(grid.valueMatrix(1, 2), 4250.5);
    EXPECT_TRUE(grid.cellBold(1, 2));
    EXPECT_EQ(grid.cellForeColor(1, 3), kRed204);
    EXPECT_EQ(grid.cellBackColor(1, 3), -1);
    EXPECT_FALSE(grid.isSubtotal(2));
    EXPECT_EQ(grid.textMatrix(0, 0), "MEDIA");
}

TEST(GridSubtotal, GroupRowsGoAboveTheirGroups) {
    GridModel grid = listing();
    SubtotalRequest level1 = request(0, 2);
    level1.foreColor = kRed204;
    grid.subtotal(level1);
    EXPECT_EQ(column(grid, 0), "MEDIA|Press|Press|Press|Press|TV|TV");
    EXPECT_EQ(column(grid, 2), "|1,250.50|1,000.50|200|50|3,000.00|3,000");
    EXPECT_TRUE(grid.isSubtotal(1));
    EXPECT_TRUE(grid.isSubtotal(5));
    EXPECT_FALSE(grid.isSubtotal(2));
    EXPECT_EQ(grid.outlineLevel(1), 0);
    EXPECT_EQ(grid.cellForeColor(5, 0), kRed204);
    EXPECT_FALSE(grid.cellBold(5, 0));
}

TEST(GridSubtotal, NestedLevelsBreakOnEveryColumnToTheLeft) {
    GridModel grid = listing();
    grid.subtotal(request(0, 2));
    SubtotalRequest level2 = request(1, 2);
    level2.caption = "Region %s";
    level2.foreColor = kBlue204;
    grid.subtotal(level2);
    // Press (1,250.50) > North (1,200.50) > 2 rows, South (50) > 1 row; TV > North > 1 row.
    EXPECT_EQ(column(grid, 1), "||Region North|North|North|Region South|South||Region North|North");
    EXPECT_EQ(column(grid, 2), "|1,250.50|1,200.50|1,000.50|200|50.00|50|3,000.00|3,000.00|3,000");
    EXPECT_EQ(grid.outlineLevel(2), 1);
    EXPECT_EQ(grid.outlineLevel(1), 0);
    EXPECT_EQ(grid.cellForeColor(2, 1), kBlue204);
    // A grand total added last still goes first.
    grid.subtotal(request(-1, 2));
    EXPECT_EQ(grid.textMatrix(1, 2), "4,250.50");
    EXPECT_EQ(grid.outlineLevel(1), -1);
}

TEST(GridSubtotal, SortingKeepsSubtotalRowsAtTheirGroups) {
    GridModel grid = listing();
    grid.addItem("Press\tNorth\t700\t5", 3);  // a third row in Press > North
    grid.subtotal(request(0, 2));
    SubtotalRequest level2 = request(1, 2);
    level2.caption = "Region %s";
    grid.subtotal(level2);
    const QString subtotalColumn1 = column(grid, 1);
    struct Case {
        bool ascending;
        const char* spend;
        const char* units;
    };
    const Case cases[] = {
        {true, "|1,950.50|1,900.50|200|700|1,000.50|50.00|50|3,000.00|3,000.00|3,000", "|||2|5|1||3|||4"},
        {false, "|1,950.50|1,900.50|1,000.50|700|200|50.00|50|3,000.00|3,000.00|3,000", "|||1|5|2||3|||4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ascending ? "ascending" : "descending");
        grid.sort(2, c.ascending);
        EXPECT_EQ(column(grid, 2), c.spend);
        EXPECT_EQ(column(grid, 3), c.units);
        EXPECT_EQ(column(grid, 1), subtotalColumn1);
        for (int r : {1, 2, 6, 8, 9}) EXPECT_TRUE(grid.isSubtotal(r)) << "row " << r;
    }
}

TEST(GridSubtotal, CountAndAverage) {
    GridModel grid = listing();
    SubtotalRequest count = request(0, 3, "");
    count.function = subtotalCount;
    grid.subtotal(count);
    SubtotalRequest average = request(0, 2, "#.00");
    average.function = subtotalAverage;
    grid.subtotal(average);
    EXPECT_EQ(grid.textMatrix(1, 3), "3");
    EXPECT_EQ(grid.textMatrix(1, 2), "416.83");
    EXPECT_EQ(grid.textMatrix(5, 3), "1");
    EXPECT_EQ(grid.textMatrix(5, 2), "3000.00");
}

TEST(GridSubtotal, ClearingRemovesOnlySubtotalRows) {
    GridModel grid = listing();
    grid.subtotal(request(0, 2));
    grid.subtotal(request(-1, 2));
    SubtotalRequest clear;
    clear.function = subtotalClear;
    grid.subtotal(clear);
    EXPECT_EQ(column(grid, 2), "|1,000.50|200|50|3,000");
    grid.subtotal(request(-1, 2));
    grid.clearSubtotals();
    EXPECT_EQ(grid.rows(), 5);
}

TEST(GridSubtotal, BadRequestsThrow) {
    GridModel grid = listing();
    EXPECT_THROW(grid.subtotal(request(0, 9)), EngineError);
    EXPECT_THROW(grid.subtotal(request(7, 2)), EngineError);
    SubtotalRequest odd = request(0, 2);
    odd.function = static_cast<SubtotalFunction>(6);
    EXPECT_THROW(grid.subtotal(odd), EngineError);
}

TEST(GridSubtotal, NoDataRowsGivesNoGrandTotal) {
    GridModel grid(1, 2);
    grid.setFixedRows(1);
    grid.subtotal(request(-1, 1));
    EXPECT_EQ(grid.rows(), 1);
}

TEST(GridSubtotal, OuterLevelAddedLastGoesAboveInnerRows) {
    GridModel grid = listing();
    grid.subtotal(request(1, 2));
    grid.subtotal(request(0, 2));
    EXPECT_EQ(column(grid, 0), "MEDIA|Press||Press|Press||Press|TV||TV");
    EXPECT_EQ(column(grid, 2), "|1,250.50|1,200.50|1,000.50|200|50.00|50|3,000.00|3,000.00|3,000");
    EXPECT_EQ(grid.outlineLevel(1), 0);
    EXPECT_EQ(grid.outlineLevel(2), 1);
}

TEST(GridSubtotal, RedrawOffGivesOneNotification) {
    GridModel grid = listing();
    int calls = 0;
    grid.addObserver([&calls] { ++calls; });
    grid.setRedraw(false);
    grid.clearSubtotals();
    grid.subtotal(request(-1, 2));
    grid.subtotal(request(-1, 3));
    EXPECT_EQ(calls, 0);
    grid.setRedraw(true);
    EXPECT_EQ(calls, 1);
}

namespace {

// A grid large enough for its totals to be worked out on several cores: each
// group's row must carry its own group's totals, column by column, in the
// grid's order.
TEST(GridSubtotal, ALargeGridGetsEachGroupsOwnTotals) {
    const int rows = 90000, perGroup = 7;
    GridModel grid(1, 3);
    grid.setFixedRows(1);
    std::vector<std::pair<long long, long long>> expected;
    for (int i = 0; i < rows; ++i) {
        if (i % perGroup == 0) expected.emplace_back(0, 0);
        const int value = (i * 37) % 1000, other = i % 3;
        expected.back().first += value;
        expected.back().second += other;
        grid.addItem(QString("G%1\t%2\t%3").arg(i / perGroup, 5, 10, QChar('0')).arg(value).arg(other));
    }
    grid.subtotal(std::vector<SubtotalRequest>{request(0, 1, "#,###"), request(0, 2, "#")});
    size_t group = 0;
    for (int r = 1; r < grid.rows(); ++r) {
        if (!grid.isSubtotal(r)) continue;
        ASSERT_LT(group, expected.size());
        EXPECT_EQ(grid.valueMatrix(r, 1), static_cast<double>(expected[group].first)) << "row " << r;
        EXPECT_EQ(grid.valueMatrix(r, 2), static_cast<double>(expected[group].second)) << "row " << r;
        EXPECT_EQ(grid.textMatrix(r + 1, 0), grid.textMatrix(r, 0)) << "a total sits above its group";
        ++group;
    }
    EXPECT_EQ(group, expected.size());
}

// Every text, mark and colour of a grid, row by row.
QStringList everything(const GridModel& grid) {
    QStringList rows;
    for (int r = 0; r < grid.rows(); ++r) {
        QStringList cells{QString("%1/%2").arg(grid.isSubtotal(r)).arg(grid.outlineLevel(r))};
        for (int c = 0; c < grid.cols(); ++c)
            cells << QString("%1 %2 %3 %4")
                         .arg(grid.textMatrix(r, c))
                         .arg(grid.cellBold(r, c))
                         .arg(grid.cellForeColor(r, c))
                         .arg(grid.cellBackColor(r, c));
        rows << cells.join('|');
    }
    return rows;
}

// Requests made in one call must leave the grid as the same requests made one
// by one: runs of one group column are made together, the first request of a
// run gives new rows their caption, and each request's colours apply in turn.
TEST(GridSubtotal, RequestsMadeTogetherLeaveTheGridAsOneByOne) {
    std::vector<SubtotalRequest> requests;
    SubtotalRequest spend = request(1, 2);
    spend.foreColor = kRed204;
    spend.caption = "Region %s";
    requests.push_back(spend);
    SubtotalRequest units = request(1, 3, "");
    units.function = subtotalAverage;
    units.backColor = kBlue204;
    units.caption = "ignored: the row is made by the request before";
    requests.push_back(units);
    requests.push_back(request(0, 3, "#"));
    SubtotalRequest grand = request(-1, 2);
    grand.bold = true;
    requests.push_back(grand);
    SubtotalRequest count = request(-1, 3);
    count.function = subtotalCount;
    requests.push_back(count);

    GridModel oneByOne = listing();
    for (const SubtotalRequest& r : requests) oneByOne.subtotal(r);
    GridModel together = listing();
    together.subtotal(requests);
    EXPECT_EQ(everything(together), everything(oneByOne));
    EXPECT_EQ(column(together, 0).toStdString(), "MEDIA|Grand Total|Press||Press|Press||Press|TV||TV");
    EXPECT_EQ(column(together, 1).toStdString(), "|||Region North|North|North|Region South|South||Region North|North");
    EXPECT_EQ(column(together, 3).toStdString(), "|4.00|6|1.5|1|2|3|3|4|4|4");

    requests.push_back(request(-1, 2));
    requests.back().function = subtotalClear;
    GridModel cleared = listing();
    cleared.subtotal(requests);
    EXPECT_EQ(everything(cleared), everything(listing()));
}

}  // namespace

TEST(GridSubtotal, SubtotalRowColoursReadCellByCellAndSurviveEditsAndNewColumns) {
    GridModel grid = listing();
    SubtotalRequest byMedia = request(0, 2);
    byMedia.foreColor = kRed204;
    byMedia.backColor = kBlue204;
    byMedia.bold = true;
    grid.subtotal(byMedia);
    ASSERT_TRUE(grid.isSubtotal(1));
    EXPECT_TRUE(grid.rowAt(1).extras.empty()) << "a subtotal row's colours are the row's, not each cell's";
    for (int c = 0; c < grid.cols(); ++c) {
        EXPECT_TRUE(grid.cellBold(1, c));
        EXPECT_EQ(grid.cellForeColor(1, c), kRed204);
        EXPECT_EQ(grid.cellBackColor(1, c), kBlue204);
    }
    grid.setCellForeColor(1, 3, -1);  // one cell back to the default
    grid.setCellBold(1, 0, false);
    EXPECT_EQ(grid.cellForeColor(1, 3), -1);
    EXPECT_FALSE(grid.cellBold(1, 0));
    EXPECT_EQ(grid.cellForeColor(1, 2), kRed204);
    EXPECT_TRUE(grid.cellBold(1, 2));
    EXPECT_EQ(grid.cellBackColor(1, 3), kBlue204);

    // A second request on the same rows adds its colour to every cell, the
    // one set back included.
    SubtotalRequest again = request(0, 3, "");
    again.foreColor = kBlue204;
    grid.subtotal(again);
    EXPECT_EQ(grid.cellForeColor(1, 3), kBlue204);

    const int secondSubtotal = 5;  // TV's
    ASSERT_TRUE(grid.isSubtotal(secondSubtotal));
    grid.setCols(6);
    EXPECT_EQ(grid.cellForeColor(secondSubtotal, 2), kBlue204);
    EXPECT_EQ(grid.cellForeColor(secondSubtotal, 5), -1) << "a new column takes no subtotal colour";
    EXPECT_FALSE(grid.cellBold(secondSubtotal, 4));
}
