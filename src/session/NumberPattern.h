// Numbers shown through a number pattern ("#,###.00", "###.00%", ".00"),
// the way Visual Basic 6's Format lays them out.
#pragma once

#include <QLocale>
#include <QString>
#include <vector>

#include "session/DecimalDigits.h"
#include "session/PatternText.h"

namespace vantrep::session {

// `chars` is a number pattern (isNumberPattern). "#" is a digit shown only
// when significant, "0" a digit always shown, "," after a digit placeholder
// and before the decimal point turns on thousands grouping, the first "."
// is the decimal point (always printed), "%" multiplies by 100 and prints
// "%". Any other character is printed where it stands. Integer digits beyond
// the placeholders all go at the first one. The value is rounded half away
// from zero to the number of fraction placeholders; a value that rounds to
// zero has no minus sign. Separators come from `locale`.
QString formatNumber(const DecimalDigits& value, const std::vector<PatternChar>& chars,
                     const QLocale& locale);

}  // namespace vantrep::session
