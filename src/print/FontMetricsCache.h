// Text measurement in twips for the fonts of one document: each font's
// metrics are made once, on an image that claims 1440 dots per inch, so that
// layout never depends on the screen or printer it is later shown on.
// Widths of single-line texts are remembered per font: reports print the same
// names, dates and numbers over and over, and shaping a text costs far more
// than looking it up (a third of a long report's layout time otherwise).
#pragma once

#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QString>

#include <vector>

#include "print/PrintFont.h"

namespace vantrep::print {

class FontMetricsCache {
public:
    FontMetricsCache();
    FontMetricsCache(const FontMetricsCache&) = delete;
    FontMetricsCache& operator=(const FontMetricsCache&) = delete;

    const QFontMetricsF& metrics(const PrintFont& font);

    // Width of the widest line of `text` (lines end at "\n"), in twips.
    double textWidth(const PrintFont& font, const QString& text);
    // Height of all lines of `text`; an empty text is one line high.
    double textHeight(const PrintFont& font, const QString& text);

private:
    QImage device_;
    struct Measured {
        PrintFont font;
        QFontMetricsF metrics;
        QHash<QString, double> widths;
    };
    Measured& measured(const PrintFont& font);

    std::vector<Measured> fonts_;
    size_t last_ = 0;
};

}  // namespace vantrep::print
