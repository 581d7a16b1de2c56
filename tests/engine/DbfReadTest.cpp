// Reading tables whose bytes are laid out by hand, as other programs write
// them: every field type, _NullFlags, FPT and DBT memos, the header's
// tolerances, and the fast numeric parser.
#include <gtest/gtest.h>

#include <cstring>
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

struct RawField {
    std::string name;
    char type;
    int length;
    int decimals = 0;
    uint8_t flags = 0;
};

std::string le16(unsigned v) { return std::string{char(v & 0xFF), char(v >> 8 & 0xFF)}; }
std::string le32(uint32_t v) { return le16(v & 0xFFFF) + le16(v >> 16); }
std::string be32(uint32_t v) { return std::string{char(v >> 24), char(v >> 16 & 0xFF), char(v >> 8 & 0xFF), char(v & 0xFF)}; }
std::string be16(unsigned v) { return std::string{char(v >> 8 & 0xFF), char(v & 0xFF)}; }

// A table as another program would write it: records are given whole
// (deletion byte first); the record length is 1 + the field lengths unless told.
std::string rawTable(uint8_t version, const std::vector<RawField>& fields, const std::vector<std::string>& records,
                     uint8_t codePageMark = 0x03, int extraHeader = 0, int recordLength = 0) {
    bool vfp = version == 0x30 || version == 0x31 || version == 0x32;
    int length = 1;
    for (const RawField& f : fields) length += f.length;
    if (recordLength == 0) recordLength = length;
    int headerLength = 32 + 32 * int(fields.size()) + 1 + (vfp ? 263 : 0) + extraHeader;
    std::string bytes(32, '\0');
    bytes[0] = char(version);
    bytes[1] = 26;
    bytes[2] = 3;
    bytes[3] = 7;
    bytes.replace(4, 4, le32(uint32_t(records.size())));
    bytes.replace(8, 2, le16(unsigned(headerLength)));
    bytes.replace(10, 2, le16(unsigned(recordLength)));
    bytes[29] = char(codePageMark);
    int offset = 1;
    for (const RawField& f : fields) {
        std::string d(32, '\0');
        d.replace(0, f.name.size(), f.name);
        d[11] = f.type;
        if (vfp) d.replace(12, 4, le32(uint32_t(offset)));
        d[16] = char(f.length);
        d[17] = char(f.decimals);
        d[18] = char(f.flags);
        bytes += d;
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

std::string fieldBytes(const std::string& text, size_t length) {
    std::string s = text;
    s.resize(length, ' ');
    return s;
}

constexpr int32_t jdn2004_03_07 = 2453072;

}  // namespace

TEST(DbfReadNullFlags, VisualFoxProOrderGivesVarLengthBitBeforeNullBit) {
    // A C(3), B N(3) NULL, V V(5) NULL: B is bit 0, V's length bit 1, V's null bit 2.
    TempDir dir;
    std::vector<RawField> fields = {{"A", 'C', 3}, {"B", 'N', 3, 0, 0x02}, {"V", 'V', 5, 0, 0x02}, {"_NullFlags", '0', 1, 0, 0x05}};
    dir.write("t.dbf", rawTable(0x32, fields,
                                {std::string(" ") + "ab " + "   " + "xy  \x02" + "\x03",
                                 std::string(" ") + "cd " + " 42" + "hello" + std::string(1, '\0'),
                                 std::string(" ") + "ef " + " 7 " + "     " + "\x04"}));
    auto table = DbfTable::open(dir.file("t.dbf"));
    ASSERT_EQ(table->fields().size(), 3u);
    EXPECT_EQ(table->fields()[1].nullBit, 0);
    EXPECT_EQ(table->fields()[2].varLengthBit, 1);
    EXPECT_EQ(table->fields()[2].nullBit, 2);

    EXPECT_EQ(table->value(0, 0), Value::string("ab "));
    EXPECT_TRUE(table->isNull(0, 1));
    EXPECT_TRUE(table->value(0, 1).isNull());
    EXPECT_EQ(table->value(0, 2), Value::string("xy"));
    EXPECT_EQ(table->rawBytes(0, 2), "xy");

    EXPECT_EQ(table->value(1, 1), Value::decimal(Decimal{42, 0}));
    EXPECT_EQ(table->value(1, 2), Value::string("hello"));  // length bit clear: the whole field

    EXPECT_TRUE(table->value(2, 2).isNull());
    EXPECT_FALSE(table->isNull(2, 1));
    EXPECT_FALSE(table->isNull(2, 0));  // a field without a null bit is never NULL
}

TEST(DbfReadNullFlags, NullBitsBeyondTheFirstByteAreFound) {
    TempDir dir;
    std::vector<RawField> fields;
    std::string record = " ";
    for (int i = 0; i < 9; ++i) {
        fields.push_back({"F" + std::to_string(i), 'C', 1, 0, 0x02});
        record += char('a' + i);
    }
    fields.push_back({"_NullFlags", '0', 2, 0, 0x05});
    record += std::string("\x00\x01", 2);  // bit 8: the ninth field
    dir.write("t.dbf", rawTable(0x30, fields, {record}));
    auto table = DbfTable::open(dir.file("t.dbf"));
    for (int i = 0; i < 8; ++i) EXPECT_EQ(table->value(0, i), Value::string(std::string(1, char('a' + i))));
    EXPECT_TRUE(table->value(0, 8).isNull());
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
    dir.write("t.dbf", rawTable(0x30, fields, {record, blanks, negative}));
    auto t = DbfTable::open(dir.file("t.dbf"));

    EXPECT_EQ(t->value(0, 0), Value::decimal(Decimal{1250, 2}));
    EXPECT_EQ(t->value(0, 1), Value::decimal(Decimal{12345, 4}));
    EXPECT_EQ(t->value(0, 2), Value::date(jdn2004_03_07));
    EXPECT_EQ(t->value(0, 3), Value::dateTime(int64_t(jdn2004_03_07) * 86400000 + 49530000));
    EXPECT_EQ(t->value(0, 4), Value::integer(-2));
    EXPECT_EQ(t->value(0, 5), Value::real(0.5));
    EXPECT_EQ(t->value(0, 6), Value::logical(true));
    EXPECT_EQ(t->value(0, 7), Value::decimal(Decimal{-35, 1}));

    EXPECT_EQ(t->value(1, 0), Value::decimal(Decimal{0, 2}));  // blank N is 0, not NULL
    EXPECT_EQ(t->value(1, 1), Value::decimal(Decimal{0, 4}));
    EXPECT_EQ(t->value(1, 2), Value::date(0));
    EXPECT_EQ(t->value(1, 3), Value::dateTime(0));
    EXPECT_EQ(t->value(1, 4), Value::integer(0));
    EXPECT_EQ(t->value(1, 6), Value::logical(false));

    EXPECT_EQ(t->value(2, 0), Value::decimal(Decimal{-9999, 2}));
    EXPECT_EQ(t->value(2, 1), Value::decimal(Decimal{-12345, 4}));
    EXPECT_EQ(t->value(2, 2), Value::date(0));      // 00000000 is the empty date
    EXPECT_EQ(t->value(2, 3), Value::dateTime(0));  // so are 8 blanks
    EXPECT_EQ(t->value(2, 4), Value::integer(2147483647));
    EXPECT_EQ(t->value(2, 5), Value::real(-1.25));
    EXPECT_EQ(t->value(2, 6), Value::logical(false));
    EXPECT_EQ(t->value(2, 7), Value::decimal(Decimal{0, 1}));
}

TEST(DbfReadTypes, DateTimesOutsideTheCalendarReadEmpty) {
    TempDir dir;
    std::vector<std::string> records = {" " + le32(0xFFFFFFFF) + le32(0), " " + le32(jdn2004_03_07) + le32(86400000),
                                        " " + le32(1721425) + le32(0), " " + le32(5373484) + le32(86399999),
                                        " " + le32(0) + le32(5)};
    dir.write("t.dbf", rawTable(0x30, {{"AT", 'T', 8}}, records));
    auto t = DbfTable::open(dir.file("t.dbf"));
    EXPECT_EQ(t->value(0, 0), Value::dateTime(0));
    EXPECT_EQ(t->value(1, 0), Value::dateTime(0));  // a time of day past midnight
    EXPECT_EQ(t->value(2, 0), Value::dateTime(0));  // the day before 0001-01-01
    EXPECT_EQ(t->value(3, 0), Value::dateTime(int64_t(5373484) * 86400000 + 86399999));
    EXPECT_EQ(t->value(4, 0), Value::dateTime(0));
}

TEST(DbfReadTypes, NumbersAreTakenExactlyAsWritten) {
    TempDir dir;
    const char* texts[] = {"     147.8", "   12,50  ", ".98765432109876E+20", "  ********", "  12ab    ", "    1.2345",
                           "          ", "-0.05     ", "1e-2      "};
    std::vector<std::string> records;
    for (const char* text : texts) records.push_back(" " + fieldBytes(text, 20));
    dir.write("t.dbf", rawTable(0x03, {{"AMOUNT", 'N', 20, 2}}, records));
    auto t = DbfTable::open(dir.file("t.dbf"));
    EXPECT_EQ(t->value(0, 0), Value::decimal(Decimal{14780, 2}));  // fewer decimals than declared
    EXPECT_EQ(t->value(1, 0), Value::decimal(Decimal{1250, 2}));   // comma as the decimal separator
    EXPECT_EQ(t->value(2, 0), Value::decimal(Decimal{Int128(98765432109876) * 1000000 * 100, 2}));
    EXPECT_EQ(t->value(3, 0), Value::decimal(Decimal{0, 2}));  // overflow stars
    EXPECT_EQ(t->value(4, 0), Value::decimal(Decimal{0, 2}));  // junk
    EXPECT_EQ(t->value(5, 0), Value::decimal(Decimal{12345, 4}));  // more decimals than declared: kept exactly
    EXPECT_EQ(t->value(6, 0), Value::decimal(Decimal{0, 2}));
    EXPECT_EQ(t->value(7, 0), Value::decimal(Decimal{-5, 2}));
    EXPECT_EQ(t->value(8, 0), Value::decimal(Decimal{1, 2}));
}

TEST(DbfReadTypes, DatesAndLogicalsFollowTheirLetters) {
    TempDir dir;
    const char* dates[] = {"20240229", "20230229", "2004 307", "99991231", "00010101", "20041307"};
    const char logicals[] = {'T', 't', 'Y', 'y', 'F', 'N'};
    std::vector<std::string> records;
    for (int i = 0; i < 6; ++i) records.push_back(std::string(" ") + dates[i] + logicals[i]);
    dir.write("t.dbf", rawTable(0x03, {{"D", 'D', 8}, {"L", 'L', 1}}, records));
    auto t = DbfTable::open(dir.file("t.dbf"));
    EXPECT_EQ(t->value(0, 0), Value::date(2460370));  // 2024-02-29
    EXPECT_EQ(t->value(1, 0), Value::date(0));        // no 29th of February in 2023
    EXPECT_EQ(t->value(2, 0), Value::date(0));
    EXPECT_EQ(t->value(3, 0), Value::date(5373484));  // 9999-12-31
    EXPECT_EQ(t->value(4, 0), Value::date(1721426));  // 0001-01-01
    EXPECT_EQ(t->value(5, 0), Value::date(0));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(t->value(i, 1), Value::logical(true)) << i;
    for (int i = 4; i < 6; ++i) EXPECT_EQ(t->value(i, 1), Value::logical(false)) << i;
}

TEST(DbfReadTypes, VariableLengthFieldsUseTheirLastByteWhenShort) {
    TempDir dir;
    std::vector<RawField> fields = {{"V", 'V', 6}, {"Q", 'Q', 4}, {"_NullFlags", '0', 1, 0, 0x05}};
    // V is bit 0, Q bit 1.
    std::string shortBoth = std::string(" ab   \x02") + std::string("\x01\x02\x00\x02", 4) + "\x03";
    std::string full = std::string(" abcdef") + std::string("\x00\xFF\x10\x20", 4) + std::string(1, '\0');
    std::string lengthTooLarge = std::string(" abc  \x09") + std::string(4, '\0') + "\x01";
    dir.write("t.dbf", rawTable(0x32, fields, {shortBoth, full, lengthTooLarge}));
    auto t = DbfTable::open(dir.file("t.dbf"));
    EXPECT_EQ(t->value(0, 0), Value::string("ab"));
    EXPECT_EQ(t->value(0, 1), Value::string(std::string("\x01\x02", 2)));
    EXPECT_EQ(t->value(1, 0), Value::string("abcdef"));
    EXPECT_EQ(t->value(1, 1), Value::string(std::string("\x00\xFF\x10\x20", 4)));
    EXPECT_EQ(t->rawBytes(2, 0), "abc  ");  // a stored length past the field is cut to the field
    EXPECT_TRUE(t->fields()[1].binary);
}

TEST(DbfReadLayout, HeaderRecordAndCountTolerances) {
    TempDir dir;
    // Header longer than needed, record longer than its fields, deleted and odd
    // deletion bytes, trailing bytes after the counted records, no 0x1A.
    std::string bytes = rawTable(0x03, {{"NAME", 'C', 4}}, {" abcd##", "*efgh##", "Xijkl##"}, 0x00, 40, 7);
    bytes += " mnop##junk";
    dir.write("t.dbf", bytes);
    auto t = DbfTable::open(dir.file("t.dbf"));
    EXPECT_EQ(t->headerLength(), 32u + 32 + 1 + 40);
    EXPECT_EQ(t->recordLength(), 7u);
    EXPECT_EQ(t->recordCount(), 3u);
    EXPECT_EQ(t->value(0, 0), Value::string("abcd"));
    EXPECT_FALSE(t->isDeleted(0));
    EXPECT_TRUE(t->isDeleted(1));
    EXPECT_EQ(t->value(1, 0), Value::string("efgh"));
    EXPECT_FALSE(t->isDeleted(2));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(t->record(2)), 7), "Xijkl##");
    EXPECT_EQ(t->codePage(), 1252);  // no mark
    EXPECT_EQ(t->version(), 0x03);
}

