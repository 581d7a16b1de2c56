#include "report/GridReport.h"

#include <algorithm>
#include <optional>

#include "grid/GridCell.h"
#include "grid/GridModel.h"
#include "report/TitleAlignment.h"
#include "session/Ui.h"

namespace vantrep::report {

namespace {

// Heading cells without a colour of their own print on light grey.
constexpr int headingBackground = 0xE8E8E8;
// Room kept beside the widest text of a column, beyond the cell padding.
constexpr double columnSlack = 60;
// Space between the sub title and the heading table.
constexpr double titleGap = 120;

// Print alignment codes (PrintTable.h).
constexpr int leftInTheMiddle = 6;
constexpr int centredInTheMiddle = 7;
constexpr int rightInTheMiddle = 8;

int colourOrZero(int colour) { return colour < 0 ? 0 : colour; }

// The print alignment code of grid alignment code `code` (GridCell.h): the
// grid counts left, centre and right by threes with top, centre and bottom
// inside them; the print surface counts the other way round, with the middle
// last. General, and anything else, puts numbers right and texts left in the
// middle.
int printAlignment(int code, const QString& text) {
    if (code < grid::alignLeftTop || code > grid::alignRightBottom)
        return grid::GridModel::isNumericText(text) ? rightInTheMiddle : leftInTheMiddle;
    static constexpr int down[] = {0, 2, 1};  // top, centre, bottom
    return code / 3 + 3 * down[code % 3];
}

}  // namespace

GridReport::GridReport(print::PrintSurface& surface, session::Ui* ui) : surface_(surface), ui_(ui) {
    MarginLeft = 200;
    MarginRight = 200;
    MarginTop = 720;
    MarginBottom = 720;
}

void GridReport::startTitles(const QString& caption) {
    pageSetUp(0);
    surface_.header().text = caption;
    // The page event writes the real footer on every page.
    surface_.footer().text = QStringLiteral(" ");
    CdlgTitle1.Tag = surface_.header().text;
    CdlgTitle1.font = surface_.header().font;
    CdlgTitle1.color = surface_.header().color;
    CdlgTitle2.Tag = ReportCriteria;
    CdlgTitle2.font = print::PrintFont{surface_.header().font.name, 9};
    CdlgTitle2.color = surface_.header().color;
}

void GridReport::pageSetUp(int orientation) {
    surface_.clear();
    surface_.setPaper(Paper);
    surface_.setOrientation(orientation);
    surface_.setPen(print::PrintPen{});
    surface_.setZoom(100);
    surface_.setTableBorder(print::TableBorder::None);
    surface_.setFont(GridFont);
    surface_.setMargins(MarginLeft, MarginTop, MarginRight, MarginBottom);
}

void GridReport::printGridReport() {
    if (!ReportGrid) return;
    std::optional<session::BusyPointer> busy;
    if (ui_) busy.emplace(*ui_);
    pageSetUp(firstOrientation());
    collectColumns();
    double headingWidth = labelWidth_;
    for (const ValueColumn& column : valueCols_) headingWidth += column.width;
    if (turnsWhenTooWide() && headingWidth > surface_.printableArea().width()) pageSetUp(1);

    const grid::GridModel& g = *ReportGrid;
    surface_.startDoc();
    printTitles();
    bool firstPanel = true;
    for (const std::vector<ValueColumn>& panel : panels(surface_.printableArea().width())) {
        if (!firstPanel) surface_.newPage();
        firstPanel = false;
        printHeading(panel);
        for (int row = g.fixedRows(); row < g.rows(); ++row) {
            if (g.rowHidden(row)) continue;
            if (!printRow(row, panel)) {
                rule(panel);
                surface_.newPage();
                printHeading(panel);
                printRow(row, panel);
            }
        }
        rule(panel);
    }
    surface_.endDoc();
}

void GridReport::collectColumns() {
    const grid::GridModel& g = *ReportGrid;
    print::FontMetricsCache& measure = surface_.measure();
    labelCols_.clear();
    valueCols_.clear();
    const int labelEnd = std::min(g.cols(), g.fixedCols() + g.frozenCols());
    for (int col = 0; col < g.cols(); ++col) {
        if (g.colHidden(col)) continue;
        if (col < labelEnd)
            labelCols_.push_back(col);
        else
            valueCols_.push_back({col, 0});
    }
    deepestLevel_ = 0;
    for (int row = g.fixedRows(); row < g.rows(); ++row)
        if (!g.rowHidden(row)) deepestLevel_ = std::max(deepestLevel_, g.outlineLevel(row));

    print::PrintFont bold = GridFont;
    bold.bold = true;
    rowHeight_ = std::max(measure.textHeight(GridFont, QString()), measure.textHeight(bold, QString())) +
                 2 * print::cellPaddingY + 20;

    double widestLabel = 0;
    if (!labelCols_.empty()) {
        widestLabel = measure.textWidth(bold, labelHeading());
        for (int row = g.fixedRows(); row < g.rows(); ++row)
            if (!g.rowHidden(row))
                widestLabel = std::max(widestLabel, measure.textWidth(cellFont(row, labelCols_.front()), rowLabel(row)));
    }
    labelWidth_ = widestLabel > 0 ? widestLabel + 2 * print::cellPaddingX + columnSlack : 0;

    for (ValueColumn& column : valueCols_) {
        double widest = 0;
        for (int row = 0; row < g.rows(); ++row) {
            if (row >= g.fixedRows() && g.rowHidden(row)) continue;
            const QString text = g.textMatrix(row, column.col);
            if (!text.isEmpty()) widest = std::max(widest, measure.textWidth(cellFont(row, column.col), text));
        }
        column.least = widest + 2 * print::cellPaddingX + columnSlack;
        column.width = std::max<double>(g.colWidth(column.col), column.least);
    }
}

std::vector<std::vector<GridReport::ValueColumn>> GridReport::panels(double printableWidth) const {
    std::vector<std::vector<ValueColumn>> result(1);
    double used = labelWidth_;
    for (ValueColumn column : valueCols_) {
        column.width = std::max(column.least, std::min(column.width, printableWidth - labelWidth_));
        if (!result.back().empty() && used + column.width > printableWidth) {
            result.emplace_back();
            used = labelWidth_;
        }
        result.back().push_back(column);
        used += column.width;
    }
    return result;
}

void GridReport::printTitles() {
    if (CdlgTitle2.Tag.isEmpty()) return;
    const print::PrintableArea area = surface_.printableArea();
    const int align = titleAlignment(CdlgTitle2.Tag);
    for (const QString& line : titleWithoutBars(CdlgTitle2.Tag).split(QStringLiteral("\r\n"))) {
        surface_.setCurrentX(area.left);
        print::PrintTable& table = surface_.startTable(1);
        table.cells[0] = {line, area.width(), align, CdlgTitle2.font, CdlgTitle2.color, 0};
        table.rowHeight = -1;
        surface_.endTable();
    }
    surface_.setCurrentY(surface_.currentY() + titleGap);
}

void GridReport::printHeading(const std::vector<ValueColumn>& panel) {
    const grid::GridModel& g = *ReportGrid;
    const double left = surface_.printableArea().left;
    const double top = surface_.currentY();
    const int lines = g.fixedRows();
    if (lines == 0) return;
    surface_.setTableBorder(print::TableBorder::All);
    if (labelWidth_ > 0) {
        print::PrintFont font = GridFont;
        font.bold = true;
        headingCell(left, top, lines, {labelHeading(), labelWidth_, labelHeadingAlignment(), font, 0,
                                       headingBackground});
    }
    // Row below the last heading line that each panel column's cells reach.
    std::vector<int> coveredTo(panel.size(), 0);
    for (int row = 0; row < lines; ++row) {
        double x = left + labelWidth_;
        for (size_t i = 0; i < panel.size();) {
            if (coveredTo[i] > row) {
                x += panel[i].width;
                ++i;
                continue;
            }
            // Equal neighbouring captions share one cell when the rows above
            // them are shared too.
            size_t end = i + 1;
            const QString caption = g.textMatrix(row, panel[i].col);
            double width = panel[i].width;
            while (!caption.isEmpty() && end < panel.size() && coveredTo[end] <= row) {
                bool same = true;
                for (int above = 0; above <= row && same; ++above)
                    same = g.textMatrix(above, panel[end].col) == g.textMatrix(above, panel[i].col);
                if (!same) break;
                width += panel[end].width;
                ++end;
            }
            // As on screen, a caption of one column also covers the empty
            // heading cells below it.
            int bottom = row + 1;
            if (end == i + 1)
                while (bottom < lines && g.textMatrix(bottom, panel[i].col).isEmpty()) ++bottom;
            const int col = panel[i].col;
            const int back = g.cellBackColor(row, col);
            headingCell(x, top + row * rowHeight_, bottom - row,
                        {caption, width, headingAlignment(row, col, caption), cellFont(row, col),
                         colourOrZero(g.cellForeColor(row, col)), back < 0 ? headingBackground : back});
            for (size_t k = i; k < end; ++k) coveredTo[k] = bottom;
            x += width;
            i = end;
        }
    }
    surface_.setTableBorder(print::TableBorder::None);
    surface_.setCurrentY(top + lines * rowHeight_);
}

void GridReport::headingCell(double x, double y, int lines, const print::TableCell& cell) {
    surface_.setCurrentX(x);
    surface_.setCurrentY(y);
    print::PrintTable& table = surface_.startTable(1);
    table.cells[0] = cell;
    table.rowHeight = lines * rowHeight_;
    surface_.endTable();
}

bool GridReport::printRow(int row, const std::vector<ValueColumn>& panel) {
    const print::PrintableArea area = surface_.printableArea();
    if (surface_.currentY() + rowHeight_ > area.bottom) return false;
    const grid::GridModel& g = *ReportGrid;
    std::vector<print::TableCell> cells;
    if (labelWidth_ > 0) {
        const int first = labelCols_.front();
        cells.push_back({rowLabel(row), labelWidth_, 6, cellFont(row, first), colourOrZero(g.cellForeColor(row, first)),
                         colourOrZero(g.cellBackColor(row, first))});
    }
    for (const ValueColumn& column : panel) {
        const QString text = g.textMatrix(row, column.col);
        cells.push_back({text, column.width, textAlignment(column.col, text), cellFont(row, column.col),
                         colourOrZero(g.cellForeColor(row, column.col)),
                         colourOrZero(g.cellBackColor(row, column.col))});
    }
    surface_.setCurrentX(area.left);
    print::PrintTable& table = surface_.startTable(static_cast<int>(cells.size()));
    table.cells = std::move(cells);
    table.rowHeight = rowHeight_;
    surface_.endTable();
    return true;
}

void GridReport::rule(const std::vector<ValueColumn>& panel) {
    const double left = surface_.printableArea().left;
    const double y = surface_.currentY();
    surface_.setPen(print::PrintPen{0, 0, 15});
    surface_.drawLine(left, y, left + panelWidth(panel), y);
    surface_.setPen(print::PrintPen{});
}

double GridReport::panelWidth(const std::vector<ValueColumn>& panel) const {
    double width = labelWidth_;
    for (const ValueColumn& column : panel) width += column.width;
    return width;
}

print::PrintFont GridReport::cellFont(int row, int col) const {
    print::PrintFont font = GridFont;
    font.bold = ReportGrid->cellBold(row, col);
    return font;
}

int GridReport::textAlignment(int col, const QString& text) const {
    // Data rows are one line high: across as the column says, in the middle.
    return 6 + printAlignment(ReportGrid->colAlignment(col), text) % 3;
}

int GridReport::headingAlignment(int row, int col, const QString& text) const {
    const int own = ReportGrid->cellAlignment(row, col);
    return own < 0 ? centredInTheMiddle : printAlignment(own, text);
}

int GridReport::labelHeadingAlignment() const {
    const grid::GridModel& g = *ReportGrid;
    for (int row = 0; row < g.fixedRows(); ++row) {
        for (int col : labelCols_) {
            const QString text = g.textMatrix(row, col);
            if (text.isEmpty()) continue;
            const int own = g.cellAlignment(row, col);
            return own < 0 ? leftInTheMiddle : printAlignment(own, text);
        }
    }
    return leftInTheMiddle;
}

QString GridReport::labelText(int row) const {
    QStringList parts;
    for (int col : labelCols_) {
        const QString text = ReportGrid->textMatrix(row, col).trimmed();
        // Cells merged along the row show their text once.
        if (!text.isEmpty() && (parts.isEmpty() || parts.back() != text)) parts.append(text);
    }
    return parts.join(QStringLiteral(" - "));
}

QString GridReport::rowLabel(int row) const {
    const int level = ReportGrid->outlineLevel(row);
    if (level == -1) return QStringLiteral("Grand Total");
    const int indent = level > 0 ? 4 * (level - 1) : 4 * deepestLevel_;
    return QString(indent, u' ') + labelText(row);
}

QString GridReport::labelHeading() const {
    const grid::GridModel& g = *ReportGrid;
    QStringList rows;
    for (int row = 0; row < g.fixedRows(); ++row) {
        QString text = labelText(row);
        if (text.isEmpty() && g.fixedRows() > 1) text = QStringLiteral("X");
        rows.append(text);
    }
    return rows.join(u'/');
}

}  // namespace vantrep::report
