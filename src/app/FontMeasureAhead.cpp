#include "app/FontMeasureAhead.h"

#include <QFont>

#include <system_error>

namespace vantrep::app {

namespace {

std::unique_ptr<grid::FontMeasure> learnApplicationFont() { return std::make_unique<grid::FontMeasure>(QFont()); }

}  // namespace

FontMeasureAhead::FontMeasureAhead() {
    try {
        learning_ = std::async(std::launch::async, learnApplicationFont);
    } catch (const std::system_error&) {
        measure_ = learnApplicationFont();  // no thread to be had
    }
}

grid::FontMeasure& FontMeasureAhead::measure() const {
    if (!measure_) measure_ = learning_.get();
    return *measure_;
}

}  // namespace vantrep::app
