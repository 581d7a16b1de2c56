// Damaged tables: a good table written by our writer, broken at known
// offsets; each fault must be the right error, naming the file and the fault,
// and never a read outside the file.
#include <gtest/gtest.h>

#include <cstdio>
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

// NAME C(10), QTY N(6,2) NULL, NOTES M, ON D and _NullFlags: descriptors at
// 32, 64, 96, 128, 160, the terminator at 192, records of 30 bytes at 456.
constexpr size_t headerLength = 32 + 5 * 32 + 1 + 263;
constexpr size_t recordLength = 1 + 10 + 6 + 4 + 8 + 1;
constexpr size_t descriptor(int field) { return 32 + 32 * size_t(field); }
constexpr size_t recordStart(int record) { return headerLength + recordLength * size_t(record); }
constexpr size_t notesOffset = 1 + 10 + 6;

std::string le16(unsigned v) { return std::string{char(v & 0xFF), char(v >> 8 & 0xFF)}; }
std::string le32(uint32_t v) { return le16(v & 0xFFFF) + le16(v >> 16); }

class DbfDamage : public ::testing::Test {
protected:
    void SetUp() override {
        DbfWriter::create(path(), {{"NAME", 'C', 10}, {"QTY", 'N', 6, 2, true}, {"NOTES", 'M'}, {"ON", 'D'}});
        DbfWriter writer(path());
        writer.append({Value::string("first"), Value::decimal(Decimal{150, 2}), Value::string("memo one")});
        writer.append({Value::string("second"), Value::null(), Value::string("memo two")});
        writer.append({Value::string("third"), Value::decimal(Decimal{-5, 2}), Value::string("")});
    }

    std::string path() const { return dir.file("t.dbf"); }

    // Opens the table expecting the error `number` whose description names the
    // table (or `file`) and holds `fault`.
    void expectOpenError(int number, const std::string& fault, const std::string& file = "") {
        try {
            auto table = DbfTable::open(path());
            ADD_FAILURE() << "opened a damaged table; expected: " << fault;
        } catch (const EngineError& e) {
            EXPECT_EQ(e.number(), number) << e.description();
            EXPECT_NE(e.description().find("\"" + (file.empty() ? path() : file) + "\""), std::string::npos)
                << e.description();
            EXPECT_NE(e.description().find(fault), std::string::npos) << e.description();
        }
    }

    // Reads field `field` of record `record` expecting a damaged-memo error.
    void expectValueError(DbfTable& table, uint32_t record, int field, const std::string& fault) {
        for (int pass = 0; pass < 2; ++pass) {
            try {
                if (pass == 0) table.value(record, field);
                else table.memo(record, field);
                ADD_FAILURE() << "read a damaged memo; expected: " << fault;
            } catch (const EngineError& e) {
                EXPECT_EQ(e.number(), errCorruptTable) << e.description();
                EXPECT_NE(e.description().find("\"" + table.path() + "\""), std::string::npos) << e.description();
                EXPECT_NE(e.description().find("record " + std::to_string(record + 1) + ", field " +
                                               table.fields()[field].name),
                          std::string::npos)
                    << e.description();
                EXPECT_NE(e.description().find(fault), std::string::npos) << e.description();
            }
        }
    }

    TempDir dir;
};

}  // namespace

TEST_F(DbfDamage, TheUndamagedTableReads) {
    auto t = DbfTable::open(path());
    EXPECT_EQ(t->headerLength(), headerLength);
    EXPECT_EQ(t->recordLength(), recordLength);
    EXPECT_EQ(t->fields()[2].offset, notesOffset);
    EXPECT_EQ(t->value(1, 2), Value::string("memo two"));
    EXPECT_EQ(dir.read("t.dbf").substr(descriptor(5), 1), "\x0D");
}

