// Reading a display-format pattern into characters: text in double quotes and
// a character after a backslash are literal, everything else may be a
// placeholder (digits, date parts) that the number and date formatters
// interpret.
#pragma once

#include <QString>
#include <vector>

namespace vantrep::format {

struct PatternChar {
    QChar ch;
    bool literal = false;  // quoted or escaped: printed as is, never a placeholder
};

// The pattern's characters with quotes and backslashes resolved. An unclosed
// quote runs to the end of the pattern; a trailing backslash is dropped.
std::vector<PatternChar> readPattern(const QString& pattern);

// True when the pattern holds an unquoted "#" or "0": it formats a number.
// Any other pattern formats a date and time.
bool isNumberPattern(const std::vector<PatternChar>& chars);

}  // namespace vantrep::format
