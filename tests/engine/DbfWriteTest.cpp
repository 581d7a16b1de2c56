// Writing tables: the bytes our writer puts in headers, records and memo
// files, round trips of every type through writer and reader, in-place
// changes, and the values it refuses.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>
#include <string>
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

uint8_t byteAt(const std::string& bytes, size_t i) { return static_cast<uint8_t>(bytes[i]); }
uint32_t le32At(const std::string& b, size_t i) {
    return uint32_t(byteAt(b, i)) | uint32_t(byteAt(b, i + 1)) << 8 | uint32_t(byteAt(b, i + 2)) << 16 |
           uint32_t(byteAt(b, i + 3)) << 24;
}
uint32_t be32At(const std::string& b, size_t i) {
    return uint32_t(byteAt(b, i)) << 24 | uint32_t(byteAt(b, i + 1)) << 16 | uint32_t(byteAt(b, i + 2)) << 8 |
           uint32_t(byteAt(b, i + 3));
}

std::tm today() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

Value dec(Int128 units, int scale) { return Value::decimal(Decimal{units, scale}); }

// Runs `action` and returns the EngineError it throws (number -1 when none).
template <typename F>
EngineError errorOf(F action) {
    try {
        action();
    } catch (const EngineError& e) {
        return e;
    }
    return EngineError(-1, "no error");
}

const std::vector<FieldSpec> everyVfpType = {
    {"NAME", 'C', 10}, {"QTY", 'N', 8, 2}, {"SCORE", 'F', 6, 1}, {"BORN", 'D'},  {"OK", 'L'},
    {"NOTES", 'M'},    {"COUNT", 'I'},     {"PRICE", 'Y'},       {"RATIO", 'B', 0, 3}, {"STAMP", 'T'},
};

}  // namespace

