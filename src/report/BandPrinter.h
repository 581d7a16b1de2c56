// Prints band strings of the band language on the print surface: every line
// of a band as a one-row table, every item as a column, with automatic sizes,
// pictures, lines, the page-break check against the page-footer reserve and
// the suppression rules of the report.
#pragma once

#include <QHash>
#include <QImage>
#include <QString>

#include <memory>
#include <vector>

#include "print/PrintSurface.h"
#include "report/BandFunction.h"
#include "report/BandItem.h"

namespace vantrep::grid { class GridModel; }

namespace vantrep::report {

class ReportData;
class clsVariables;

// What the report window gives the band printer.
struct BandSettings {
    bool ShowColumn = false;
    double LineSpacing = 0;  // twips
    bool SuppressBlankLines = false;
    bool SuppressZero = false;
    QString pageHeader;  // PHFormat, after aggregate replacement
    QString pageFooter;  // PFFormat, after aggregate replacement
    print::PrintableArea area;  // read back after the page set-up
    double footerReserve = 0;  // twips kept free above the bottom for the page footer
};

class BandPrinter {
public:
    BandPrinter(print::PrintSurface& surface, const BandSettings& settings)
        : surface_(surface), settings_(settings) {}

    // Sources of data, variables and pictures; each may be null.
    void setData(ReportData* data) { data_ = data; }
    void setVariables(const clsVariables* variables) { variables_ = variables; }
    void setPictures(const grid::GridModel* grid) { pictures_ = grid; }

    // Prints every line of `band`; with `pageBreakAfter`, and data not at its
    // end, the page footer, a new page and the page header follow. A hidden
    // band is measured only: nothing is drawn and Y does not move. Returns the
    // widest line's width; `rowHeight` gets the last line's row height.
    double printBand(const QString& band, bool hidden, bool noPageBreak, bool pageBreakAfter, double& rowHeight);
    // Prints one line; returns its width (the sum of its columns).
    double printLine(const QString& line, bool hidden, bool noPageBreak, double& rowHeight);

    // The picture held as cell data of the report grid at "row,column".
    QImage pictureAt(const QString& position) const;

private:
    void breakPage();
    void drawLineItem(const BandItem& item);
    QString cellText(const BandItem& item, const BandValue* evaluated);
    FunctionSources sources() const { return {data_, variables_, &surface_}; }
    // The items of `line` parsed with the current font's defaults. Parsing
    // has no side effects, so each line is parsed once per font; a long
    // report prints the same few lines for every record. Shared, so that a
    // page break inside a line may parse other lines meanwhile.
    std::shared_ptr<const std::vector<BandItem>> parsedLine(const QString& line);

    print::PrintSurface& surface_;
    const BandSettings& settings_;
    ReportData* data_ = nullptr;
    const clsVariables* variables_ = nullptr;
    const grid::GridModel* pictures_ = nullptr;
    bool breaking_ = false;  // printing the page footer and header of a break
    print::PrintFont parsedWith_;
    QHash<QString, std::shared_ptr<const std::vector<BandItem>>> parsedLines_;
};

}  // namespace vantrep::report
