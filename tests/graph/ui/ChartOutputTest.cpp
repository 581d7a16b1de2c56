// What leaves the chart window: the header and footer edited in the title
// settings dialog, the chart page in the preview and its PDF, the JPEG
// export, and chart pictures made without a window.
#include <gtest/gtest.h>

#include <QChartView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "graph/ui/ChartFixture.h"
#include "graph/ui/ChartImage.h"
#include "print/PdfWriter.h"
#include "report/ui/ChartCommands.h"
#include "report/ui/frmPrint.h"
#include "report/ui/frmTitleSettings.h"
#include "support/PdfText.h"

namespace vantrep::graph::ui {
namespace {

using testing::ChartFixture;

QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

TEST(ChartOutput, RightButtonMenuEditsHeaderAndFooter) {
    ChartFixture f;
    QString caption;
    QStringList frames;
    f.window->editHeaderFooter = [&](report::TitleHolder& header, report::TitleHolder& footer) {
        return report::ui::editChartHeaderFooter(header, footer, f.window.get(), [&](report::ui::frmTitleSettings& d) {
            d.show();
            caption = d.windowTitle();
            for (QGroupBox* frame : d.findChildren<QGroupBox*>()) frames.append(frame->title());
            d.txtTitle1->selectAll();
            QTest::keyClicks(d.txtTitle1, "Quarterly Spend");
            QTest::keyClicks(d.txtTitle2, "Source: panel data");
            QTest::mouseClick(d.findChild<QPushButton*>("cmdOk"), Qt::LeftButton);
        });
    };
    f.pressChart(f.chart().view()->geometry().center(), Qt::RightButton);
    QMenu* menu = f.window->mnuGraph();
    ASSERT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->title(), "Graph");
    QAction* entry = menu->findChild<QAction*>("mnuHeaderFooter");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->text(), "Header/Footer");
    QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(entry).center());

    EXPECT_EQ(caption, "Header/Footer Settings");
    EXPECT_EQ(frames, (QStringList{"Header", "Footer"}));
    EXPECT_EQ(f.chart().headerLabel()->text(), "Quarterly Spend");
    EXPECT_EQ(f.chart().footerLabel()->text(), "Source: panel data");
    EXPECT_TRUE(f.chart().footerLabel()->isVisible());

    // The footer, shown now, takes its own colour.
    f.ui.colors = {QColor(Qt::cyan)};
    f.pressChart(f.chart().footerLabel()->geometry().center());
    EXPECT_EQ(f.ui.dialogs.back().title, "Select Footer Color");
    EXPECT_EQ(f.chart().footerBackground(), QColor(Qt::cyan));
}

TEST(ChartOutput, PreviewPrintsTheCriteriaAndTheChartToPdf) {
    ChartFixture f;
    f.session.sReportTitle = "Brand Report\rAll Media\rYear 2024";
    QTemporaryDir dir;
    const QString pdf = dir.path() + "/chart.pdf";
    int pages = 0;
    bool titleSettingsShown = true;
    f.window->previewChart = [&](const QImage& chart, const QString& criteria) {
        report::ui::PreviewChart(chart, criteria, &f.main, [&](report::ui::frmPrint& preview) {
            pages = preview.pageCount();
            titleSettingsShown = preview.preparedMenu()->findChild<QAction*>("mnuTitle")->isVisible();
            ASSERT_TRUE(print::writePdf(preview.VP().document(), pdf, preview.windowTitle()));
        });
    };
    f.press("preview");
    ASSERT_EQ(pages, 1);
    EXPECT_FALSE(titleSettingsShown);
    const QString text = vantrep::testing::pdfText(pdf);
    EXPECT_TRUE(text.contains(QRegularExpression("Brand Report\\s*\\n\\s*All Media\\s*\\n\\s*Year 2024"))) << text.toStdString();
    // One picture on the page, at twice the chart's pixels.
    const QString images = run("pdfimages", {"-list", pdf});
    const QStringList lines = images.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << images.toStdString();  // two heading lines, one image
    EXPECT_TRUE(lines[2].contains(QString::number(f.chart().width() * 2))) << images.toStdString();
}

