#include "grid/FontMeasure.h"

#include <cmath>

namespace vantrep::grid {

FontMeasure::FontMeasure(const QFont& font, double twipsPerPixel)
    : normal_(font), bold_(emboldened(font)), twipsPerPixel_(twipsPerPixel) {
    digitsShareOneWidth_ = digitsAreInterchangeable(normal_) && digitsAreInterchangeable(bold_);
}

QFont FontMeasure::emboldened(QFont font) {
    font.setBold(true);
    return font;
}

int FontMeasure::widthTwips(const QString& text, bool bold) {
    return static_cast<int>(std::ceil((bold ? bold_ : normal_).horizontalAdvance(text) * twipsPerPixel_));
}

// Each digit must measure as "0" does, alone and beside every printable ASCII
// character on either side (a kerning pair would show as a difference).
bool FontMeasure::digitsAreInterchangeable(const QFontMetricsF& metrics) const {
    for (QChar digit = u'1'; digit <= u'9'; digit = QChar(digit.unicode() + 1)) {
        if (metrics.horizontalAdvance(digit) != metrics.horizontalAdvance(u'0')) return false;
        for (char16_t other = 0x20; other < 0x7f; ++other) {
            const QChar neighbour(other);
            if (metrics.horizontalAdvance(QString(digit) + neighbour) !=
                    metrics.horizontalAdvance(QString(u'0') + neighbour) ||
                metrics.horizontalAdvance(QString(neighbour) + digit) !=
                    metrics.horizontalAdvance(QString(neighbour) + u'0'))
                return false;
        }
    }
    return true;
}

}  // namespace vantrep::grid
