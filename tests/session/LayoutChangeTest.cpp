// Layouts applied to an open report: the layouts folder's place, the fit
// check against the data table, and layouts refused for their kind, for
// fields the table lacks or for describing no report, leaving the open
// report as it was.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "engine/Value.h"
#include "engine/dbf/DbfWriter.h"
#include "session/LayoutChange.h"
#include "session/ReportSaving.h"
#include "support/FakeUi.h"

namespace vantrep::session {
namespace {

class Layouts : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp.isValid());
        qputenv("TMPDIR", (temp.path() + "/tmp").toUtf8());
        QDir().mkpath(temp.path() + "/tmp");
        delivery = temp.path() + "/Delivery";
        QDir().mkpath(delivery);
        const QString samples = QString(VANTREP_SAMPLES_DIR) + "/summary";
        for (const QString& name : QDir(samples).entryList(QDir::Files)) QFile::copy(samples + "/" + name, delivery + "/" + name);
        session = std::make_unique<Session>(ui, delivery + "/Brand_Spends.str");
        ASSERT_EQ(OpenDizave(*session, delivery + "/Brand_Spends.str"), OpenOutcome::Opened);
    }
    void TearDown() override {
        qunsetenv("TMPDIR");
        qunsetenv("VANTREP_LAYOUTS");
        qunsetenv("XDG_DATA_HOME");
    }

    int dimensionNamed(const QString& fname) const {
        for (int i = 1; i <= session->aDims.upperBound(); ++i)
            if (session->aDims(i).FName == fname) return i;
        return 0;
    }

    QTemporaryDir temp;
    QString delivery;
    testing::FakeUi ui;
    std::unique_ptr<Session> session;
};

TEST_F(Layouts, FolderFollowsTheEnvironmentAndIsMade) {
    qputenv("XDG_DATA_HOME", (temp.path() + "/data").toUtf8());
    EXPECT_EQ(LayoutsFolder(), temp.path() + "/data/vantrep/layouts");
    EXPECT_TRUE(QFileInfo(temp.path() + "/data/vantrep/layouts").isDir());
    qputenv("VANTREP_LAYOUTS", (temp.path() + "/mine/").toUtf8());
    EXPECT_EQ(LayoutsFolder(), temp.path() + "/mine");
    EXPECT_TRUE(QFileInfo(temp.path() + "/mine").isDir());
}

TEST_F(Layouts, SavedLayoutFitsAndAppliesItsRoles) {
    session->aDims(dimensionNamed("MEDIA")).Layout = "P";
    const QString layout = temp.path() + "/Pages.str";
    ASSERT_EQ(WriteStructure(*session, layout), "");
    EXPECT_TRUE(MissingLayoutFields(*session, layout).isEmpty());
    session->nQueryIndex = 3;
    ASSERT_EQ(ApplyLayoutFile(*session, layout), OpenOutcome::Opened);
    EXPECT_EQ(session->sStructFile, layout);
    EXPECT_EQ(session->nQueryIndex, 1);
    EXPECT_EQ(session->aDims(dimensionNamed("MEDIA")).Layout.trimmed(), "P");
    EXPECT_EQ(session->sReportName, "Pages");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Layouts, LayoutNamingMissingFieldsIsRefusedWithTheirNames) {
    const std::string path = (temp.path() + "/Other.str").toStdString();
    engine::dbf::DbfWriter::create(path, {{"FNAME", 'C', 10}, {"FDESC", 'C', 20}, {"LAYOUT", 'C', 1}});
    engine::dbf::DbfWriter writer(path);
    using engine::Value;
    writer.appendMany({{Value::string("MEDIA"), Value::string("Media"), Value::string("R")},
                       {Value::string("REGION"), Value::string("Region"), Value::string("C")},
                       {Value::string("COST"), Value::string("Cost"), Value::string("N")}});
    EXPECT_EQ(MissingLayoutFields(*session, QString::fromStdString(path)), (QStringList{"REGION", "COST"}));
    const QString before = session->sStructFile;
    EXPECT_EQ(ApplyLayoutFile(*session, QString::fromStdString(path)), OpenOutcome::Refused);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.contains("REGION, COST")) << ui.messages[0].text.toStdString();
    EXPECT_EQ(session->sStructFile, before);
}

