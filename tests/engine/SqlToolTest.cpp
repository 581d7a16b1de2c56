// vantrep-sql, run as a program: its exact TSV output, UPDATE counts written
// to the file, error and usage exits.
#include <filesystem>
#include <string>
#include <tuple>
#include <utility>
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

Value number(int64_t units, int scale) { return Value::decimal(Decimal{units, scale}); }
Value date(int y, int m, int d) { return Value::date(engine::julianDay(y, m, d)); }
Value dateTime(int y, int m, int d, int h, int min, int s) {
    int64_t ms = ((h * 60 + min) * 60 + s) * 1000;
    return Value::dateTime(int64_t(engine::julianDay(y, m, d)) * engine::msPerDay + ms);
}

std::string repeatedText(const std::string& text, int times) {
    std::string repeated;
    for (int i = 0; i < times; ++i) repeated += text;
    return repeated;
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

// A header, then one line per record: character values keep their blank
// padding, other characters come out as UTF-8, numbers carry the decimals of
// their column (doubles those of the field), empty dates and NULL fields print
// as .NULL., and tabs, newlines, returns and backslashes are escaped.
TEST_F(SqlToolTest, SelectPrintsHeaderThenOneLinePerRecord) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {  // arguments, standard output
        {{folder_, "SELECT * FROM ITEMS"},
         "NAME\tQTY\tID\tRATE\tPRICE\tBORN\tSTAMP\tOK\tNOTE\tAMOUNT\n"
         "ab        \t12.50\t-2\t0.500\t1.2345\t2004-03-07\t2004-03-07 13:45:30\tT\tx           \t3.10\n"
         "Caf\xC3\xA9      \t-0.05\t100\t2.250\t-3.0000\t.NULL.\t.NULL.\tF\t.NULL.\t.NULL.\n"
         "a\\tb\\\\c\\r\\nd  \t0.00\t0\t-1.125\t0.0000\t2024-02-29\t2024-02-29 00:00:00\tF\ttab\\there    \t1234.50\n"},
        {{folder_, "SELECT SUM(QTY) AS TOTAL, ROUND(SUM(QTY),0) AS ROUNDED, ROUND(SUM(AMOUNT),1) AS ONE FROM ITEMS"},
         "TOTAL\tROUNDED\tONE\n12.45\t12\t1237.6\n"},
        {{folder_, "SELECT NAME, QTY FROM ITEMS WHERE 1=0"}, "NAME\tQTY\n"},  // an empty result: only the header
        {{folder_ + "/", "SELECT ID FROM ITEMS.DBF"}, "ID\n-2\n100\n0\n"},   // the folder may end with a slash
        {{folder_, "SELECT ID FROM ITEMS WHERE ID = 7" + repeatedText(" OR ID = 100", 300)}, "ID\n100\n"},
    };
    for (const auto& [args, out] : cases) {
        ProgramResult r = tool(args);
        EXPECT_EQ(r.exitStatus, 0) << args[1] << "\n" << r.err;
        EXPECT_EQ(r.err, "") << args[1];
        EXPECT_EQ(r.out, out) << args[1];
    }
}

TEST_F(SqlToolTest, DoublesPrintWithoutLossWhateverTheirFieldsDecimals) {
    const std::string path = temp_.file("RATES.DBF");
    DbfWriter::create(path, {{"NONE", 'B', 0, 0}, {"THREE", 'B', 0, 3}});
    const std::tuple<double, double, std::string> cases[] = {  // NONE, THREE, the line printed
        {0.125, 0.0625, "0.125\t0.0625"},
        {2.0, 1.5, "2\t1.500"},
        {-1e-7, 0.1, "-0.0000001\t0.100"},
        {1e20, 1234.56789, "100000000000000000000\t1234.56789"},
    };
    std::string expected = "NONE\tTHREE\n";
    std::vector<std::vector<Value>> rows;
    for (const auto& [none, three, line] : cases) {
        rows.push_back({Value::real(none), Value::real(three)});
        expected += line + "\n";
    }
    DbfWriter(path).appendMany(rows);
    ProgramResult r = tool({folder_, "SELECT * FROM RATES"});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.out, expected);
}

