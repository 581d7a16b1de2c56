#include "engine/dbf/DbfWriter.h"

#include <cstring>

#include "engine/EngineError.h"
#include "engine/dbf/CodePage.h"
#include "engine/dbf/DbfHeader.h"
#include "engine/dbf/FieldWriter.h"
#include "engine/dbf/FileAccess.h"
#include "engine/dbf/MemoWriter.h"

namespace vantrep::engine::dbf {

namespace {

constexpr uint8_t endOfFile = 0x1A;
constexpr size_t maxFields = 255;
constexpr size_t appendChunk = 1 << 20;  // bytes of records gathered per write by appendMany

const char* memoExtension(MemoKind kind) { return kind == MemoKind::Fpt ? ".fpt" : ".dbt"; }

[[noreturn]] void badDefinition(int number, const std::string& path, const std::string& fault) {
    throw EngineError(number, "Table \"" + path + "\" cannot be created: " + fault + ".");
}

uint16_t fixedLength(char type, TableFormat format) {
    switch (type) {
    case 'D': case 'Y': case 'B': case 'T': return 8;
    case 'L': return 1;
    case 'I': return 4;
    case 'M': return format == TableFormat::VisualFoxPro ? 4 : 10;
    default: return 0;
    }
}

bool validName(const std::string& name) {
    if (name.empty() || name.size() > 10) return false;
    for (size_t i = 0; i < name.size(); ++i) {
        char c = name[i];
        bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
        if (!letter && !(i > 0 && c >= '0' && c <= '9')) return false;
    }
    return true;
}

std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return s;
}

// The descriptors of a new table, checked, at their offsets in the record.
DbfHeader headerFor(const std::string& path, const std::vector<FieldSpec>& specs, TableFormat format, int codePage) {
    bool vfp = format == TableFormat::VisualFoxPro;
    if (specs.empty()) badDefinition(errDataTypeMismatch, path, "a table needs at least one field");
    if (specs.size() > maxFields) badDefinition(errFieldTooWide, path, "a table holds at most 255 fields");
    if (!isSupportedCodePage(codePage) || markFromCodePage(codePage) == 0)
        badDefinition(errNotSupported, path, "code page " + std::to_string(codePage) + " is not supported");
    DbfHeader header;
    header.codePageMark = markFromCodePage(codePage);
    uint32_t offset = 1;
    int nullBits = 0;
    bool memo = false;
    for (const FieldSpec& spec : specs) {
        std::string name = upper(spec.name);
        std::string what = "field " + (name.empty() ? std::string("with no name") : name);
        if (!validName(spec.name)) badDefinition(errDataTypeMismatch, path, "the field name \"" + spec.name + "\" is not valid");
        for (const DbfField& other : header.fields)
            if (other.name == name) badDefinition(errDataTypeMismatch, path, "the field name " + name + " is used twice");
        std::string allowed = vfp ? "CNFDLMIYBT" : "CNDLM";
        if (allowed.find(spec.type) == std::string::npos || spec.type == '\0')
            badDefinition(errDataTypeMismatch, path, what + " has a type this table format cannot hold");
        if (spec.nullable && !vfp) badDefinition(errDataTypeMismatch, path, what + ": dBASE III fields cannot be null");
        DbfField field;
        field.name = name;
        field.type = spec.type;
        field.offset = offset;
        field.nullable = spec.nullable;
        uint16_t own = fixedLength(spec.type, format);
        int length = own ? (spec.length == 0 ? own : spec.length) : spec.length;
        bool lengthOk = own ? length == own : (spec.type == 'C' ? length >= 1 && length <= 254 : length >= 1 && length <= 20);
        bool decimalsOk = spec.decimals == 0 || ((spec.type == 'N' || spec.type == 'F') && spec.decimals > 0 &&
                                                 spec.decimals < length) ||
                          (spec.type == 'B' && spec.decimals > 0 && spec.decimals <= 18);
        if (!lengthOk || !decimalsOk)
            badDefinition(errFieldTooWide, path, what + " cannot have length " + std::to_string(spec.length) +
                                                     " with " + std::to_string(spec.decimals) + " decimals");
        field.length = static_cast<uint16_t>(length);
        field.decimals = static_cast<uint8_t>(spec.decimals);
        if (spec.nullable) field.nullBit = nullBits++;
        memo = memo || spec.type == 'M';
        offset += field.length;
        header.fields.push_back(std::move(field));
    }
    if (nullBits > 0) {
        header.nullFlagsOffset = static_cast<int>(offset);
        header.nullFlagsLength = (nullBits + 7) / 8;
        offset += static_cast<uint32_t>(header.nullFlagsLength);
    }
    if (offset > 65535) badDefinition(errFieldTooWide, path, "its records would be longer than 65535 bytes");
    header.version = vfp ? 0x30 : (memo ? 0x83 : 0x03);
    header.flags = vfp && memo ? flagHasMemo : 0;
    header.recordLength = offset;
    size_t descriptors = header.fields.size() + (nullBits > 0 ? 1 : 0);
    header.headerLength = static_cast<uint32_t>(32 + 32 * descriptors + 1 + (vfp ? backlinkLength : 0));
    return header;
}

}  // namespace

