// The shipped sample report folders (samples/summary, samples/detailed): they
// are what their generator makes, their structure files describe the intended
// reports, their tables carry every field the fixed-format reports read and
// run those reports' statements, and an outside reader sees the same values.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "bench/ReportSampleFolders.h"
#include "bench/ReportSampleGenerator.h"
#include "engine/Connection.h"
#include "engine/Recordset.h"
#include "engine/support/RunProgram.h"
#include "engine/support/TempDir.h"

namespace vantrep::tests {
namespace {

namespace fs = std::filesystem;
using engine::Value;

const fs::path samples = fs::path(VANTREP_SAMPLE_TABLE).parent_path().parent_path();
const fs::path summaryFolder = samples / "summary";
const fs::path detailedFolder = samples / "detailed";

// Field names as the fixed-format reports write them.
const std::vector<std::string> report1Fields = {
    "medianame", "manufact", "brand",     "subbrand",  "product", "group",      "date",
    "time",      "color",    "Medialevel", "Position", "Total_Ads", "ad_type", "ad_desc",
    "main_typo", "Prog_name", "size_durn", "language", "page_break", "amt_usd", "space"};
const std::vector<std::string> report2Fields = {
    "date",     "media_name", "timest", "prog_name", "timebrk", "typology", "timestart", "timeend", "time_durn",
    "break",    "product",    "brand",  "addesc",    "adtp",    "lang",     "reel_durn", "pricedoll"};

std::string report1Query(const std::string& table) {
    return std::string("SELECT *, ") + "IIf(time<>' ',Time,color) as Pb," +
           "IIf(Medialevel='Television' Or Medialevel='Radio' Or Medialevel='Outdoor' Or "
           "Medialevel='Cinema',Position,' ') as Pos," +
           "IIf(Medialevel='Television' Or Medialevel='Radio' Or Medialevel='Outdoor'Or "
           "Medialevel='Cinema',Total_Ads,' ') as TolAd," +
           "IIf(ad_type<>' ',Trim(ad_desc)+ '(' + Trim(ad_type)+')',ad_desc) as ad_dest," +
           "IIf(main_typo<>' ',Trim(Prog_name)+ ' '+'('+Trim(main_typo)+')',prog_name) as main_type " + "FROM [" +
           table + "] " + "ORDER BY medianame, manufact, brand, subbrand, product, group, date, time";
}

std::string report2Query(const std::string& table) {
    return std::string("SELECT * ") + "FROM [" + table + "] " +
           "ORDER BY date, media_name, timest, prog_name, timebrk";
}

std::string readFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// Every file under `folder`, by path relative to it, with its bytes.
std::map<std::string, std::string> filesUnder(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) files[fs::relative(entry.path(), folder).string()] = readFile(entry.path());
    return files;
}

std::string trimmed(const std::string& s) {
    size_t first = s.find_first_not_of(' '), last = s.find_last_not_of(' ');
    return first == std::string::npos ? "" : s.substr(first, last - first + 1);
}

class SampleFolder : public ::testing::Test {
protected:
    void open(const fs::path& folder) { connection.Open("SourceDB=" + folder.string() + "/;SourceType=DBF;"); }