TEST(DbfReadLayout, LongCharacterFieldsOfDBaseKeepTheHighByteInDecimals) {
    TempDir dir;
    std::string text = std::string(299, 'a') + "z";
    dir.write("t.dbf", rawTable(0x03, {{"LONG", 'C', 300 - 256, 1}}, {" " + text}, 0x03, 0, 301));
    auto t = DbfTable::open(dir.file("t.dbf"));
    EXPECT_EQ(t->fields()[0].length, 300);
    EXPECT_EQ(t->fields()[0].decimals, 0);
    EXPECT_EQ(t->value(0, 0), Value::string(text));
}

TEST(DbfReadLayout, FieldsAreFoundByNameInAnyCase) {
    TempDir dir;
    dir.write("t.dbf", rawTable(0x30, {{"NAME", 'C', 2}, {"QTY", 'N', 3}}, {" ab  1"}));
    auto t = DbfTable::open(dir.file("t.dbf"));
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
    for (auto [mark, codePage] : cases) {
        dir.write("t.dbf", rawTable(0x03, {{"A", 'C', 1}}, {" a"}, mark));
        EXPECT_EQ(DbfTable::open(dir.file("t.dbf"))->codePage(), codePage) << int(mark);
    }
    dir.write("t.dbf", rawTable(0x03, {{"A", 'C', 1}}, {" \xC4"}, 0xC9));
    auto t = DbfTable::open(dir.file("t.dbf"));
    EXPECT_EQ(t->decode(t->value(0, 0).asString()), "Д");
}