TEST(DbfWriteLayout, VisualFoxProHeaderBytes) {
    TempDir dir;
    std::vector<FieldSpec> specs = {{"name", 'C', 10}, {"QTY", 'N', 6, 2, true}, {"NOTES", 'M', 0, 0, true}};
    DbfWriter::create(dir.file("t.dbf"), specs);
    std::string b = dir.read("t.dbf");
    std::tm now = today();
    EXPECT_EQ(byteAt(b, 0), 0x30);
    EXPECT_EQ(byteAt(b, 1), (now.tm_year + 1900) % 100);
    EXPECT_EQ(byteAt(b, 2), now.tm_mon + 1);
    EXPECT_EQ(byteAt(b, 3), now.tm_mday);
    EXPECT_EQ(le32At(b, 4), 0u);
    size_t headerLength = 32 + 4 * 32 + 1 + 263;  // three fields and _NullFlags
    EXPECT_EQ(byteAt(b, 8) | byteAt(b, 9) << 8, int(headerLength));
    EXPECT_EQ(byteAt(b, 10) | byteAt(b, 11) << 8, 1 + 10 + 6 + 4 + 1);
    EXPECT_EQ(byteAt(b, 28), 0x02);  // has a memo
    EXPECT_EQ(byteAt(b, 29), 0x03);  // code page 1252
    EXPECT_EQ(b.substr(32, 11), std::string("NAME\0\0\0\0\0\0\0", 11));
    EXPECT_EQ(b[32 + 11], 'C');
    EXPECT_EQ(le32At(b, 32 + 12), 1u);
    EXPECT_EQ(byteAt(b, 32 + 16), 10);
    EXPECT_EQ(byteAt(b, 32 + 17), 0);  // no decimals for C: readers take them as a length's high byte
    EXPECT_EQ(byteAt(b, 32 + 18), 0);
    EXPECT_EQ(b[64 + 11], 'N');
    EXPECT_EQ(le32At(b, 64 + 12), 11u);
    EXPECT_EQ(byteAt(b, 64 + 17), 2);
    EXPECT_EQ(byteAt(b, 64 + 18), 0x02);  // nullable
    EXPECT_EQ(b[96 + 11], 'M');
    EXPECT_EQ(byteAt(b, 96 + 16), 4);
    EXPECT_EQ(b.substr(128, 10), "_NullFlags");
    EXPECT_EQ(b[128 + 11], '0');
    EXPECT_EQ(le32At(b, 128 + 12), 21u);
    EXPECT_EQ(byteAt(b, 128 + 16), 1);
    EXPECT_EQ(byteAt(b, 128 + 18), 0x05);
    EXPECT_EQ(byteAt(b, 160), 0x0D);
    EXPECT_EQ(b.substr(161, 263), std::string(263, '\0'));  // free table: empty backlink
    EXPECT_EQ(b.size(), headerLength + 1);
    EXPECT_EQ(byteAt(b, headerLength), 0x1A);

    std::string fpt = dir.read("t.fpt");
    ASSERT_EQ(fpt.size(), 512u);
    EXPECT_EQ(be32At(fpt, 0), 8u);  // the first block after the 512-byte header
    EXPECT_EQ(byteAt(fpt, 6) << 8 | byteAt(fpt, 7), 64);
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
    std::tm now = today();
    EXPECT_EQ(byteAt(b, 0), 0x83);
    EXPECT_EQ(byteAt(b, 1), now.tm_year);  // dBASE counts from 1900
    EXPECT_EQ(byteAt(b, 28), 0);
    EXPECT_EQ(byteAt(b, 29), 0x03);
    EXPECT_EQ(le32At(b, 4), 2u);
    EXPECT_EQ(le32At(b, 32 + 12), 0u);  // no displacements in dBASE descriptors
    EXPECT_EQ(byteAt(b, 64 + 16), 10);  // memo pointers are 10 ASCII digits
    size_t headerLength = 32 + 3 * 32 + 1;
    EXPECT_EQ(byteAt(b, 8) | byteAt(b, 9) << 8, int(headerLength));
    EXPECT_EQ(b.substr(headerLength, 20), " ab            1 2.5");
    EXPECT_EQ(b.substr(headerLength + 20, 16), " cd            2");
    EXPECT_EQ(b.size(), headerLength + 2 * 20 + 1);
    EXPECT_EQ(b.back(), '\x1A');

    std::string dbt = dir.read("D3.DBT");  // named in the case of the table's extension
    EXPECT_EQ(le32At(dbt, 0), 4u);          // blocks 1, 2 and 3 are used
    EXPECT_EQ(dbt.substr(512, 11), "memo text\x1A\x1A");
    EXPECT_EQ(dbt.substr(1024, 602), std::string(600, 'x') + "\x1A\x1A");
    EXPECT_EQ(dbt.size(), 2048u);

    DbfWriter::create(dir.file("plain.dbf"), {{"NAME", 'C', 5}}, TableFormat::DBase3);
    EXPECT_EQ(byteAt(dir.read("plain.dbf"), 0), 0x03);  // no memo: no .dbt
    EXPECT_EQ(stampOf(dir.file("plain.dbt")), FileStamp{});

    auto t = DbfTable::open(dir.file("D3.DBF"));
    EXPECT_EQ(t->value(0, 1), Value::string("memo text"));
    EXPECT_EQ(t->value(1, 1), Value::string(std::string(600, 'x')));
    EXPECT_EQ(t->value(1, 2), dec(0, 1));
}

