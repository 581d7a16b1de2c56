#include "format/DisplayFormat.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <unordered_map>

#include "format/DatePattern.h"
#include "format/DecimalDigits.h"
#include "format/NumberPattern.h"
#include "format/PatternText.h"

namespace vantrep::format {

namespace {

using engine::msPerDay;
using engine::Value;
using engine::ValueKind;

// Date serials count days from 30 December 1899 (Julian day 2415019).
constexpr int64_t serialDayZero = 2415019;

QString localized(const std::string& plain, const QLocale& locale) {
    QString text = QString::fromStdString(plain);
    text.replace(u'.', locale.decimalPoint());
    return text;
}

// The general form of a double: 15 significant digits, no trailing zeros,
// scientific ("1.5E+15", "1E-05") outside 0.0001 .. 1E+15.
QString generalNumber(double value, const QLocale& locale) {
    if (value == 0) return QStringLiteral("0");
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    std::string text = buffer;
    size_t e = text.find('e');
    if (e == std::string::npos) return localized(text, locale);
    std::string mantissa = text.substr(0, e);
    std::string exponent = text.substr(e + 1);  // sign and at least two digits
    return localized(mantissa, locale) + QChar(u'E') + QString::fromStdString(exponent);
}

// A Decimal in full, without trailing fraction zeros: "12.5", "3".
QString generalDecimal(const engine::Decimal& value, const QLocale& locale) {
    std::string text = value.toString();
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') text.pop_back();
    }
    return localized(text == "-0" ? "0" : text, locale);
}

QString shortDate(const QDate& date, const QLocale& locale) {
    // The locale's short form, but always with the whole year.
    QString pattern = locale.dateFormat(QLocale::ShortFormat);
    if (!pattern.contains(QStringLiteral("yyyy"))) pattern.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    return locale.toString(date, pattern);
}

QString generalDateTime(const QDate& date, const QTime& time, const QLocale& locale) {
    QString text = shortDate(date, locale);
    if (time == QTime(0, 0)) return text;
    int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    QString suffix = time.hour() < 12 ? locale.amText() : locale.pmText();
    return text + u' ' + QStringLiteral("%1:%2:%3 %4")
                             .arg(hour12)
                             .arg(time.minute(), 2, 10, QChar(u'0'))
                             .arg(time.second(), 2, 10, QChar(u'0'))
                             .arg(suffix);
}

// Serials of 1 January 100 and of the day after 31 December 9999: the dates
// a serial may stand for.
constexpr double firstSerial = -657434;
constexpr double endSerial = 2958466;

// A date serial as a date and a time of day; the fraction is the time, even
// for serials before day zero (as in -1.25: 29 December 1899, 06:00). False
// for a serial outside the years 100 to 9999.
bool fromSerial(double serial, QDate& date, QTime& time) {
    if (serial < firstSerial || serial >= endSerial) return false;
    double days = std::trunc(serial);
    int64_t msOfDay = std::llround(std::fabs(serial - days) * msPerDay);
    if (msOfDay == msPerDay) {
        days += serial < 0 ? -1 : 1;
        msOfDay = 0;
    }
    date = QDate::fromJulianDay(serialDayZero + static_cast<int64_t>(days));
    time = QTime::fromMSecsSinceStartOfDay(static_cast<int>(msOfDay));
    return true;
}

double toSerial(const QDate& date, const QTime& time) {
    return static_cast<double>(date.toJulianDay() - serialDayZero) +
           static_cast<double>(time.msecsSinceStartOfDay()) / msPerDay;
}

// A pattern as the formatters use it. Reports format whole columns through
// a handful of patterns, so each pattern is read once and kept.
struct ParsedPattern {
    std::vector<PatternChar> chars;
    bool number = false;
    NumberLayout layout;  // for a number pattern
    DateLayout date;      // for any other
};

// A grid fill formats cell after cell through the same few patterns: those
// last used are looked for first, by comparing texts rather than hashing.
struct RecentPattern {
    QString pattern;
    const ParsedPattern* parsed = nullptr;
};

const ParsedPattern& parsedPattern(const QString& pattern) {
    thread_local std::unordered_map<QString, ParsedPattern> cache;
    thread_local std::array<RecentPattern, 4> recent;
    for (const RecentPattern& r : recent)
        if (r.parsed && r.pattern == pattern) return *r.parsed;
    auto found = cache.find(pattern);
    if (found == cache.end()) {
        if (cache.size() >= 256) {  // patterns made up at run time must not pile up
            cache.clear();
            recent.fill({});
        }
        ParsedPattern parsed;
        parsed.chars = readPattern(pattern);
        parsed.number = isNumberPattern(parsed.chars);
        if (parsed.number) parsed.layout = numberLayout(parsed.chars);
        else parsed.date = dateLayout(parsed.chars);
        found = cache.emplace(pattern, std::move(parsed)).first;
    }
    std::move_backward(recent.begin(), recent.end() - 1, recent.end());
    recent.front() = {found->first, &found->second};
    return found->second;
}

QString formatWhen(const QDate& date, const QTime& time, const QString& pattern, const QLocale& locale) {
    if (!date.isValid()) return {};
    if (pattern.isEmpty()) return generalDateTime(date, time, locale);
    const ParsedPattern& parsed = parsedPattern(pattern);
    if (parsed.number) return formatNumber(DecimalDigits::fromDouble(toSerial(date, time)), parsed.layout, locale);
    return formatDateTime(date, time, parsed.date, locale);
}

}  // namespace

