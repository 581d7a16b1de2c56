// The main window's "save", "saveas" and "changeLayout" buttons used as a user
// uses them, and the round trips they exist for: a report rearranged in the
// designer and filtered, saved and opened again; its layout and filters
// saved, applied to another delivery of the same report and given to
// `vantrep --export --layout`; a layout that cannot be applied leaving the
// report as it was. Grids are compared cell by cell, saved structures read
// back with dbfread and cross-tabs checked against sums Python computes itself.
#include <QJsonDocument>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSet>
#include <QStandardItemModel>
#include <QTest>
#include <QTreeWidget>
#include <cmath>

#include "analysis/ui/MainWindowFixture.h"
#include "analysis/ui/PageFieldFilter.h"
#include "analysis/ui/ToolbarClicks.h"
#include "design/FilterValues.h"
#include "design/DesignGrids.h"
#include "design/LayoutDesigner.h"
#include "design/support/EditTable.h"
#include "support/DbfreadSums.h"
#include "design/ui/FilterDrag.h"
#include "design/ui/frmChangeLayout.h"
#include "design/ui/frmSaveAs.h"
#include "engine/Value.h"
#include "engine/dbf/DbfWriter.h"
#include "session/ReportSaving.h"
#include "grid/GridText.h"
#include "session/support/DbfreadRows.h"

namespace vantrep::analysis::ui {
namespace {

// Filters page field `n` from its combo to the first value the dialog
// offers, moved into "Selected" with the mouse; that value, trimmed.
QString keepFirstPageValue(frmMain& w, int n) {
    QString kept;
    filterFromCombo(w, n, [&](design::ui::frmFilter& f) {
        design::testing::drag(f, design::FilterList::Available, 1, design::FilterList::Selected,
                              design::testing::belowRows(f, design::FilterList::Selected));
        kept = f.filter().values(design::FilterList::Selected).value(0).trimmed();
        QTest::mouseClick(f.okButton(), Qt::LeftButton);
    });
    return kept;
}

using session::testing::readWithDbfread;
using session::testing::rowNamed;

// Every cell text of a grid, one string per row, cells joined by tabs.
QStringList cellsOf(const grid::GridModel& g) {
    QStringList rows;
    for (int r = 0; r < g.rows(); ++r) {
        QStringList cells;
        for (int c = 0; c < g.cols(); ++c) cells << g.textMatrix(r, c);
        rows << cells.join('\t');
    }
    return rows;
}

// Two grids' texts, row by row and cell by cell.
void expectSameCells(const QStringList& got, const QStringList& want) {
    ASSERT_EQ(got.size(), want.size());
    for (int r = 0; r < want.size(); ++r) {
        const QStringList a = got[r].split('\t'), b = want[r].split('\t');
        ASSERT_EQ(a.size(), b.size()) << "row " << r;
        for (int c = 0; c < b.size(); ++c) EXPECT_EQ(a[c], b[c]) << "row " << r << " column " << c;
    }
}

class MainWindowLayouts : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        layouts = temp.path() + "/layouts";
        qputenv("VANTREP_LAYOUTS", layouts.toUtf8());
        qputenv("XDG_DATA_HOME", (temp.path() + "/data").toUtf8());
    }
    void TearDown() override {
        MainWindowFixture::TearDown();
        qunsetenv("VANTREP_LAYOUTS");
        qunsetenv("XDG_DATA_HOME");
    }
    int fieldIndex(const QString& name) const {
        for (int i = 1; i <= session->aDims.upperBound(); ++i)
            if (session->aDims(i).FName == name) return i;
        return 0;
    }
    // Saves the open report's layout through the "saveas" button under `name`.
    void saveLayoutAs(frmMain& w, const QString& name) {
        whenModalOpens([&](QWidget* modal) {
            auto* dialog = qobject_cast<design::ui::frmSaveAs*>(modal);
            ASSERT_NE(dialog, nullptr);
            auto* box = dialog->findChild<QLineEdit*>("txtFileName");
            box->selectAll();
            QTest::keyClicks(box, name);
            QTest::mouseClick(dialog->findChild<QPushButton*>("cmdSave"), Qt::LeftButton);
        });
        clickButton(w, "saveas");
    }
    // Applies the layout listed as `name` through the "changeLayout" button and "&OK".
    void changeLayoutTo(frmMain& w, const QString& name) {
        whenModalOpens([&](QWidget* modal) {
            auto* dialog = qobject_cast<design::ui::frmChangeLayout*>(modal);
            ASSERT_NE(dialog, nullptr);
            const auto found = dialog->layoutList()->findItems(name, Qt::MatchExactly);
            ASSERT_EQ(found.size(), 1);
            dialog->layoutList()->setCurrentItem(found[0]);
            QTest::mouseClick(dialog->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
        });
        clickButton(w, "changeLayout");
    }

    QString layouts;
};

TEST_F(MainWindowLayouts, SaveAsksForAFolderOnceCopiesTheDataThenOnlyRewritesTheStructure) {
    frmMain& w = start(copySample("summary") + "DATA.DBF");
    const QStringList before = QDir(temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    clickButton(w, "save");  // the browse is cancelled: no folder scripted
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogs[0].title, "Select the folder where you want to save report");
    EXPECT_EQ(ui.dialogs[0].proposed, "Brand Spends");
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);