struct DbfWriter::State {
    std::string path;
    int fd = -1;
    DbfHeader header;
    int codePage = defaultCodePage;
    std::string memoPath;
    MemoKind memoKind = MemoKind::None;
    std::unique_ptr<MemoWriter> memo;
    uint8_t writtenDate[3] = {0, 0, 0};  // the update date last put in the header

    ~State() { closeFile(fd); }

    uint32_t storeMemo(std::string_view bytes) {
        if (!memo) memo = std::make_unique<MemoWriter>(memoPath, memoKind);
        return memo->append(bytes);
    }

    std::vector<uint8_t> encode(const std::vector<Value>& values) {
        if (values.size() > header.fields.size())
            throw EngineError(errTooManyArguments, "Table \"" + path + "\" has " + std::to_string(header.fields.size()) +
                                                       " fields; " + std::to_string(values.size()) + " values were given.");
        FieldWriter writer(header, codePage, path);
        std::vector<uint8_t> record = writer.blankRecord();
        auto store = [this](std::string_view bytes) { return storeMemo(bytes); };
        for (size_t i = 0; i < values.size(); ++i) writer.put(record.data(), static_cast<int>(i), values[i], store);
        return record;
    }

    uint64_t recordOffset(uint64_t record) const { return header.headerLength + record * header.recordLength; }

    void checkRecord(uint32_t record) const {
        if (record >= header.recordCount)
            throw EngineError(errRecordset, "Record " + std::to_string(uint64_t(record) + 1) + " does not exist in table \"" +
                                                path + "\", which has " + std::to_string(header.recordCount) + " records.");
    }

    // Puts today's date into the header when it is not there yet.
    void touch() {
        uint8_t today[3];
        writeUpdateDate(today, header.version);
        if (std::memcmp(today, writtenDate, 3) == 0) return;
        writeAt(fd, today, 3, 1, path);
        std::memcpy(writtenDate, today, 3);
    }

    void writeCountAndDate() {
        uint8_t bytes[7];
        writeUpdateDate(bytes, header.version);
        writeLe32(bytes + 3, header.recordCount);
        writeAt(fd, bytes, sizeof bytes, 1, path);
        std::memcpy(writtenDate, bytes, 3);
    }
};

void DbfWriter::create(const std::string& path, const std::vector<FieldSpec>& fields, TableFormat format, int codePage) {
    DbfHeader header = headerFor(path, fields, format, codePage);
    if (hasMemoFields(header)) {
        MemoKind kind = format == TableFormat::VisualFoxPro ? MemoKind::Fpt : MemoKind::Dbt3;
        std::string memoPath = findBeside(path, memoExtension(kind));
        MemoWriter::create(memoPath.empty() ? replaceExtension(path, memoExtension(kind)) : memoPath, kind);
    }
    std::vector<uint8_t> bytes = buildDbfHeader(header);
    bytes.push_back(endOfFile);
    replaceFile(path, bytes);
}

