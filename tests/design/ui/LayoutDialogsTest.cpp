// The save-layout, change-layout and folder browse dialogs used with the
// mouse and the keyboard: the files listed, sorting by a heading, the two
// views, renaming and deleting a layout, the name box, the buttons and the
// keys Enter and Escape; questions answered by the scripted Ui.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>

#include "design/ui/frmBrowseDlg.h"
#include "design/ui/frmChangeLayout.h"
#include "design/ui/frmSaveAs.h"
#include "session/LayoutFiles.h"
#include "session/support/FakeUi.h"

namespace vantrep::design::ui {
namespace {

void writeFile(const QString& path, int bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(bytes, 'x'));
}

template <typename T>
T* child(QWidget& dialog, const char* name) {
    T* found = dialog.findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// The names in the details view, top to bottom.
QStringList shownNames(frmSaveAs& dialog) {
    QStringList names;
    for (int r = 0; r < dialog.files()->rowCount(); ++r) names << dialog.files()->item(r, 0)->text();
    return names;
}

// Clicks the row showing `name` in `view` with the mouse.
void clickRow(QAbstractItemView* view, const QModelIndex& index) {
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
}

// Edits the current item's name with F2, as a user renames a file: `name`
// typed over it and Enter.
void typeName(QAbstractItemView* view, const QString& name) {
    QTest::keyClick(view, Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr) << "F2 edits the name";
    editor->selectAll();
    QTest::keyClicks(editor, name);
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();  // the editor hands its text over from the event loop
}

class LayoutDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp.isValid());
        folder = temp.path() + "/layouts";
        QDir().mkpath(folder);
    }
    QModelIndex rowNamed(frmSaveAs& dialog, const QString& name) {
        for (int r = 0; r < dialog.files()->rowCount(); ++r)
            if (dialog.files()->item(r, 0)->text() == name) return dialog.files()->index(r, 0);
        ADD_FAILURE() << "no row " << name.toStdString();
        return {};
    }

    QTemporaryDir temp;
    QString folder;
    session::testing::FakeUi ui;
};

TEST_F(LayoutDialogs, SaveAsListsTheKindSortsByAnyHeadingAndSwitchesViews) {
    writeFile(folder + "/Alpha.str", 3000);
    writeFile(folder + "/beta.STR", 10);
    writeFile(folder + "/Gamma.str", 1500);
    writeFile(folder + "/Gamma.fpt", 10);
    writeFile(folder + "/Listing.dtr", 10);
    frmSaveAs dialog(ui, folder, "Brand Spends.str");
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.windowTitle(), "Save As");
    auto* name = child<QLineEdit>(dialog, "txtFileName");
    EXPECT_EQ(name->text(), "Brand Spends");
    EXPECT_EQ(name->selectedText(), "Brand Spends");
    EXPECT_EQ(name, QApplication::focusWidget());
    EXPECT_EQ(shownNames(dialog), (QStringList{"Alpha.str", "beta.STR", "Gamma.str"}));
    QStringList headings;
    for (int c = 0; c < dialog.files()->columnCount(); ++c) headings << dialog.files()->horizontalHeaderItem(c)->text();
    EXPECT_EQ(headings, (QStringList{"Name", "Size", "Type", "Modified"}));
    EXPECT_EQ(dialog.files()->item(0, 1)->text(), "3 KB");
    EXPECT_EQ(dialog.files()->item(0, 2)->text(), "Vant Report summary report");

    QHeaderView* header = dialog.detailsView()->header();
    const QPoint size(header->sectionViewportPosition(1) + 8, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, size);
    EXPECT_EQ(shownNames(dialog), (QStringList{"beta.STR", "Gamma.str", "Alpha.str"}));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, size);
    EXPECT_EQ(shownNames(dialog), (QStringList{"Alpha.str", "Gamma.str", "beta.STR"}));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(0) + 8, size.y()));
    EXPECT_EQ(shownNames(dialog), (QStringList{"Alpha.str", "beta.STR", "Gamma.str"}));

    // A click on a layout puts its name, without the extension, in the box.
    clickRow(dialog.detailsView(), rowNamed(dialog, "Gamma.str"));
    EXPECT_EQ(name->text(), "Gamma");

    QTest::mouseClick(child<QRadioButton>(dialog, "optList"), Qt::LeftButton);
    EXPECT_TRUE(dialog.listView()->isVisible());
    EXPECT_FALSE(dialog.detailsView()->isVisible());
    clickRow(dialog.listView(), rowNamed(dialog, "beta.STR"));
    EXPECT_EQ(name->text(), "beta");
    QTest::mouseClick(child<QRadioButton>(dialog, "optDetails"), Qt::LeftButton);
    EXPECT_TRUE(dialog.detailsView()->isVisible());
}

