#include "print/PdfWriter.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "print/PagePainter.h"

namespace vantrep::print {

namespace {

bool paintPdf(const PrintDocument& document, QPdfWriter& writer, const QString& title) {
    writer.setResolution(1440);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("VantRep"));
    QPageLayout layout(document.paper, document.orientation == 1 ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF());
    writer.setPageLayout(layout);
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    for (int page = 1; page <= document.pageCount(); ++page) {
        if (page > 1) writer.newPage();
        paintPage(painter, document, page);
    }
    return painter.end();
}

}  // namespace

bool writePdf(const PrintDocument& document, const QString& path, const QString& title) {
    if (document.pages.empty()) return false;
    QPdfWriter writer(path);
    return paintPdf(document, writer, title);
}

QByteArray pdfBytes(const PrintDocument& document, const QString& title) {
    if (document.pages.empty()) return QByteArray();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    if (!paintPdf(document, writer, title)) return QByteArray();
    buffer.close();
    return bytes;
}

}  // namespace vantrep::print
