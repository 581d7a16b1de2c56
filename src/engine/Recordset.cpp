#include "engine/Recordset.h"

#include <algorithm>
#include <cctype>

#include "engine/EngineError.h"
#include "engine/dbf/DbfTable.h"
#include "engine/dbf/DbfWriter.h"
#include "engine/exec/QueryResult.h"

namespace vantrep::engine {

namespace {

constexpr int errNoCurrentRecord = 3021;

exec::ColumnType typeOfField(const dbf::DbfField& f) {
    switch (f.type) {
    case 'V': return {'C', f.length, 0};
    case 'F': return {'N', f.length, f.decimals};
    case 'Y': return {'Y', 8, 4};
    default: return {f.type, f.length, f.decimals};
    }
}

int adoType(char type) {
    switch (type) {
    case 'N': case 'Y': return adNumeric;
    case 'I': return adInteger;
    case 'B': return adDouble;
    case 'L': return adBoolean;
    case 'D': return adDBDate;
    case 'T': return adDBTimeStamp;
    case 'M': return adLongVarChar;
    case 'G': case 'W': return adLongVarBinary;
    case 'Q': return adVarBinary;
    default: return adVarChar;
    }
}

bool isBinary(char type) { return type == 'G' || type == 'W' || type == 'Q'; }

// The engine's value as the recordset hands it out: text decoded to UTF-8,
// empty dates as null.
Value outward(Value v, char type, const dbf::DbfTable& table) {
    if (v.kind() == ValueKind::String && !isBinary(type)) return Value::string(table.decode(v.asString()));
    if (v.isEmptyDate()) return Value::null();
    return v;
}

std::string upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

Recordset::Recordset() = default;
Recordset::~Recordset() = default;

void Recordset::Open(const std::string& source, Connection& connection, int cursorType, int, int options) {
    if (State() == adStateOpen) throw EngineError(errRecordset, "The recordset is already open.");
    connection_ = &connection;
    cursorType_ = cursorType;
    position_ = 0;
    pending_.clear();
    if (options == adCmdTable) {
        if (connection.State() != adStateOpen) throw EngineError(errConnection, "The connection is not open.");
        table_ = dbf::DbfTable::open(connection.resolveTable(source));
        tableRows_.clear();
        for (uint32_t r = 0; r < table_->recordCount(); ++r)
            if (!table_->isDeleted(r)) tableRows_.push_back(r);
        return;
    }
    result_ = connection.query(source);
}

void Recordset::Close() {
    result_.reset();
    writer_.reset();
    table_.reset();
    tableRows_.clear();
    pending_.clear();
    position_ = 0;
}

void Recordset::requireOpen() const {
    if (State() != adStateOpen) throw EngineError(errRecordset, "Operation is not allowed when the object is closed.");
}

void Recordset::requireRow() const {
    requireOpen();
    if (Eof() || Bof())
        throw EngineError(errNoCurrentRecord,
                          "Either BOF or EOF is True, or the current record has been deleted. "
                          "Requested operation requires a current record.");
}

int64_t Recordset::RecordCount() const {
    requireOpen();
    if (table_) return static_cast<int64_t>(tableRows_.size());
    return cursorType_ == adOpenForwardOnly ? -1 : static_cast<int64_t>(result_->rowCount());
}

bool Recordset::Eof() const {
    requireOpen();
    size_t rows = table_ ? tableRows_.size() : result_->rowCount();
    return position_ >= static_cast<int64_t>(rows);
}

bool Recordset::Bof() const {
    requireOpen();
    return position_ < 0;
}

void Recordset::MoveFirst() {
    requireOpen();
    position_ = 0;
    pending_.clear();
}

void Recordset::MoveNext() {
    requireRow();
    ++position_;
    pending_.clear();
}

void Recordset::Move(int64_t records) {
    requireOpen();
    const int64_t rows = table_ ? static_cast<int64_t>(tableRows_.size()) : static_cast<int64_t>(result_->rowCount());
    position_ = std::clamp<int64_t>(position_ + records, -1, rows);
    pending_.clear();
}

std::unique_ptr<Recordset> Recordset::Clone() const {
    requireOpen();
    if (table_) throw EngineError(errRecordset, "Only the rows of a query can be cloned.");
    auto clone = std::make_unique<Recordset>();
    clone->result_ = result_;
    clone->connection_ = connection_;
    clone->cursorType_ = cursorType_;
    return clone;
}

void Recordset::Update() {
    requireRow();
    if (!table_) throw EngineError(errRecordset, "The recordset is read-only: open the table itself to change it.");
    if (pending_.empty()) return;
    if (!writer_) writer_ = std::make_unique<dbf::DbfWriter>(table_->path());
    uint32_t record = tableRows_[static_cast<size_t>(position_)];
    for (const auto& [field, value] : pending_) writer_->assign(record, field, value);
    pending_.clear();
    std::string path = table_->path();
    connection_->invalidate(path);
    table_ = dbf::DbfTable::open(path);  // sees the new memo blocks too
}

int Fields::Count() const {
    owner_->requireOpen();
    if (owner_->table_) return static_cast<int>(owner_->table_->fields().size());
    return static_cast<int>(owner_->result_->columns().size());
}

int Fields::indexOf(std::string_view name) const {
    owner_->requireOpen();
    std::string wanted = upper(name);
    int n = Count();
    for (int i = 0; i < n; ++i) {
        const std::string& candidate = owner_->table_ ? owner_->table_->fields()[static_cast<size_t>(i)].name
                                                      : owner_->result_->columns()[static_cast<size_t>(i)].name;
        if (upper(candidate) == wanted) return i;
    }
    return -1;
}

Field Fields::operator[](int index) const {
    if (index < 0 || index >= Count())
        throw EngineError(errRecordset, "Item cannot be found in the collection (field " + std::to_string(index) + ").");
    return Field(owner_, index);
}

Field Fields::operator[](std::string_view name) const {
    int index = indexOf(name);
    if (index < 0)
        throw EngineError(errUnknownName, "Item cannot be found in the collection (field '" + std::string(name) + "').");
    return Field(owner_, index);
}

exec::ColumnType Recordset::columnType(int index) const {
    if (table_) return typeOfField(table_->fields()[static_cast<size_t>(index)]);
    return result_->columns()[static_cast<size_t>(index)].type;
}

Value Field::value() const {
    owner_->requireRow();
    size_t row = static_cast<size_t>(owner_->position_);
    if (owner_->table_) {
        for (const auto& [field, v] : owner_->pending_)
            if (field == index_) return v;
        const dbf::DbfTable& t = *owner_->table_;
        const dbf::DbfField& f = t.fields()[static_cast<size_t>(index_)];
        return outward(t.value(owner_->tableRows_[row], index_), f.type, t);
    }
    const exec::QueryResult& r = *owner_->result_;
    return outward(r.value(row, static_cast<size_t>(index_)), r.columns()[static_cast<size_t>(index_)].type.type,
                   r.table().table());
}

std::optional<double> Field::number() const {
    owner_->requireRow();
    if (owner_->result_)
        return owner_->result_->number(static_cast<size_t>(owner_->position_), static_cast<size_t>(index_));
    const Value v = value();
    if (v.isNull()) return std::nullopt;
    return v.asDouble();
}

std::optional<std::string_view> Field::storedBytes() const {
    owner_->requireRow();
    if (owner_->table_) return std::nullopt;
    return owner_->result_->storedBytes(static_cast<size_t>(owner_->position_), static_cast<size_t>(index_));
}

void Field::setValue(const Value& v) {
    owner_->requireRow();
    if (!owner_->table_) throw EngineError(errRecordset, "The recordset is read-only: open the table itself to change it.");
    for (auto& [field, pending] : owner_->pending_)
        if (field == index_) {
            pending = v;
            return;
        }
    owner_->pending_.emplace_back(index_, v);
}

const std::string& Field::Name() const {
    if (owner_->table_) return owner_->table_->fields()[static_cast<size_t>(index_)].name;
    return owner_->result_->columns()[static_cast<size_t>(index_)].name;
}

int Field::Type() const { return adoType(owner_->columnType(index_).type); }

int Field::DefinedSize() const {
    exec::ColumnType t = owner_->columnType(index_);
    if (t.type == 'M' || t.type == 'G' || t.type == 'W') return 2147483647;
    return t.width;
}

int Field::ActualSize() const {
    owner_->requireRow();
    size_t row = static_cast<size_t>(owner_->position_);
    Value raw = owner_->table_ ? owner_->table_->value(owner_->tableRows_[row], index_)
                               : owner_->result_->value(row, static_cast<size_t>(index_));
    if (raw.isNull()) return 0;
    if (raw.kind() == ValueKind::String) return static_cast<int>(raw.asString().size());
    return DefinedSize();
}

int Field::NumericScale() const {
    exec::ColumnType t = owner_->columnType(index_);
    return t.type == 'N' || t.type == 'Y' || t.type == 'B' ? t.decimals : 0;
}

int Field::Precision() const {
    exec::ColumnType t = owner_->columnType(index_);
    return t.type == 'N' ? t.width : 0;
}

}  // namespace vantrep::engine
