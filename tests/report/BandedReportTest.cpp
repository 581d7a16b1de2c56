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

using testing::decimal;
using testing::documentLines;
using testing::number;

class BandedReportTest : public ::testing::Test {
protected:
    void open(const std::vector<std::vector<engine::Value>>& rows) {
        table = std::make_unique<testing::ReportTable>(
            std::vector<engine::dbf::FieldSpec>{{"a", 'N', 2}, {"b", 'N', 2}, {"amt", 'N', 6, 2}}, rows);
        report.Data = &table->recordset();
    }

    QStringList run() {
        report.printReport();
        return documentLines(surface.document());
    }

    print::PrintSurface surface;
    BandedReport report{surface};
    std::unique_ptr<testing::ReportTable> table;
};

TEST_F(BandedReportTest, TwoLevelGroupsPrintTheirFootersWithTheTotalsOfTheGroupJustEnded) {
    open({{number(1), number(1), decimal("1.5")}, {number(1), number(1), decimal("2")},
          {number(1), number(2), decimal("4")}});
    report.GroupCriteria = QStringLiteral("a+b");
    report.GHFormat = QStringLiteral("lbl;HA;900|txt;a;500+lbl;HB;900|txt;b;500");
    report.GFFormat = QStringLiteral("lbl;FA;900|fun;count(a);500|fun;sum(amt);900+lbl;FB;900|fun;count(b);500");
    report.DetFormat = QStringLiteral("lbl;D;300|txt;a;300|txt;b;300");
    report.PHFormat = QStringLiteral("lbl;Page;900|fun;pagecount;500");
    report.RFFormat = QStringLiteral("lbl;Grand;900|fun;sum(amt);900|fun;count(amt);900");
    EXPECT_EQ(run(), QStringList({"#1", "Page | 1", "HA | 1", "HB | 1", "D | 1 | 1", "D | 1 | 1", "FB | 2", "HB | 2",
                                  "D | 1 | 2", "FB | 1", "FA | 3 | 7.5", "Grand | 7.5 | 3"}));
    ASSERT_EQ(report.groups().size(), 4u);
    EXPECT_EQ(report.groups()[0].GroupCriteria, u"a,b");
    EXPECT_EQ(report.groups()[3].GroupCriteria, u"a");
}

TEST_F(BandedReportTest, EmptyDataPrintsTheReportAndPageBandsButNoGroupBand) {
    open({});
    report.GroupCriteria = QStringLiteral("a");
    report.RHFormat = QStringLiteral("lbl;Report header;2000");
    report.PHFormat = QStringLiteral("lbl;Page header;2000");
    report.PFFormat = QStringLiteral("lbl;Page footer;2000");
    report.RFFormat = QStringLiteral("lbl;Report footer;2000");
    report.GHFormat = QStringLiteral("lbl;group;2000");
    report.GFFormat = QStringLiteral("lbl;group end;2000");
    report.DetFormat = QStringLiteral("txt;a;300");
    EXPECT_EQ(run(), QStringList({"#1", "Report header", "Page header", "Page footer", "Report footer"}));
}

TEST_F(BandedReportTest, StarredLevelStartsANewPageAfterItsFooterExceptAtTheEnd) {
    open({{number(1), number(1), decimal("1")}, {number(2), number(1), decimal("2")}});
    report.GroupCriteria = QStringLiteral("a*+b");
    report.GHFormat = QStringLiteral("lbl;Station;900|txt;a;500");
    report.GFFormat = QStringLiteral("lbl;Breaks;900|fun;count(b);500");
    report.DetFormat = QStringLiteral("txt;b;300");
    report.PHFormat = QStringLiteral("lbl;P;300|fun;pagecount;300");
    report.PFFormat = QStringLiteral("lbl;end of page;1500");
    EXPECT_EQ(run(), QStringList({"#1", "P | 1", "Station | 1", "1", "Breaks | 1", "end of page", "#2", "P | 2",
                                  "Station | 2", "1", "Breaks | 1", "end of page"}));
}

