// Damaged tables: a good table written by our writer, broken at known
// offsets; each fault must be the right error, naming the file and the fault,
// and never a read outside the file.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
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
    void SetUp() override { writeGoodTable(); }

    void writeGoodTable() {
        DbfWriter::create(path(), {{"NAME", 'C', 10}, {"QTY", 'N', 6, 2, true}, {"NOTES", 'M'}, {"ON", 'D'}});
        DbfWriter writer(path());
        writer.append({Value::string("first"), Value::decimal(Decimal{150, 2}), Value::string("memo one")});
        writer.append({Value::string("second"), Value::null(), Value::string("memo two")});
        writer.append({Value::string("third"), Value::decimal(Decimal{-5, 2}), Value::string("")});
    }

    std::string path() const { return dir.file("t.dbf"); }
    void patch(size_t offset, const std::string& bytes) const { dir.patch("t.dbf", offset, bytes); }

    // Runs `action`, which must throw the EngineError `number` whose
    // description holds each of `mentions`.
    template <typename F>
    void expectError(F action, int number, const std::vector<std::string>& mentions) {
        try {
            action();
            ADD_FAILURE() << "no error; expected: " << mentions.back();
        } catch (const EngineError& e) {
            EXPECT_EQ(e.number(), number) << e.description();
            for (const std::string& text : mentions)
                EXPECT_NE(e.description().find(text), std::string::npos) << e.description() << "\nlacks " << text;
        }
    }

    // Opening fails with `number`, naming the table (or `file`) and `fault`.
    void expectOpenError(int number, const std::string& fault, const std::string& file = "") {
        expectError([&] { DbfTable::open(path()); }, number, {"\"" + (file.empty() ? path() : file) + "\"", fault});
    }

    // Reading field `field` of record `record`, as a value and as a memo, is a
    // damaged-memo error naming the table, the record, the field and `fault`.
    void expectValueError(DbfTable& table, uint32_t record, int field, const std::string& fault) {
        const std::string file = "\"" + table.path() + "\"";
        const std::string where = "record " + std::to_string(record + 1) + ", field " + table.fields()[field].name;
        expectError([&] { table.value(record, field); }, errCorruptTable, {file, where, fault});
        expectError([&] { table.memo(record, field); }, errCorruptTable, {file, where, fault});
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

// Each fault, made in a fresh copy of the good table, is found on opening.
TEST_F(DbfDamage, FaultsFoundOnOpening) {
    const std::string fpt = dir.file("t.fpt");
    const struct {
        std::function<void()> damage;
        int number;
        std::string fault;
        std::string file = "";  // the file named, when not the table
    } faults[] = {
        // Files that are no tables.
        {[&] { dir.truncate("t.dbf", 20); }, errNotATable, "20 bytes"},
        {[&] { dir.truncate("t.dbf", 0); }, errNotATable, "0 bytes"},
        {[&] { dir.write("t.dbf", std::string(64, 'x')); }, errNotATable, "unknown version byte 0x78"},
        {[&] { dir.write("t.dbf", "\x8C" + std::string(63, '\0')); }, errNotATable, "dBASE 7"},
        {[&] { patch(0, "\x99"); }, errNotATable, "unknown version byte 0x99"},
        // The header's lengths and counts.
        {[&] { patch(8, le16(0xFFFF)); }, errCorruptTable, "header length 65535 is beyond the end of the file"},
        {[&] { patch(8, le16(20)); }, errCorruptTable, "header length 20 is too small"},
        {[&] { patch(8, le16(unsigned(descriptor(5)))); },  // ends just before the terminator
         errCorruptTable, "header length 192 is too small for its 5 field descriptors"},
        {[&] { patch(descriptor(5), " "); }, errCorruptTable, "not ended by 0x0D"},
        {[&] { patch(4, le32(10)); }, errCorruptTable, "counts 10 records but the file holds 3"},
        {[&] { patch(4, le32(0xFFFFFFFF)); }, errCorruptTable, "counts 4294967295 records but the file holds 3"},
        {[&] { dir.truncate("t.dbf", recordStart(2) + 15); }, errCorruptTable, "the last record (3) is truncated"},
        {[&] { patch(10, le16(0)); }, errCorruptTable, "record length is 0"},
        {[&] { patch(10, le16(20)); }, errCorruptTable, "record length 20 is less than its fields need (30)"},
        // Field descriptors.
        {[&] { patch(descriptor(0) + 16, std::string(1, '\0')); }, errCorruptTable,
         "field 1 (NAME) of type 'C' has the invalid length 0"},
        {[&] { patch(descriptor(3) + 16, "\x07"); }, errCorruptTable,
         "field 4 (ON) of type 'D' has the invalid length 7"},
        {[&] { patch(descriptor(1) + 17, "\x06"); }, errCorruptTable,
         "field 2 (QTY) of type 'N' has the invalid length 6 with 6 decimals"},
        {[&] { patch(descriptor(3) + 11, "C"); patch(descriptor(3) + 16, "\x10"); },  // ON made a C(16)
         errCorruptTable, "lies past the end of the record"},
        {[&] { patch(descriptor(1) + 11, "Z"); }, errCorruptTable, "field 2 (QTY) has the unknown type 'Z'"},
        {[&] { patch(descriptor(1) + 11, "\x01"); }, errCorruptTable, "unknown type 0x01"},
        {[&] { patch(descriptor(0), "\x0D"); }, errCorruptTable, "no fields"},
        // The memo file.
        {[&] { ASSERT_EQ(std::remove(fpt.c_str()), 0); }, errFileNotFound, "does not exist", fpt},
        {[&] { dir.patch("t.fpt", 6, std::string(2, '\0')); }, errCorruptTable, "block size is 0", fpt},
        {[&] { dir.truncate("t.fpt", 4); }, errCorruptTable, "fewer than its header", fpt},
        // _NullFlags.
        {[&] { patch(descriptor(4) + 16, std::string(1, '\0')); }, errCorruptTable, "_NullFlags field has length 0"},
        {[&] { patch(descriptor(4) + 11, "C"); },  // now an ordinary field
         errCorruptTable, "no _NullFlags field"},
        {[&] {
             std::vector<FieldSpec> nine;
             for (int i = 0; i < 9; ++i) nine.push_back({std::string("F") + char('0' + i), 'C', 1, 0, true});
             DbfWriter::create(path(), nine);
             patch(descriptor(9) + 16, "\x01");  // 9 null bits need 2 bytes
         },
         errCorruptTable, "the _NullFlags field has 1 byte(s), too few for the 9 flags"},
        {[&] { patch(0, "\x03"); }, errCorruptTable, "type '0' of a Visual FoxPro table"},  // in a dBASE table
    };
    for (const auto& f : faults) {
        SCOPED_TRACE(f.fault);
        writeGoodTable();
        f.damage();
        expectOpenError(f.number, f.fault, f.file);
    }
}

TEST_F(DbfDamage, MemoPointersOutsideTheMemoFile) {
    patch(recordStart(1) + notesOffset, le32(9999));
    patch(recordStart(2) + notesOffset, le32(1));
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
    patch(32 + 32 + 1 + 1, "    12x   ");
    patch(32 + 32 + 1 + 11 + 1, "        77");
    auto t = DbfTable::open(path());
    expectValueError(*t, 0, 0, "is not a block number");
    expectValueError(*t, 1, 0, "block 77 is beyond the end of the memo file");
    EXPECT_EQ(t->value(2, 0), Value::string("c"));
}
