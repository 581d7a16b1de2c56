// Outside checks: tables written by python3-dbf read by us with the values it
// was given, and tables written by us read by python3-dbfread with the values
// we gave. Both run through /usr/bin/python3 (the Debian packages live there).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/dbf/DbfTable.h"
#include "engine/dbf/DbfWriter.h"
#include "engine/support/RunProgram.h"
#include "engine/support/TempDir.h"

using namespace vantrep::engine;
using namespace vantrep::engine::dbf;
using vantrep::tests::ProgramResult;
using vantrep::tests::runPython;
using vantrep::tests::TempDir;

namespace {

constexpr int32_t jdn2004_03_07 = 2453072;
constexpr int32_t jdn1999_12_31 = 2451544;
constexpr int64_t msPerDayTest = 86400000;

Value dec(Int128 units, int scale) { return Value::decimal(Decimal{units, scale}); }

// Prints every record of the table argv[1] as dbfread sees it, one per line.
const char* dbfreadDump = R"(
import sys, dbfread
table = dbfread.DBF(sys.argv[1], char_decode_errors='strict')
print(table.encoding)
for record in table:
    print(repr([value for name, value in record.items() if name != '_NullFlags']))
)";

std::string dumpWithDbfread(const std::string& path) {
    ProgramResult result = runPython(dbfreadDump, {path});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    return result.out;
}

}  // namespace

TEST(DbfOutsidePythonDbf, VisualFoxProTableWithMemoNullCurrencyAndDatetime) {
    TempDir dir;
    // Nullable fields first: python3-dbf numbers null bits by field position,
    // which agrees with Visual FoxPro's numbering only for such a prefix.
    ProgramResult made = runPython(R"(
import sys, datetime, decimal, dbf
t = dbf.Table(sys.argv[1] + '/vfp.dbf',
    'NOTE C(10) NULL; QTY N(6,2) NULL; NAME C(12); AMOUNT Y; STAMP T; COUNT I; RATIO B; MEMO M; BORN D; OK L',
    dbf_type='vfp', codepage='cp1252')
t.open(dbf.READ_WRITE)
t.append((dbf.Null, dbf.Null, 'Zoë', decimal.Decimal('1.2345'), datetime.datetime(2004, 3, 7, 13, 45, 30),
          -2, 0.5, 'hello memo', datetime.date(2004, 3, 7), True))
t.append(('x', 12.5, 'b', decimal.Decimal('-7'), None, 2147483646, -1.25, 'm' * 300, None, False))
t.append(('y', dbf.Null, 'c', decimal.Decimal('0.0001'), datetime.datetime(1999, 12, 31, 23, 59, 59), 0, 1e100, '',
          datetime.date(1999, 12, 31), False))
t.close()
)", {dir.path()});
    ASSERT_EQ(made.exitStatus, 0) << made.err;

    auto t = DbfTable::open(dir.file("vfp.dbf"));
    ASSERT_EQ(t->recordCount(), 3u);
    ASSERT_EQ(t->fields().size(), 10u);
    EXPECT_EQ(t->codePage(), 1252);
    EXPECT_TRUE(t->value(0, 0).isNull());
    EXPECT_TRUE(t->value(0, 1).isNull());
    EXPECT_EQ(t->decode(t->value(0, 2).asString()), "Zoë         ");
    EXPECT_EQ(t->value(0, 3), dec(12345, 4));
    EXPECT_EQ(t->value(0, 4), Value::dateTime(int64_t(jdn2004_03_07) * msPerDayTest + 49530000));
    EXPECT_EQ(t->value(0, 5), Value::integer(-2));
    EXPECT_EQ(t->value(0, 6), Value::real(0.5));
    EXPECT_EQ(t->value(0, 7), Value::string("hello memo"));
    EXPECT_EQ(t->value(0, 8), Value::date(jdn2004_03_07));
    EXPECT_EQ(t->value(0, 9), Value::logical(true));

    EXPECT_EQ(t->value(1, 0), Value::string("x         "));
    EXPECT_EQ(t->value(1, 1), dec(1250, 2));
    EXPECT_EQ(t->value(1, 3), dec(-70000, 4));
    EXPECT_EQ(t->value(1, 4), Value::dateTime(0));
    EXPECT_EQ(t->value(1, 5), Value::integer(2147483646));
    EXPECT_EQ(t->value(1, 6), Value::real(-1.25));
    EXPECT_EQ(t->value(1, 7), Value::string(std::string(300, 'm')));
    EXPECT_EQ(t->value(1, 8), Value::date(0));
    EXPECT_EQ(t->value(1, 9), Value::logical(false));

    EXPECT_EQ(t->value(2, 0), Value::string("y         "));
    EXPECT_TRUE(t->value(2, 1).isNull());
    EXPECT_EQ(t->value(2, 3), dec(1, 4));
    EXPECT_EQ(t->value(2, 4), Value::dateTime(int64_t(jdn1999_12_31) * msPerDayTest + 86399000));
    EXPECT_EQ(t->value(2, 6), Value::real(1e100));
    EXPECT_EQ(t->value(2, 7), Value::string(""));
    EXPECT_EQ(t->value(2, 8), Value::date(jdn1999_12_31));
}

