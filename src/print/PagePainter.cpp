#include "print/PagePainter.h"

#include <QPen>

#include <algorithm>
#include <cmath>
#include <vector>

namespace vantrep::print {

namespace {

constexpr double thinnestLine = 10;  // twips: half a point

Qt::PenStyle penStyle(int style) {
    switch (style) {
    case 1: return Qt::DashLine;
    case 2: return Qt::DotLine;
    case 3: return Qt::DashDotLine;
    case 4: return Qt::DashDotDotLine;
    case 5: return Qt::NoPen;
    default: return Qt::SolidLine;
    }
}

QPen qtPen(const PrintPen& pen) {
    QPen result(colorFromCode(pen.color));
    result.setStyle(penStyle(pen.style));
    result.setWidthF(std::max(thinnestLine, pen.width));
    // A round or square cap turns the dots of a dotted line into dashes.
    result.setCapStyle(Qt::FlatCap);
    return result;
}

void paintTexts(QPainter& painter, const PrintDocument& document, const Page& page) {
    std::vector<QFont> fonts;
    fonts.reserve(document.fonts.size());
    for (const PrintFont& font : document.fonts) fonts.push_back(font.toQFont());
    int font = -1;
    int color = -1;
    for (const TextItem& item : page.texts) {
        if (item.font != font) {
            font = item.font;
            if (font >= 0 && font < static_cast<int>(fonts.size())) painter.setFont(fonts[static_cast<size_t>(font)]);
        }
        if (item.color != color) {
            color = item.color;
            painter.setPen(colorFromCode(color));
        }
        if (item.clipped) {
            painter.save();
            painter.setClipRect(item.clip, Qt::IntersectClip);
            painter.drawText(item.origin, item.text);
            painter.restore();
        } else {
            painter.drawText(item.origin, item.text);
        }
    }
}

}  // namespace

void paintPage(QPainter& painter, const PrintDocument& document, int pageNumber) {
    if (pageNumber < 1 || pageNumber > document.pageCount()) return;
    const Page& page = document.pages[static_cast<size_t>(pageNumber - 1)];
    painter.save();
    painter.setRenderHint(QPainter::LosslessImageRendering);
    for (const BoxItem& box : page.boxes) {
        if (box.filled) painter.fillRect(box.rect, colorFromCode(box.color));
    }
    for (const PictureItem& picture : page.pictures) painter.drawImage(picture.rect, picture.image);
    paintTexts(painter, document, page);
    QPen border(Qt::black);
    border.setWidthF(thinnestLine);
    painter.setPen(border);
    painter.setBrush(Qt::NoBrush);
    for (const BoxItem& box : page.boxes) {
        if (!box.filled) painter.drawRect(box.rect);
    }
    for (const LineItem& line : page.lines) {
        painter.setPen(qtPen(line.pen));
        painter.drawLine(line.from, line.to);
    }
    painter.restore();
}

QImage pageImage(const PrintDocument& document, int pageNumber, double dpi) {
    double scale = dpi / 1440.0;
    QImage image(static_cast<int>(std::ceil(document.paperWidth * scale)),
                 static_cast<int>(std::ceil(document.paperHeight * scale)), QImage::Format_RGB32);
    int dotsPerMeter = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(scale, scale);
    paintPage(painter, document, pageNumber);
    return image;
}

}  // namespace vantrep::print