TEST_F(Layouts, LayoutOfTheOtherKindIsRefused) {
    const QString listing = temp.path() + "/Spot_Listing.dtr";
    QFile::copy(QString(VANTREP_SAMPLES_DIR) + "/detailed/Spot_Listing.dtr", listing);
    EXPECT_EQ(ApplyLayoutFile(*session, listing), OpenOutcome::Refused);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.contains(".str")) << ui.messages[0].text.toStdString();
    EXPECT_EQ(ApplyLayoutFile(*session, temp.path() + "/Missing.str"), OpenOutcome::Refused);
    EXPECT_EQ(ui.messages.size(), 2u);
}

TEST_F(Layouts, LayoutThatFitsButDescribesNoReportLeavesTheReportAsItWas) {
    // Its fields are the table's, but no variable has level 1.
    const std::string path = (temp.path() + "/NoValue.str").toStdString();
    engine::dbf::DbfWriter::create(path, {{"FNAME", 'C', 10},
                                          {"FDESC", 'C', 20},
                                          {"FTYPE", 'C', 1},
                                          {"FLEN", 'N', 3},
                                          {"FDEC", 'N', 2},
                                          {"LAYOUT", 'C', 1},
                                          {"LEVEL", 'N', 2},
                                          {"SHOWTOTAL", 'L'},
                                          {"DIVISOR", 'N', 4}});
    using engine::Value;
    engine::dbf::DbfWriter(path).appendMany(
        {{Value::string("MEDIA"), Value::string("Media"), Value::string("C"), Value::integer(10), Value::integer(0),
          Value::string("R"), Value::integer(1), Value::logical(false), Value::integer(0)},
         {Value::string("SPEND"), Value::string("Spend"), Value::string("N"), Value::integer(12), Value::integer(2),
          Value::string("N"), Value::integer(0), Value::logical(false), Value::integer(0)}});
    ASSERT_TRUE(MissingLayoutFields(*session, QString::fromStdString(path)).isEmpty());
    session->cmbField[static_cast<size_t>(dimensionNamed("CHANNEL"))].items = QStringList{"Filtered Channel", "X"};
    session->sPageFilter = " CHANNEL in('X')";
    session->sPageFilterText = " Channel in('X')";
    const QString structFile = session->sStructFile, title = session->sReportTitle, name = session->sReportName;
    const int fields = session->aDims.upperBound(), variables = session->aVars.upperBound();
    std::vector<QStringList> lists;
    for (const ValueList& list : session->cmbField) lists.push_back(list.items);

    EXPECT_EQ(ApplyLayoutFile(*session, QString::fromStdString(path)), OpenOutcome::Refused);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(ui.messages[0].text.contains("NoValue.str\" cannot be applied; the report keeps its layout."))
        << ui.messages[0].text.toStdString();
    EXPECT_TRUE(ui.messages[0].text.contains("has level 1: the summary has no value to show."))
        << ui.messages[0].text.toStdString();
    EXPECT_FALSE(ui.messages[0].text.contains("Can't continue")) << "the program goes on";

    EXPECT_EQ(session->sStructFile, structFile);
    EXPECT_EQ(session->sReportTitle, title);
    EXPECT_EQ(session->sReportName, name);
    EXPECT_EQ(session->aDims.upperBound(), fields);
    EXPECT_EQ(session->aVars.upperBound(), variables);
    std::vector<QStringList> after;
    for (const ValueList& list : session->cmbField) after.push_back(list.items);
    EXPECT_EQ(after, lists);
    EXPECT_EQ(session->sPageFilter, " CHANNEL in('X')");
    EXPECT_EQ(session->sPageFilterText, " Channel in('X')");
    EXPECT_EQ(session->rsStruct.State(), engine::adStateOpen);
}

}  // namespace
}  // namespace vantrep::session
