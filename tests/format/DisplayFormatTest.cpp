// Display formats checked pattern by pattern against the exact texts reports
// must show, with the locale pinned to English (United States).
#include <gtest/gtest.h>

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "engine/Decimal.h"
#include "engine/Value.h"
#include "format/DisplayFormat.h"

namespace {

using vantrep::engine::Decimal;
using vantrep::engine::Int128;
using vantrep::engine::julianDay;
using vantrep::engine::msPerDay;
using vantrep::engine::Value;
using vantrep::format::Format;

const QLocale english(QLocale::English, QLocale::UnitedStates);

struct NumberCase {
    double value;
    const char* pattern;
    const char* expected;
};

void expectNumbers(const std::vector<NumberCase>& cases) {
    for (const NumberCase& c : cases) {
        EXPECT_EQ(Format(c.value, QString::fromUtf8(c.pattern), english).toStdString(), c.expected)
            << "Format(" << c.value << ", \"" << c.pattern << "\")";
    }
}

struct ValueCase {
    Value value;
    const char* pattern;
    const char* expected;
};

void expectValues(const std::vector<ValueCase>& cases) {
    for (const ValueCase& c : cases) {
        EXPECT_EQ(Format(c.value, QString::fromUtf8(c.pattern), english).toStdString(), c.expected)
            << "Format(" << c.value.toText() << ", \"" << c.pattern << "\")";
    }
}

Value decimal(int64_t units, int scale) {
    return Value::decimal(Decimal{units, scale});
}

Value dateValue(int year, int month, int day) {
    return Value::date(julianDay(year, month, day));
}

Value dateTimeValue(int year, int month, int day, int hour, int minute, int second) {
    int64_t msOfDay = ((hour * 60 + minute) * 60 + second) * int64_t{1000};
    return Value::dateTime(julianDay(year, month, day) * msPerDay + msOfDay);
}

TEST(DisplayFormatNumbers, GroupedIntegerPatternsHideZeroAndRoundHalfAway) {
    expectNumbers({
        {0, "###,###,###,###", ""},
        {0.4, "###,###,###,###", ""},
        {-0.4, "###,###,###,###", ""},
        {0.5, "###,###,###,###", "1"},
        {999, "###,###,###,###", "999"},
        {1000, "###,###,###,###", "1,000"},
        {-1234567, "###,###,###,###", "-1,234,567"},
        {1234.5, "###,###,###,###", "1,235"},
        {-2.5, "###,###,###,###", "-3"},
        {1234567890123456, "###,###,###,###", "1,234,567,890,123,456"},
        {0, "#,###", ""},
        {0.4, "#,###", ""},
        {12.49, "#,###", "12"},
        {999.5, "#,###", "1,000"},
        {1234567, "###,###", "1,234,567"},
        {1e20, "#,###", "100,000,000,000,000,000,000"},
    });
}

TEST(DisplayFormatNumbers, TwoDecimalsWithoutLeadingZero) {
    expectNumbers({
        {0, "###.00", ".00"},
        {0.5, "###.00", ".50"},
        {1234.567, "###.00", "1234.57"},
        {0.125, "###.00", ".13"},
        {1.005, "###.00", "1.01"},
        {2.675, "###.00", "2.68"},
        {99.995, "###.00", "100.00"},
        {-12.345, "###.00", "-12.35"},
        {-0.004, "###.00", ".00"},
        {-0.005, "###.00", "-.01"},
        {12.5, ".00", "12.50"},
    });
}

// Columns of different patterns alternate cell by cell in a grid fill.
TEST(DisplayFormatNumbers, AlternatingPatternsKeepTheirOwnRules) {
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(Format(1234.5, "###.00", QLocale::c()), "1234.50");
        EXPECT_EQ(Format(1234.5, "#,###", QLocale::c()), "1,235");
        EXPECT_EQ(Format(0.5, "0.0%", QLocale::c()), "50.0%");
        EXPECT_EQ(Format(45000.0, "dd/mm/yyyy", QLocale::c()), "15/03/2023");
    }
    // Patterns made up by the hundred are forgotten now and then; those used
    // just before must still format by their own rules afterwards.
    for (int n = 0; n < 600; ++n) {
        const QString made = QString("\"%1 \"#").arg(n);
        ASSERT_EQ(Format(7, made, QLocale::c()), QString("%1 7").arg(n));
        EXPECT_EQ(Format(1234.5, "#,###", QLocale::c()), "1,235");
    }
}

