// The preview's Page Setup used as a user uses it: the toolbar button and the
// popup menu open the dialog, keys and the mouse fill it in, OK lays the
// document out again and later lay-outs keep the page; printing on another
// paper and Save as PDF, read back with pdfinfo and pdftotext.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <functional>

#include "grid/GridModel.h"
#include "print/support/DocumentText.h"
#include "report/support/ReportTable.h"
#include "report/ui/frmPageSetup.h"
#include "report/ui/frmPrint.h"
#include "report/ui/frmTitleSettings.h"
#include "report/ui/support/BrandPreview.h"
#include "support/PdfText.h"

namespace vantrep::report::ui {
namespace {

QString pdfInfo(const QString& path) {
    QProcess info;
    info.start("pdfinfo", {path});
    info.waitForFinished(30000);
    return QString::fromUtf8(info.readAllStandardOutput());
}

// Shown, as a user sees it.
struct Preview : testing::BrandPreview {
    Preview() { window.show(); }
    const print::PrintDocument& document() { return window.VP().document(); }
    QWidget* toolButton(const char* name) {
        auto* bar = window.findChild<QToolBar*>("previewToolbar");
        return bar->widgetForAction(bar->findChild<QAction*>(name));
    }
    // Clicks the toolbar's Page Setup button and runs `use` on the dialog
    // while it is open.
    void pageSetup(const std::function<void(frmPageSetup&)>& use) {
        bool opened = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<frmPageSetup*>(QApplication::activeModalWidget());
            opened = dialog != nullptr;
            if (!dialog) return;
            // Keys go to the focused control once the dialog is the active window.
            dialog->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
            use(*dialog);
            if (dialog->isVisible()) dialog->reject();  // a dialog `use` left open
        });
        QTest::mouseClick(toolButton("pageSetup"), Qt::LeftButton);
        EXPECT_TRUE(opened);
    }
};

// Selects the text of `box` and types `text` over it.
void typeInto(QDoubleSpinBox* box, const QString& text) {
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, text);
}