TEST(DbfWriteRoundTrip, EveryVisualFoxProTypeReadsBack) {
    TempDir dir;
    DbfWriter::create(dir.file("t.dbf"), everyVfpType);
    int64_t stamp = int64_t(jdn2004_03_07) * msPerDayTest + 49530000;
    std::vector<std::vector<Value>> rows = {
        {Value::string("Zoë"), dec(-12345, 2), dec(5, 1), Value::date(jdn2004_03_07), Value::logical(true),
         Value::string("hello memo"), Value::integer(-2), dec(12345, 4), Value::real(0.5), Value::dateTime(stamp)},
        {Value::string("ten chars!"), Value::integer(99999), Value::real(-2.26), Value::date(0), Value::logical(false),
         Value::string(""), Value::integer(2147483647), Value::integer(-7), Value::real(-1e300), Value::dateTime(0)},
        {Value::string(""), dec(1, 2), dec(0, 0), Value::date(5373484), Value::logical(false),
         Value::string(std::string(1000, 'm')), dec(-2147483648LL, 0), dec(-9223372036854775807LL, 4), Value::integer(3),
         Value::dateTime(stamp + 123)},
    };
    {
        DbfWriter writer(dir.file("t.dbf"));
        for (const auto& row : rows) writer.append(row);
        EXPECT_EQ(writer.recordCount(), 3u);
    }
    auto t = DbfTable::open(dir.file("t.dbf"));
    ASSERT_EQ(t->recordCount(), 3u);
    EXPECT_EQ(t->decode(t->value(0, 0).asString()), "Zoë       ");
    EXPECT_EQ(t->value(0, 1), dec(-12345, 2));
    EXPECT_EQ(t->value(0, 2), dec(5, 1));
    EXPECT_EQ(t->value(0, 3), Value::date(jdn2004_03_07));
    EXPECT_EQ(t->value(0, 4), Value::logical(true));
    EXPECT_EQ(t->value(0, 5), Value::string("hello memo"));
    EXPECT_EQ(t->value(0, 6), Value::integer(-2));
    EXPECT_EQ(t->value(0, 7), dec(12345, 4));
    EXPECT_EQ(t->value(0, 8), Value::real(0.5));
    EXPECT_EQ(t->value(0, 9), Value::dateTime(stamp));

    EXPECT_EQ(t->value(1, 0), Value::string("ten chars!"));
    EXPECT_EQ(t->value(1, 1), dec(9999900, 2));
    EXPECT_EQ(t->value(1, 2), dec(-23, 1));  // a double rounds to the field's decimals
    EXPECT_EQ(t->value(1, 3), Value::date(0));
    EXPECT_EQ(t->value(1, 5), Value::string(""));
    EXPECT_EQ(t->rawBytes(1, 5), std::string(4, '\0'));  // an empty memo stores no block
    EXPECT_EQ(t->value(1, 6), Value::integer(2147483647));
    EXPECT_EQ(t->value(1, 7), dec(-70000, 4));
    EXPECT_EQ(t->value(1, 8), Value::real(-1e300));
    EXPECT_EQ(t->value(1, 9), Value::dateTime(0));

    EXPECT_EQ(t->value(2, 0), Value::string(std::string(10, ' ')));
    EXPECT_EQ(t->value(2, 1), dec(1, 2));
    EXPECT_EQ(t->rawBytes(2, 1), "    0.01");
    EXPECT_EQ(t->value(2, 3), Value::date(5373484));
    EXPECT_EQ(t->value(2, 5), Value::string(std::string(1000, 'm')));
    EXPECT_EQ(t->value(2, 6), Value::integer(-2147483648LL));
    EXPECT_EQ(t->value(2, 7), dec(-9223372036854775807LL, 4));
    EXPECT_EQ(t->value(2, 8), Value::real(3));
    EXPECT_EQ(t->value(2, 9), Value::dateTime(stamp + 123));  // milliseconds are kept

    // Memo blocks: "hello memo" takes block 8, the 1000 bytes blocks 9 to 24.
    std::string fpt = dir.read("t.fpt");
    EXPECT_EQ(be32At(fpt, 0), 25u);
    EXPECT_EQ(be32At(fpt, 8 * 64), 1u);  // text memo
    EXPECT_EQ(be32At(fpt, 8 * 64 + 4), 10u);
    EXPECT_EQ(be32At(fpt, 9 * 64 + 4), 1000u);
    EXPECT_EQ(fpt.size(), 25u * 64);
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
    EXPECT_EQ(t->rawBytes(0, 0), std::string(10, ' '));
    EXPECT_EQ(t->rawBytes(0, 1), std::string(8, ' '));
    EXPECT_EQ(t->rawBytes(0, 6), std::string(4, '\0'));
    EXPECT_FALSE(t->isNull(0, 10));
    // Ten null bits: two bytes of _NullFlags, 0xFF 0x03 in the first record.
    const uint8_t* record = t->record(0);
    EXPECT_EQ(record[t->recordLength() - 2], 0xFF);
    EXPECT_EQ(record[t->recordLength() - 1], 0x03);
    EXPECT_EQ(t->value(1, 2), dec(0, 1));  // blank, not NULL
}

