// Writing tables: the bytes our writer puts in headers, records and memo
// files, round trips of every type through writer and reader, in-place
// changes, and the values it refuses.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/EngineError.h"
#include "engine/dbf/DbfTable.h"
#include "engine/dbf/DbfWriter.h"
#include "engine/support/TempDir.h"

using namespace vantrep::engine;
using namespace vantrep::engine::dbf;
using vantrep::tests::TempDir;

namespace {

constexpr int32_t jdn2004_03_07 = 2453072;
constexpr int64_t msPerDayTest = 86400000;

std::string le16(unsigned v) { return std::string{char(v & 0xFF), char(v >> 8 & 0xFF)}; }
std::string le32(uint32_t v) { return le16(v & 0xFFFF) + le16(v >> 16); }
std::string be16(unsigned v) { return std::string{char(v >> 8 & 0xFF), char(v & 0xFF)}; }
std::string be32(uint32_t v) { return be16(v >> 16) + be16(v & 0xFFFF); }

// Today as a header stores it: year (dBASE counts from 1900, Visual FoxPro
// within the century), month, day.
std::string today(bool dBase) {
    std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    return {char(dBase ? t.tm_year : (t.tm_year + 1900) % 100), char(t.tm_mon + 1), char(t.tm_mday)};
}

// The first 19 bytes of a field descriptor.
std::string descriptor(std::string name, char type, uint32_t displacement, int length, int decimals, int flags) {
    name.resize(11, '\0');
    return name + type + le32(displacement) + char(length) + char(decimals) + char(flags);
}

// `file` holds each of the given byte strings at its offset.
void expectBytes(const std::string& file, const std::vector<std::pair<size_t, std::string>>& expected) {
    for (const auto& [offset, bytes] : expected)
        EXPECT_EQ(offset <= file.size() ? file.substr(offset, bytes.size()) : "", bytes) << "at byte " << offset;
}

// The table holds exactly these records; a record may give fewer values than
// there are fields.
void expectValues(const DbfTable& table, const std::vector<std::vector<Value>>& records) {
    ASSERT_EQ(table.recordCount(), records.size());
    for (uint32_t r = 0; r < records.size(); ++r)
        for (int f = 0; f < int(records[r].size()); ++f)
            EXPECT_EQ(table.value(r, f), records[r][f])
                << "record " << r << ", field " << table.fields()[f].name << ": " << table.value(r, f).toText();
}

Value dec(Int128 units, int scale) { return Value::decimal(Decimal{units, scale}); }

// Runs `action`, which must throw the EngineError `number` whose description
// holds each of `mentions`.
template <typename F>
void expectError(F action, int number, const std::vector<std::string>& mentions = {}) {
    try {
        action();
        ADD_FAILURE() << "no error; expected error " << number;
    } catch (const EngineError& e) {
        EXPECT_EQ(e.number(), number) << e.description();
        for (const std::string& text : mentions)
            EXPECT_NE(e.description().find(text), std::string::npos) << e.description() << "\nlacks " << text;
    }
}

const std::vector<FieldSpec> everyVfpType = {
    {"NAME", 'C', 10}, {"QTY", 'N', 8, 2}, {"SCORE", 'F', 6, 1}, {"BORN", 'D'},  {"OK", 'L'},
    {"NOTES", 'M'},    {"COUNT", 'I'},     {"PRICE", 'Y'},       {"RATIO", 'B', 0, 3}, {"STAMP", 'T'},
};

}  // namespace

TEST(DbfWriteLayout, VisualFoxProHeaderBytes) {
    TempDir dir;
    DbfWriter::create(dir.file("t.dbf"), {{"name", 'C', 10}, {"QTY", 'N', 6, 2, true}, {"NOTES", 'M', 0, 0, true}});
    std::string b = dir.read("t.dbf");
    const size_t headerLength = 32 + 4 * 32 + 1 + 263;  // three fields and _NullFlags
    EXPECT_EQ(b.size(), headerLength + 1);
    expectBytes(b, {{0, "\x30"}, {1, today(false) + le32(0) + le16(headerLength) + le16(1 + 10 + 6 + 4 + 1)},
                    {28, "\x02\x03"},  // has a memo; code page 1252
                    // The name upper-cased; no decimals for C: readers take them as a length's high byte.
                    {32, descriptor("NAME", 'C', 1, 10, 0, 0)},
                    {64, descriptor("QTY", 'N', 11, 6, 2, 0x02)},  // nullable
                    {96, descriptor("NOTES", 'M', 17, 4, 0, 0x02)},
                    {128, descriptor("_NullFlags", '0', 21, 1, 0, 0x05)},
                    {160, "\x0D"}, {161, std::string(263, '\0') + "\x1A"}});  // free table: empty backlink
    // The memo file: the next block is the first after the 512-byte header; blocks of 64 bytes.
    std::string fpt = dir.read("t.fpt");
    EXPECT_EQ(fpt.size(), 512u);
    expectBytes(fpt, {{0, be32(8)}, {6, be16(64)}});
}

