// The grid report over small grids built here: labels, the heading table,
// Grand Total, hidden rows, page ends and the landscape and panel rules.
#include <gtest/gtest.h>

#include "grid/GridModel.h"
#include "print/PrintSurface.h"
#include "print/support/DocumentText.h"
#include "report/GridReport.h"
#include "report/PageStamp.h"

namespace vantrep::report {
namespace {

using testing::documentLines;
using testing::pageLines;

// Heading row: "", "Media", "Brand", "Spend", "Spots"; columns 0..2 label the rows.
void fillGrid(grid::GridModel& g, int dataRows) {
    g.setRows(1 + dataRows);
    g.setCols(5);
    g.setFixedRows(1);
    g.setFixedCols(1);
    g.setFrozenCols(2);
    const QStringList heading = {"", "Media", "Brand", "Spend", "Spots"};
    for (int c = 0; c < 5; ++c) g.setTextMatrix(0, c, heading[c]);
    for (int r = 1; r <= dataRows; ++r) {
        g.setTextMatrix(r, 1, "TV");
        g.setTextMatrix(r, 2, QString("Brand %1").arg(r));
        g.setTextMatrix(r, 3, QString::number(r * 10) + ".00");
        g.setTextMatrix(r, 4, QString::number(r));
    }
}

struct ReportRun {
    print::PrintSurface surface;
    TitleHolder title1;
    GridReport report{surface};

    explicit ReportRun(const grid::GridModel& g) {
        installPageEvents(surface, title1);
        report.ReportGrid = &g;
        report.ReportCriteria = "Spends of 2023    All media";
        report.startTitles("Brand Spends");
        title1 = report.CdlgTitle1;
        report.printGridReport();
    }
    const print::PrintDocument& document() const { return surface.document(); }
};

TEST(GridReport, PrintsTitlesHeadingAndLabelledRows) {
    grid::GridModel g;
    fillGrid(g, 3);
    g.setRowHidden(2, true);
    // A grand total row, as the subtotal facility marks it.
    g.addItem("\tGrand Total\t\t60.00\t6");
    g.setOutlineLevel(4, -1);
    g.setIsSubtotal(4, true);
    g.setTextMatrix(4, 1, "");
    ReportRun run(g);
    const QStringList lines = pageLines(run.document(), 1);
    ASSERT_GE(lines.size(), 6);
    EXPECT_EQ(lines[0], "Brand Spends");  // the page header
    EXPECT_EQ(lines[1], "Spends of 2023    All media");
    EXPECT_EQ(lines[2], "Media - Brand | Spend | Spots");
    EXPECT_EQ(lines[3], "TV - Brand 1 | 10.00 | 1");
    EXPECT_EQ(lines[4], "TV - Brand 3 | 30.00 | 3");  // the hidden row 2 is left out
    EXPECT_EQ(lines[5], "Grand Total | 60.00 | 6");
    EXPECT_TRUE(lines.back().startsWith("Quorvel | Vant | ")) << lines.back().toStdString();
    EXPECT_TRUE(lines.back().endsWith("Page :1"));
    EXPECT_EQ(run.document().orientation, 0);
}

TEST(GridReport, IndentsByOutlineLevelAndJoinsSeveralHeadingRows) {
    grid::GridModel g;
    fillGrid(g, 2);
    g.setFixedRows(2);  // row 1 becomes a second heading row
    g.setTextMatrix(1, 1, "");
    g.setTextMatrix(1, 2, "");
    g.setTextMatrix(1, 3, "USD");
    g.setTextMatrix(1, 4, "Count");
    g.addItem("\tTV\t\t30.00\t3", 2);  // a subtotal row of level 2 before row 2
    g.setOutlineLevel(2, 2);
    g.setIsSubtotal(2, true);
    ReportRun run(g);
    const QStringList lines = pageLines(run.document(), 1);
    // Heading rows: the upper one, then the lower one with the joined label heading.
    EXPECT_EQ(lines[2], "Spend | Spots");
    EXPECT_EQ(lines[3], "Media - Brand/X | USD | Count");
    EXPECT_EQ(lines[4], "    TV | 30.00 | 3");  // level 2: four spaces
    EXPECT_EQ(lines[5], "        TV - Brand 2 | 20.00 | 2");  // ordinary: 4 x deepest level
}

TEST(GridReport, MergesEqualHeadingCaptionsIntoOneCell) {
    grid::GridModel g;
    fillGrid(g, 1);
    g.setTextMatrix(0, 4, "Spend");
    ReportRun run(g);
    const print::Page& page = run.document().pages[0];
    int spendCaptions = 0;
    for (const print::TextItem& text : page.texts)
        if (text.text == "Spend") ++spendCaptions;
    EXPECT_EQ(spendCaptions, 1);
}

TEST(GridReport, RepeatsTheHeadingOnEveryPageAndClosesPagesWithARule) {
    grid::GridModel g;
    fillGrid(g, 300);
    ReportRun run(g);
    const print::PrintDocument& document = run.document();
    ASSERT_GE(document.pageCount(), 3);
    int rows = 0;
    for (int p = 1; p <= document.pageCount(); ++p) {
        const QStringList lines = pageLines(document, p);
        EXPECT_TRUE(lines.contains("Media - Brand | Spend | Spots")) << p;
        for (const QString& line : lines)
            if (line.startsWith("TV - Brand ")) ++rows;
        ASSERT_FALSE(document.pages[p - 1].lines.empty()) << p;
        // Nothing of the table lies below the printable area.
        for (const print::TextItem& text : document.pages[p - 1].texts)
            if (text.text.startsWith("TV")) {
                EXPECT_LT(text.clip.bottom(), document.paperHeight - 720 + 0.5);
            }
    }
    EXPECT_EQ(rows, 300);
    EXPECT_TRUE(pageLines(document, 3).back().endsWith("Page :3"));
}

TEST(GridReport, WideGridsPrintInLandscapeAndInPanels) {
    grid::GridModel narrow;
    fillGrid(narrow, 2);
    grid::GridModel wide;
    fillGrid(wide, 2);
    wide.setColWidth(3, 7000);
    wide.setColWidth(4, 5000);
    ReportRun landscape(wide);
    EXPECT_EQ(ReportRun(narrow).document().orientation, 0);
    EXPECT_EQ(landscape.document().orientation, 1);
    EXPECT_EQ(landscape.document().pageCount(), 1);

    grid::GridModel wider;
    fillGrid(wider, 2);
    wider.setCols(40);
    for (int c = 5; c < 40; ++c) {
        wider.setTextMatrix(0, c, QString("Col%1").arg(c));
        wider.setTextMatrix(1, c, "1,234.00");
        wider.setColWidth(c, 1200);
    }
    ReportRun panels(wider);
    const QStringList all = documentLines(panels.document());
    EXPECT_GE(panels.document().pageCount(), 3);
    for (int c = 5; c < 40; ++c) EXPECT_TRUE(all.join('\n').contains(QString("Col%1").arg(c))) << c;
    for (int p = 1; p <= panels.document().pageCount(); ++p)
        EXPECT_TRUE(pageLines(panels.document(), p).join('\n').contains("TV - Brand 1")) << p;
}

}  // namespace
}  // namespace vantrep::report
