// Saving a report into a folder and writing a layout: what is copied on the
// first and later saves, the structure file's name and columns as another
// DBF reader sees them, and saves that are cancelled or fail.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "session/ReportOpening.h"
#include "session/ReportSaving.h"
#include "support/DbfreadRows.h"
#include "support/FakeUi.h"

namespace vantrep::session {
namespace {

using testing::readWithDbfread;
using testing::rowNamed;

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void copyFolder(const QString& from, const QString& to) {
    QDir().mkpath(to);
    for (const QString& name : QDir(from).entryList(QDir::Files)) QFile::copy(from + "/" + name, to + "/" + name);
}

class Saving : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp.isValid());
        qputenv("TMPDIR", (temp.path() + "/tmp").toUtf8());
        QDir().mkpath(temp.path() + "/tmp");
    }
    void TearDown() override { qunsetenv("TMPDIR"); }

    // Opens a copy of a sample report as the delivering application would.
    void open(const QString& sample, const QString& structure) {
        const QString delivery = temp.path() + "/Delivery";
        copyFolder(QString(VANTREP_SAMPLES_DIR) + "/" + sample, delivery);
        session = std::make_unique<Session>(ui, delivery + "/" + structure);
        ASSERT_EQ(OpenDizave(*session, delivery + "/" + structure), OpenOutcome::Opened);
        ui.messages.clear();
    }

    int dimensionNamed(const QString& fname) const {
        for (int i = 1; i <= session->aDims.upperBound(); ++i)
            if (session->aDims(i).FName == fname) return i;
        return 0;
    }

    QTemporaryDir temp;
    testing::FakeUi ui;
    std::unique_ptr<Session> session;
};

TEST_F(Saving, FirstSaveCopiesDataAndMemoAndLaterSavesOnlyRewriteTheStructure) {
    open("summary", "Brand_Spends.str");
    const QString brands = temp.path() + "/Reports/Brands";
    ui.folders.push_back(brands);
    ASSERT_EQ(SaveReport(*session), SaveOutcome::Saved);
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogs[0].title, "Select the folder where you want to save report");
    EXPECT_EQ(ui.dialogs[0].proposed, "Brand Spends");
    EXPECT_EQ(bytesOf(brands + "/DATA.DBF"), bytesOf(QString(VANTREP_SAMPLES_DIR) + "/summary/DATA.DBF"));
    EXPECT_EQ(bytesOf(brands + "/DATA.FPT"), bytesOf(QString(VANTREP_SAMPLES_DIR) + "/summary/DATA.FPT"));
    EXPECT_EQ(session->sReportPath, brands + "/Brands.str");
    EXPECT_EQ(QDir(brands).entryList(QDir::Files | QDir::Hidden), (QStringList{"Brands.str", "DATA.DBF", "DATA.FPT"}));

    QFile::remove(brands + "/DATA.DBF");
    QFile::remove(brands + "/DATA.FPT");
    session->aDims(dimensionNamed("MEDIA")).Level = 7;
    ASSERT_EQ(SaveReport(*session), SaveOutcome::Saved);
    EXPECT_EQ(ui.dialogs.size(), 1u) << "a later save asks for no folder";
    EXPECT_EQ(QDir(brands).entryList(QDir::Files | QDir::Hidden), QStringList{"Brands.str"});
    EXPECT_EQ(rowNamed(readWithDbfread(brands + "/Brands.str"), "MEDIA").value("LEVEL").toInt(), 7);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Saving, CancelledBrowseWritesNothing) {
    open("summary", "Brand_Spends.str");
    EXPECT_EQ(SaveReport(*session), SaveOutcome::Cancelled);
    EXPECT_EQ(ui.dialogs.size(), 1u);
    EXPECT_TRUE(session->sReportPath.isEmpty());
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), (QStringList{"Delivery", "tmp"}));
}

TEST_F(Saving, FolderThatCannotBeMadeShowsTheErrorAndKeepsAskingNextTime) {
    open("summary", "Brand_Spends.str");
    QFile plain(temp.path() + "/plain.txt");
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    ui.folders.push_back(temp.path() + "/plain.txt/Brands");
    EXPECT_EQ(SaveReport(*session), SaveOutcome::Failed);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(ui.messages[0].text.contains("plain.txt/Brands")) << ui.messages[0].text.toStdString();
    EXPECT_TRUE(session->sReportPath.isEmpty());
    EXPECT_EQ(ui.busyDepth, 0);

    ui.folders.push_back("/proc/Brands");
    EXPECT_EQ(SaveReport(*session), SaveOutcome::Failed);
    EXPECT_EQ(ui.messages.size(), 2u);
    EXPECT_FALSE(QFileInfo::exists("/proc/Brands"));
}