TEST(DbfWriteLayout, DBase3HeaderAndDbtMemo) {
    TempDir dir;
    DbfWriter::create(dir.file("D3.DBF"), {{"NAME", 'C', 5}, {"NOTES", 'M'}, {"QTY", 'N', 4, 1}}, TableFormat::DBase3);
    {
        DbfWriter writer(dir.file("D3.DBF"));
        writer.append({Value::string("ab"), Value::string("memo text"), dec(25, 1)});
        writer.append({Value::string("cd"), Value::string(std::string(600, 'x'))});
    }
    std::string b = dir.read("D3.DBF");
    const size_t headerLength = 32 + 3 * 32 + 1;
    EXPECT_EQ(b.size(), headerLength + 2 * 20 + 1);
    expectBytes(b, {{0, "\x83"}, {1, today(true) + le32(2) + le16(headerLength)},
                    {28, std::string("\0\x03", 2)},
                    {32 + 12, le32(0)},  // no displacements in dBASE descriptors
                    {64 + 16, "\x0A"},   // memo pointers are 10 ASCII digits
                    {headerLength, " ab            1 2.5 cd            2"},
                    {b.size() - 1, "\x1A"}});
    std::string dbt = dir.read("D3.DBT");  // named in the case of the table's extension
    EXPECT_EQ(dbt.size(), 2048u);
    // Blocks 1, 2 and 3 are used.
    expectBytes(dbt, {{0, le32(4)}, {512, "memo text\x1A\x1A"}, {1024, std::string(600, 'x') + "\x1A\x1A"}});
    expectValues(*DbfTable::open(dir.file("D3.DBF")),
                 {{Value::string("ab   "), Value::string("memo text"), dec(25, 1)},
                  {Value::string("cd   "), Value::string(std::string(600, 'x')), dec(0, 1)}});

    DbfWriter::create(dir.file("plain.dbf"), {{"NAME", 'C', 5}}, TableFormat::DBase3);
    EXPECT_EQ(dir.read("plain.dbf")[0], '\x03');  // no memo: no .dbt
    EXPECT_EQ(stampOf(dir.file("plain.dbt")), FileStamp{});
}

TEST(DbfWriteRoundTrip, EveryVisualFoxProTypeReadsBack) {
    TempDir dir;
    DbfWriter::create(dir.file("t.dbf"), everyVfpType);
    int64_t stamp = int64_t(jdn2004_03_07) * msPerDayTest + 49530000;
    const std::vector<std::vector<Value>> rows = {
        {Value::string("Zoë"), dec(-12345, 2), dec(5, 1), Value::date(jdn2004_03_07), Value::logical(true),
         Value::string("hello memo"), Value::integer(-2), dec(12345, 4), Value::real(0.5), Value::dateTime(stamp)},
        {Value::string("ten chars!"), Value::integer(99999), Value::real(-2.26), Value::date(0), Value::logical(false),
         Value::string(""), Value::integer(2147483647), Value::integer(-7), Value::real(-1e300), Value::dateTime(0)},
        {Value::string(""), dec(1, 2), dec(0, 0), Value::date(5373484), Value::logical(false),
         Value::string(std::string(1000, 'm')), dec(-2147483648LL, 0), dec(-9223372036854775807LL, 4),
         Value::integer(3), Value::dateTime(stamp + 123)},  // milliseconds are kept
    };
    {
        DbfWriter writer(dir.file("t.dbf"));
        for (const auto& row : rows) writer.append(row);
        EXPECT_EQ(writer.recordCount(), 3u);
    }
    // What comes back differs only where the field gives the value its type,
    // width or decimals.
    std::vector<std::vector<Value>> expected = rows;
    expected[0][0] = Value::string("Zo\xEB       ");  // code page 1252
    expected[1][1] = dec(9999900, 2);
    expected[1][2] = dec(-23, 1);  // a double rounds to the field's decimals
    expected[1][7] = dec(-70000, 4);
    expected[2][0] = Value::string(std::string(10, ' '));
    expected[2][2] = dec(0, 1);
    expected[2][6] = Value::integer(-2147483648LL);
    expected[2][8] = Value::real(3);
    auto t = DbfTable::open(dir.file("t.dbf"));
    expectValues(*t, expected);
    EXPECT_EQ(t->rawBytes(1, 5), std::string(4, '\0'));  // an empty memo stores no block
    EXPECT_EQ(t->rawBytes(2, 1), "    0.01");

    // Memo blocks: "hello memo" takes block 8, the 1000 bytes blocks 9 to 24.
    std::string fpt = dir.read("t.fpt");
    EXPECT_EQ(fpt.size(), 25u * 64);
    expectBytes(fpt, {{0, be32(25)}, {8 * 64, be32(1) + be32(10)}, {9 * 64 + 4, be32(1000)}});  // 1: a text memo
}