TEST(ChartOutput, PreviewDoesNothingWithoutADataTable) {
    ChartFixture f;
    f.session.sDataFile.clear();
    int previews = 0;
    f.window->previewChart = [&](const QImage&, const QString&) { ++previews; };
    f.press("preview");
    EXPECT_EQ(previews, 0);
    f.session.sDataFile = "DATA.DBF";
    f.press("preview");
    EXPECT_EQ(previews, 1);
}

TEST(ChartOutput, ExportSavesAProgressiveJpegOfQuality100) {
    ChartFixture f;
    QTemporaryDir dir;
    const QString path = dir.path() + "/brands.jpg";
    f.ui.saveNames = {path};
    f.press("export");
    ASSERT_EQ(f.ui.dialogs.size(), 1u);
    EXPECT_EQ(f.ui.dialogs[0].title, "Save As");
    EXPECT_EQ(f.ui.dialogs[0].filter, "JPEG Files (*.jpg)");
    EXPECT_EQ(f.ui.dialogs[0].proposed, "2D Chart of Brand Report.jpg");
    ASSERT_TRUE(QFile::exists(path));
    const QString info = run("identify", {"-verbose", path});
    EXPECT_TRUE(info.contains("Interlace: JPEG")) << info.toStdString();
    EXPECT_TRUE(info.contains("Quality: 100")) << info.toStdString();
    EXPECT_TRUE(info.contains(QString("Geometry: %1x%2+0+0").arg(f.chart().width()).arg(f.chart().height())));
}

TEST(ChartOutput, CancelledExportSaysSoAndWritesNothing) {
    ChartFixture f;
    f.press("export");
    ASSERT_EQ(f.ui.messages.size(), 1u);
    EXPECT_EQ(f.ui.messages[0].text, "Cancel was selected.");
    EXPECT_EQ(f.ui.messages[0].icon, session::MessageIcon::Critical);
}

TEST(ChartImage, WritesEachKindWithoutAWindow) {
    grid::GridModel grid;
    testing::fillBrandGrid(grid);
    QTemporaryDir dir;
    QImage previous;
    for (ChartKind kind : {ChartKind::Line, ChartKind::Area, ChartKind::StackedArea, ChartKind::Radar}) {
        const QString path = dir.path() + "/" + chartKindName(kind) + ".png";
        QString error;
        ASSERT_TRUE(writeChartImage(grid, {kind, false, false, QSize(800, 500), "Brands"}, path, &error))
            << error.toStdString();
        const QImage image(path);
        EXPECT_EQ(image.size(), QSize(800, 500));
        EXPECT_NE(image, previous) << path.toStdString();
        previous = image;
    }
    const QString jpeg = dir.path() + "/line.jpg";
    ASSERT_TRUE(writeChartImage(grid, ChartPicture{}, jpeg, nullptr));
    const QString info = run("identify", {"-verbose", jpeg});
    EXPECT_TRUE(info.contains("Geometry: 1600x1000+0+0"));
    EXPECT_TRUE(info.contains("Interlace: JPEG"));
    EXPECT_TRUE(info.contains("Quality: 100"));
}

TEST(ChartImage, AGridWithNothingToChartIsRefused) {
    grid::GridModel grid;
    grid.setRows(2);
    grid.setCols(2);
    grid.setFixedRows(2);
    QTemporaryDir dir;
    QString error;
    EXPECT_FALSE(writeChartImage(grid, ChartPicture{}, dir.path() + "/none.jpg", &error));
    EXPECT_EQ(error, "The grid holds no data to chart.");
    EXPECT_FALSE(QFile::exists(dir.path() + "/none.jpg"));
    grid::GridModel brands;
    testing::fillBrandGrid(brands);
    EXPECT_FALSE(writeChartImage(brands, ChartPicture{}, "/no/such/folder/x.jpg", &error));
    EXPECT_TRUE(error.startsWith("The picture could not be written to /no/such/folder/x.jpg"));
}

}  // namespace
}  // namespace vantrep::graph::ui
