// The summary grid's cell and clean-up rules on a small report made for them.
#include <gtest/gtest.h>

#include "analysis/QueryBuilder.h"
#include "analysis/SummaryGrid.h"
#include "engine/dbf/DbfWriter.h"
#include "session/ReportOpening.h"
#include "support/ReportFolderTest.h"

namespace vantrep::analysis {
namespace {

using engine::Value;

class SummaryRules : public ReportFolderTest {
protected:
    // A structure entry; the data table gets a field of the same name, type and size.
    struct Field {
        const char *name, *caption, *type; int len, dec; const char* role; int level;
        bool total = false; int divisor = 0;
    };
    // A report of `records` over `fields`, filled as a summary grid.
    grid::GridModel fill(const std::vector<Field>& fields, const std::vector<std::vector<Value>>& records) {
        std::vector<engine::dbf::FieldSpec> dataFields;
        std::vector<std::vector<Value>> structure;
        for (const Field& f : fields) {
            dataFields.push_back({f.name, f.type[0], f.len, f.dec});
            structure.push_back({Value::string(f.name), Value::string(f.caption), Value::string(f.type),
                                 Value::integer(f.len), Value::integer(f.dec), Value::string(f.role),
                                 Value::integer(f.level), Value::logical(f.total), Value::integer(f.divisor)});
        }
        const std::string data = (folder + "DATA.DBF").toStdString(), str = (folder + "Rules.str").toStdString();
        engine::dbf::DbfWriter::create(data, dataFields);
        engine::dbf::DbfWriter(data).appendMany(records);
        engine::dbf::DbfWriter::create(str, {{"FNAME", 'C', 10}, {"FDESC", 'C', 10}, {"FTYPE", 'C', 1}, {"FLEN", 'N', 3},
                                             {"FDEC", 'N', 2}, {"LAYOUT", 'C', 1}, {"LEVEL", 'N', 2},
                                             {"SHOWTOTAL", 'L'}, {"DIVISOR", 'N', 5}});
        engine::dbf::DbfWriter(str).appendMany(structure);
        session = std::make_unique<session::Session>(ui, folder + "Rules.str");
        EXPECT_EQ(session::OpenDizave(*session, folder + "Rules.str"), session::OpenOutcome::Opened);
        session->crossTab = RunQuery(session->aDims, session->cmbField, session->aVars, QString(), "DATA.DBF");
        grid::GridModel g;
        FillSummary(*session, g, measure);
        EXPECT_TRUE(ui.messages.empty()) << ui.messages[0].text.toStdString();
        return g;
    }
    // Records of MONTH, DURATION, MEDIA, SPEND, SPOTS: the first two down the
    // side, MEDIA across, SPEND (divided by 1000, with totals) and SPOTS.
    grid::GridModel fill(const std::vector<std::vector<Value>>& records) {
        return fill({{"MONTH", "Month", "N", 2, 0, "R", 1}, {"DURATION", "Duration", "N", 4, 0, "R", 2},
                     {"MEDIA", "Media", "C", 10, 0, "C", 1}, {"SPEND", "Spend", "N", 10, 2, "N", 1, true, 1000},
                     {"SPOTS", "Spots", "N", 4, 0, "N", 2}},
                    records);
    }
    static Value n(const char* text) { return Value::decimal(*engine::Decimal::parse(text)); }
    // The column whose headers are `key` and `caption`, or -1.
    static int columnOf(const grid::GridModel& g, const QString& key, const QString& caption) {
        for (int c = 1; c < g.cols(); ++c)
            if (g.textMatrix(0, c) == key && g.textMatrix(1, c) == caption) return c;
        return -1;
    }

