// The shipped sample report folders (samples/summary, samples/detailed): they
// are what their generator makes, their structure files describe the intended
// reports, their tables carry every field the fixed-format reports read and
// run those reports' statements, and an outside reader sees the same values.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
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

// The fixed-format reports' statements.
const std::string report1Query =
    "SELECT *, IIf(time<>' ',Time,color) as Pb,"
    "IIf(Medialevel='Television' Or Medialevel='Radio' Or Medialevel='Outdoor' Or Medialevel='Cinema',Position,' ') "
    "as Pos,IIf(Medialevel='Television' Or Medialevel='Radio' Or Medialevel='Outdoor'Or "
    "Medialevel='Cinema',Total_Ads,' ') as TolAd,"
    "IIf(ad_type<>' ',Trim(ad_desc)+ '(' + Trim(ad_type)+')',ad_desc) as ad_dest,"
    "IIf(main_typo<>' ',Trim(Prog_name)+ ' '+'('+Trim(main_typo)+')',prog_name) as main_type "
    "FROM [DATA.DBF] ORDER BY medianame, manufact, brand, subbrand, product, group, date, time";
const std::string report2Query = "SELECT * FROM [DATA.DBF] ORDER BY date, media_name, timest, prog_name, timebrk";

// Every file under `folder`, by path relative to it, with its bytes.
std::map<std::string, std::string> filesUnder(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream file(entry.path(), std::ios::binary);
        files[fs::relative(entry.path(), folder).string()] = std::string(std::istreambuf_iterator<char>(file), {});
    }
    return files;
}

std::string trimmed(const std::string& s) {
    size_t first = s.find_first_not_of(' '), last = s.find_last_not_of(' ');
    return first == std::string::npos ? "" : s.substr(first, last - first + 1);
}

void open(engine::Connection& connection, const fs::path& folder) {
    connection.Open("SourceDB=" + folder.string() + "/;SourceType=DBF;");
}

// One structure row, as the program reads it.
struct StructureRow {
    std::string name, type, layout, title;
    int length = 0, decimals = 0, level = 0, divisor = 0;
    bool showTotal = false, displayed = false;
};

// The structure file `name` of `folder`, checked to have one row per field
// of the data table, in its order, with the table's type and width; decimals
// agree too except where FDec holds a column group.
std::vector<StructureRow> readStructure(const fs::path& folder, const char* name) {
    engine::Connection connection;
    open(connection, folder);
    engine::Recordset rs, data;
    rs.Open("SELECT * FROM [" + (folder / name).string() + "]", connection, engine::adOpenStatic);
    std::vector<StructureRow> rows;
    for (; !rs.Eof(); rs.MoveNext()) {
        auto text = [&](const char* field) { return trimmed(rs.field(field).value().asString()); };
        auto number = [&](const char* field) { return static_cast<int>(rs.field(field).value().asInteger()); };
        rows.push_back({text("FName"), rs.field("FType").value().asString(), text("Layout"), text("Title"),
                        number("FLen"), number("FDec"), number("Level"), number("Divisor"),
                        rs.field("ShowTotal").value().asLogical(), rs.field("Displayed").value().asLogical()});
    }
    data.Open("SELECT * FROM DATA.DBF WHERE 1=0", connection, engine::adOpenStatic);
    engine::Fields fields = data.fields();
    EXPECT_EQ(rows.size(), static_cast<size_t>(fields.Count()));
    for (size_t i = 0; i < rows.size() && i < static_cast<size_t>(fields.Count()); ++i) {
        const StructureRow& r = rows[i];
        engine::Field f = fields[static_cast<int>(i)];
        EXPECT_EQ(r.name, f.Name()) << "row " << i;
        const std::map<int, std::string> types = {{engine::adVarChar, "C"}, {engine::adNumeric, "N"},
                                                  {engine::adDBDate, "D"}, {engine::adLongVarChar, "M"}};
        EXPECT_EQ(r.type, types.count(f.Type()) ? types.at(f.Type()) : "?") << r.name;
        if (r.type == "C" || r.type == "N") {
            EXPECT_EQ(r.length, f.DefinedSize()) << r.name;
        }
        if (r.type == "N" && !(r.layout == "C" && r.level == 1)) {
            EXPECT_EQ(r.decimals, f.NumericScale()) << r.name;
        }
    }
    return rows;
}

std::map<std::string, StructureRow> byName(const std::vector<StructureRow>& rows) {
    std::map<std::string, StructureRow> map;
    for (const StructureRow& r : rows) map[r.name] = r;
    return map;
}