TEST(DbfWriteRoundTrip, CodePagesStoreTheirOwnBytes) {
    TempDir dir;
    DbfWriter::create(dir.file("ru.dbf"), {{"NAME", 'C', 12}, {"NOTES", 'M'}}, TableFormat::VisualFoxPro, 1251);
    DbfWriter::create(dir.file("dos.dbf"), {{"NAME", 'C', 12}, {"NOTES", 'M'}}, TableFormat::DBase3, 850);
    DbfWriter(dir.file("ru.dbf")).append({Value::string("Привет"), Value::string("Съешь же ещё")});
    DbfWriter(dir.file("dos.dbf")).append({Value::string("Müller Ñandú"), Value::string("Größe ½")});

    std::string ru = dir.read("ru.dbf");
    EXPECT_EQ(byteAt(ru, 29), 0xC9);
    size_t ruData = 32 + 2 * 32 + 1 + 263 + 1;
    EXPECT_EQ(ru.substr(ruData, 6), "\xCF\xF0\xE8\xE2\xE5\xF2");  // Привет in 1251
    std::string dos = dir.read("dos.dbf");
    EXPECT_EQ(byteAt(dos, 29), 0x02);
    EXPECT_EQ(dos.substr(32 + 2 * 32 + 1 + 1, 12), "M\x81ller \xA5\x61nd\xA3");  // 850

    auto r = DbfTable::open(dir.file("ru.dbf"));
    EXPECT_EQ(r->codePage(), 1251);
    EXPECT_EQ(r->decode(r->value(0, 0).asString()), "Привет      ");
    EXPECT_EQ(r->decode(r->value(0, 1).asString()), "Съешь же ещё");
    auto d = DbfTable::open(dir.file("dos.dbf"));
    EXPECT_EQ(d->codePage(), 850);
    EXPECT_EQ(d->decode(d->value(0, 0).asString()), "Müller Ñandú");
    EXPECT_EQ(d->decode(d->value(0, 1).asString()), "Größe ½");
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
        EXPECT_TRUE(t->value(0, 1).isNull());
        EXPECT_EQ(t->value(1, 1), dec(-25, 1));
        EXPECT_EQ(t->value(0, 0), Value::string("abcd"));
        EXPECT_EQ(t->value(1, 0), Value::string("xy  "));
        EXPECT_EQ(t->value(0, 2), Value::string("replaced memo text"));  // a block written after the mapping
        EXPECT_EQ(t->value(1, 2), Value::string("second"));
        EXPECT_TRUE(t->isDeleted(0));
        EXPECT_FALSE(t->isDeleted(1));
    }
    writer.setDeleted(0, false);
    EXPECT_FALSE(before->isDeleted(0));
    // The old memo blocks stay; the new one comes after them.
    std::string fpt = dir.read("t.fpt");
    EXPECT_EQ(be32At(fpt, 0), 11u);
    EXPECT_EQ(fpt.substr(10 * 64 + 8, 18), "replaced memo text");
}

TEST(DbfWriteInPlace, WritesUpdateTheHeaderDate) {
    TempDir dir;
    DbfWriter::create(dir.file("t.dbf"), {{"NAME", 'C', 4}});
    dir.patch("t.dbf", 1, std::string("\x01\x01\x01", 3));
    std::tm now = today();
    std::string expected{char((now.tm_year + 1900) % 100), char(now.tm_mon + 1), char(now.tm_mday)};
    {
        DbfWriter writer(dir.file("t.dbf"));
        writer.append({Value::string("a")});
        EXPECT_EQ(dir.read("t.dbf").substr(1, 3), expected);
        dir.patch("t.dbf", 1, std::string("\x01\x01\x01", 3));
    }
    DbfWriter(dir.file("t.dbf")).assign(0, 0, Value::string("b"));
    EXPECT_EQ(dir.read("t.dbf").substr(1, 3), expected);
    dir.patch("t.dbf", 1, std::string("\x01\x01\x01", 3));
    DbfWriter(dir.file("t.dbf")).setDeleted(0, true);
    EXPECT_EQ(dir.read("t.dbf").substr(1, 3), expected);
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
    EngineError e = errorOf([&] { writer.appendMany({{Value::integer(2)}, {Value::integer(3)}, {Value::integer(1000)}}); });
    EXPECT_EQ(e.number(), errFieldTooWide);
    EXPECT_EQ(writer.recordCount(), 1u);
    auto t = DbfTable::open(dir.file("t.dbf"));
    EXPECT_EQ(t->recordCount(), 1u);
    EXPECT_EQ(dir.read("t.dbf")[t->headerLength() + t->recordLength()], '\x1A');
    writer.append({Value::integer(4)});
    EXPECT_EQ(DbfTable::open(dir.file("t.dbf"))->value(1, 0), dec(4, 0));
}