    const QString brands = temp.path() + "/Saved/Brands";
    ui.folders.push_back(brands);
    clickButton(w, "save");
    EXPECT_EQ(QDir(brands).entryList(QDir::Files), (QStringList{"Brands.str", "DATA.DBF", "DATA.FPT"}));
    QFile::remove(brands + "/DATA.DBF");
    session->aDims(fieldIndex("BRAND")).ShowTotal = true;
    clickButton(w, "save");
    EXPECT_EQ(ui.dialogs.size(), 2u) << "a later save asks nothing";
    EXPECT_EQ(QDir(brands).entryList(QDir::Files), (QStringList{"Brands.str", "DATA.FPT"}));
    EXPECT_TRUE(rowNamed(readWithDbfread(brands + "/Brands.str"), "BRAND").value("SHOWTOTAL").toBool());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MainWindowLayouts, SaveLayoutOfAListingOffersOnlyListingsAndWritesItsColumns) {
    QDir().mkpath(layouts);
    QFile::copy(QString(VANTREP_SAMPLES_DIR) + "/summary/Brand_Spends.str", layouts + "/Summary.str");
    QFile::copy(QString(VANTREP_SAMPLES_DIR) + "/detailed/Spot_Listing.dtr", layouts + "/Other.dtr");
    frmMain& w = start(copySample("detailed") + "Spot_Listing.dtr");
    session->aDims(1).FDesc = "Medium";
    session->aDims(1).Displayed = false;
    session->aDims(3).Level = 4;
    session->aDims(3).Divisor = 12;
    QString proposed;
    QStringList listed;
    whenModalOpens([&](QWidget* modal) {
        auto* dialog = qobject_cast<design::ui::frmSaveAs*>(modal);
        ASSERT_NE(dialog, nullptr);
        proposed = dialog->findChild<QLineEdit*>("txtFileName")->text();
        for (int r = 0; r < dialog->files()->rowCount(); ++r) listed << dialog->files()->item(r, 0)->text();
        QTest::keyClick(dialog->findChild<QLineEdit*>("txtFileName"), Qt::Key_Return);
    });
    w.buttonClick("saveas");  // the button is hidden for a listing; the command still works
    EXPECT_EQ(proposed, "Spot Listing");
    EXPECT_EQ(listed, QStringList{"Other.dtr"});
    const QJsonArray rows = readWithDbfread(layouts + "/Spot Listing.DTR");
    ASSERT_EQ(rows.size(), session->aDims.upperBound());
    for (int k = 1; k <= session->aDims.upperBound(); ++k) {
        const QJsonObject row = rows.at(k - 1).toObject();
        const session::FieldDef& d = session->aDims(k);
        EXPECT_EQ(row.value("FDESC").toString(), d.FDesc.trimmed()) << k;
        EXPECT_EQ(row.value("LEVEL").toInt(), d.Level) << k;
        EXPECT_EQ(row.value("DISPLAYED").toBool(), d.Displayed) << k;
        EXPECT_EQ(row.value("DIVISOR").toInt(), d.Divisor) << k;
    }
    EXPECT_EQ(rows.at(0).toObject().value("FDESC").toString(), "Medium");
    EXPECT_EQ(rows.at(2).toObject().value("DIVISOR").toInt(), 12);
}

