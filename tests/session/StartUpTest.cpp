// The end of a session around a report argument.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "engine/dbf/DbfWriter.h"
#include "session/HandOver.h"
#include "session/ReportOpening.h"
#include "session/StartUp.h"
#include "support/FakeUi.h"

namespace vantrep::session {
namespace {

using engine::Value;

class StartUp : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("TMPDIR", (temp.path() + "/tmp").toUtf8());
        QDir().mkpath(temp.path() + "/tmp");
        folder = temp.path() + "/Handed/";
        QDir().mkpath(folder);
        std::string data = (folder + "DATA.DBF").toStdString();
        engine::dbf::DbfWriter::create(data, {{"MEDIA", 'C', 10}, {"SPEND", 'N', 8}});
        engine::dbf::DbfWriter(data).append({Value::string("TV"), Value::integer(5)});
        std::string structure = (folder + "Spends.str").toStdString();
        engine::dbf::DbfWriter::create(structure, {{"FNAME", 'C', 10}, {"FDESC", 'C', 10}, {"FTYPE", 'C', 1},
                                                   {"FLEN", 'N', 3}, {"FDEC", 'N', 2}, {"LAYOUT", 'C', 1},
                                                   {"LEVEL", 'N', 2}, {"SHOWTOTAL", 'L'}, {"DIVISOR", 'N', 3}});
        engine::dbf::DbfWriter(structure).appendMany(
            {{Value::string("MEDIA"), Value::string("Media"), Value::string("C"), Value::integer(10),
              Value::integer(0), Value::string("R"), Value::integer(1), Value::logical(false), Value::integer(0)},
             {Value::string("SPEND"), Value::string("Spend"), Value::string("N"), Value::integer(8),
              Value::integer(0), Value::string("N"), Value::integer(1), Value::logical(true), Value::integer(0)}});
    }
    void TearDown() override { qunsetenv("TMPDIR"); }

    QTemporaryDir temp;
    QString folder;
    testing::FakeUi ui;
};

TEST_F(StartUp, CloseReleasesTheReportAndKeepsAnUnmarkedFolder) {
    Session s(ui, folder + "DATA.DBF");
    ASSERT_EQ(OpenDizave(s, s.commandLine), OpenOutcome::Opened);
    CloseSession(s);
    EXPECT_EQ(s.cnData.State(), engine::adStateClosed);
    EXPECT_TRUE(s.aDims.empty());
    EXPECT_FALSE(s.workingFolderLock.holds());
    EXPECT_TRUE(QDir(folder).exists());  // not marked as handed over: kept
}

TEST_F(StartUp, AMarkedHandOverFolderGoesOnClose) {
    QFile marker(folder + kHandOverMarker);
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();
    Session s(ui, folder + "DATA.DBF");
    EXPECT_EQ(OpenDizave(s, s.commandLine), OpenOutcome::Opened);
    CloseSession(s);
    EXPECT_FALSE(QDir(folder).exists());
}

}  // namespace
}  // namespace vantrep::session