TEST(frmPageSetup, OkLaysTheGridOutOnTheChosenPageAndLaterLayOutsKeepIt) {
    Preview p;
    const int a4Pages = p.window.pageCount();
    p.pageSetup([](frmPageSetup& dialog) {
        // What the grid report prints on: A4, portrait turning when too wide,
        // its margins in inches (the locale is US English).
        EXPECT_EQ(dialog.cmbPaper->currentText(), "A4");
        EXPECT_TRUE(dialog.optPortrait->isChecked());
        EXPECT_TRUE(dialog.chkTurnWhenTooWide->isChecked());
        EXPECT_EQ(dialog.txtMarginLeft->text(), "0.14 in");
        EXPECT_EQ(dialog.txtMarginTop->text(), "0.50 in");
        dialog.cmbPaper->setFocus();
        QTest::keyClick(dialog.cmbPaper, Qt::Key_Down);
        EXPECT_EQ(dialog.cmbPaper->currentText(), "Letter / ANSI A");
        // Tab to the orientation, arrow down to Landscape.
        QTest::keyClick(dialog.cmbPaper, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), dialog.optPortrait);
        QTest::keyClick(dialog.optPortrait, Qt::Key_Down);
        EXPECT_TRUE(dialog.optLandscape->isChecked());
        EXPECT_FALSE(dialog.chkTurnWhenTooWide->isEnabled());
        typeInto(dialog.txtMarginLeft, "1");
        typeInto(dialog.txtMarginTop, "0.75");
        QTest::keyClick(dialog.txtMarginTop, Qt::Key_Return);  // OK is the default button
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    });
    const PageSetup& setup = p.window.pageSetup();
    EXPECT_TRUE(setup.Paper.isEquivalentTo(QPageSize(QPageSize::Letter)));
    EXPECT_EQ(setup.Orientation, 1);
    EXPECT_EQ(setup.MarginLeft, 1440);
    EXPECT_EQ(setup.MarginTop, 1080);
    EXPECT_EQ(setup.MarginRight, 200);  // left as shown: kept exactly
    EXPECT_EQ(setup.MarginBottom, 720);
    EXPECT_TRUE(p.document().paper.isEquivalentTo(QPageSize(QPageSize::Letter)));
    EXPECT_EQ(p.document().orientation, 1);
    EXPECT_EQ(p.document().paperWidth, 15840);
    EXPECT_GT(p.window.pageCount(), a4Pages);  // landscape Letter holds fewer rows
    EXPECT_EQ(p.window.findChild<QLabel*>("pageLabel")->text(), QString("Page 1 of %1").arg(p.window.pageCount()));
    EXPECT_TRUE(testing::documentLines(p.document()).contains("Brand 150 | 150"));

    // A title change prints the grid again on the same page.
    p.window.showTitleDialog = [](frmTitleSettings& dialog) {
        dialog.activate();
        dialog.txtTitle1->setText("Spends by Brand");
        dialog.cmdOk_Click();
    };
    QTest::keyClick(&p.window, Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(testing::pageLines(p.document(), 1).first(), "Spends by Brand");
    EXPECT_EQ(p.document().paperWidth, 15840);
    for (const print::TextItem& text : p.document().pages[0].texts)
        if (text.text == "All media") {
            EXPECT_EQ(text.clip.left(), 1440);
        }

    // Opened again it shows that page; margins that leave no room refuse OK,
    // and Escape leaves everything as it was.
    const int pages = p.window.pageCount();
    p.pageSetup([](frmPageSetup& dialog) {
        EXPECT_EQ(dialog.cmbPaper->currentText(), "Letter / ANSI A");
        EXPECT_TRUE(dialog.optLandscape->isChecked());
        EXPECT_EQ(dialog.txtMarginLeft->text(), "1.00 in");
        EXPECT_TRUE(dialog.lblNoRoom->isHidden());
        typeInto(dialog.txtMarginRight, "10");  // 11 inches of 11 across
        EXPECT_FALSE(dialog.lblNoRoom->isHidden());
        EXPECT_FALSE(dialog.cmdOk->isEnabled());
        QTest::mouseClick(dialog.cmdOk, Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible());
        QTest::keyClick(dialog.txtMarginRight, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_EQ(p.window.pageSetup().MarginRight, 200);
    EXPECT_EQ(p.window.pageCount(), pages);
}

TEST(frmPageSetup, PortraitWithoutTurningIsKeptAndThePopupMenuOpensTheDialogToo) {
    Preview p;
    p.grid.setColWidth(2, 14000);  // wider than a portrait page
    p.window.load();
    EXPECT_EQ(p.document().orientation, 1);
    QMenu* menu = p.window.preparedMenu();
    QAction* entry = menu->findChild<QAction*>("mnuPageSetup");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->text(), "Page Set&up...");
    bool opened = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<frmPageSetup*>(QApplication::activeModalWidget());
        opened = dialog != nullptr;
        if (!dialog) return;
        EXPECT_TRUE(dialog->optPortrait->isChecked());  // the choice, not the turn the report took
        QTest::mouseClick(dialog->chkTurnWhenTooWide, Qt::LeftButton);
        QTest::mouseClick(dialog->cmdOk, Qt::LeftButton);
    });
    entry->trigger();
    ASSERT_TRUE(opened);
    EXPECT_EQ(p.window.pageSetup().Orientation, 0);
    EXPECT_EQ(p.document().orientation, 0);
    // The value column is narrowed to the portrait page; nothing runs off it.
    EXPECT_TRUE(testing::documentLines(p.document()).contains("Brand 150 | 150"));
    for (const print::Page& page : p.document().pages)
        for (const print::TextItem& text : page.texts)
            if (text.origin.y() > 720 && text.origin.y() < 16838 - 720) {  // not the page header or footer
                EXPECT_LE(text.clip.right(), 11906 - 200 + 0.5) << text.text.toStdString();
            }
}