TEST(ReportSampleTest, ShippedFoldersAreWhatTheGeneratorMakes) {
    TempDir made;
    bench::writeSummarySample(made.file("summary"), bench::summarySampleRows, bench::summarySampleSeed);
    bench::writeDetailedSample(made.file("detailed"), bench::detailedSampleRows, bench::detailedSampleSeed);
    for (const char* name : {"summary", "detailed"}) {
        std::map<std::string, std::string> fresh = filesUnder(made.file(name)), shipped = filesUnder(samples / name);
        for (const auto& [file, bytes] : shipped)
            EXPECT_TRUE(fresh.count(file)) << "samples/" << name << "/" << file << " is not made by the generator";
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

// Rows MEDIA then BRAND; column groups MONTH (numeric, FDec 0: the first
// group) and WEEKDAY (FDec 2: the second); pages CHANNEL and LANGUAGE; the
// variables SPEND, SPOTS and DURATION, some with totals and divisors.
TEST(ReportSampleTest, SummaryStructureHasRowsColumnGroupsPagesAndVariables) {
    std::vector<StructureRow> rows = readStructure(summaryFolder, bench::summaryStructureName);
    std::map<std::string, StructureRow> f = byName(rows);
    for (auto [name, layout, level] : {std::tuple{"MEDIA", "R", 1}, {"BRAND", "R", 2}, {"MONTH", "C", 1},
                                       {"WEEKDAY", "C", 1}, {"CHANNEL", "P", -1}, {"LANGUAGE", "P", -1}}) {
        EXPECT_EQ(f[name].layout, layout) << name;
        if (level >= 0) {
            EXPECT_EQ(f[name].level, level) << name;
        }
    }
    EXPECT_EQ(f["MONTH"].type, "N");
    EXPECT_EQ(f["MONTH"].decimals, 0);
    EXPECT_EQ(f["WEEKDAY"].decimals, 2);
    EXPECT_EQ(f["SPEND"].length, 12);
    EXPECT_EQ(f["SPEND"].decimals, 2);

    std::vector<std::string> variables(3);
    int totals = 0, divided = 0, placed = 0, titled = 0;
    for (const StructureRow& r : rows) {
        placed += !r.layout.empty();
        titled += !r.title.empty();
        if (r.layout != "N") continue;
        ASSERT_TRUE(r.level >= 1 && r.level <= 3) << r.name << " level " << r.level;
        EXPECT_EQ(r.type, "N") << r.name;
        variables[static_cast<size_t>(r.level - 1)] = r.name;
        totals += r.showTotal;
        divided += r.divisor > 0;
    }
    EXPECT_EQ(variables, (std::vector<std::string>{"SPEND", "SPOTS", "DURATION"}));
    EXPECT_TRUE(totals >= 1 && totals < 3) << totals;
    EXPECT_TRUE(divided >= 1 && divided < 3) << divided;
    EXPECT_EQ(placed, 9) << "the other fields have a blank Layout";
    EXPECT_EQ(titled, 1);
}

// Explicit column order: unique, 1 .. n, only on displayed fields (so the
// program keeps it as it is); the first two columns group the listing.
TEST(ReportSampleTest, DetailedStructureHasGroupsColumnOrderAndClips) {
    std::vector<StructureRow> rows = readStructure(detailedFolder, bench::detailedStructureName);
    std::map<std::string, StructureRow> f = byName(rows);
    std::map<int, StructureRow> byDivisor;
    int displayed = 0, titled = 0;
    for (const StructureRow& r : rows) {
        displayed += r.displayed;
        titled += !r.title.empty();
        if (r.divisor == 0) continue;
        EXPECT_TRUE(r.displayed) << r.name << " has a column order but is not displayed";
        EXPECT_TRUE(byDivisor.emplace(r.divisor, r).second) << "column order " << r.divisor << " used twice";
    }
    ASSERT_GE(displayed, 5);
    EXPECT_EQ(byDivisor.size(), static_cast<size_t>(displayed)) << "every displayed field has its order";
    EXPECT_EQ(byDivisor.begin()->first, 1);
    EXPECT_EQ(byDivisor.rbegin()->first, displayed);
    EXPECT_EQ(titled, 1);
    bool date = false, decimals = false;
    for (const auto& [order, r] : byDivisor) {
        EXPECT_EQ(r.level, order <= 2 ? order : 0) << r.name;
        date = date || r.type == "D";
        decimals = decimals || (r.type == "N" && r.decimals > 0);
    }
    EXPECT_TRUE(date);
    EXPECT_TRUE(decimals);
    ASSERT_TRUE(f.count("CLIPDET"));
    EXPECT_FALSE(f["CLIPDET"].displayed);
    EXPECT_TRUE(f["AD_TYPE"].displayed);
}

// Both tables carry every field of both fixed-format reports and of the
// cross-tab, run the reports' statements on every record, and read as an
// outside reader reads them.
TEST(ReportSampleTest, TablesServeBothFixedReports) {
    std::vector<std::string> all = report1Fields;
    all.insert(all.end(), report2Fields.begin(), report2Fields.end());
    all.insert(all.end(), {"MEDIA", "CHANNEL", "MONTH", "WEEKDAY", "DURATION", "SPOTS", "SPEND", "CLIPDET",
                           "AD_TYPE", "NOTES"});
    for (const fs::path& folder : {summaryFolder, detailedFolder}) {
        SCOPED_TRACE(folder);
        engine::Connection c;
        open(c, folder);
        engine::Recordset rs;
        rs.Open("SELECT * FROM DATA.DBF", c, engine::adOpenStatic);
        for (const std::string& name : all) EXPECT_GE(rs.fields().indexOf(name), 0) << name;
        // Compared with blanks or printed as "hh:mm:ss" text, so character.
        for (const char* text :
             {"time", "color", "Position", "Total_Ads", "ad_type", "main_typo", "timebrk", "ad_desc"})
            EXPECT_EQ(rs.field(text).Type(), engine::adVarChar) << text;
        EXPECT_EQ(rs.field("NOTES").Type(), engine::adLongVarChar);
        EXPECT_EQ(rs.field("date").Type(), engine::adDBDate);
        EXPECT_EQ(rs.field("amt_usd").Type(), engine::adNumeric);

        int64_t rows = folder == summaryFolder ? bench::summarySampleRows : bench::detailedSampleRows;
        engine::Recordset report1, report2;
        report1.Open(report1Query, c, engine::adOpenStatic);
        report2.Open(report2Query, c, engine::adOpenStatic);
        EXPECT_EQ(report1.RecordCount(), rows);
        EXPECT_EQ(report2.RecordCount(), rows);
        int typed = 0, timed = 0;
        for (; !report1.Eof() && !::testing::Test::HasFailure(); report1.MoveNext()) {
            auto text = [&](const char* field) { return trimmed(report1.field(field).value().asString()); };
            std::string desc = text("ad_desc"), type = text("ad_type"), time = text("time");
            EXPECT_EQ(text("ad_dest"), type.empty() ? desc : desc + "(" + type + ")");
            EXPECT_EQ(text("Pb"), time.empty() ? text("color") : time);
            typed += !type.empty();
            timed += !time.empty();
        }
        EXPECT_GT(typed, 0);
        EXPECT_GT(timed, 0);

        // The engine's values of a few records, written as hexadecimal UTF-8
        // so that memos with line breaks pass unharmed, and compared in Python
        // with what dbfread reads.
        std::ostringstream dump;
        int notes = 0;
        for (int64_t record = 0; !rs.Eof(); rs.MoveNext(), ++record) {
            bool withNote = !rs.field("NOTES").value().asString().empty() && notes++ < 5;
            if (record % 97 != 0 && !withNote) continue;
            for (int i = 0; i < rs.fields().Count(); ++i) {
                Value v = rs.field(i).value();
                dump << record << '\t' << rs.field(i).Name() << '\t';
                for (unsigned char byte : v.isNull() ? "" : v.toText()) dump << std::hex << (byte >> 4) << (byte & 15);
                dump << std::dec << '\n';
            }
        }
        EXPECT_GT(notes, 0) << "no record has a note";
        TempDir temp;
        temp.write("engine.tsv", dump.str());
        ProgramResult r = runPython(R"(
import sys, datetime, decimal, dbfread
table = list(dbfread.DBF(sys.argv[1], encoding='cp1252', char_decode_errors='strict'))
problems, checked = [], 0
for line in open(sys.argv[2]):
    record, name, value = line.rstrip('\n').split('\t')
    engine, outside = bytes.fromhex(value).decode('utf-8'), table[int(record)][name]
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
        EXPECT_EQ(r.exitStatus, 0) << r.err;
    }
}

// The data as an outside reader sees it: the format, fields that repeat one
// another under the two reports' names, times and media details that fit
// together, skewed brands, clips present on disk, and small folders.
TEST(ReportSampleTest, SampleDataIsConsistentAndBelievable) {
    ProgramResult r = runPython(R"(
import sys, os, re, collections, dbfread
problems = []
def expect(ok, what):
    if not ok: problems.append(what)
def check(folder, with_clips):
    path = os.path.join(folder, 'DATA.DBF')
    header = open(path, 'rb').read(32)
    expect(header[0] == 0x30 and header[29] == 0x03,
           '%s: version byte %#x, code page mark %#x' % (path, header[0], header[29]))
    records = list(dbfread.DBF(path, encoding='cp1252', char_decode_errors='strict'))
    clock = re.compile(r'^([01]\d|2[0-3]):[0-5]\d:[0-5]\d$')
    brands, clips, notes = collections.Counter(), 0, 0
    for n, r in enumerate(records):
        where = '%s record %d: ' % (folder, n)
        for a, b in [('CHANNEL', 'MEDIANAME'), ('CHANNEL', 'MEDIA_NAME'), ('SPEND', 'AMT_USD'),
                     ('SPEND', 'PRICEDOLL'), ('AD_DESC', 'ADDESC'), ('AD_TYPE', 'ADTP'),
                     ('DURATION', 'REEL_DURN'), ('MAIN_TYPO', 'TYPOLOGY'), ('TIMEST', 'TIMESTART')]:
            expect(r[a] == r[b], where + '%s %r but %s %r' % (a, r[a], b, r[b]))
        expect(r['MONTH'] == r['DATE'].month, where + 'MONTH %r' % r['MONTH'])
        expect(r['WEEKDAY'] == r['DATE'].isoweekday() % 7 + 1, where + 'WEEKDAY %r' % r['WEEKDAY'])
        broadcast = r['MEDIA'] in ('TV', 'RADIO', 'CINEMA')
        for f in ('TIME', 'TIMEBRK', 'TIMESTART', 'TIMEEND', 'TIME_DURN'):
            expect(bool(clock.match(r[f])) if broadcast else not r[f], where + '%s %r on %s' % (f, r[f], r['MEDIA']))
        expect(not broadcast or r['TIMEBRK'] <= r['TIME'], where + 'spot before its break')
        expect(not broadcast or r['TIMESTART'] <= r['TIMEBRK'] <= r['TIMEEND'], where + 'break outside its programme')
        expect((r['MEDIA'] == 'PRESS') == (r['COLOR'] in ('COLOUR', 'B/W')), where + 'COLOR %r' % r['COLOR'])
        expect(r['MEDIA'] not in ('PRESS', 'OUTDOOR') or r['DURATION'] == 0, where + 'DURATION')
        expect(r['MEDIA'] == 'PRESS' or 1 <= int(r['POSITION']) <= int(r['TOTAL_ADS']),
               where + 'position %r of %r' % (r['POSITION'], r['TOTAL_ADS']))
        expect(r['BRAND'] and r['SUBBRAND'].startswith(r['BRAND'] + ' '), where + 'SUBBRAND')
        expect(r['SPEND'] > 0 and r['SPACE'] > 0, where + 'SPEND %r SPACE %r' % (r['SPEND'], r['SPACE']))
        for f in ('MEDIA', 'BRAND', 'CHANNEL', 'LANGUAGE'):
            expect(not any(c in r[f] for c in ',;:|"'), where + '%s %r unfit for a dimension' % (f, r[f]))
        brands[r['BRAND']] += 1
        clips, notes = clips + bool(r['CLIPDET']), notes + bool(r['NOTES'])
        if r['CLIPDET']:
            expect(r['MEDIA'] in ('TV', 'CINEMA'), where + 'clip on ' + r['MEDIA'])
            expect(not with_clips or os.path.isfile(os.path.join(folder, r['CLIPDET'])),
                   where + 'clip %s missing' % r['CLIPDET'])
    expect(0.05 * len(records) <= clips <= 0.4 * len(records), '%s: %d clips' % (folder, clips))
    expect(0.03 * len(records) <= notes <= 0.3 * len(records), '%s: %d notes' % (folder, notes))
    counts = sorted(brands.values(), reverse=True)
    expect(counts[0] >= 10 * counts[len(counts) // 2], '%s: brands not skewed %r' % (folder, counts[:5]))
    size = sum(os.path.getsize(os.path.join(d, f)) for d, _, fs in os.walk(folder) for f in fs)
    expect(size <= 4 * 2**20, '%s: %d bytes' % (folder, size))
check(os.path.join(sys.argv[1], 'summary'), False)
check(os.path.join(sys.argv[1], 'detailed'), True)
sys.exit('\n'.join(problems[:20]) if problems else 0)
)",
                                {samples.string()});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
}

}  // namespace
}  // namespace vantrep::tests
