#include "grid/FontMeasure.h"

#include <array>
#include <cmath>

namespace vantrep::grid {

namespace {

constexpr char16_t firstPrintable = 0x20;
constexpr char16_t lastPrintable = 0x7e;

const char16_t* chars(const QString& text) { return reinterpret_cast<const char16_t*>(text.utf16()); }

bool isPrintableAscii(const QString& text) {
    for (QChar c : text)
        if (c.unicode() < firstPrintable || c.unicode() > lastPrintable) return false;
    return true;
}

}  // namespace

FontMeasure::Face::Face(const QFont& font) : metrics(font) {
    // Each printable character alone, then beside "0" and beside a blank.
    std::array<qreal, lastPrintable + 1> alone{};
    for (char16_t c = firstPrintable; c <= lastPrintable; ++c) alone[c] = metrics.horizontalAdvance(QChar(c));
    auto pair = [&](char16_t a, char16_t b) {
        const QChar both[2] = {QChar(a), QChar(b)};
        return metrics.horizontalAdvance(QString(both, 2));
    };

    blank = alone[u' '];
    blanksStandAlone = true;
    for (char16_t c = firstPrintable; c <= lastPrintable && blanksStandAlone; ++c)
        blanksStandAlone = pair(u' ', c) == blank + alone[c] && pair(c, u' ') == alone[c] + blank;

    // Each digit must measure as "0" does, alone and beside every printable
    // character on either side (a kerning pair would show as a difference).
    std::array<qreal, lastPrintable + 1> zeroBefore{}, zeroAfter{};
    for (char16_t c = firstPrintable; c <= lastPrintable; ++c) {
        zeroBefore[c] = pair(u'0', c);
        zeroAfter[c] = pair(c, u'0');
    }
    digitsInterchangeable = true;
    for (char16_t d = u'1'; d <= u'9' && digitsInterchangeable; ++d) {
        digitsInterchangeable = alone[d] == alone[u'0'];
        for (char16_t c = firstPrintable; c <= lastPrintable && digitsInterchangeable; ++c)
            digitsInterchangeable = pair(d, c) == zeroBefore[c] && pair(c, d) == zeroAfter[c];
    }
}

// Advances are sums of the font's fixed-point units, so adding up the words'
// widths gives exactly the width of the whole text.
qreal FontMeasure::Face::widthByWords(const QString& text) {
    qreal width = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != u' ') continue;
        if (i > start) {
            const std::u16string_view word(chars(text) + start, static_cast<size_t>(i - start));
            auto found = words.find(word);
            if (found == words.end()) {
                const QString& held = wordTexts.emplace_back(text.mid(start, i - start));
                const std::u16string_view key(chars(held), static_cast<size_t>(held.size()));
                found = words.emplace(key, metrics.horizontalAdvance(held)).first;
            }
            width += found->second;
        }
        if (i < text.size()) width += blank;
        start = i + 1;
    }
    return width;
}

FontMeasure::FontMeasure(const QFont& font, double twipsPerPixel)
    : normal_(font), bold_(emboldened(font)), twipsPerPixel_(twipsPerPixel) {
    digitsShareOneWidth_ = normal_.digitsInterchangeable && bold_.digitsInterchangeable;
}

QFont FontMeasure::emboldened(QFont font) {
    font.setBold(true);
    return font;
}

int FontMeasure::widthTwips(const QString& text, bool bold) {
    Face& face = bold ? bold_ : normal_;
    const bool byWords = face.blanksStandAlone && text.contains(u' ') && isPrintableAscii(text);
    const qreal pixels = byWords ? face.widthByWords(text) : face.metrics.horizontalAdvance(text);
    return static_cast<int>(std::ceil(pixels * twipsPerPixel_));
}

}  // namespace vantrep::grid