TEST_F(MainWindowLayouts, ChangeLayoutListsOnlyFittingLayoutsAndApplyRefillsTheGrid) {
    QDir().mkpath(layouts);
    frmMain& w = start(copySample("summary") + "DATA.DBF");
    // A layout with Media as a page field, written from the open report.
    session->aDims(fieldIndex("MEDIA")).Layout = "P";
    session->aDims(fieldIndex("BRAND")).Level = 1;
    ASSERT_EQ(session::WriteStructure(*session, layouts + "/Brands only.str"), "");
    QFile::copy(QString(VANTREP_SAMPLES_DIR) + "/detailed/Spot_Listing.dtr", layouts + "/Listing.dtr");
    engine::dbf::DbfWriter::create((layouts + "/Regions.str").toStdString(), {{"FNAME", 'C', 10}});
    engine::dbf::DbfWriter(((layouts + "/Regions.str").toStdString()))
        .appendMany({{engine::Value::string("REGION")}});
    const QString working = session->sReportFolder;
    const QStringList workingFiles = QDir(working).entryList(QDir::Files);
    const int rowsBefore = w.grid().rows();

    QStringList listed;
    bool stayedOpen = false;
    whenModalOpens([&](QWidget* modal) {
        auto* dialog = qobject_cast<design::ui::frmChangeLayout*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Change Layout");
        QTreeWidget* list = dialog->layoutList();
        for (int i = 0; i < list->topLevelItemCount(); ++i) listed << list->topLevelItem(i)->text(0);
        list->setCurrentItem(list->topLevelItem(0));
        QTest::mouseClick(dialog->findChild<QPushButton*>("cmdApply"), Qt::LeftButton);
        stayedOpen = dialog->isVisible();
        QTest::mouseClick(dialog->findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);
    });
    clickButton(w, "changeLayout");
    EXPECT_EQ(listed, QStringList{"Brands only"});
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(w.windowTitle(), "Brands only");
    EXPECT_EQ(session->sStructFile, layouts + "/Brands only.str");
    EXPECT_EQ(session->aDims(fieldIndex("MEDIA")).Layout.trimmed(), "P");
    EXPECT_EQ(w.grid().textMatrix(0, 1), "Brand");
    EXPECT_LT(w.grid().rows(), rowsBefore) << "one row per brand instead of per medium and brand";
    EXPECT_TRUE(ui.messages.empty());
    // The dialog's copy of the layouts never touched the report's working copy.
    EXPECT_EQ(session->sReportFolder, working);
    EXPECT_EQ(QDir(working).entryList(QDir::Files), workingFiles);
}