TEST(DisplayFormatNumbers, PercentMultipliesByHundred) {
    expectNumbers({
        {0, "###.00%", ".00%"},
        {0.1234, "###.00%", "12.34%"},
        {12.3456, "###.00%", "1234.56%"},
        {0.00125, "###.00%", ".13%"},
        {0.000049, "###.00%", ".00%"},
        {-0.25, "###.00%", "-25.00%"},
        {-0.00004, "###.00%", ".00%"},
    });
}

TEST(DisplayFormatNumbers, GroupedWithDecimals) {
    expectNumbers({
        {1234.5, "#,###.00", "1,234.50"},
        {0, "#,###.00", ".00"},
        {0.994, "#,###.00", ".99"},
        {0.995, "#,###.00", "1.00"},
        {-1234567.891, "#,###.00", "-1,234,567.89"},
        {1234.56, "#,###.0", "1,234.6"},
        {0.05, "#,###.0", ".1"},
        {0.04, "#,###.0", ".0"},
        {1.0005, "#,###.000", "1.001"},
        {1234567.5, "#,###,###.00", "1,234,567.50"},
    });
}

TEST(DisplayFormatNumbers, ZeroAndHashPlaceholders) {
    expectNumbers({
        {2.5, "0", "3"},
        {-2.5, "0", "-3"},
        {0.4, "0", "0"},
        {-0.4, "0", "0"},
        {0.125, "0.00", "0.13"},
        {1.005, "0.00", "1.01"},
        {0, "0.00", "0.00"},
        {-0.001, "0.00", "0.00"},
        {1e-300, "0.00", "0.00"},
        {42, "00000", "00042"},
        {1234, "#,##0", "1,234"},
        {0, "#,##0", "0"},
        {5, "#.##", "5."},
        {5.1, "#.##", "5.1"},
        {0.456, "#.##", ".46"},
        {1.5, "#.0#", "1.5"},
        {1.25, "#.0#", "1.25"},
    });
}

TEST(DisplayFormatNumbers, LiteralTextStaysInPlace) {
    expectNumbers({
        {1234, "\"Total: \"#,###", "Total: 1,234"},
        {-1234, "\"Total: \"#,###", "-Total: 1,234"},
        {5, "#,### \"units\"", "5 units"},
        {5, "\\#0", "#5"},
        {1234, "##-##", "12-34"},
        {1234, "#\"#\"#", "123#4"},
    });
}

// Patterns of placeholders alone are laid out on a shorter way: they must
// give what the same pattern gives with a literal in front, which walks the
// pattern character by character.
TEST(DisplayFormatNumbers, PlaceholderPatternsAgreeWithThePatternWalk) {
    const QLocale german(QLocale::German, QLocale::Germany);
    const char* patterns[] = {"#,###.00", "###,###,###,###", "###.00", ".00",   "0.00", "#,##0.0#",
                              "000",      "#",               "#.##",   "0,000.000", "##0", "#,###"};
    uint64_t seed = 7;
    auto next = [&seed] {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        return seed >> 11;
    };
    std::vector<double> values = {0, -0.0, 0.005, -0.004, 0.995, 999.995, -999.995, 1e14, 123456789.125};
    for (int i = 0; i < 3000; ++i) {
        const double magnitude = static_cast<double>(next() % 1000000000) / std::pow(10.0, static_cast<int>(next() % 9));
        values.push_back(next() % 4 == 0 ? -magnitude : magnitude);
    }
    for (const QLocale& locale : {english, german})
        for (const char* pattern : patterns)
            for (double value : values) {
                QString walked = Format(value, QStringLiteral("\"~\"") + pattern, locale);
                walked.remove(walked.startsWith(u'-') ? 1 : 0, 1);
                ASSERT_EQ(Format(value, pattern, locale), walked) << value << " under \"" << pattern << "\"";
            }
}

TEST(DisplayFormatNumbers, GeneralFormWithoutPattern) {
    expectNumbers({
        {12.5, "", "12.5"},
        {-0.25, "", "-0.25"},
        {0, "", "0"},
        {-0.0, "", "0"},
        {0.1 + 0.2, "", "0.3"},
        {1234567.125, "", "1234567.125"},
        {123456789012345, "", "123456789012345"},
        {1e15, "", "1E+15"},
        {-2.5e20, "", "-2.5E+20"},
        {1.5e-5, "", "1.5E-05"},
    });
}

