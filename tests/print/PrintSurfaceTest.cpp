// The print surface's set-up, pages, events, tables and measuring.
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>

#include "print/PrintSurface.h"
#include "print/support/DocumentText.h"

namespace vantrep::print {
namespace {

using testing::pageLines;

// The printable area as a rectangle.
QRectF rect(const PrintableArea& area) {
    return QRectF(QPointF(area.left, area.top), QPointF(area.right, area.bottom));
}

struct Cell {
    QString text{};
    double width = 0;
    int align = 6;
    int attribute = 0;  // background colour
};

// Lays out a one-row table of `cells` at the current position.
void row(PrintSurface& surface, const std::vector<Cell>& cells, double height = -1, bool hidden = false) {
    PrintTable& table = surface.startTable(static_cast<int>(cells.size()));
    for (size_t c = 0; c < cells.size(); ++c) {
        table.cells[c].text = cells[c].text;
        table.cells[c].width = cells[c].width;
        table.cells[c].align = cells[c].align;
        table.cells[c].attribute = cells[c].attribute;
    }
    table.rowHeight = height;
    table.hidden = hidden;
    surface.endTable();
}

TEST(PrintSurfaceSetUp, A4PrintableAreaFollowsMarginsAndOrientationAndDrawingNeedsAnOpenPage) {
    PrintSurface surface;
    surface.setMargins(720, 500, 360, 1000);
    EXPECT_EQ(rect(surface.printableArea()), QRectF(QPointF(720, 500), QPointF(11906 - 360, 16838 - 1000)));
    surface.setOrientation(1);
    EXPECT_EQ(rect(surface.printableArea()), QRectF(QPointF(720, 500), QPointF(16838 - 360, 11906 - 1000)));
    surface.drawLine(0, 0, 100, 100);
    row(surface, {{"x"}});
    EXPECT_EQ(surface.document().pageCount(), 0);  // nothing is recorded without an open page
    surface.startDoc();
    surface.setPen({255, 2, 20});
    surface.drawLine(0, 10, 100, 10);
    surface.endDoc();
    const PrintDocument& doc = surface.document();
    EXPECT_EQ(doc.orientation, 1);
    EXPECT_DOUBLE_EQ(doc.paperWidth, 16838);
    ASSERT_EQ(doc.pages[0].lines.size(), 1u);
    EXPECT_EQ(doc.pages[0].lines[0].pen, (PrintPen{255, 2, 20}));
}

TEST(PrintSurfaceSetUp, EachPaperHasItsSizeInTwipsAndTheDocumentKeepsIt) {
    struct Case {
        QPageSize::PageSizeId id;
        double width, height;  // portrait, twips
    };
    const Case cases[] = {{QPageSize::A4, 11906, 16838}, {QPageSize::Letter, 12240, 15840},
                          {QPageSize::Legal, 12240, 20160}, {QPageSize::A3, 16838, 23811},
                          {QPageSize::A5, 8391, 11906}};
    for (const Case& c : cases) {
        SCOPED_TRACE(QPageSize(c.id).name().toStdString());
        PrintSurface surface;
        surface.setPaper(QPageSize(c.id));
        surface.setMargins(720, 500, 360, 1000);
        EXPECT_EQ(rect(surface.printableArea()),
                  QRectF(QPointF(720, 500), QPointF(c.width - 360, c.height - 1000)));
        surface.setOrientation(1);
        EXPECT_EQ(rect(surface.printableArea()),
                  QRectF(QPointF(720, 500), QPointF(c.height - 360, c.width - 1000)));
        surface.startDoc();
        surface.newPage();
        EXPECT_DOUBLE_EQ(surface.currentY(), 500);  // a new page starts at the top margin of the paper
        surface.endDoc();
        EXPECT_TRUE(surface.document().paper.isEquivalentTo(QPageSize(c.id)));
        EXPECT_EQ(surface.document().paperWidth, c.height);
        EXPECT_EQ(surface.document().paperHeight, c.width);
    }
    // A4 until told otherwise, and again for a paper that is not one.
    PrintSurface surface;
    EXPECT_EQ(surface.paper().id(), QPageSize::A4);
    surface.setPaper(QPageSize(QPageSize::Letter));
    surface.setPaper(QPageSize());
    EXPECT_EQ(surface.paper().id(), QPageSize::A4);
    // A paper of the printer's own, in points.
    surface.setPaper(QPageSize(QSizeF(600, 800), QPageSize::Point));
    EXPECT_EQ(surface.paperWidth(), 12000);
    EXPECT_EQ(surface.paperHeight(), 16000);
}

TEST(PrintSurfacePages, NumberedFromOneWithEventsPerPageAndHeaderAndFooterCutIntoThreeParts) {
    PrintSurface surface;
    surface.setMargins(1000, 720, 1000, 720);
    surface.footer().font.size = 9;
    surface.footer().color = 16711680;
    surface.header().text = QStringLiteral("Left||Right");
    QStringList events;
    surface.setBeforeHeader([&] { events.append(QStringLiteral("H%1").arg(surface.page())); });
    surface.setBeforeFooter([&] {
        events.append(QStringLiteral("F%1").arg(surface.page()));
        surface.footer().text = QStringLiteral("Maker|Vant|Page :%1").arg(surface.page());
    });
    EXPECT_EQ(surface.page(), 0);
    surface.startDoc();
    surface.setCurrentY(5000);
    surface.newPage();
    EXPECT_DOUBLE_EQ(surface.currentY(), 720);
    EXPECT_DOUBLE_EQ(surface.currentX(), 1000);
    surface.endDoc();
    EXPECT_EQ(events, QStringList({"H1", "F1", "H2", "F2"}));  // each with the number of its page
    const PrintDocument& doc = surface.document();
    EXPECT_EQ(doc.pageCount(), 2);
    EXPECT_EQ(pageLines(doc, 2), QStringList({"Left | Right", "Maker | Vant | Page :2"}));
    const std::vector<TextItem>& texts = doc.pages[1].texts;
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_NEAR(texts[0].origin.x(), 1000, 0.01);  // the left part starts at the printable left
    EXPECT_NEAR(texts[1].origin.x() + texts[1].width, 11906 - 1000, 0.01);  // the right part ends at its right
    EXPECT_NEAR(texts[3].origin.x() + texts[3].width / 2, 11906 / 2.0, 0.01);  // the centre is centred
    EXPECT_LT(texts[0].origin.y(), 720);  // the header in the top margin
    EXPECT_GT(texts[2].origin.y(), 16838 - 720);  // the footer in the bottom one
    EXPECT_EQ(texts[2].color, 16711680);
}

TEST(PrintSurfaceTables, RowLaidOutAtXAndYThenYMovesBelowIt) {
    PrintSurface surface;
    surface.setMargins(1000, 1000, 1000, 1000);
    surface.startDoc();
    surface.setCurrentX(1500);
    row(surface, {{"left", 2000, 6}, {"centre", 3000, 7}, {"right", 1000, 8}}, 400);
    EXPECT_DOUBLE_EQ(surface.currentY(), 1400);
    const std::vector<TextItem>& texts = surface.document().pages[0].texts;
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_NEAR(texts[0].origin.x(), 1500 + cellPaddingX, 0.01);
    EXPECT_NEAR(texts[1].origin.x() + texts[1].width / 2, 1500 + 2000 + 1500, 0.01);
    EXPECT_NEAR(texts[2].origin.x() + texts[2].width, 1500 + 6000 - cellPaddingX, 0.01);
    // Middle of the row: the baseline sits below the row's centre, above its bottom.
    EXPECT_GT(texts[0].origin.y(), 1200);
    EXPECT_LT(texts[0].origin.y(), 1400);
}

TEST(PrintSurfaceTables, HiddenTableNeitherDrawsNorMovesBordersFrameEveryCellAndLongTextIsCut) {
    PrintSurface surface;
    surface.setMargins(1000, 1000, 1000, 1000);
    surface.startDoc();
    row(surface, {{"measured only"}}, 300, true);
    EXPECT_DOUBLE_EQ(surface.currentY(), 1000);
    EXPECT_TRUE(surface.document().pages[0].texts.empty());
    surface.setTableBorder(TableBorder::All);
    row(surface, {{.width = 500}, {.width = 700, .attribute = 255}}, 300);  // red
    const std::vector<BoxItem>& boxes = surface.document().pages[0].boxes;
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_TRUE(boxes[1].filled);
    EXPECT_EQ(boxes[1].color, 255);
    EXPECT_EQ(boxes[2].rect, QRectF(1500, 1000, 700, 300));
    // Text wider than its cell is cut to the cell.
    row(surface, {{"a text far too long for a narrow column", 600}, {"ok", 600}});
    const std::vector<TextItem>& texts = surface.document().pages[0].texts;
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_TRUE(texts[0].clipped);
    EXPECT_FALSE(texts[1].clipped);
}

TEST(PrintSurfaceTables, TextCutToItsCellRecordsOnlyTheCharactersThatShow) {
    const QString text = QStringLiteral("a text far too long for a narrow column");
    const double left = 1000, right = 1600;  // the cell
    struct Case {
        int align;
        bool keepsStart;
        bool keepsEnd;
    };
    const Case cases[] = {{0, true, false}, {1, false, false}, {2, false, true}};  // left, centre, right
    for (const Case& c : cases) {
        SCOPED_TRACE(c.align);
        PrintSurface surface;
        surface.setMargins(left, 1000, 1000, 1000);
        surface.startDoc();
        row(surface, {{text, right - left, c.align}});
        const std::vector<TextItem>& texts = surface.document().pages[0].texts;
        ASSERT_EQ(texts.size(), 1u);
        const TextItem& shown = texts[0];
        ASSERT_FALSE(shown.text.isEmpty());
        const qsizetype at = text.indexOf(shown.text);
        ASSERT_GE(at, 0) << shown.text.toStdString();
        EXPECT_LT(shown.text.size(), text.size());
        EXPECT_EQ(at == 0, c.keepsStart);
        EXPECT_EQ(at + shown.text.size() == text.size(), c.keepsEnd);
        // Inside the cell, and one more character on either side would not be.
        EXPECT_GE(shown.origin.x(), left - 0.5);
        EXPECT_NEAR(shown.width, surface.textWidth(shown.text), 1.0);
        EXPECT_LE(shown.origin.x() + shown.width, right + 0.5);
        if (!c.keepsStart) {
            const double wider = surface.textWidth(text.mid(at - 1, shown.text.size() + 1)) - shown.width;
            EXPECT_LT(shown.origin.x() - wider, left - 0.5);
        }
        if (!c.keepsEnd) {
            EXPECT_GT(shown.origin.x() + surface.textWidth(text.mid(at, shown.text.size() + 1)), right + 0.5);
        }
    }
    // Lines below a short row are not recorded at all.
    PrintSurface surface;
    surface.setMargins(left, 1000, 1000, 1000);
    surface.startDoc();
    row(surface, {{"one\ntwo\nthree\nfour", 2000, 0}}, 300);
    QStringList lines;
    for (const TextItem& item : surface.document().pages[0].texts) lines << item.text;
    EXPECT_TRUE(lines.contains("one"));
    EXPECT_FALSE(lines.contains("three"));
    EXPECT_FALSE(lines.contains("four"));
}

TEST(PrintSurfaceMeasure, TimesNewRomanMeasuresWithLiberationSerifMetrics) {
    PrintFont font;
    EXPECT_EQ(QFontInfo(font.toQFont()).family(), QStringLiteral("Liberation Serif"));
    PrintSurface surface;
    surface.setFont(font);
    // Liberation Serif's "M" advances 1821 of 2048 units per em; 10 points = 200 twips.
    EXPECT_NEAR(surface.textWidth(QStringLiteral("MMMMMMMMMM")), 10 * 200 * 1821.0 / 2048, 2.0);
    double plain = surface.textWidth(QStringLiteral("Page :"));
    surface.setFont({.name = "Times New Roman", .size = 10, .bold = true});
    EXPECT_GT(surface.textWidth(QStringLiteral("Page :")), plain);
    surface.setFont(font);
    double one = surface.textHeight(QStringLiteral("x"));
    EXPECT_NEAR(one, 221, 5);  // ascent + descent (1.107 em) of 10-point Liberation Serif
    EXPECT_GT(surface.textHeight(QStringLiteral("x\ny")), 1.9 * one);
}

}  // namespace
}  // namespace vantrep::print
