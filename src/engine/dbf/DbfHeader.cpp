#include "engine/dbf/DbfHeader.h"

#include <ctime>

#include "engine/EngineError.h"
#include "engine/dbf/FileAccess.h"

namespace vantrep::engine::dbf {

namespace {

constexpr size_t fileHeaderLength = 32;
constexpr size_t descriptorLength = 32;
constexpr uint8_t headerTerminator = 0x0D;
constexpr char nullFlagsType = '0';
const char nullFlagsName[] = "_NullFlags";

[[noreturn]] void notATable(const std::string& path, const std::string& reason) {
    throw EngineError(errNotATable, "File \"" + path + "\" is not a table: " + reason + ".");
}

[[noreturn]] void corrupt(const std::string& path, const std::string& fault) {
    throw EngineError(errCorruptTable, "Table \"" + path + "\" is damaged: " + fault + ".");
}

bool isKnownVersion(uint8_t version) {
    switch (version) {
    case 0x02: case 0x03: case 0x30: case 0x31: case 0x32: case 0x43: case 0x63:
    case 0x83: case 0x8B: case 0xCB: case 0xF5: case 0xFB:
        return true;
    default:
        return false;
    }
}

std::string hexByte(uint8_t b) {
    static const char digits[] = "0123456789ABCDEF";
    return std::string("0x") + digits[b >> 4] + digits[b & 15];
}

std::string typeText(char type) {
    uint8_t b = static_cast<uint8_t>(type);
    if (b >= 0x21 && b < 0x7F) return std::string("'") + type + "'";
    return hexByte(b);
}

// Name bytes up to the first NUL, without trailing blanks.
std::string fieldName(const uint8_t* descriptor) {
    size_t n = 0;
    while (n < 11 && descriptor[n] != 0) ++n;
    while (n > 0 && descriptor[n - 1] == ' ') --n;
    return std::string(reinterpret_cast<const char*>(descriptor), n);
}

std::string describe(const DbfField& field, size_t number) {
    return "field " + std::to_string(number) + " (" + (field.name.empty() ? "no name" : field.name) + ")";
}

// Whether `length` (and `decimals`) are possible for a field of this type.
bool validLength(const DbfField& field, bool visualFoxPro) {
    switch (field.type) {
    case 'C': return field.length >= 1 && (field.length <= 254 || !visualFoxPro);
    case 'N': case 'F': return field.length >= 1 && field.length <= 20 && field.decimals < field.length;
    case 'D': return field.length == 8;
    case 'L': return field.length == 1;
    case 'I': return field.length == 4;
    case 'Y': case 'T': return field.length == 8;
    case 'B': return field.length == 8 || (field.length == 10 && !visualFoxPro);
    case 'M': case 'G': case 'P': return field.length == 4 || field.length == 10;
    case 'W': return field.length == 4;
    case 'V': case 'Q': return field.length >= 1 && field.length <= 254;
    default: return false;
    }
}

bool knownType(char type) {
    switch (type) {
    case 'C': case 'N': case 'F': case 'D': case 'L': case 'M': case 'G': case 'P':
    case 'B': case 'I': case 'Y': case 'T': case 'V': case 'Q': case 'W':
        return true;
    default:
        return false;
    }
}

// Hands out the _NullFlags bits in VFP order and checks the field can hold them.
void assignNullBits(DbfHeader& header, const std::string& path) {
    int next = 0;
    for (DbfField& field : header.fields) {
        if (field.type == 'V' || field.type == 'Q') field.varLengthBit = next++;
        if (field.nullable) field.nullBit = next++;
    }
    if (next == 0) return;
    if (header.nullFlagsOffset < 0)
        corrupt(path, std::to_string(next) + " null or length flags are needed but the table has no _NullFlags field");
    if (next > header.nullFlagsLength * 8)
        corrupt(path, "the _NullFlags field has " + std::to_string(header.nullFlagsLength) + " byte(s), too few for the " +
                          std::to_string(next) + " flags its fields need");
}

}  // namespace

bool isVisualFoxPro(uint8_t version) { return version == 0x30 || version == 0x31 || version == 0x32; }

MemoKind memoKindOf(uint8_t version) {
    switch (version) {
    case 0x02: case 0x03: case 0x43: case 0x63: case 0x83: return MemoKind::Dbt3;
    case 0x8B: case 0xCB: return MemoKind::Dbt4;
    default: return MemoKind::Fpt;
    }
}

bool isMemoField(const DbfField& field) {
    switch (field.type) {
    case 'M': case 'G': case 'P': case 'W': return true;
    case 'B': return field.length == 10;
    default: return false;
    }
}

bool hasMemoFields(const DbfHeader& header) {
    for (const DbfField& field : header.fields)
        if (isMemoField(field)) return true;
    return false;
}

DbfHeader parseDbfHeader(const uint8_t* bytes, uint64_t fileSize, const std::string& path) {
    if (fileSize < fileHeaderLength)
        notATable(path, "it has " + std::to_string(fileSize) + " bytes, fewer than a table header");
    DbfHeader header;
    header.version = bytes[0];
    if (bytes[0] == 0x04 || bytes[0] == 0x8C) notATable(path, "dBASE 7 tables are not supported");
    if (!isKnownVersion(header.version)) notATable(path, "unknown version byte " + hexByte(header.version));
    header.recordCount = readLe32(bytes + 4);
    header.headerLength = readLe16(bytes + 8);
    header.recordLength = readLe16(bytes + 10);
    header.flags = bytes[28];
    header.codePageMark = bytes[29];
    bool visualFoxPro = isVisualFoxPro(header.version);

    if (header.headerLength > fileSize)
        corrupt(path, "the header length " + std::to_string(header.headerLength) + " is beyond the end of the file (" +
                          std::to_string(fileSize) + " bytes)");
    if (header.headerLength < fileHeaderLength + 1)
        corrupt(path, "the header length " + std::to_string(header.headerLength) + " is too small");

    size_t terminator = fileHeaderLength;
    while (terminator < header.headerLength && bytes[terminator] != headerTerminator) terminator += descriptorLength;
    if (terminator >= header.headerLength) {
        if (terminator < fileSize && bytes[terminator] == headerTerminator)
            corrupt(path, "the header length " + std::to_string(header.headerLength) + " is too small for its " +
                              std::to_string((terminator - fileHeaderLength) / descriptorLength) + " field descriptors");
        corrupt(path, "the field descriptors are not ended by 0x0D within the header");
    }

    uint32_t offset = 1;  // the deletion byte comes first
    for (size_t position = fileHeaderLength; position < terminator; position += descriptorLength) {
        const uint8_t* d = bytes + position;
        DbfField field;
        field.name = fieldName(d);
        field.type = static_cast<char>(d[11]);
        field.length = d[16];
        field.decimals = d[17];
        field.offset = offset;
        size_t number = header.fields.size() + 1;
        if (field.type == nullFlagsType) {
            if (!visualFoxPro) corrupt(path, describe(field, number) + " has the type '0' of a Visual FoxPro table");
            if (header.nullFlagsOffset >= 0) corrupt(path, "the table has two _NullFlags fields");
            if (field.length == 0) corrupt(path, "the _NullFlags field has length 0");
            header.nullFlagsOffset = static_cast<int>(offset);
            header.nullFlagsLength = field.length;
            offset += field.length;
            continue;
        }
        if (!knownType(field.type)) corrupt(path, describe(field, number) + " has the unknown type " + typeText(field.type));
        if (field.type == 'C' && !visualFoxPro) {
            // FoxPro 2 and Clipper keep the high byte of a long C length in the decimals byte.
            field.length = static_cast<uint16_t>(field.length + 256 * field.decimals);
            field.decimals = 0;
        }
        if (field.type != 'N' && field.type != 'F' && field.type != 'B') field.decimals = 0;
        if (visualFoxPro) {
            field.nullable = (d[18] & fieldFlagNullable) != 0;
            field.binary = (d[18] & fieldFlagBinary) != 0 && (field.type == 'C' || field.type == 'M');
        }
        if (field.type == 'Q') field.binary = true;
        if (!validLength(field, visualFoxPro))
            corrupt(path, describe(field, number) + " of type '" + std::string(1, field.type) + "' has the invalid length " +
                              std::to_string(field.length) +
                              (field.decimals ? " with " + std::to_string(field.decimals) + " decimals" : std::string()));
        offset += field.length;
        header.fields.push_back(std::move(field));
    }
    if (header.fields.empty()) corrupt(path, "the table has no fields");
    if (header.recordLength == 0) corrupt(path, "the record length is 0");
    if (offset > header.recordLength) {
        const DbfField& last = header.fields.back();
        std::string which = header.nullFlagsOffset >= 0 && uint32_t(header.nullFlagsOffset) > last.offset
                                ? std::string("the _NullFlags field")
                                : describe(last, header.fields.size());
        corrupt(path, "the record length " + std::to_string(header.recordLength) + " is less than its fields need (" +
                          std::to_string(offset) + "); " + which + " lies past the end of the record");
    }
    uint64_t records = (fileSize - header.headerLength) / header.recordLength;
    if (header.recordCount > records) {
        bool partial = (fileSize - header.headerLength) % header.recordLength != 0;
        if (partial && header.recordCount == records + 1)
            corrupt(path, "the last record (" + std::to_string(header.recordCount) + ") is truncated");
        corrupt(path, "the header counts " + std::to_string(header.recordCount) + " records but the file holds " +
                          std::to_string(records));
    }
    assignNullBits(header, path);
    return header;
}

std::vector<uint8_t> buildDbfHeader(const DbfHeader& header) {
    std::vector<uint8_t> bytes(header.headerLength, 0);
    bytes[0] = header.version;
    writeUpdateDate(bytes.data() + 1, header.version);
    writeLe32(bytes.data() + 4, header.recordCount);
    writeLe16(bytes.data() + 8, static_cast<uint16_t>(header.headerLength));
    writeLe16(bytes.data() + 10, static_cast<uint16_t>(header.recordLength));
    bytes[28] = header.flags;
    bytes[29] = header.codePageMark;
    bool visualFoxPro = isVisualFoxPro(header.version);
    size_t position = fileHeaderLength;
    auto descriptor = [&](const std::string& name, char type, uint32_t offset, uint16_t length, uint8_t decimals,
                          uint8_t flags) {
        uint8_t* d = bytes.data() + position;
        for (size_t i = 0; i < name.size() && i < 10; ++i) d[i] = static_cast<uint8_t>(name[i]);
        d[11] = static_cast<uint8_t>(type);
        if (visualFoxPro) writeLe32(d + 12, offset);
        d[16] = static_cast<uint8_t>(length);
        d[17] = decimals;
        if (visualFoxPro) d[18] = flags;
        position += descriptorLength;
    };
    for (const DbfField& f : header.fields)
        descriptor(f.name, f.type, f.offset, f.length, f.decimals,
                   static_cast<uint8_t>((f.nullable ? fieldFlagNullable : 0) | (f.binary ? fieldFlagBinary : 0)));
    if (header.nullFlagsLength > 0)
        descriptor(nullFlagsName, nullFlagsType, static_cast<uint32_t>(header.nullFlagsOffset),
                   static_cast<uint16_t>(header.nullFlagsLength), 0, fieldFlagSystem | fieldFlagBinary);
    bytes[position] = headerTerminator;
    return bytes;
}

void writeUpdateDate(uint8_t* bytes, uint8_t version) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    int year = local.tm_year + 1900;
    bool fox = isVisualFoxPro(version) || version == 0xF5 || version == 0xFB;
    bytes[0] = static_cast<uint8_t>(fox ? year % 100 : year - 1900);
    bytes[1] = static_cast<uint8_t>(local.tm_mon + 1);
    bytes[2] = static_cast<uint8_t>(local.tm_mday);
}

}  // namespace vantrep::engine::dbf
