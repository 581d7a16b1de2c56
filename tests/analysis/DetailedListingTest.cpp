// The detailed listing filled into the grid model from a report folder opened
// as the program opens it.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "analysis/DetailedListing.h"
#include "engine/dbf/DbfWriter.h"
#include "session/ReportOpening.h"
#include "support/ReportFolderTest.h"

namespace vantrep::analysis {
namespace {

using engine::Value;

class Listing : public ReportFolderTest {
protected:
    void SetUp() override {
        ReportFolderTest::SetUp();
        std::string data = (folder + "DATA.DBF").toStdString();
        engine::dbf::DbfWriter::create(data, {{"MEDIA", 'C', 10}, {"DATE", 'D'}, {"SPEND", 'N', 10, 2},
                                              {"AD_TYPE", 'C', 6}, {"CLIPDET", 'C', 20}});
        auto day = [](int d) { return Value::date(engine::julianDay(2004, 3, d)); };
        auto money = [](const char* t) { return Value::decimal(*engine::Decimal::parse(t)); };
        engine::dbf::DbfWriter(data).appendMany({
            {Value::string("TV"), day(7), money("1234.50"), Value::string("SPOT"), Value::string("clips/a.mpg")},
            {Value::string("RADIO"), day(8), money("10.00"), Value::string("JINGLE"), Value::string("")},
            {Value::string("TV"), day(9), money("0.75"), Value::string("SPOT"), Value::string("")},
        });
        std::string structure = (folder + "Listing.dtr").toStdString();
        engine::dbf::DbfWriter::create(structure, {{"FNAME", 'C', 10}, {"FDESC", 'C', 12}, {"FTYPE", 'C', 1},
                                                   {"FLEN", 'N', 3}, {"FDEC", 'N', 2}, {"LEVEL", 'N', 2},
                                                   {"DISPLAYED", 'L'}, {"DIVISOR", 'N', 3}});
        auto row = [](const char* name, const char* caption, const char* type, int len, int dec, int level,
                      bool shown, int divisor) {
            return std::vector<Value>{Value::string(name), Value::string(caption), Value::string(type),
                                      Value::integer(len), Value::integer(dec), Value::integer(level),
                                      Value::logical(shown), Value::integer(divisor)};
        };
        engine::dbf::DbfWriter(structure).appendMany({row("MEDIA", "Media", "C", 10, 0, 1, true, 1),
                                                      row("DATE", "Date", "D", 8, 0, 0, true, 2),
                                                      row("SPEND", "Spend", "N", 10, 2, 0, true, 3),
                                                      row("AD_TYPE", "Type", "C", 6, 0, 0, true, 4),
                                                      row("CLIPDET", "Clip", "C", 20, 0, 0, false, 0)});
    }
    QImage clipButton{8, 8, QImage::Format_RGB32};
};

TEST_F(Listing, RowsColumnsFormatsClipsAndSubtotals) {
    session::Session s(ui, folder + "Listing.dtr");
    ASSERT_EQ(session::OpenDizave(s, folder + "Listing.dtr"), session::OpenOutcome::Opened);
    grid::GridModel g;
    FillDetailed(s, g, measure, clipButton);
    EXPECT_TRUE(ui.messages.empty());

    EXPECT_EQ(g.fixedRows(), 1);
    EXPECT_EQ(g.cols(), 6);  // fixed column, four fields, the hidden CLIPDET
    EXPECT_EQ(g.textMatrix(0, 1), "Media");
    EXPECT_EQ(g.textMatrix(0, 3), "Spend");
    EXPECT_TRUE(g.colHidden(5));
    EXPECT_EQ(g.colAlignment(3), grid::alignRightCenter);

    // Ordered by the columns: RADIO before TV; a level-1 subtotal above each
    // MEDIA group, in level 1's colour.
    QStringList media, spend;
    int subtotals = 0;
    QStringList sums;
    for (int r = 1; r < g.rows(); ++r) {
        if (g.isSubtotal(r)) {
            ++subtotals;
            sums << g.textMatrix(r, 3);
            EXPECT_EQ(g.cellForeColor(r, 3), SubtotalLevelColor(1));
            continue;
        }
        media << g.textMatrix(r, 1);
        spend << g.textMatrix(r, 3);
    }
    EXPECT_EQ(media, (QStringList{"RADIO", "TV", "TV"}));
    EXPECT_EQ(spend, (QStringList{"10.00", "1,234.50", ".75"}));
    EXPECT_EQ(subtotals, 2);  // one above each MEDIA group; no grand total
    EXPECT_EQ(sums, (QStringList{"10.00", "1,235.25"}));
    EXPECT_TRUE(g.mergeCol(1));

    int tv = -1;
    for (int r = 1; r < g.rows(); ++r)
        if (!g.isSubtotal(r) && g.textMatrix(r, 2) == "07/03/2004") tv = r;
    ASSERT_GT(tv, 0);
    EXPECT_EQ(g.cellData(tv, 4).toString(), "clips/a.mpg");
    EXPECT_FALSE(g.cellPicture(tv, 4).isNull());
    EXPECT_TRUE(g.cellPicture(tv + 1, 4).isNull());  // no clip, no button
}

// A listing long enough to be filled on several cores at once: every record
// shows once, as it is, with its clip.
TEST_F(Listing, ALongListingShowsEveryRecordOnce) {
    const std::string data = (folder + "DATA.DBF").toStdString();
    const char* media[] = {"TV", "RADIO", "PRESS"};
    std::vector<std::vector<Value>> records;
    QStringList expected;
    for (int i = 0; i < 60000; ++i) {
        const int day = 1 + i % 28, units = i % 1000;
        const QString clip = i % 5 == 0 ? QString("clips/c%1.mpg").arg(i) : QString();
        records.push_back({Value::string(media[i % 3]), Value::date(engine::julianDay(2004, 3, day)),
                           Value::decimal(engine::Decimal{units * 100 + 25, 2}), Value::string("SPOT"),
                           Value::string(clip.toStdString())});
        expected << QString("%1|%2/03/2004|%3|SPOT|%4")
                        .arg(media[i % 3])
                        .arg(day, 2, 10, QChar('0'))
                        .arg(units > 0 ? QString("%1.25").arg(units) : QString(".25"))
                        .arg(clip);
    }
    engine::dbf::DbfWriter(data).appendMany(records);
    session::Session s(ui, folder + "Listing.dtr");
    ASSERT_EQ(session::OpenDizave(s, folder + "Listing.dtr"), session::OpenOutcome::Opened);
    grid::GridModel g;
    FillDetailed(s, g, measure, clipButton);
    EXPECT_TRUE(ui.messages.empty());

    QStringList shown;
    for (int r = 1; r < g.rows(); ++r) {
        if (g.isSubtotal(r)) continue;
        const QString clip = g.cellData(r, 4).toString();
        EXPECT_EQ(clip, g.textMatrix(r, 5)) << "row " << r;
        EXPECT_EQ(g.cellPicture(r, 4).isNull(), clip.isEmpty()) << "row " << r;
        shown << QStringList{g.textMatrix(r, 1), g.textMatrix(r, 2), g.textMatrix(r, 3), g.textMatrix(r, 4), clip}
                     .join('|');
    }
    expected << "TV|07/03/2004|1,234.50|SPOT|clips/a.mpg" << "RADIO|08/03/2004|10.00|JINGLE|"
             << "TV|09/03/2004|.75|SPOT|";
    shown.sort();
    expected.sort();
    EXPECT_EQ(shown, expected);
}

TEST_F(Listing, AFilterRestrictsTheRows) {
    session::Session s(ui, folder + "Listing.dtr");
    ASSERT_EQ(session::OpenDizave(s, folder + "Listing.dtr"), session::OpenOutcome::Opened);
    s.cmbField[1].items = QStringList{"Filtered Media", "RADIO     "};
    s.cmbField[2].items = QStringList{"Filtered Date", "3/8/2004"};
    grid::GridModel g;
    FillDetailed(s, g, measure, clipButton);
    EXPECT_TRUE(ui.messages.empty());
    int dataRows = 0;
    for (int r = 1; r < g.rows(); ++r)
        if (!g.isSubtotal(r)) {
            ++dataRows;
            EXPECT_EQ(g.textMatrix(r, 1), "RADIO");
        }
    EXPECT_EQ(dataRows, 1);
}

}  // namespace
}  // namespace vantrep::analysis
