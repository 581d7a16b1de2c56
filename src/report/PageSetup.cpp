#include "report/PageSetup.h"

#include <algorithm>

#include "print/PaperSize.h"

namespace vantrep::report {

bool PageSetup::leavesRoom() const {
    const QSizeF portrait = print::paperTwips(Paper);
    double width = portrait.width();
    double height = portrait.height();
    if (Orientation == 1) std::swap(width, height);
    // A report that may turn has both sides across and down.
    if (turnsWhenTooWide()) width = height = std::min(width, height);
    return width - MarginLeft - MarginRight >= smallestPrintable &&
           height - MarginTop - MarginBottom >= smallestPrintable;
}

PageSetup setupForPrinter(PageSetup setup, const QPageLayout& layout, int printed) {
    if (layout.pageSize().isValid() && !layout.pageSize().isEquivalentTo(setup.Paper))
        setup.Paper = layout.pageSize();
    const int orientation = layout.orientation() == QPageLayout::Landscape ? 1 : 0;
    if (orientation != printed) setup.Orientation = orientation;
    QPageLayout inPoints = layout;
    inPoints.setUnits(QPageLayout::Point);
    const QMarginsF least = inPoints.minimumMargins();
    // Which side is which depends on the orientation the report takes, so
    // the widest one holds everywhere.
    const double floor = 20 * std::max({least.left(), least.top(), least.right(), least.bottom()});
    for (double* margin : {&setup.MarginLeft, &setup.MarginRight, &setup.MarginTop, &setup.MarginBottom})
        *margin = std::max(*margin, floor);
    return setup;
}

}  // namespace vantrep::report
