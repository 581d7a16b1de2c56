// Reading tables whose bytes are laid out by hand, as other programs write
// them: every field type, _NullFlags, FPT and DBT memos, the header's
// tolerances, and the fast numeric parser.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
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

struct RawField {
    std::string name;
    char type;
    int length;
    int decimals = 0;
    uint8_t flags = 0;
};

std::string le16(unsigned v) { return std::string{char(v & 0xFF), char(v >> 8 & 0xFF)}; }
std::string le32(uint32_t v) { return le16(v & 0xFFFF) + le16(v >> 16); }
std::string be16(unsigned v) { return std::string{char(v >> 8 & 0xFF), char(v & 0xFF)}; }
std::string be32(uint32_t v) { return be16(v >> 16) + be16(v & 0xFFFF); }

// A table as another program would write it: records are given whole
// (deletion byte first); the record length is 1 + the field lengths unless told.
std::string rawTable(uint8_t version, const std::vector<RawField>& fields, const std::vector<std::string>& records,
                     uint8_t codePageMark = 0x03, int extraHeader = 0, int recordLength = 0) {
    bool vfp = version == 0x30 || version == 0x31 || version == 0x32;
    int length = 1;
    for (const RawField& f : fields) length += f.length;
    if (recordLength == 0) recordLength = length;
    int headerLength = 32 + 32 * int(fields.size()) + 1 + (vfp ? 263 : 0) + extraHeader;
    std::string bytes = std::string{char(version), 26, 3, 7} + le32(uint32_t(records.size())) +
                        le16(unsigned(headerLength)) + le16(unsigned(recordLength)) + std::string(17, '\0') +
                        char(codePageMark) + std::string(2, '\0');
    int offset = 1;
    for (const RawField& f : fields) {
        std::string d = f.name;
        d.resize(11, '\0');
        bytes += d + f.type + (vfp ? le32(uint32_t(offset)) : le32(0)) + char(f.length) + char(f.decimals) +
                 char(f.flags) + std::string(13, '\0');
        offset += f.length;
    }
    bytes += '\x0D';
    bytes.resize(size_t(headerLength), '\0');
    for (const std::string& r : records) {
        EXPECT_EQ(int(r.size()), recordLength) << "test record of the wrong length";
        bytes += r;
    }
    return bytes;
}

// An .fpt with the given memos (block number -> content), text type.
std::string rawFpt(unsigned blockSize, const std::vector<std::pair<uint32_t, std::string>>& memos) {
    std::string bytes(512, '\0');
    uint32_t next = 512 / blockSize;
    for (const auto& [block, text] : memos) {
        std::string memo = be32(1) + be32(uint32_t(text.size())) + text;
        if (bytes.size() < block * blockSize) bytes.resize(block * blockSize, '\0');
        bytes.replace(block * blockSize, memo.size(), memo);
        next = block + uint32_t((memo.size() + blockSize - 1) / blockSize);
    }
    bytes.replace(0, 4, be32(next));
    bytes.replace(6, 2, be16(blockSize));
    return bytes;
}

// The first records of the table hold these values.
void expectValues(const DbfTable& table, const std::vector<std::vector<Value>>& records) {
    ASSERT_GE(table.recordCount(), records.size());
    for (uint32_t r = 0; r < records.size(); ++r)
        for (int f = 0; f < int(records[r].size()); ++f)
            EXPECT_EQ(table.value(r, f), records[r][f])
                << "record " << r << ", field " << table.fields()[f].name << ": " << table.value(r, f).toText();
}

// In a table of the one field, each record of the given bytes (padded with
// blanks to the field's length) reads as its value.
void expectReads(uint8_t version, const RawField& field, const std::vector<std::pair<std::string, Value>>& cases) {
    TempDir dir;
    std::vector<std::string> records;
    for (const auto& [bytes, value] : cases)
        records.push_back(" " + bytes + std::string(field.length - bytes.size(), ' '));
    dir.write("t.dbf", rawTable(version, {field}, records));
    auto t = DbfTable::open(dir.file("t.dbf"));
    for (uint32_t r = 0; r < cases.size(); ++r)
        EXPECT_EQ(t->value(r, 0), cases[r].second) << field.name << " \"" << cases[r].first << "\"";
}

