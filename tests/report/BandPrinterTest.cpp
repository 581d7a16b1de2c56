// Printing band lines: sizes, item kinds, functions, formats, suppression
// rules and the page-break check.
#include <gtest/gtest.h>

#include <QDate>
#include <QFontMetricsF>

#include "grid/GridModel.h"
#include "print/support/DocumentText.h"
#include "report/BandPrinter.h"
#include "report/ReportData.h"
#include "report/support/ReportTable.h"

namespace vantrep::report {
namespace {

using testing::decimal;
using testing::documentLines;
using testing::text;

class BandPrinterTest : public ::testing::Test {
protected:
    BandPrinterTest()
        : table({{"prog_name", 'C', 10}, {"typology", 'C', 6}, {"timestart", 'C', 5}, {"timeend", 'C', 5},
                 {"time_durn", 'N', 3}, {"language", 'C', 8}, {"date", 'D'}, {"amt", 'N', 6, 2}, {"zero", 'N', 3}},
                {{text("News"), text("Live"), text("10:00"), text("10:30"), testing::number(30), text("English"),
                  engine::Value::date(engine::julianDay(2024, 3, 5)), decimal("0"), testing::number(0)}}),
          data(table.recordset()),
          printer(surface, settings) {
        surface.setMargins(1000, 1000, 1000, 1000);
        settings.area = surface.printableArea();
        printer.setData(&data);
        surface.startDoc();
    }

    // Prints one line; returns its width, its row height goes to `height`.
    double print(const QString& line, bool noPageBreak = false) {
        return printer.printLine(line, false, noPageBreak, height);
    }
    // The cells of the one line printed: texts of the current page's last row.
    QString printed(const QString& line) {
        print(line);
        QStringList lines = testing::pageLines(surface.document(), surface.page());
        return lines.isEmpty() ? QString() : lines.last();
    }
    const print::Page& page(int number = 1) const { return surface.document().pages[number - 1]; }

    print::PrintSurface surface;
    BandSettings settings;
    testing::ReportTable table;
    ReportData data;
    BandPrinter printer;
    double height = 0;
};

TEST_F(BandPrinterTest, AutomaticSizeIsTheTextMeasuredInTheItemFontPlusMargins) {
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(240);  // 12 points in twips
    arial.setBold(true);
    arial.setHintingPreference(QFont::PreferNoHinting);
    QFontMetricsF metrics(arial);
    EXPECT_NEAR(print("lbl;Page :;;;;;Arial;12;true"), metrics.horizontalAdvance("Page :") + 100, 0.5);
    EXPECT_NEAR(height, metrics.height() + 20, 0.5);
    // A field item measures its field's name, not its value.
    EXPECT_NEAR(print("txt;language;;;;;Arial;12;true"), metrics.horizontalAdvance("language") + 100, 0.5);
    EXPECT_DOUBLE_EQ(surface.currentX(), 1000);
}

TEST_F(BandPrinterTest, ItemKindsPrintTheirTextsAndFailingItemsEmptyCells) {
    struct Case { bool suppressZero; QString line, cells; };
    const Case cases[] = {
        {false, "lbl;Markets:;900|txt;language;250;;1|txt;prog_name*;900;;2|lbl;Quorvel;900;;3",
         "Markets: | E | Ne | Quo"},
        {false, "txt;date;1500;;;;;;;;;;ddd dd/mm/yy|fun;pagecount;500", "Tue 05/03/24 | 1"},
        {false, "fun;date;2800;;;;;;;;;;dd/mm/yy", QDate::currentDate().toString("dd/MM/yy")},
        // Concat trims starred fields and keeps literals as written, all in one cell.
        {false, "fun;concat(prog_name*, - ,typology*, [ ,timestart, - ,timeend, ], ,time_durn);10000",
         "News - Live [ 10:00 - 10:30 ] 30"},
        {false, "fun;concat(typology,/,prog_name);10000", "Live  /News      "},
        // Items that fail print empty cells and the line goes on.
        {false, "txt;nosuchfield;900|fun;nosuchfunction;900|fun;sum(amt);900|lbl;end;900", "end"},
        // Suppressing zeros empties only the text "0".
        {true, "txt;zero;900|lbl;0.00;900|lbl; 0;900|txt;time_durn;900", "0.00 |  0 | 30"},
        {false, "txt;zero;900|lbl;x;900", "0 | x"},
    };
    for (const Case& c : cases) {
        settings.SuppressZero = c.suppressZero;
        EXPECT_EQ(printed(c.line), c.cells) << c.line.toStdString();
    }
}

TEST_F(BandPrinterTest, SuppressBlankLinesHidesTheRowButItsLineIsAlreadyDrawn) {
    settings.SuppressBlankLines = true;
    print("lbl;  ;500;300|lin;;5000;;;2");
    EXPECT_DOUBLE_EQ(surface.currentY(), 1000);
    EXPECT_EQ(height, 300);
    ASSERT_EQ(page().lines.size(), 1u);
    EXPECT_EQ(page().lines[0].to, QPointF(6000, 1000));
    settings.SuppressBlankLines = false;
    print("lbl;  ;500;300");
    EXPECT_DOUBLE_EQ(surface.currentY(), 1300);
}

TEST_F(BandPrinterTest, LineItemsTakeTheirPenFromTheFormatAndRestoreIt) {
    surface.setPen({0, 0, 0});
    print("lin;dotline2;13350;;;2;;;;;;;,2");
    print("lin;;500;400;;3;;;;;;;255,x,40");
    print("lin;;500;400;;5|lin;;500;400;;4");
    const std::vector<print::LineItem>& lines = page().lines;
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].pen, (print::PrintPen{0, 2, 0}));
    EXPECT_EQ(lines[0].to, QPointF(1000 + 13350, 1000));
    EXPECT_EQ(lines[1].pen, (print::PrintPen{255, 0, 40}));  // the bad style is left as it was
    EXPECT_EQ(lines[1].to, QPointF(1000, 1000 + 400));
    EXPECT_EQ(lines[2].to, QPointF(1500, 1400 + 400));  // direction 4 draws nothing
    EXPECT_EQ(surface.pen(), (print::PrintPen{0, 0, 0}));
}

