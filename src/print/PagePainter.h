// Paints the pages of a PrintDocument on any QPainter (screen, image, PDF,
// printer). The painter's coordinates must be twips; callers scale it to
// their device first (PdfWriter.h and pageImage below do).
#pragma once

#include <QImage>
#include <QPainter>

#include "print/PrintDocument.h"

namespace vantrep::print {

// Paints page `pageNumber` (1-based); a number outside the document paints
// nothing. The paper is not cleared.
void paintPage(QPainter& painter, const PrintDocument& document, int pageNumber);

// Page `pageNumber` as an image of `dpi` dots per inch on white paper.
QImage pageImage(const PrintDocument& document, int pageNumber, double dpi);

}  // namespace vantrep::print
