// The detailed listing's statement: columns in their order, filters as IN
// lists by type, and values with quotes that must reach the engine unchanged.
#include <gtest/gtest.h>

#include <QLocale>
#include <QTemporaryDir>

#include "analysis/ListingQuery.h"
#include "engine/Connection.h"
#include "engine/Recordset.h"
#include "engine/dbf/DbfWriter.h"

namespace vantrep::analysis {
namespace {

using session::FieldDef;
using session::ValueList;

FieldDef column(const char* name, int divisor, bool displayed = true) {
    FieldDef f;
    f.FName = name;
    f.FDesc = name;
    f.Displayed = displayed;
    f.Divisor = displayed ? divisor : 0;
    return f;
}

ValueKind kindByName(const QString& name) {
    if (name == "DATE") return ValueKind::Date;
    if (name == "SPOTS") return ValueKind::Other;
    return ValueKind::Character;
}

TEST(ListingStatement, ColumnsInOrderAndFiltersByType) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    session::FieldList aDims;
    for (const FieldDef& f : {column("MEDIA", 2), column("SPOTS", 3), column("DATE", 1), column("BRAND", 0, false)})
        aDims.append(f);
    std::vector<ValueList> lists{ValueList(), {{"Filtered MEDIA", "TV", "RADIO"}, ""}, {{"SPOTS"}, ""},
                                 {{"DATE"}, ""}, {{"BRAND"}, ""}};
    EXPECT_EQ(ListingStatement(aDims, lists, true, "DATA.DBF", kindByName),
              "SELECT DATE, MEDIA, SPOTS, CLIPDET from DATA.DBF WHERE 1=1  AND MEDIA IN('TV','RADIO') ORDER BY 1, 2, 3");
    lists[1] = {{"MEDIA"}, ""};
    lists[2] = {{"Filtered SPOTS", "5", "10"}, ""};
    lists[3] = {{"Filtered DATE", "3/7/2004"}, ""};
    EXPECT_EQ(ListingStatement(aDims, lists, false, "DATA.DBF", kindByName),
              "SELECT DATE, MEDIA, SPOTS from DATA.DBF WHERE 1=1  AND SPOTS IN(5,10) AND DATE IN(CTOD('03/07/2004')) "
              "ORDER BY 1, 2, 3");

    // A value of a numeric field that is no number stays a literal.
    lists[2] = {{"Filtered SPOTS", " 5 ", "1) OR (1=1"}, ""};
    lists[3] = {{"DATE"}, ""};
    EXPECT_EQ(ListingStatement(aDims, lists, false, "DATA.DBF", kindByName),
              "SELECT DATE, MEDIA, SPOTS from DATA.DBF WHERE 1=1  AND SPOTS IN(5,'1) OR (1=1') ORDER BY 1, 2, 3");

    // Without a column of divisor 1 the select list stays empty.
    session::FieldList media;
    media.append(column("MEDIA", 2));
    EXPECT_EQ(ListingStatement(media, {ValueList(), {{"MEDIA"}, ""}}, false, "DATA.DBF", kindByName),
              "SELECT  from DATA.DBF WHERE 1=1  ORDER BY ");
}

TEST(CharacterLiteral, QuotesComeBackAsTheSameValue) {
    QTemporaryDir dir;
    std::string path = (dir.path() + "/DATA.DBF").toStdString();
    const QStringList values = {"Plain", "McDonald's", "Say \"hi\"", "It's \"x\"", "It's \"x\" [y]", "a]b"};
    engine::dbf::DbfWriter::create(path, {{"BRAND", 'C', 20}});
    std::vector<std::vector<engine::Value>> records;
    for (const QString& v : values) records.push_back({engine::Value::string(v.toStdString())});
    records.push_back({engine::Value::string("Other")});
    engine::dbf::DbfWriter(path).appendMany(records);
    engine::Connection connection;
    connection.Open("SourceDB=" + dir.path().toStdString() + "/;SourceType=DBF;Collate=Machine;");
    for (const QString& v : values) {
        engine::Recordset rs;
        std::string sql = "SELECT BRAND FROM DATA.DBF WHERE 1=1  AND BRAND IN(" + CharacterLiteral(v).toStdString() + ")";
        rs.Open(sql, connection, engine::adOpenStatic, engine::adLockReadOnly);
        ASSERT_EQ(rs.RecordCount(), 1) << sql;
        EXPECT_EQ(QString::fromStdString(rs.field(0).value().asString()).trimmed(), v);
    }
}

}  // namespace
}  // namespace vantrep::analysis