std::unique_ptr<DbfTable> writeAndOpen(const TempDir& dir, const std::string& bytes) {
    dir.write("t.dbf", bytes);
    return DbfTable::open(dir.file("t.dbf"));
}

Value dec(Int128 units, int scale) { return Value::decimal(Decimal{units, scale}); }

constexpr int32_t jdn2004_03_07 = 2453072;
constexpr int64_t msPerDayTest = 86400000;

}  // namespace

TEST(DbfReadNullFlags, VisualFoxProOrderGivesVarLengthBitBeforeNullBit) {
    // A C(3), B N(3) NULL, V V(5) NULL: B is bit 0, V's length bit 1, V's null bit 2.
    TempDir dir;
    std::vector<RawField> fields = {
        {"A", 'C', 3}, {"B", 'N', 3, 0, 0x02}, {"V", 'V', 5, 0, 0x02}, {"_NullFlags", '0', 1, 0, 0x05}};
    auto t = writeAndOpen(
        dir, rawTable(0x32, fields, {" ab    xy  \x02\x03", std::string(" cd  42hello\0", 13), " ef  7      \x04"}));
    ASSERT_EQ(t->fields().size(), 3u);
    EXPECT_EQ(t->fields()[1].nullBit, 0);
    EXPECT_EQ(t->fields()[2].varLengthBit, 1);
    EXPECT_EQ(t->fields()[2].nullBit, 2);
    // A set length bit: the length is in the field's last byte; clear: the whole field.
    expectValues(*t, {{Value::string("ab "), Value::null(), Value::string("xy")},
                      {Value::string("cd "), dec(42, 0), Value::string("hello")},
                      {Value::string("ef "), dec(7, 0), Value::null()}});
    EXPECT_EQ(t->rawBytes(0, 2), "xy");
    EXPECT_TRUE(t->isNull(0, 1));
    EXPECT_FALSE(t->isNull(2, 1));
    EXPECT_FALSE(t->isNull(2, 0));  // a field without a null bit is never NULL
}

TEST(DbfReadNullFlags, NullBitsBeyondTheFirstByteAreFound) {
    TempDir dir;
    std::vector<RawField> fields;
    std::vector<Value> values;
    std::string record = " ";
    for (int i = 0; i < 9; ++i) {
        fields.push_back({std::string("F") + char('0' + i), 'C', 1, 0, 0x02});
        record += char('a' + i);
        values.push_back(i < 8 ? Value::string(std::string(1, char('a' + i))) : Value::null());
    }
    fields.push_back({"_NullFlags", '0', 2, 0, 0x05});
    record += std::string("\x00\x01", 2);  // bit 8: the ninth field
    expectValues(*writeAndOpen(dir, rawTable(0x30, fields, {record})), {values});
}

