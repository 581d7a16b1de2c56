// The page of the preview window: one page of a print document painted at
// the preview's zoom on white paper, with the find hit's rectangle drawn
// over it.
#pragma once

#include <QRectF>
#include <QWidget>

#include "print/PrintDocument.h"

namespace vantrep::report::ui {

class PreviewPage : public QWidget {
    Q_OBJECT
public:
    explicit PreviewPage(QWidget* parent = nullptr);

    void setDocument(const print::PrintDocument* document);
    void setPage(int page);
    int page() const { return page_; }
    void setZoom(int percent);
    int zoom() const { return zoom_; }
    // The marking drawn over the page, in twips; an empty rectangle draws none.
    void setOverlay(const QRectF& rect);
    const QRectF& overlay() const { return overlay_; }
    // Device pixels per twip at the current zoom.
    double scale() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void updateSize();

    const print::PrintDocument* document_ = nullptr;
    int page_ = 0;
    int zoom_ = 100;
    QRectF overlay_;
};

}  // namespace vantrep::report::ui