TEST_F(DbfDamage, FilesThatAreNoTables) {
    dir.truncate("t.dbf", 20);
    expectOpenError(errNotATable, "20 bytes");
    dir.truncate("t.dbf", 0);
    expectOpenError(errNotATable, "0 bytes");
    dir.write("t.dbf", std::string(64, 'x'));
    expectOpenError(errNotATable, "unknown version byte 0x78");
    dir.write("t.dbf", std::string("\x8C") + std::string(63, '\0'));
    expectOpenError(errNotATable, "dBASE 7");
}

TEST_F(DbfDamage, UnknownVersionByte) {
    dir.patch("t.dbf", 0, "\x99");
    expectOpenError(errNotATable, "unknown version byte 0x99");
}

TEST_F(DbfDamage, HeaderLengthBeyondTheFile) {
    dir.patch("t.dbf", 8, le16(0xFFFF));
    expectOpenError(errCorruptTable, "header length 65535 is beyond the end of the file");
}

TEST_F(DbfDamage, HeaderLengthTooSmall) {
    dir.patch("t.dbf", 8, le16(20));
    expectOpenError(errCorruptTable, "header length 20 is too small");
    dir.patch("t.dbf", 8, le16(unsigned(descriptor(5))));  // ends just before the terminator
    expectOpenError(errCorruptTable, "header length 192 is too small for its 5 field descriptors");
}

TEST_F(DbfDamage, MissingTerminator) {
    dir.patch("t.dbf", descriptor(5), " ");
    expectOpenError(errCorruptTable, "not ended by 0x0D");
}

TEST_F(DbfDamage, RecordCountBeyondTheFile) {
    dir.patch("t.dbf", 4, le32(10));
    expectOpenError(errCorruptTable, "counts 10 records but the file holds 3");
    dir.patch("t.dbf", 4, le32(0xFFFFFFFF));
    expectOpenError(errCorruptTable, "counts 4294967295 records but the file holds 3");
}

TEST_F(DbfDamage, TruncatedLastRecord) {
    dir.truncate("t.dbf", recordStart(2) + 15);
    expectOpenError(errCorruptTable, "the last record (3) is truncated");
}

TEST_F(DbfDamage, RecordLengthZeroOrTooShort) {
    dir.patch("t.dbf", 10, le16(0));
    expectOpenError(errCorruptTable, "record length is 0");
    dir.patch("t.dbf", 10, le16(20));
    expectOpenError(errCorruptTable, "record length 20 is less than its fields need (30)");
}

TEST_F(DbfDamage, FieldLengthsInvalidForTheirType) {
    dir.patch("t.dbf", descriptor(0) + 16, std::string(1, '\0'));
    expectOpenError(errCorruptTable, "field 1 (NAME) of type 'C' has the invalid length 0");
    dir.patch("t.dbf", descriptor(0) + 16, "\x0A");
    dir.patch("t.dbf", descriptor(3) + 16, "\x07");
    expectOpenError(errCorruptTable, "field 4 (ON) of type 'D' has the invalid length 7");
    dir.patch("t.dbf", descriptor(3) + 16, "\x08");
    dir.patch("t.dbf", descriptor(1) + 17, "\x06");
    expectOpenError(errCorruptTable, "field 2 (QTY) of type 'N' has the invalid length 6 with 6 decimals");
}

TEST_F(DbfDamage, FieldPastTheRecord) {
    dir.patch("t.dbf", descriptor(3) + 16, "\x10");  // not a D length, so make it a C(16)
    dir.patch("t.dbf", descriptor(3) + 11, "C");
    expectOpenError(errCorruptTable, "lies past the end of the record");
}

TEST_F(DbfDamage, BadTypeLetter) {
    dir.patch("t.dbf", descriptor(1) + 11, "Z");
    expectOpenError(errCorruptTable, "field 2 (QTY) has the unknown type 'Z'");
    dir.patch("t.dbf", descriptor(1) + 11, "\x01");
    expectOpenError(errCorruptTable, "unknown type 0x01");
}