TEST(DbfWriteRoundTrip, NullsSetTheirBitsAndBlankTheBytes) {
    TempDir dir;
    std::vector<FieldSpec> specs;
    for (const FieldSpec& s : everyVfpType) specs.push_back({s.name, s.type, s.length, s.decimals, true});
    specs.push_back({"PLAIN", 'C', 3});
    DbfWriter::create(dir.file("t.dbf"), specs);
    {
        DbfWriter writer(dir.file("t.dbf"));
        writer.append(std::vector<Value>(10, Value::null()));
        writer.append({Value::string("x"), dec(1, 0)});
    }
    auto t = DbfTable::open(dir.file("t.dbf"));
    EXPECT_EQ(t->fields()[9].nullBit, 9);
    for (int f = 0; f < 10; ++f) {
        EXPECT_TRUE(t->value(0, f).isNull()) << f;
        EXPECT_FALSE(t->value(1, f).isNull()) << f;
    }
    EXPECT_FALSE(t->isNull(0, 10));
    EXPECT_EQ(t->value(1, 2), dec(0, 1));  // blank, not NULL
    EXPECT_EQ(t->rawBytes(0, 0), std::string(10, ' '));
    EXPECT_EQ(t->rawBytes(0, 1), std::string(8, ' '));
    EXPECT_EQ(t->rawBytes(0, 6), std::string(4, '\0'));
    // Ten null bits: two bytes of _NullFlags, 0xFF 0x03 in the first record.
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(t->record(0)) + t->recordLength() - 2, 2), "\xFF\x03");
}

TEST(DbfWriteInPlace, AssignChangesOneFieldAndKeepsTheRest) {
    TempDir dir;
    DbfWriter::create(dir.file("t.dbf"), {{"NAME", 'C', 4}, {"QTY", 'N', 5, 1, true}, {"NOTES", 'M'}});
    DbfWriter writer(dir.file("t.dbf"));
    writer.append({Value::string("abcd"), dec(15, 1), Value::string("first")});
    writer.append({Value::string("efgh"), Value::null(), Value::string("second")});
    auto before = DbfTable::open(dir.file("t.dbf"));  // opened before the changes: sees them through the mapping
    size_t size = dir.read("t.dbf").size();

    writer.assign(1, 1, dec(-25, 1));
    writer.assign(0, 1, Value::null());
    writer.assign(0, 2, Value::string("replaced memo text"));
    writer.assign(1, 0, Value::string("xy"));
    writer.setDeleted(0, true);

    EXPECT_EQ(dir.read("t.dbf").size(), size);
    auto after = DbfTable::open(dir.file("t.dbf"));
    for (const DbfTable* t : {before.get(), after.get()}) {
        // The new memo is a block written after the mapping.
        expectValues(*t, {{Value::string("abcd"), Value::null(), Value::string("replaced memo text")},
                          {Value::string("xy  "), dec(-25, 1), Value::string("second")}});
        EXPECT_TRUE(t->isDeleted(0));
        EXPECT_FALSE(t->isDeleted(1));
    }
    writer.setDeleted(0, false);
    EXPECT_FALSE(before->isDeleted(0));
    // The old memo blocks stay; the new one comes after them.
    expectBytes(dir.read("t.fpt"), {{0, be32(11)}, {10 * 64 + 8, "replaced memo text"}});
}

TEST(DbfWriteInPlace, WritesUpdateTheHeaderDate) {
    TempDir dir;
    DbfWriter::create(dir.file("t.dbf"), {{"NAME", 'C', 4}});
    const std::function<void(DbfWriter&)> writes[] = {
        [](DbfWriter& w) { w.append({Value::string("a")}); },
        [](DbfWriter& w) { w.assign(0, 0, Value::string("b")); },
        [](DbfWriter& w) { w.setDeleted(0, true); },
    };
    for (int i = 0; i < 3; ++i) {
        dir.patch("t.dbf", 1, "\x01\x01\x01");
        DbfWriter writer(dir.file("t.dbf"));
        writes[i](writer);
        EXPECT_EQ(dir.read("t.dbf").substr(1, 3), today(false)) << "write " << i;
    }
}

