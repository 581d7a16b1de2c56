#include "print/PicturePlacement.h"

#include <algorithm>

#include "print/PrintTable.h"

namespace vantrep::print {

namespace {
constexpr double metersPerInch = 0.0254;
constexpr double twipsPerInch = 1440;

double twipsPerDot(int dotsPerMeter) {
    double dpi = dotsPerMeter > 0 ? dotsPerMeter * metersPerInch : 96.0;
    return twipsPerInch / dpi;
}
}  // namespace

QSizeF pictureSizeTwips(const QImage& image) {
    if (image.isNull()) return {};
    return {image.width() * twipsPerDot(image.dotsPerMeterX()), image.height() * twipsPerDot(image.dotsPerMeterY())};
}

QRectF placePicture(const QRectF& box, const QSizeF& picture, int code) {
    if (code < 0 || code > 8 || picture.isEmpty()) return box;
    double scale = std::min(box.width() / picture.width(), box.height() / picture.height());
    QSizeF size = picture * scale;
    Placement place = placementFromCode(code);
    double x = box.left();
    if (place.horizontal == HorizontalPlace::Centre) x += (box.width() - size.width()) / 2;
    if (place.horizontal == HorizontalPlace::Right) x += box.width() - size.width();
    double y = box.top();
    if (place.vertical == VerticalPlace::Middle) y += (box.height() - size.height()) / 2;
    if (place.vertical == VerticalPlace::Bottom) y += box.height() - size.height();
    return {QPointF(x, y), size};
}

}  // namespace vantrep::print