TEST_F(BandPrinterTest, PicturesComeFromTheReportGridAtTheirNaturalSize) {
    grid::GridModel grid(2, 2);
    QImage logo(96, 48, QImage::Format_RGB32);
    logo.fill(Qt::blue);
    logo.setDotsPerMeterX(3780);  // 96 dpi
    logo.setDotsPerMeterY(3780);
    grid.setCellData(0, 0, logo);
    printer.setPictures(&grid);
    EXPECT_NEAR(print("img;0,0|lbl;Quorvel;2000"), 1440 + 2000, 1);
    print("img;1,1|img;5,5");  // no picture there
    EXPECT_NEAR(height, 0, 0.01);
    const std::vector<print::PictureItem>& pictures = page().pictures;
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_NEAR(pictures[0].rect.width(), 1440, 1);
    EXPECT_NEAR(pictures[0].rect.height(), 720, 1);
    EXPECT_EQ(pictures[0].rect.topLeft(), QPointF(1000, 1000));
}

TEST_F(BandPrinterTest, LineThatDoesNotFitAboveTheFooterReserveMovesToANewPageWithItsRule) {
    settings.pageHeader = QStringLiteral("lbl;HEADER;2000;200");
    settings.pageFooter = QStringLiteral("lbl;FOOTER;2000;200");
    settings.footerReserve = 200;
    surface.setCurrentY(settings.area.bottom - settings.footerReserve - 260);
    print("lbl;fits;1000;250");
    print("lbl;no page break;2000;250", true);
    print("lin;;5000;250;;2|lbl;small;1000;100|lbl;moves;1000;250");
    ASSERT_EQ(surface.page(), 2);
    EXPECT_EQ(documentLines(surface.document()),
              QStringList({"#1", "fits", "no page break", "FOOTER", "#2", "HEADER", "small | moves"}));
    EXPECT_DOUBLE_EQ(surface.currentY(), 1000 + 200 + 250);
    // The rule of the line that moved is drawn on the new page, below its header.
    EXPECT_TRUE(page(1).lines.empty());
    ASSERT_EQ(page(2).lines.size(), 1u);
    EXPECT_EQ(page(2).lines[0].from, QPointF(1000, 1000 + 200));
}

TEST_F(BandPrinterTest, LineSpacingAndBordersAndHiddenBands) {
    settings.LineSpacing = 120;
    settings.ShowColumn = true;
    EXPECT_EQ(printer.printBand("lbl;a;500;200|lbl;b;700;200\r\n\r\nlbl;c;300;100", false, false, false, height), 1200);
    EXPECT_EQ(height, 100);
    EXPECT_DOUBLE_EQ(surface.currentY(), 1000 + 200 + 120 + 120 + 100 + 120);
    // Two framed cells, the empty line's spacing and the spacing rows framed as one-cell tables.
    EXPECT_GE(page().boxes.size(), 3u);
    double before = surface.currentY();
    EXPECT_EQ(printer.printBand("lbl;hidden;900;200|lin;;5000;;;2", true, false, false, height), 5900);
    EXPECT_DOUBLE_EQ(surface.currentY(), before);
    EXPECT_TRUE(page().lines.empty());
}

}  // namespace
}  // namespace vantrep::report
