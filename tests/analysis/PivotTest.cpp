// The pivot of grouped cross-tab results into wide records, on statements
// built by the query builder and run by the engine.
#include <gtest/gtest.h>

#include <QLocale>
#include <QTemporaryDir>

#include "analysis/Pivot.h"
#include "analysis/QueryBuilder.h"
#include "support/Dimension.h"
#include "engine/Connection.h"
#include "engine/Recordset.h"
#include "engine/dbf/DbfWriter.h"

namespace vantrep::analysis {
namespace {

using engine::Value;
using session::ValueList;

class Pivoting : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        std::string path = (dir.path() + "/DATA.DBF").toStdString();
        engine::dbf::DbfWriter::create(path, {{"BRAND", 'C', 8}, {"MONTH", 'N', 2}, {"MEDIA", 'C', 10},
                                              {"SPEND", 'N', 8, 2}, {"SPOTS", 'N', 4}});
        auto row = [](const char* brand, int month, const char* media, const char* spend, int spots) {
            return std::vector<Value>{Value::string(brand), Value::integer(month), Value::string(media),
                                      Value::decimal(*engine::Decimal::parse(spend)), Value::integer(spots)};
        };
        engine::dbf::DbfWriter(path).appendMany({row("ACME", 1, "TV", "10.00", 1), row("ACME", 1, "PRESS", "3.00", 2),
                                                 row("ACME", 2, "TV", "5.00", 3), row("BOLT", 2, "RADIO", "7.50", 4),
                                                 row("BOLT", 2, "PRESS", "1.00", 5)});
        connection.Open("SourceDB=" + dir.path().toStdString() + "/;SourceType=DBF;Collate=Machine;");

        aDims.append(dimension("BRAND", "BRAND", "C", 8, "R", 1));
        lists.push_back({{"BRAND", "ACME    ", "BOLT    "}, ""});
        aDims.append(dimension("MONTH", "MONTH", "N", 2, "C", 1));
        lists.push_back({{"MONTH", "Jan", "Feb"}, "MonthStrRev"});
        aDims.append(dimension("MEDIA", "MEDIA", "C", 10, "C", 2));
        aDims(3).ShowOthers = true;
        lists.push_back({{"Filtered MEDIA", "TV"}, ""});
        aVars.append(variable("SPEND", 2, 1));
        aVars.append(variable("SPOTS", 0, 2));
    }
    // The first column group's statement, run and pivoted.
    PivotTable pivot() {
        CrossTabQuery q = RunQuery(aDims, lists, aVars, QString(), "DATA.DBF");
        engine::Recordset rs;
        rs.Open(q.aQuerySql[1].toStdString(), connection, engine::adOpenStatic, engine::adLockReadOnly);
        return Pivot(rs, q.sRowFields, q.aColSpecs[1], {"SPEND", "SPOTS"}, aDims);
    }

    QTemporaryDir dir;
    engine::Connection connection;
    session::FieldList aDims, aVars;
    std::vector<ValueList> lists{ValueList()};
};

TEST_F(Pivoting, OneRecordPerRowCombinationWithAValuePerKeyAndVariable) {
    PivotTable t = pivot();

    EXPECT_EQ(t.rowFields, QStringList{"BRAND"});
    EXPECT_EQ(t.valueFields, (QStringList{"Jan|TV", "Jan|TV", "Jan|Others", "Jan|Others", "Feb|TV", "Feb|TV",
                                          "Feb|Others", "Feb|Others"}));
    ASSERT_EQ(t.rows.size(), 2u);
    EXPECT_EQ(t.rows[0][0].toText(), "ACME    ");
    EXPECT_EQ(t.rows[1][0].toText(), "BOLT    ");
    using Sums = std::vector<std::optional<double>>;
    const std::nullopt_t none = std::nullopt;
    // ACME: Jan TV 10/1, Jan Others 3/2, Feb TV 5/3, no Feb Others.
    EXPECT_EQ(t.values(0), (Sums{10.0, 1.0, 3.0, 2.0, 5.0, 3.0, none, none}));
    // BOLT: only February, all in the bucket (RADIO and PRESS together).
    EXPECT_EQ(t.values(1), (Sums{none, none, none, none, none, none, 8.5, 9.0}));
    EXPECT_EQ(t.cells[1].size(), 2u) << "fields without data are not held";
}

TEST_F(Pivoting, GroupedValuesOutsideTheKeysAreLeftOut) {
    lists[2] = {{"MONTH", "Feb"}, "MonthStrRev"};  // January is not a key
    lists[3] = {{"MEDIA", "TV"}, ""};
    aDims(3).ShowOthers = false;
    PivotTable t = pivot();
    EXPECT_EQ(t.valueFields, (QStringList{"Feb|TV", "Feb|TV"}));
    ASSERT_EQ(t.rows.size(), 1u);  // ACME in February on TV; BOLT has no TV
    EXPECT_EQ(t.values(0)[0], 5.0);
}

}  // namespace
}  // namespace vantrep::analysis
