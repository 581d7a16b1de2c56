// Dates and times shown through a date pattern ("dd/mm/yyyy",
// "dddd, mmmm dd, yyyy", "hh:mm:ss", "mmm"): each run of pattern letters
// stands for a part of the date or time, by the rules below; everything else
// in the pattern is printed as it stands.
#pragma once

#include <QDate>
#include <QTime>
#include <QLocale>
#include <QString>
#include <vector>

#include "format/PatternText.h"

namespace vantrep::format {

// Letters are read case-insensitively in runs: "d" day, "dd" two-digit day,
// "ddd"/"dddd" short/long weekday name; "m", "mm" month number (or minutes
// right after an hour or right before seconds), "mmm"/"mmmm" short/long month
// name; "yy" two-digit year, "yyyy" year, "y" day of the year; "h"/"hh" hour
// (0-23), "n"/"nn" minutes, "s"/"ss" seconds. Longer runs are read as the
// longest of these followed by the rest. Any other character is printed as is.
// Names come from `locale`.
enum class DatePart { Text, Day, Month, Minute, Year, Hour, Second };

struct DateToken {
    DatePart part = DatePart::Text;
    int width = 0;  // letters in the run: "dd" is 2
    QString text;   // DatePart::Text only
};

// A date pattern read for laying out dates: its runs, with "m" told apart as
// month or minutes. Read once per pattern, used for every date.
struct DateLayout {
    std::vector<DateToken> tokens;
};

DateLayout dateLayout(const std::vector<PatternChar>& chars);

QString formatDateTime(const QDate& date, const QTime& time, const DateLayout& layout, const QLocale& locale);

}  // namespace vantrep::format
