// The shipped sample report folders open as the delivering application would
// hand them over, with the dictionary they describe.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "session/ReportOpening.h"
#include "support/FakeUi.h"

namespace vantrep::session {
namespace {

class SampleReports : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        qputenv("TMPDIR", temp.path().toUtf8());
    }
    void TearDown() override { qunsetenv("TMPDIR"); }
    QTemporaryDir temp;
    testing::FakeUi ui;
};

TEST_F(SampleReports, TheSummaryOpensWithItsRowsColumnGroupsPagesAndVariables) {
    const QString arg = QString(VANTREP_SAMPLES_DIR) + "/summary/DATA.DBF";
    Session s(ui, arg);
    ASSERT_EQ(OpenDizave(s, arg), OpenOutcome::Opened);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(s.bDetailed);
    EXPECT_EQ(s.sReportName, "Brand Spends");
    EXPECT_EQ(s.sReportTitle, "Brand spends by month and weekday");
    QStringList rows, columns, pages;
    for (int i = 1; i <= s.aDims.upperBound(); ++i) {
        QString role = s.aDims(i).Layout.trimmed();
        if (role == "R") rows << s.aDims(i).FName;
        if (role == "C") columns << s.aDims(i).FName + "/" + QString::number(s.aDims(i).FDec);
        if (role == "P") pages << s.aDims(i).FName;
        if (role == "C" && s.aDims(i).FName == "MONTH") {
            EXPECT_EQ(s.cmbField[static_cast<size_t>(i)].tag, "MonthStrRev");
            EXPECT_EQ(s.cmbField[static_cast<size_t>(i)].items.value(1), "Jan");
        }
        if (role == "C" && s.aDims(i).FName == "WEEKDAY") {
            EXPECT_EQ(s.cmbField[static_cast<size_t>(i)].tag, "WeekDayStrRev");
        }
        if (role == "P") {
            EXPECT_EQ(s.cmbField[static_cast<size_t>(i)].items.size(), 1);
        }
    }
    EXPECT_EQ(rows, (QStringList{"MEDIA", "BRAND"}));
    EXPECT_EQ(columns, (QStringList{"MONTH/0", "WEEKDAY/2"}));
    EXPECT_EQ(pages, (QStringList{"CHANNEL", "LANGUAGE"}));
    ASSERT_EQ(s.aVars.upperBound(), 3);
    EXPECT_EQ(s.aVars(1).FName, "SPEND");
    EXPECT_EQ(s.aVars(1).Layout, "###,###,###.00");
    EXPECT_EQ(s.aVars(1).Divisor, 1000);
    EXPECT_TRUE(s.aVars(1).ShowTotal);
    EXPECT_EQ(s.aVars(2).FName, "SPOTS");
    EXPECT_EQ(s.aVars(3).FName, "DURATION");
    EXPECT_EQ(s.aVars(3).Divisor, 60);
}

TEST_F(SampleReports, TheListingOpensWithItsColumnOrderGroupsAndClips) {
    const QString arg = QString(VANTREP_SAMPLES_DIR) + "/detailed/Spot_Listing.dtr";
    Session s(ui, arg);
    ASSERT_EQ(OpenDizave(s, arg), OpenOutcome::Opened);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(s.bDetailed);
    EXPECT_TRUE(s.bClipDet);
    EXPECT_EQ(s.sDataFile, "DATA.DBF");
    EXPECT_TRUE(QDir(s.sReportFolder + "clips").exists());  // the clip files come along
    QStringList ordered(12);
    for (int i = 1; i <= s.aDims.upperBound(); ++i)
        if (s.aDims(i).Displayed) ordered[s.aDims(i).Divisor] = s.aDims(i).FName;
    EXPECT_EQ(ordered.mid(1, 5), (QStringList{"MEDIA", "CHANNEL", "DATE", "TIME", "BRAND"}));
    for (int i = 1; i <= s.aDims.upperBound(); ++i)
        if (s.aDims(i).FName == "CLIPDET") {
            EXPECT_FALSE(s.aDims(i).Displayed);
        }
}

}  // namespace
}  // namespace vantrep::session
