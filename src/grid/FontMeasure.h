// Text widths in twips from a font's metrics, for auto-sizing grid columns.
//
// Two facts about the font are checked once, on construction, by measuring
// printable ASCII characters alone and in pairs:
// - whether every digit measures as "0" does beside any character (then
//   auto-size measures one text per digit pattern, see TextMeasure);
// - whether a blank measures the same beside any character as alone (then a
//   text of printable ASCII measures as its words and blanks added up, and
//   each distinct word is measured once).
#pragma once

#include <QFont>
#include <QFontMetricsF>

#include <deque>
#include <string_view>
#include <unordered_map>

#include "grid/TextMeasure.h"

namespace vantrep::grid {

class FontMeasure : public TextMeasure {
public:
    // `twipsPerPixel` turns the font's device pixels into twips (15 at 96 dpi).
    explicit FontMeasure(const QFont& font, double twipsPerPixel = 15.0);

    int widthTwips(const QString& text, bool bold) override;
    bool digitsShareOneWidth() const override { return digitsShareOneWidth_; }
    // True when texts with blanks are measured word by word (both weights).
    bool measuresByWords() const { return normal_.blanksStandAlone && bold_.blanksStandAlone; }

private:
    // One weight of the font, with what was learnt of it.
    struct Face {
        explicit Face(const QFont& font);
        QFontMetricsF metrics;
        bool digitsInterchangeable = false;
        bool blanksStandAlone = false;
        qreal blank = 0;
        // Width of each word measured so far; the keys view the words' texts
        // held beside them, so that a word is looked up without a copy.
        std::unordered_map<std::u16string_view, qreal> words;
        std::deque<QString> wordTexts;
        qreal widthByWords(const QString& text);
    };

    static QFont emboldened(QFont font);

    Face normal_;
    Face bold_;
    double twipsPerPixel_;
    bool digitsShareOneWidth_;
};

}  // namespace vantrep::grid
