#include "print/PaperSize.h"

#include <cmath>

namespace vantrep::print {

namespace {

// Twips per unit of a paper's definition; 0 for the units measured through
// millimetres instead.
double twipsPerUnit(QPageSize::Unit unit) {
    switch (unit) {
    case QPageSize::Millimeter: return 1440 / 25.4;
    case QPageSize::Point: return 20;
    case QPageSize::Inch: return 1440;
    default: return 0;
    }
}

}  // namespace

std::vector<QPageSize> offeredPapers() {
    return {QPageSize(QPageSize::A4), QPageSize(QPageSize::Letter), QPageSize(QPageSize::Legal),
            QPageSize(QPageSize::A3), QPageSize(QPageSize::A5)};
}

QSizeF paperTwips(const QPageSize& paper) {
    if (!paper.isValid()) return paperTwips(QPageSize(QPageSize::A4));
    QSizeF size = paper.definitionSize();
    double factor = twipsPerUnit(paper.definitionUnits());
    if (factor == 0) {
        size = paper.size(QPageSize::Millimeter);
        factor = twipsPerUnit(QPageSize::Millimeter);
    }
    return QSizeF(std::round(size.width() * factor), std::round(size.height() * factor));
}

}  // namespace vantrep::print
