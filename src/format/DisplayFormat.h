// Display formats: numbers, dates and times turned into the text a report
// shows, through a format pattern. Lays values out the way the report files'
// patterns and the patterns the program builds expect: "###,###,###,###",
// "#,###", "#,###.00", "###.00", "###.00%", ".00" and the like for numbers;
// "dd/mm/yyyy", "dd-mm-yyyy", "ddd dd/mm/yy", "dddd, mmmm dd, yyyy",
// "hh:mm:ss", "mmm" for dates and times; and the empty pattern (no format),
// which shows each kind of value in its general form (see Format below).
//
// Rules the number patterns follow (see NumberPattern.h): "#" a digit shown
// only when significant, "0" a digit always shown, "," grouping, "." the
// decimal point, "%" times 100. Rounding is half away from zero on the
// decimal value: Decimal values exactly, doubles on their shortest
// round-trip decimal text, so 0.125 and 1.005 round up as a user expects.
// A pattern with an unquoted "#" or "0" is a number pattern; any other
// pattern is a date pattern (see DatePattern.h). Several ";" sections, AM/PM
// and scientific number patterns are not supported.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>

#include "engine/Value.h"

namespace vantrep::format {

// An engine value: numbers (Integer, Decimal, Double) as numbers; Date as a
// Julian Day Number and DateTime as milliseconds since the start of Julian
// day 0, the empty date or datetime (0) giving ""; String as it is; Null
// gives ""; Logical "True" or "False" under no format, -1 or 0 as a number.
QString Format(const engine::Value& value, const QString& pattern, const QLocale& locale = QLocale());

// A number. Under no format: the general form, up to 15 significant digits
// ("12.5", "3", "-0.25"; "1E+15" and "1E-05" in scientific form from 1E+15 up
// and below 0.0001). Under a date pattern the number is a date serial (days
// since 30 December 1899, the fraction the time of day); a serial outside the
// years 100 to 9999 gives "". NaN and infinities
// give "nan", "inf" and "-inf" under any pattern.
QString Format(double value, const QString& pattern, const QLocale& locale = QLocale());

// A date (midnight). Under no format: the locale's short date with a
// four-digit year (m/d/yyyy for English, United States). An invalid date
// gives "". Under a number pattern: the date serial.
QString Format(const QDate& date, const QString& pattern, const QLocale& locale = QLocale());

// A date and time of day. Under no format: the short date, followed when the
// time is not midnight by a space and the time as h:mm:ss with the locale's
// AM/PM text. An invalid datetime gives "". Under a number pattern: the date
// serial with the time as its fraction.
QString Format(const QDateTime& when, const QString& pattern, const QLocale& locale = QLocale());

}  // namespace vantrep::format
