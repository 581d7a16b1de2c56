// The print surface's set-up, pages, events, tables and measuring.
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>

#include "print/PrintSurface.h"
#include "print/support/DocumentText.h"

namespace vantrep::print {
namespace {

using testing::pageLines;

PrintFont timesBold() {
    PrintFont font;
    font.name = QStringLiteral("Times New Roman");
    font.size = 10;
    font.bold = true;
    return font;
}

TEST(PrintSurfaceSetUp, A4PrintableAreaFollowsMarginsAndOrientation) {
    PrintSurface surface;
    surface.setMargins(720, 500, 360, 1000);
    PrintableArea portrait = surface.printableArea();
    EXPECT_DOUBLE_EQ(portrait.left, 720);
    EXPECT_DOUBLE_EQ(portrait.right, 11906 - 360);
    EXPECT_DOUBLE_EQ(portrait.top, 500);
    EXPECT_DOUBLE_EQ(portrait.bottom, 16838 - 1000);
    surface.setOrientation(1);
    PrintableArea landscape = surface.printableArea();
    EXPECT_DOUBLE_EQ(landscape.right, 16838 - 360);
    EXPECT_DOUBLE_EQ(landscape.bottom, 11906 - 1000);
    surface.startDoc();
    surface.endDoc();
    EXPECT_EQ(surface.document().orientation, 1);
    EXPECT_DOUBLE_EQ(surface.document().paperWidth, 16838);
}

TEST(PrintSurfacePages, NumberedFromOneWithYAtTopAndEventsPerPage) {
    PrintSurface surface;
    surface.setMargins(1000, 800, 1000, 800);
    QStringList events;
    surface.setBeforeHeader([&] { events.append(QStringLiteral("H%1").arg(surface.page())); });
    surface.setBeforeFooter([&] { events.append(QStringLiteral("F%1").arg(surface.page())); });
    EXPECT_EQ(surface.page(), 0);
    surface.startDoc();
    EXPECT_EQ(surface.page(), 1);
    surface.setCurrentY(5000);
    surface.newPage();
    EXPECT_EQ(surface.page(), 2);
    EXPECT_DOUBLE_EQ(surface.currentY(), 800);
    EXPECT_DOUBLE_EQ(surface.currentX(), 1000);
    surface.endDoc();
    EXPECT_EQ(events, QStringList({"H1", "F1", "H2", "F2"}));
    EXPECT_EQ(surface.document().pageCount(), 2);
}

TEST(PrintSurfacePages, HeaderAndFooterTextsSetByTheEventsAreCutIntoThreeParts) {
    PrintSurface surface;
    surface.setMargins(1000, 720, 1000, 720);
    surface.footer().font.size = 9;
    surface.footer().color = 16711680;
    surface.setBeforeFooter([&] {
        surface.footer().text = QStringLiteral("Maker|Vant|Page :%1").arg(surface.page());
    });
    surface.header().text = QStringLiteral("Left||Right");
    surface.startDoc();
    surface.newPage();
    surface.endDoc();
    const PrintDocument& doc = surface.document();
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
    PrintTable& table = surface.startTable(3);
    table.cells[0].text = QStringLiteral("left");
    table.cells[0].width = 2000;
    table.cells[0].align = 6;
    table.cells[1].text = QStringLiteral("centre");
    table.cells[1].width = 3000;
    table.cells[1].align = 7;
    table.cells[2].text = QStringLiteral("right");
    table.cells[2].width = 1000;
    table.cells[2].align = 8;
    table.rowHeight = 400;
    surface.endTable();
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

TEST(PrintSurfaceTables, HiddenTableNeitherDrawsNorMovesAndBordersFrameEveryCell) {
    PrintSurface surface;
    surface.setMargins(1000, 1000, 1000, 1000);
    surface.startDoc();
    PrintTable& hidden = surface.startTable(1);
    hidden.cells[0].text = QStringLiteral("measured only");
    hidden.rowHeight = 300;
    hidden.hidden = true;
    surface.endTable();
    EXPECT_DOUBLE_EQ(surface.currentY(), 1000);
    EXPECT_TRUE(surface.document().pages[0].texts.empty());

    surface.setTableBorder(TableBorder::All);
    PrintTable& framed = surface.startTable(2);
    framed.cells[0].width = 500;
    framed.cells[1].width = 700;
    framed.cells[1].attribute = 255;  // red background
    framed.rowHeight = 300;
    surface.endTable();
    const std::vector<BoxItem>& boxes = surface.document().pages[0].boxes;
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_TRUE(boxes[1].filled);
    EXPECT_EQ(boxes[1].color, 255);
    EXPECT_EQ(boxes[2].rect, QRectF(1500, 1000, 700, 300));
}

TEST(PrintSurfaceTables, TextWiderThanItsCellIsCutToTheCell) {
    PrintSurface surface;
    surface.startDoc();
    PrintTable& table = surface.startTable(2);
    table.cells[0].text = QStringLiteral("a text far too long for a narrow column");
    table.cells[0].width = 600;
    table.cells[1].text = QStringLiteral("ok");
    table.cells[1].width = 600;
    surface.endTable();
    const std::vector<TextItem>& texts = surface.document().pages[0].texts;
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_TRUE(texts[0].clipped);
    EXPECT_FALSE(texts[1].clipped);
}

TEST(PrintSurfaceDrawing, NothingIsRecordedWithoutAnOpenPage) {
    PrintSurface surface;
    surface.drawLine(0, 0, 100, 100);
    PrintTable& table = surface.startTable(1);
    table.cells[0].text = QStringLiteral("x");
    surface.endTable();
    EXPECT_EQ(surface.document().pageCount(), 0);
    surface.startDoc();
    surface.setPen({255, 2, 20});
    surface.drawLine(0, 10, 100, 10);
    ASSERT_EQ(surface.document().pages[0].lines.size(), 1u);
    EXPECT_EQ(surface.document().pages[0].lines[0].pen, (PrintPen{255, 2, 20}));
}

TEST(PrintSurfaceMeasure, TimesNewRomanMeasuresWithLiberationSerifMetrics) {
    PrintFont font;
    EXPECT_EQ(QFontInfo(font.toQFont()).family(), QStringLiteral("Liberation Serif"));
    PrintSurface surface;
    surface.setFont(font);
    // Liberation Serif's "M" advances 1821 of 2048 units per em; 10 points = 200 twips.
    EXPECT_NEAR(surface.textWidth(QStringLiteral("MMMMMMMMMM")), 10 * 200 * 1821.0 / 2048, 2.0);
    surface.setFont(timesBold());
    double bold = surface.textWidth(QStringLiteral("Page :"));
    surface.setFont(font);
    EXPECT_GT(bold, surface.textWidth(QStringLiteral("Page :")));
    double one = surface.textHeight(QStringLiteral("x"));
    EXPECT_NEAR(one, 221, 5);  // ascent + descent (1.107 em) of 10-point Liberation Serif
    EXPECT_GT(surface.textHeight(QStringLiteral("x\ny")), 1.9 * one);
}

}  // namespace
}  // namespace vantrep::print