TEST(frmPageSetup, PrintingOnAnotherPaperLaysOutForItAndSaveAsPdfWritesThatPaper) {
    Preview p;
    QTemporaryDir temp;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(temp.filePath("printed.pdf"));
    printer.setPageSize(QPageSize(QPageSize::Legal));  // as picked in the print dialog
    printer.setPageOrientation(QPageLayout::Portrait);
    p.window.printOn(printer);
    EXPECT_TRUE(p.document().paper.isEquivalentTo(QPageSize(QPageSize::Legal)));
    const QString printed = pdfInfo(temp.filePath("printed.pdf"));
    EXPECT_TRUE(printed.contains(QRegularExpression("Page size:\\s+612 x 1008 pts"))) << printed.toStdString();
    EXPECT_TRUE(printed.contains(QRegularExpression(QString("Pages:\\s+%1\\n").arg(p.window.pageCount()))));
    // The last brand and the last page's footer are on the last printed page.
    const QStringList pages = testing::pdfText(temp.filePath("printed.pdf")).split('\f');
    ASSERT_GE(pages.size(), p.window.pageCount());
    const QString last = pages[p.window.pageCount() - 1];
    EXPECT_TRUE(last.contains(QRegularExpression("Brand 150\\s+150"))) << last.toStdString();
    EXPECT_TRUE(last.contains(QString("Page :%1").arg(p.window.pageCount())));

    // Save as PDF from the toolbar writes the preview's pages.
    p.window.askPdfPath = [&] { return temp.filePath("saved"); };
    QTest::mouseClick(p.toolButton("savePdf"), Qt::LeftButton);
    const QString saved = pdfInfo(temp.filePath("saved.pdf"));
    EXPECT_TRUE(saved.contains(QRegularExpression("Page size:\\s+612 x 1008 pts"))) << saved.toStdString();
    EXPECT_TRUE(testing::pdfText(temp.filePath("saved.pdf")).contains(QRegularExpression("Brand 1\\s+1\\n")));
}

TEST(frmPageSetup, AChartPageAndABandedReportAreLaidOutAgainToo) {
    QImage chart(400, 300, QImage::Format_RGB32);
    chart.fill(Qt::red);
    frmPrint charts;
    charts.gridReport().ReportCriteria = "All media";
    charts.RenderChart(chart);
    PageSetup setup = charts.pageSetup();
    setup.Paper = QPageSize(QPageSize::A5);
    setup.Orientation = 1;
    charts.applyPageSetup(setup);
    const print::PrintDocument& document = charts.VP().document();
    EXPECT_EQ(document.paperWidth, 11906);
    ASSERT_EQ(document.pages.size(), 1u);
    ASSERT_EQ(document.pages[0].pictures.size(), 1u);
    const QRectF picture = document.pages[0].pictures[0].rect;
    EXPECT_LE(picture.right(), 11906 - setup.MarginRight + 0.5);
    EXPECT_LE(picture.bottom(), 8391 - setup.MarginBottom + 0.5);
    EXPECT_TRUE(testing::pageLines(document, 1).contains("All media"));

    testing::ReportTable table({{"brand", 'C', 10}}, {{testing::text("Alpha")}, {testing::text("Beta")}});
    frmPrint banded;
    banded.report().Data = &table.recordset();
    banded.report().PHFormat = "lbl;Brands;2000";
    banded.report().DetFormat = "txt;brand;2000";
    banded.load();
    setup = banded.pageSetup();
    EXPECT_EQ(setup.MarginLeft, 0);  // the banded report's own set-up
    setup.Paper = QPageSize(QPageSize::Letter);
    banded.applyPageSetup(setup);
    EXPECT_EQ(banded.VP().document().paperHeight, 15840);
    QStringList lines = testing::pageLines(banded.VP().document(), 1).mid(0, 3);
    for (QString& line : lines) line = line.trimmed();  // character fields come blank-padded
    EXPECT_EQ(lines, QStringList({"Brands", "Alpha", "Beta"}));
}

}  // namespace
}  // namespace vantrep::report::ui
