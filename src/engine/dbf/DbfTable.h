// Read access to one dBASE III/IV or Visual FoxPro table and its memo file.
//
// The table is memory-mapped; nothing is decoded until asked for, so a query
// touches only the bytes of the columns it uses. Opening validates the whole
// header against the file size, so that every later access by record and
// field index stays inside the mapping. A damaged table is an EngineError
// whose description names the file and the fault.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Value.h"
#include "engine/dbf/DbfField.h"

namespace vantrep::engine::dbf {

class MemoFile;

// What identifies the table's bytes on disk: any change of it means cached
// decodings of the table are stale.
struct FileStamp {
    uint64_t device = 0, inode = 0, size = 0;
    int64_t modifiedNs = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

FileStamp stampOf(const std::string& path);  // all zero when the file is missing

class DbfTable {
public:
    // Opens and validates the table at `path` (and its .fpt/.dbt memo file, found
    // beside it without regard to case, when it has memo fields).
    // Throws EngineError (errFileNotFound, errNotATable, errCorruptTable).
    static std::unique_ptr<DbfTable> open(const std::string& path);
    ~DbfTable();
    DbfTable(const DbfTable&) = delete;
    DbfTable& operator=(const DbfTable&) = delete;

    const std::string& path() const { return path_; }
    const FileStamp& stamp() const { return stamp_; }
    uint8_t version() const { return version_; }
    int codePage() const { return codePage_; }  // e.g. 1252
    const std::vector<DbfField>& fields() const { return fields_; }
    int fieldIndex(std::string_view name) const;  // any case; -1 when absent
    uint32_t recordCount() const { return recordCount_; }
    uint32_t recordLength() const { return recordLength_; }
    uint32_t headerLength() const { return headerLength_; }

    // Raw bytes of record `record` (0-based, < recordCount()): recordLength() bytes,
    // byte 0 the deletion flag. Valid while the table is open.
    const uint8_t* record(uint32_t record) const { return data_ + headerLength_ + size_t(record) * recordLength_; }
    // Lets the pages of the table read so far leave memory (see releasePages).
    void releasePages() const;
    bool isDeleted(uint32_t record) const { return this->record(record)[0] == '*'; }
    // Copies records [first, first + count) into `buffer` (count *
    // recordLength() bytes) by a positioned read of the file rather than
    // through the mapping. Throws EngineError (errIo) when the file cannot be
    // read or ends early.
    void readRecords(uint32_t first, uint32_t count, uint8_t* buffer) const;
    bool isNull(uint32_t record, int field) const;

    // The field's bytes in the record: the whole field, or for a short V/Q value
    // its stored length. Memo fields give their pointer bytes.
    std::string_view rawBytes(uint32_t record, int field) const;

    // The decoded value. Strings (C, V, M) are in the table's code page, blank
    // padding kept for C; N/F as Decimal with the field's decimals; I as Integer;
    // Y as Decimal scale 4; B as Double; D as Date (0 when empty); T as DateTime;
    // L as Logical; memo types as String (their whole content); NULL per _NullFlags.
    // Throws EngineError for a memo pointer outside the memo file.
    Value value(uint32_t record, int field) const;

    // The same three, read from a copy of a record's bytes (recordLength()
    // bytes) rather than through the mapping. valueInRecord takes fields whose
    // value is in the record only (no memo fields: EngineError).
    bool isNullInRecord(const uint8_t* recordBytes, int field) const;
    std::string_view rawBytesInRecord(const uint8_t* recordBytes, int field) const;
    Value valueInRecord(const uint8_t* recordBytes, int field) const;

    // Memo content (M, G, W; dBASE B memos) of the record, raw bytes.
    std::string memo(uint32_t record, int field) const;

    // Code-page text to UTF-8 and back. encode() throws EngineError
    // (errDataTypeMismatch) for a character the code page cannot hold.
    std::string decode(std::string_view bytes) const;
    std::string encode(std::string_view utf8) const;

private:
    DbfTable() = default;

    std::string path_;
    FileStamp stamp_;
    int fd_ = -1;
    const uint8_t* data_ = nullptr;
    size_t mappedSize_ = 0;
    uint8_t version_ = 0;
    int codePage_ = 1252;
    uint32_t recordCount_ = 0, recordLength_ = 0, headerLength_ = 0;
    std::vector<DbfField> fields_;
    int nullFlagsOffset_ = -1;  // offset of _NullFlags in the record, or -1
    int nullFlagsLength_ = 0;
    std::unique_ptr<MemoFile> memo_;
};

// Exact parse of the ASCII bytes of an N or F field into units of 10^-scale.
// Blank gives 0 with `blank` set. Returns false for bytes that are not a number
// (overflow stars, junk), for a value with more decimals than `scale` and for
// one that overflows int64; `units` is then 0. Fast: no allocation.
bool parseNumericField(const char* bytes, size_t length, int scale, int64_t& units, bool& blank);

}  // namespace vantrep::engine::dbf