TEST(DbfReadTypes, FixedTypesDecodeAsVisualFoxProStoresThem) {
    TempDir dir;
    std::vector<RawField> fields = {{"QTY", 'N', 6, 2}, {"PRICE", 'Y', 8}, {"BORN", 'D', 8}, {"STAMP", 'T', 8},
                                    {"COUNT", 'I', 4}, {"RATIO", 'B', 8, 2}, {"OK", 'L', 1}, {"SCORE", 'F', 6, 1}};
    std::string record = std::string(" ") + " 12.50" + std::string("\x39\x30\0\0\0\0\0\0", 8) + "20040307" +
                         std::string("\x50\x6E\x25\x00\x90\xC4\xF3\x02", 8) + std::string("\xFE\xFF\xFF\xFF", 4) +
                         std::string("\0\0\0\0\0\0\xE0\x3F", 8) + "T" + "  -3.5";
    std::string blanks = std::string(" ") + "      " + std::string(8, '\0') + "        " + std::string(8, '\0') +
                         std::string(4, '\0') + std::string(8, '\0') + " " + "      ";
    std::string negative = std::string(" ") + "-99.99" + std::string("\xC7\xCF\xFF\xFF\xFF\xFF\xFF\xFF", 8) +
                           "00000000" + std::string(8, ' ') + std::string("\xFF\xFF\xFF\x7F", 4) +
                           std::string("\0\0\0\0\0\0\xF4\xBF", 8) + "?" + "   0.0";
    // Blank N and F are 0, not NULL; "00000000" is the empty date, and so are 8 blanks for a datetime.
    expectValues(*writeAndOpen(dir, rawTable(0x30, fields, {record, blanks, negative})),
                 {{dec(1250, 2), dec(12345, 4), Value::date(jdn2004_03_07),
                   Value::dateTime(jdn2004_03_07 * msPerDayTest + 49530000), Value::integer(-2), Value::real(0.5),
                   Value::logical(true), dec(-35, 1)},
                  {dec(0, 2), dec(0, 4), Value::date(0), Value::dateTime(0), Value::integer(0), Value::real(0),
                   Value::logical(false), dec(0, 1)},
                  {dec(-9999, 2), dec(-12345, 4), Value::date(0), Value::dateTime(0), Value::integer(2147483647),
                   Value::real(-1.25), Value::logical(false), dec(0, 1)}});
}

TEST(DbfReadTypes, DatetimesNumbersDatesAndLogicalsReadAsWritten) {
    // Datetimes outside the calendar read empty.
    expectReads(0x30, {"AT", 'T', 8},
                {{le32(0xFFFFFFFF) + le32(0), Value::dateTime(0)},
                 {le32(jdn2004_03_07) + le32(86400000), Value::dateTime(0)},  // a time of day past midnight
                 {le32(1721425) + le32(0), Value::dateTime(0)},               // the day before 0001-01-01
                 {le32(5373484) + le32(86399999), Value::dateTime(5373484 * msPerDayTest + 86399999)},
                 {le32(0) + le32(5), Value::dateTime(0)}});
    // Numbers are taken exactly as written.
    expectReads(0x03, {"AMOUNT", 'N', 20, 2},
                {{"     147.8", dec(14780, 2)},  // fewer decimals than declared
                 {"   12,50  ", dec(1250, 2)},   // comma as the decimal separator
                 {".98765432109876E+20", dec(Int128(98765432109876) * 1000000 * 100, 2)},
                 {"  ********", dec(0, 2)},  // overflow stars
                 {"  12ab    ", dec(0, 2)},  // junk
                 {"    1.2345", dec(12345, 4)},  // more decimals than declared: kept exactly
                 {"          ", dec(0, 2)}, {"-0.05     ", dec(-5, 2)}, {"1e-2      ", dec(1, 2)}});
    // Dates and logicals follow their letters.
    expectReads(0x03, {"D", 'D', 8},
                {{"20240229", Value::date(2460370)}, {"99991231", Value::date(5373484)},
                 {"00010101", Value::date(1721426)}, {"20230229", Value::date(0)},  // no 29th of February in 2023
                 {"2004 307", Value::date(0)}, {"20041307", Value::date(0)}});
    expectReads(0x03, {"L", 'L', 1},
                {{"T", Value::logical(true)}, {"t", Value::logical(true)}, {"Y", Value::logical(true)},
                 {"y", Value::logical(true)}, {"F", Value::logical(false)}, {"N", Value::logical(false)}});
}

