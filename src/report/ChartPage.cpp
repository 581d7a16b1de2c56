#include "report/ChartPage.h"

#include <QStringList>

namespace vantrep::report {

namespace {

// Space between the criteria and the picture, in twips.
constexpr double pictureGap = 120;
// Alignment code: centred at the top of the free area.
constexpr int centreTop = 1;

}  // namespace

QStringList chartCriteriaLines(const QString& criteria) {
    QString text = criteria;
    text.replace(QStringLiteral("    "), QStringLiteral("\n"));
    return text.split(u'\n');
}

void printChartPage(print::PrintSurface& surface, const QString& criteria, const QImage& chart,
                    const print::PrintFont& font) {
    surface.startDoc();
    const print::PrintableArea area = surface.printableArea();
    if (!criteria.isEmpty()) {
        for (const QString& line : chartCriteriaLines(criteria)) {
            surface.setCurrentX(area.left);
            print::PrintTable& table = surface.startTable(1);
            table.cells[0].text = line;
            table.cells[0].width = area.width();
            table.cells[0].align = 6;
            table.cells[0].font = font;
            table.rowHeight = -1;
            surface.endTable();
        }
        surface.setCurrentY(surface.currentY() + pictureGap);
    }
    const double top = surface.currentY();
    surface.drawPicture(chart, area.left, top, area.width(), area.bottom - top, centreTop);
    surface.endDoc();
}

}  // namespace vantrep::report