    engine::Connection connection;
};

// One structure row, as the program reads it.
struct StructureRow {
    std::string name, type, layout, title;
    int length = 0, decimals = 0, level = 0, divisor = 0;
    bool showTotal = false, displayed = false;
};

std::vector<StructureRow> readStructure(engine::Connection& connection, const fs::path& path) {
    engine::Recordset rs;
    rs.Open("SELECT * FROM [" + path.string() + "]", connection, engine::adOpenStatic);
    std::vector<StructureRow> rows;
    for (; !rs.Eof(); rs.MoveNext()) {
        StructureRow r;
        r.name = trimmed(rs.field("FName").value().asString());
        r.type = rs.field("FType").value().asString();
        r.layout = trimmed(rs.field("Layout").value().asString());
        r.title = trimmed(rs.field("Title").value().asString());
        r.length = static_cast<int>(rs.field("FLen").value().asInteger());
        r.decimals = static_cast<int>(rs.field("FDec").value().asInteger());
        r.level = static_cast<int>(rs.field("Level").value().asInteger());
        r.divisor = static_cast<int>(rs.field("Divisor").value().asInteger());
        r.showTotal = rs.field("ShowTotal").value().asLogical();
        r.displayed = rs.field("Displayed").value().asLogical();
        rows.push_back(r);
    }
    return rows;
}

std::map<std::string, StructureRow> byName(const std::vector<StructureRow>& rows) {
    std::map<std::string, StructureRow> map;
    for (const StructureRow& r : rows) map[r.name] = r;
    return map;
}

// The structure has one row per field of the data table, in its order, with
// the table's type and width; decimals agree too except where FDec holds a
// column group.
void expectRowsDescribeTheTable(engine::Connection& connection, const std::vector<StructureRow>& rows) {
    engine::Recordset data;
    data.Open("SELECT * FROM DATA.DBF WHERE 1=0", connection, engine::adOpenStatic);
    engine::Fields fields = data.fields();
    ASSERT_EQ(rows.size(), static_cast<size_t>(fields.Count()));
    for (size_t i = 0; i < rows.size(); ++i) {
        const StructureRow& r = rows[i];
        engine::Field f = fields[static_cast<int>(i)];
        EXPECT_EQ(r.name, f.Name()) << "row " << i;
        std::string expectedType = f.Type() == engine::adVarChar        ? "C"
                                   : f.Type() == engine::adNumeric      ? "N"
                                   : f.Type() == engine::adDBDate       ? "D"
                                   : f.Type() == engine::adLongVarChar ? "M"
                                                                        : "?";
        EXPECT_EQ(r.type, expectedType) << r.name;
        if (r.type == "C" || r.type == "N") {
            EXPECT_EQ(r.length, f.DefinedSize()) << r.name;
        }
        bool columnGroup = r.layout == "C" && r.level == 1;
        if (r.type == "N" && !columnGroup) {
            EXPECT_EQ(r.decimals, f.NumericScale()) << r.name;
        }
    }
}

TEST(ReportSampleTest, ShippedFoldersAreWhatTheGeneratorMakes) {
    TempDir made;
    bench::writeSummarySample(made.file("summary"), bench::summarySampleRows, bench::summarySampleSeed);
    bench::writeDetailedSample(made.file("detailed"), bench::detailedSampleRows, bench::detailedSampleSeed);
    for (const char* name : {"summary", "detailed"}) {
        std::map<std::string, std::string> fresh = filesUnder(made.file(name)), shipped = filesUnder(samples / name);
        std::set<std::string> freshNames, shippedNames;
        for (const auto& [file, bytes] : fresh) freshNames.insert(file);
        for (const auto& [file, bytes] : shipped) shippedNames.insert(file);
        EXPECT_EQ(freshNames, shippedNames) << name;
        for (const auto& [file, bytes] : fresh)
            EXPECT_TRUE(shipped.count(file) && shipped[file] == bytes)
                << "samples/" << name << "/" << file
                << " differs from the generator's output; rebuild with make_sample_reports samples";
    }
}

TEST(ReportSampleTest, SameSeedGivesTheSameRecordsAndAnotherSeedOthers) {
    bench::ReportSampleGenerator a(5), b(5), c(6);
    int different = 0;
    for (int i = 0; i < 500; ++i) {
        std::vector<Value> ra = a.next(), rb = b.next(), rc = c.next();
        ASSERT_EQ(ra, rb) << "record " << i;
        ASSERT_EQ(ra.size(), bench::ReportSampleGenerator::fields().size());
        different += ra != rc;
    }
    EXPECT_GT(different, 450);
}

TEST_F(SampleFolder, SummaryStructureHasRowsColumnGroupsPagesAndVariables) {
    open(summaryFolder);
    std::vector<StructureRow> rows = readStructure(connection, summaryFolder / bench::summaryStructureName);
    expectRowsDescribeTheTable(connection, rows);
    std::map<std::string, StructureRow> f = byName(rows);

    EXPECT_EQ(f["MEDIA"].layout, "R");
    EXPECT_EQ(f["MEDIA"].level, 1);
    EXPECT_EQ(f["BRAND"].layout, "R");
    EXPECT_EQ(f["BRAND"].level, 2);
    // The first column group is MONTH (numeric, FDec 0); WEEKDAY heads the second (FDec 2).
    EXPECT_EQ(f["MONTH"].layout, "C");
    EXPECT_EQ(f["MONTH"].type, "N");
    EXPECT_EQ(f["MONTH"].level, 1);
    EXPECT_EQ(f["MONTH"].decimals, 0);
    EXPECT_EQ(f["WEEKDAY"].layout, "C");
    EXPECT_EQ(f["WEEKDAY"].level, 1);
    EXPECT_EQ(f["WEEKDAY"].decimals, 2);
    EXPECT_EQ(f["CHANNEL"].layout, "P");
    EXPECT_EQ(f["LANGUAGE"].layout, "P");

    std::vector<std::string> variables(3);
    int totals = 0, divided = 0;
    for (const StructureRow& r : rows) {
        if (r.layout != "N") continue;
        ASSERT_GE(r.level, 1) << r.name;
        ASSERT_LE(r.level, 3) << r.name;
        EXPECT_EQ(r.type, "N") << r.name;
        variables[static_cast<size_t>(r.level - 1)] = r.name;
        totals += r.showTotal;
        divided += r.divisor > 0;
    }
    EXPECT_EQ(variables, (std::vector<std::string>{"SPEND", "SPOTS", "DURATION"}));
    EXPECT_EQ(f["SPEND"].length, 12);
    EXPECT_EQ(f["SPEND"].decimals, 2);
    EXPECT_GE(totals, 1);
    EXPECT_LT(totals, 3);
    EXPECT_GE(divided, 1);
    EXPECT_LT(divided, 3);

    int placed = 0, titled = 0;
    for (const StructureRow& r : rows) {
        placed += !r.layout.empty();
        titled += !r.title.empty();
    }
    EXPECT_EQ(placed, 9) << "the other fields have a blank Layout";
    EXPECT_EQ(titled, 1);
}

TEST_F(SampleFolder, DetailedStructureHasGroupsColumnOrderAndClips) {
    open(detailedFolder);
    std::vector<StructureRow> rows = readStructure(connection, detailedFolder / bench::detailedStructureName);
    expectRowsDescribeTheTable(connection, rows);
    std::map<std::string, StructureRow> f = byName(rows);

    // Explicit column order: unique, 1 .. n, only on displayed fields (so the
    // program keeps it as it is).
    std::map<int, StructureRow> byDivisor;
    for (const StructureRow& r : rows) {
        if (r.divisor == 0) continue;
        EXPECT_TRUE(r.displayed) << r.name << " has a column order but is not displayed";
        EXPECT_TRUE(byDivisor.emplace(r.divisor, r).second) << "column order " << r.divisor << " used twice";
    }
    int displayed = 0;
    for (const StructureRow& r : rows) displayed += r.displayed;
    ASSERT_GE(displayed, 5);
    EXPECT_EQ(byDivisor.size(), static_cast<size_t>(displayed)) << "every displayed field has its order";
    EXPECT_EQ(byDivisor.rbegin()->first, displayed);

    // The first two columns group the listing.
    EXPECT_EQ(byDivisor[1].level, 1);
    EXPECT_EQ(byDivisor[2].level, 2);
    for (const auto& [order, r] : byDivisor)
        if (order > 2) {
            EXPECT_EQ(r.level, 0) << r.name;
        }

    bool date = false, decimals = false;
    for (const auto& [order, r] : byDivisor) {
        date = date || r.type == "D";
        decimals = decimals || (r.type == "N" && r.decimals > 0);
    }
    EXPECT_TRUE(date);
    EXPECT_TRUE(decimals);
    ASSERT_TRUE(f.count("CLIPDET"));
    EXPECT_FALSE(f["CLIPDET"].displayed);
    EXPECT_TRUE(f["AD_TYPE"].displayed);

    int titled = 0;
    for (const StructureRow& r : rows) titled += !r.title.empty();
    EXPECT_EQ(titled, 1);
}

TEST_F(SampleFolder, TablesCarryEveryFieldOfBothFixedReports) {
    for (const fs::path& folder : {summaryFolder, detailedFolder}) {
        engine::Connection c;
        c.Open("SourceDB=" + folder.string() + "/;SourceType=DBF;");
        engine::Recordset rs;
        rs.Open("SELECT * FROM DATA.DBF", c, engine::adOpenStatic);
        std::vector<std::string> all = report1Fields;
        all.insert(all.end(), report2Fields.begin(), report2Fields.end());
        for (const char* crossTab : {"MEDIA", "CHANNEL", "MONTH", "WEEKDAY", "DURATION", "SPOTS", "SPEND", "CLIPDET",
                                     "AD_TYPE", "NOTES"})
            all.push_back(crossTab);
        for (const std::string& name : all) EXPECT_GE(rs.fields().indexOf(name), 0) << folder << ": " << name;
        // Compared with blanks or printed as "hh:mm:ss" text, so character.
        for (const char* text : {"time", "color", "Position", "Total_Ads", "ad_type", "main_typo", "timebrk"})
            EXPECT_EQ(rs.field(text).Type(), engine::adVarChar) << folder << ": " << text;
        EXPECT_EQ(rs.field("ad_desc").Type(), engine::adVarChar);
        EXPECT_EQ(rs.field("NOTES").Type(), engine::adLongVarChar);
        EXPECT_EQ(rs.field("date").Type(), engine::adDBDate);
        EXPECT_EQ(rs.field("amt_usd").Type(), engine::adNumeric);
    }
}

TEST_F(SampleFolder, FixedReportStatementsReturnEveryRecord) {
    for (const fs::path& folder : {summaryFolder, detailedFolder}) {
        uint64_t rows = folder == summaryFolder ? bench::summarySampleRows : bench::detailedSampleRows;
        engine::Connection c;
        c.Open("SourceDB=" + folder.string() + "/;SourceType=DBF;");

        engine::Recordset report1;
        report1.Open(report1Query("DATA.DBF"), c, engine::adOpenStatic);
        EXPECT_EQ(report1.RecordCount(), static_cast<int64_t>(rows)) << folder;
        int typed = 0, timed = 0;
        for (; !report1.Eof(); report1.MoveNext()) {
            std::string desc = trimmed(report1.field("ad_desc").value().asString());
            std::string type = trimmed(report1.field("ad_type").value().asString());
            std::string time = trimmed(report1.field("time").value().asString());
            std::string pb = trimmed(report1.field("Pb").value().asString());
            std::string adDest = trimmed(report1.field("ad_dest").value().asString());
            EXPECT_EQ(adDest, type.empty() ? desc : desc + "(" + type + ")");
            EXPECT_EQ(pb, time.empty() ? trimmed(report1.field("color").value().asString()) : time);
            typed += !type.empty();
            timed += !time.empty();
            if (::testing::Test::HasFailure()) break;
        }
        EXPECT_GT(typed, 0);
        EXPECT_GT(timed, 0);

        engine::Recordset report2;
        report2.Open(report2Query("DATA.DBF"), c, engine::adOpenStatic);
        EXPECT_EQ(report2.RecordCount(), static_cast<int64_t>(rows)) << folder;
    }
}

// The engine's values of a few records, written as hexadecimal UTF-8 so that
// memos with line breaks pass unharmed, and compared in Python with what
// dbfread reads.
TEST_F(SampleFolder, OutsideReaderSeesTheEngineValues) {
    for (const fs::path& folder : {summaryFolder, detailedFolder}) {
        engine::Connection c;
        c.Open("SourceDB=" + folder.string() + "/;SourceType=DBF;");
        engine::Recordset rs;
        rs.Open("SELECT * FROM DATA.DBF", c, engine::adOpenStatic);
        std::ostringstream dump;
        int notes = 0;
        for (int64_t record = 0; !rs.Eof(); rs.MoveNext(), ++record) {
            bool withNote = !rs.field("NOTES").value().asString().empty() && notes++ < 5;
            if (record % 97 != 0 && !withNote) continue;
            for (int i = 0; i < rs.fields().Count(); ++i) {
                Value v = rs.field(i).value();
                std::string text = v.isNull() ? "" : v.toText();
                std::ostringstream hex;
                for (unsigned char byte : text) hex << std::hex << (byte >> 4) << (byte & 15);
                dump << record << '\t' << rs.field(i).Name() << '\t' << hex.str() << '\n';
            }
        }
        TempDir temp;
        temp.write("engine.tsv", dump.str());
        ProgramResult r = runPython(R"(
import sys, datetime, decimal, dbfread
table = list(dbfread.DBF(sys.argv[1], encoding='cp1252', char_decode_errors='strict'))
problems, checked = [], 0
for line in open(sys.argv[2]):
    record, name, value = line.rstrip('\n').split('\t')
    engine = bytes.fromhex(value).decode('utf-8')
    outside = table[int(record)][name]
    if outside is None: outside = ''
    if isinstance(outside, datetime.date): same = engine == outside.isoformat()
    elif isinstance(outside, (int, float)): same = decimal.Decimal(engine) == decimal.Decimal(str(outside))
    else: same = engine.rstrip(' ') == outside.rstrip(' ')
    if not same: problems.append('record %s %s: engine %r, dbfread %r' % (record, name, engine, outside))
    checked += 1
if checked < 500: problems.append('only %d values compared' % checked)
sys.exit('\n'.join(problems[:20]) if problems else 0)
)",
                                    {(folder / "DATA.DBF").string(), temp.file("engine.tsv")});
        EXPECT_EQ(r.exitStatus, 0) << folder << "\n" << r.err;
        EXPECT_EQ(notes > 0, true) << folder << ": no record has a note";
    }
}

