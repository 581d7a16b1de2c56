// The detailed listing filled into the grid model from a report folder opened
// as the program opens it.
#include <gtest/gtest.h>

#include "analysis/DetailedListing.h"
#include "engine/dbf/DbfWriter.h"
#include "session/ReportOpening.h"
#include "support/ReportFolderTest.h"

namespace vantrep::analysis {
namespace {

using engine::Value;

std::vector<Value> record(const char* media, int day, engine::Decimal spend, const char* type, const QString& clip) {
    return {Value::string(media), Value::date(engine::julianDay(2004, 3, day)), Value::decimal(spend),
            Value::string(type), Value::string(clip.toStdString())};
}

class Listing : public ReportFolderTest {
protected:
    // DATA.DBF with three records, and Listing.dtr showing all but CLIPDET,
    // MEDIA as the level-1 subtotal.
    void SetUp() override {
        ReportFolderTest::SetUp();
        data = (folder + "DATA.DBF").toStdString();
        engine::dbf::DbfWriter::create(data, {{"MEDIA", 'C', 10}, {"DATE", 'D'}, {"SPEND", 'N', 10, 2},
                                              {"AD_TYPE", 'C', 6}, {"CLIPDET", 'C', 20}});
        auto money = [](const char* t) { return *engine::Decimal::parse(t); };
        engine::dbf::DbfWriter(data).appendMany({record("TV", 7, money("1234.50"), "SPOT", "clips/a.mpg"),
                                                 record("RADIO", 8, money("10.00"), "JINGLE", ""),
                                                 record("TV", 9, money("0.75"), "SPOT", "")});
        const std::string structure = (folder + "Listing.dtr").toStdString();
        engine::dbf::DbfWriter::create(structure, {{"FNAME", 'C', 10}, {"FDESC", 'C', 12}, {"FTYPE", 'C', 1},
                                                   {"FLEN", 'N', 3}, {"FDEC", 'N', 2}, {"LEVEL", 'N', 2},
                                                   {"DISPLAYED", 'L'}, {"DIVISOR", 'N', 3}});
        struct Field { const char *name, *caption, *type; int len, dec, level; bool shown; int divisor; };
        std::vector<std::vector<Value>> rows;
        const Field fields[] = {{"MEDIA", "Media", "C", 10, 0, 1, true, 1}, {"DATE", "Date", "D", 8, 0, 0, true, 2},
                                {"SPEND", "Spend", "N", 10, 2, 0, true, 3}, {"AD_TYPE", "Type", "C", 6, 0, 0, true, 4},
                                {"CLIPDET", "Clip", "C", 20, 0, 0, false, 0}};
        for (const Field& f : fields)
            rows.push_back({Value::string(f.name), Value::string(f.caption), Value::string(f.type),
                            Value::integer(f.len), Value::integer(f.dec), Value::integer(f.level),
                            Value::logical(f.shown), Value::integer(f.divisor)});
        engine::dbf::DbfWriter(structure).appendMany(rows);
        s = std::make_unique<session::Session>(ui, folder + "Listing.dtr");
    }
    // Opens the report (after any change to its data) and fills the listing.
    bool open() { return session::OpenDizave(*s, folder + "Listing.dtr") == session::OpenOutcome::Opened; }
    grid::GridModel fill() {
        grid::GridModel g;
        FillDetailed(*s, g, measure, clipButton);
        EXPECT_TRUE(ui.messages.empty());
        return g;
    }

