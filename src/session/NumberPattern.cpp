#include "session/NumberPattern.h"

#include <algorithm>

namespace vantrep::session {

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

QString integerText(const std::string& integer, const NumberLayout& layout, const QString& separator) {
    std::string digits = integer;
    const int minimum = layout.integerMinimum;
    if (static_cast<int>(digits.size()) < minimum) digits.insert(0, minimum - digits.size(), '0');
    const int length = static_cast<int>(digits.size());
    const int placeholders = layout.integerPlaceholders;

    QString out;
    out.reserve(length + (layout.grouping ? length / 3 * separator.size() : 0) +
                static_cast<qsizetype>(layout.integerPart.size()));
    int next = 0;  // index in `digits` of the next digit to print
    auto printDigitsUpTo = [&](int end) {
        for (; next < end; ++next) {
            out += QChar::fromLatin1(digits[next]);
            int fromRight = length - 1 - next;
            if (layout.grouping && fromRight > 0 && fromRight % 3 == 0) out += separator;
        }
    };
    int placeholder = 0;
    for (const PatternChar& pc : layout.integerPart) {
        if (!isPlaceholder(pc)) {
            out += pc.ch;
            continue;
        }
        // Placeholder p (from the left) stands for the digit at position
        // placeholders-1-p from the right; the first one also takes any
        // digits the pattern has no place for.
        int fromRight = placeholders - 1 - placeholder;
        printDigitsUpTo(std::max(next, length - fromRight));
        ++placeholder;
    }
    return out;
}

QString fractionText(const std::string& fraction, const NumberLayout& layout) {
    // Trailing zeros under "#" are not significant: find the last digit shown.
    int last = -1;
    int index = 0;
    for (const PatternChar& pc : layout.fractionPart) {
        if (!isPlaceholder(pc)) continue;
        if (isUnquoted(pc, u'0') || fraction[index] != '0') last = index;
        ++index;
    }
    QString out;
    index = 0;
    for (const PatternChar& pc : layout.fractionPart) {
        if (!isPlaceholder(pc)) {
            out += pc.ch;
            continue;
        }
        if (index <= last) out += QChar::fromLatin1(fraction[index]);
        ++index;
    }
    return out;
}

}  // namespace

NumberLayout numberLayout(const std::vector<PatternChar>& chars) {
    NumberLayout layout = readLayout(chars);
    layout.integerPlaceholders = countPlaceholders(layout.integerPart);
    layout.integerMinimum = minimumDigits(layout.integerPart);
    layout.fractionPlaceholders = countPlaceholders(layout.fractionPart);
    return layout;
}

QString formatNumber(const DecimalDigits& value, const NumberLayout& layout, const QLocale& locale) {
    DecimalDigits shown = (layout.percent ? value.shifted(2) : value).rounded(layout.fractionPlaceholders);
    QString out;
    if (shown.negative && !shown.isZero()) out += u'-';
    out += integerText(shown.integer, layout, layout.grouping ? locale.groupSeparator() : QString());
    if (layout.hasPoint) out += locale.decimalPoint();
    out += fractionText(shown.fraction, layout);
    return out;
}

}  // namespace vantrep::session
