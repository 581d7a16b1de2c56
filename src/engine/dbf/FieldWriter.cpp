#include "engine/dbf/FieldWriter.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "engine/EngineError.h"
#include "engine/dbf/CodePage.h"
#include "engine/dbf/FileAccess.h"

namespace vantrep::engine::dbf {

namespace {

bool isBinaryZeroBlank(const DbfField& field) {
    switch (field.type) {
    case 'I': case 'Y': case 'T': case 'W': return true;
    case 'B': return field.length == 8;
    case 'M': case 'G': case 'P': return field.length == 4;
    default: return false;
    }
}

std::string fieldText(const DbfField& field) {
    std::string text = field.name + " " + field.type;
    if (field.type == 'C' || field.type == 'V' || field.type == 'Q') return text + "(" + std::to_string(field.length) + ")";
    if (field.type == 'N' || field.type == 'F')
        return text + "(" + std::to_string(field.length) + "," + std::to_string(field.decimals) + ")";
    return text;
}

bool inCalendar(int64_t day) { return day >= firstCalendarDay && day <= lastCalendarDay; }

std::string valueText(const Value& value) {
    bool dated = value.kind() == ValueKind::Date || value.kind() == ValueKind::DateTime;
    if (dated && !value.isEmptyDate()) {
        int64_t day = value.kind() == ValueKind::Date ? value.asDate() : value.asDateTime() / msPerDay;
        if (!inCalendar(day)) return "the day number " + std::to_string(day);
    }
    switch (value.kind()) {
    case ValueKind::Null: return ".NULL.";
    case ValueKind::Logical: return value.asLogical() ? ".T." : ".F.";
    case ValueKind::String: return "\"" + value.asString() + "\"";
    case ValueKind::Date: return value.isEmptyDate() ? "the empty date" : "the date " + value.toText();
    case ValueKind::DateTime: return value.isEmptyDate() ? "the empty datetime" : "the datetime " + value.toText();
    default: return value.toText();
    }
}

// The value as a Decimal with exactly `scale` decimals; false when that
// would drop a non-zero digit. Doubles, having no exact decimal form, round.
bool exactDecimal(const Value& value, int scale, Decimal& out) {
    if (value.kind() == ValueKind::Double) {
        if (!std::isfinite(value.asDouble())) return false;
        out = Decimal::fromDouble(value.asDouble(), scale);
        return true;
    }
    Decimal d = value.asDecimal();
    out = d.rescaled(scale);
    return compare(out, d) == 0;
}

}  // namespace

std::vector<uint8_t> FieldWriter::blankRecord() const {
    std::vector<uint8_t> record(header_.recordLength, ' ');
    for (const DbfField& field : header_.fields) blankField(record.data(), field);
    if (header_.nullFlagsOffset >= 0) std::memset(record.data() + header_.nullFlagsOffset, 0, header_.nullFlagsLength);
    return record;
}

void FieldWriter::blankField(uint8_t* record, const DbfField& field) const {
    std::memset(record + field.offset, isBinaryZeroBlank(field) ? 0 : ' ', field.length);
}

void FieldWriter::setFlag(uint8_t* record, int bit, bool on) const {
    if (bit < 0) return;
    uint8_t& byte = record[header_.nullFlagsOffset + bit / 8];
    uint8_t mask = static_cast<uint8_t>(1 << (bit % 8));
    byte = static_cast<uint8_t>(on ? byte | mask : byte & ~mask);
}

void FieldWriter::mismatch(const DbfField& field, const Value& value) const {
    throw EngineError(errDataTypeMismatch, "Field " + fieldText(field) + " of table \"" + tablePath_ +
                                               "\" cannot hold " + valueText(value) + ": data type mismatch.");
}

void FieldWriter::tooWide(const DbfField& field, const Value& value) const {
    throw EngineError(errFieldTooWide, "The value " + valueText(value) + " does not fit field " + fieldText(field) +
                                           " of table \"" + tablePath_ + "\".");
}

std::string FieldWriter::textOf(const DbfField& field, const Value& value) const {
    if (value.kind() != ValueKind::String) mismatch(field, value);
    if (field.binary) return value.asString();
    return encodeCodePage(value.asString(), codePage_, "field " + field.name + " of table \"" + tablePath_ + "\"");
}

void FieldWriter::put(uint8_t* record, int index, const Value& value, const StoreMemo& storeMemo) const {
    const DbfField& field = header_.fields[index];
    uint8_t* bytes = record + field.offset;
    if (value.isNull()) {
        if (field.nullBit < 0)
            throw EngineError(errDataTypeMismatch, "Field " + field.name + " of table \"" + tablePath_ +
                                                       "\" does not accept null values.");
        blankField(record, field);
        setFlag(record, field.varLengthBit, false);
        setFlag(record, field.nullBit, true);
        return;
    }
    switch (field.type) {
    case 'C': putString(bytes, field, value); break;
    case 'V': case 'Q': putVariable(record, field, value); break;
    case 'N': case 'F': putNumeric(bytes, field, value); break;
    case 'I': {
        if (!value.isNumber()) mismatch(field, value);
        Decimal d;
        if (!exactDecimal(value, 0, d)) tooWide(field, value);
        if (d.units < INT32_MIN || d.units > INT32_MAX) tooWide(field, value);
        writeLe32(bytes, static_cast<uint32_t>(static_cast<int32_t>(d.units)));
        break;
    }
    case 'Y': {
        if (!value.isNumber()) mismatch(field, value);
        Decimal d;
        if (!exactDecimal(value, 4, d) || d.units < INT64_MIN || d.units > INT64_MAX) tooWide(field, value);
        uint64_t units = static_cast<uint64_t>(static_cast<int64_t>(d.units));
        writeLe32(bytes, static_cast<uint32_t>(units));
        writeLe32(bytes + 4, static_cast<uint32_t>(units >> 32));
        break;
    }
    case 'B':
        if (isMemoField(field)) {
            putMemo(bytes, field, value, storeMemo);
        } else {
            if (!value.isNumber()) mismatch(field, value);
            double d = value.asDouble();
            std::memcpy(bytes, &d, sizeof d);
        }
        break;
    case 'D': {
        if (value.kind() != ValueKind::Date) mismatch(field, value);
        if (value.asDate() == 0) {
            std::memset(bytes, ' ', 8);
            break;
        }
        if (!inCalendar(value.asDate())) tooWide(field, value);
        int y, m, d;
        civilFromJulianDay(value.asDate(), y, m, d);
        char text[16];
        std::snprintf(text, sizeof text, "%04d%02d%02d", y, m, d);
        std::memcpy(bytes, text, 8);
        break;
    }
    case 'T': {
        int64_t ms;
        if (value.kind() == ValueKind::DateTime) ms = value.asDateTime();
        else if (value.kind() == ValueKind::Date) ms = int64_t(value.asDate()) * msPerDay;
        else mismatch(field, value);
        if (ms != 0 && (ms < 0 || !inCalendar(ms / msPerDay))) tooWide(field, value);
        writeLe32(bytes, static_cast<uint32_t>(ms / msPerDay));
        writeLe32(bytes + 4, static_cast<uint32_t>(ms % msPerDay));
        break;
    }
    case 'L':
        if (value.kind() != ValueKind::Logical) mismatch(field, value);
        bytes[0] = value.asLogical() ? 'T' : 'F';
        break;
    default: putMemo(bytes, field, value, storeMemo); break;
    }
    setFlag(record, field.nullBit, false);
}

void FieldWriter::putString(uint8_t* bytes, const DbfField& field, const Value& value) const {
    std::string text = textOf(field, value);
    if (text.size() > field.length) tooWide(field, value);
    std::memcpy(bytes, text.data(), text.size());
    std::memset(bytes + text.size(), ' ', field.length - text.size());
}

void FieldWriter::putVariable(uint8_t* record, const DbfField& field, const Value& value) const {
    std::string text = textOf(field, value);
    if (text.size() > field.length) tooWide(field, value);
    uint8_t* bytes = record + field.offset;
    std::memcpy(bytes, text.data(), text.size());
    bool full = text.size() == field.length;
    if (!full) {
        std::memset(bytes + text.size(), field.type == 'Q' ? 0 : ' ', field.length - text.size());
        bytes[field.length - 1] = static_cast<uint8_t>(text.size());
    }
    setFlag(record, field.varLengthBit, !full);
}

void FieldWriter::putNumeric(uint8_t* bytes, const DbfField& field, const Value& value) const {
    if (!value.isNumber()) mismatch(field, value);
    Decimal d;
    if (!exactDecimal(value, field.decimals, d)) tooWide(field, value);
    std::string text = d.toString();
    if (text.size() > field.length && field.decimals > 0) {
        // "0.50" may be written ".50" when the field is that narrow.
        size_t zero = text[0] == '-' ? 1 : 0;
        if (text[zero] == '0' && text[zero + 1] == '.') text.erase(zero, 1);
    }
    if (text.size() > field.length) tooWide(field, value);
    std::memset(bytes, ' ', field.length - text.size());
    std::memcpy(bytes + field.length - text.size(), text.data(), text.size());
}

void FieldWriter::putMemo(uint8_t* bytes, const DbfField& field, const Value& value, const StoreMemo& storeMemo) const {
    if (field.type != 'M')
        throw EngineError(errNotSupported, "Field " + fieldText(field) + " of table \"" + tablePath_ +
                                               "\" cannot be written: only text memos (M) can.");
    std::string text = textOf(field, value);
    uint32_t block = text.empty() ? 0 : storeMemo(text);
    if (field.length == 4) {
        writeLe32(bytes, block);
        return;
    }
    std::memset(bytes, ' ', field.length);
    if (block == 0) return;
    std::string digits = std::to_string(block);
    std::memcpy(bytes + field.length - digits.size(), digits.data(), digits.size());
}

}  // namespace vantrep::engine::dbf
