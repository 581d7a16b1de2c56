// The banded report's print run: bands in order, group headers and footers
// with their totals, page breaks, the "*" rules, the landscape switch, and
// the document read back from PDF.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "print/PdfWriter.h"
#include "print/support/DocumentText.h"
#include "report/BandedReport.h"
#include "report/support/ReportTable.h"
#include "support/PdfText.h"

namespace vantrep::report {
namespace {

using testing::documentLines;

class BandedReportTest : public ::testing::Test {
protected:
    struct Row { int a, b; std::string amt; };
    // The group criteria and the bands in the band language: report header, page header, group
    // headers, detail, group footers, page footer and report footer.
    struct Bands { QString groups{}, RH{}, PH{}, GH{}, Det{}, GF{}, PF{}, RF{}; };

    void open(const std::vector<Row>& rows) {
        std::vector<std::vector<engine::Value>> values;
        for (const Row& r : rows)
            values.push_back({testing::number(r.a), testing::number(r.b), testing::decimal(r.amt)});
        table = std::make_unique<testing::ReportTable>(
            std::vector<engine::dbf::FieldSpec>{{"a", 'N', 2}, {"b", 'N', 2}, {"amt", 'N', 6, 2}}, values);
        report.Data = &table->recordset();
    }

    QStringList run(const Bands& bands) {
        report.GroupCriteria = bands.groups;
        report.RHFormat = bands.RH;
        report.PHFormat = bands.PH;
        report.GHFormat = bands.GH;
        report.DetFormat = bands.Det;
        report.GFFormat = bands.GF;
        report.PFFormat = bands.PF;
        report.RFFormat = bands.RF;
        report.printReport();
        return documentLines(surface.document());
    }

