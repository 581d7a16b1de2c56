// Reading structure files into the field dictionary: roles, variable order,
// display formats, the detailed column order, titles and refusals.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "engine/Connection.h"
#include "engine/Recordset.h"
#include "engine/dbf/DbfWriter.h"
#include "session/FieldDictionary.h"
#include "support/FakeUi.h"

namespace vantrep::session {
namespace {

using engine::Value;

struct Row {
    const char* name;
    const char* desc;
    const char* type;
    int len, dec;
    const char* layout;
    int level;
    bool total, displayed;
    Value divisor;
    const char* title;
};

class Structure : public ::testing::Test {
protected:
    // Writes a structure table and reads it back as the program does.
    FieldDictionary load(const QString& fileName, const std::vector<Row>& rows, bool detailed, bool withTitle = true,
                         bool withLayout = true) {
        std::vector<engine::dbf::FieldSpec> fields = {{"FNAME", 'C', 10}, {"FDESC", 'C', 30}, {"FTYPE", 'C', 1},
                                                      {"FLEN", 'N', 3},   {"FDEC", 'N', 2}};
        if (withLayout) fields.push_back({"LAYOUT", 'C', 1});
        fields.push_back({"LEVEL", 'N', 2});
        fields.push_back({"SHOWTOTAL", 'L'});
        fields.push_back({"DISPLAYED", 'L'});
        fields.push_back({"DIVISOR", 'N', 3, 0, true});
        if (withTitle) fields.push_back({"TITLE", 'C', 40});
        std::vector<std::vector<Value>> records;
        for (const Row& r : rows) {
            std::vector<Value> record = {Value::string(r.name), Value::string(r.desc), Value::string(r.type),
                                         Value::integer(r.len), Value::integer(r.dec)};
            if (withLayout) record.push_back(Value::string(r.layout));
            record.push_back(Value::integer(r.level));
            record.push_back(Value::logical(r.total));
            record.push_back(Value::logical(r.displayed));
            record.push_back(r.divisor);
            if (withTitle) record.push_back(Value::string(r.title));
            records.push_back(record);
        }
        std::string path = (dir.path() + "/" + fileName).toStdString();
        engine::dbf::DbfWriter::create(path, fields);
        engine::dbf::DbfWriter(path).appendMany(records);
        connection.Open("SourceDB=" + dir.path().toStdString() + "/;SourceType=DBF;Collate=Machine;");
        engine::Recordset rs;
        rs.Open("SELECT * FROM [" + path + "]", connection, engine::adOpenStatic, engine::adLockReadOnly);
        return ReadFieldDictionary(rs, detailed, QString::fromStdString(path), ui);
    }