TEST(DbfWriteAppend, FewerValuesLeaveBlanksAndAppendManyCountsOnce) {
    TempDir dir;
    DbfWriter::create(dir.file("t.dbf"), {{"NAME", 'C', 3}, {"QTY", 'N', 3}, {"ON", 'D'}, {"AT", 'T'}});
    std::vector<std::vector<Value>> rows;
    for (int i = 0; i < 3000; ++i) rows.push_back({Value::string(std::to_string(i % 1000)), Value::integer(i % 1000)});
    {
        DbfWriter writer(dir.file("t.dbf"));
        writer.append({});
        writer.appendMany(rows);
        EXPECT_EQ(writer.recordCount(), 3001u);
    }
    auto t = DbfTable::open(dir.file("t.dbf"));
    ASSERT_EQ(t->recordCount(), 3001u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(t->record(0)), t->recordLength()),
              std::string(1 + 3 + 3 + 8, ' ') + std::string(8, '\0'));
    EXPECT_EQ(t->value(2999, 0), Value::string("998"));
    EXPECT_EQ(t->value(3000, 1), dec(999, 0));
    EXPECT_EQ(dir.read("t.dbf").size(), t->headerLength() + 3001 * t->recordLength() + 1);
}

TEST(DbfWriteAppend, AFailingAppendManyLeavesTheTableAsItWas) {
    TempDir dir;
    DbfWriter::create(dir.file("t.dbf"), {{"QTY", 'N', 3}});
    DbfWriter writer(dir.file("t.dbf"));
    writer.append({Value::integer(1)});
    expectError([&] { writer.appendMany({{Value::integer(2)}, {Value::integer(3)}, {Value::integer(1000)}}); },
                errFieldTooWide);
    EXPECT_EQ(writer.recordCount(), 1u);
    auto t = DbfTable::open(dir.file("t.dbf"));
    EXPECT_EQ(t->recordCount(), 1u);
    EXPECT_EQ(dir.read("t.dbf")[t->headerLength() + t->recordLength()], '\x1A');
    writer.append({Value::integer(4)});
    EXPECT_EQ(DbfTable::open(dir.file("t.dbf"))->value(1, 0), dec(4, 0));
}

// Values that do not fit their field or have the wrong kind, a record or
// field that is not there, and too many values are refused, naming the table.
TEST(DbfWriteRefusals, ValuesThatDoNotFitOrHaveTheWrongKind) {
    TempDir dir;
    const std::string path = dir.file("t.dbf");
    DbfWriter::create(path, {{"NAME", 'C', 4}, {"PRICE", 'N', 5, 2}, {"COUNT", 'I'}, {"ON", 'D'}, {"OK", 'L'},
                             {"CASH", 'Y'}, {"AT", 'T'}});
    DbfWriter writer(path);
    expectError([&] { writer.assign(0, 0, Value::string("a")); }, errRecordset);
    writer.append({});
    expectError([&] { writer.assign(0, 7, Value::string("a")); }, errUnknownName);
    expectError([&] { writer.append(std::vector<Value>(8, Value::string("a"))); }, errTooManyArguments);
    expectError([&] { writer.setDeleted(1, true); }, errRecordset);
    const std::tuple<int, Value, int, const char*> cases[] = {  // field, value, error, what the error mentions
        {0, Value::string("abcde"), errFieldTooWide, "\"abcde\""}, {0, Value::string("Жук"), errDataTypeMismatch, "Ж"},
        {0, Value::integer(1), errDataTypeMismatch, "NAME"}, {0, Value::null(), errDataTypeMismatch, "null"},
        {1, dec(14780, 2), errFieldTooWide, "147.80"},  // "147.80" needs 6 characters
        {1, dec(1234, 3), errFieldTooWide, "1.234"},    // decimals would be lost
        {1, dec(-1000, 2), errFieldTooWide, "-10.00"}, {1, Value::string("1"), errDataTypeMismatch, "PRICE"},
        {1, Value::real(1.0 / 0.0), errFieldTooWide, "PRICE"},
        {2, Value::integer(2147483648LL), errFieldTooWide, "COUNT"},
        {2, dec(15, 1), errFieldTooWide, "1.5"}, {3, Value::dateTime(1), errDataTypeMismatch, "ON"},
        {3, Value::date(-5), errFieldTooWide, "the day number -5"}, {3, Value::date(5373485), errFieldTooWide, "ON"},
        {4, Value::integer(1), errDataTypeMismatch, "OK"}, {5, dec(123456, 5), errFieldTooWide, "CASH"},
        {6, Value::string("2004"), errDataTypeMismatch, "AT"}, {6, Value::dateTime(-1), errFieldTooWide, "AT"},
    };
    std::string before = dir.read("t.dbf");
    for (const auto& [field, value, number, mentions] : cases) {
        SCOPED_TRACE(std::to_string(field) + ": " + value.toText());
        expectError([&] { writer.assign(0, field, value); }, number, {mentions, path});
    }
    EXPECT_EQ(dir.read("t.dbf"), before);  // nothing was written

    // What does fit: the widest values, ".50" for a narrow field, dates into datetimes.
    writer.assign(0, 1, dec(-999, 2));
    writer.assign(0, 3, Value::date(jdn2004_03_07));
    writer.assign(0, 6, Value::date(jdn2004_03_07));
    writer.assign(0, 5, dec(1, 0));
    auto t = DbfTable::open(path);
    EXPECT_EQ(t->rawBytes(0, 1), "-9.99");
    EXPECT_EQ(t->value(0, 6), Value::dateTime(int64_t(jdn2004_03_07) * msPerDayTest));
    EXPECT_EQ(t->value(0, 5), dec(10000, 4));
    DbfWriter::create(dir.file("narrow.dbf"), {{"P", 'N', 3, 2}});
    DbfWriter(dir.file("narrow.dbf")).append({dec(5, 1)});
    EXPECT_EQ(DbfTable::open(dir.file("narrow.dbf"))->rawBytes(0, 0), ".50");
}