TEST(DbfReadLayout, FileStampFollowsTheFile) {
    TempDir dir;
    dir.write("t.dbf", rawTable(0x03, {{"A", 'C', 1}}, {" a"}));
    auto t = DbfTable::open(dir.file("t.dbf"));
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
    longText[0] = 'A';
    longText[149] = 'Z';
    std::vector<RawField> fields = {{"ID", 'C', 1}, {"NOTES", 'M', 4}, {"PIC", 'G', 4}, {"BLOB", 'W', 4}};
    dir.write("DATA.DBF", rawTable(0x30, fields,
                                   {" 1" + le32(8) + le32(0) + le32(0), " 2" + le32(9) + le32(13) + le32(14),
                                    " 3" + le32(0) + le32(0) + le32(0)}));
    dir.write("data.fpt", rawFpt(64, {{8, "hello memo"}, {9, longText}, {13, std::string("\x00\x01\xFF", 3)}, {14, ""}}));
    auto t = DbfTable::open(dir.file("DATA.DBF"));
    EXPECT_EQ(t->value(0, 1), Value::string("hello memo"));
    EXPECT_EQ(t->value(1, 1), Value::string(longText));
    EXPECT_EQ(t->memo(1, 2), std::string("\x00\x01\xFF", 3));
    EXPECT_EQ(t->value(1, 3), Value::string(""));
    EXPECT_EQ(t->value(2, 1), Value::string(""));  // pointer 0: no memo
    EXPECT_EQ(t->rawBytes(0, 1), le32(8));
}

