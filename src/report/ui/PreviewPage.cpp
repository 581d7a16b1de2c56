#include "report/ui/PreviewPage.h"

#include <QPainter>

#include "print/PagePainter.h"

namespace vantrep::report::ui {

PreviewPage::PreviewPage(QWidget* parent) : QWidget(parent) {
    setObjectName("VP");
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PreviewPage::setDocument(const print::PrintDocument* document) {
    document_ = document;
    updateSize();
    update();
}

void PreviewPage::setPage(int page) {
    page_ = page;
    updateSize();
    update();
}

void PreviewPage::setZoom(int percent) {
    zoom_ = std::clamp(percent, 10, 400);
    updateSize();
    update();
}

void PreviewPage::setOverlay(const QRectF& rect) {
    overlay_ = rect;
    update();
}

double PreviewPage::scale() const { return zoom_ / 100.0 * logicalDpiX() / 1440.0; }

void PreviewPage::updateSize() {
    if (!document_) return;
    setFixedSize(qRound(document_->paperWidth * scale()), qRound(document_->paperHeight * scale()));
}

void PreviewPage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!document_ || page_ < 1) return;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.scale(scale(), scale());
    print::paintPage(painter, *document_, page_);
    if (!overlay_.isEmpty()) {
        QPen pen(QColor(220, 30, 30));
        pen.setWidthF(30);
        painter.setPen(pen);
        painter.setBrush(QColor(255, 230, 0, 70));
        painter.drawRect(overlay_.adjusted(-30, -20, 30, 20));
    }
}

}  // namespace vantrep::report::ui
