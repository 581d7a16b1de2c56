// The other statement shapes the program sends: the structure-file repair, the
// empty result for a column's type, the fixed-format reports' queries, and the
// errors a user sees when a statement cannot run.
#include <gtest/gtest.h>

#include "engine/EngineError.h"
#include "engine/Recordset.h"
#include "support/QueryFixture.h"
#include "support/RunProgram.h"

namespace vantrep::tests {
namespace {

using engine::EngineError;
using engine::Value;

class StructureFile : public QueryFixture {
protected:
    void SetUp() override {
        QueryFixture::SetUp();
        path = makeTable("Brands.DTR",
                         {{"FNAME", 'C', 10}, {"DISPLAYED", 'L'}, {"DIVISOR", 'N', 3}},
                         {{text("MEDIA"), Value::logical(true), Value::integer(2)},
                          {text("BRAND"), Value::logical(true), Value::integer(2)},
                          {text("SPOTS"), Value::logical(false), Value::integer(1)},
                          {text("DATE"), Value::logical(true), Value::integer(0)}});
    }
    std::string path;
};

TEST_F(StructureFile, DivisorCountsAndRepairPersistIntoTheFile) {
    auto counts = query("SELECT Divisor,count(*) AS Cnt FROM [" + path + "] WHERE Divisor>0 GROUP BY Divisor");
    ASSERT_EQ(counts, (std::vector<Row>{{"DIVISOR", "Cnt"}, {"1", "1"}, {"2", "2"}}));
    auto flags = query("SELECT Displayed,Divisor FROM [" + path + "]");
    EXPECT_EQ(flags[3], (Row{"F", "1"}));

    EXPECT_EQ(connection.Execute("UPDATE [" + path + "] SET Divisor=0"), 4);
    EXPECT_EQ(query("SELECT Divisor FROM [" + path + "] WHERE Divisor>0").size(), 1u);
    // Another program sees the change on disk.
    auto read = runPython("import dbfread,sys\n"
                          "print([r['DIVISOR'] for r in dbfread.DBF(sys.argv[1])])\n",
                          {path});
    EXPECT_EQ(read.exitStatus, 0) << read.err;
    EXPECT_EQ(read.out, "[0, 0, 0, 0]\n");
}

TEST_F(StructureFile, TableNamesResolveWithoutRegardToCase) {
    EXPECT_EQ(query("SELECT FNAME FROM brands.dtr").size(), 5u);
    EXPECT_EQ(query("SELECT FNAME FROM [" + folder + "BRANDS.dtr]").size(), 5u);
    makeTable("DATA.DBF", {{"A", 'C', 2}}, {{text("x")}});
    EXPECT_EQ(query("SELECT A FROM data").size(), 2u);
    EXPECT_EQ(query("SELECT A FROM Data.Dbf").size(), 2u);
}

TEST_F(StructureFile, EmptyResultKeepsColumnTypes) {
    makeTable("DATA.DBF", {{"MEDIA", 'C', 10}, {"DATE", 'D'}, {"SPEND", 'N', 12, 2}},
              {{text("TV"), day(2004, 3, 7), number("1.50")}});
    connection.Open(connectionString());
    engine::Recordset rs;
    rs.Open("SELECT DATE FROM DATA.DBF WHERE 1=0", connection, engine::adOpenStatic, engine::adLockReadOnly);
    EXPECT_TRUE(rs.Eof());
    EXPECT_EQ(rs.RecordCount(), 0);
    EXPECT_EQ(rs.field(0).Type(), engine::adDBDate);
    rs.Close();
    rs.Open("SELECT * FROM [" + folder + "DATA.DBF] WHERE 1=2", connection, engine::adOpenStatic,
            engine::adLockReadOnly);
    ASSERT_EQ(rs.fields().Count(), 3);
    EXPECT_EQ(rs.field("media").Type(), engine::adVarChar);
    EXPECT_EQ(rs.field("SPEND").Type(), engine::adNumeric);
    EXPECT_EQ(rs.field("SPEND").NumericScale(), 2);
    rs.Close();
    rs.Open("SELECT MEDIA FROM DATA.DBF WHERE 1=1  AND DATE IN(CTOD('03/07/2004'))", connection,
            engine::adOpenStatic, engine::adLockReadOnly);
    EXPECT_EQ(rs.RecordCount(), 1);
}

class FixedReports : public QueryFixture {
protected:
    void SetUp() override {
        QueryFixture::SetUp();
        // Fields of the first fixed report; Total_Ads is character so that its
        // IIF with ' ' has one type.
        std::vector<engine::dbf::FieldSpec> fields = {
            {"MEDIANAME", 'C', 20}, {"MANUFACT", 'C', 20}, {"BRAND", 'C', 20}, {"SUBBRAND", 'C', 20},
            {"PRODUCT", 'C', 20},   {"GROUP", 'C', 10},    {"DATE", 'D'},      {"TIME", 'C', 8},
            {"COLOR", 'C', 8},      {"MEDIALEVEL", 'C', 12}, {"POSITION", 'C', 6}, {"TOTAL_ADS", 'C', 4},
            {"AD_TYPE", 'C', 6},    {"AD_DESC", 'C', 20},  {"MAIN_TYPO", 'C', 8}, {"PROG_NAME", 'C', 20}};
        auto record = [](const char* media, const char* level, const char* time, const char* adType,
                         const char* typo, int dayOfMonth) {
            return std::vector<Value>{text(media), text("ACME"), text("SOAPY"), text("SOAPY GOLD"), text("BAR"),
                                      text("G1"), day(2024, 5, dayOfMonth), text(time), text("RED"), text(level),
                                      text("P1"), text("12"), text(adType), text("Morning spot"), text(typo),
                                      text("News")};
        };
        makeTable("DATA.DBF", fields,
                  {record("Channel 9", "Television", "", "", "LIVE", 2),
                   record("Daily Star", "Press", "20:15:00", "SP", "", 1),
                   record("Channel 9", "Outdoor", "08:00:00", "", "", 1)});
    }
};

TEST_F(FixedReports, FirstReportQueryComputesItsColumns) {
    std::string sql = std::string("SELECT *, ") + "IIf(time<>' ',Time,color) as Pb," +
                      "IIf(Medialevel='Television' Or Medialevel='Radio' Or Medialevel='Outdoor' Or "
                      "Medialevel='Cinema',Position,' ') as Pos," +
                      "IIf(Medialevel='Television' Or Medialevel='Radio' Or Medialevel='Outdoor'Or "
                      "Medialevel='Cinema',Total_Ads,' ') as TolAd," +
                      "IIf(ad_type<>' ',Trim(ad_desc)+ '(' + Trim(ad_type)+')',ad_desc) as ad_dest," +
                      "IIf(main_typo<>' ',Trim(Prog_name)+ ' '+'('+Trim(main_typo)+')',prog_name) as main_type " +
                      "FROM [" + folder + "DATA.DBF] " +
                      "ORDER BY medianame, manufact, brand, subbrand, product, group, date, time";
    auto rows = query(sql);
    ASSERT_EQ(rows.size(), 4u);
    const Row& names = rows[0];
    ASSERT_EQ(names.size(), 21u);
    EXPECT_EQ(names[16], "Pb");
    EXPECT_EQ(names[20], "main_type");
    // Channel 9 on the 1st (Outdoor), Channel 9 on the 2nd (Television), then Daily Star.
    EXPECT_EQ(rows[1][0].substr(0, 9), "Channel 9");
    EXPECT_EQ(rows[1][6], "2024-05-01");
    EXPECT_EQ(rows[2][6], "2024-05-02");
    EXPECT_EQ(rows[3][0].substr(0, 10), "Daily Star");
    EXPECT_EQ(rows[1][16], "08:00:00");     // time is set
    EXPECT_EQ(rows[2][16], "RED     ");     // blank time: the colour
    EXPECT_EQ(rows[2][17], "P1    ");       // Television shows its position
    EXPECT_EQ(rows[3][17], "      ");       // Press does not
    EXPECT_EQ(rows[1][18], "12  ");         // 'Outdoor'Or still reads as Outdoor
    EXPECT_EQ(rows[3][19].substr(0, 16), "Morning spot(SP)");
    // Both branches fit one C(28) column: Trim(20) + 1 + Trim(6) + 1.
    EXPECT_EQ(rows[1][19], "Morning spot" + std::string(16, ' '));
    EXPECT_EQ(rows[2][20].substr(0, 11), "News (LIVE)");
    EXPECT_EQ(rows[1][20].substr(0, 4), "News");
}

TEST_F(FixedReports, SecondReportOrderUsesFieldsOfTheStar) {
    auto rows = query("SELECT * FROM [" + folder + "DATA.DBF] ORDER BY date, medianame, time, prog_name, brand");
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1][7], "08:00:00");
    EXPECT_EQ(rows[2][7], "20:15:00");
    EXPECT_EQ(rows[3][6], "2024-05-02");
}

