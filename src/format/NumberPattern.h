// Numbers shown through a number pattern ("#,###.00", "###.00%", ".00"):
// the digits set under the pattern's placeholders, rounded, grouped and
// signed by the rules below.
#pragma once

#include <QLocale>
#include <QString>
#include <vector>

#include "format/DecimalDigits.h"
#include "format/PatternText.h"

namespace vantrep::format {

// A number pattern read for laying out numbers: split at its decimal point,
// grouping commas removed. Read once per pattern, used for every number.
struct NumberLayout {
    std::vector<PatternChar> integerPart;   // placeholders and printed characters
    bool hasPoint = false;
    std::vector<PatternChar> fractionPart;  // placeholders and printed characters
    bool grouping = false;
    bool percent = false;
    int integerPlaceholders = 0;
    int integerMinimum = 0;  // integer digits always printed
    int fractionPlaceholders = 0;
    // Both parts are placeholders alone: the common patterns, laid out
    // without walking the pattern.
    bool placeholdersOnly = false;
    int fractionMinimum = 0;  // fraction digits always printed
};

// `chars` is a number pattern (isNumberPattern). "#" is a digit shown only
// when significant, "0" a digit always shown, "," after a digit placeholder
// and before the decimal point turns on thousands grouping, the first "."
// is the decimal point (always printed), "%" multiplies by 100 and prints
// "%". Any other character is printed where it stands.
NumberLayout numberLayout(const std::vector<PatternChar>& chars);

// The value laid out by the pattern. Integer digits beyond the placeholders
// all go at the first one. The value is rounded half away from zero to the
// number of fraction placeholders; a value that rounds to zero has no minus
// sign. Separators come from `locale`.
QString formatNumber(DecimalDigits value, const NumberLayout& layout, const QLocale& locale);

}  // namespace vantrep::format
