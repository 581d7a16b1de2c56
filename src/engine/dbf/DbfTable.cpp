#include "engine/dbf/DbfTable.h"

#include <cstring>

#include "engine/EngineError.h"
#include "engine/dbf/CodePage.h"
#include "engine/dbf/DbfHeader.h"
#include "engine/dbf/FileAccess.h"
#include "engine/dbf/MemoFile.h"

namespace vantrep::engine::dbf {

namespace {

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
        if (x != y) return false;
    }
    return true;
}

const char* extensionOf(MemoKind kind) { return kind == MemoKind::Fpt ? ".fpt" : ".dbt"; }

// The memo file beside the table: the kind its version uses, else the other kind.
std::unique_ptr<MemoFile> openMemo(const std::string& path, uint8_t version) {
    MemoKind kind = memoKindOf(version);
    std::string found = findBeside(path, extensionOf(kind));
    if (found.empty()) {
        MemoKind other = kind == MemoKind::Fpt ? MemoKind::Dbt3 : MemoKind::Fpt;
        found = findBeside(path, extensionOf(other));
        if (found.empty())
            throw EngineError(errFileNotFound, "The memo file \"" + replaceExtension(path, extensionOf(kind)) +
                                                   "\" of table \"" + path + "\" does not exist.");
        kind = other;
    }
    return std::make_unique<MemoFile>(found, kind);
}

Value numericValue(const char* bytes, size_t length, int decimals) {
    int64_t units;
    bool blank;
    if (parseNumericField(bytes, length, decimals, units, blank)) return Value::decimal(Decimal{units, decimals});
    // More decimals than declared, or too long for the fast path: parse as written.
    std::optional<Decimal> parsed = Decimal::parse(std::string_view(bytes, length));
    if (!parsed) return Value::decimal(Decimal{0, decimals});
    return Value::decimal(parsed->scale < decimals ? parsed->rescaled(decimals) : *parsed);
}

Value dateValue(const char* bytes) {
    int parts[3] = {0, 0, 0};
    const int widths[3] = {4, 2, 2};
    const char* p = bytes;
    for (int k = 0; k < 3; ++k) {
        for (int i = 0; i < widths[k]; ++i, ++p) {
            if (*p < '0' || *p > '9') return Value::date(0);
            parts[k] = parts[k] * 10 + (*p - '0');
        }
    }
    if (!isValidDate(parts[0], parts[1], parts[2])) return Value::date(0);
    return Value::date(julianDay(parts[0], parts[1], parts[2]));
}

// A day number or time of day outside the calendar reads as the empty
// datetime, as an impossible date reads as the empty date.
Value dateTimeValue(const uint8_t* bytes) {
    int64_t day = readLe32(bytes), ms = readLe32(bytes + 4);
    if (day < firstCalendarDay || day > lastCalendarDay || ms >= msPerDay) return Value::dateTime(0);
    return Value::dateTime(day * msPerDay + ms);
}

Value logicalValue(char c) {
    return Value::logical(c == 'T' || c == 't' || c == 'Y' || c == 'y');
}

}  // namespace

std::unique_ptr<DbfTable> DbfTable::open(const std::string& path) {
    std::unique_ptr<DbfTable> table(new DbfTable());
    table->path_ = path;
    Mapping mapping = mapFile(path);
    table->fd_ = mapping.fd;
    table->data_ = mapping.data;
    table->mappedSize_ = mapping.size;
    table->stamp_ = mapping.stamp;

    static const uint8_t nothing[1] = {0};
    DbfHeader header = parseDbfHeader(table->data_ ? table->data_ : nothing, table->mappedSize_, path);
    table->version_ = header.version;
    table->codePage_ = codePageFromMark(header.codePageMark);
    table->recordCount_ = header.recordCount;
    table->recordLength_ = header.recordLength;
    table->headerLength_ = header.headerLength;
    table->nullFlagsOffset_ = header.nullFlagsOffset;
    table->nullFlagsLength_ = header.nullFlagsLength;
    if (hasMemoFields(header)) table->memo_ = openMemo(path, header.version);
    table->fields_ = std::move(header.fields);
    return table;
}

DbfTable::~DbfTable() { unmapFile(Mapping{fd_, data_, mappedSize_, stamp_}); }

void DbfTable::releasePages() const { dbf::releasePages(Mapping{fd_, data_, mappedSize_, stamp_}); }

int DbfTable::fieldIndex(std::string_view name) const {
    for (size_t i = 0; i < fields_.size(); ++i)
        if (equalIgnoringCase(fields_[i].name, name)) return static_cast<int>(i);
    return -1;
}

void DbfTable::readRecords(uint32_t first, uint32_t count, uint8_t* buffer) const {
    readAt(fd_, buffer, size_t(count) * recordLength_, headerLength_ + uint64_t(first) * recordLength_, path_);
}