TEST_F(FixedReports, ErrorsNameTheFaultForTheUser) {
    auto expectError = [&](const std::string& sql, int number, const std::string& part) {
        try {
            query(sql);
            ADD_FAILURE() << "no error for " << sql;
        } catch (const EngineError& e) {
            EXPECT_EQ(e.number(), number) << sql << ": " << e.description();
            EXPECT_NE(e.description().find(part), std::string::npos) << e.description();
        }
    };
    expectError("SELECT NOSUCH FROM DATA.DBF", engine::errUnknownName, "NOSUCH");
    expectError("SELECT MEDIANAME FROM MISSING.DBF", engine::errFileNotFound, "MISSING.DBF");
    expectError("SELECT  from DATA.DBF WHERE 1=1 ", engine::errSyntax, "position");
    expectError("SELECT MEDIANAME FROM DATA.DBF ORDER BY 3", engine::errSyntax, "ORDER BY");
    expectError("SELECT MEDIANAME + 1 FROM DATA.DBF", engine::errDataTypeMismatch, "");
    expectError("SELECT DISTINCT BRAND FROM DATA.DBF ORDER BY PRODUCT", engine::errUnknownName, "ORDER BY");
    expectError("SELECT BRAND, COUNT(*) FROM DATA.DBF GROUP BY 1 ORDER BY PRODUCT", engine::errUnknownName,
                "ORDER BY");
}

}  // namespace
}  // namespace vantrep::tests
