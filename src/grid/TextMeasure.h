// Measures text for auto-sizing; the caller provides it (a view measures
// with its font, the command line with the application font, tests with a
// simple rule).
#pragma once

#include <QString>

namespace vantrep::grid {

class TextMeasure {
public:
    virtual ~TextMeasure() = default;
    virtual int widthTwips(const QString& text, bool bold) = 0;

    // True when replacing any ASCII digit of a text by "0" never changes its
    // width: the digits share one advance and kern with nothing. Auto-size
    // then measures one text per digit pattern instead of every text.
    virtual bool digitsShareOneWidth() const { return false; }
};

}  // namespace vantrep::grid