// UPDATE, in any case and after blanks, prints the count of changed records
// and changes the file; matching nothing leaves it as it was.
TEST_F(SqlToolTest, UpdatePrintsTheCountAndChangesTheFile) {
    const std::tuple<const char*, const char*, const char*> cases[] = {  // statement, output, QTY on disk
        {"UPDATE ITEMS SET QTY = 1 WHERE ID = 100", "1\n", "12.50 1.00 0.00\n"},
        {" \n update items set qty = 2.5", "3\n", "2.50 2.50 2.50\n"},
        {"Update ITEMS SET QTY = 9 WHERE 1=0", "0\n", "12.50 -0.05 0.00\n"},
    };
    for (const auto& [statement, out, quantities] : cases) {
        writeItems();
        ProgramResult r = tool({folder_, statement});
        EXPECT_EQ(r.exitStatus, 0) << statement << "\n" << r.err;
        EXPECT_EQ(r.out, out) << statement;
        EXPECT_EQ(quantitiesOnDisk(), quantities) << statement;
    }
}

// Engine errors and a missing folder go to standard error, naming what is
// wrong, with status 1; wrong usage prints the usage with status 2.
TEST_F(SqlToolTest, ErrorsGoToStandardError) {
    const std::string usage = "usage: vantrep-sql FOLDER \"STATEMENT\"\n";
    // Arguments, exit status, and what standard error names (for status 2: all it holds).
    const std::tuple<std::vector<std::string>, int, std::string> cases[] = {
        {{folder_, "SELECT * FROM NOSUCH"}, 1, "NOSUCH"}, {{folder_, "SELECT NOFIELD FROM ITEMS"}, 1, "NOFIELD"},
        {{folder_, "SELEC * FROM ITEMS"}, 1, "SELEC"}, {{folder_ + "/absent", "SELECT * FROM ITEMS"}, 1, "absent"},
        {{}, 2, usage}, {{folder_}, 2, usage}, {{folder_, "SELECT * FROM ITEMS", "extra"}, 2, usage},
        {{"", "SELECT * FROM ITEMS"}, 2, usage},
    };
    for (const auto& [args, status, named] : cases) {
        SCOPED_TRACE(args.size() > 1 ? args[0] + " " + args[1] : std::to_string(args.size()) + " arguments");
        ProgramResult r = tool(args);
        EXPECT_EQ(r.exitStatus, status);
        EXPECT_EQ(r.out, "");
        if (status == 2) EXPECT_EQ(r.err, usage);
        else EXPECT_TRUE(r.err.ends_with("\n") && r.err.find(named) != std::string::npos) << r.err;
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
def cell(f, v):
    if v is None: return '.NULL.'
    if f.type == 'C': return v.ljust(f.length)
    if f.type == 'N': return '%.*f' % (f.decimal_count, v)
    if f.type == 'D': return v.isoformat()
    sys.exit('unexpected field type ' + f.type)
expected = ['\t'.join(f.name for f in table.fields)]
expected += ['\t'.join(cell(f, record[f.name]) for f in table.fields) for record in table] + ['']
actual = open(sys.argv[2], encoding='utf-8', newline='').read().split('\n')
if len(actual) != len(expected): sys.exit('%d lines, expected %d' % (len(actual), len(expected)))
for number, (a, e) in enumerate(zip(actual, expected), 1):
    if a != e: sys.exit('line %d: %r, expected %r' % (number, a, e))
)",
                                    {sample.string(), temp_.file("sample.tsv")});
    EXPECT_EQ(check.exitStatus, 0) << check.err;
}

}  // namespace
}  // namespace vantrep::tests
