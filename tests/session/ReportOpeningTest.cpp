// Opening report folders as the delivering application hands them over: which
// files are taken, the working copy, the layout, the value lists, and every
// refusal with its messages and outcome.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "engine/Recordset.h"
#include "engine/dbf/DbfWriter.h"
#include "session/ReportOpening.h"
#include "support/FakeUi.h"

namespace vantrep::session {
namespace {

using engine::Value;

struct StructureRow {
    const char* name;
    const char* type;
    int len, dec;
    const char* layout;
    int level;
    bool displayed;
    int divisor;
};

class Opening : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp.isValid());
        qputenv("TMPDIR", (temp.path() + "/tmp").toUtf8());
        QDir().mkpath(temp.path() + "/tmp");
        folder = temp.path() + "/Delivery/";
        QDir().mkpath(folder);
    }
    void TearDown() override { qunsetenv("TMPDIR"); }

    void writeData(const QString& name, const char* mediaWithComma = nullptr) {
        std::string path = (folder + name).toStdString();
        engine::dbf::DbfWriter::create(path, {{"MEDIA", 'C', 10}, {"MONTH", 'N', 2}, {"WEEKDAY", 'N', 1},
                                              {"SPEND", 'N', 12, 2}});
        engine::dbf::DbfWriter writer(path);
        writer.appendMany({{Value::string("TV"), Value::integer(3), Value::integer(1), Value::integer(10)},
                           {Value::string(mediaWithComma ? mediaWithComma : "RADIO"), Value::integer(1),
                            Value::integer(2), Value::integer(20)}});
    }

    void writeStructure(const QString& name, const std::vector<StructureRow>& rows) {
        std::string path = (folder + name).toStdString();
        engine::dbf::DbfWriter::create(path, {{"FNAME", 'C', 10}, {"FDESC", 'C', 20}, {"FTYPE", 'C', 1},
                                              {"FLEN", 'N', 3}, {"FDEC", 'N', 2}, {"LAYOUT", 'C', 1},
                                              {"LEVEL", 'N', 2}, {"SHOWTOTAL", 'L'}, {"DISPLAYED", 'L'},
                                              {"DIVISOR", 'N', 3}});
        std::vector<std::vector<Value>> records;
        for (const StructureRow& r : rows)
            records.push_back({Value::string(r.name), Value::string(std::string("Caption ") + r.name),
                               Value::string(r.type), Value::integer(r.len), Value::integer(r.dec),
                               Value::string(r.layout), Value::integer(r.level), Value::logical(false),
                               Value::logical(r.displayed), Value::integer(r.divisor)});
        engine::dbf::DbfWriter(path).appendMany(records);
    }

    void writeSummary(const QString& name = "Media_Spends.str") {
        writeStructure(name, {{"MEDIA", "C", 10, 0, "R", 1, false, 0},
                              {"MONTH", "N", 2, 0, "C", 1, false, 0},
                              {"WEEKDAY", "N", 1, 0, "P", 0, false, 0},
                              {"SPEND", "N", 12, 2, "N", 1, false, 0}});
    }

    QStringList texts() const {
        QStringList all;
        for (const auto& m : ui.messages) all << m.text;
        return all;
    }

    QTemporaryDir temp;
    QString folder;
    testing::FakeUi ui;
};

TEST_F(Opening, DataTableArgumentOpensTheSummaryOfTheWorkingCopy) {
    writeData("DATA.DBF");
    writeSummary();
    Session s(ui, folder + "DATA.DBF");
    ASSERT_EQ(OpenDizave(s, folder + "DATA.DBF"), OpenOutcome::Opened) << texts().join("|").toStdString();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(s.bDetailed);
    EXPECT_TRUE(s.sReportFolder.startsWith(temp.path() + "/tmp/VantRepTempFolder0/"));
    EXPECT_TRUE(s.sReportFolder.endsWith('/'));
    EXPECT_EQ(s.sDataFile, "DATA.DBF");
    EXPECT_EQ(s.sStructFile, s.sReportFolder + "Media_Spends.str");
    EXPECT_TRUE(QFile::exists(s.sReportFolder + "DATA.DBF"));
    EXPECT_EQ(s.cnData.State(), engine::adStateOpen);
    EXPECT_EQ(s.rsStruct.State(), engine::adStateOpen);
    EXPECT_EQ(s.sReportName, "Media Spends");
    ASSERT_EQ(s.aDims.upperBound(), 4);
    ASSERT_EQ(s.cmbField.size(), 5u);
    EXPECT_EQ(s.cmbField[1].items, (QStringList{"Caption MEDIA", "RADIO     ", "TV        "}));
    EXPECT_EQ(s.cmbField[2].items, (QStringList{"Caption MONTH", "Jan", "Mar"}));
    EXPECT_EQ(s.cmbField[2].tag, "MonthStrRev");
    EXPECT_EQ(s.cmbField[3].items, QStringList{"Caption WEEKDAY"});  // a page field keeps its caption only
    EXPECT_TRUE(s.cmbField[3].tag.isEmpty());
    EXPECT_TRUE(s.summaryCommandsVisible);
    EXPECT_EQ(s.explorerBar, 5);
    EXPECT_EQ(s.aVars.upperBound(), 1);
}

