#include "print/PrintSurface.h"

#include <QStringList>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <vector>

#include "print/PicturePlacement.h"

namespace vantrep::print {

PrintSurface::PrintSurface() { clear(); }

void PrintSurface::clear() {
    document_ = PrintDocument();
    pageOpen_ = false;
    table_ = PrintTable();
    PrintableArea area = printableArea();
    x_ = area.left;
    y_ = area.top;
}

void PrintSurface::setPaper(const QPageSize& paper) {
    paper_ = paper.isValid() ? paper : QPageSize(QPageSize::A4);
}

void PrintSurface::setOrientation(int orientation) { orientation_ = orientation == 1 ? 1 : 0; }

void PrintSurface::setMargins(double left, double top, double right, double bottom) {
    marginLeft_ = std::max(0.0, left);
    marginTop_ = std::max(0.0, top);
    marginRight_ = std::max(0.0, right);
    marginBottom_ = std::max(0.0, bottom);
}

double PrintSurface::paperWidth() const {
    const QSizeF size = paperTwips(paper_);
    return orientation_ == 1 ? size.height() : size.width();
}

double PrintSurface::paperHeight() const {
    const QSizeF size = paperTwips(paper_);
    return orientation_ == 1 ? size.width() : size.height();
}

PrintableArea PrintSurface::printableArea() const {
    return {marginLeft_, paperWidth() - marginRight_, marginTop_, paperHeight() - marginBottom_};
}

void PrintSurface::startDoc() {
    clear();
    document_.paper = paper_;
    document_.paperWidth = paperWidth();
    document_.paperHeight = paperHeight();
    document_.orientation = orientation_;
    document_.zoom = zoom_;
    openPage();
}

void PrintSurface::newPage() {
    if (!pageOpen_) return;
    closePage();
    openPage();
}

void PrintSurface::endDoc() {
    if (!pageOpen_) return;
    closePage();
}

void PrintSurface::openPage() {
    document_.pages.emplace_back();
    pageOpen_ = true;
    if (beforeHeader_) beforeHeader_();
    layOutPageText(header_, true);
    PrintableArea area = printableArea();
    x_ = area.left;
    y_ = area.top;
}

void PrintSurface::closePage() {
    if (beforeFooter_) beforeFooter_();
    layOutPageText(footer_, false);
    pageOpen_ = false;
}

void PrintSurface::layOutPageText(const PageText& pageText, bool atTop) {
    if (pageText.text.isEmpty()) return;
    QStringList parts = pageText.text.split(u'|');
    double height = measure_.textHeight(pageText.font, QString());
    double top;
    if (atTop) {
        top = std::max(0.0, (marginTop_ - height) / 2);
    } else {
        top = paperHeight() - marginBottom_ + std::max(0.0, (marginBottom_ - height) / 2);
        top = std::min(top, paperHeight() - height);
    }
    PrintableArea area = printableArea();
    QRectF band(area.left, top, area.width(), height);
    static constexpr int codes[] = {0, 1, 2};  // left, centre and right, at the top
    for (int i = 0; i < std::min<qsizetype>(3, parts.size()); ++i) {
        addText(band.adjusted(-cellPaddingX, -cellPaddingY, cellPaddingX, cellPaddingY), parts[i], pageText.font,
                pageText.color, codes[i], false);
    }
}

double PrintSurface::textWidth(const QString& text) { return measure_.textWidth(font_, text); }
double PrintSurface::textHeight(const QString& text) { return measure_.textHeight(font_, text); }

void PrintSurface::drawLine(double x1, double y1, double x2, double y2) {
    if (!pageOpen_) return;
    currentPage().lines.push_back({QPointF(x1, y1), QPointF(x2, y2), pen_});
}

void PrintSurface::drawPicture(const QImage& image, double x, double y, double width, double height, int code) {
    if (!pageOpen_ || image.isNull() || width <= 0 || height <= 0) return;
    QRectF rect = placePicture(QRectF(x, y, width, height), pictureSizeTwips(image), code);
    currentPage().pictures.push_back({rect, image});
}

PrintTable& PrintSurface::startTable(int columns) {
    table_ = PrintTable();
    TableCell cell;
    cell.font = font_;
    table_.cells.assign(static_cast<size_t>(std::max(0, columns)), cell);
    return table_;
}

void PrintSurface::endTable() {
    if (table_.hidden || !pageOpen_) return;
    double height = table_.rowHeight;
    if (height < 0) {
        height = 0;
        for (const TableCell& cell : table_.cells)
            height = std::max(height, measure_.textHeight(cell.font, cell.text) + 2 * cellPaddingY);
    }
    double x = x_;
    for (const TableCell& cell : table_.cells) {
        QRectF rect(x, y_, cell.width, height);
        if (cell.attribute != 0) currentPage().boxes.push_back({rect, cell.attribute, true});
        if (border_ == TableBorder::All) currentPage().boxes.push_back({rect, 0, false});
        if (!cell.text.isEmpty()) addText(rect, cell.text, cell.font, cell.color, cell.align, true);
        x += cell.width;
    }
    y_ += height;
}

void PrintSurface::addText(const QRectF& cell, const QString& text, const PrintFont& font, int color, int code,
                           bool clipToCell) {
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = plain.split(u'\n');
    const QFontMetricsF& fm = measure_.metrics(font);
    double blockHeight = measure_.textHeight(font, plain);
    Placement place = placementFromCode(code);
    QRectF inner = cell.adjusted(cellPaddingX, cellPaddingY, -cellPaddingX, -cellPaddingY);
    double top = inner.top();
    if (place.vertical == VerticalPlace::Middle) top += (inner.height() - blockHeight) / 2;
    if (place.vertical == VerticalPlace::Bottom) top += inner.height() - blockHeight;
    bool tooTall = blockHeight > cell.height() + 0.5;
    int index = fontIndex(font);
    for (const QString& line : lines) {
        const bool outside = top >= cell.bottom() || top + fm.height() <= cell.top();
        if (!line.isEmpty() && !(clipToCell && outside)) {
            double width = measure_.textWidth(font, line);
            double left = inner.left();
            if (place.horizontal == HorizontalPlace::Centre) left += (inner.width() - width) / 2;
            if (place.horizontal == HorizontalPlace::Right) left += inner.width() - width;
            bool tooWide = left < cell.left() - 0.5 || left + width > cell.right() + 0.5;
            TextItem item{QPointF(left, top + fm.ascent()), width, line, index, color, cell,
                          clipToCell && (tooWide || tooTall)};
            if (clipToCell && tooWide) keepWhatFits(item, fm);
            if (!item.text.isEmpty()) currentPage().texts.push_back(std::move(item));
        }
        top += fm.lineSpacing();
    }
}

void PrintSurface::keepWhatFits(TextItem& item, const QFontMetricsF& fm) {
    // Character k spans edges[k] to edges[k + 1]; the ones wholly inside the
    // cell are a run of consecutive characters.
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, item.text);
    std::vector<qsizetype> bounds;
    std::vector<double> edges;
    for (qsizetype at = 0; at >= 0; at = characters.toNextBoundary()) {
        bounds.push_back(at);
        edges.push_back(item.origin.x() + fm.horizontalAdvance(item.text.left(at)));
    }
    size_t first = 0;
    while (first + 1 < edges.size() && edges[first] < item.clip.left() - 0.5) ++first;
    size_t end = first;
    while (end + 1 < edges.size() && edges[end + 1] <= item.clip.right() + 0.5) ++end;
    item.text = item.text.mid(bounds[first], bounds[end] - bounds[first]);
    item.origin.setX(edges[first]);
    item.width = edges[end] - edges[first];
}

int PrintSurface::fontIndex(const PrintFont& font) {
    std::vector<PrintFont>& fonts = document_.fonts;
    for (size_t i = fonts.size(); i-- > 0;) {
        if (fonts[i] == font) return static_cast<int>(i);
    }
    fonts.push_back(font);
    return static_cast<int>(fonts.size() - 1);
}

}  // namespace vantrep::print