TEST_F(DbfDamage, NoFields) {
    dir.patch("t.dbf", descriptor(0), "\x0D");
    expectOpenError(errCorruptTable, "no fields");
}

TEST_F(DbfDamage, MemoFileMissing) {
    ASSERT_EQ(std::remove(dir.file("t.fpt").c_str()), 0);
    expectOpenError(errFileNotFound, "does not exist", dir.file("t.fpt"));
}

TEST_F(DbfDamage, MemoBlockSizeZeroOrMemoHeaderCut) {
    dir.patch("t.fpt", 6, std::string(2, '\0'));
    expectOpenError(errCorruptTable, "block size is 0", dir.file("t.fpt"));
    dir.truncate("t.fpt", 4);
    expectOpenError(errCorruptTable, "fewer than its header", dir.file("t.fpt"));
}

TEST_F(DbfDamage, NullFlagsMissingOrTooShort) {
    dir.patch("t.dbf", descriptor(4) + 16, std::string(1, '\0'));
    expectOpenError(errCorruptTable, "_NullFlags field has length 0");
    dir.patch("t.dbf", descriptor(4) + 16, "\x01");
    dir.patch("t.dbf", descriptor(4) + 11, "C");  // now an ordinary field: no _NullFlags left
    expectOpenError(errCorruptTable, "no _NullFlags field");

    std::vector<FieldSpec> nine;
    for (int i = 0; i < 9; ++i) nine.push_back({"F" + std::to_string(i), 'C', 1, 0, true});
    DbfWriter::create(path(), nine);
    dir.patch("t.dbf", descriptor(9) + 16, "\x01");  // 9 null bits need 2 bytes
    expectOpenError(errCorruptTable, "the _NullFlags field has 1 byte(s), too few for the 9 flags");
}

TEST_F(DbfDamage, NullFlagsInADBaseTable) {
    dir.patch("t.dbf", 0, "\x03");
    expectOpenError(errCorruptTable, "type '0' of a Visual FoxPro table");
}

TEST_F(DbfDamage, MemoPointersOutsideTheMemoFile) {
    dir.patch("t.dbf", recordStart(1) + notesOffset, le32(9999));
    dir.patch("t.dbf", recordStart(2) + notesOffset, le32(1));
    auto t = DbfTable::open(path());
    expectValueError(*t, 1, 2, "block 9999 is beyond the end of the memo file");
    expectValueError(*t, 2, 2, "block 1 lies inside the memo file's header");
    EXPECT_EQ(t->value(0, 2), Value::string("memo one"));  // other records still read
}

TEST_F(DbfDamage, MemoLengthRunningPastTheEnd) {
    dir.patch("t.fpt", 8 * 64 + 4, std::string("\x7F\xFF\xFF\xFF", 4));
    dir.truncate("t.fpt", 9 * 64 + 4);  // block 9 now holds only part of its header
    auto t = DbfTable::open(path());
    expectValueError(*t, 0, 2, "is 2147483647 bytes long and runs past the end of the memo file");
    expectValueError(*t, 1, 2, "block 9 is beyond the end of the memo file");
}

TEST_F(DbfDamage, DBase3MemoPointers) {
    DbfWriter::create(path(), {{"NOTES", 'M'}}, TableFormat::DBase3);
    DbfWriter(path()).appendMany({{Value::string("a")}, {Value::string("b")}, {Value::string("c")}});
    size_t start = 32 + 32 + 1;
    dir.patch("t.dbf", start + 1, "    12x   ");
    dir.patch("t.dbf", start + 11 + 1, "        77");
    auto t = DbfTable::open(path());
    expectValueError(*t, 0, 0, "is not a block number");
    expectValueError(*t, 1, 0, "block 77 is beyond the end of the memo file");
    EXPECT_EQ(t->value(2, 0), Value::string("c"));
}
