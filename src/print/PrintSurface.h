// The print surface: what report code draws on. It keeps the page set-up, the
// print position, the current font and pen, and records every page it
// produces into a PrintDocument (see PrintDocument.h); nothing is painted
// here. Lengths are twips, colours 24-bit numbers (PrintFont.h).
//
// A page is opened by startDoc or newPage and closed by newPage or endDoc.
// Opening page n calls the before-header event, then lays out the page header;
// closing it calls the before-footer event, then lays out the page footer.
// Header and footer texts are cut at "|" into a left, a centred and a right
// part; the header stands in the top margin, the footer in the bottom one.
// Drawing while no page is open does nothing.
#pragma once

#include <QImage>
#include <QString>

#include <functional>

#include "print/FontMetricsCache.h"
#include "print/PaperSize.h"
#include "print/PrintDocument.h"
#include "print/PrintFont.h"
#include "print/PrintTable.h"

namespace vantrep::print {

// Space kept between a cell's edges and its text, in twips.
constexpr double cellPaddingX = 50;
constexpr double cellPaddingY = 10;

struct PrintableArea {
    double left = 0;
    double right = 0;
    double top = 0;
    double bottom = 0;

    double width() const { return right - left; }
};

// One page header or footer: "left|centre|right", its font and colour.
struct PageText {
    QString text;
    PrintFont font;
    int color = 0;
};

class PrintSurface {
public:
    using PageEvent = std::function<void()>;

    PrintSurface();
    PrintSurface(const PrintSurface&) = delete;
    PrintSurface& operator=(const PrintSurface&) = delete;

    // Drops the document and any open page or table; the set-up, font, pen,
    // headers, footers and events are kept.
    void clear();
    // The paper; A4 until another is set. An invalid size is taken as A4.
    void setPaper(const QPageSize& paper);
    const QPageSize& paper() const { return paper_; }
    void setOrientation(int orientation);  // 0 portrait, 1 landscape
    int orientation() const { return orientation_; }
    void setZoom(int percent) { zoom_ = percent; }
    int zoom() const { return zoom_; }
    void setMargins(double left, double top, double right, double bottom);
    // Twips, the orientation applied.
    double paperWidth() const;
    double paperHeight() const;
    PrintableArea printableArea() const;

    // Starts a new document (dropping the previous one) on page 1.
    void startDoc();
    void newPage();
    void endDoc();
    bool documentOpen() const { return pageOpen_; }
    // Number of the page being produced (1-based); 0 before startDoc.
    int page() const { return static_cast<int>(document_.pages.size()); }

    double currentX() const { return x_; }
    double currentY() const { return y_; }
    void setCurrentX(double x) { x_ = x; }
    void setCurrentY(double y) { y_ = y; }

    const PrintFont& font() const { return font_; }
    void setFont(const PrintFont& font) { font_ = font; }
    // Measured in the current font, in twips.
    double textWidth(const QString& text);
    double textHeight(const QString& text);
    FontMetricsCache& measure() { return measure_; }

    const PrintPen& pen() const { return pen_; }
    void setPen(const PrintPen& pen) { pen_ = pen; }

    void drawLine(double x1, double y1, double x2, double y2);
    // The picture in the box (x, y, width, height), placed by alignment `code`
    // (PicturePlacement.h).
    void drawPicture(const QImage& image, double x, double y, double width, double height, int code);

    void setTableBorder(TableBorder border) { border_ = border; }
    TableBorder tableBorder() const { return border_; }
    // Starts a one-row table of `columns` cells in the current font; the
    // caller fills the returned table (valid until endTable).
    PrintTable& startTable(int columns);
    PrintTable& table() { return table_; }
    // Lays the row out at the current X and Y and moves Y below it, unless
    // the table is hidden or no page is open.
    void endTable();

    PageText& header() { return header_; }
    PageText& footer() { return footer_; }
    void setBeforeHeader(PageEvent event) { beforeHeader_ = std::move(event); }
    void setBeforeFooter(PageEvent event) { beforeFooter_ = std::move(event); }

    const PrintDocument& document() const { return document_; }

private:
    void openPage();
    void closePage();
    void layOutPageText(const PageText& pageText, bool atTop);
    // Adds the lines of `text` placed in `cell` by alignment `code`. With
    // `clipToCell` a text that does not fit is cut to the cell: only the
    // characters wholly inside it across, and the lines of which some part
    // lies inside it, are recorded (what painting, find, copying and the
    // PDF's text see), and painting cuts the lines at its top and bottom.
    void addText(const QRectF& cell, const QString& text, const PrintFont& font, int color, int code,
                 bool clipToCell);
    // Cuts `item` to its characters that lie wholly inside its clip across.
    static void keepWhatFits(TextItem& item, const QFontMetricsF& fm);
    int fontIndex(const PrintFont& font);
    Page& currentPage() { return document_.pages.back(); }

    PrintDocument document_;
    FontMetricsCache measure_;
    bool pageOpen_ = false;
    QPageSize paper_{QPageSize::A4};
    int orientation_ = 0;
    int zoom_ = 100;
    double marginLeft_ = 1440, marginTop_ = 1440, marginRight_ = 1440, marginBottom_ = 1440;
    double x_ = 0;
    double y_ = 0;
    PrintFont font_;
    PrintPen pen_;
    TableBorder border_ = TableBorder::None;
    PrintTable table_;
    PageText header_;
    PageText footer_;
    PageEvent beforeHeader_;
    PageEvent beforeFooter_;
};

}  // namespace vantrep::print