TEST(DbfReadTypes, VariableLengthFieldsUseTheirLastByteWhenShort) {
    TempDir dir;
    std::vector<RawField> fields = {{"V", 'V', 6}, {"Q", 'Q', 4}, {"_NullFlags", '0', 1, 0, 0x05}};
    // V is bit 0, Q bit 1; the third record's stored length is past the field.
    auto t = writeAndOpen(dir, rawTable(0x32, fields,
                                        {std::string(" ab   \x02\x01\x02\x00\x02\x03", 12),
                                         std::string(" abcdef\x00\xFF\x10\x20\0", 12),
                                         std::string(" abc  \x09\0\0\0\0\x01", 12)}));
    expectValues(*t, {{Value::string("ab"), Value::string(std::string("\x01\x02", 2))},
                      {Value::string("abcdef"), Value::string(std::string("\x00\xFF\x10\x20", 4))}});
    EXPECT_EQ(t->rawBytes(2, 0), "abc  ");  // cut to the field
    EXPECT_TRUE(t->fields()[1].binary);
}

TEST(DbfReadLayout, HeaderRecordAndCountTolerances) {
    TempDir dir;
    // Header longer than needed, record longer than its fields, deleted and odd
    // deletion bytes, trailing bytes after the counted records, no 0x1A.
    auto t = writeAndOpen(dir, rawTable(0x03, {{"NAME", 'C', 4}}, {" abcd##", "*efgh##", "Xijkl##"}, 0x00, 40, 7) +
                                   " mnop##junk");
    EXPECT_EQ(t->headerLength(), 32u + 32 + 1 + 40);
    EXPECT_EQ(t->recordLength(), 7u);
    EXPECT_EQ(t->recordCount(), 3u);
    expectValues(*t, {{Value::string("abcd")}, {Value::string("efgh")}});
    EXPECT_FALSE(t->isDeleted(0));
    EXPECT_TRUE(t->isDeleted(1));
    EXPECT_FALSE(t->isDeleted(2));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(t->record(2)), 7), "Xijkl##");
    EXPECT_EQ(t->codePage(), 1252);  // no mark
    EXPECT_EQ(t->version(), 0x03);
}

TEST(DbfReadLayout, LongCharacterFieldsOfDBaseKeepTheHighByteInDecimals) {
    TempDir dir;
    std::string text = std::string(299, 'a') + "z";
    auto t = writeAndOpen(dir, rawTable(0x03, {{"LONG", 'C', 300 - 256, 1}}, {" " + text}, 0x03, 0, 301));
    EXPECT_EQ(t->fields()[0].length, 300);
    EXPECT_EQ(t->fields()[0].decimals, 0);
    EXPECT_EQ(t->value(0, 0), Value::string(text));
}

TEST(DbfReadLayout, FieldsAreFoundByNameInAnyCase) {
    TempDir dir;
    auto t = writeAndOpen(dir, rawTable(0x30, {{"NAME", 'C', 2}, {"QTY", 'N', 3}}, {" ab  1"}));
    EXPECT_EQ(t->fieldIndex("qty"), 1);
    EXPECT_EQ(t->fieldIndex("Name"), 0);
    EXPECT_EQ(t->fieldIndex("NAM"), -1);
    EXPECT_EQ(t->fields()[1].offset, 3u);
}

TEST(DbfReadLayout, CodePageMarksSelectTheCodePage) {
    TempDir dir;
    const std::pair<uint8_t, int> cases[] = {{0x01, 437}, {0x02, 850}, {0x03, 1252}, {0x64, 852}, {0x65, 866},
                                             {0xC8, 1250}, {0xC9, 1251}, {0xCB, 1253}, {0xCA, 1254}, {0x7D, 1255},
                                             {0x7E, 1256}, {0x57, 1252}, {0x00, 1252}, {0xEE, 1252}};
    for (auto [mark, codePage] : cases)
        EXPECT_EQ(writeAndOpen(dir, rawTable(0x03, {{"A", 'C', 1}}, {" a"}, mark))->codePage(), codePage) << int(mark);
    auto t = writeAndOpen(dir, rawTable(0x03, {{"A", 'C', 1}}, {" \xC4"}, 0xC9));
    EXPECT_EQ(t->decode(t->value(0, 0).asString()), "Д");
}

