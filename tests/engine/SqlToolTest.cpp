// vantrep-sql, run as a program: its exact TSV output, UPDATE counts written
// to the file, error and usage exits.
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/Value.h"
#include "engine/dbf/DbfWriter.h"
#include "engine/support/RunProgram.h"
#include "engine/support/TempDir.h"

namespace vantrep::tests {
namespace {

namespace fs = std::filesystem;
using engine::Decimal;
using engine::Value;
using engine::dbf::DbfWriter;
using engine::dbf::FieldSpec;

const std::string usageText = "usage: vantrep-sql FOLDER \"STATEMENT\"\n";

Value number(int64_t units, int scale) { return Value::decimal(Decimal{units, scale}); }
Value date(int y, int m, int d) { return Value::date(engine::julianDay(y, m, d)); }
Value dateTime(int y, int m, int d, int h, int min, int s) {
    int64_t ms = ((h * 60 + min) * 60 + s) * 1000;
    return Value::dateTime(int64_t(engine::julianDay(y, m, d)) * engine::msPerDay + ms);
}

class SqlToolTest : public ::testing::Test {
protected:
    void SetUp() override { writeItems(); }

    // ITEMS.DBF: one field of each kind the tool formats differently.
    void writeItems() {
        std::string path = temp_.file("ITEMS.DBF");
        DbfWriter::create(path, {{"NAME", 'C', 10}, {"QTY", 'N', 6, 2}, {"ID", 'I'}, {"RATE", 'B', 0, 3},
                                 {"PRICE", 'Y'}, {"BORN", 'D'}, {"STAMP", 'T'}, {"OK", 'L'},
                                 {"NOTE", 'C', 12, 0, true}, {"AMOUNT", 'N', 8, 2, true}});
        DbfWriter writer(path);
        writer.append({Value::string("ab"), number(1250, 2), Value::integer(-2), Value::real(0.5),
                       number(12345, 4), date(2004, 3, 7), dateTime(2004, 3, 7, 13, 45, 30), Value::logical(true),
                       Value::string("x"), number(310, 2)});
        writer.append({Value::string("Café"), number(-5, 2), Value::integer(100), Value::real(2.25),
                       number(-30000, 4), Value::date(0), Value::dateTime(0), Value::logical(false), Value::null(),
                       Value::null()});
        writer.append({Value::string("a\tb\\c\r\nd"), number(0, 2), Value::integer(0), Value::real(-1.125),
                       number(0, 4), date(2024, 2, 29), dateTime(2024, 2, 29, 0, 0, 0), Value::logical(false),
                       Value::string("tab\there"), number(123450, 2)});
    }

    ProgramResult tool(const std::vector<std::string>& args) {
        std::vector<std::string> argv = {VANTREP_SQL_TOOL};
        argv.insert(argv.end(), args.begin(), args.end());
        return runProgram(argv);
    }
    ProgramResult sql(const std::string& statement) { return tool({folder_, statement}); }

    // QTY of every record, read by an outside program.
    std::string quantitiesOnDisk() {
        ProgramResult r = runPython(
            "import sys, dbfread\n"
            "table = dbfread.DBF(sys.argv[1], encoding='cp1252', ignore_missing_memofile=True)\n"
            "print(' '.join('%.2f' % r['QTY'] for r in table))\n",
            {temp_.file("ITEMS.DBF")});
        EXPECT_EQ(r.exitStatus, 0) << r.err;
        return r.out;
    }

    TempDir temp_;
    const std::string folder_ = temp_.path();
};

TEST_F(SqlToolTest, PrintsHeaderThenOneLinePerRecord) {
    ProgramResult r = sql("SELECT * FROM ITEMS");
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "NAME\tQTY\tID\tRATE\tPRICE\tBORN\tSTAMP\tOK\tNOTE\tAMOUNT\n"
              "ab        \t12.50\t-2\t0.500\t1.2345\t2004-03-07\t2004-03-07 13:45:30\tT\tx           \t3.10\n"
              "Café      \t-0.05\t100\t2.250\t-3.0000\t.NULL.\t.NULL.\tF\t.NULL.\t.NULL.\n"
              "a\\tb\\\\c\\r\\nd  \t0.00\t0\t-1.125\t0.0000\t2024-02-29\t2024-02-29 00:00:00\tF\t"
              "tab\\there    \t1234.50\n");
}

TEST_F(SqlToolTest, CharacterValuesKeepTheirBlankPadding) {
    ProgramResult r = sql("SELECT NAME, NOTE FROM ITEMS WHERE ID < 0");
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.out, "NAME\tNOTE\nab        \tx           \n");
}

TEST_F(SqlToolTest, NonAsciiCharactersComeOutAsUtf8) {
    ProgramResult r = sql("SELECT NAME FROM ITEMS WHERE ID = 100");
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.out, "NAME\nCaf\xC3\xA9      \n");
}

TEST_F(SqlToolTest, NumbersCarryTheDecimalsOfTheirColumn) {
    ProgramResult r = sql("SELECT SUM(QTY) AS TOTAL, ROUND(SUM(QTY),0) AS ROUNDED, ROUND(SUM(AMOUNT),1) AS ONE "
                          "FROM ITEMS");
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.out, "TOTAL\tROUNDED\tONE\n12.45\t12\t1237.6\n");
}

TEST_F(SqlToolTest, DoublesArePrintedWithTheFieldsDecimals) {
    ProgramResult r = sql("SELECT RATE FROM ITEMS");
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.out, "RATE\n0.500\n2.250\n-1.125\n");
}

