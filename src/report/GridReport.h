// The grid report: a paginated copy of the main grid under its two titles.
// The sub title's lines come first, then the heading table made from the
// grid's fixed rows, then one line per visible data row, labelled from the
// grid's label columns and indented by outline level; every page that the
// rows run onto starts with the heading again and ends with a rule. A grid
// wider than a portrait page prints in landscape, and one wider than a
// landscape page prints its value columns in panels side by side, each panel
// repeating the labels, so that no column is lost.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

#include "print/PrintSurface.h"
#include "report/TitleHolder.h"

namespace vantrep::grid { class GridModel; }
namespace vantrep::session { class Ui; }

namespace vantrep::report {

class GridReport {
public:
    // `ui`, when given, shows the busy pointer during the run.
    explicit GridReport(print::PrintSurface& surface, session::Ui* ui = nullptr);

    // Properties, set before the run.
    const grid::GridModel* ReportGrid = nullptr;
    QString ReportCriteria;  // line breaks already turned into four spaces
    // The font of a grid that has no window to show it in.
    static print::PrintFont defaultGridFont() { return {QStringLiteral("Arial"), 8}; }
    print::PrintFont GridFont = defaultGridFont();  // the grid's font
    double MarginLeft = 200;
    double MarginRight = 200;
    double MarginTop = 720;
    double MarginBottom = 720;
    // The main title (page header text and font) and the sub title (the
    // lines above the table).
    TitleHolder CdlgTitle1;
    TitleHolder CdlgTitle2;

    // What the report window does first for a grid report: portrait page
    // set-up, `caption` as the page header, a footer placeholder that the
    // page event replaces, and both titles taken from the header and from
    // ReportCriteria.
    void startTitles(const QString& caption);

    // Clears the surface's document and sets it up: A4 in `orientation`,
    // the grid font, no borders, the margins.
    void pageSetUp(int orientation);

    // The print run: portrait, or landscape when the heading is wider than a
    // portrait page. Without ReportGrid nothing is printed.
    void printGridReport();

private:
    struct ValueColumn {
        int col = 0;
        double width = 0;
    };

    void collectColumns();
    // The text that labels data row `row`: "Grand Total", or the label
    // cells' texts joined with " - " and indented four spaces per level.
    QString rowLabel(int row) const;
    // The heading of the label column: each heading row's label texts
    // joined with " - " ("X" for an empty one when there are several heading
    // rows), the rows joined with "/".
    QString labelHeading() const;

    std::vector<std::vector<ValueColumn>> panels(double printableWidth) const;
    void printTitles();
    void printHeading(const std::vector<ValueColumn>& panel);
    bool printRow(int row, const std::vector<ValueColumn>& panel);
    void rule(const std::vector<ValueColumn>& panel);
    double panelWidth(const std::vector<ValueColumn>& panel) const;
    print::PrintFont cellFont(int row, int col) const;
    int textAlignment(int col, const QString& text) const;
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
