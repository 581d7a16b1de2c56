// Text widths in twips from a font's metrics, for auto-sizing grid columns.
// The metrics are made once; the digit check of TextMeasure is made once on
// construction by measuring each digit beside every printable ASCII character.
#pragma once

#include <QFont>
#include <QFontMetricsF>

#include "grid/TextMeasure.h"

namespace vantrep::grid {

class FontMeasure : public TextMeasure {
public:
    // `twipsPerPixel` turns the font's device pixels into twips (15 at 96 dpi).
    explicit FontMeasure(const QFont& font, double twipsPerPixel = 15.0);

    int widthTwips(const QString& text, bool bold) override;
    bool digitsShareOneWidth() const override { return digitsShareOneWidth_; }

private:
    static QFont emboldened(QFont font);
    bool digitsAreInterchangeable(const QFontMetricsF& metrics) const;

    QFontMetricsF normal_;
    QFontMetricsF bold_;
    double twipsPerPixel_;
    bool digitsShareOneWidth_;
};

}  // namespace vantrep::grid