TEST(DbfOutsidePythonDbf, DBase3TableWithDbtMemoAndCyrillicTable) {
    TempDir dir;
    ProgramResult made = runPython(R"(
import sys, datetime, dbf
t = dbf.Table(sys.argv[1] + '/d3.dbf', 'NAME C(10); QTY N(8,3); NOTES M; BORN D; OK L', dbf_type='db3')
t.open(dbf.READ_WRITE)
t.append(('abc', 1.5, 'memo text', datetime.date(1999, 12, 31), True))
t.append(('', -0.125, 'q' * 700, None, False))
t.append(('last', 0, '', datetime.date(2004, 3, 7), None))
t.close()
t = dbf.Table(sys.argv[1] + '/ru.dbf', 'NAME C(12)', dbf_type='vfp', codepage='cp1251')
t.open(dbf.READ_WRITE)
t.append(('Привет мир',))
t.close()
)", {dir.path()});
    ASSERT_EQ(made.exitStatus, 0) << made.err;

    auto t = DbfTable::open(dir.file("d3.dbf"));
    ASSERT_EQ(t->recordCount(), 3u);
    EXPECT_EQ(t->version(), 0x83);
    EXPECT_EQ(t->value(0, 0), Value::string("abc       "));
    EXPECT_EQ(t->value(0, 1), dec(1500, 3));
    EXPECT_EQ(t->value(0, 2), Value::string("memo text"));
    EXPECT_EQ(t->value(0, 3), Value::date(jdn1999_12_31));
    EXPECT_EQ(t->value(0, 4), Value::logical(true));
    EXPECT_EQ(t->value(1, 1), dec(-125, 3));
    EXPECT_EQ(t->value(1, 2), Value::string(std::string(700, 'q')));
    EXPECT_EQ(t->value(1, 3), Value::date(0));
    EXPECT_EQ(t->value(2, 0), Value::string("last      "));
    EXPECT_EQ(t->value(2, 1), dec(0, 3));
    EXPECT_EQ(t->value(2, 2), Value::string(""));
    EXPECT_EQ(t->value(2, 3), Value::date(jdn2004_03_07));
    EXPECT_EQ(t->value(2, 4), Value::logical(false));

    auto ru = DbfTable::open(dir.file("ru.dbf"));
    EXPECT_EQ(ru->codePage(), 1251);
    EXPECT_EQ(ru->decode(ru->value(0, 0).asString()), "Привет мир  ");
}

