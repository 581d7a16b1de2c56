// The cross-tab statements, compared as whole texts, blanks included.
#include <gtest/gtest.h>

#include <QLocale>
#include <QTemporaryDir>

#include "engine/Connection.h"
#include "engine/Recordset.h"
#include "engine/dbf/DbfWriter.h"

#include "analysis/QueryBuilder.h"
#include "support/Dimension.h"

namespace vantrep::analysis {
namespace {

using session::FieldDef;
using session::FieldList;
using session::ValueList;

// A dimension whose values outside the selection fold into "Others".
FieldDef withOthers(FieldDef f) {
    f.ShowOthers = true;
    return f;
}

class CrossTabStatements : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void add(const FieldDef& f, ValueList list) {
        aDims.append(f);
        lists.push_back(std::move(list));
    }
    CrossTabQuery run(const std::vector<FieldDef>& vars = {}, const QString& pageFilter = QString()) {
        for (const FieldDef& v : vars) aVars.append(v);
        return RunQuery(aDims, lists, aVars, pageFilter, "DATA.DBF");
    }

    FieldList aDims, aVars;
    std::vector<ValueList> lists{ValueList()};
};

TEST_F(CrossTabStatements, TheExampleStatementWithAMonthFilter) {
    add(dimension("MEDIA", "Media", "C", 10, "R", 1), {{"Media", "RADIO", "TV"}, ""});
    add(dimension("MONTH", "Month", "N", 2, "C", 1), {{"Filtered Month", "Jan", "Feb"}, "MonthStrRev"});
    CrossTabQuery q = run({variable("SPEND", 0, 1)});
    ASSERT_EQ(q.aQuerySql.size(), 2);
    EXPECT_EQ(q.aQuerySql[0], "");
    EXPECT_EQ(q.aQuerySql[1],
              "select MEDIA, MONTH,  ROUND(SUM(SPEND),0) AS SPEND from DATA.DBF WHERE 1=1  AND INLIST(MONTH,1,2) "
              "group by 1 ,2 order by 1 ,2");
    EXPECT_EQ(q.nRowDims, 1);
    EXPECT_EQ(q.nColDims, 1);
    EXPECT_EQ(q.sRowFields, "MEDIA");
    EXPECT_EQ(q.aColSpecs[1], "MONTH:1,2");
    EXPECT_EQ(q.aColCaptions[1], "Month");
}

TEST_F(CrossTabStatements, BucketsKeepTheSelectionAndFoldTheRest) {
    add(withOthers(dimension("MEDIA", "Media", "C", 10, "R", 1)), {{"Filtered Media", "TV", "RADIO"}, ""});
    add(withOthers(dimension("SIZE", "Size", "N", 3, "C", 1)), {{"Filtered Size", "30"}, ""});
    add(withOthers(dimension("CODE", "Code", "C", 4, "C", 2)), {{"Filtered Code", "AB"}, ""});
    // RATE has level 0: not a measure.
    CrossTabQuery q = run({variable("SPEND", 2, 1), variable("SPOTS", 0, 2), variable("RATE", 1, 0)});
    ASSERT_EQ(q.aQuerySql.size(), 2);
    EXPECT_EQ(q.aQuerySql[1],
              "select IIF(INLIST(ALLTRIM(MEDIA),\"TV\",\"RADIO\"),MEDIA,\"Others    \") AS MEDIA, "
              "IIF(INLIST(SIZE,30),SIZE,000) AS SIZE, IIF(INLIST(ALLTRIM(CODE),\"AB\"),CODE,\"Others\") AS CODE, "
              " ROUND(SUM(SPEND),2) AS SPEND, ROUND(SUM(SPOTS),0) AS SPOTS from DATA.DBF WHERE 1=1  "
              "group by 1 ,2 ,3 order by 1 ,2 ,3");
    EXPECT_EQ(q.nColDims, 2);
    EXPECT_EQ(q.aColSpecs[1], "SIZE:30,*0;CODE:'AB',*'Others'");
    EXPECT_EQ(q.aColCaptions[1], "Size, Code");
}

TEST_F(CrossTabStatements, OneStatementPerColumnGroupWithTheNestedLevels) {
    add(dimension("BRAND", "Brand", "C", 20, "R", 1), {{"Brand", "A"}, ""});
    add(dimension("MONTH", "Month", "N", 2, "C", 1, 0), {{"Month", "Jan", "Dec"}, "MonthStrRev"});
    add(dimension("MEDIA", "Media", "C", 10, "C", 2), {{"Media", "TV        "}, ""});
    add(dimension("WEEKDAY", "Day", "N", 1, "C", 1, 2), {{"Day", "Sun", "Sat"}, "WeekDayStrRev"});
    CrossTabQuery q = run({variable("SPOTS", 0, 1)}, " MEDIA in('A','B') AND MONTH in(2)");
    ASSERT_EQ(q.aQuerySql.size(), 3);
    for (int i : {1, 2}) {
        EXPECT_EQ(q.aQuerySql[i], "select BRAND, " + QString(i == 1 ? "MONTH" : "WEEKDAY") +
                                      ", MEDIA,  ROUND(SUM(SPOTS),0) AS SPOTS from DATA.DBF WHERE 1=1  AND  MEDIA "
                                      "in('A','B') AND MONTH in(2) group by 1 ,2 ,3 order by 1 ,2 ,3")
            << "group " << i;
    }
    EXPECT_EQ(q.aColSpecs[1], "MONTH:1,12;MEDIA:'TV'");
    EXPECT_EQ(q.aColSpecs[2], "WEEKDAY:1,7;MEDIA:'TV'");
    EXPECT_EQ(q.aColCaptions[2], "Day, Media");
}

TEST_F(CrossTabStatements, FiltersWithoutBucketsRestrictTheRows) {
    add(dimension("MEDIA", "Media", "C", 10, "R", 1), {{"Filtered Media", "TV        "}, ""});
    add(dimension("AREA", "Area", "C", 10, "P", 0), {{"Filtered Area", "North"}, ""});  // page fields: not here
    add(dimension("DURATION", "Duration", "N", 4, "C", 1), {{"Filtered Duration", "Others", "30"}, ""});
    CrossTabQuery q = run({variable("SPOTS", 0, 1)});
    EXPECT_EQ(q.aQuerySql[1],
              "select MEDIA, DURATION,  ROUND(SUM(SPOTS),0) AS SPOTS from DATA.DBF WHERE 1=1  AND "
              "INLIST(ALLTRIM(MEDIA),\"TV\") AND INLIST(DURATION,0,30) group by 1 ,2 order by 1 ,2");
}

TEST_F(CrossTabStatements, FilterValuesThatAreNoPlainValuesStayLiterals) {
    add(dimension("MEDIA", "Media", "C", 10, "R", 1), {{"Filtered Media", "TV\") OR (1=1"}, ""});
    add(dimension("SIZE", "Size", "N", 4, "C", 1), {{"Filtered Size", "30", "1) OR (1=1"}, ""});
    CrossTabQuery q = run({variable("SPOTS", 0, 1)});
    EXPECT_EQ(q.aQuerySql[1],
              "select MEDIA, SIZE,  ROUND(SUM(SPOTS),0) AS SPOTS from DATA.DBF WHERE 1=1  AND "
              "INLIST(ALLTRIM(MEDIA),'TV\") OR (1=1') AND INLIST(SIZE,30,'1) OR (1=1') group by 1 ,2 order by 1 ,2");
}

TEST_F(CrossTabStatements, WithoutRowDimensionsOrColumnsTheTextsShrink) {
    add(dimension("MONTH", "Month", "N", 2, "C", 1), {{"Month", "Mar"}, "MonthStrRev"});
    CrossTabQuery q = run({variable("SPOTS", 0, 1)});
    EXPECT_EQ(q.aQuerySql[1],
              "select MONTH,  ROUND(SUM(SPOTS),0) AS SPOTS from DATA.DBF WHERE 1=1  group by 1 order by 1");
    EXPECT_EQ(q.nRowDims, 0);
    EXPECT_EQ(q.sRowFields, "");

    aDims.clear();
    lists.assign(1, ValueList());
    add(dimension("MEDIA", "Media", "C", 10, "R", 1), {{"Media", "TV"}, ""});
    q = run();  // SPOTS still the variable
    EXPECT_EQ(q.aQuerySql.size(), 1);  // no level-1 column dimension: no statement
    EXPECT_EQ(q.nColDims, 0);
}

TEST_F(CrossTabStatements, ASingleValueListGivesItsValueAsTheKey) {
    add(dimension("MEDIA", "Media", "C", 10, "C", 1), {{"TV        ", ""}, ""});
    EXPECT_EQ(run({variable("SPOTS", 0, 1)}).aColSpecs[1], "MEDIA:'TV'");
}

TEST_F(CrossTabStatements, TheStatementsRunOnTheEngine) {
    QTemporaryDir dir;
    std::string path = (dir.path() + "/DATA.DBF").toStdString();
    using engine::Value;
    engine::dbf::DbfWriter::create(path, {{"MEDIA", 'C', 10}, {"MONTH", 'N', 2}, {"SPEND", 'N', 8, 2}});
    auto row = [](const char* media, int month, int spend) {
        return std::vector<Value>{Value::string(media), Value::integer(month), Value::integer(spend)};
    };
    engine::dbf::DbfWriter(path).appendMany({row("TV", 1, 5), row("TVR", 1, 7), row("PRESS", 2, 1), row("TV", 3, 9)});
    add(withOthers(dimension("MEDIA", "Media", "C", 10, "R", 1)), {{"Filtered Media", "TV"}, ""});
    add(dimension("MONTH", "Month", "N", 2, "C", 1), {{"Filtered Month", "Jan", "Feb"}, "MonthStrRev"});
    CrossTabQuery q = run({variable("SPEND", 0, 1)});
    engine::Connection connection;
    connection.Open("SourceDB=" + dir.path().toStdString() + "/;SourceType=DBF;Collate=Machine;");
    engine::Recordset rs;
    rs.Open(q.aQuerySql[1].toStdString(), connection, engine::adOpenStatic, engine::adLockReadOnly);
    QStringList rows;
    for (; !rs.Eof(); rs.MoveNext())
        rows << QString::fromStdString(rs.field(0).value().toText() + "|" + rs.field(1).value().toText() + "|" +
                                       rs.field(2).value().toText());
    // TVR is not TV: it goes to the bucket; March is filtered out.
    EXPECT_EQ(rows, (QStringList{"Others    |1|7", "Others    |2|1", "TV        |1|5"}));
}

}  // namespace
}  // namespace vantrep::analysis