TEST_F(Opening, StructureArgumentSkipsTempstrAndMarksADetailedListing) {
    writeData("tempstr.dbf");
    writeData("DATA.DBF");
    writeStructure("List.DTR", {{"MEDIA", "C", 10, 0, "", 1, true, 0}, {"SPEND", "N", 12, 2, "", 0, true, 0}});
    Session s(ui, folder + "List.DTR");
    ASSERT_EQ(OpenDizave(s, folder + "List.DTR"), OpenOutcome::Opened) << texts().join("|").toStdString();
    EXPECT_TRUE(s.bDetailed);
    EXPECT_EQ(s.sDataFile, "DATA.DBF");
    EXPECT_FALSE(s.summaryCommandsVisible);
    EXPECT_EQ(s.explorerBar, 7);
    EXPECT_EQ(s.cmbField[1].items, QStringList{"Caption MEDIA"});
}

TEST_F(Opening, ASummaryStructureWinsOverADetailedOne) {
    writeData("DATA.DBF");
    writeSummary("A.str");
    writeStructure("B.dtr", {{"MEDIA", "C", 10, 0, "", 1, true, 0}});
    Session s(ui, folder + "DATA.DBF");
    ASSERT_EQ(OpenDizave(s, folder + "DATA.DBF"), OpenOutcome::Opened);
    EXPECT_FALSE(s.bDetailed);
    EXPECT_TRUE(s.sStructFile.endsWith("A.str"));
}

TEST_F(Opening, ASecondFieldOpensTheDataForAFixedReportInsteadOfTheReport) {
    writeData("DATA.DBF");
    Session s(ui, folder + "DATA.DBF,1");
    EXPECT_EQ(OpenDizave(s, folder + "DATA.DBF,1"), OpenOutcome::FixedReport);
    EXPECT_EQ(s.cnData.State(), engine::adStateOpen);
    EXPECT_EQ(FixedReportField(folder + "DATA.DBF,1"), "1");
    EXPECT_EQ(FixedReportField(folder + "DATA.DBF"), "");
    EXPECT_TRUE(ui.messages.empty());  // no structure file is needed
    EXPECT_EQ(s.rsStruct.State(), engine::adStateClosed);
}

TEST_F(Opening, AFixedReportOrAFailedOpenClosesThePreviousReport) {
    writeData("DATA.DBF");
    writeSummary();
    Session s(ui, folder + "DATA.DBF");
    ASSERT_EQ(OpenDizave(s, folder + "DATA.DBF"), OpenOutcome::Opened);
    s.sPageFilter = " MEDIA in('TV')";
    s.crossTab.aQuerySql << "select 1";
    ASSERT_EQ(s.rsStruct.State(), engine::adStateOpen);
    EXPECT_EQ(OpenDizave(s, folder + "DATA.DBF,2"), OpenOutcome::FixedReport);
    EXPECT_EQ(s.rsStruct.State(), engine::adStateClosed);
    EXPECT_TRUE(s.aDims.empty());
    EXPECT_TRUE(s.sPageFilter.isEmpty());  // a page filter never reaches another report
    EXPECT_EQ(s.crossTab.aQuerySql, QStringList{QString()});
    EXPECT_EQ(s.nQueryIndex, 1);
}

TEST_F(Opening, FatalMessagesEndTheProgram) {
    {
        Session s(ui, "DATA.DBF");
        EXPECT_EQ(OpenDizave(s, "DATA.DBF"), OpenOutcome::Fatal);
        EXPECT_EQ(texts(), (QStringList{"DATA.DBF", "Unauthorized execution. Can't continue!"}));
        EXPECT_EQ(ui.messages[0].icon, MessageIcon::None);
        EXPECT_EQ(ui.messages[1].icon, MessageIcon::Critical);
    }
    ui.messages.clear();
    writeSummary();
    {
        Session s(ui, folder + "Media_Spends.str");
        EXPECT_EQ(OpenDizave(s, folder + "Media_Spends.str"), OpenOutcome::Fatal);
        EXPECT_EQ(texts(), QStringList{"No database file (*.dbf) found in the folder. Can't continue!"});
    }
    ui.messages.clear();
    QFile::remove(folder + "Media_Spends.str");
    writeData("DATA.DBF");
    {
        Session s(ui, folder + "DATA.DBF");
        EXPECT_EQ(OpenDizave(s, folder + "DATA.DBF"), OpenOutcome::Fatal);
        EXPECT_EQ(texts(), QStringList{"No structure file (*.str/*.dtr) found in the folder. Can't continue!"});
    }
    ui.messages.clear();
    writeStructure("Empty.str", {{"MEDIA", "C", 10, 0, "R", 1, false, 0}});
    {
        Session s(ui, folder + "Empty.str");
        EXPECT_EQ(OpenDizave(s, folder + "Empty.str"), OpenOutcome::Fatal);
        EXPECT_EQ(texts(), QStringList{"Unauthorized execution. Can't continue!"});
    }
}