TEST_F(SqlToolTest, EmptyDatesAndNullFieldsPrintAsNull) {
    ProgramResult r = sql("SELECT BORN, STAMP, NOTE, AMOUNT FROM ITEMS WHERE ID = 100");
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.out, "BORN\tSTAMP\tNOTE\tAMOUNT\n.NULL.\t.NULL.\t.NULL.\t.NULL.\n");
}

TEST_F(SqlToolTest, TabsNewlinesReturnsAndBackslashesAreEscaped) {
    ProgramResult r = sql("SELECT NAME, NOTE FROM ITEMS WHERE ID = 0");
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.out, "NAME\tNOTE\na\\tb\\\\c\\r\\nd  \ttab\\there    \n");
}

TEST_F(SqlToolTest, EmptyResultPrintsOnlyTheHeader) {
    ProgramResult r = sql("SELECT NAME, QTY FROM ITEMS WHERE 1=0");
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.out, "NAME\tQTY\n");
}

TEST_F(SqlToolTest, FolderMayEndWithASlash) {
    ProgramResult r = tool({folder_ + "/", "SELECT ID FROM ITEMS.DBF"});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.out, "ID\n-2\n100\n0\n");
}

TEST_F(SqlToolTest, UpdatePrintsTheCountAndChangesTheFile) {
    ProgramResult r = sql("UPDATE ITEMS SET QTY = 1 WHERE ID = 100");
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.out, "1\n");
    EXPECT_EQ(quantitiesOnDisk(), "12.50 1.00 0.00\n");
}

TEST_F(SqlToolTest, UpdateIsRecognisedInAnyCaseAfterBlanks) {
    ProgramResult r = sql(" \n update items set qty = 2.5");
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.out, "3\n");
    EXPECT_EQ(quantitiesOnDisk(), "2.50 2.50 2.50\n");
}

TEST_F(SqlToolTest, UpdateMatchingNothingPrintsZeroAndLeavesTheFile) {
    ProgramResult r = sql("Update ITEMS SET QTY = 9 WHERE 1=0");
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.out, "0\n");
    EXPECT_EQ(quantitiesOnDisk(), "12.50 -0.05 0.00\n");
}

TEST_F(SqlToolTest, EngineErrorsGoToStandardErrorWithStatusOne) {
    struct Case {
        std::string statement, named;  // `named`: what the description must mention
    };
    for (const Case& c : std::vector<Case>{{"SELECT * FROM NOSUCH", "NOSUCH"},
                                           {"SELECT NOFIELD FROM ITEMS", "NOFIELD"},
                                           {"SELEC * FROM ITEMS", ""}}) {
        SCOPED_TRACE(c.statement);
        ProgramResult r = sql(c.statement);
        EXPECT_EQ(r.exitStatus, 1);
        EXPECT_EQ(r.out, "");
        ASSERT_FALSE(r.err.empty());
        EXPECT_EQ(r.err.back(), '\n');
        std::string upper = r.err;
        for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        EXPECT_NE(upper.find(c.named), std::string::npos) << r.err;
    }
}

TEST_F(SqlToolTest, MissingFolderIsAnErrorNamingIt) {
    ProgramResult r = tool({folder_ + "/absent", "SELECT * FROM ITEMS"});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("absent"), std::string::npos) << r.err;
}

TEST_F(SqlToolTest, WrongUsagePrintsUsageWithStatusTwo) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {}, {folder_}, {folder_, "SELECT * FROM ITEMS", "extra"}, {"", "SELECT * FROM ITEMS"}}) {
        SCOPED_TRACE(args.size());
        ProgramResult r = tool(args);
        EXPECT_EQ(r.exitStatus, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, usageText);
    }
}

// The whole shipped sample, printed by the tool and, independently, by
// dbfread; both must agree to the byte.
TEST_F(SqlToolTest, PrintsTheSampleTableAsAnOutsideReaderSeesIt) {
    fs::path sample = VANTREP_SAMPLE_TABLE;
    ProgramResult r = tool({sample.parent_path().string(), "SELECT * FROM " + sample.filename().string()});
    ASSERT_EQ(r.exitStatus, 0) << r.err;
    temp_.write("sample.tsv", r.out);

    ProgramResult check = runPython(R"(
import sys, dbfread
table = dbfread.DBF(sys.argv[1], encoding='cp1252', char_decode_errors='strict')
lines = ['\t'.join(f.name for f in table.fields)]
for record in table:
    cells = []
    for f in table.fields:
        v = record[f.name]
        if v is None: cells.append('.NULL.')
        elif f.type == 'C': cells.append(v.ljust(f.length))
        elif f.type == 'N': cells.append('%.*f' % (f.decimal_count, v))
        elif f.type == 'D': cells.append(v.isoformat())
        else: sys.exit('unexpected field type ' + f.type)
    lines.append('\t'.join(cells))
actual = open(sys.argv[2], encoding='utf-8', newline='').read().split('\n')
expected = lines + ['']
if len(actual) != len(expected): sys.exit('%d lines, expected %d' % (len(actual), len(expected)))
for number, (a, e) in enumerate(zip(actual, expected), 1):
    if a != e: sys.exit('line %d: %r, expected %r' % (number, a, e))
)",
                                    {sample.string(), temp_.file("sample.tsv")});
    EXPECT_EQ(check.exitStatus, 0) << check.err;
}

}  // namespace
}  // namespace vantrep::tests