    QTemporaryDir dir;
    engine::Connection connection;
    testing::FakeUi ui;
};

const Value none = Value::integer(0);

TEST(VariableDisplayFormat, GroupsTheIntegerDigitsByThree) {
    EXPECT_EQ(VariableDisplayFormat(10, 2), "#,###,###.00");
    EXPECT_EQ(VariableDisplayFormat(6, 0), "###,###");
    EXPECT_EQ(VariableDisplayFormat(4, 0), "#,###");
    EXPECT_EQ(VariableDisplayFormat(3, 2), ".00");
    EXPECT_EQ(VariableDisplayFormat(5, 0), "##,###");
    EXPECT_EQ(VariableDisplayFormat(7, 0), "#,###,###");
    EXPECT_EQ(VariableDisplayFormat(12, 2), "###,###,###.00");
}

TEST_F(Structure, SummaryKeepsLaidOutRowsAndOrdersVariablesByLevel) {
    FieldDictionary d = load("Brand_Spends.str",
                             {{"media", "Media ", "C", 10, 0, "r", 1, false, false, none, ""},
                              {"MONTH", "Month", "N", 2, 0, "C", 1, true, false, none, ""},
                              {"BRAND", "Brand", "C", 30, 0, " ", 0, false, false, none, ""},
                              {"SPOTS", "Spots", "N", 6, 0, "N", 2, true, false, Value::integer(10), ""},
                              {"SPEND", "Spend", "N", 12, 2, "N", 1, true, false, none, "First title"},
                              {"DUR", "Duration", "N", 4, 0, "N", 4, false, false, none, ""},
                              {"RATE", "Rate", "N", 5, 2, "N", 0, true, false, none, ""},
                              {"AREA", "Area", "C", 10, 0, "P", 0, false, false, none, "  Last title  "}},
                             false);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(d.refused);
    EXPECT_EQ(d.sReportName, "Brand Spends");
    EXPECT_EQ(d.sReportTitle, "Last title");
    ASSERT_EQ(d.aDims.upperBound(), 7);  // the blank-layout row is not a report field
    EXPECT_EQ(d.aDims(1).FName, "MEDIA");
    EXPECT_EQ(d.aDims(1).FDesc, "Media");
    EXPECT_EQ(d.aDims(1).Layout, "R");
    EXPECT_EQ(d.aDims(7).Layout, "P");
    // Levels 1 and 2, not 4 (after a gap), then the level-0 variable without totals.
    ASSERT_EQ(d.aVars.upperBound(), 3);
    EXPECT_EQ(d.aVars(1).FName, "SPEND");
    EXPECT_EQ(d.aVars(1).Layout, "###,###,###.00");
    EXPECT_EQ(d.aVars(2).FName, "SPOTS");
    EXPECT_EQ(d.aVars(2).Divisor, 10);
    EXPECT_EQ(d.aVars(3).FName, "RATE");
    EXPECT_FALSE(d.aVars(3).ShowTotal);
    EXPECT_TRUE(d.aVars(1).FType.isEmpty());
}

TEST_F(Structure, SummaryWithoutVariablesIsRefused) {
    FieldDictionary d = load("x.str",
                             {{"MEDIA", "Media", "C", 10, 0, "R", 1, false, false, none, ""},
                              {"MONTH", "Month", "N", 2, 0, "C", 1, false, false, none, ""}},
                             false);
    EXPECT_TRUE(d.refused);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Unauthorized execution. Can't continue!");
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Critical);
}

TEST_F(Structure, DetailedColumnsTakeExplicitOrderOrFileOrder) {
    FieldDictionary d = load("list.dtr",
                             {{"DATE", "Date", "D", 8, 0, "", 1, false, true, Value::null(), ""},
                              {"MEDIA", "Media", "C", 10, 0, "", 0, false, false, Value::null(), ""},
                              {"CLIPDET", "Clip", "C", 40, 0, "", 0, false, true, Value::null(), ""},
                              {"SPOTS", "Spots", "N", 6, 0, "", 0, false, true, Value::integer(7), ""}},
                             true, false);
    EXPECT_FALSE(d.refused);
    EXPECT_TRUE(d.bClipDet);
    ASSERT_EQ(d.aDims.upperBound(), 4);
    EXPECT_TRUE(d.aDims(1).Displayed);
    EXPECT_EQ(d.aDims(1).Divisor, 1);  // null counts as 0: the running count
    EXPECT_FALSE(d.aDims(3).Displayed);  // CLIPDET never is a column
    EXPECT_EQ(d.aDims(4).Divisor, 7);   // explicit order kept
    EXPECT_TRUE(d.aVars.empty());
    EXPECT_TRUE(d.sReportTitle.isEmpty());
}

TEST_F(Structure, AMissingColumnIsShownAndTheLoadGoesOn) {
    FieldDictionary d = load("broken.str", {{"SPEND", "Spend", "N", 12, 2, "N", 1, true, false, none, ""}}, false,
                             true, false);
    // Without a Layout column no row is laid out: the error is shown, then the refusal.
    ASSERT_GE(ui.messages.size(), 2u);
    EXPECT_TRUE(ui.messages.front().text.contains("LAYOUT", Qt::CaseInsensitive))
        << ui.messages.front().text.toStdString();
    EXPECT_EQ(ui.messages.back().text, "Unauthorized execution. Can't continue!");
    EXPECT_TRUE(d.refused);
}

TEST_F(Structure, FieldNameThatIsNoPlainNameIsRefusedByName) {
    for (const char* name : {"BRAND) OR", "", "1BRAND", "A.B"}) {
        for (bool detailed : {false, true}) {
            ui.messages.clear();
            if (connection.State() == engine::adStateOpen) connection.Close();
            FieldDictionary d = load(detailed ? "x.dtr" : "x.str",
                                     {{"MEDIA", "Media", "C", 10, 0, "R", 1, false, true, none, ""},
                                      {name, "Odd", "C", 10, 0, "R", 2, false, true, none, ""},
                                      {"SPEND", "Spend", "N", 12, 2, "N", 1, true, true, none, ""}},
                                     detailed);
            EXPECT_TRUE(d.refused) << name;
            ASSERT_EQ(ui.messages.size(), 1u) << name;
            EXPECT_EQ(ui.messages[0].text, QString("The structure file \"%1\" names the field \"%2\" (\"Odd\"), "
                                                   "which is not a field name. Can't continue!")
                                               .arg(detailed ? "x.dtr" : "x.str", name));
        }
    }
}

TEST_F(Structure, NegativeDetailedDivisorPutsTheColumnsInFileOrder) {
    FieldDictionary d = load("list.dtr",
                             {{"DATE", "Date", "D", 8, 0, "", 0, false, true, Value::integer(2), ""},
                              {"MEDIA", "Media", "C", 10, 0, "", 0, false, true, Value::integer(-1), ""},
                              {"HIDDEN", "Hidden", "C", 10, 0, "", 0, false, false, none, ""},
                              {"SPOTS", "Spots", "N", 6, 0, "", 0, false, true, Value::integer(1), ""}},
                             true, false);
    EXPECT_FALSE(d.refused);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(d.aDims(1).Divisor, 1);
    EXPECT_EQ(d.aDims(2).Divisor, 2);
    EXPECT_EQ(d.aDims(4).Divisor, 3);
}

TEST_F(Structure, DecimalsBeyondTheFieldWidthAreCutWithAMessage) {
    FieldDictionary d = load("x.str",
                             {{"MEDIA", "Media", "C", 10, 0, "R", 1, false, false, none, ""},
                              {"SPEND", "Spend", "N", 12, 99, "N", 1, true, false, none, ""}},
                             false);
    EXPECT_FALSE(d.refused);
    EXPECT_EQ(d.aVars(1).FDec, 10);
    EXPECT_EQ(d.aVars(1).Layout, "#.0000000000");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "The field \"SPEND\" asks for 99 decimals, more than its width of 12 holds: it is shown with 10.");

    ui.messages.clear();
    if (connection.State() == engine::adStateOpen) connection.Close();
    FieldDictionary listing = load("x.dtr", {{"SPEND", "Spend", "N", 99, 99, "", 0, false, true, none, ""}}, true);
    EXPECT_EQ(listing.aDims(1).FDec, 15);
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(Structure, SummaryWithoutALevelOneVariableIsRefusedWithAMessage) {
    FieldDictionary d = load("x.str",
                             {{"MEDIA", "Media", "C", 10, 0, "R", 1, false, false, none, ""},
                              {"SPEND", "Spend", "N", 12, 2, "N", 2, true, false, none, ""},
                              {"SPOTS", "Spots", "N", 6, 0, "N", 0, true, false, none, ""}},
                             false);
    EXPECT_TRUE(d.refused);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "No variable of the structure file \"x.str\" has level 1: the summary has no value to show. "
              "Can't continue!");
}

}  // namespace
}  // namespace vantrep::session
