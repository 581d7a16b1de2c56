#include "print/DocumentFind.h"

#include <algorithm>

namespace vantrep::print {

FindHit findText(const PrintDocument& document, const QString& text, int fromPage, double fromY,
                 FontMetricsCache& measure) {
    if (text.isEmpty()) return {};
    if (fromPage < 1) {
        fromPage = 1;
        fromY = 0;
    }
    for (int number = fromPage; number <= document.pageCount(); ++number) {
        const Page& page = document.pages[static_cast<size_t>(number - 1)];
        for (const TextItem& item : page.texts) {
            const QFontMetricsF& fm = measure.metrics(document.fonts[static_cast<size_t>(item.font)]);
            double top = item.origin.y() - fm.ascent();
            if (number == fromPage && top < fromY) continue;
            qsizetype at = item.text.indexOf(text, 0, Qt::CaseInsensitive);
            if (at < 0) continue;
            double left = item.origin.x() + fm.horizontalAdvance(item.text.left(at));
            double width = fm.horizontalAdvance(item.text.mid(at, text.size()));
            return {number, QRectF(left, top, width, fm.height())};
        }
    }
    return {};
}

}  // namespace vantrep::print
