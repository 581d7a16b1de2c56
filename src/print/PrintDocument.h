// The paged document a print surface records: pages of positioned items in
// twips (1/1440 inch) from the top-left corner of the paper. Texts are single
// lines placed at their baseline, already aligned in their cells; page headers
// and footers are stored as ordinary texts of their page. Preview, PDF,
// printer and find all read this one structure.
#pragma once

#include <QImage>
#include <QPageSize>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <vector>

#include "print/PrintFont.h"

namespace vantrep::print {

// Pen styles by their numbers: 0 solid, 1 dash, 2 dot, 3 dash-dot,
// 4 dash-dot-dot, 5 none; any other number draws solid.
struct PrintPen {
    int color = 0;
    int style = 0;
    double width = 0;  // twips; 0 is the thinnest line (half a point)

    friend bool operator==(const PrintPen&, const PrintPen&) = default;
};

struct TextItem {
    QPointF origin;  // left end of the baseline
    double width = 0;  // advance of the text
    QString text;
    int font = 0;  // index into PrintDocument::fonts
    int color = 0;
    QRectF clip;  // the cell; text is cut to it when `clipped`
    bool clipped = false;
};

struct LineItem {
    QPointF from;
    QPointF to;
    PrintPen pen;
};

// A filled rectangle (cell background) or an outlined one (cell border).
struct BoxItem {
    QRectF rect;
    int color = 0;
    bool filled = false;
};

struct PictureItem {
    QRectF rect;  // where the image is drawn, proportions already applied
    QImage image;
};

struct Page {
    std::vector<BoxItem> boxes;  // painted first
    std::vector<PictureItem> pictures;
    std::vector<TextItem> texts;  // in the order they were laid out
    std::vector<LineItem> lines;  // painted last
};

struct PrintDocument {
    QPageSize paper{QPageSize::A4};  // what the pages are printed on
    double paperWidth = 0;  // twips, orientation applied
    double paperHeight = 0;
    int orientation = 0;  // 0 portrait, 1 landscape
    int zoom = 100;  // percent, for the preview
    std::vector<PrintFont> fonts;
    std::vector<Page> pages;  // page n is pages[n - 1]

    int pageCount() const { return static_cast<int>(pages.size()); }
};

}  // namespace vantrep::print