    std::string data;
    std::unique_ptr<session::Session> s;
    QImage clipButton{8, 8, QImage::Format_RGB32};
};

TEST_F(Listing, RowsColumnsFormatsClipsAndSubtotals) {
    ASSERT_TRUE(open());
    grid::GridModel g = fill();
    EXPECT_EQ(g.fixedRows(), 1);
    EXPECT_EQ(g.cols(), 6);  // fixed column, four fields, the hidden CLIPDET
    EXPECT_EQ(g.textMatrix(0, 1), "Media");
    EXPECT_EQ(g.textMatrix(0, 3), "Spend");
    EXPECT_TRUE(g.colHidden(5));
    EXPECT_EQ(g.colAlignment(3), grid::alignRightCenter);
    EXPECT_TRUE(g.mergeCol(1));

    // Ordered by the columns: RADIO before TV; a level-1 subtotal above each
    // MEDIA group, in level 1's colour, and no grand total.
    QStringList rows;
    for (int r = 1; r < g.rows(); ++r) {
        rows << (g.isSubtotal(r) ? "sum " : g.textMatrix(r, 1) + " ") + g.textMatrix(r, 3);
        if (g.isSubtotal(r)) {
            EXPECT_EQ(g.cellForeColor(r, 3), SubtotalLevelColor(1)) << "row " << r;
        }
    }
    EXPECT_EQ(rows, (QStringList{"sum 10.00", "RADIO 10.00", "sum 1,235.25", "TV 1,234.50", "TV .75"}));

    const int tv = 4;  // TV on 07/03/2004, with a clip
    ASSERT_EQ(g.textMatrix(tv, 2), "07/03/2004");
    EXPECT_EQ(g.cellData(tv, 4).toString(), "clips/a.mpg");
    EXPECT_FALSE(g.cellPicture(tv, 4).isNull());
    EXPECT_TRUE(g.cellPicture(tv + 1, 4).isNull());  // no clip, no button
}

TEST_F(Listing, WholeNumberSubtotalsKeepTheirThousandsSeparator) {
    ASSERT_TRUE(open());
    s->aDims(3).FLen = 3;  // SPEND as a narrow whole-number field whose totals outgrow its width
    s->aDims(3).FDec = 0;
    grid::GridModel g = fill();
    QStringList rows;
    for (int r = 1; r < g.rows(); ++r) rows << (g.isSubtotal(r) ? "sum " : "") + g.textMatrix(r, 3);
    EXPECT_EQ(rows, (QStringList{"sum 10", "10", "sum 1,236", "1,235", "1"}));  // totals add the texts shown
}

// A listing long enough to be filled on several cores at once: every record
// shows once, as it is, with its clip.
TEST_F(Listing, ALongListingShowsEveryRecordOnce) {
    const char* media[] = {"TV", "RADIO", "PRESS"};
    std::vector<std::vector<Value>> records;
    QStringList expected = {"TV|07/03/2004|1,234.50|SPOT|clips/a.mpg", "RADIO|08/03/2004|10.00|JINGLE|",
                            "TV|09/03/2004|.75|SPOT|"};
    for (int i = 0; i < 60000; ++i) {
        const int day = 1 + i % 28, units = i % 1000;
        const QString clip = i % 5 == 0 ? QString("clips/c%1.mpg").arg(i) : QString();
        records.push_back(record(media[i % 3], day, engine::Decimal{units * 100 + 25, 2}, "SPOT", clip));
        expected << QString("%1|%2/03/2004|%3|SPOT|%4")
                        .arg(media[i % 3])
                        .arg(day, 2, 10, QChar('0'))
                        .arg(units > 0 ? QString("%1.25").arg(units) : QString(".25"))
                        .arg(clip);
    }
    engine::dbf::DbfWriter(data).appendMany(records);
    ASSERT_TRUE(open());
    grid::GridModel g = fill();
    QStringList shown;
    for (int r = 1; r < g.rows(); ++r) {
        if (g.isSubtotal(r)) continue;
        const QString clip = g.cellData(r, 4).toString();
        EXPECT_EQ(clip, g.textMatrix(r, 5)) << "row " << r;
        EXPECT_EQ(g.cellPicture(r, 4).isNull(), clip.isEmpty()) << "row " << r;
        shown << QStringList{g.textMatrix(r, 1), g.textMatrix(r, 2), g.textMatrix(r, 3), g.textMatrix(r, 4), clip}
                     .join('|');
    }
    shown.sort();
    expected.sort();
    EXPECT_EQ(shown, expected);
}

TEST_F(Listing, AFilterRestrictsTheRows) {
    ASSERT_TRUE(open());
    s->cmbField[1].items = QStringList{"Filtered Media", "RADIO     "};
    s->cmbField[2].items = QStringList{"Filtered Date", "3/8/2004"};
    grid::GridModel g = fill();
    QStringList media;
    for (int r = 1; r < g.rows(); ++r)
        if (!g.isSubtotal(r)) media << g.textMatrix(r, 1);
    EXPECT_EQ(media, QStringList{"RADIO"});
}

TEST_F(Listing, SubtotalLevelBeyondTheColumnsIsLeftOutWithAMessage) {
    ASSERT_TRUE(open());
    s->aDims(4).Level = 999;
    grid::GridModel g;
    ASSERT_TRUE(FillDetailed(*s, g, measure, clipButton));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "The field \"AD_TYPE\" has subtotal level 999, beyond the listing's 4 columns: it is "
                                   "left out of the subtotals.");
    QStringList rows;
    for (int r = 1; r < g.rows(); ++r) rows << (g.isSubtotal(r) ? "sum " : "") + g.textMatrix(r, 3);
    EXPECT_EQ(rows, (QStringList{"sum 10.00", "10.00", "sum 1,235.25", "1,234.50", ".75"}));
}

TEST_F(Listing, ListingWithoutADisplayedFieldIsRefusedWithAMessage) {
    ASSERT_TRUE(open());
    for (int i = 1; i <= s->aDims.upperBound(); ++i) s->aDims(i).Displayed = false;
    grid::GridModel g;
    EXPECT_FALSE(FillDetailed(*s, g, measure, clipButton));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "The structure file displays no field: the listing has no column to show.");
}

TEST_F(Listing, ListingAfterASummaryKeepsNoFrozenColumnsOrMergeFlags) {
    ASSERT_TRUE(open());
    grid::GridModel g;
    g.setRows(4);
    g.setCols(8);
    g.setFixedRows(3);
    g.setFrozenCols(2);  // as a summary with two row dimensions and two column levels leaves it
    for (int c = 0; c < 8; ++c) g.setMergeCol(c, true);
    for (int r = 0; r < 3; ++r) g.setMergeRow(r, true);
    ASSERT_TRUE(FillDetailed(*s, g, measure, clipButton));
    EXPECT_EQ(g.frozenCols(), 0);
    EXPECT_TRUE(g.mergeCol(1));  // MEDIA, the subtotal level
    for (int c = 2; c < g.cols(); ++c) EXPECT_FALSE(g.mergeCol(c)) << "column " << c;
    for (int r = 0; r < g.rows(); ++r) EXPECT_FALSE(g.mergeRow(r)) << "row " << r;
}

}  // namespace
}  // namespace vantrep::analysis