TEST(DbfReadLayout, FileStampFollowsTheFile) {
    TempDir dir;
    auto t = writeAndOpen(dir, rawTable(0x03, {{"A", 'C', 1}}, {" a"}));
    EXPECT_EQ(t->stamp(), stampOf(dir.file("t.dbf")));
    EXPECT_EQ(t->stamp().size, dir.read("t.dbf").size());
    EXPECT_NE(t->stamp().inode, 0u);
    dir.write("t.dbf", rawTable(0x03, {{"A", 'C', 1}}, {" a", " b"}));
    EXPECT_NE(t->stamp(), stampOf(dir.file("t.dbf")));
    EXPECT_EQ(stampOf(dir.file("missing.dbf")), FileStamp{});
}

TEST(DbfReadMemo, FptMemosWithBinaryPointersSpanBlocks) {
    TempDir dir;
    std::string longText(150, 'x');
    longText.front() = 'A';
    longText.back() = 'Z';
    std::vector<RawField> fields = {{"ID", 'C', 1}, {"NOTES", 'M', 4}, {"PIC", 'G', 4}, {"BLOB", 'W', 4}};
    dir.write("DATA.DBF", rawTable(0x30, fields,
                                   {" 1" + le32(8) + le32(0) + le32(0), " 2" + le32(9) + le32(13) + le32(14),
                                    " 3" + le32(0) + le32(0) + le32(0)}));
    const std::string binary("\x00\x01\xFF", 3);
    dir.write("data.fpt", rawFpt(64, {{8, "hello memo"}, {9, longText}, {13, binary}, {14, ""}}));
    auto t = DbfTable::open(dir.file("DATA.DBF"));
    // Pointer 0: no memo.
    expectValues(*t, {{Value::string("1"), Value::string("hello memo")},
                      {Value::string("2"), Value::string(longText), Value::string(binary), Value::string("")},
                      {Value::string("3"), Value::string("")}});
    EXPECT_EQ(t->memo(1, 2), binary);
    EXPECT_EQ(t->rawBytes(0, 1), le32(8));
}

TEST(DbfReadMemo, FoxPro2FptWithAsciiPointersAndOtherBlockSize) {
    TempDir dir;
    dir.write("T.FPT", rawFpt(512, {{1, "fox two"}}));
    expectValues(*writeAndOpen(dir, rawTable(0xF5, {{"NOTES", 'M', 10}}, {"          1", std::string(11, ' ')})),
                 {{Value::string("fox two")}, {Value::string("")}});
}

TEST(DbfReadMemo, DBase3DbtMemosEndAtTheirMark) {
    TempDir dir;
    std::string dbt = le32(4) + std::string(508, '\0') + "memo text\x1A\x1A";
    dbt.resize(1024, '\0');
    dbt += std::string(600, 'q') + "\x1A";  // spans blocks 2 and 3
    dbt.resize(2048, '\0');
    dir.write("t.dbt", dbt + "no end mark");  // read to the end of the file
    auto t = writeAndOpen(dir, rawTable(0x83, {{"NOTES", 'M', 10}}, {"          1", "          2", "          4"}));
    expectValues(*t, {{Value::string("memo text")}, {Value::string(std::string(600, 'q'))},
                      {Value::string("no end mark")}});
}

TEST(DbfReadMemo, DBase4DbtBlocksCarryTheirLength) {
    TempDir dir;
    std::string dbt = le32(3) + std::string(16, '\0') + le16(512);
    dbt.resize(512, '\0');
    dbt += std::string("\xFF\xFF\x08\x00", 4) + le32(13) + "dBASE four\x1F\x1F\x1F";
    dbt.resize(1024, '\0');
    dir.write("t.dbt", dbt + std::string("\xFF\xFF\x08\x00", 4) + le32(3) + "bin");
    // A 10-byte B of dBASE is a binary memo.
    expectValues(*writeAndOpen(dir, rawTable(0x8B, {{"NOTES", 'M', 10}, {"DATA", 'B', 10}}, {"          1         2"})),
                 {{Value::string("dBASE four"), Value::string("bin")}});
}

