// The layouts folder as the layout dialogs see it: which files are listed for
// each report kind, the file a name is saved to, renaming and deleting a
// layout with its memo and filter files, and the layouts that fit the open
// report.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "engine/Value.h"
#include "engine/dbf/DbfWriter.h"
#include "session/LayoutChange.h"
#include "session/LayoutFiles.h"
#include "session/ReportOpening.h"
#include "support/FakeUi.h"
#include "support/FileBytes.h"

namespace vantrep::session {
namespace {

using testing::bytesOf;
using testing::writeFile;

QStringList namesOf(const QList<LayoutFile>& layouts) {
    QStringList names;
    for (const LayoutFile& layout : layouts) names << layout.fileName;
    return names;
}

class LayoutFolder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp.isValid());
        folder = temp.path() + "/layouts";
        QDir().mkpath(folder);
    }
    QTemporaryDir temp;
    QString folder;
    testing::FakeUi ui;
};

TEST_F(LayoutFolder, ListsOnlyTheLayoutsOfOneKindWhateverTheirCase) {
    writeFile(folder + "/Brands.str", QByteArray(2000, 'x'));
    writeFile(folder + "/Brands.FPT", "memo");
    writeFile(folder + "/MONTHLY.STR", "x");
    writeFile(folder + "/Spots.dtr", "x");
    writeFile(folder + "/notes.txt", "x");
    writeFile(folder + "/.str", "x");  // no name before the extension
    QDir().mkpath(folder + "/Folder.str");
    const QList<LayoutFile> summaries = ListLayouts(folder, ".str");
    EXPECT_EQ(namesOf(summaries), (QStringList{"Brands.str", "MONTHLY.STR"}));
    EXPECT_EQ(summaries[0].size, 2000);
    EXPECT_EQ(summaries[0].path, folder + "/Brands.str");
    EXPECT_EQ(summaries[0].type, "Vant Report summary report");
    EXPECT_TRUE(summaries[0].modified.isValid());
    const QList<LayoutFile> listings = ListLayouts(folder, ".dtr");
    EXPECT_EQ(namesOf(listings), QStringList{"Spots.dtr"});
    EXPECT_EQ(listings[0].type, "Vant Report detailed listing");
    EXPECT_TRUE(ListLayouts(temp.path() + "/none", ".str").isEmpty());
}

TEST_F(LayoutFolder, SavePathReusesALayoutOfTheSameNameInAnyCase) {
    writeFile(folder + "/Brands.str", "x");
    EXPECT_EQ(LayoutSavePath(folder, "brands", ".str"), folder + "/Brands.str");
    EXPECT_EQ(LayoutSavePath(folder, "Monthly", ".str"), folder + "/Monthly.STR");
    EXPECT_EQ(LayoutSavePath(folder, "Brands", ".dtr"), folder + "/Brands.DTR");
    for (const char* bad : {"", "  ", "a/b", "..", "."}) EXPECT_FALSE(IsLayoutName(bad)) << bad;
    EXPECT_TRUE(IsLayoutName("Brand spends 2024"));
}

TEST_F(LayoutFolder, RenamingTakesTheMemoAndFiltersAlongAndRefusesToReplaceAFile) {
    writeFile(folder + "/Brands.str", "table");
    writeFile(folder + "/Brands.FPT", "memo");
    writeFile(folder + "/Brands.flt", "filters");
    writeFile(folder + "/Taken.str", "other");
    QString error;
    EXPECT_EQ(RenameLayout(folder, "Brands.str", "Spends", error), "Spends.str");  // the extension is kept
    EXPECT_EQ(QDir(folder).entryList(QDir::Files),
              (QStringList{"Spends.flt", "Spends.FPT", "Spends.str", "Taken.str"}));
    EXPECT_EQ(bytesOf(folder + "/Spends.FPT"), "memo");
    EXPECT_EQ(bytesOf(folder + "/Spends.flt"), "filters");

    // Filters of the new name would become this layout's.
    writeFile(folder + "/Kept.FLT", "someone's filters");
    EXPECT_EQ(RenameLayout(folder, "Spends.str", "Kept", error), "");
    EXPECT_TRUE(error.contains("Kept.FLT")) << error.toStdString();
    EXPECT_EQ(bytesOf(folder + "/Spends.flt"), "filters");
    QFile::remove(folder + "/Kept.FLT");

    EXPECT_EQ(RenameLayout(folder, "Spends.str", "Taken.str", error), "");
    EXPECT_TRUE(error.contains("Taken.str")) << error.toStdString();
    EXPECT_EQ(bytesOf(folder + "/Taken.str"), "other");
    writeFile(folder + "/Other.fpt", "someone's memo");
    EXPECT_EQ(RenameLayout(folder, "Spends.str", "Other.str", error), "");
    EXPECT_TRUE(error.contains("Other.fpt")) << error.toStdString();
    EXPECT_TRUE(QFile::exists(folder + "/Spends.str"));
    EXPECT_EQ(RenameLayout(folder, "Spends.str", "../Out", error), "");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files),
              (QStringList{"Other.fpt", "Spends.flt", "Spends.FPT", "Spends.str", "Taken.str"}));
}

