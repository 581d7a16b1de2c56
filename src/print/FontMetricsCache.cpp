#include "print/FontMetricsCache.h"

#include <QStringList>

#include <algorithm>

namespace vantrep::print {

namespace {
constexpr int dotsPerMeterAt1440Dpi = 56693;  // 1440 / 0.0254
constexpr qsizetype maxRemembered = 50000;  // widths kept per font
}

FontMetricsCache::FontMetricsCache() : device_(1, 1, QImage::Format_RGB32) {
    device_.setDotsPerMeterX(dotsPerMeterAt1440Dpi);
    device_.setDotsPerMeterY(dotsPerMeterAt1440Dpi);
}

FontMetricsCache::Measured& FontMetricsCache::measured(const PrintFont& font) {
    if (last_ < fonts_.size() && fonts_[last_].font == font) return fonts_[last_];
    for (size_t i = 0; i < fonts_.size(); ++i) {
        if (fonts_[i].font == font) {
            last_ = i;
            return fonts_[i];
        }
    }
    fonts_.push_back({font, QFontMetricsF(font.toQFont(), &device_), {}});
    last_ = fonts_.size() - 1;
    return fonts_.back();
}

const QFontMetricsF& FontMetricsCache::metrics(const PrintFont& font) { return measured(font).metrics; }

double FontMetricsCache::textWidth(const PrintFont& font, const QString& text) {
    Measured& entry = measured(font);
    if (text.contains(u'\n')) {
        double widest = 0;
        for (const QString& line : text.split(u'\n')) widest = std::max(widest, textWidth(font, line));
        return widest;
    }
    auto found = entry.widths.constFind(text);
    if (found != entry.widths.constEnd()) return *found;
    if (entry.widths.size() >= maxRemembered) entry.widths.clear();
    double width = entry.metrics.horizontalAdvance(text);
    entry.widths.insert(text, width);
    return width;
}

double FontMetricsCache::textHeight(const PrintFont& font, const QString& text) {
    const QFontMetricsF& fm = metrics(font);
    auto breaks = text.count(u'\n');
    return fm.height() + static_cast<double>(breaks) * fm.lineSpacing();
}

}  // namespace vantrep::print
