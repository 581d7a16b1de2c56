// The document painted as PDF and as an image: read back by poppler's
// pdftotext and pdfinfo, and checked pixel by pixel.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "print/PagePainter.h"
#include "print/PdfWriter.h"
#include "print/PrintSurface.h"
#include "support/PdfText.h"

namespace vantrep::print {
namespace {

QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(30000)) << program.toStdString();
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

PrintDocument twoPages(int orientation, const QPageSize& paper = QPageSize(QPageSize::A4)) {
    PrintSurface surface;
    surface.setPaper(paper);
    surface.setOrientation(orientation);
    surface.setMargins(1440, 1440, 1440, 1440);
    surface.setBeforeFooter([&] { surface.footer().text = QStringLiteral("||Page %1").arg(surface.page()); });
    surface.startDoc();
    for (int page = 1; page <= 2; ++page) {
        if (page == 2) surface.newPage();
        PrintTable& table = surface.startTable(2);
        table.cells[0].text = QStringLiteral("Station %1").arg(page);
        table.cells[0].width = 3000;
        table.cells[1].text = QStringLiteral("1,250.00");
        table.cells[1].width = 2000;
        table.cells[1].align = 8;
        table.rowHeight = 300;
        surface.endTable();
        surface.setPen({0, 2, 20});
        surface.drawLine(1440, surface.currentY(), 6440, surface.currentY());
    }
    surface.endDoc();
    return surface.document();
}

TEST(PdfOutput, PagesReadBackWithTheirTextsAndSizeInEitherOrientation) {
    QTemporaryDir temp;
    QString path = temp.filePath(QStringLiteral("out.pdf"));
    QString wide = temp.filePath(QStringLiteral("wide.pdf"));
    ASSERT_TRUE(writePdf(twoPages(0), path, QStringLiteral("Test")));
    ASSERT_TRUE(writePdf(twoPages(1), wide));
    EXPECT_FALSE(writePdf(PrintDocument(), temp.filePath(QStringLiteral("none.pdf"))));  // an empty document
    QString info = run(QStringLiteral("pdfinfo"), {path});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\n")))) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("595 x 842 pts (A4)"))) << info.toStdString();
    EXPECT_TRUE(run(QStringLiteral("pdfinfo"), {wide}).contains(QStringLiteral("842 x 595 pts (A4)")));
    QString text = testing::pdfText(path);
    QStringList pages = text.split(u'\f');
    ASSERT_GE(pages.size(), 2);
    EXPECT_TRUE(pages[0].contains(QRegularExpression(QStringLiteral("Station 1 +1,250.00")))) << text.toStdString();
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Page 1")));
    EXPECT_TRUE(pages[1].contains(QStringLiteral("Station 2")));
    EXPECT_TRUE(pages[1].contains(QStringLiteral("Page 2")));
}

TEST(PdfOutput, PagesHaveTheDocumentsPaperSize) {
    QTemporaryDir temp;
    struct Case {
        QPageSize::PageSizeId id;
        int orientation;
        QString size;  // as pdfinfo says it
    };
    const Case cases[] = {{QPageSize::Letter, 0, "612 x 792 pts (letter)"},
                          {QPageSize::Letter, 1, "792 x 612 pts (letter)"},
                          {QPageSize::Legal, 0, "612 x 1008 pts"},
                          {QPageSize::A3, 1, "1191 x 842 pts"},
                          {QPageSize::A5, 0, "420 x 595 pts"}};
    for (const Case& c : cases) {
        const QString path = temp.filePath(QStringLiteral("%1-%2.pdf").arg(int(c.id)).arg(c.orientation));
        ASSERT_TRUE(writePdf(twoPages(c.orientation, QPageSize(c.id)), path));
        const QString info = run(QStringLiteral("pdfinfo"), {path});
        EXPECT_TRUE(info.contains(QRegularExpression("Page size:\\s+" + QRegularExpression::escape(c.size))))
            << info.toStdString();
        EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\n"))));
        EXPECT_TRUE(testing::pdfText(path).contains(QRegularExpression(QStringLiteral("Station 2 +1,250.00"))));
    }
}

TEST(PageImage, ItemsLandWhereTheirTwipsSayAtAnyResolution) {
    PrintSurface surface;
    surface.setMargins(1440, 1440, 1440, 1440);
    surface.startDoc();
    PrintTable& table = surface.startTable(1);
    table.cells[0].width = 1440;
    table.cells[0].attribute = 255;  // pure red fill, one inch square
    table.rowHeight = 1440;
    surface.endTable();
    surface.endDoc();
    QImage image = pageImage(surface.document(), 1, 72);
    EXPECT_EQ(image.width(), 596);  // 11906 twips at 72 dpi
    EXPECT_EQ(image.pixelColor(108, 108), QColor(255, 0, 0));  // inside the square (72..144 px)
    EXPECT_EQ(image.pixelColor(150, 108), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(60, 108), QColor(Qt::white));
}

}  // namespace
}  // namespace vantrep::print