    print::PrintSurface surface;
    BandedReport report{surface};
    std::unique_ptr<testing::ReportTable> table;
};

TEST_F(BandedReportTest, TwoLevelGroupsPrintTheirFootersWithTheTotalsOfTheGroupJustEnded) {
    open({{1, 1, "1.5"}, {1, 1, "2"}, {1, 2, "4"}});
    EXPECT_EQ(run({.groups = "a+b",
                   .PH = "lbl;Page;900|fun;pagecount;500",
                   .GH = "lbl;HA;900|txt;a;500+lbl;HB;900|txt;b;500",
                   .Det = "lbl;D;300|txt;a;300|txt;b;300",
                   .GF = "lbl;FA;900|fun;count(a);500|fun;sum(amt);900+lbl;FB;900|fun;count(b);500",
                   .RF = "lbl;Grand;900|fun;sum(amt);900|fun;count(amt);900"}),
              QStringList({"#1", "Page | 1", "HA | 1", "HB | 1", "D | 1 | 1", "D | 1 | 1", "FB | 2", "HB | 2",
                           "D | 1 | 2", "FB | 1", "FA | 3 | 7.5", "Grand | 7.5 | 3"}));
}

TEST_F(BandedReportTest, EmptyDataPrintsTheReportAndPageBandsButNoGroupBandAndNoDataNothing) {
    open({});
    const Bands bands{.groups = "a", .RH = "lbl;Report header;2000", .PH = "lbl;Page header;2000",
                      .GH = "lbl;group;2000", .Det = "txt;a;300", .GF = "lbl;group end;2000",
                      .PF = "lbl;Page footer;2000", .RF = "lbl;Report footer;2000"};
    EXPECT_EQ(run(bands), QStringList({"#1", "Report header", "Page header", "Page footer", "Report footer"}));
    report.Data = nullptr;
    EXPECT_EQ(run(bands), QStringList());
}

TEST_F(BandedReportTest, StarredLevelStartsANewPageAfterItsFooterExceptAtTheEnd) {
    open({{1, 1, "1"}, {2, 1, "2"}});
    EXPECT_EQ(run({.groups = "a*+b", .PH = "lbl;P;300|fun;pagecount;300", .GH = "lbl;Station;900|txt;a;500",
                   .Det = "txt;b;300", .GF = "lbl;Breaks;900|fun;count(b);500", .PF = "lbl;end of page;1500"}),
              QStringList({"#1", "P | 1", "Station | 1", "1", "Breaks | 1", "end of page", "#2", "P | 2",
                           "Station | 2", "1", "Breaks | 1", "end of page"}));
}

TEST_F(BandedReportTest, StarredFooterIsSkippedForAGroupWithoutCountedRecords) {
    open({{1, 0, "0"}, {2, 0, "5"}});
    report.SuppressZero = true;
    report.SuppressBlankLines = true;
    // Group 1's only record is blank, so it is neither printed nor counted.
    EXPECT_EQ(run({.groups = "a", .Det = "txt;amt;900", .GF = "lbl;Total;900|fun;sum(amt);500*"}),
              QStringList({"#1", "5", "Total | 5"}));
}

TEST_F(BandedReportTest, PageHeaderWiderThanPortraitSwitchesTheWholeReportToLandscape) {
    open({{1, 1, "1"}});
    report.MarginLeft = 500;
    report.MarginRight = 500;
    run({.PH = "lbl;fits;10000", .Det = "txt;a;300"});
    EXPECT_EQ(surface.document().orientation, 0);
    run({.PH = "lbl;wide;6000|lbl;header;5000", .Det = "txt;a;300"});
    EXPECT_EQ(surface.document().orientation, 1);
    EXPECT_DOUBLE_EQ(report.printableArea().right, 16838 - 500);
}

TEST_F(BandedReportTest, PagesBreakAboveTheFooterReserveWithFooterAndHeaderAroundTheBreak) {
    std::vector<Row> rows;
    for (int i = 1; i <= 100; ++i) rows.push_back({1, i % 100, std::to_string(i)});
    open(rows);
    report.MarginTop = 1000;
    report.MarginBottom = 1000;
    QStringList lines = run({.PH = "lbl;PH;900;400|fun;pagecount;500;400", .Det = "txt;amt;1000;300",
                             .PF = "lbl;PF;900;200"});
    EXPECT_DOUBLE_EQ(report.footerReserve(), 200);
    // Page 1 and 2: header to 1400, then rows of 300 while they end above 16838 - 1000 - 200.
    const int perPage = 47;
    ASSERT_EQ(surface.document().pageCount(), 3);
    QStringList expected;
    int record = 1;
    for (int page = 1; page <= 3; ++page) {
        expected << QStringLiteral("#%1").arg(page) << QStringLiteral("PH | %1").arg(page);
        for (int i = 0; i < perPage && record <= 100; ++i) expected << QStringLiteral("%1").arg(record++);
        expected << QStringLiteral("PF");
    }
    EXPECT_EQ(lines, expected);
}

TEST_F(BandedReportTest, PdfOfTheReportReadsBackLineByLine) {
    open({{1, 1, "1.5"}, {1, 2, "2.25"}});
    report.MarginLeft = 720;
    report.MarginTop = 720;
    run({.groups = "a",
         .RH = "lbl;Quorvel;;;;0;;14;true;;;;;;16711680",
         .PH = "lbl;Page :;610;;;;;;true|fun;pagecount;500;;;;;;true\r\nlin;;9000;;;2",
         .GH = "lbl;Group;1200;;;;;;true|txt;a;1000",
         .Det = "txt;b;1200|txt;amt;1500;;;8;;;;;;;#,##0.00",
         .GF = "lbl;Total USD :;1200;;;;;;true|fun;sum(amt);1500;;;8;;;true;;;;#,##0.00"});
    QTemporaryDir temp;
    QString path = temp.filePath(QStringLiteral("report.pdf"));
    ASSERT_TRUE(print::writePdf(surface.document(), path));
    QStringList lines = testing::pdfText(path).split(u'\n');
    for (QString& line : lines) line = line.simplified();
    lines.removeIf([](const QString& line) { return line.isEmpty() || line == u"\f"; });
    EXPECT_EQ(lines, QStringList({"Quorvel", "Page : 1", "Group 1", "1 1.50", "2 2.25", "Total USD : 3.75"}));
}

TEST_F(BandedReportTest, RunAgainOnAnotherPageItPrintsTheSameReportWithItsTotals) {
    open({{1, 1, "1.5"}, {1, 2, "2"}, {2, 1, "4"}});
    const QStringList a4 = run({.groups = "a",
                                .PH = "lbl;Page;900|fun;pagecount;500",
                                .Det = "txt;b;300",
                                .GF = "lbl;Total;900|fun;sum(amt);900",
                                .RF = "lbl;Grand;900|fun;sum(amt);900"});
    EXPECT_EQ(a4, QStringList({"#1", "Page | 1", "1", "2", "Total | 3.5", "1", "Total | 4", "Grand | 7.5"}));
    // The preview's Page Setup runs the report again with the bands as they
    // were given and the data from its first record.
    report.Paper = QPageSize(QPageSize::Letter);
    report.Orientation = 1;
    report.MarginLeft = 1440;
    report.printReport();
    EXPECT_EQ(documentLines(surface.document()), a4);
    EXPECT_TRUE(surface.document().paper.isEquivalentTo(QPageSize(QPageSize::Letter)));
    EXPECT_EQ(surface.document().orientation, 1);
    EXPECT_DOUBLE_EQ(report.printableArea().left, 1440);
    EXPECT_DOUBLE_EQ(report.printableArea().right, 15840);
}

TEST_F(BandedReportTest, AChosenPortraitIsKeptForAWidePageHeader) {
    open({{1, 1, "1"}});
    report.Orientation = 0;
    run({.PH = "lbl;wide;6000|lbl;header;6000", .Det = "txt;a;300"});
    EXPECT_EQ(surface.document().orientation, 0);
    report.Orientation.reset();
    run({.PH = "lbl;wide;6000|lbl;header;6000", .Det = "txt;a;300"});
    EXPECT_EQ(surface.document().orientation, 1);
}

}  // namespace
}  // namespace vantrep::report
