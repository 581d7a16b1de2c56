// Value coding: month and weekday names to and from numbers, the dimension
// value check (order of the tests, exact messages, filtered lists and the
// DISTINCT read of a column dimension) and the alignment code of titles.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "engine/Connection.h"
#include "engine/EngineError.h"
#include "engine/dbf/DbfWriter.h"
#include "session/ValueCoding.h"
#include "support/FakeUi.h"

namespace vantrep::session {
namespace {

using engine::Value;
using testing::FakeUi;

const QLocale kUsEnglish(QLocale::English, QLocale::UnitedStates);

const QString kColumnPrefix = "Dimension unfit for column \r\ncontaining invalid character (";

TEST(MonthCoding, NamesTheTwelveMonthsAndOthersOutside) {
    const QStringList names = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (int n = 1; n <= 12; ++n) EXPECT_EQ(MonthText(n, kUsEnglish), names.at(n - 1)) << n;
    EXPECT_EQ(MonthText(0, kUsEnglish), "Others");
    EXPECT_EQ(MonthText(13, kUsEnglish), "Others");
    EXPECT_EQ(MonthText(-1, kUsEnglish), "Others");
}

TEST(MonthCoding, ReadsNamesBackToNumbersAndNoMonthAsEmpty) {
    EXPECT_EQ(MonthNumber("Jan", kUsEnglish), "1");
    EXPECT_EQ(MonthNumber("Sep", kUsEnglish), "9");
    EXPECT_EQ(MonthNumber("Dec", kUsEnglish), "12");
    EXPECT_EQ(MonthNumber("december", kUsEnglish), "12");
    EXPECT_EQ(MonthNumber("March", kUsEnglish), "3");
    EXPECT_EQ(MonthNumber(" Jul ", kUsEnglish), "7");
    for (int n = 1; n <= 12; ++n) EXPECT_EQ(MonthNumber(MonthText(n, kUsEnglish), kUsEnglish), QString::number(n));
    for (const char* text : {"Others", "", "Ja", "13"}) EXPECT_EQ(MonthNumber(text, kUsEnglish), "") << text;
}

TEST(MonthCoding, FollowsTheGivenLocale) {
    const QLocale british(QLocale::English, QLocale::UnitedKingdom);
    EXPECT_EQ(MonthText(9, british), "Sept");
    EXPECT_EQ(MonthNumber("Sept", british), "9");
    EXPECT_EQ(MonthNumber("Sept", kUsEnglish), "");
}

TEST(WeekdayCoding, CountsSundayAsDayOneBothWays) {
    const QStringList names = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    for (int n = 1; n <= 7; ++n) {
        EXPECT_EQ(WeekdayText(n), names.at(n - 1)) << n;
        EXPECT_EQ(WeekdayNumber(names.at(n - 1)), QString::number(n));
    }
    EXPECT_EQ(WeekdayText(0), "Others");
    EXPECT_EQ(WeekdayText(8), "Others");
    // The reverse is exact and knows "Others".
    EXPECT_EQ(WeekdayNumber("Others"), "8");
    for (const char* text : {"sun", "SUN", "Sunday", " Sun", ""}) EXPECT_EQ(WeekdayNumber(text), "") << text;
}

// The message CheckDimensionValue shows for `s` and `role`, or "" when it passes.
QString refusal(const QString& s, const QString& role) {
    FakeUi ui;
    const bool passed = CheckDimensionValue(s, role, ui);
    EXPECT_EQ(passed, ui.messages.empty()) << s.toStdString();
    if (ui.messages.empty()) return QString();
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(ui.messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(ui.messages[0].title, "");
    return ui.messages[0].text;
}

TEST(DimensionValueCheck, ColumnValuesRefuseEachReservedCharacter) {
    EXPECT_EQ(refusal("Radio, FM", "C"), kColumnPrefix + ",)");
    EXPECT_EQ(refusal("A;B", "C"), kColumnPrefix + ";)");
    EXPECT_EQ(refusal("10:30", "C"), kColumnPrefix + ":)");
    EXPECT_EQ(refusal("A|B", "C"), kColumnPrefix + "|)");
    EXPECT_EQ(refusal("12\" screen", "C"), "Dimension unfit for column\r\ncontaining invalid character (\")");
    EXPECT_EQ(refusal("Radio FM", "C"), "");
    EXPECT_EQ(refusal("", "C"), "");
    // The first reserved character in the order of the tests is named.
    EXPECT_EQ(refusal("\"x\";y", "C"), kColumnPrefix + ";)");
    EXPECT_EQ(refusal("a|b:c;d,e", "C"), kColumnPrefix + ",)");
    EXPECT_EQ(refusal("a|b:c", "C"), kColumnPrefix + ":)");
    EXPECT_EQ(refusal("a|\"b", "C"), "Dimension unfit for column\r\ncontaining invalid character (\")");
}

TEST(DimensionValueCheck, RowValuesRefuseOnlyTheDoubleQuote) {
    for (const QString role : {"R", "P", "N", "", "c"}) {
        EXPECT_EQ(refusal("Radio, FM;A:B|C", role), "") << role.toStdString();
        EXPECT_EQ(refusal("12\" screen", role), "Dimension unfit for row\r\ncontaining invalid character (\")")
            << role.toStdString();
    }
}

TEST(DimensionValueCheck, RefusalIsRaisedWithItsNumber) {
    try {
        RequireDimensionValue("a,b", "C");
        FAIL() << "a comma in a column value was accepted";
    } catch (const engine::EngineError& error) {
        EXPECT_EQ(static_cast<unsigned>(error.number()), 0x80040201u);
        EXPECT_EQ(QString::fromStdString(error.description()), kColumnPrefix + ",)");
    }
    EXPECT_NO_THROW(RequireDimensionValue("a,b", "R"));
}

// A report folder with one table DATA.DBF holding MEDIA (C) and MONTH (N).
class DimensionValuesCheck : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        path = QDir(folder.path()).filePath("DATA.DBF");
    }

