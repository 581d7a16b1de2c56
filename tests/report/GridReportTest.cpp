// The grid report over small grids built here: labels, the heading table,
// Grand Total, hidden rows, page ends and the landscape and panel rules.
#include <gtest/gtest.h>

#include <QRegularExpression>

#include "grid/GridModel.h"
#include "print/PrintSurface.h"
#include "print/support/DocumentText.h"
#include "report/GridReport.h"
#include "report/PageStamp.h"

namespace vantrep::report {
namespace {

using testing::pageLines;

// Heading row: "", "Media", "Brand", "Spend", "Spots"; columns 0..2 label the rows.
grid::GridModel filledGrid(int dataRows) {
    grid::GridModel g;
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
    return g;
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
    QStringList lines(int page = 1) const { return pageLines(document(), page); }
    QString text() const { return testing::documentLines(document()).join('\n'); }
};

TEST(GridReport, PrintsTitlesHeadingAndLabelledRows) {
    grid::GridModel g = filledGrid(3);
    g.setRowHidden(2, true);
    // A grand total row, as the subtotal facility marks it.
    g.addItem("\tGrand Total\t\t60.00\t6");
    g.setOutlineLevel(4, -1);
    g.setIsSubtotal(4, true);
    g.setTextMatrix(4, 1, "");
    ReportRun run(g);
    const QStringList lines = run.lines();
    // The page header and the sub title, then the table without the hidden row 2.
    EXPECT_EQ(lines.mid(0, 6),
              QStringList({"Brand Spends", "Spends of 2023    All media", "Media - Brand | Spend | Spots",
                           "TV - Brand 1 | 10.00 | 1", "TV - Brand 3 | 30.00 | 3", "Grand Total | 60.00 | 6"}));
    EXPECT_TRUE(lines.back().startsWith("Quorvel | Vant | ")) << lines.back().toStdString();
    EXPECT_TRUE(lines.back().endsWith("Page :1"));
    EXPECT_EQ(run.document().orientation, 0);
}

TEST(GridReport, IndentsByOutlineLevelJoinsSeveralHeadingRowsAndMergesEqualCaptions) {
    grid::GridModel g = filledGrid(2);
    g.setTextMatrix(0, 4, "Spend");  // equal neighbouring captions share one cell
    g.setFixedRows(2);  // row 1 becomes a second heading row
    g.setTextMatrix(1, 1, "");
    g.setTextMatrix(1, 2, "");
    g.setTextMatrix(1, 3, "USD");
    g.setTextMatrix(1, 4, "Count");
    g.addItem("\tTV\t\t30.00\t3", 2);  // a subtotal row of level 2 before row 2
    g.setOutlineLevel(2, 2);
    g.setIsSubtotal(2, true);
    // Heading rows: the upper one, then the lower one with the joined label heading; then
    // the level 2 subtotal indented four spaces, an ordinary row 4 x the deepest level.
    EXPECT_EQ(ReportRun(g).lines().mid(2, 4), QStringList({"Spend", "Media - Brand/X | USD | Count",
                                                           "    TV | 30.00 | 3", "        TV - Brand 2 | 20.00 | 2"}));
}

TEST(GridReport, RepeatsTheHeadingOnEveryPageAndClosesPagesWithARule) {
    ReportRun run(filledGrid(300));
    const print::PrintDocument& document = run.document();
    ASSERT_GE(document.pageCount(), 3);
    int rows = 0;
    for (int p = 1; p <= document.pageCount(); ++p) {
        EXPECT_TRUE(run.lines(p).contains("Media - Brand | Spend | Spots")) << p;
        rows += static_cast<int>(run.lines(p).filter(QRegularExpression("^TV - Brand ")).size());
        EXPECT_FALSE(document.pages[p - 1].lines.empty()) << p;
        // Nothing of the table lies below the printable area.
        for (const print::TextItem& text : document.pages[p - 1].texts)
            if (text.text.startsWith("TV")) {
                EXPECT_LT(text.clip.bottom(), document.paperHeight - 720 + 0.5) << p;
            }
    }
    EXPECT_EQ(rows, 300);
    EXPECT_TRUE(run.lines(3).back().endsWith("Page :3"));
}

TEST(GridReport, WideGridsPrintInLandscapeAndInPanels) {
    grid::GridModel wide = filledGrid(2);
    wide.setColWidth(3, 7000);
    wide.setColWidth(4, 5000);
    ReportRun landscape(wide);
    EXPECT_EQ(landscape.document().orientation, 1);
    EXPECT_EQ(landscape.document().pageCount(), 1);
    // Too wide for a landscape page: panels side by side, each repeating the labels.
    grid::GridModel wider = filledGrid(2);
    wider.setCols(40);
    for (int c = 5; c < 40; ++c) {
        wider.setTextMatrix(0, c, QString("Col%1").arg(c));
        wider.setTextMatrix(1, c, "1,234.00");
        wider.setColWidth(c, 1200);
    }
    ReportRun panels(wider);
    EXPECT_GE(panels.document().pageCount(), 3);
    for (int c = 5; c < 40; ++c) EXPECT_TRUE(panels.text().contains(QString("Col%1").arg(c))) << c;
    for (int p = 1; p <= panels.document().pageCount(); ++p)
        EXPECT_TRUE(panels.lines(p).join('\n').contains("TV - Brand 1")) << p;
}

}  // namespace
}  // namespace vantrep::report