TEST(DbfReadMemo, MemoOfANonMemoFieldIsAnError) {
    TempDir dir;
    auto t = writeAndOpen(dir, rawTable(0x03, {{"NAME", 'C', 2}}, {" ab"}));
    try {
        t->memo(0, 0);
        FAIL() << "memo() of a C field succeeded";
    } catch (const EngineError& e) {
        EXPECT_EQ(e.number(), errDataTypeMismatch);
        EXPECT_NE(e.description().find("NAME"), std::string::npos);
    }
}

// What N fields hold is accepted; junk, extra decimals and overflow are
// refused as 0, not blank.
TEST(DbfParseNumeric, AcceptsWhatNFieldsHoldAndRefusesTheRest) {
    const struct {
        std::string_view text;
        int scale;
        bool accepted = false;
        int64_t units = 0;
        bool blank = false;
    } cases[] = {
        {"  12.50", 2, true, 1250, false}, {"147.8", 2, true, 14780, false}, {"    -3", 0, true, -3, false},
        {"      ", 2, true, 0, true}, {"", 0, true, 0, true}, {"+7", 1, true, 70, false}, {"0012", 0, true, 12, false},
        {"12,5", 2, true, 1250, false}, {"1.230", 2, true, 123, false}, {"1.5E+2", 0, true, 150, false},
        {".98765E+5", 0, true, 98765, false}, {"25e-1", 1, true, 25, false}, {"-.5", 1, true, -5, false},
        {"9223372036854775807", 0, true, INT64_MAX, false}, {"-9223372036854775808", 0, true, INT64_MIN, false},
        {std::string_view("\0\0 5\0", 5), 0, true, 5, false},
        {"*****", 2}, {"12a", 0}, {"1 2", 0}, {"-", 0}, {".", 2}, {"1.2.3", 2}, {"1.234", 2}, {"1e", 0}, {"1e-1", 0},
        {"9223372036854775808", 0}, {"99999999999999999999", 0}, {"92233720368547758.07", 3}, {"1E+99", 0},
        {"--1", 0}, {"1-", 0},
    };
    for (const auto& c : cases) {
        int64_t units = 99;
        bool blank = !c.blank;
        EXPECT_EQ(parseNumericField(c.text.data(), c.text.size(), c.scale, units, blank), c.accepted) << c.text;
        EXPECT_EQ(units, c.units) << c.text;
        EXPECT_EQ(blank, c.blank) << c.text;
    }
}

TEST(DbfWriteVariableLength, AssignSetsTheLengthByteAndBits) {
    TempDir dir;
    // V is bits 0 (length) and 1 (null), Q bit 2.
    std::vector<RawField> fields = {{"V", 'V', 6, 0, 0x02}, {"Q", 'Q', 4}, {"_NullFlags", '0', 1, 0, 0x05}};
    dir.write("t.dbf", rawTable(0x32, fields, {std::string(" abcdef\0\0\0\0\0", 12)}));
    DbfWriter writer(dir.file("t.dbf"));
    auto t = DbfTable::open(dir.file("t.dbf"));
    writer.assign(0, 0, Value::string("xy"));
    writer.assign(0, 1, Value::string(std::string("\x01\x02\x03", 3)));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(t->record(0)), 12), " xy   \x02\x01\x02\x03\x03\x05");
    expectValues(*t, {{Value::string("xy"), Value::string(std::string("\x01\x02\x03", 3))}});
    writer.assign(0, 0, Value::string("sixsix"));
    writer.assign(0, 1, Value::string(""));
    expectValues(*t, {{Value::string("sixsix"), Value::string("")}});
    EXPECT_EQ(t->record(0)[11], 0x04);
    writer.assign(0, 0, Value::null());
    EXPECT_TRUE(t->value(0, 0).isNull());
    EXPECT_EQ(t->record(0)[11], 0x06);
    try {
        writer.assign(0, 0, Value::string("seven!!"));
        ADD_FAILURE() << "a value longer than V(6) was written";
    } catch (const EngineError& e) {
        EXPECT_EQ(e.number(), errFieldTooWide);
    }
}
