#include "print/PrintFont.h"

#include <algorithm>
#include <cmath>

namespace vantrep::print {

QFont PrintFont::toQFont() const {
    QFont font(name);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(size * 20))));
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikeOut);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QColor colorFromCode(int code) {
    return QColor(code & 0xFF, (code >> 8) & 0xFF, (code >> 16) & 0xFF);
}

}  // namespace vantrep::print