TEST_F(LayoutDialogs, SaveAsGivesTheChosenPathOnSaveOrEnterAndNothingOnCancelOrEscape) {
    writeFile(folder + "/Spots.dtr", 10);
    {
        frmSaveAs dialog(ui, folder, "Spot Listing.dtr");
        dialog.show();
        auto* name = child<QLineEdit>(dialog, "txtFileName");
        EXPECT_EQ(name->text(), "Spot Listing");
        EXPECT_EQ(shownNames(dialog), QStringList{"Spots.dtr"});
        name->selectAll();
        QTest::keyClick(name, Qt::Key_Delete);
        EXPECT_FALSE(child<QPushButton>(dialog, "cmdSave")->isEnabled()) << "a blank name cannot be saved";
        QTest::keyClick(name, Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible());
        QTest::keyClicks(name, "spots");
        QTest::keyClick(name, Qt::Key_Return);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.FileName(), folder + "/Spots.dtr") << "the layout of that name, whatever its case";
    }
    {
        frmSaveAs dialog(ui, folder, "Spot Listing.dtr");
        dialog.show();
        QTest::mouseClick(child<QPushButton>(dialog, "cmdSave"), Qt::LeftButton);
        EXPECT_EQ(dialog.FileName(), folder + "/Spot Listing.DTR");
    }
    for (const bool escape : {false, true}) {
        frmSaveAs dialog(ui, folder, "Spot Listing.dtr");
        dialog.show();
        if (escape)
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            QTest::mouseClick(child<QPushButton>(dialog, "cmdCancel"), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(dialog.FileName(), "");
        EXPECT_FALSE(dialog.isVisible());
    }
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"Spots.dtr"});
}

TEST_F(LayoutDialogs, SaveAsRenamesByEditingANameAndDeletesWithItsMemoAndFilters) {
    const QString dataHome = temp.path() + "/data";
    qputenv("XDG_DATA_HOME", dataHome.toUtf8());
    writeFile(folder + "/Old.str", 10);
    writeFile(folder + "/Old.FPT", 20);
    writeFile(folder + "/Old.flt", 25);
    writeFile(folder + "/Taken.str", 30);
    frmSaveAs dialog(ui, folder, "Brand Spends.str");
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QTreeView* view = dialog.detailsView();

    clickRow(view, rowNamed(dialog, "Old.str"));
    typeName(view, "New");
    EXPECT_EQ(shownNames(dialog), (QStringList{"New.str", "Taken.str"}));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), (QStringList{"New.flt", "New.FPT", "New.str", "Taken.str"}));
    EXPECT_EQ(child<QLineEdit>(dialog, "txtFileName")->text(), "New");

    // A name another layout has is refused and the item keeps its name.
    ASSERT_EQ(view->currentIndex(), rowNamed(dialog, "New.str"));
    typeName(view, "Taken.str");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.contains("Taken.str")) << ui.messages[0].text.toStdString();
    EXPECT_EQ(shownNames(dialog), (QStringList{"New.str", "Taken.str"}));

    // Delete, answered No, keeps it; answered Yes, sends it, its memo and its filters to the trash.
    clickRow(view, rowNamed(dialog, "New.str"));
    ui.answers.push_back(session::MessageAnswer::No);
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(shownNames(dialog), (QStringList{"New.str", "Taken.str"}));
    QTest::keyClick(view, Qt::Key_Delete);
    qunsetenv("XDG_DATA_HOME");
    ASSERT_EQ(ui.messages.size(), 3u) << "one question for the layout, none for its memo or filters";
    EXPECT_EQ(ui.messages[2].text, "Are you sure you want to send 'New.str' to the Recycle Bin ?");
    EXPECT_EQ(ui.messages[2].title, "Confirm File Delete");
    EXPECT_EQ(shownNames(dialog), QStringList{"Taken.str"});
    EXPECT_EQ(child<QLineEdit>(dialog, "txtFileName")->text(), "New") << "the next layout's name is not proposed";
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"Taken.str"});
    EXPECT_TRUE(QFile::exists(dataHome + "/Trash/files/New.FPT"));
    EXPECT_TRUE(QFile::exists(dataHome + "/Trash/files/New.flt"));
    EXPECT_TRUE(QFile::exists(dataHome + "/Trash/files/New.str"));
}

