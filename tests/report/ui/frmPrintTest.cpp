// The preview window on a grid report: page keys, find and Find Next with
// their messages, the marking, the popup menu, and the title settings.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "grid/GridModel.h"
#include "print/support/DocumentText.h"
#include "report/TitleAlignment.h"
#include "report/ui/frmPrint.h"
#include "report/ui/frmTitleSettings.h"
#include "report/ui/support/BrandPreview.h"

namespace vantrep::report::ui {
namespace {

struct Preview : testing::BrandPreview {
    QString answer;

    Preview() { window.askFindText = [this] { return answer; }; }
    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&window, static_cast<Qt::Key>(key), modifiers);
    }
};

TEST(frmPrint, PageKeysMoveThroughTheDocument) {
    Preview p;
    ASSERT_GE(p.window.pageCount(), 3);
    EXPECT_EQ(p.window.windowTitle(), "Print Preview of Brand Spends");
    EXPECT_EQ(p.window.currentPage(), 1);
    p.key(Qt::Key_PageDown);
    EXPECT_EQ(p.window.currentPage(), 2);
    p.key(Qt::Key_PageUp);
    p.key(Qt::Key_PageUp);  // past the first page: stays
    EXPECT_EQ(p.window.currentPage(), 1);
    p.key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(p.window.currentPage(), p.window.pageCount());
    p.key(Qt::Key_PageDown);
    EXPECT_EQ(p.window.currentPage(), p.window.pageCount());
    p.key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(p.window.currentPage(), 1);
}

TEST(frmPrint, FindAndFindNextWalkTheHitsThenStartAgain) {
    Preview p;
    p.answer = "brand 7";  // case is ignored
    p.key(Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(p.messages.isEmpty());
    EXPECT_EQ(p.window.currentPage(), 1);
    const QRectF first = p.window.marking(1);
    EXPECT_FALSE(first.isEmpty());
    // Brand 7 and Brand 70 to 79: eleven hits in all.
    int hits = 1;
    while (p.messages.isEmpty() && hits < 30) {
        p.key(Qt::Key_F3);
        if (p.messages.isEmpty()) ++hits;
    }
    EXPECT_EQ(hits, 11);
    EXPECT_EQ(p.messages, QStringList{"Not Found: Whole document has been searched"});
    // The next F3 starts at the top again.
    p.key(Qt::Key_F3);
    EXPECT_EQ(p.messages.size(), 1);
    EXPECT_EQ(p.window.currentPage(), 1);
    EXPECT_EQ(p.window.marking(1), first);
    // Esc removes the marking of the page shown.
    p.key(Qt::Key_Escape);
    EXPECT_TRUE(p.window.marking(1).isEmpty());
    EXPECT_TRUE(p.window.isHidden() || p.window.result() == 0);  // Esc does not close the preview
}

TEST(frmPrint, ANewTextRestartsFromTheTopAndAMissingOneSaysSo) {
    Preview p;
    p.answer = "Brand 150";
    p.key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(p.window.currentPage(), p.window.pageCount());
    p.answer = "Brand 2";
    p.key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(p.window.currentPage(), 1);
    EXPECT_TRUE(p.window.marking(p.window.pageCount()).isEmpty());  // the earlier page's marking is gone
    p.answer = "no such brand";
    p.key(Qt::Key_F, Qt::ControlModifier);
    p.answer.clear();
    p.key(Qt::Key_F, Qt::ControlModifier);  // an empty answer does nothing
    EXPECT_EQ(p.messages, QStringList{"Not Found: Search text not found"});
}

TEST(frmPrint, PopupMenuHidesTitleSettingsForABandedReportAndKeepsPageSetup) {
    Preview p;
    QMenu* menu = p.window.preparedMenu();
    QStringList shown;
    for (QAction* action : menu->actions())
        if (action->isVisible() && !action->isSeparator()) shown << action->text();
    EXPECT_EQ(shown, (QStringList{"&Find", "Find &Next", "&Title Settings", "Page Set&up..."}));

    grid::GridModel none;
    engine::Recordset data;  // any non-null Data marks a banded report
    frmPrint banded;
    banded.report().Data = &data;
    shown.clear();
    int visibleSeparators = 0;
    for (QAction* action : banded.preparedMenu()->actions()) {
        if (!action->isVisible()) continue;
        if (action->isSeparator())
            ++visibleSeparators;
        else
            shown << action->text();
    }
    EXPECT_EQ(shown, (QStringList{"&Find", "Find &Next", "Page Set&up..."}));
    EXPECT_EQ(visibleSeparators, 1);  // the one before Page Setup
}

TEST(frmPrint, TitleSettingsPrintTheGridAgainWithTheNewTitles) {
    Preview p;
    p.window.showTitleDialog = [](frmTitleSettings& dialog) {
        dialog.activate();
        EXPECT_EQ(dialog.txtTitle1->text(), "Brand Spends");
        EXPECT_EQ(dialog.cmbTitle1Alignment->currentText(), "Left");
        dialog.txtTitle1->setText("Spends by Brand");
        dialog.cmbTitle1Alignment->setCurrentText("Center");
        dialog.txtTitle2->setText("Only | TV");
        dialog.cmbTitle2Alignment->setCurrentText("Right");
        dialog.cmdOk_Click();
    };
    p.key(Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(p.window.gridReport().CdlgTitle1.Tag, "|Spends by Brand|");
    EXPECT_EQ(p.window.VP().header().text, "|Spends by Brand|");
    const print::PrintDocument& document = p.window.VP().document();
    const QStringList lines = testing::pageLines(document, 1);
    EXPECT_EQ(lines[0], "Spends by Brand");
    EXPECT_EQ(lines[1], "Only  TV");
    // Centred header and right-aligned sub title.
    for (const print::TextItem& text : document.pages[0].texts) {
        if (text.text == "Spends by Brand") {
            EXPECT_NEAR(text.origin.x() + text.width / 2, document.paperWidth / 2, 60);
        }
        if (text.text == "Only  TV") {
            EXPECT_NEAR(text.origin.x() + text.width, document.paperWidth - 200 - 50, 2);
        }
    }
    // The dialog opened again shows the stored title without its bars.
    frmTitleSettings again;
    again.Title1 = &p.window.gridReport().CdlgTitle1;
    again.Title2 = &p.window.gridReport().CdlgTitle2;
    again.ShowAlignment = true;
    again.activate();
    EXPECT_EQ(again.txtTitle1->text(), "Spends by Brand");
    EXPECT_EQ(again.cmbTitle1Alignment->currentText(), "Center");
    EXPECT_EQ(again.txtTitle2->text(), "Only  TV");
}

TEST(frmTitleSettings, WithoutAlignmentTextsAreStoredAsTypedAndCancelKeepsThem) {
    TitleHolder one, two;
    one.Tag = "Main||";
    two.Tag = "Sub";
    frmTitleSettings dialog;
    dialog.Title1 = &one;
    dialog.Title2 = &two;
    dialog.activate();
    EXPECT_TRUE(dialog.cmbTitle1Alignment->isHidden());
    dialog.txtTitle1->setText("|typed");
    dialog.cmdCancel_Click();
    EXPECT_FALSE(dialog.SaveTitle());
    EXPECT_EQ(one.Tag, "Main||");
    dialog.cmdOk_Click();
    EXPECT_TRUE(dialog.SaveTitle());
    EXPECT_EQ(one.Tag, "|typed");
    EXPECT_EQ(titleAlignment(one.Tag), titleCenter);
}

}  // namespace
}  // namespace vantrep::report::ui