TEST(DbfReadMemo, FoxPro2FptWithAsciiPointersAndOtherBlockSize) {
    TempDir dir;
    dir.write("t.dbf", rawTable(0xF5, {{"NOTES", 'M', 10}}, {" " + fieldBytes("         1", 10), " " + std::string(10, ' ')}));
    dir.write("T.FPT", rawFpt(512, {{1, "fox two"}}));
    auto t = DbfTable::open(dir.file("t.dbf"));
    EXPECT_EQ(t->value(0, 0), Value::string("fox two"));
    EXPECT_EQ(t->value(1, 0), Value::string(""));
}

TEST(DbfReadMemo, DBase3DbtMemosEndAtTheirMark) {
    TempDir dir;
    dir.write("t.dbf", rawTable(0x83, {{"NOTES", 'M', 10}}, {"          1", "          2", "          4"}));
    std::string dbt(512, '\0');
    dbt.replace(0, 4, le32(4));
    dbt += "memo text\x1A\x1A";
    dbt.resize(1024, '\0');
    dbt += std::string(600, 'q') + "\x1A";  // spans blocks 2 and 3
    dbt.resize(2048, '\0');
    dbt += "no end mark";
    dir.write("t.dbt", dbt);
    auto t = DbfTable::open(dir.file("t.dbf"));
    EXPECT_EQ(t->value(0, 0), Value::string("memo text"));
    EXPECT_EQ(t->value(1, 0), Value::string(std::string(600, 'q')));
    EXPECT_EQ(t->value(2, 0), Value::string("no end mark"));  // read to the end of the file
}