TEST_F(BandedReportTest, StarredFooterIsSkippedForAGroupWithoutCountedRecords) {
    open({{number(1), number(0), decimal("0")}, {number(2), number(0), decimal("5")}});
    report.SuppressZero = true;
    report.SuppressBlankLines = true;
    report.GroupCriteria = QStringLiteral("a");
    report.GFFormat = QStringLiteral("lbl;Total;900|fun;sum(amt);500*");
    report.DetFormat = QStringLiteral("txt;amt;900");
    // Group 1's only record is blank, so it is neither printed nor counted.
    EXPECT_EQ(run(), QStringList({"#1", "5", "Total | 5"}));
}

TEST_F(BandedReportTest, PageHeaderWiderThanPortraitSwitchesTheWholeReportToLandscape) {
    open({{number(1), number(1), decimal("1")}});
    report.MarginLeft = 500;
    report.MarginRight = 500;
    report.DetFormat = QStringLiteral("txt;a;300");
    report.PHFormat = QStringLiteral("lbl;fits;10000");
    run();
    EXPECT_EQ(surface.document().orientation, 0);
    report.PHFormat = QStringLiteral("lbl;wide;6000|lbl;header;5000");
    run();
    EXPECT_EQ(surface.document().orientation, 1);
    EXPECT_DOUBLE_EQ(report.printableArea().right, 16838 - 500);
}

TEST_F(BandedReportTest, PagesBreakAboveTheFooterReserveWithFooterAndHeaderAroundTheBreak) {
    std::vector<std::vector<engine::Value>> rows;
    for (int i = 1; i <= 100; ++i) rows.push_back({number(1), number(i % 100), decimal(std::to_string(i))});
    open(rows);
    report.MarginTop = 1000;
    report.MarginBottom = 1000;
    report.PHFormat = QStringLiteral("lbl;PH;900;400|fun;pagecount;500;400");
    report.PFFormat = QStringLiteral("lbl;PF;900;200");
    report.DetFormat = QStringLiteral("txt;amt;1000;300");
    QStringList lines = run();
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

TEST_F(BandedReportTest, WithoutDataNothingIsPrinted) {
    report.PHFormat = QStringLiteral("lbl;PH;900");
    report.printReport();
    EXPECT_EQ(surface.document().pageCount(), 0);
}

TEST_F(BandedReportTest, PdfOfTheReportReadsBackLineByLine) {
    open({{number(1), number(1), decimal("1.5")}, {number(1), number(2), decimal("2.25")}});
    report.MarginLeft = 720;
    report.MarginTop = 720;
    report.GroupCriteria = QStringLiteral("a");
    report.RHFormat = QStringLiteral("lbl;Quorvel;;;;0;;14;true;;;;;;16711680");
    report.PHFormat = QStringLiteral("lbl;Page :;610;;;;;;true|fun;pagecount;500;;;;;;true\r\nlin;;9000;;;2");
    report.GHFormat = QStringLiteral("lbl;Group;1200;;;;;;true|txt;a;1000");
    report.DetFormat = QStringLiteral("txt;b;1200|txt;amt;1500;;;8;;;;;;;#,##0.00");
    report.GFFormat = QStringLiteral("lbl;Total USD :;1200;;;;;;true|fun;sum(amt);1500;;;8;;;true;;;;#,##0.00");
    report.printReport();
    QTemporaryDir temp;
    QString path = temp.filePath(QStringLiteral("report.pdf"));
    ASSERT_TRUE(print::writePdf(surface.document(), path));
    QStringList lines;
    for (const QString& line : testing::pdfText(path).split(u'\n')) {
        QString simple = line.simplified();
        if (!simple.isEmpty() && simple != u"\f") lines.append(simple);
    }
    EXPECT_EQ(lines, QStringList({"Quorvel", "Page : 1", "Group 1", "1 1.50", "2 2.25", "Total USD : 3.75"}));
}

}  // namespace
}  // namespace vantrep::report
