#include "session/DatePattern.h"

#include <algorithm>

namespace vantrep::session {

namespace {

enum class Part { Text, Day, Month, Minute, Year, Hour, Second };

struct Token {
    Part part = Part::Text;
    int width = 0;  // letters in the run: "dd" is 2
    QString text;   // Part::Text only
};

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

QString number(int value, int width) {
    return QString::number(value).rightJustified(width, u'0');
}

QString textOf(const Token& token, const QDate& date, const QTime& time, const QLocale& locale) {
    switch (token.part) {
    case Part::Text: return token.text;
    case Part::Day:
        if (token.width == 3) return locale.dayName(date.dayOfWeek(), QLocale::ShortFormat);
        if (token.width == 4) return locale.dayName(date.dayOfWeek(), QLocale::LongFormat);
        return number(date.day(), token.width);
    case Part::Month:
        if (token.width == 3) return locale.monthName(date.month(), QLocale::ShortFormat);
        if (token.width == 4) return locale.monthName(date.month(), QLocale::LongFormat);
        return number(date.month(), token.width);
    case Part::Year:
        if (token.width == 1) return QString::number(date.dayOfYear());
        if (token.width == 2) return number(date.year() % 100, 2);
        return number(date.year(), 4);
    case Part::Hour: return number(time.hour(), token.width);
    case Part::Minute: return number(time.minute(), token.width);
    case Part::Second: return number(time.second(), token.width);
    }
    return {};
}

}  // namespace

QString formatDateTime(const QDate& date, const QTime& time, const std::vector<PatternChar>& chars,
                       const QLocale& locale) {
    std::vector<Token> tokens = tokenize(chars);
    markMinutes(tokens);
    QString out;
    for (const Token& token : tokens) out += textOf(token, date, time, locale);
    return out;
}

}  // namespace vantrep::session
