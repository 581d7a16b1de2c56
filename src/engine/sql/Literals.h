// Values of the literals a statement writes as numbers and in braces.
#pragma once

#include <optional>
#include <string_view>

#include "engine/Value.h"

namespace vantrep::engine::sql {

struct NumberLiteral {
    Value value;       // a Decimal with exactly `decimals` decimals
    int width = 0;     // characters as written: "0000000000" -> 10, ".5" -> 2
    int decimals = 0;  // digits after the point: "12.50" -> 2
};

// `text` is a Number token: digits with an optional point. Nothing when the
// number has more digits than the engine's decimals can hold.
std::optional<NumberLiteral> numberLiteral(std::string_view text);

// `inside` is the text between "{" and "}". Accepted forms: empty or "//"
// (the empty date), "^yyyy-mm-dd" with an optional time "hh[:mm[:ss]]" after
// a blank or comma, and the ODBC escapes "d 'yyyy-mm-dd'" and
// "ts 'yyyy-mm-dd hh:mm:ss'". Nothing for another form or a date or time that
// does not exist.
std::optional<Value> bracedLiteral(std::string_view inside);

}  // namespace vantrep::engine::sql