QString Format(double value, const QString& pattern, const QLocale& locale) {
    if (!std::isfinite(value)) return QString::number(value);
    if (pattern.isEmpty()) return generalNumber(value, locale);
    const ParsedPattern& parsed = parsedPattern(pattern);
    if (parsed.number) {
        // Rounded where the pattern rounds, the "%" counted.
        const int decimals = parsed.layout.fractionPlaceholders + (parsed.layout.percent ? 2 : 0);
        return formatNumber(DecimalDigits::fromDoubleRounded(value, decimals), parsed.layout, locale);
    }
    QDate date;
    QTime time;
    if (!fromSerial(value, date, time)) return {};
    return formatDateTime(date, time, parsed.date, locale);
}

QString Format(const QDate& date, const QString& pattern, const QLocale& locale) {
    return formatWhen(date, QTime(0, 0), pattern, locale);
}

QString Format(const QDateTime& when, const QString& pattern, const QLocale& locale) {
    return formatWhen(when.date(), when.time(), pattern, locale);
}

QString Format(const Value& value, const QString& pattern, const QLocale& locale) {
    switch (value.kind()) {
    case ValueKind::Null: return {};
    case ValueKind::String: return QString::fromStdString(value.asString());
    case ValueKind::Logical:
        if (pattern.isEmpty()) return value.asLogical() ? QStringLiteral("True") : QStringLiteral("False");
        return Format(value.asLogical() ? -1.0 : 0.0, pattern, locale);
    case ValueKind::Double: return Format(value.asDouble(), pattern, locale);
    case ValueKind::Integer:
    case ValueKind::Decimal: {
        if (pattern.isEmpty()) return generalDecimal(value.asDecimal(), locale);
        const ParsedPattern& parsed = parsedPattern(pattern);
        if (!parsed.number) return Format(value.asDouble(), pattern, locale);
        return formatNumber(DecimalDigits::fromDecimal(value.asDecimal()), parsed.layout, locale);
    }
    case ValueKind::Date:
        if (value.isEmptyDate()) return {};
        return Format(QDate::fromJulianDay(value.asDate()), pattern, locale);
    case ValueKind::DateTime: {
        if (value.isEmptyDate()) return {};
        int64_t ms = value.asDateTime();
        QDate date = QDate::fromJulianDay(ms / msPerDay);
        QTime time = QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms % msPerDay));
        return formatWhen(date, time, pattern, locale);
    }
    }
    return {};
}

}  // namespace vantrep::format
