// The recordset: the rows of a SELECT (or a whole table opened for field
// assignment), walked with MoveFirst/MoveNext, read through Fields. Its calls,
// cursor and lock constants and type numbers are those the program's data
// code is written against.
//
// Field::Type() gives these numbers (DataTypeEnum below), by field type or
// expression:
//   C, V, character expressions  200 adVarChar     N, F, Y, sums   131 adNumeric
//   M                            201 adLongVarChar B               5   adDouble
//   I                            3   adInteger     L               11  adBoolean
//   D                            133 adDBDate      T               135 adDBTimeStamp
//   G, W                         205 adLongVarBinary  Q            204 adVarBinary
// Values are UTF-8 strings (blank padding kept), exact decimals, and so on;
// an empty date or datetime reads as null.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Connection.h"
#include "engine/Value.h"
#include "engine/exec/BoundExpr.h"

namespace vantrep::engine {

namespace exec { class QueryResult; }
namespace dbf { class DbfTable; class DbfWriter; }

enum CursorTypeEnum { adOpenForwardOnly = 0, adOpenKeyset = 1, adOpenDynamic = 2, adOpenStatic = 3 };
enum LockTypeEnum { adLockReadOnly = 1, adLockPessimistic = 2, adLockOptimistic = 3 };
enum CommandTypeEnum { adCmdUnspecified = -1, adCmdText = 1, adCmdTable = 2 };
enum DataTypeEnum {
    adInteger = 3, adDouble = 5, adBoolean = 11, adVarChar = 200, adLongVarChar = 201,
    adNumeric = 131, adDBDate = 133, adDBTimeStamp = 135, adVarBinary = 204, adLongVarBinary = 205,
};

class Recordset;

// One column of the current row.
class Field {
public:
    Value value() const;  // Value; throws EngineError at BOF/EOF
    // Bytes that stand for the current row's value, where a query result has
    // them (a plain field without NULL or length flags: its stored bytes; a
    // grouping key: its code): rows with equal bytes have equal values.
    // Empty otherwise.
    std::optional<std::string_view> storedBytes() const;
    // The current row's value as value().asDouble() gives it, nothing when it
    // is NULL: for numbers, read without making a Value where the result
    // holds them as exact decimals.
    std::optional<double> number() const;
    // Assigns the current row's value (table mode only); persisted by Update().
    void setValue(const Value& v);
    const std::string& Name() const;
    int Type() const;
    int DefinedSize() const;  // width in characters or bytes
    int ActualSize() const;   // bytes of the current value (trailing blanks of C included)
    int NumericScale() const;
    int Precision() const;

private:
    friend class Recordset;
    friend class Fields;
    Field(Recordset* owner, int index) : owner_(owner), index_(index) {}
    Recordset* owner_;
    int index_;
};

class Fields {
public:
    int Count() const;
    Field operator[](int index) const;               // 0-based; throws when out of range
    Field operator[](std::string_view name) const;   // any case; throws errUnknownName
    int indexOf(std::string_view name) const;        // -1 when absent

private:
    friend class Recordset;
    explicit Fields(Recordset* owner) : owner_(owner) {}
    Recordset* owner_;
};

class Recordset {
public:
    Recordset();
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // `source` is a SELECT statement, or with adCmdTable (2) a table name whose
    // rows are then opened for field assignment. Positions on the first row.
    void Open(const std::string& source, Connection& connection, int cursorType = adOpenForwardOnly,
              int lockType = adLockReadOnly, int options = adCmdUnspecified);
    void Close();
    int State() const { return result_ || table_ ? adStateOpen : adStateClosed; }

    bool Eof() const;  // past the last row; at once when there are no rows
    bool Bof() const;  // before the first row (after a move back past it)
    void MoveFirst();
    void MoveNext();
    // Moves the cursor `records` rows on (back when negative); a move past
    // either end leaves the cursor at EOF or BOF.
    void Move(int64_t records);
    // A second cursor on the same rows, at the first row, moving on its own
    // (query results only). Cursors on one result may be read from
    // different threads at once.
    std::unique_ptr<Recordset> Clone() const;
    // Exact row count for a static cursor or a table; -1 for forward-only.
    int64_t RecordCount() const;
    int64_t AbsolutePosition() const { return position_ + 1; }

    Fields fields() { return Fields(this); }
    Field field(int index) { return fields()[index]; }
    Field field(std::string_view name) { return fields()[name]; }

    // Writes the assigned values of the current row into the table file now.
    void Update();

private:
    friend class Field;
    friend class Fields;
    void requireOpen() const;
    void requireRow() const;
    exec::ColumnType columnType(int index) const;

    std::shared_ptr<exec::QueryResult> result_;
    // Table mode (adCmdTable): the table itself, the writer and the connection to
    // invalidate after a write.
    std::unique_ptr<dbf::DbfTable> table_;
    std::unique_ptr<dbf::DbfWriter> writer_;
    std::vector<uint32_t> tableRows_;  // visible (non-deleted) records
    std::vector<std::pair<int, Value>> pending_;
    Connection* connection_ = nullptr;
    int cursorType_ = adOpenForwardOnly;
    int64_t position_ = 0;
};

}  // namespace vantrep::engine