    std::unique_ptr<session::Session> session;
};

TEST_F(SummaryRules, ADividedValueAndItsShareOfOneRow) {
    grid::GridModel g = fill({{Value::integer(3), Value::integer(0), Value::string("TV"), n("12500.00"), n("4")}});
    ASSERT_EQ(g.rows(), 3);  // two header rows, one data row
    EXPECT_EQ(g.textMatrix(2, 1), "Mar");     // the month's name
    EXPECT_EQ(g.textMatrix(2, 2), "Others");  // a zero duration
    int spend = columnOf(g, "TV", "Spend");
    ASSERT_GT(spend, 0);
    EXPECT_EQ(g.textMatrix(2, spend), "12.50");  // 12500 / 1000 under #,###,###.00
    EXPECT_EQ(g.textMatrix(1, spend + 1), "Spend%");
    EXPECT_EQ(g.textMatrix(2, spend + 1), "100.00");
    EXPECT_EQ(g.textMatrix(2, columnOf(g, "TV", "Spots")), "4");
}

TEST_F(SummaryRules, EmptyCellsColumnsAndRowsGo) {
    grid::GridModel g = fill({{Value::integer(1), Value::integer(30), Value::string("TV"), n("3000.00"), n("2")},
                              {Value::integer(2), Value::integer(30), Value::string("TV"), n("1000.00"), n("0")},
                              {Value::integer(1), Value::integer(30), Value::string("RADIO"), n("0"), n("0")}});
    // RADIO's columns add up to nothing: dropped; TV's spots total 2: kept.
    EXPECT_EQ(columnOf(g, "RADIO", "Spend"), -1);
    EXPECT_EQ(columnOf(g, "RADIO", "Spots"), -1);
    const int spend = columnOf(g, "TV", "Spend"), spots = columnOf(g, "TV", "Spots");
    ASSERT_TRUE(spend > 0 && spots > 0);
    ASSERT_EQ(g.rows(), 4);  // no grand-total row is left
    EXPECT_EQ(g.textMatrix(2, 1), "Jan");
    EXPECT_EQ(g.textMatrix(2, spend + 1), "75.00");
    EXPECT_EQ(g.textMatrix(3, spend + 1), "25.00");
    EXPECT_EQ(g.textMatrix(3, spots), "");  // a zero value leaves its cell empty
    EXPECT_TRUE(g.mergeCol(1));
    EXPECT_EQ(g.frozenCols(), 2);
}

// Under each medium the kinds of spot are a second column level; a "Total "
// column that follows a single other column only repeats it and goes, one
// that follows two stays.
TEST_F(SummaryRules, ATotalColumnAfterASingleColumnGoes) {
    auto spot = [](const char* media, const char* kind, const char* spots) {
        return std::vector<Value>{Value::integer(1), Value::string(media), Value::string(kind), n(spots)};
    };
    grid::GridModel g = fill({{"MONTH", "Month", "N", 2, 0, "R", 1}, {"MEDIA", "Media", "C", 10, 0, "C", 1},
                              {"KIND", "Kind", "C", 12, 0, "C", 2}, {"SPOTS", "Spots", "N", 4, 0, "N", 1}},
                             {spot("PRESS", "Ad", "2"), spot("PRESS", "Insert", "3"), spot("PRESS", "Total Ad", "5"),
                              spot("TV", "Spot", "4"), spot("TV", "Total Spot", "4")});
    QStringList kinds;
    for (int c = 2; c < g.cols(); ++c) kinds << g.textMatrix(0, c) + "/" + g.textMatrix(1, c);
    EXPECT_EQ(kinds.join(",").toStdString(), "PRESS/Ad,PRESS/Insert,PRESS/Total Ad,TV/Spot");
}

TEST_F(SummaryRules, VariablesAllZeroOrNegativeLeaveTheHeaderRowsWithoutAFault) {
    grid::GridModel g = fill({{Value::integer(1), Value::integer(30), Value::string("TV"), n("0"), n("-2")},
                              {Value::integer(2), Value::integer(30), Value::string("RADIO"), n("-1000.00"), n("0")}});
    EXPECT_EQ(g.rows(), g.fixedRows());  // ui.messages is checked empty by fill()
    EXPECT_EQ(g.fixedRows(), 2);
    EXPECT_EQ(g.cols(), 3);  // the fixed column and the two row dimensions
    EXPECT_EQ(g.textMatrix(0, 1), "Month");
    for (int r = 0; r < g.rows(); ++r) EXPECT_FALSE(g.isSubtotal(r));
}

TEST_F(SummaryRules, HeadingBlockSitsCentreTopWithTheRowCaptionsLeft) {
    grid::GridModel g = fill({{Value::integer(1), Value::integer(30), Value::string("TV"), n("3000.00"), n("2")}});
    ASSERT_EQ(g.fixedRows(), 2);
    EXPECT_EQ(g.cellAlignment(0, 1), grid::alignLeftTop);  // "Month"
    EXPECT_EQ(g.cellAlignment(0, 2), grid::alignLeftTop);  // "Duration"
    EXPECT_EQ(g.cellAlignment(1, 1), grid::alignCenterTop);
    for (int c = 3; c < g.cols(); ++c)
        for (int r = 0; r < 2; ++r) EXPECT_EQ(g.cellAlignment(r, c), grid::alignCenterTop) << r << "," << c;
    EXPECT_EQ(g.cellAlignment(2, 3), -1);  // data cells keep their column's alignment
}

}  // namespace
}  // namespace vantrep::analysis