bool DbfTable::isNull(uint32_t record, int field) const { return isNullInRecord(this->record(record), field); }

bool DbfTable::isNullInRecord(const uint8_t* recordBytes, int field) const {
    int bit = fields_[field].nullBit;
    if (bit < 0) return false;
    return (recordBytes[nullFlagsOffset_ + bit / 8] >> (bit % 8)) & 1;
}

std::string_view DbfTable::rawBytes(uint32_t record, int field) const {
    return rawBytesInRecord(this->record(record), field);
}

std::string_view DbfTable::rawBytesInRecord(const uint8_t* recordBytes, int field) const {
    const DbfField& f = fields_[field];
    const uint8_t* bytes = recordBytes + f.offset;
    size_t length = f.length;
    int bit = f.varLengthBit;
    if (bit >= 0 && ((recordBytes[nullFlagsOffset_ + bit / 8] >> (bit % 8)) & 1)) {
        size_t stored = bytes[length - 1];
        length = stored < length ? stored : length - 1;
    }
    return std::string_view(reinterpret_cast<const char*>(bytes), length);
}

// Fields whose whole value is in the record; the others point into the memo file.
static bool heldInRecord(const DbfField& f) {
    return std::string_view("CVQNFDLIYT").find(f.type) != std::string_view::npos || (f.type == 'B' && !isMemoField(f));
}

Value DbfTable::value(uint32_t record, int field) const {
    const DbfField& f = fields_[field];
    if (heldInRecord(f)) return valueInRecord(this->record(record), field);
    if (f.nullBit >= 0 && isNull(record, field)) return Value::null();
    return Value::string(memo(record, field));
}

Value DbfTable::valueInRecord(const uint8_t* recordBytes, int field) const {
    const DbfField& f = fields_[field];
    if (f.nullBit >= 0 && isNullInRecord(recordBytes, field)) return Value::null();
    const uint8_t* bytes = recordBytes + f.offset;
    const char* text = reinterpret_cast<const char*>(bytes);
    switch (f.type) {
    case 'C': return Value::string(std::string(text, f.length));
    case 'V': case 'Q': return Value::string(std::string(rawBytesInRecord(recordBytes, field)));
    case 'N': case 'F': return numericValue(text, f.length, f.decimals);
    case 'D': return dateValue(text);
    case 'L': return logicalValue(text[0]);
    case 'I': return Value::integer(static_cast<int32_t>(readLe32(bytes)));
    case 'Y': return Value::decimal(Decimal{static_cast<int64_t>(uint64_t(readLe32(bytes)) | uint64_t(readLe32(bytes + 4)) << 32), 4});
    case 'T': return dateTimeValue(bytes);
    case 'B': {
        double d;
        std::memcpy(&d, bytes, sizeof d);
        return Value::real(d);
    }
    default:
        throw EngineError(errDataTypeMismatch, "Field " + f.name + " of table \"" + path_ + "\" is a memo field.");
    }
}

std::string DbfTable::memo(uint32_t record, int field) const {
    const DbfField& f = fields_[field];
    auto where = [&] { return "record " + std::to_string(uint64_t(record) + 1) + ", field " + f.name; };
    if (!isMemoField(f))
        throw EngineError(errDataTypeMismatch, "Field " + f.name + " of table \"" + path_ + "\" is not a memo field.");
    const uint8_t* bytes = this->record(record) + f.offset;
    uint64_t block = 0;
    if (f.length == 4) {
        block = readLe32(bytes);
    } else {
        std::string_view text(reinterpret_cast<const char*>(bytes), f.length);
        size_t first = text.find_first_not_of(std::string_view(" \0", 2));
        size_t last = text.find_last_not_of(std::string_view(" \0", 2));
        for (size_t i = first; first != std::string_view::npos && i <= last; ++i) {
            if (text[i] < '0' || text[i] > '9')
                throw EngineError(errCorruptTable, "Table \"" + path_ + "\" is damaged: the memo pointer of " + where() +
                                                       " is not a block number.");
            block = block * 10 + uint64_t(text[i] - '0');
        }
    }
    if (block == 0) return std::string();
    std::string content, fault;
    if (!memo_->read(block, content, fault))
        throw EngineError(errCorruptTable, "Table \"" + path_ + "\" is damaged: the memo of " + where() + " is unreadable: " +
                                               fault + " (\"" + memo_->path() + "\").");
    return content;
}

std::string DbfTable::decode(std::string_view bytes) const { return decodeCodePage(bytes, codePage_); }

std::string DbfTable::encode(std::string_view utf8) const {
    return encodeCodePage(utf8, codePage_, "table \"" + path_ + "\"");
}

}  // namespace vantrep::engine::dbf