TEST(DisplayFormatNumbers, NotANumberAndInfinityAreNamed) {
    EXPECT_EQ(Format(std::numeric_limits<double>::quiet_NaN(), "#,###", english), "nan");
    EXPECT_EQ(Format(std::numeric_limits<double>::infinity(), "", english), "inf");
    EXPECT_EQ(Format(-std::numeric_limits<double>::infinity(), "###.00", english), "-inf");
}

TEST(DisplayFormatNumbers, SeparatorsComeFromTheLocale) {
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(Format(1234567.891, "#,###.00", german), "1.234.567,89");
    EXPECT_EQ(Format(0.5, "###.00%", german), "50,00%");
    EXPECT_EQ(Format(12.5, "", german), "12,5");
}

TEST(DisplayFormatValues, EngineNumbersRoundOnTheirExactDecimal) {
    const Int128 big = Int128{123456789012345678} * 1000 + 905;  // 123456789012345678.905
    expectValues({
        {decimal(25, 1), "0", "3"},
        {decimal(-25, 1), "0", "-3"},
        {decimal(125, 3), "0.00", "0.13"},
        {decimal(1005, 3), "0.00", "1.01"},
        {decimal(-4, 3), "###.00", ".00"},
        {decimal(12345, 5), "###.00%", "12.35%"},
        {Value::decimal(Decimal{big, 3}), "#,###.00", "123,456,789,012,345,678.91"},
        {Value::integer(1234567), "#,###", "1,234,567"},
        {Value::integer(0), "#,###", ""},
        {Value::integer(-5), "###.00", "-5.00"},
        {Value::integer(std::numeric_limits<int64_t>::max()), "#,###", "9,223,372,036,854,775,807"},
        {Value::real(0.125), "###.00", ".13"},
        {Value::real(-1234.5), "#,###", "-1,235"},
    });
}

TEST(DisplayFormatValues, EngineNumbersWithoutPattern) {
    expectValues({
        {Value::integer(42), "", "42"},
        {decimal(12500, 3), "", "12.5"},
        {decimal(300, 2), "", "3"},
        {decimal(-25, 2), "", "-0.25"},
        {decimal(0, 2), "", "0"},
        {Value::real(12.5), "", "12.5"},
        {Value::logical(true), "", "True"},
        {Value::logical(true), "0", "-1"},
    });
}

TEST(DisplayFormatValues, NullStringsAndEmptyDates) {
    expectValues({
        {Value::null(), "", ""},
        {Value::null(), "#,###", ""},
        {Value::null(), "dd/mm/yyyy", ""},
        {Value::string("abc"), "#,###", "abc"},
        {Value::string("  12.5 "), "###.00", "  12.5 "},
        {Value::string(""), "", ""},
        {Value::string("M\xC3\xBCller"), "dd/mm/yyyy", "M\xC3\xBCller"},
        {Value::date(0), "dd/mm/yyyy", ""},
        {Value::date(0), "", ""},
        {Value::dateTime(0), "hh:mm:ss", ""},
    });
}

TEST(DisplayFormatValues, EngineDatesAreJulianDays) {
    expectValues({
        {dateValue(2026, 3, 5), "dd/mm/yyyy", "05/03/2026"},
        {dateValue(2000, 2, 29), "dddd, mmmm dd, yyyy", "Tuesday, February 29, 2000"},
        {dateValue(1999, 12, 31), "", "12/31/1999"},
        {dateTimeValue(2026, 3, 5, 7, 8, 9), "hh:mm:ss", "07:08:09"},
        {dateTimeValue(2026, 3, 5, 23, 59, 59), "dd-mm-yyyy hh:mm:ss", "05-03-2026 23:59:59"},
        {dateTimeValue(2026, 3, 5, 13, 5, 9), "", "3/5/2026 1:05:09 PM"},
    });
}

struct DateCase {
    QDate date;
    const char* pattern;
    const char* expected;
};

void expectDates(const std::vector<DateCase>& cases) {
    for (const DateCase& c : cases) {
        EXPECT_EQ(Format(c.date, QString::fromUtf8(c.pattern), english).toStdString(), c.expected)
            << "Format(" << c.date.toString(Qt::ISODate).toStdString() << ", \"" << c.pattern << "\")";
    }
}