TEST_F(Saving, StructureThatCannotBeReplacedLeavesWhatWasThere) {
    open("summary", "Brand_Spends.str");
    const QString brands = temp.path() + "/Brands";
    QDir().mkpath(brands + "/Brands.str");
    QFile inside(brands + "/Brands.str/keep.txt");
    ASSERT_TRUE(inside.open(QIODevice::WriteOnly));
    inside.write("kept");
    inside.close();
    ui.folders.push_back(brands);
    EXPECT_EQ(SaveReport(*session), SaveOutcome::Failed);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.contains("Brands.str")) << ui.messages[0].text.toStdString();
    EXPECT_EQ(bytesOf(brands + "/Brands.str/keep.txt"), QByteArray("kept"));
    // No half-written file is left under another name.
    EXPECT_EQ(QDir(brands).entryList(QDir::Files | QDir::Hidden), (QStringList{"DATA.DBF", "DATA.FPT"}));
    EXPECT_TRUE(session->sReportPath.isEmpty());
}

TEST_F(Saving, SummaryStructureCarriesTheLayoutAndVariablesOfBlankRows) {
    open("summary", "Brand_Spends.str");
    Session& s = *session;
    FieldDef& media = s.aDims(dimensionNamed("MEDIA"));
    media.Layout = "C";
    media.Level = 2;
    media.FDec = 3;
    media.ShowTotal = true;
    // A variable entry for a structure row without a Layout.
    FieldDef reel;
    reel.FName = "REEL_DURN";
    reel.Level = 4;
    reel.ShowTotal = true;
    s.aVars.append(reel);
    const QString target = temp.path() + "/layouts/Mine.str";
    QDir().mkpath(temp.path() + "/layouts");
    ASSERT_EQ(WriteStructure(s, target), "");

    const QJsonArray rows = readWithDbfread(target);
    ASSERT_EQ(rows.size(), readWithDbfread(QString(VANTREP_SAMPLES_DIR) + "/summary/Brand_Spends.str").size());
    const QJsonObject m = rowNamed(rows, "MEDIA");
    EXPECT_EQ(m.value("LAYOUT").toString(), "C");
    EXPECT_EQ(m.value("LEVEL").toInt(), 2);
    EXPECT_EQ(m.value("FDEC").toInt(), 3);
    EXPECT_TRUE(m.value("SHOWTOTAL").toBool());
    const QJsonObject r = rowNamed(rows, "REEL_DURN");
    EXPECT_EQ(r.value("LEVEL").toInt(), 4);
    EXPECT_TRUE(r.value("SHOWTOTAL").toBool());
    // A blank numeric row without a variable of its name is left as it was.
    const QJsonObject space = rowNamed(rows, "SPACE");
    EXPECT_EQ(space.value("LEVEL").toInt(), 0);
    EXPECT_FALSE(space.value("SHOWTOTAL").toBool());
    // A blank character row is never touched, and the captions stay.
    EXPECT_EQ(rowNamed(rows, "MEDIALEVEL").value("LAYOUT").toString(), "");
    EXPECT_EQ(m.value("FDESC").toString(), "Media");
    // The temporary table is gone from the working copy.
    EXPECT_EQ(QDir(s.sReportFolder).entryList({"*.dbf"}, QDir::Files).size(), 1);
}

TEST_F(Saving, ListingStructureCarriesCaptionsLevelsDisplayAndOrder) {
    open("detailed", "Spot_Listing.dtr");
    Session& s = *session;
    ASSERT_EQ(s.aDims(1).FName, "MEDIA");
    s.aDims(1).FDesc = "Medium";
    s.aDims(1).Displayed = false;
    s.aDims(1).Level = 0;
    s.aDims(1).Divisor = 0;
    s.aDims(2).Displayed = true;
    s.aDims(2).Level = 6;
    s.aDims(2).Divisor = 9;
    const QString target = temp.path() + "/Listing.dtr";
    ASSERT_EQ(WriteStructure(s, target), "");
    const QJsonArray rows = readWithDbfread(target);
    const QJsonObject first = rows.at(0).toObject(), second = rows.at(1).toObject();
    EXPECT_EQ(first.value("FDESC").toString(), "Medium");
    EXPECT_FALSE(first.value("DISPLAYED").toBool());
    EXPECT_EQ(first.value("LEVEL").toInt(), 0);
    EXPECT_EQ(first.value("DIVISOR").toInt(), 0);
    EXPECT_EQ(second.value("FNAME").toString(), "MEDIALEVEL");
    EXPECT_TRUE(second.value("DISPLAYED").toBool());
    EXPECT_EQ(second.value("LEVEL").toInt(), 6);
    EXPECT_EQ(second.value("DIVISOR").toInt(), 9);
    EXPECT_EQ(rowNamed(rows, "CHANNEL").value("DIVISOR").toInt(), 2);
}

TEST(SavedStructurePath, IsNamedAfterItsFolder) {
    EXPECT_EQ(SavedStructurePath("/home/u/Brands", false), "/home/u/Brands/Brands.str");
    EXPECT_EQ(SavedStructurePath("/home/u/Brands/", true), "/home/u/Brands/Brands.dtr");
}

}  // namespace
}  // namespace vantrep::session