TEST(DbfReadMemo, DBase4DbtBlocksCarryTheirLength) {
    TempDir dir;
    dir.write("t.dbf", rawTable(0x8B, {{"NOTES", 'M', 10}, {"DATA", 'B', 10}}, {"          1         2"}));
    std::string dbt(512, '\0');
    dbt.replace(0, 4, le32(3));
    dbt.replace(20, 2, le16(512));
    dbt += std::string("\xFF\xFF\x08\x00", 4) + le32(13) + "dBASE four\x1F\x1F\x1F";
    dbt.resize(1024, '\0');
    dbt += std::string("\xFF\xFF\x08\x00", 4) + le32(3) + "bin";
    dir.write("t.dbt", dbt);
    auto t = DbfTable::open(dir.file("t.dbf"));
    EXPECT_EQ(t->value(0, 0), Value::string("dBASE four"));
    EXPECT_EQ(t->value(0, 1), Value::string("bin"));  // a 10-byte B of dBASE is a binary memo
}

TEST(DbfReadMemo, MemoOfANonMemoFieldIsAnError) {
    TempDir dir;
    dir.write("t.dbf", rawTable(0x03, {{"NAME", 'C', 2}}, {" ab"}));
    auto t = DbfTable::open(dir.file("t.dbf"));
    try {
        t->memo(0, 0);
        FAIL() << "memo() of a C field succeeded";
    } catch (const EngineError& e) {
        EXPECT_EQ(e.number(), errDataTypeMismatch);
        EXPECT_NE(e.description().find("NAME"), std::string::npos);
    }
}

