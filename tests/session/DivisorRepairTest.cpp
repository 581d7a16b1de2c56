// The Divisor repair of detailed structures, checked on the file itself.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "engine/Connection.h"
#include "engine/Recordset.h"
#include "engine/dbf/DbfWriter.h"
#include "session/DivisorRepair.h"
#include "support/FakeUi.h"

namespace vantrep::session {
namespace {

using engine::Value;

class DivisorRepair : public ::testing::Test {
protected:
    // A structure with the given (Displayed, Divisor) rows; returns the
    // Divisors after the repair, as read back from the file.
    std::vector<int64_t> repair(const std::vector<std::pair<bool, Value>>& rows) {
        path = (dir.path() + "/Listing.DTR").toStdString();
        engine::dbf::DbfWriter::create(path, {{"FNAME", 'C', 10}, {"DISPLAYED", 'L'}, {"DIVISOR", 'N', 3, 0, true}});
        std::vector<std::vector<Value>> records;
        for (const auto& [displayed, divisor] : rows)
            records.push_back({Value::string("F"), Value::logical(displayed), divisor});
        engine::dbf::DbfWriter(path).appendMany(records);
        if (connection.State() != engine::adStateOpen)
            connection.Open("SourceDB=" + dir.path().toStdString() + "/;SourceType=DBF;Collate=Machine;");
        NormalizeDivisor(connection, QString::fromStdString(path), ui);
        engine::Connection reader;
        reader.Open("SourceDB=" + dir.path().toStdString() + "/;SourceType=DBF;Collate=Machine;");
        engine::Recordset rs;
        rs.Open("SELECT Divisor FROM [" + path + "]", reader, engine::adOpenForwardOnly, engine::adLockReadOnly);
        std::vector<int64_t> divisors;
        for (; !rs.Eof(); rs.MoveNext()) {
            Value v = rs.field(0).value();
            divisors.push_back(v.isNull() ? -1 : v.asInteger());
        }
        return divisors;
    }

    QTemporaryDir dir;
    std::string path;
    engine::Connection connection;
    testing::FakeUi ui;
};

TEST_F(DivisorRepair, UniqueDivisorsOnDisplayedFieldsSurvive) {
    EXPECT_EQ(repair({{true, Value::integer(2)}, {true, Value::integer(1)}, {false, Value::integer(0)}}),
              (std::vector<int64_t>{2, 1, 0}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DivisorRepair, ADivisorUsedTwiceClearsThemAll) {
    EXPECT_EQ(repair({{true, Value::integer(2)}, {true, Value::integer(2)}, {true, Value::integer(1)}}),
              (std::vector<int64_t>{0, 0, 0}));
}

TEST_F(DivisorRepair, ADivisorOnAHiddenFieldClearsThemAll) {
    EXPECT_EQ(repair({{true, Value::integer(1)}, {false, Value::integer(2)}}), (std::vector<int64_t>{0, 0}));
}

TEST_F(DivisorRepair, NullsCountAsNoDivisor) {
    EXPECT_EQ(repair({{true, Value::null()}, {false, Value::null()}}), (std::vector<int64_t>{-1, -1}));
}

TEST_F(DivisorRepair, AnEngineErrorIsShownAndEndsTheRepair) {
    connection.Open("SourceDB=" + dir.path().toStdString() + "/;SourceType=DBF;Collate=Machine;");
    NormalizeDivisor(connection, dir.path() + "/missing.dtr", ui);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(ui.messages[0].text.contains("missing.dtr"));
}

}  // namespace
}  // namespace vantrep::session
