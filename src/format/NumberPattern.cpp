#include "format/NumberPattern.h"

#include <QVarLengthArray>

#include <algorithm>
#include <string_view>

namespace vantrep::format {

namespace {

bool isPlaceholder(const PatternChar& pc) {
    return !pc.literal && (pc.ch == u'#' || pc.ch == u'0');
}

bool isUnquoted(const PatternChar& pc, char16_t c) {
    return !pc.literal && pc.ch == c;
}

NumberLayout readLayout(const std::vector<PatternChar>& chars) {
    NumberLayout layout;
    bool placeholderSeen = false;
    for (const PatternChar& pc : chars) {
        if (isUnquoted(pc, u'%')) layout.percent = true;
        if (layout.hasPoint) {
            layout.fractionPart.push_back(pc);
        } else if (isUnquoted(pc, u'.')) {
            layout.hasPoint = true;
        } else if (isUnquoted(pc, u',') && placeholderSeen) {
            layout.grouping = true;
        } else {
            placeholderSeen = placeholderSeen || isPlaceholder(pc);
            layout.integerPart.push_back(pc);
        }
    }
    // Integer digits need a place even in patterns such as ".00": they go
    // just before the decimal point.
    if (!placeholderSeen) layout.integerPart.push_back({u'#', false});
    return layout;
}

int countPlaceholders(const std::vector<PatternChar>& part) {
    int n = 0;
    for (const PatternChar& pc : part) n += isPlaceholder(pc) ? 1 : 0;
    return n;
}

// Placeholders from the first "0" on always print a digit.
int minimumDigits(const std::vector<PatternChar>& part) {
    int n = 0;
    bool zeroSeen = false;
    for (const PatternChar& pc : part) {
        zeroSeen = zeroSeen || isUnquoted(pc, u'0');
        if (zeroSeen && isPlaceholder(pc)) ++n;
    }
    return n;
}

using Output = QVarLengthArray<char16_t, 128>;

void appendText(Output& out, const QString& text) {
    for (QChar c : text) out.append(c.unicode());
}

void appendIntegerText(Output& out, std::string_view integer, const NumberLayout& layout, const QString& separator) {
    const int given = static_cast<int>(integer.size());
    const int minimum = layout.integerMinimum;
    const int length = std::max(given, minimum);  // digits printed, leading zeros included
    const int placeholders = layout.integerPlaceholders;
    auto digitAt = [&](int i) { return i < length - given ? u'0' : char16_t(integer[i - (length - given)]); };

    int next = 0;  // index of the next digit to print
    auto printDigitsUpTo = [&](int end) {
        for (; next < end; ++next) {
            out.append(digitAt(next));
            int fromRight = length - 1 - next;
            if (layout.grouping && fromRight > 0 && fromRight % 3 == 0) appendText(out, separator);
        }
    };
    int placeholder = 0;
    for (const PatternChar& pc : layout.integerPart) {
        if (!isPlaceholder(pc)) {
            out.append(pc.ch.unicode());
            continue;
        }
        // Placeholder p (from the left) stands for the digit at position
        // placeholders-1-p from the right; the first one also takes any
        // digits the pattern has no place for.
        int fromRight = placeholders - 1 - placeholder;
        printDigitsUpTo(std::max(next, length - fromRight));
        ++placeholder;
    }
}

// The fraction digits shown: up to the last one that is significant or
// stands under a "0" (trailing zeros under "#" are not significant).
int shownFractionDigits(std::string_view fraction, const NumberLayout& layout) {
    for (int i = static_cast<int>(fraction.size()); i > layout.fractionMinimum; --i)
        if (fraction[static_cast<size_t>(i - 1)] != '0') return i;
    return layout.fractionMinimum;
}

void appendFractionText(Output& out, std::string_view fraction, const NumberLayout& layout) {
    const int shown = shownFractionDigits(fraction, layout);
    int index = 0;
    for (const PatternChar& pc : layout.fractionPart) {
        if (!isPlaceholder(pc)) {
            out.append(pc.ch.unicode());
            continue;
        }
        if (index < shown) out.append(char16_t(fraction[static_cast<size_t>(index)]));
        ++index;
    }
}

// Placeholders up to the last "0" of the fraction part: digits always printed.
int fractionMinimumOf(const std::vector<PatternChar>& part) {
    int n = 0, minimum = 0;
    for (const PatternChar& pc : part) {
        if (!isPlaceholder(pc)) continue;
        ++n;
        if (isUnquoted(pc, u'0')) minimum = n;
    }
    return minimum;
}

bool allPlaceholders(const std::vector<PatternChar>& part) { return std::all_of(part.begin(), part.end(), isPlaceholder); }

// The locale's separators, asked of the locale again only when it changes.
struct Separators {
    QLocale locale;
    QString group;
    QString point;
};

const Separators& separatorsOf(const QLocale& locale) {
    thread_local Separators cached{QLocale::c(), QLocale::c().groupSeparator(), QLocale::c().decimalPoint()};
    if (!(cached.locale == locale)) cached = Separators{locale, locale.groupSeparator(), locale.decimalPoint()};
    return cached;
}

}  // namespace

NumberLayout numberLayout(const std::vector<PatternChar>& chars) {
    NumberLayout layout = readLayout(chars);
    layout.integerPlaceholders = countPlaceholders(layout.integerPart);
    layout.integerMinimum = minimumDigits(layout.integerPart);
    layout.fractionPlaceholders = countPlaceholders(layout.fractionPart);
    layout.placeholdersOnly = allPlaceholders(layout.integerPart) && allPlaceholders(layout.fractionPart);
    layout.fractionMinimum = fractionMinimumOf(layout.fractionPart);
    return layout;
}

namespace {

// A number under a pattern of placeholders alone: the integer digits (with
// leading zeros up to the minimum, and grouping), the point, and the fraction
// digits up to the last one that is significant or always printed, written
// straight into the text.
QString placeholderNumber(const DecimalDigits& value, const NumberLayout& layout, const Separators& separators) {
    const std::string_view integer = value.integer();
    const std::string_view fraction = value.fraction();
    const int given = static_cast<int>(integer.size());
    const int length = std::max(given, layout.integerMinimum);
    const int shown = shownFractionDigits(fraction, layout);
    const bool minus = value.negative() && !value.isZero();
    const int groups = layout.grouping && length > 0 ? (length - 1) / 3 : 0;
    const qsizetype size = (minus ? 1 : 0) + length + groups * separators.group.size() +
                           (layout.hasPoint ? separators.point.size() : 0) + shown;
    QString text(size, Qt::Uninitialized);
    QChar* out = text.data();
    auto append = [&out](const QString& part) {
        for (QChar c : part) *out++ = c;
    };
    if (minus) *out++ = u'-';
    for (int i = 0; i < length; ++i) {
        *out++ = QChar(i < length - given ? u'0' : char16_t(integer[static_cast<size_t>(i - (length - given))]));
        const int fromRight = length - 1 - i;
        if (groups > 0 && fromRight > 0 && fromRight % 3 == 0) append(separators.group);
    }
    if (layout.hasPoint) append(separators.point);
    for (int i = 0; i < shown; ++i) *out++ = QChar(char16_t(fraction[static_cast<size_t>(i)]));
    return text;
}

}  // namespace

QString formatNumber(DecimalDigits value, const NumberLayout& layout, const QLocale& locale) {
    if (layout.percent) value.shift(2);
    value.round(layout.fractionPlaceholders);
    const Separators& separators = separatorsOf(locale);
    if (layout.placeholdersOnly) return placeholderNumber(value, layout, separators);
    Output out;
    if (value.negative() && !value.isZero()) out.append(u'-');
    appendIntegerText(out, value.integer(), layout, layout.grouping ? separators.group : QString());
    if (layout.hasPoint) appendText(out, separators.point);
    appendFractionText(out, value.fraction(), layout);
    return QString(reinterpret_cast<const QChar*>(out.constData()), out.size());
}

}  // namespace vantrep::format