TEST(DbfWriteRefusals, ValuesThatDoNotFitOrHaveTheWrongKind) {
    TempDir dir;
    DbfWriter::create(dir.file("t.dbf"), {{"NAME", 'C', 4}, {"PRICE", 'N', 5, 2}, {"COUNT", 'I'}, {"ON", 'D'},
                                          {"OK", 'L'}, {"CASH", 'Y'}, {"AT", 'T'}});
    DbfWriter writer(dir.file("t.dbf"));
    writer.append({});
    struct Case {
        int field;
        Value value;
        int number;
        const char* mentions;
    };
    const Case cases[] = {
        {0, Value::string("abcde"), errFieldTooWide, "\"abcde\""},
        {0, Value::string("Жук"), errDataTypeMismatch, "Ж"},
        {0, Value::integer(1), errDataTypeMismatch, "NAME"},
        {1, dec(14780, 2), errFieldTooWide, "147.80"},  // "147.80" needs 6 characters
        {1, dec(1234, 3), errFieldTooWide, "1.234"},    // decimals would be lost
        {1, dec(-1000, 2), errFieldTooWide, "-10.00"},
        {1, Value::string("1"), errDataTypeMismatch, "PRICE"},
        {1, Value::real(1.0 / 0.0), errFieldTooWide, "PRICE"},
        {2, Value::integer(2147483648LL), errFieldTooWide, "COUNT"},
        {2, dec(15, 1), errFieldTooWide, "1.5"},
        {3, Value::dateTime(1), errDataTypeMismatch, "ON"},
        {4, Value::integer(1), errDataTypeMismatch, "OK"},
        {5, dec(123456, 5), errFieldTooWide, "CASH"},
        {6, Value::string("2004"), errDataTypeMismatch, "AT"},
        {3, Value::date(-5), errFieldTooWide, "the day number -5"},
        {3, Value::date(5373485), errFieldTooWide, "ON"},
        {6, Value::dateTime(-1), errFieldTooWide, "AT"},
        {0, Value::null(), errDataTypeMismatch, "null"},
    };
    std::string before = dir.read("t.dbf");
    for (const Case& c : cases) {
        EngineError e = errorOf([&] { writer.assign(0, c.field, c.value); });
        EXPECT_EQ(e.number(), c.number) << e.description();
        EXPECT_NE(e.description().find(c.mentions), std::string::npos) << e.description();
        EXPECT_NE(e.description().find(dir.file("t.dbf")), std::string::npos) << e.description();
    }
    EXPECT_EQ(dir.read("t.dbf"), before);  // nothing was written

    // What does fit: the widest values, ".50" for a narrow field, dates into datetimes.
    writer.assign(0, 1, dec(-999, 2));
    writer.assign(0, 3, Value::date(jdn2004_03_07));
    writer.assign(0, 6, Value::date(jdn2004_03_07));
    writer.assign(0, 5, dec(1, 0));
    auto t = DbfTable::open(dir.file("t.dbf"));
    EXPECT_EQ(t->rawBytes(0, 1), "-9.99");
    EXPECT_EQ(t->value(0, 6), Value::dateTime(int64_t(jdn2004_03_07) * msPerDayTest));
    EXPECT_EQ(t->value(0, 5), dec(10000, 4));

    DbfWriter::create(dir.file("narrow.dbf"), {{"P", 'N', 3, 2}});
    DbfWriter(dir.file("narrow.dbf")).append({dec(5, 1)});
    EXPECT_EQ(DbfTable::open(dir.file("narrow.dbf"))->rawBytes(0, 0), ".50");
}

