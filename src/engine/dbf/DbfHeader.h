// The header of a .dbf file: decoding and validating it, and building one.
//
// Layout (integers little-endian):
//   0      version byte (0x03 dBASE III, 0x83 dBASE III with .dbt memo,
//          0x8B dBASE IV with memo, 0x30/0x31/0x32 Visual FoxPro, 0xF5 FoxPro 2.x ...)
//   1-3    date of the last update: year, month, day (year - 1900 for dBASE,
//          year mod 100 for FoxPro)
//   4-7    record count        8-9   header length (offset of record 0)
//   10-11  record length, including the deletion byte
//   28     flags: 0x01 structural .cdx, 0x02 memo, 0x04 database container
//   29     code page mark
//   32...  32-byte field descriptors, ended by 0x0D:
//            0-10 name (NUL padded), 11 type letter, 12-15 displacement (VFP),
//            16 length, 17 decimals, 18 VFP flags (0x02 nullable, 0x04 binary)
//   then, in Visual FoxPro tables, 263 bytes naming the owning database.
// Records follow at the header length; byte 0 of a record is ' ' (active) or
// '*' (deleted), the fields follow at cumulative offsets. A VFP table with
// nullable or variable-length fields has a hidden field "_NullFlags" (type '0')
// whose bits are handed out in field order: a V/Q field first takes a
// "short value" bit, then a nullable field takes a "null" bit. Bit k is
// byte k/8, mask 1 << (k % 8).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/dbf/DbfField.h"

namespace vantrep::engine::dbf {

enum class MemoKind { None, Fpt, Dbt3, Dbt4 };

constexpr uint8_t flagStructuralIndex = 0x01;
constexpr uint8_t flagHasMemo = 0x02;
constexpr uint8_t fieldFlagSystem = 0x01;
constexpr uint8_t fieldFlagNullable = 0x02;
constexpr uint8_t fieldFlagBinary = 0x04;
constexpr size_t backlinkLength = 263;
// Julian Day Numbers of 0001-01-01 and 9999-12-31: the dates a table can hold.
constexpr int64_t firstCalendarDay = 1721426;
constexpr int64_t lastCalendarDay = 5373484;

// Bytes of a file's start that are enough to decode any header.
constexpr size_t headerReadLength = 65536 + 32;

struct DbfHeader {
    uint8_t version = 0x30;
    uint8_t flags = 0;
    uint8_t codePageMark = 0;
    uint32_t recordCount = 0;
    uint32_t headerLength = 0;
    uint32_t recordLength = 0;
    std::vector<DbfField> fields;  // without _NullFlags
    int nullFlagsOffset = -1;      // offset of _NullFlags in the record, or -1
    int nullFlagsLength = 0;
};

bool isVisualFoxPro(uint8_t version);
// The memo file a table of this version keeps its memos in.
MemoKind memoKindOf(uint8_t version);
// M, G, P, W, and the 10-byte B of dBASE: the record holds a block number.
bool isMemoField(const DbfField& field);
bool hasMemoFields(const DbfHeader& header);

// Decodes and checks the header at the start of a file of `fileSize` bytes;
// `bytes` holds at least min(fileSize, headerReadLength) bytes of it. On success every
// record and field lies inside the file. Throws EngineError (errNotATable,
// errCorruptTable) naming `path` and the fault.
DbfHeader parseDbfHeader(const uint8_t* bytes, uint64_t fileSize, const std::string& path);

// The header bytes of a new, empty table: descriptors for `header.fields` at
// their offsets, the _NullFlags descriptor when header.nullFlagsLength > 0,
// the terminator and, for Visual FoxPro, the backlink. Dated today.
std::vector<uint8_t> buildDbfHeader(const DbfHeader& header);

// Bytes 1-3 of the header for today's date, in the version's year convention.
void writeUpdateDate(uint8_t* bytes, uint8_t version);

}  // namespace vantrep::engine::dbf
