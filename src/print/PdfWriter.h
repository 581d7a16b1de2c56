// Writes a whole PrintDocument as a PDF file through QPdfWriter at 1440 dpi,
// so that one device unit is one twip and text keeps its measured widths.
#pragma once

#include <QString>

#include "print/PrintDocument.h"

namespace vantrep::print {

// Writes every page of `document` to `path` (replacing it). Returns false when
// the file cannot be written or the document has no pages.
bool writePdf(const PrintDocument& document, const QString& path, const QString& title = QString());

}  // namespace vantrep::print
