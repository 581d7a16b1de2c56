// Text search in a PrintDocument, as the preview's Find and Find Next use it:
// from a page and a Y position on it, through the texts in the order they
// were laid out, ignoring case.
#pragma once

#include <QRectF>
#include <QString>

#include "print/FontMetricsCache.h"
#include "print/PrintDocument.h"

namespace vantrep::print {

struct FindHit {
    int page = 0;  // 1-based; 0 when nothing was found
    QRectF rect;  // the matched characters, in twips on that page
};

// The first occurrence of `text` in a text item of page `fromPage` that starts
// at or below `fromY`, or of any later page. A `fromPage` below 1 searches
// from the top of page 1. An empty text finds nothing.
FindHit findText(const PrintDocument& document, const QString& text, int fromPage, double fromY,
                 FontMetricsCache& measure);

}  // namespace vantrep::print
