#include "format/DatePattern.h"

#include <QVarLengthArray>

#include <algorithm>

namespace vantrep::format {

namespace {

using Part = DatePart;
using Token = DateToken;
using Output = QVarLengthArray<char16_t, 64>;

Part partOf(QChar letter) {
    switch (letter.toLower().unicode()) {
    case u'd': return Part::Day;
    case u'm': return Part::Month;
    case u'n': return Part::Minute;
    case u'y': return Part::Year;
    case u'h': return Part::Hour;
    case u's': return Part::Second;
    default: return Part::Text;
    }
}

// The widest meaningful run of a letter that fits in `available` letters.
int widthOf(Part part, int available) {
    switch (part) {
    case Part::Day:
    case Part::Month: return std::min(available, 4);
    case Part::Year: return available >= 4 ? 4 : (available >= 2 ? 2 : 1);
    default: return std::min(available, 2);
    }
}

std::vector<Token> tokenize(const std::vector<PatternChar>& chars) {
    std::vector<Token> tokens;
    size_t i = 0;
    while (i < chars.size()) {
        Part part = chars[i].literal ? Part::Text : partOf(chars[i].ch);
        if (part == Part::Text) {
            if (tokens.empty() || tokens.back().part != Part::Text) tokens.push_back({});
            tokens.back().text += chars[i].ch;
            ++i;
            continue;
        }
        int run = 0;
        while (i + run < chars.size() && !chars[i + run].literal &&
               chars[i + run].ch.toLower() == chars[i].ch.toLower()) {
            ++run;
        }
        int width = widthOf(part, run);
        tokens.push_back({part, width, {}});
        i += width;
    }
    return tokens;
}

// "m" and "mm" mean minutes right after an hour or right before seconds
// (only literal text between).
void markMinutes(std::vector<Token>& tokens) {
    Part previous = Part::Text;
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].part == Part::Text) continue;
        if (tokens[i].part == Part::Month && tokens[i].width <= 2) {
            Part next = Part::Text;
            for (size_t j = i + 1; j < tokens.size() && next == Part::Text; ++j) next = tokens[j].part;
            if (previous == Part::Hour || next == Part::Second) tokens[i].part = Part::Minute;
        }
        previous = tokens[i].part;
    }
}

void appendText(Output& out, const QString& text) {
    for (QChar c : text) out.append(c.unicode());
}

// `value` in at least `width` characters, zeros in front.
void appendNumber(Output& out, int value, int width) {
    if (value < 0) return appendText(out, QString::number(value).rightJustified(width, u'0'));
    char16_t digits[12];
    int count = 0;
    do {
        digits[count++] = char16_t(u'0' + value % 10);
        value /= 10;
    } while (value > 0);
    for (int i = count; i < width; ++i) out.append(u'0');
    while (count > 0) out.append(digits[--count]);
}

void appendToken(Output& out, const Token& token, const QDate& date, const QTime& time, const QLocale& locale) {
    switch (token.part) {
    case Part::Text: appendText(out, token.text); return;
    case Part::Day:
        if (token.width == 3) return appendText(out, locale.dayName(date.dayOfWeek(), QLocale::ShortFormat));
        if (token.width == 4) return appendText(out, locale.dayName(date.dayOfWeek(), QLocale::LongFormat));
        return appendNumber(out, date.day(), token.width);
    case Part::Month:
        if (token.width == 3) return appendText(out, locale.monthName(date.month(), QLocale::ShortFormat));
        if (token.width == 4) return appendText(out, locale.monthName(date.month(), QLocale::LongFormat));
        return appendNumber(out, date.month(), token.width);
    case Part::Year:
        if (token.width == 1) return appendNumber(out, date.dayOfYear(), 1);
        if (token.width == 2) return appendNumber(out, date.year() % 100, 2);
        return appendNumber(out, date.year(), 4);
    case Part::Hour: return appendNumber(out, time.hour(), token.width);
    case Part::Minute: return appendNumber(out, time.minute(), token.width);
    case Part::Second: return appendNumber(out, time.second(), token.width);
    }
}

}  // namespace

DateLayout dateLayout(const std::vector<PatternChar>& chars) {
    DateLayout layout{tokenize(chars)};
    markMinutes(layout.tokens);
    return layout;
}

QString formatDateTime(const QDate& date, const QTime& time, const DateLayout& layout, const QLocale& locale) {
    Output out;
    for (const Token& token : layout.tokens) appendToken(out, token, date, time, locale);
    return QString(reinterpret_cast<const QChar*>(out.constData()), out.size());
}

}  // namespace vantrep::format
