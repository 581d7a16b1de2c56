// The one error type of the data engine: a number and a description the user
// can act on, as the program shows them in its critical message boxes.
#pragma once

#include <stdexcept>
#include <string>

namespace vantrep::engine {

// Error numbers, one per kind of fault, so that callers and tests tell faults
// apart without reading the description. The numbers are fixed: an existing
// number never changes or takes another meaning.
enum ErrorNumber : int {
    errFileNotFound = 1,        // table or memo file does not exist
    errDataTypeMismatch = 9,    // operand or value of the wrong type
    errDivisionByZero = 1307,   // a division (or modulus) by zero
    errSyntax = 10,             // statement cannot be parsed
    errUnknownName = 12,        // field or variable not found
    errNotATable = 15,          // the file is not a readable table
    errCorruptTable = 2091,     // the table or its memo file is damaged
    errFieldTooWide = 1881,     // a value does not fit its field
    errTooFewArguments = 1229,
    errTooManyArguments = 1230,
    errUnknownFunction = 1999,  // function name not known to the engine
    errNotSupported = 1998,     // statement shape the engine does not run
    errReadOnly = 111,          // write refused (read-only file, indexed table)
    errIo = 1104,               // the operating system refused a read or write
    errConnection = 1526,       // connection not open or badly configured
    errRecordset = 3704,        // operation not allowed in the recordset's state
};

class EngineError : public std::runtime_error {
public:
    EngineError(int number, const std::string& description)
        : std::runtime_error(description), number_(number) {}

    int number() const { return number_; }
    std::string description() const { return what(); }

private:
    int number_;
};

}  // namespace vantrep::engine