// The data as an outside reader sees it: the format, fields that repeat one
// another under the two reports' names, times and media details that fit
// together, skewed brands, clips present on disk, and small folders.
TEST(ReportSampleTest, SampleDataIsConsistentAndBelievable) {
    ProgramResult r = runPython(R"(
import sys, os, re, collections, dbfread
problems = []
def check(folder, with_clips):
    path = os.path.join(folder, 'DATA.DBF')
    header = open(path, 'rb').read(32)
    if header[0] != 0x30: problems.append('%s: version byte %#x' % (path, header[0]))
    if header[29] != 0x03: problems.append('%s: code page mark %#x' % (path, header[29]))
    records = list(dbfread.DBF(path, encoding='cp1252', char_decode_errors='strict'))
    clock = re.compile(r'^([01]\d|2[0-3]):[0-5]\d:[0-5]\d$')
    brands, clips, notes = collections.Counter(), 0, 0
    for n, r in enumerate(records):
        where = '%s record %d' % (folder, n)
        for a, b in [('CHANNEL', 'MEDIANAME'), ('CHANNEL', 'MEDIA_NAME'), ('SPEND', 'AMT_USD'),
                     ('SPEND', 'PRICEDOLL'), ('AD_DESC', 'ADDESC'), ('AD_TYPE', 'ADTP'),
                     ('DURATION', 'REEL_DURN'), ('MAIN_TYPO', 'TYPOLOGY'), ('TIMEST', 'TIMESTART')]:
            if r[a] != r[b]: problems.append('%s: %s %r but %s %r' % (where, a, r[a], b, r[b]))
        if r['MONTH'] != r['DATE'].month: problems.append('%s: MONTH %r' % (where, r['MONTH']))
        if r['WEEKDAY'] != r['DATE'].isoweekday() % 7 + 1: problems.append('%s: WEEKDAY %r' % (where, r['WEEKDAY']))
        broadcast = r['MEDIA'] in ('TV', 'RADIO', 'CINEMA')
        for f in ('TIME', 'TIMEBRK', 'TIMESTART', 'TIMEEND', 'TIME_DURN'):
            if broadcast != bool(clock.match(r[f])) or (not broadcast and r[f]):
                problems.append('%s: %s %r on %s' % (where, f, r[f], r['MEDIA']))
        if broadcast and not r['TIMEBRK'] <= r['TIME']: problems.append('%s: spot before its break' % where)
        if broadcast and not r['TIMESTART'] <= r['TIMEBRK'] <= r['TIMEEND']:
            problems.append('%s: break outside its programme' % where)
        if (r['MEDIA'] == 'PRESS') != (r['COLOR'] in ('COLOUR', 'B/W')): problems.append('%s: COLOR %r' % (where, r['COLOR']))
        if r['MEDIA'] in ('PRESS', 'OUTDOOR') and r['DURATION'] != 0: problems.append('%s: DURATION' % where)
        if r['MEDIA'] != 'PRESS' and not 1 <= int(r['POSITION']) <= int(r['TOTAL_ADS']):
            problems.append('%s: position %r of %r' % (where, r['POSITION'], r['TOTAL_ADS']))
        if not r['BRAND'] or not r['SUBBRAND'].startswith(r['BRAND'] + ' '): problems.append('%s: SUBBRAND' % where)
        if r['SPEND'] <= 0 or r['SPACE'] <= 0: problems.append('%s: SPEND %r SPACE %r' % (where, r['SPEND'], r['SPACE']))
        for f in ('MEDIA', 'BRAND', 'CHANNEL', 'LANGUAGE'):
            if any(c in r[f] for c in ',;:|"'): problems.append('%s: %s %r unfit for a dimension' % (where, f, r[f]))
        brands[r['BRAND']] += 1
        if r['CLIPDET']:
            clips += 1
            if r['MEDIA'] not in ('TV', 'CINEMA'): problems.append('%s: clip on %s' % (where, r['MEDIA']))
            if with_clips and not os.path.isfile(os.path.join(folder, r['CLIPDET'])):
                problems.append('%s: clip %s missing' % (where, r['CLIPDET']))
        notes += bool(r['NOTES'])
    if not 0.05 * len(records) <= clips <= 0.4 * len(records): problems.append('%s: %d clips' % (folder, clips))
    if not 0.03 * len(records) <= notes <= 0.3 * len(records): problems.append('%s: %d notes' % (folder, notes))
    counts = sorted(brands.values(), reverse=True)
    if counts[0] < 10 * counts[len(counts) // 2]: problems.append('%s: brands not skewed %r' % (folder, counts[:5]))
    size = sum(os.path.getsize(os.path.join(d, f)) for d, _, fs in os.walk(folder) for f in fs)
    if size > 4 * 2**20: problems.append('%s: %d bytes' % (folder, size))
check(os.path.join(sys.argv[1], 'summary'), False)
check(os.path.join(sys.argv[1], 'detailed'), True)
sys.exit('\n'.join(problems[:20]) if problems else 0)
)",
                                {samples.string()});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
}

}  // namespace
}  // namespace vantrep::tests
