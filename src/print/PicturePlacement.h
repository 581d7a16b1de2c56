// Sizes and places pictures on a page: an image's natural size in twips from
// its resolution, and where it goes inside the box it is drawn in.
#pragma once

#include <QImage>
#include <QRectF>
#include <QSizeF>

namespace vantrep::print {

// The image's size in twips at its own resolution (96 dpi when it has none).
QSizeF pictureSizeTwips(const QImage& image);

// The rectangle the picture takes in `box`: for alignment codes 0 to 8 (the
// places of PrintTable.h) scaled to fit with its proportions kept; for any
// other code stretched over the whole box.
QRectF placePicture(const QRectF& box, const QSizeF& picture, int code);

}  // namespace vantrep::print