    void writeTable(const std::vector<const char*>& media) {
        engine::dbf::DbfWriter::create(path.toStdString(), {{"MEDIA", 'C', 12}, {"MONTH", 'N', 2, 0}});
        engine::dbf::DbfWriter writer(path.toStdString());
        int month = 0;
        for (const char* value : media) {
            writer.append({Value::string(value), Value::integer(++month)});
        }
        connection.Open("Driver={Microsoft Visual FoxPro Driver};SourceDB=" + folder.path().toStdString() +
                        "/;SourceType=DBF;Exclusive=No;BackgroundFetch=No;Collate=Machine;");
    }

    QTemporaryDir folder;
    QString path;
    engine::Connection connection;
    FakeUi ui;
};

TEST_F(DimensionValuesCheck, FilteredListChecksItsItemsAndStopsAtTheFirstFailure) {
    const QStringList values = {"Filtered Media", "TV", "A;B", "C:D"};
    EXPECT_FALSE(CheckDimensionValues(values, "MEDIA", "C", connection, "DATA.DBF", ui));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, kColumnPrefix + ";)");
}

TEST_F(DimensionValuesCheck, FilteredListIsCheckedForEveryRoleWithoutReadingTheTable) {
    // The connection is not open: reading the table would throw.
    const QStringList values = {"Filtered Media", "Radio, FM", "12\" screen"};
    EXPECT_FALSE(CheckDimensionValues(values, "MEDIA", "R", connection, "DATA.DBF", ui));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Dimension unfit for row\r\ncontaining invalid character (\")");

    FakeUi clean;
    EXPECT_TRUE(CheckDimensionValues({"Filtered Media", "TV", "Radio, FM"}, "MEDIA", "R", connection, "DATA.DBF",
                                     clean));
    EXPECT_TRUE(clean.messages.empty());
    EXPECT_TRUE(CheckDimensionValues({"Filtered Media"}, "MEDIA", "C", connection, "DATA.DBF", clean));
    EXPECT_TRUE(clean.messages.empty());
}

TEST_F(DimensionValuesCheck, UnfilteredColumnIsCheckedAgainstTheTable) {
    writeTable({"TV", "Radio, FM", "Press", "Radio, FM"});
    // The list's own items are not what is checked: the table's values are.
    EXPECT_FALSE(CheckDimensionValues({"Media", "TV"}, "MEDIA", "C", connection, "DATA.DBF", ui));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, kColumnPrefix + ",)");
}

TEST_F(DimensionValuesCheck, UnfilteredColumnWithFitValuesPasses) {
    writeTable({"TV", "Radio", "Press"});
    EXPECT_TRUE(CheckDimensionValues({"Media", "A;B"}, "media", "C", connection, "DATA.DBF", ui));
    EXPECT_TRUE(CheckDimensionValues({"Month"}, "MONTH", "C", connection, "DATA", ui));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DimensionValuesCheck, UnfilteredRowIsNotRead) {
    writeTable({"12\" screen"});
    EXPECT_TRUE(CheckDimensionValues({"Media"}, "MEDIA", "R", connection, "DATA.DBF", ui));
    EXPECT_TRUE(CheckDimensionValues({"Media"}, "NOSUCH", "R", connection, "NOSUCH.DBF", ui));
    EXPECT_TRUE(ui.messages.empty());
    // The same table as a column dimension is refused.
    EXPECT_FALSE(CheckDimensionValues({"Media"}, "MEDIA", "C", connection, "DATA.DBF", ui));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Dimension unfit for column\r\ncontaining invalid character (\")");
}

TEST_F(DimensionValuesCheck, FailedQueryReachesTheCaller) {
    writeTable({"TV"});
    EXPECT_THROW(CheckDimensionValues({"Media"}, "NOSUCH", "C", connection, "DATA.DBF", ui), engine::EngineError);
    EXPECT_THROW(CheckDimensionValues({"Media"}, "MEDIA", "C", connection, "MISSING.DBF", ui),
                 engine::EngineError);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(TitleAlignment, LeadingBarsChooseTheAlignment) {
    EXPECT_EQ(AlignFromBars(""), 6);
    EXPECT_EQ(AlignFromBars("||"), 6);
    EXPECT_EQ(AlignFromBars("||Sales"), 8);
    EXPECT_EQ(AlignFromBars("|||"), 8);
    EXPECT_EQ(AlignFromBars("|Sales"), 7);
    EXPECT_EQ(AlignFromBars("|"), 7);
    EXPECT_EQ(AlignFromBars("Sales"), 6);
    EXPECT_EQ(AlignFromBars(" |Sales"), 6);
}

}  // namespace
}  // namespace vantrep::session