TEST(DbfWriteRefusals, WrongRecordFieldOrValueCount) {
    TempDir dir;
    DbfWriter::create(dir.file("t.dbf"), {{"NAME", 'C', 4}});
    DbfWriter writer(dir.file("t.dbf"));
    EXPECT_EQ(errorOf([&] { writer.assign(0, 0, Value::string("a")); }).number(), errRecordset);
    writer.append({Value::string("a")});
    EXPECT_EQ(errorOf([&] { writer.assign(0, 1, Value::string("a")); }).number(), errUnknownName);
    EXPECT_EQ(errorOf([&] { writer.append({Value::string("a"), Value::string("b")}); }).number(), errTooManyArguments);
    EXPECT_EQ(errorOf([&] { writer.setDeleted(1, true); }).number(), errRecordset);
}

TEST(DbfWriteRefusals, IndexedAndReadOnlyTablesAreNotWritten) {
    TempDir dir;
    DbfWriter::create(dir.file("t.dbf"), {{"NAME", 'C', 4}});
    dir.patch("t.dbf", 28, "\x01");
    EngineError indexed = errorOf([&] { DbfWriter writer(dir.file("t.dbf")); });
    EXPECT_EQ(indexed.number(), errReadOnly);
    EXPECT_NE(indexed.description().find(".cdx"), std::string::npos);
    EXPECT_NE(indexed.description().find(dir.file("t.dbf")), std::string::npos);

    dir.patch("t.dbf", 28, std::string(1, '\0'));
    ASSERT_EQ(::chmod(dir.file("t.dbf").c_str(), 0444), 0);
    EngineError readOnly = errorOf([&] { DbfWriter writer(dir.file("t.dbf")); });
    EXPECT_EQ(readOnly.number(), errReadOnly);
    EXPECT_NE(readOnly.description().find(dir.file("t.dbf")), std::string::npos);

    EXPECT_EQ(errorOf([&] { DbfWriter writer(dir.file("none.dbf")); }).number(), errFileNotFound);
}

TEST(DbfWriteRefusals, BadDefinitions) {
    TempDir dir;
    std::string path = dir.file("t.dbf");
    const std::pair<std::vector<FieldSpec>, int> cases[] = {
        {{}, errDataTypeMismatch},
        {{{"A", 'C', 0}}, errFieldTooWide},
        {{{"A", 'C', 255}}, errFieldTooWide},
        {{{"A", 'N', 21}}, errFieldTooWide},
        {{{"A", 'N', 4, 4}}, errFieldTooWide},
        {{{"A", 'D', 7}}, errFieldTooWide},
        {{{"A", 'Z', 1}}, errDataTypeMismatch},
        {{{"A", 'C', 1}, {"a", 'C', 1}}, errDataTypeMismatch},
        {{{"ELEVENCHARS", 'C', 1}}, errDataTypeMismatch},
        {{{"1A", 'C', 1}}, errDataTypeMismatch},
    };
    for (const auto& [specs, number] : cases) {
        EngineError e = errorOf([&] { DbfWriter::create(path, specs); });
        EXPECT_EQ(e.number(), number) << e.description();
        EXPECT_NE(e.description().find(path), std::string::npos);
    }
    EXPECT_EQ(errorOf([&] { DbfWriter::create(path, {{"A", 'I'}}, TableFormat::DBase3); }).number(), errDataTypeMismatch);
    EXPECT_EQ(errorOf([&] { DbfWriter::create(path, {{"A", 'C', 1, 0, true}}, TableFormat::DBase3); }).number(),
              errDataTypeMismatch);
    EXPECT_EQ(errorOf([&] { DbfWriter::create(path, {{"A", 'C', 1}}, TableFormat::VisualFoxPro, 932); }).number(),
              errNotSupported);
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
