// The grid report: a paginated copy of the main grid under its two titles.
// The sub title's lines come first, then the heading table made from the
// grid's fixed rows, then one line per visible data row, labelled from the
// grid's label columns and indented by outline level; every page that the
// rows run onto starts with the heading again and ends with a rule. A grid
// wider than a portrait page prints in landscape, unless the user chose the
// orientation; one wider than its page prints its value columns in panels
// side by side, each panel repeating the labels, so that no column is lost.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

#include "print/PrintSurface.h"
#include "report/PageSetup.h"
#include "report/TitleHolder.h"

namespace vantrep::grid { class GridModel; }
namespace vantrep::session { class Ui; }

namespace vantrep::report {

// The page set-up (paper, orientation, MarginLeft .. MarginBottom) is the
// report's own, from PageSetup; the margins start at 200 across and 720 down.
class GridReport : public PageSetup {
public:
    // `ui`, when given, shows the busy pointer during the run.
    explicit GridReport(print::PrintSurface& surface, session::Ui* ui = nullptr);

    // Properties, set before the run.
    const grid::GridModel* ReportGrid = nullptr;
    QString ReportCriteria;  // line breaks already turned into four spaces
    // The font of a grid that has no window to show it in.
    static print::PrintFont defaultGridFont() { return {QStringLiteral("Arial"), 8}; }
    print::PrintFont GridFont = defaultGridFont();  // the grid's font
    // The main title (page header text and font) and the sub title (the
    // lines above the table).
    TitleHolder CdlgTitle1;
    TitleHolder CdlgTitle2;

    // What the report window does first for a grid report: portrait page
    // set-up, `caption` as the page header, a footer placeholder that the
    // page event replaces, and both titles taken from the header and from
    // ReportCriteria.
    void startTitles(const QString& caption);

    // Clears the surface's document and sets it up: the paper in
    // `orientation`, the grid font, no borders, the margins.
    void pageSetUp(int orientation);

    // The print run: in the chosen orientation; without one in portrait, or
    // landscape when the heading is wider than a portrait page. Without
    // ReportGrid nothing is printed.
    void printGridReport();

private:
    struct ValueColumn {
        int col = 0;
        double width = 0;
        double least = 0;  // its widest text with the room kept beside it
    };

    void collectColumns();
    // The text that labels data row `row`: "Grand Total", or the label
    // cells' texts joined with " - " and indented four spaces per level.
    QString rowLabel(int row) const;
    // The heading of the label column: each heading row's label texts
    // joined with " - " ("X" for an empty one when there are several heading
    // rows), the rows joined with "/".
    QString labelHeading() const;

    // The value columns in panels that fit `printableWidth` beside the
    // labels; a column wider than that is narrowed to it, down to its
    // widest text.
    std::vector<std::vector<ValueColumn>> panels(double printableWidth) const;
    void printTitles();
    // The heading table: the label column's heading as one cell down all
    // heading lines, then each line's captions, a caption of one column
    // reaching down over the empty cells below it. Texts sit as the grid's
    // cells align them.
    void printHeading(const std::vector<ValueColumn>& panel);
    // One heading cell `lines` heading lines high with its top left corner
    // at (x, y).
    void headingCell(double x, double y, int lines, const print::TableCell& cell);
    bool printRow(int row, const std::vector<ValueColumn>& panel);
    void rule(const std::vector<ValueColumn>& panel);
    double panelWidth(const std::vector<ValueColumn>& panel) const;
    print::PrintFont cellFont(int row, int col) const;
    int textAlignment(int col, const QString& text) const;
    // The cell's own alignment, else centred.
    int headingAlignment(int row, int col, const QString& text) const;
    // The alignment of the label column's first heading caption, else left.
    int labelHeadingAlignment() const;
    QString labelText(int row) const;

    print::PrintSurface& surface_;
    session::Ui* ui_;
    std::vector<int> labelCols_;
    std::vector<ValueColumn> valueCols_;
    double labelWidth_ = 0;
    double rowHeight_ = 0;
    int deepestLevel_ = 0;
};

}  // namespace vantrep::report