TEST(DbfOutsideDbfread, ReadsOurVisualFoxProTable) {
    TempDir dir;
    DbfWriter::create(dir.file("vfp.dbf"), {{"NOTE", 'C', 10, 0, true}, {"QTY", 'N', 8, 2, true}, {"NAME", 'C', 12},
                                            {"PRICE", 'Y'}, {"STAMP", 'T'}, {"COUNT", 'I'}, {"RATIO", 'B'},
                                            {"MEMO", 'M'}, {"BORN", 'D'}, {"OK", 'L'}, {"SCORE", 'F', 6, 1}});
    {
        DbfWriter w(dir.file("vfp.dbf"));
        w.append({Value::null(), Value::null(), Value::string("Zoë"), dec(12345, 4),
                  Value::dateTime(int64_t(jdn2004_03_07) * msPerDayTest + 49530000), Value::integer(-2), Value::real(0.5),
                  Value::string("hello memo"), Value::date(jdn2004_03_07), Value::logical(true), dec(-35, 1)});
        w.append({Value::string("x"), dec(-1250, 2), Value::string(""), Value::integer(-7), Value::dateTime(0),
                  Value::integer(2147483647), Value::real(-1.25), Value::string(std::string(200, 'w')), Value::date(0),
                  Value::logical(false)});
        w.append({Value::string("gone")});
        w.assign(2, 7, Value::string("assigned memo"));
        w.assign(2, 1, dec(9999999, 2));
        w.setDeleted(1, true);
    }
    // dbfread ignores _NullFlags: NULLs show as blanks (None for numbers), and it
    // skips deleted records.
    std::string expected =
        "cp1252\n"
        "['', None, 'Zoë', Decimal('1.2345'), datetime.datetime(2004, 3, 7, 13, 45, 30), -2, 0.5, 'hello memo', "
        "datetime.date(2004, 3, 7), True, -3.5]\n"
        "['gone', 99999.99, '', Decimal('0'), None, 0, 0.0, 'assigned memo', None, None, None]\n";
    EXPECT_EQ(dumpWithDbfread(dir.file("vfp.dbf")), expected);

    ProgramResult deleted = runPython(R"(
import sys, dbfread
deleted = list(dbfread.DBF(sys.argv[1]).deleted)
print(len(deleted), deleted[0]['MEMO'] == 'w' * 200, deleted[0]['QTY'])
)", {dir.file("vfp.dbf")});
    EXPECT_EQ(deleted.out, "1 True -12.5\n") << deleted.err;
}

TEST(DbfOutsideDbfread, ReadsOurDBase3TableWithDbt) {
    TempDir dir;
    DbfWriter::create(dir.file("D3.DBF"), {{"NAME", 'C', 8}, {"NOTES", 'M'}, {"QTY", 'N', 7, 2}, {"ON", 'D'}, {"OK", 'L'}},
                      TableFormat::DBase3);
    DbfWriter(dir.file("D3.DBF"))
        .appendMany({{Value::string("first"), Value::string("memo text"), dec(150, 2), Value::date(jdn1999_12_31),
                      Value::logical(true)},
                     {Value::string("second"), Value::string(std::string(1500, 'z')), dec(-5, 2)},
                     {Value::string("third"), Value::string("")}});
    std::string expected =
        "cp1252\n"
        "['first', 'memo text', 1.5, datetime.date(1999, 12, 31), True]\n"
        "['second', '" + std::string(1500, 'z') + "', -0.05, None, None]\n"
        "['third', None, None, None, None]\n";
    EXPECT_EQ(dumpWithDbfread(dir.file("D3.DBF")), expected);
}

TEST(DbfOutsideDbfread, ReadsOurCyrillicAndDosTables) {
    TempDir dir;
    DbfWriter::create(dir.file("ru.dbf"), {{"NAME", 'C', 12}, {"NOTES", 'M'}}, TableFormat::VisualFoxPro, 1251);
    DbfWriter(dir.file("ru.dbf")).append({Value::string("Привет"), Value::string("Съешь же ещё этих булок")});
    DbfWriter::create(dir.file("dos.dbf"), {{"NAME", 'C', 14}, {"NOTES", 'M'}}, TableFormat::DBase3, 850);
    DbfWriter(dir.file("dos.dbf")).append({Value::string("Müller Ñandú ½"), Value::string("Größe")});
    EXPECT_EQ(dumpWithDbfread(dir.file("ru.dbf")), "cp1251\n['Привет', 'Съешь же ещё этих булок']\n");
    EXPECT_EQ(dumpWithDbfread(dir.file("dos.dbf")), "cp850\n['Müller Ñandú ½', 'Größe']\n");
}
