// Tab-separated text of query results, as vantrep-sql prints them: one cell
// per value, escaped so that every record stays on one line.
#pragma once

#include <string>
#include <string_view>

#include "engine/Value.h"

namespace vantrep::app {

// The cell text of a value: characters as they are (blank padding kept);
// numbers in plain decimal with `decimals` places (the field's NumericScale);
// doubles with at least `decimals` places and as many more as they need to
// lose nothing (0.125 in a field of 0 decimals is 0.125); dates YYYY-MM-DD;
// datetimes YYYY-MM-DD HH:MM:SS; logicals T or F; and null as .NULL. The
// text is not yet escaped.
std::string cellText(const engine::Value& value, int decimals);

// `text` with tab, newline, carriage return and backslash written as \t, \n,
// \r and \\.
std::string escapeCell(std::string_view text);

}  // namespace vantrep::app