TEST_F(LayoutFolder, DeletingAsksOnceAndSendsTheMemoAndFiltersAlong) {
    const QString dataHome = temp.path() + "/data";
    qputenv("XDG_DATA_HOME", dataHome.toUtf8());
    writeFile(folder + "/Brands.str", "table");
    writeFile(folder + "/Brands.FPT", "memo");
    writeFile(folder + "/Brands.FLT", "filters");
    ui.answers.push_back(MessageAnswer::No);
    EXPECT_FALSE(DeleteLayout(folder + "/Brands.str", ui));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 3);

    EXPECT_TRUE(DeleteLayout(folder + "/Brands.str", ui));
    qunsetenv("XDG_DATA_HOME");
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].text, "Are you sure you want to send 'Brands.str' to the Recycle Bin ?");
    EXPECT_EQ(ui.messages[1].title, "Confirm File Delete");
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(bytesOf(dataHome + "/Trash/files/Brands.FPT"), "memo");
    EXPECT_EQ(bytesOf(dataHome + "/Trash/files/Brands.str"), "table");
    EXPECT_EQ(bytesOf(dataHome + "/Trash/files/Brands.FLT"), "filters");
}

class FittingLayoutsTest : public LayoutFolder {
protected:
    void SetUp() override {
        LayoutFolder::SetUp();
        qputenv("TMPDIR", (temp.path() + "/tmp").toUtf8());
        QDir().mkpath(temp.path() + "/tmp");
        const QString delivery = temp.path() + "/Delivery";
        QDir().mkpath(delivery);
        const QString samples = QString(VANTREP_SAMPLES_DIR) + "/summary";
        for (const QString& name : QDir(samples).entryList(QDir::Files))
            QFile::copy(samples + "/" + name, delivery + "/" + name);
        session = std::make_unique<Session>(ui, delivery + "/Brand_Spends.str");
        ASSERT_EQ(OpenDizave(*session, delivery + "/Brand_Spends.str"), OpenOutcome::Opened);
    }
    void TearDown() override { qunsetenv("TMPDIR"); }

    void writeLayout(const QString& name, const QStringList& fields) {
        const std::string path = (folder + "/" + name).toStdString();
        engine::dbf::DbfWriter::create(path, {{"FNAME", 'C', 10}, {"FDESC", 'C', 20}, {"LAYOUT", 'C', 1}});
        engine::dbf::DbfWriter writer(path);
        for (const QString& field : fields)
            writer.appendMany({{engine::Value::string(field.toStdString()), engine::Value::string("x"),
                                engine::Value::string("R")}});
    }

    std::unique_ptr<Session> session;
};

TEST_F(FittingLayoutsTest, OffersOnlyReadableLayoutsOfTheKindWhoseFieldsTheTableHas) {
    QFile::copy(QString(VANTREP_SAMPLES_DIR) + "/summary/Brand_Spends.str", folder + "/Sample.str");
    writeLayout("Lower.STR", {"media", " BRAND "});  // names compare trimmed, in any case
    writeLayout("Regions.str", {"MEDIA", "REGION"});
    writeLayout("Listing.dtr", {"MEDIA"});
    writeFile(folder + "/Broken.str", "not a table");
    const QStringList before = QDir(session->sReportFolder).entryList(QDir::Files);

    EXPECT_EQ(namesOf(FittingLayouts(*session, folder)), (QStringList{"Lower.STR", "Sample.str"}));
    EXPECT_EQ(FittingLayouts(*session, folder)[1].path, folder + "/Sample.str");
    // The copy it read is gone, and the open report's working copy is untouched.
    EXPECT_EQ(QDir(temp.path() + "/tmp").entryList({"VantRepLayouts*"}, QDir::AllEntries).size(), 0);
    EXPECT_EQ(QDir(session->sReportFolder).entryList(QDir::Files), before);
    EXPECT_EQ(session->rsStruct.State(), engine::adStateOpen);
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace vantrep::session
