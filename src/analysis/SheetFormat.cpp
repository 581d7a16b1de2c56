#include "analysis/SheetFormat.h"

#include <QDate>

#include <cmath>

#include "format/DatePattern.h"
#include "format/NumberPattern.h"
#include "format/PatternText.h"
#include "grid/GridModel.h"

namespace vantrep::analysis {

namespace {

using format::PatternChar;

bool isPlaceholder(const PatternChar& pc) { return !pc.literal && (pc.ch == u'#' || pc.ch == u'0'); }

// A character the format prints as it stands: escaped, so that the
// spreadsheet never reads it as a code.
QString printed(QChar c) { return QStringLiteral("\\") + c; }

QString partCode(const std::vector<PatternChar>& part, bool grouping) {
    int placeholders = 0;
    for (const PatternChar& pc : part) placeholders += isPlaceholder(pc) ? 1 : 0;
    QString code;
    bool groupingPlaced = !grouping;
    for (const PatternChar& pc : part) {
        if (isPlaceholder(pc)) {
            // A comma between two digit placeholders turns grouping on.
            if (!groupingPlaced && placeholders == 1) code += QStringLiteral("#,");
            code += pc.ch;
            if (!groupingPlaced && placeholders > 1) code += u',';
            groupingPlaced = true;
        } else if (!pc.literal && pc.ch == u'%') {
            code += u'%';
        } else {
            code += printed(pc.ch);
        }
    }
    return code;
}

QString numberCode(const QString& pattern) {
    const format::NumberLayout layout = format::numberLayout(format::readPattern(pattern));
    QString code = partCode(layout.integerPart, layout.grouping);
    if (layout.hasPoint) code += u'.' + partCode(layout.fractionPart, false);
    return code;
}

// The date code, or "" when the pattern has parts other than numeric days,
// months and four-digit years, or lacks one of them.
QString dateCode(const QString& pattern) {
    using format::DatePart;
    const format::DateLayout layout = format::dateLayout(format::readPattern(pattern));
    QString code;
    bool day = false, month = false, year = false;
    for (const format::DateToken& t : layout.tokens) {
        switch (t.part) {
        case DatePart::Text:
            for (QChar c : t.text) code += printed(c);
            break;
        case DatePart::Day:
            if (t.width > 2) return QString();
            code += QString(t.width, u'd');
            day = true;
            break;
        case DatePart::Month:
            if (t.width > 2) return QString();
            code += QString(t.width, u'm');
            month = true;
            break;
        case DatePart::Year:
            if (t.width != 4) return QString();
            code += QStringLiteral("yyyy");
            year = true;
            break;
        default: return QString();
        }
    }
    return day && month && year ? code : QString();
}

// Reads up to `maxDigits` digits at `at`; -1 when there is none.
int readDigits(const QString& text, qsizetype& at, int maxDigits) {
    int value = 0, digits = 0;
    while (at < text.size() && digits < maxDigits && text[at].isDigit()) {
        value = value * 10 + text[at].digitValue();
        ++at;
        ++digits;
    }
    return digits > 0 ? value : -1;
}

std::optional<double> dateSerialOf(const QString& text, const QString& pattern) {
    using format::DatePart;
    const format::DateLayout layout = format::dateLayout(format::readPattern(pattern));
    int day = -1, month = -1, year = -1;
    qsizetype at = 0;
    for (const format::DateToken& t : layout.tokens) {
        if (t.part == DatePart::Text) {
            if (text.mid(at, t.text.size()) != t.text) return std::nullopt;
            at += t.text.size();
        } else if (t.part == DatePart::Day) {
            day = readDigits(text, at, 2);
        } else if (t.part == DatePart::Month) {
            month = readDigits(text, at, 2);
        } else {
            year = readDigits(text, at, 4);
        }
    }
    const QDate date(year, month, day);
    if (at != text.size() || !date.isValid()) return std::nullopt;
    return static_cast<double>(date.toJulianDay() - QDate(1899, 12, 30).toJulianDay());
}

}  // namespace

SheetFormat SheetFormatOf(const QString& pattern) {
    if (pattern.isEmpty()) return {};
    if (format::isNumberPattern(format::readPattern(pattern)))
        return {SheetValueKind::Number, numberCode(pattern), pattern};
    const QString code = dateCode(pattern);
    if (code.isEmpty()) return {};
    return {SheetValueKind::Date, code, pattern};
}

std::optional<double> SheetValueOf(const QString& text, const SheetFormat& format) {
    if (text.isEmpty()) return std::nullopt;
    switch (format.kind) {
    case SheetValueKind::Number:
    {
        if (!grid::GridModel::isNumericText(text)) return std::nullopt;
        const double value = grid::GridModel::numberFromText(text);
        if (!std::isfinite(value)) return std::nullopt;  // "nan", "inf" stay text
        return value;
    }
    case SheetValueKind::Date: return dateSerialOf(text, format.pattern);
    case SheetValueKind::Text: break;
    }
    return std::nullopt;
}

}  // namespace vantrep::analysis