TEST_F(Opening, MonthAndWeekdayTagsFollowTheUpperCasedNameAndTheType) {
    writeData("DATA.DBF");
    writeStructure("Tags.str", {{"month", "N", 2, 0, "R", 1, false, 0},
                                {"WEEKDAY", "N", 1, 0, "C", 1, false, 0},
                                {"MEDIA", "C", 10, 0, "C", 2, false, 0},
                                {"SPEND", "N", 12, 2, "N", 1, false, 0}});
    Session s(ui, folder + "Tags.str");
    ASSERT_EQ(OpenDizave(s, folder + "Tags.str"), OpenOutcome::Opened) << texts().join("|").toStdString();
    EXPECT_EQ(s.cmbField[1].tag, "MonthStrRev");  // stored in lower case, tagged all the same
    EXPECT_EQ(s.cmbField[2].tag, "WeekDayStrRev");
    EXPECT_EQ(s.cmbField[2].items, (QStringList{"Caption WEEKDAY", "Sun", "Mon"}));
    EXPECT_TRUE(s.cmbField[3].tag.isEmpty());

    // Opening another report replaces the value lists of the first.
    writeStructure("Other.str", {{"MEDIA", "C", 10, 0, "R", 1, false, 0}, {"SPEND", "N", 12, 2, "N", 1, false, 0}});
    ASSERT_EQ(OpenDizave(s, folder + "Other.str"), OpenOutcome::Opened);
    EXPECT_EQ(s.cmbField.size(), 3u);
    EXPECT_TRUE(s.cmbField[1].tag.isEmpty());
}

TEST_F(Opening, AFailedCopyEndsInTheMissingFileMessage) {
    // A report folder that does not exist: the copy reports its failure, and
    // the open never looks at the current folder instead.
    Session s(ui, temp.path() + "/Nowhere/DATA.DBF");
    EXPECT_EQ(OpenDizave(s, temp.path() + "/Nowhere/DATA.DBF"), OpenOutcome::Fatal);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(ui.messages[1].text, "No structure file (*.str/*.dtr) found in the folder. Can't continue!");
}

TEST_F(Opening, AColumnValueWithACommaStopsTheOpen) {
    writeData("DATA.DBF", "TV, RADIO");
    writeSummary();
    Session s(ui, folder + "DATA.DBF");
    EXPECT_EQ(OpenDizave(s, folder + "DATA.DBF"), OpenOutcome::Refused);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Dimension unfit for column \r\ncontaining invalid character (,)");
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::None);
}

TEST_F(Opening, TheDivisorRepairChangesOnlyTheWorkingCopy) {
    writeData("DATA.DBF");
    writeStructure("List.dtr", {{"MEDIA", "C", 10, 0, "", 1, true, 2}, {"SPEND", "N", 12, 2, "", 0, true, 2}});
    Session s(ui, folder + "List.dtr");
    ASSERT_EQ(OpenDizave(s, folder + "List.dtr"), OpenOutcome::Opened);
    EXPECT_EQ(s.aDims(1).Divisor, 1);  // file order after the repair
    EXPECT_EQ(s.aDims(2).Divisor, 2);
    engine::Connection original;
    original.Open(ConnectionStringFor(folder).toStdString());
    engine::Recordset rs;
    rs.Open("SELECT Divisor FROM List.dtr", original, engine::adOpenStatic, engine::adLockReadOnly);
    EXPECT_EQ(rs.field(0).value().asInteger(), 2);
}

TEST_F(Opening, TheReportPathFollowsTheArgumentAndItsFolder) {
    writeData("DATA.DBF");
    writeSummary();
    Session started(ui, "");
    EXPECT_EQ(OpenDizave(started, folder + "DATA.DBF"), OpenOutcome::Opened);
    EXPECT_EQ(started.sReportPath, folder + "DATA.DBF");

    Session withArgument(ui, folder + "DATA.DBF");
    withArgument.sReportPath = folder + "Saved.str";
    EXPECT_EQ(OpenDizave(withArgument, folder + "DATA.DBF"), OpenOutcome::Opened);
    EXPECT_EQ(withArgument.sReportPath, folder + "Saved.str");  // same parent folder: kept
    withArgument.sReportPath = "/elsewhere/Saved.str";
    EXPECT_EQ(OpenDizave(withArgument, folder + "DATA.DBF"), OpenOutcome::Opened);
    EXPECT_TRUE(withArgument.sReportPath.isEmpty());  // another parent folder: cleared
    EXPECT_EQ(OpenDizave(withArgument, "-Embedding"), OpenOutcome::Idle);
    EXPECT_EQ(OpenDizave(withArgument, ""), OpenOutcome::Idle);
}

}  // namespace
}  // namespace vantrep::session