TEST_F(LayoutDialogs, ChangeLayoutAppliesWithApplyOkOrDoubleClickAndRefusesRenaming) {
    writeFile(folder + "/By month.str", 10);
    writeFile(folder + "/By media.str", 10);
    const QList<session::LayoutFile> layouts = session::ListLayouts(folder, ".str");
    QStringList applied;
    auto open = [&] {
        auto dialog = std::make_unique<frmChangeLayout>(layouts, [&](const QString& path) { applied << path; });
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        return dialog;
    };
    auto dialog = open();
    EXPECT_EQ(dialog->windowTitle(), "Change Layout");
    QTreeWidget* list = dialog->layoutList();
    EXPECT_EQ(list->headerItem()->text(0), "Layout");
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "By media");
    EXPECT_EQ(list, QApplication::focusWidget()) << "the list takes the focus";

    QTest::keyClick(list, Qt::Key_F2);
    EXPECT_EQ(list, QApplication::focusWidget()) << "no name editor opens";
    QTest::keyClick(list, Qt::Key_Down);
    QTest::mouseClick(child<QPushButton>(*dialog, "cmdApply"), Qt::LeftButton);
    EXPECT_EQ(applied, QStringList{folder + "/By month.str"});
    EXPECT_TRUE(dialog->isVisible()) << "Apply keeps the dialog open";
    // Back in the list, Enter is "&OK", the default button.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(1)).center());
    QTest::keyClick(list, Qt::Key_Up);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(applied.size(), 2);
    EXPECT_EQ(applied.last(), folder + "/By media.str");
    EXPECT_FALSE(dialog->isVisible());

    dialog = open();
    list = dialog->layoutList();
    const QRect second = list->visualItemRect(list->topLevelItem(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());  // a double click's first press
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(applied.size(), 3);
    EXPECT_EQ(applied.last(), folder + "/By month.str");
    EXPECT_FALSE(dialog->isVisible());

    dialog = open();
    QTest::keyClick(dialog->layoutList(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    dialog = open();
    QTest::mouseClick(child<QPushButton>(*dialog, "cmdCancel"), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(applied.size(), 3) << "Escape and Cancel apply nothing";
}

TEST_F(LayoutDialogs, BrowseJoinsTheTreeFolderAndTheNameAndRefusesABlankName) {
    QWidget owner;
    owner.setGeometry(40, 30, 900, 700);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    const QString deep = temp.path() + "/Reports/2024/December";
    QDir().mkpath(deep);
    frmBrowseDlg dialog(ui, &owner);
    dialog.setPrompt1("Select the folder where you want to save report");
    dialog.setStructFile("Brand Spends");
    dialog.setPreSelectedFolder(deep);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.windowTitle(), "Browse For Folder");
    EXPECT_EQ(dialog.pos(), owner.frameGeometry().topLeft() + QPoint(73, 76));
    EXPECT_EQ(dialog.treeFolder(), deep);
    // The selected folder is shown, with its parents opened, once the tree has read them.
    auto* tree = child<QTreeView>(dialog, "FTV1");
    EXPECT_TRUE(QTest::qWaitFor([&] {
        const QModelIndex current = tree->currentIndex();
        return tree->isExpanded(current.parent()) && tree->viewport()->rect().contains(tree->visualRect(current));
    }));
    auto* name = child<QLineEdit>(dialog, "txtFolder");
    EXPECT_EQ(name->text(), "Brand Spends");
    EXPECT_EQ(name, QApplication::focusWidget());

    name->selectAll();
    QTest::keyClicks(name, "   ");
    QTest::mouseClick(child<QPushButton>(dialog, "cmdOK"), Qt::LeftButton);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Folder name not specified");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(name, QApplication::focusWidget());
    EXPECT_EQ(dialog.SelectedFolder(), "");

    name->selectAll();
    QTest::keyClicks(name, "Brands");
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.SelectedFolder(), deep + "/Brands");
    EXPECT_EQ(frmBrowseDlg::joinFolder("/", "Brands"), "/Brands");
    EXPECT_EQ(frmBrowseDlg::joinFolder("/home/", "Brands"), "/home/Brands");

    // Escape cancels: no folder.
    frmBrowseDlg again(ui, &owner);
    again.setStructFile("Brand Spends");
    QTimer::singleShot(50, [&again] { QTest::keyClick(&again, Qt::Key_Escape); });
    EXPECT_FALSE(again.Browse());
    EXPECT_EQ(again.SelectedFolder(), "");
}

}  // namespace
}  // namespace vantrep::design::ui