TEST_F(MainWindowLayouts, RearrangedAndFilteredReportRoundTripsThroughSaveOpenChangeLayoutAndTheCommandLine) {
    frmMain& w = start(copySample("summary") + "DATA.DBF");
    design::LayoutDesigner designer(*session, [&] { return w.RefillReport(); });
    designer.load();
    const auto& rowsGrid = designer.grids()[design::DesignGrid::Rows];
    int media = -1;
    for (int r = rowsGrid.fixedRows(); r < rowsGrid.rows(); ++r)
        if (design::RowCaption(rowsGrid, design::DesignGrid::Rows, r) == "Media") media = r;
    ASSERT_GT(media, 0);
    ASSERT_TRUE(designer.dropOnDimensionGrid(design::DesignGrid::Rows, media, media, design::DesignGrid::Columns, 0));
    ASSERT_TRUE(designer.apply());
    ASSERT_EQ(w.grid().textMatrix(0, 1), "Brand");

    // Two brands kept, and one language chosen on the page field panel with the mouse.
    QStringList brands;
    designer.filterCommand("Brand", 1, [&](const QString& caption, int sourceIndex) {
        design::FilterValues f(*session, caption, sourceIndex);
        EXPECT_TRUE(f.drop(design::FilterList::Available, {1, 2}, design::FilterList::Selected, -1));
        f.ok();
        brands = f.values(design::FilterList::Selected);
        return f.ChangeFilter();
    });
    ASSERT_TRUE(designer.apply());
    ASSERT_EQ(brands.size(), 2);
    const QString language = keepFirstPageValue(w, 1);
    ASSERT_FALSE(language.isEmpty());
    ASSERT_EQ(session->sPageFilter, " LANGUAGE in('" + language + "')");
    const QStringList filtered = cellsOf(w.grid());
    ASSERT_GT(w.grid().rows(), w.grid().fixedRows());
    ASSERT_LE(w.grid().rows(), w.grid().fixedRows() + 2);

    const QString saved = temp.path() + "/Saved/Brands";
    ui.folders.push_back(saved);
    clickButton(w, "save");
    ASSERT_TRUE(QFile::exists(saved + "/Brands.str"));
    ASSERT_TRUE(QFile::exists(saved + "/Brands.flt"));
    saveLayoutAs(w, "Media across");
    ASSERT_TRUE(QFile::exists(layouts + "/Media across.STR"));
    const QJsonArray structure = readWithDbfread(layouts + "/Media across.STR");
    for (const char* name : {"MEDIA", "BRAND", "MONTH", "WEEKDAY"}) {
        const session::FieldDef& d = session->aDims(fieldIndex(name));
        const QJsonObject row = rowNamed(structure, name);
        EXPECT_EQ(row.value("LAYOUT").toString(), d.Layout.trimmed()) << name;
        EXPECT_EQ(row.value("LEVEL").toInt(), d.Level) << name;
        EXPECT_EQ(row.value("FDEC").toInt(), d.FDec) << name;
        EXPECT_EQ(row.value("SHOWTOTAL").toBool(), d.ShowTotal) << name;
    }
    EXPECT_EQ(rowNamed(structure, "MEDIA").value("LAYOUT").toString(), "C");
    // The filters went beside the layout, named in the case of its extension.
    QFile filterFile(layouts + "/Media across.FLT");
    ASSERT_TRUE(filterFile.open(QIODevice::ReadOnly));
    const QJsonArray kept = QJsonDocument::fromJson(filterFile.readAll()).object().value("filters").toArray();
    ASSERT_EQ(kept.size(), 2);
    EXPECT_EQ(kept[0].toObject().value("FName").toString(), "BRAND");
    EXPECT_EQ(kept[0].toObject().value("values").toArray(), QJsonArray::fromStringList(brands));
    EXPECT_EQ(kept[1].toObject().value("FName").toString(), "LANGUAGE");

    // Closed, and opened again from a fresh window: the same grid, filters and all.
    w.close();
    window.reset();
    frmMain& again = start("");
    again.setReportFileChooser([&] { return saved + "/Brands.str"; });
    clickButton(again, "open");
    EXPECT_EQ(again.windowTitle(), "Brands");
    expectSameCells(cellsOf(again.grid()), filtered);
    EXPECT_EQ(again.pageFieldPanel()->combos().at(1)->currentText(), "Filtered Language");

    // Next delivery: the same fields, other data.
    const QString second = vantrep::testing::copySampleFolder("summary", temp.path() + "/next");
    ASSERT_GT(design::testing::EditEvery(second + "DATA.DBF", "SPEND", 3, "4321", true), 0);
    ASSERT_GT(design::testing::EditEvery(second + "DATA.DBF", "MEDIA", 7, "RADIO"), 0);
    ASSERT_EQ(again.OpenReport2(second + "Brand_Spends.str").outcome, RunOutcome::SummaryOpened);
    ASSERT_EQ(again.grid().textMatrix(0, 1), "Media");
    ASSERT_TRUE(session->sPageFilter.isEmpty());
    changeLayoutTo(again, "Media across");
    ASSERT_EQ(again.grid().textMatrix(0, 1), "Brand");
    EXPECT_TRUE(ui.messages.empty()) << ui.messages[0].text.toStdString();
    EXPECT_EQ(session->sPageFilter, " LANGUAGE in('" + language + "')");

    // Each medium's cells against Python's sums over the records the filters keep.
    const QStringList variables{"SPEND", "SPOTS", "DURATION"};
    const QString condition = "BRAND.strip() in ('''" + brands[0].trimmed() + "''', '''" + brands[1].trimmed() +
                              "''') and LANGUAGE.strip() == '''" + language + "'''";
    const auto sums = vantrep::testing::FilteredSums(second + "DATA.DBF", condition, {"BRAND", "MEDIA"}, variables);
    ASSERT_FALSE(sums.isEmpty());
    const grid::GridModel& g = again.grid();
    QSet<QString> shownBrands, checkedKeys;
    for (int r = g.fixedRows(); r < g.rows(); ++r) shownBrands << g.textMatrix(r, 1).trimmed();
    for (int c = 2; c < g.cols(); ++c) {
        const QString medium = g.textMatrix(0, c).trimmed();
        int v = 0;
        for (int k = 1; k <= session->aVars.upperBound(); ++k)
            if (session->aVars(k).FDesc == g.textMatrix(1, c)) v = k;
        if (v == 0 || !QStringList({"TV", "RADIO", "PRESS", "OUTDOOR", "CINEMA"}).contains(medium)) continue;
        const session::FieldDef& var = session->aVars(v);
        const double divisor = std::max(1, var.Divisor);
        const double unit = 0.5 / divisor + 0.5 * std::pow(10.0, -std::max(0, var.FDec)) + 1e-9;
        for (int r = g.fixedRows(); r < g.rows(); ++r) {
            const QString key = g.textMatrix(r, 1).trimmed() + "|" + medium;
            // The record count comes first, then one sum per variable.
            const double want = sums.value(key).value(1 + variables.indexOf(var.FName.trimmed())) / divisor;
            EXPECT_NEAR(g.valueMatrix(r, c), want, unit) << key.toStdString() << " " << var.FName.toStdString();
            if (var.FName.trimmed() == "SPEND") checkedKeys << key;
        }
    }
    // Exactly the kept brands with records show, and every brand and medium Python found was checked.
    QSet<QString> pythonBrands;
    for (const QString& key : sums.keys()) {
        pythonBrands << key.section('|', 0, 0);
        EXPECT_TRUE(checkedKeys.contains(key)) << key.toStdString();
    }
    EXPECT_EQ(shownBrands, pythonBrands);

    // The same layout given to the command line gives the same grid.
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TMPDIR", temp.path() + "/tmp");
    program.setProcessEnvironment(env);
    const QString tsv = temp.path() + "/next.tsv";
    program.start(VANTREP_PROGRAM, {"--export", tsv, "--layout", layouts + "/Media across.STR", second + "DATA.DBF"});
    ASSERT_TRUE(program.waitForFinished(120000));
    ASSERT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    QFile written(tsv);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    expectSameCells(QString::fromUtf8(written.readAll()).split('\n', Qt::SkipEmptyParts),
                    grid::GridAsText(g, grid::TextLayout::Tsv).split('\n', Qt::SkipEmptyParts));
}