TEST(DbfWriteRefusals, IndexedAndReadOnlyTablesAreNotWritten) {
    TempDir dir;
    const std::string path = dir.file("t.dbf");
    DbfWriter::create(path, {{"NAME", 'C', 4}});
    dir.patch("t.dbf", 28, "\x01");
    expectError([&] { DbfWriter writer(path); }, errReadOnly, {".cdx", path});
    dir.patch("t.dbf", 28, std::string(1, '\0'));
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    expectError([&] { DbfWriter writer(path); }, errReadOnly, {path});
    expectError([&] { DbfWriter writer(dir.file("none.dbf")); }, errFileNotFound);
}

TEST(DbfWriteRefusals, BadDefinitions) {
    TempDir dir;
    const std::string path = dir.file("t.dbf");
    const struct {
        std::vector<FieldSpec> specs;
        int number;
        TableFormat format = TableFormat::VisualFoxPro;
        int codePage = 1252;
    } cases[] = {
        {{}, errDataTypeMismatch}, {{{"A", 'C', 0}}, errFieldTooWide}, {{{"A", 'C', 255}}, errFieldTooWide},
        {{{"A", 'N', 21}}, errFieldTooWide}, {{{"A", 'N', 4, 4}}, errFieldTooWide}, {{{"A", 'D', 7}}, errFieldTooWide},
        {{{"A", 'Z', 1}}, errDataTypeMismatch}, {{{"A", 'C', 1}, {"a", 'C', 1}}, errDataTypeMismatch},
        {{{"ELEVENCHARS", 'C', 1}}, errDataTypeMismatch}, {{{"1A", 'C', 1}}, errDataTypeMismatch},
        {{{"A", 'I'}}, errDataTypeMismatch, TableFormat::DBase3},
        {{{"A", 'C', 1, 0, true}}, errDataTypeMismatch, TableFormat::DBase3},
        {{{"A", 'C', 1}}, errNotSupported, TableFormat::VisualFoxPro, 932},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("case " + std::to_string(&c - cases));
        expectError([&] { DbfWriter::create(path, c.specs, c.format, c.codePage); }, c.number, {path});
    }
}

TEST(DbfWriteCreate, ReplacingATableLeavesOpenReadersWithTheOldOne) {
    TempDir dir;
    DbfWriter::create(dir.file("t.dbf"), {{"NAME", 'C', 4}});
    DbfWriter(dir.file("t.dbf")).append({Value::string("old")});
    auto old = DbfTable::open(dir.file("t.dbf"));
    DbfWriter::create(dir.file("t.dbf"), {{"QTY", 'N', 2}});
    EXPECT_EQ(old->value(0, 0), Value::string("old "));
    auto replaced = DbfTable::open(dir.file("t.dbf"));
    EXPECT_EQ(replaced->recordCount(), 0u);
    EXPECT_EQ(replaced->fields()[0].name, "QTY");
    EXPECT_NE(old->stamp(), replaced->stamp());
}
