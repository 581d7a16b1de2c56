// The application font's measure for the command line's auto-size, learnt
// on a thread of its own while the report opens. Learning a font measures
// some thousands of characters and pairs of them (see FontMeasure), and
// only auto-size, at the end of a fill, needs what it learnt.
#pragma once

#include <future>
#include <memory>

#include "grid/FontMeasure.h"

namespace vantrep::app {

class FontMeasureAhead : public grid::TextMeasure {
public:
    // Starts learning the application font (on this thread when no other can be had).
    FontMeasureAhead();
    FontMeasureAhead(const FontMeasureAhead&) = delete;
    FontMeasureAhead& operator=(const FontMeasureAhead&) = delete;

    // Both wait for the learning when it is not done yet; like FontMeasure,
    // they are called from one thread at a time.
    int widthTwips(const QString& text, bool bold) override { return measure().widthTwips(text, bold); }
    bool digitsShareOneWidth() const override { return measure().digitsShareOneWidth(); }

private:
    grid::FontMeasure& measure() const;

    mutable std::future<std::unique_ptr<grid::FontMeasure>> learning_;
    mutable std::unique_ptr<grid::FontMeasure> measure_;
};

}  // namespace vantrep::app