TEST_F(MainWindowLayouts, ALayoutThatFitsButDescribesNoReportLeavesTheReportAsItWas) {
    QDir().mkpath(layouts);
    // Every field is in the data table, but no field has a role: no report.
    const std::string broken = (layouts + "/Roleless.str").toStdString();
    engine::dbf::DbfWriter::create(broken, {{"FNAME", 'C', 10}, {"FDESC", 'C', 20}, {"LAYOUT", 'C', 1}});
    engine::dbf::DbfWriter(broken).appendMany(
        {{engine::Value::string("MEDIA"), engine::Value::string("Media"), engine::Value::string(" ")}});
    frmMain& w = start(copySample("summary") + "DATA.DBF");
    const QString language = keepFirstPageValue(w, 1);
    ASSERT_FALSE(language.isEmpty());
    w.buttonClick("criteria");
    ASSERT_EQ(ui.messages.size(), 1u);
    const QString criteria = ui.messages[0].text;
    ASSERT_TRUE(criteria.startsWith("Language in('" + language + "')")) << criteria.toStdString();
    const QStringList before = cellsOf(w.grid());
    const QString structure = session->sStructFile;
    std::vector<QStringList> lists;
    for (const session::ValueList& list : session->cmbField) lists.push_back(list.items);

    changeLayoutTo(w, "Roleless");
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].icon, session::MessageIcon::Critical);
    EXPECT_TRUE(ui.messages[1].text.contains("Roleless.str\" cannot be applied")) << ui.messages[1].text.toStdString();
    EXPECT_TRUE(ui.messages[1].text.contains("Unauthorized execution.")) << ui.messages[1].text.toStdString();
    EXPECT_TRUE(w.isVisible()) << "the program goes on";

    EXPECT_EQ(session->sStructFile, structure);
    EXPECT_EQ(w.windowTitle(), "Brand Spends");
    expectSameCells(cellsOf(w.grid()), before);
    std::vector<QStringList> listsAfter;
    for (const session::ValueList& list : session->cmbField) listsAfter.push_back(list.items);
    EXPECT_EQ(listsAfter, lists);
    w.buttonClick("criteria");
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[2].text, criteria);

    // The structure is still open: a save writes the report's own layout and its filter.
    const QString saved = temp.path() + "/Saved/Kept";
    ui.folders.push_back(saved);
    clickButton(w, "save");
    const QJsonArray rows = readWithDbfread(saved + "/Kept.str");
    EXPECT_EQ(rowNamed(rows, "MEDIA").value("LAYOUT").toString(), "R");
    EXPECT_EQ(rowNamed(rows, "MONTH").value("LAYOUT").toString(), "C");
    EXPECT_TRUE(QFile::exists(saved + "/Kept.flt"));
    // And the report runs again from it.
    EXPECT_TRUE(w.RefillReport());
    expectSameCells(cellsOf(w.grid()), before);
    EXPECT_EQ(ui.messages.size(), 3u);
}

}  // namespace
}  // namespace vantrep::analysis::ui
