// The connection and recordset API as the program uses it: opening a
// connection, walking a recordset, reading typed fields, and assigning fields
// of an open table.
#include <gtest/gtest.h>

#include <memory>

#include "engine/EngineError.h"
#include "engine/Recordset.h"
#include "support/QueryFixture.h"
#include "support/RunProgram.h"

namespace vantrep::tests {
namespace {

using engine::EngineError;
using engine::Recordset;
using engine::Value;

class RecordsetApi : public QueryFixture {
protected:
    void SetUp() override {
        QueryFixture::SetUp();
        makeTable("DATA.DBF",
                  {{"AMOUNT", 'N', 8, 2, true}, {"NAME", 'C', 12}, {"BORN", 'D'}, {"OK", 'L'}, {"QTY", 'I'},
                   {"PRICE", 'Y'}, {"NOTE", 'M'}},
                  {{number("12.50"), text("Zoë"), day(2004, 3, 7), Value::logical(true), Value::integer(-2),
                    number("1.2345"), text("first memo")},
                   {Value::null(), text("Ann"), Value::date(0), Value::logical(false), Value::integer(7),
                    number("0"), text("")},
                   {number("-3.00"), text("Bob"), day(1999, 12, 31), Value::logical(false), Value::integer(0),
                    number("10"), text("third")}});
        connection.Open(connectionString());
    }
};

TEST_F(RecordsetApi, ConnectionStringIsCheckedWhenOpening) {
    engine::Connection other;
    EXPECT_THROW(other.Open("Driver=x;SourceDB=" + folder + "nowhere/;SourceType=DBF;"), EngineError);
    EXPECT_THROW(other.Open("Driver=x;SourceDB=" + folder + ";SourceType=DBC;"), EngineError);
    EXPECT_THROW(other.Open("Driver=x;UID=;PWD=;"), EngineError);
    other.Open("driver=x;sourcedb=" + folder.substr(0, folder.size() - 1) + ";collate=machine");
    EXPECT_EQ(other.State(), engine::adStateOpen);
    EXPECT_EQ(other.folder(), folder);
    other.Close();
    EXPECT_EQ(other.State(), engine::adStateClosed);
    EXPECT_THROW(other.Execute("UPDATE DATA.DBF SET QTY=1"), EngineError);
}

// Equal stored bytes must mean equal values: callers skip reading a value
// again when its bytes repeat the row before.
TEST_F(RecordsetApi, StoredBytesStandForValuesReadFromTheRecordOrCoded) {
    Recordset rs;
    rs.Open("SELECT NAME, OK, AMOUNT, QTY * PRICE AS COST FROM DATA.DBF ORDER BY NAME", connection,
            engine::adOpenStatic, engine::adLockReadOnly);
    EXPECT_EQ(rs.field(0).storedBytes().value(), "Ann         ");
    const std::string annOk(rs.field(1).storedBytes().value());
    EXPECT_EQ(annOk, "F");
    EXPECT_FALSE(rs.field(2).storedBytes()) << "a nullable field's bytes do not say whether it is NULL";
    EXPECT_FALSE(rs.field(3).storedBytes()) << "a value computed from two fields has no stored bytes";
    rs.MoveNext();
    EXPECT_EQ(rs.field(0).storedBytes().value(), "Bob         ");
    EXPECT_EQ(rs.field(1).storedBytes().value(), annOk);
    EXPECT_EQ(rs.field(1).value(), Value::logical(false));
    rs.MoveNext();
    rs.MoveNext();
    EXPECT_THROW(rs.field(0).storedBytes(), EngineError);

    Recordset grouped;
    grouped.Open("SELECT OK, NAME, COUNT(*) AS N FROM DATA.DBF GROUP BY OK, NAME", connection, engine::adOpenStatic,
                 engine::adLockReadOnly);
    const std::string firstKey(grouped.field(0).storedBytes().value());
    EXPECT_FALSE(grouped.field(2).storedBytes()) << "an aggregate is computed";
    grouped.MoveNext();
    EXPECT_EQ(grouped.field(0).storedBytes().value(), firstKey) << "both groups are not OK";
    EXPECT_NE(grouped.field(1).storedBytes().value(), std::string_view("Ann         "));
    grouped.MoveNext();
    EXPECT_EQ(grouped.field(0).value(), Value::logical(true));
    EXPECT_NE(grouped.field(0).storedBytes().value(), firstKey);

    Recordset table;
    table.Open(folder + "DATA.DBF", connection, engine::adOpenStatic, engine::adLockOptimistic, engine::adCmdTable);
    EXPECT_FALSE(table.field("NAME").storedBytes()) << "an open table's fields may hold assigned values";
}

// A number reads as value().asDouble() reads it, NULL as nothing, whether the
// result holds sums as exact decimals or values.
TEST_F(RecordsetApi, NumbersReadAsTheirValuesReadWithNullAsNothing) {
    Recordset rs;
    rs.Open("SELECT NAME, SUM(AMOUNT) AS S, ROUND(SUM(AMOUNT),1) AS R, SUM(QTY) AS Q, SUM(AMOUNT) * 2 AS D "
            "FROM DATA.DBF GROUP BY NAME ORDER BY NAME",
            connection, engine::adOpenStatic, engine::adLockReadOnly);
    EXPECT_FALSE(rs.field("S").number()) << "Ann's only amount is NULL";
    EXPECT_FALSE(rs.field("D").number());
    EXPECT_EQ(rs.field("Q").number(), 7.0);
    rs.MoveNext();
    EXPECT_EQ(rs.field("S").number(), -3.0);
    rs.MoveNext();
    for (const char* name : {"S", "R", "Q", "D"})
        EXPECT_EQ(rs.field(name).number(), rs.field(name).value().asDouble()) << name;
    EXPECT_EQ(rs.field("R").number(), 12.5);
    EXPECT_EQ(rs.field("D").number(), 25.0);
    rs.MoveNext();
    EXPECT_THROW(rs.field("S").number(), EngineError);

    Recordset table;
    table.Open(folder + "DATA.DBF", connection, engine::adOpenStatic, engine::adLockOptimistic, engine::adCmdTable);
    EXPECT_EQ(table.field("AMOUNT").number(), 12.5);
    table.field("AMOUNT").setValue(number("7.25"));
    EXPECT_EQ(table.field("AMOUNT").number(), 7.25) << "an assigned value is read before it is written";
}

TEST_F(RecordsetApi, FieldsPreparedAheadGiveTheSameAnswers) {
    auto answers = [&](engine::Connection& c) {
        Recordset rs;
        rs.Open("SELECT NAME, SUM(AMOUNT) AS TOTAL, COUNT(*) AS N FROM DATA.DBF GROUP BY NAME ORDER BY NAME", c,
                engine::adOpenStatic, engine::adLockReadOnly);
        std::string all;
        for (; !rs.Eof(); rs.MoveNext())
            for (int f = 0; f < 3; ++f) all += rs.field(f).value().toText() + "|";
        return all;
    };
    engine::Connection plain;
    plain.Open(connectionString());
    const std::string expected = answers(plain);
    EXPECT_NE(expected.find("Bob"), std::string::npos);

    connection.prepareFields("DATA.DBF", {"NAME", "NOTE", "NOWHERE"}, {"AMOUNT", "QTY", "NAME", "NOWHERE"});
    connection.prepareFields("MISSING.DBF", {"NAME"}, {});
    EXPECT_EQ(answers(connection), expected);
}

// A listing lets the connection's memory go while its result is open and
// read: the result reads on, and later statements decode again.
TEST_F(RecordsetApi, ReleasingMemoryKeepsOpenResultsAndLaterAnswers) {
    auto read = [](Recordset& rs) {
        std::string all;
        for (; !rs.Eof(); rs.MoveNext())
            for (int f = 0; f < rs.fields().Count(); ++f) all += rs.field(f).value().toText() + "|";
        return all;
    };
    const std::string listing = "SELECT NAME, UPPER(NAME) AS BIG, AMOUNT, BORN FROM DATA.DBF ORDER BY 1, 2";
    const std::string grouped = "SELECT OK, SUM(AMOUNT) AS TOTAL FROM DATA.DBF GROUP BY OK ORDER BY OK";
    Recordset before;
    before.Open(grouped, connection, engine::adOpenStatic, engine::adLockReadOnly);
    const std::string groupedAnswer = read(before);
    Recordset open;
    open.Open(listing, connection, engine::adOpenStatic, engine::adLockReadOnly);
    std::unique_ptr<Recordset> clone = open.Clone();
    const std::string listingAnswer = read(*clone);
    EXPECT_EQ(listingAnswer.rfind("Ann         |ANN         |", 0), 0u) << listingAnswer;

    connection.releaseMemory();
    EXPECT_EQ(read(open), listingAnswer) << "the open result reads the same after the release";
    connection.releaseMemory();
    Recordset again;
    again.Open(grouped, connection, engine::adOpenStatic, engine::adLockReadOnly);
    EXPECT_EQ(read(again), groupedAnswer);
    again.Close();
    again.Open(listing, connection, engine::adOpenStatic, engine::adLockReadOnly);
    EXPECT_EQ(read(again), listingAnswer);
}

TEST_F(RecordsetApi, ClonesWalkTheSameRowsOnTheirOwn) {
    Recordset rs;
    rs.Open("SELECT NAME FROM DATA.DBF ORDER BY NAME", connection, engine::adOpenStatic, engine::adLockReadOnly);
    rs.MoveNext();
    std::unique_ptr<Recordset> clone = rs.Clone();
    EXPECT_EQ(clone->AbsolutePosition(), 1) << "a clone starts at the first row";
    EXPECT_EQ(clone->RecordCount(), 3);
    clone->Move(2);
    EXPECT_EQ(clone->field(0).value().toText(), "Zoë         ");
    EXPECT_EQ(rs.field(0).value().toText(), "Bob         ") << "the original keeps its place";
    clone->Move(-1);
    EXPECT_EQ(clone->field(0).value().toText(), "Bob         ");
    clone->Move(5);
    EXPECT_TRUE(clone->Eof());
    clone->Move(-9);
    EXPECT_TRUE(clone->Bof());

    Recordset table;
    table.Open(folder + "DATA.DBF", connection, engine::adOpenStatic, engine::adLockOptimistic, engine::adCmdTable);
    EXPECT_THROW(table.Clone(), EngineError);
}

TEST_F(RecordsetApi, OrderedByNumbersAndTextsOfOneWidth) {
    auto column = [&](const std::string& statement) {
        Recordset rs;
        rs.Open(statement, connection, engine::adOpenStatic, engine::adLockReadOnly);
        std::string all;
        for (; !rs.Eof(); rs.MoveNext()) all += rs.field(0).value().toText() + "|";
        return all;
    };
    EXPECT_EQ(column("SELECT PRICE FROM DATA.DBF ORDER BY PRICE"), "0.0000|1.2345|10.0000|");
    EXPECT_EQ(column("SELECT PRICE FROM DATA.DBF ORDER BY PRICE DESC"), "10.0000|1.2345|0.0000|");
    EXPECT_EQ(column("SELECT NAME FROM DATA.DBF ORDER BY NAME DESC"), "Zoë         |Bob         |Ann         |");
    EXPECT_EQ(column("SELECT AMOUNT FROM DATA.DBF ORDER BY AMOUNT"), ".NULL.|-3.00|12.50|");
}

TEST_F(RecordsetApi, CursorsWalkAndCount) {
    Recordset forward;
    forward.Open("SELECT NAME FROM DATA.DBF", connection, engine::adOpenForwardOnly, engine::adLockReadOnly);
    EXPECT_EQ(forward.RecordCount(), -1);
    int seen = 0;
    for (; !forward.Eof(); forward.MoveNext()) ++seen;
    EXPECT_EQ(seen, 3);
    EXPECT_THROW(forward.MoveNext(), EngineError);
    EXPECT_THROW(forward.field(0).value(), EngineError);
    forward.MoveFirst();
    EXPECT_EQ(forward.field("name").value().toText(), "Zoë         ");

    Recordset fixed;
    fixed.Open("SELECT NAME FROM DATA.DBF WHERE QTY > 0", connection, engine::adOpenStatic, engine::adLockReadOnly);
    EXPECT_EQ(fixed.RecordCount(), 1);
    fixed.Close();
    EXPECT_EQ(fixed.State(), engine::adStateClosed);
    EXPECT_THROW(fixed.Eof(), EngineError);
}

TEST_F(RecordsetApi, FieldsCarryTheDriverTypesAndValues) {
    Recordset rs;
    rs.Open("SELECT * FROM DATA.DBF", connection, engine::adOpenStatic, engine::adLockReadOnly);
    ASSERT_EQ(rs.fields().Count(), 7);
    EXPECT_EQ(rs.field(0).Type(), engine::adNumeric);
    EXPECT_EQ(rs.field(0).Precision(), 8);
    EXPECT_EQ(rs.field(0).NumericScale(), 2);
    EXPECT_EQ(rs.field(1).Type(), engine::adVarChar);
    EXPECT_EQ(rs.field(1).DefinedSize(), 12);
    EXPECT_EQ(rs.field(1).ActualSize(), 12);
    EXPECT_EQ(rs.field(2).Type(), engine::adDBDate);
    EXPECT_EQ(rs.field(3).Type(), engine::adBoolean);
    EXPECT_EQ(rs.field(4).Type(), engine::adInteger);
    EXPECT_EQ(rs.field(5).Type(), engine::adNumeric);
    EXPECT_EQ(rs.field(5).NumericScale(), 4);
    EXPECT_EQ(rs.field(6).Type(), engine::adLongVarChar);

    EXPECT_EQ(rs.field(0).value().toText(), "12.50");
    EXPECT_EQ(rs.field(2).value().toText(), "2004-03-07");
    EXPECT_EQ(rs.field(3).value().toText(), "T");
    EXPECT_EQ(rs.field(4).value().toText(), "-2");
    EXPECT_EQ(rs.field(5).value().toText(), "1.2345");
    EXPECT_EQ(rs.field(6).value().toText(), "first memo");
    rs.MoveNext();
    EXPECT_TRUE(rs.field(0).value().isNull());  // NULL in the file
    EXPECT_TRUE(rs.field(2).value().isNull());  // an empty date reads as null
    EXPECT_EQ(rs.field(0).ActualSize(), 0);
    EXPECT_THROW(rs.field("NOPE"), EngineError);
    EXPECT_THROW(rs.field(7), EngineError);
}

TEST_F(RecordsetApi, AggregatesIgnoreNullsAndNullsSortFirst) {
    auto sums = query("SELECT SUM(AMOUNT) AS S, COUNT(AMOUNT) AS C, COUNT(*) AS N, MIN(AMOUNT) AS LO FROM DATA.DBF");
    EXPECT_EQ(sums[1], (Row{"9.50", "2", "3", "-3.00"}));
    auto ordered = query("SELECT AMOUNT FROM DATA.DBF ORDER BY 1");
    EXPECT_EQ(ordered[1][0], ".NULL.");
    EXPECT_EQ(ordered[2][0], "-3.00");
}

TEST_F(RecordsetApi, TableModeAssignmentIsPersistedAtOnce) {
    Recordset table;
    table.Open(folder + "DATA.DBF", connection, engine::adOpenStatic, engine::adLockOptimistic, engine::adCmdTable);
    EXPECT_EQ(table.RecordCount(), 3);
    table.MoveNext();
    table.field("NAME").setValue(text("Änne"));
    table.field("NOTE").setValue(text("a longer memo written later"));
    EXPECT_EQ(table.field("NAME").value().toText(), "Änne");
    table.Update();
    EXPECT_EQ(table.field("NAME").value().toText(), "Änne        ");
    table.field("QTY").setValue(text("x"));
    EXPECT_THROW(table.Update(), EngineError);  // text does not go into an integer field
    table.Close();

    auto rows = query("SELECT NAME, NOTE FROM DATA.DBF WHERE QTY = 7");
    EXPECT_EQ(rows[1], (Row{"Änne        ", "a longer memo written later"}));
    auto read = runPython("import dbfread,sys\n"
                          "r=list(dbfread.DBF(sys.argv[1], encoding='cp1252'))[1]\n"
                          "print(r['NAME'].rstrip()+'|'+r['NOTE'])\n",
                          {folder + "DATA.DBF"});
    EXPECT_EQ(read.exitStatus, 0) << read.err;
    EXPECT_EQ(read.out, "Änne|a longer memo written later\n");
}

TEST_F(RecordsetApi, QueryResultsAreReadOnly) {
    Recordset rs;
    rs.Open("SELECT NAME FROM DATA.DBF", connection, engine::adOpenStatic, engine::adLockReadOnly);
    EXPECT_THROW(rs.field(0).setValue(text("x")), EngineError);
}

TEST_F(QueryFixture, CodePageTextIsGroupedByItsBytesAndReadAsUtf8) {
    makeTable("RU.DBF", {{"CITY", 'C', 10}},
              {{text("Москва")}, {text("Київ")}, {text("Москва")}, {text("Abc")}},
              engine::dbf::TableFormat::VisualFoxPro, 1251);
    auto rows = query("SELECT CITY, COUNT(*) AS N FROM RU.DBF GROUP BY 1 ORDER BY 1");
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1], (Row{"Abc       ", "1"}));
    // cp1251: К (0xCA) before М (0xCC).
    EXPECT_EQ(rows[2], (Row{"Київ      ", "1"}));
    EXPECT_EQ(rows[3], (Row{"Москва    ", "2"}));
    EXPECT_EQ(query("SELECT CITY FROM RU.DBF WHERE CITY = 'Київ'").size(), 2u);
}

}  // namespace
}  // namespace vantrep::tests