TEST(DbfParseNumeric, AcceptsWhatNFieldsHold) {
    struct Case {
        std::string_view text;
        int scale;
        int64_t units;
        bool blank;
    };
    const Case cases[] = {
        {"  12.50", 2, 1250, false}, {"147.8", 2, 14780, false}, {"    -3", 0, -3, false}, {"      ", 2, 0, true},
        {"", 0, 0, true}, {"+7", 1, 70, false}, {"0012", 0, 12, false}, {"12,5", 2, 1250, false},
        {"1.230", 2, 123, false}, {"1.5E+2", 0, 150, false}, {".98765E+5", 0, 98765, false}, {"25e-1", 1, 25, false},
        {"-.5", 1, -5, false}, {"9223372036854775807", 0, INT64_MAX, false},
        {"-9223372036854775808", 0, INT64_MIN, false}, {std::string_view("\0\0 5\0", 5), 0, 5, false},
    };
    for (const Case& c : cases) {
        int64_t units = -1;
        bool blank = false;
        EXPECT_TRUE(parseNumericField(c.text.data(), c.text.size(), c.scale, units, blank)) << c.text;
        EXPECT_EQ(units, c.units) << c.text;
        EXPECT_EQ(blank, c.blank) << c.text;
    }
}

TEST(DbfParseNumeric, RefusesJunkExtraDecimalsAndOverflow) {
    const std::pair<const char*, int> cases[] = {
        {"*****", 2}, {"12a", 0}, {"1 2", 0}, {"-", 0}, {".", 2}, {"1.2.3", 2}, {"1.234", 2}, {"1e", 0},
        {"1e-1", 0}, {"9223372036854775808", 0}, {"99999999999999999999", 0}, {"92233720368547758.07", 3},
        {"1E+99", 0}, {"--1", 0}, {"1-", 0},
    };
    for (auto [text, scale] : cases) {
        int64_t units = 99;
        bool blank = true;
        EXPECT_FALSE(parseNumericField(text, std::strlen(text), scale, units, blank)) << text;
        EXPECT_EQ(units, 0) << text;
        EXPECT_FALSE(blank) << text;
    }
}

TEST(DbfWriteVariableLength, AssignSetsTheLengthByteAndBits) {
    TempDir dir;
    // V is bits 0 (length) and 1 (null), Q bit 2.
    std::vector<RawField> fields = {{"V", 'V', 6, 0, 0x02}, {"Q", 'Q', 4}, {"_NullFlags", '0', 1, 0, 0x05}};
    dir.write("t.dbf", rawTable(0x32, fields, {std::string(" ") + "abcdef" + std::string(4, '\0') + std::string(1, '\0')}));
    DbfWriter writer(dir.file("t.dbf"));
    auto t = DbfTable::open(dir.file("t.dbf"));
    writer.assign(0, 0, Value::string("xy"));
    writer.assign(0, 1, Value::string(std::string("\x01\x02\x03", 3)));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(t->record(0)), 12),
              std::string(" xy   \x02") + std::string("\x01\x02\x03\x03", 4) + "\x05");
    EXPECT_EQ(t->value(0, 0), Value::string("xy"));
    EXPECT_EQ(t->value(0, 1), Value::string(std::string("\x01\x02\x03", 3)));
    writer.assign(0, 0, Value::string("sixsix"));
    writer.assign(0, 1, Value::string(""));
    EXPECT_EQ(t->value(0, 0), Value::string("sixsix"));
    EXPECT_EQ(t->value(0, 1), Value::string(""));
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
