// Value lists filled from the data: display forms of months, weekdays and
// durations, the single-value rule, the order of the stored values.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "engine/Connection.h"
#include "engine/dbf/DbfWriter.h"
#include "session/ValueList.h"
#include "support/FakeUi.h"

namespace vantrep::session {
namespace {

using engine::Value;

class ValueLists : public ::testing::Test {
protected:
    void SetUp() override {
        std::string path = (dir.path() + "/DATA.DBF").toStdString();
        engine::dbf::DbfWriter::create(path, {{"MEDIA", 'C', 10}, {"MONTH", 'N', 2}, {"WEEKDAY", 'N', 1},
                                              {"DURATION", 'N', 4}, {"ONLY", 'C', 4}, {"SPOTS", 'N', 6, 1}});
        engine::dbf::DbfWriter writer(path);
        writer.appendMany({
            {Value::string("TV"), Value::integer(12), Value::integer(7), Value::integer(10), Value::string("TV"),
             number("2.5")},
            {Value::string("RADIO"), Value::integer(1), Value::integer(1), Value::integer(0), Value::string("TV"),
             number("10.0")},
            {Value::string("TV"), Value::integer(2), Value::integer(1), Value::integer(5), Value::string("TV"),
             number("2.5")},
        });
        connection.Open("SourceDB=" + dir.path().toStdString() + "/;SourceType=DBF;Collate=Machine;");
    }
    static Value number(const char* text) { return Value::decimal(*engine::Decimal::parse(text)); }

    ValueList fill(const QString& name, const QString& type, const QString& caption) {
        ValueList list;
        list.items << caption;
        FillCombo(list, name, type, connection, "DATA.DBF", ui, QLocale(QLocale::English, QLocale::UnitedStates));
        return list;
    }

    QTemporaryDir dir;
    engine::Connection connection;
    testing::FakeUi ui;
};

TEST_F(ValueLists, NumbersShowTheirCodingInStoredOrder) {
    EXPECT_EQ(fill("MONTH", "N", "Month").items, (QStringList{"Month", "Jan", "Feb", "Dec"}));
    EXPECT_EQ(fill("WEEKDAY", "N", "Day").items, (QStringList{"Day", "Sun", "Sat"}));
    EXPECT_EQ(fill("DURATION", "N", "Duration").items, (QStringList{"Duration", "Others", "5", "10"}));
    EXPECT_EQ(fill("SPOTS", "N", "Spots").items, (QStringList{"Spots", "2.5", "10"}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ValueLists, CharacterValuesComeAsTheDataGivesThem) {
    EXPECT_EQ(fill("MEDIA", "C", "Media").items, (QStringList{"Media", "RADIO     ", "TV        "}));
    // A character field named MONTH is not coded.
    EXPECT_EQ(DisplayFormOf(Value::string("3"), "MONTH", "C"), "3");
}

TEST_F(ValueLists, ASingleValueTakesThePlaceOfTheCaption) {
    EXPECT_EQ(fill("ONLY", "C", "Only").items, (QStringList{"TV  ", ""}));
}

TEST_F(ValueLists, AnEngineErrorEndsTheFillAndIsShown) {
    ValueList list = fill("NOSUCH", "C", "Missing");
    EXPECT_EQ(list.items, QStringList{"Missing"});
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(ui.messages[0].text.contains("NOSUCH"));
}

TEST(ValueListState, FilteredNeedsAValueAndTheMarker) {
    EXPECT_TRUE((ValueList{{"Filtered Media", "TV"}, ""}).filtered());
    EXPECT_FALSE((ValueList{{"Filtered Media"}, ""}).filtered());
    EXPECT_FALSE((ValueList{{"Media", "TV"}, ""}).filtered());
}

}  // namespace
}  // namespace vantrep::session
