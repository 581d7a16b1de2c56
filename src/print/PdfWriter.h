// Writes a whole PrintDocument as a PDF file through QPdfWriter at 1440 dpi,
// so that one device unit is one twip and text keeps its measured widths.
#pragma once

#include <QByteArray>
#include <QString>

#include "print/PrintDocument.h"

namespace vantrep::print {

// Writes every page of `document` to `path` (replacing it). Returns false when
// the file cannot be written or the document has no pages.
bool writePdf(const PrintDocument& document, const QString& path, const QString& title = QString());

// The PDF of every page of `document`, made in memory so that the caller can
// write it with every write checked. Empty when the document has no pages.
QByteArray pdfBytes(const PrintDocument& document, const QString& title = QString());

}  // namespace vantrep::print
