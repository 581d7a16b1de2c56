// The grid report over small grids built here: labels, the heading table and
// its cells' alignment, Grand Total, hidden rows, page ends, the landscape and
// panel rules, and other papers, orientations and margins.
#include <gtest/gtest.h>

#include <QRegularExpression>

#include <optional>

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

    // `setup`, when given, is the page set-up the report prints on.
    explicit ReportRun(const grid::GridModel& g, const std::optional<PageSetup>& setup = std::nullopt) {
        installPageEvents(surface, title1);
        if (setup) static_cast<PageSetup&>(report) = *setup;
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
    // Heading rows: the upper one, the joined label heading in the middle of
    // its cell down both, the lower one; then the level 2 subtotal indented
    // four spaces, an ordinary row 4 x the deepest level.
    EXPECT_EQ(ReportRun(g).lines().mid(2, 5), QStringList({"Spend", "Media - Brand/X", "USD | Count",
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

PageSetup pageOn(QPageSize::PageSizeId paper, std::optional<int> orientation, double across = 200,
                 double down = 720) {
    PageSetup setup;
    setup.Paper = QPageSize(paper);
    setup.Orientation = orientation;
    setup.MarginLeft = setup.MarginRight = across;
    setup.MarginTop = setup.MarginBottom = down;
    return setup;
}

// Every page of `run` keeps its titles and table inside the margins and its
// footer in the bottom margin; returns the number of data rows printed.
int rowsInsideThePages(const ReportRun& run, const PageSetup& setup) {
    const print::PrintDocument& document = run.document();
    const double bottom = document.paperHeight - setup.MarginBottom;
    int rows = 0;
    for (int p = 1; p <= document.pageCount(); ++p) {
        const print::Page& page = document.pages[p - 1];
        int footers = 0;
        for (const print::TextItem& text : page.texts) {
            if (text.origin.y() < setup.MarginTop) continue;  // the page header
            if (text.origin.y() > bottom) {
                EXPECT_LT(text.origin.y(), document.paperHeight) << p;
                if (text.text.contains("Page :")) ++footers;
                continue;
            }
            EXPECT_GE(text.clip.left(), setup.MarginLeft - 0.5) << p;
            EXPECT_LE(text.clip.right(), document.paperWidth - setup.MarginRight + 0.5) << p;
            EXPECT_LE(text.clip.bottom(), bottom + 0.5) << p;
            if (text.text.startsWith("TV - Brand ")) ++rows;
        }
        EXPECT_EQ(footers, 1) << p;
        for (const print::LineItem& line : page.lines) EXPECT_LE(line.from.y(), bottom + 0.5) << p;
    }
    return rows;
}

TEST(GridReportPage, PrintsOnTheChosenPaperWithinItsMarginsAndTheLastRowOnTheLastPage) {
    const grid::GridModel g = filledGrid(300);
    const ReportRun a4(g);
    struct Case {
        PageSetup setup;
        double width, height;  // of the paper, orientation applied
    };
    const Case cases[] = {
        {pageOn(QPageSize::Letter, {}), 12240, 15840},
        {pageOn(QPageSize::Letter, 1, 1440, 1440), 15840, 12240},
        {pageOn(QPageSize::Legal, {}), 12240, 20160},
        {pageOn(QPageSize::A5, 0, 400, 1000), 8391, 11906},
        {pageOn(QPageSize::A3, {}), 16838, 23811},
    };
    std::vector<int> rowsPerPage;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setup.Paper.name().toStdString());
        ReportRun run(g, c.setup);
        const print::PrintDocument& document = run.document();
        EXPECT_TRUE(document.paper.isEquivalentTo(c.setup.Paper));
        EXPECT_EQ(document.paperWidth, c.width);
        EXPECT_EQ(document.paperHeight, c.height);
        EXPECT_EQ(document.orientation, c.setup.Orientation.value_or(0));
        const print::PrintableArea area = run.surface.printableArea();
        EXPECT_EQ(area.left, c.setup.MarginLeft);
        EXPECT_EQ(area.bottom, c.height - c.setup.MarginBottom);
        EXPECT_EQ(rowsInsideThePages(run, c.setup), 300);
        EXPECT_TRUE(run.lines(document.pageCount()).join('\n').contains("TV - Brand 300"));
        EXPECT_TRUE(run.lines(document.pageCount()).back().endsWith(QString("Page :%1").arg(document.pageCount())));
        ASSERT_GE(document.pageCount(), 3);
        rowsPerPage.push_back(static_cast<int>(run.lines(2).filter(QRegularExpression("^TV - Brand ")).size()));
    }
    // A shorter printable height holds fewer rows: Letter is shorter than A4,
    // landscape Letter with inch margins shorter still, A5 with its margins
    // shorter than Letter; Legal is taller than A4 and A3 taller still.
    const int a4Rows = static_cast<int>(a4.lines(2).filter(QRegularExpression("^TV - Brand ")).size());
    EXPECT_LT(rowsPerPage[0], a4Rows);
    EXPECT_LT(rowsPerPage[1], rowsPerPage[0]);
    EXPECT_GT(rowsPerPage[2], a4Rows);
    EXPECT_LT(rowsPerPage[3], rowsPerPage[0]);
    EXPECT_GT(rowsPerPage[4], rowsPerPage[2]);
}

TEST(GridReportPage, AChosenOrientationIsKeptAndOnlyAnUnchosenOneTurnsForAWideHeading) {
    grid::GridModel wide = filledGrid(2);
    wide.setColWidth(3, 7000);
    wide.setColWidth(4, 5000);
    EXPECT_EQ(ReportRun(wide, pageOn(QPageSize::A4, {})).document().orientation, 1);
    // Chosen portrait: the columns go into panels on portrait pages, none lost.
    ReportRun portrait(wide, pageOn(QPageSize::A4, 0));
    EXPECT_EQ(portrait.document().orientation, 0);
    EXPECT_EQ(portrait.document().pageCount(), 2);
    EXPECT_TRUE(portrait.lines(1).join('\n').contains("Spend"));
    EXPECT_TRUE(portrait.lines(2).join('\n').contains("Spots"));
    // Chosen landscape holds for a narrow grid too.
    EXPECT_EQ(ReportRun(filledGrid(2), pageOn(QPageSize::A4, 1)).document().orientation, 1);
    // A Letter page turned for the wide grid is Letter's landscape.
    ReportRun letter(wide, pageOn(QPageSize::Letter, {}));
    EXPECT_EQ(letter.document().orientation, 1);
    EXPECT_EQ(letter.document().paperWidth, 15840);
}

// Where `text` sits in its heading cell: the outlined box around it.
struct Placed {
    const print::TextItem* item = nullptr;
    QRectF cell;
    double top = 0;  // of the text
    double height = 0;
};

Placed placed(ReportRun& run, const QString& text) {
    const print::Page& page = run.document().pages[0];
    Placed result;
    for (const print::TextItem& item : page.texts)
        if (item.text == text) result.item = &item;
    if (!result.item) {
        ADD_FAILURE() << "no text " << text.toStdString();
        return result;
    }
    for (const print::BoxItem& box : page.boxes)
        if (!box.filled && box.rect.contains(result.item->origin)) result.cell = box.rect;
    const print::PrintFont& font = run.document().fonts[result.item->font];
    result.height = run.surface.measure().textHeight(font, text);
    result.top = result.item->origin.y() - run.surface.measure().metrics(font).ascent();
    return result;
}

TEST(GridReportHeading, CellsSitAsTheGridAlignsThemAndOneColumnCaptionsReachDownOverEmptyCells) {
    grid::GridModel g = filledGrid(3);
    g.setCols(6);
    g.setTextMatrix(0, 3, "Money");
    g.setTextMatrix(0, 4, "Money");  // shared by Spend and Spots
    g.setTextMatrix(0, 5, "Share");  // nothing below it
    g.setFixedRows(2);
    g.setTextMatrix(1, 1, "");
    g.setTextMatrix(1, 2, "");
    g.setTextMatrix(1, 3, "Spend");
    g.setTextMatrix(1, 4, "Spots");
    g.setTextMatrix(1, 5, "");
    g.setTextMatrix(2, 5, "12%");
    // As the summary sets its headings: the row captions of the first line
    // left-top, the rest centre-top; then one right-bottom and one without.
    for (int c = 1; c <= 5; ++c)
        for (int r = 0; r < 2; ++r) g.setCellAlignment(r, c, r == 0 && c <= 2 ? grid::alignLeftTop : grid::alignCenterTop);
    g.setCellAlignment(1, 4, grid::alignRightBottom);
    g.setCellAlignment(0, 5, grid::alignCenterCenter);
    ReportRun run(g);
    constexpr double padX = print::cellPaddingX, padY = print::cellPaddingY;

    const Placed spend = placed(run, "Spend");  // centre-top in a one-line cell
    const double line = spend.cell.height();
    EXPECT_NEAR(spend.item->origin.x() + spend.item->width / 2, spend.cell.center().x(), 0.5);
    EXPECT_NEAR(spend.top, spend.cell.top() + padY, 0.5);

    const Placed labels = placed(run, "Media - Brand/X");  // left-top, down both heading lines
    EXPECT_NEAR(labels.cell.height(), 2 * line, 0.5);
    EXPECT_NEAR(labels.cell.top(), spend.cell.top() - line, 0.5);
    EXPECT_NEAR(labels.item->origin.x(), labels.cell.left() + padX, 0.5);
    EXPECT_NEAR(labels.top, labels.cell.top() + padY, 0.5);

    const Placed money = placed(run, "Money");  // centre-top across Spend and Spots
    EXPECT_NEAR(money.cell.width(), spend.cell.width() + placed(run, "Spots").cell.width(), 0.5);
    EXPECT_NEAR(money.item->origin.x() + money.item->width / 2, money.cell.center().x(), 0.5);
    EXPECT_NEAR(money.top, money.cell.top() + padY, 0.5);

    const Placed spots = placed(run, "Spots");  // right-bottom
    EXPECT_NEAR(spots.item->origin.x() + spots.item->width, spots.cell.right() - padX, 0.5);
    EXPECT_NEAR(spots.top + spots.height, spots.cell.bottom() - padY, 0.5);

    const Placed share = placed(run, "Share");  // centred both ways in a cell two lines high
    EXPECT_NEAR(share.cell.height(), 2 * line, 0.5);
    EXPECT_NEAR(share.item->origin.x() + share.item->width / 2, share.cell.center().x(), 0.5);
    EXPECT_NEAR(share.top + share.height / 2, share.cell.center().y(), 0.5);
    // The data rows start below the whole heading.
    const Placed first = placed(run, "TV - Brand 2");
    EXPECT_NEAR(first.item->clip.top(), labels.cell.bottom(), 0.5);
    EXPECT_TRUE(run.lines().contains("TV - Brand 2 | 20.00 | 2 | 12%"));
    EXPECT_TRUE(run.lines().contains("TV - Brand 3 | 30.00 | 3"));
}

TEST(GridReportHeading, CellsWithoutAnAlignmentOfTheirOwnAreCentredAndTheLabelsLeft) {
    grid::GridModel g = filledGrid(1);
    ReportRun run(g);
    const Placed spend = placed(run, "Spend");
    EXPECT_NEAR(spend.item->origin.x() + spend.item->width / 2, spend.cell.center().x(), 0.5);
    EXPECT_NEAR(spend.top + spend.height / 2, spend.cell.center().y(), 0.5);
    const Placed labels = placed(run, "Media - Brand");
    EXPECT_NEAR(labels.item->origin.x(), labels.cell.left() + print::cellPaddingX, 0.5);
    EXPECT_NEAR(labels.top + labels.height / 2, labels.cell.center().y(), 0.5);
    // A general alignment puts a numeric caption right.
    g.setTextMatrix(0, 4, "2024");
    g.setCellAlignment(0, 4, grid::alignGeneral);
    ReportRun general(g);
    const Placed year = placed(general, "2024");
    EXPECT_NEAR(year.item->origin.x() + year.item->width, year.cell.right() - print::cellPaddingX, 0.5);
    // A grid without heading rows prints no heading cell, not even an empty one.
    g.setFixedRows(0);
    ReportRun headless(g);
    for (const print::BoxItem& box : headless.document().pages[0].boxes) EXPECT_TRUE(box.filled);
    EXPECT_TRUE(headless.lines().contains("Media - Brand | Spend | 2024"));  // row 0 is a data row now
}

}  // namespace
}  // namespace vantrep::report