TEST(DisplayFormatDates, DayMonthYearNumbers) {
    expectDates({
        {QDate(2026, 3, 5), "dd/mm/yyyy", "05/03/2026"},
        {QDate(1999, 12, 31), "dd-mm-yyyy", "31-12-1999"},
        {QDate(2026, 3, 5), "dd/mm/yy", "05/03/26"},
        {QDate(2026, 3, 5), "d/m/yy", "5/3/26"},
        {QDate(2026, 3, 5), "DD/MM/YYYY", "05/03/2026"},
        {QDate(1999, 12, 31), "y", "365"},
        {QDate(2024, 2, 29), "yyyy-mm-dd y", "2024-02-29 60"},
    });
}

TEST(DisplayFormatDates, WeekdayAndMonthNames) {
    expectDates({
        {QDate(2026, 3, 5), "ddd dd/mm/yy", "Thu 05/03/26"},
        {QDate(2026, 3, 5), "dddd, mmmm dd, yyyy", "Thursday, March 05, 2026"},
        {QDate(2009, 9, 9), "dddd, mmmm dd, yyyy", "Wednesday, September 09, 2009"},
        {QDate(2026, 1, 1), "mmm", "Jan"},
        {QDate(1999, 12, 31), "mmm", "Dec"},
        {QDate(2026, 9, 30), "mmmm", "September"},
    });
}

TEST(DisplayFormatDates, GeneralFormIsShortDateWithWholeYear) {
    expectDates({
        {QDate(2026, 3, 5), "", "3/5/2026"},
        {QDate(2000, 2, 29), "", "2/29/2000"},
        {QDate(), "", ""},
        {QDate(), "dd/mm/yyyy", ""},
    });
}

TEST(DisplayFormatDates, DatesUnderNumberPatternsAreSerials) {
    expectDates({
        {QDate(2026, 3, 5), "0", "46086"},
        {QDate(1899, 12, 30), "0", "0"},
        {QDate(2000, 2, 29), "#,###", "36,585"},
    });
}

struct TimeCase {
    QDateTime when;
    const char* pattern;
    const char* expected;
};

QDateTime at(int hour, int minute, int second) {
    return QDateTime(QDate(2026, 3, 5), QTime(hour, minute, second), Qt::UTC);
}

TEST(DisplayFormatTimes, HoursMinutesSeconds) {
    std::vector<TimeCase> cases = {
        {at(7, 8, 9), "hh:mm:ss", "07:08:09"},
        {at(0, 0, 0), "hh:mm:ss", "00:00:00"},
        {at(13, 5, 0), "h:mm", "13:05"},
        {at(13, 5, 0), "hh:nn", "13:05"},
        {at(13, 5, 9), "mm:ss", "05:09"},
        {at(13, 5, 9), "dd/mm/yyyy hh:mm", "05/03/2026 13:05"},
        {at(13, 5, 9), "hh \"h\" mm", "13 h 05"},
        {at(13, 5, 9), "", "3/5/2026 1:05:09 PM"},
        {at(0, 30, 0), "", "3/5/2026 12:30:00 AM"},
        {at(0, 0, 0), "", "3/5/2026"},
        {at(18, 0, 0), "0.00", "46086.75"},
        {QDateTime(), "hh:mm:ss", ""},
    };
    for (const TimeCase& c : cases) {
        EXPECT_EQ(Format(c.when, QString::fromUtf8(c.pattern), english).toStdString(), c.expected)
            << "Format(" << c.when.toString(Qt::ISODate).toStdString() << ", \"" << c.pattern << "\")";
    }
    EXPECT_EQ(Format(QDate(2026, 3, 5), "hh:mm:ss", english), "00:00:00");
}

TEST(DisplayFormatTimes, NumbersUnderDatePatternsAreSerials) {
    expectNumbers({
        {46086.75, "dd/mm/yyyy hh:mm:ss", "05/03/2026 18:00:00"},
        {0, "dd/mm/yyyy", "30/12/1899"},
        {36585, "dddd", "Tuesday"},
        {-1.25, "dd/mm/yyyy hh:mm", "29/12/1899 06:00"},
        {-657434, "dd/mm", "01/01"},
        {2958465.5, "dd/mm/yyyy hh:mm", "31/12/9999 12:00"},
        {2958466, "dd/mm/yyyy", ""},
        {-657435, "dd/mm/yyyy", ""},
        {1e300, "dd/mm/yyyy", ""},
    });
}

}  // namespace