DbfWriter::DbfWriter(const std::string& path) : state_(std::make_unique<State>()) {
    State& s = *state_;
    s.path = path;
    s.fd = openForWriting(path);
    uint64_t size = fileSize(s.fd, path);
    std::vector<uint8_t> head(size < headerReadLength ? size_t(size) : headerReadLength);
    if (!head.empty()) readAt(s.fd, head.data(), head.size(), 0, path);
    if (head.empty()) head.push_back(0);
    s.header = parseDbfHeader(head.data(), size, path);
    if (s.header.flags & flagStructuralIndex)
        throw EngineError(errReadOnly, "Table \"" + path + "\" has a structural index (.cdx) that this program cannot keep "
                                       "up to date, so it is not changed.");
    s.codePage = codePageFromMark(s.header.codePageMark);
    std::memcpy(s.writtenDate, head.data() + 1, 3);
    if (hasMemoFields(s.header)) {
        s.memoKind = memoKindOf(s.header.version);
        s.memoPath = findBeside(path, memoExtension(s.memoKind));
        if (s.memoPath.empty()) {
            MemoKind other = s.memoKind == MemoKind::Fpt ? MemoKind::Dbt3 : MemoKind::Fpt;
            s.memoPath = findBeside(path, memoExtension(other));
            if (s.memoPath.empty())
                throw EngineError(errFileNotFound, "The memo file \"" + replaceExtension(path, memoExtension(s.memoKind)) +
                                                       "\" of table \"" + path + "\" does not exist.");
            s.memoKind = other;
        }
    }
}

DbfWriter::~DbfWriter() = default;

void DbfWriter::append(const std::vector<Value>& values) {
    State& s = *state_;
    std::vector<uint8_t> record = s.encode(values);
    record.push_back(endOfFile);
    writeAt(s.fd, record.data(), record.size(), s.recordOffset(s.header.recordCount), s.path);
    ++s.header.recordCount;
    s.writeCountAndDate();
}

void DbfWriter::appendMany(const std::vector<std::vector<Value>>& records) {
    if (records.empty()) return;
    State& s = *state_;
    uint32_t count = s.header.recordCount;
    std::vector<uint8_t> chunk;
    uint64_t chunkStart = s.recordOffset(count);
    try {
        for (const std::vector<Value>& values : records) {
            std::vector<uint8_t> record = s.encode(values);
            chunk.insert(chunk.end(), record.begin(), record.end());
            ++count;
            if (chunk.size() >= appendChunk) {
                writeAt(s.fd, chunk.data(), chunk.size(), chunkStart, s.path);
                chunkStart += chunk.size();
                chunk.clear();
            }
        }
        chunk.push_back(endOfFile);
        writeAt(s.fd, chunk.data(), chunk.size(), chunkStart, s.path);
    } catch (...) {
        // The header still counts the old records, so what was written is not
        // part of the table; put the end mark back behind them.
        const uint8_t mark = endOfFile;
        writeAt(s.fd, &mark, 1, s.recordOffset(s.header.recordCount), s.path);
        throw;
    }
    s.header.recordCount = count;
    s.writeCountAndDate();
}

void DbfWriter::assign(uint32_t record, int field, const Value& value) {
    State& s = *state_;
    s.checkRecord(record);
    if (field < 0 || size_t(field) >= s.header.fields.size())
        throw EngineError(errUnknownName, "Table \"" + s.path + "\" has no field number " + std::to_string(field + 1) + ".");
    std::vector<uint8_t> bytes(s.header.recordLength);
    uint64_t offset = s.recordOffset(record);
    readAt(s.fd, bytes.data(), bytes.size(), offset, s.path);
    FieldWriter writer(s.header, s.codePage, s.path);
    writer.put(bytes.data(), field, value, [&s](std::string_view memo) { return s.storeMemo(memo); });
    writeAt(s.fd, bytes.data(), bytes.size(), offset, s.path);
    s.touch();
}

void DbfWriter::setDeleted(uint32_t record, bool deleted) {
    State& s = *state_;
    s.checkRecord(record);
    const uint8_t flag = deleted ? '*' : ' ';
    writeAt(s.fd, &flag, 1, s.recordOffset(record), s.path);
    s.touch();
}

uint32_t DbfWriter::recordCount() const { return state_->header.recordCount; }

const std::vector<DbfField>& DbfWriter::fields() const { return state_->header.fields; }

}  // namespace vantrep::engine::dbf
