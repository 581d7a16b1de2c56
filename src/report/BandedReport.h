// The report window's banded report as logic: the properties its caller sets,
// the page set-up, and the print run that prints report header, page headers
// and footers, nested group headers and footers, one detail band per record
// and the report footer onto the print surface. A window, the command line
// and tests run it the same way; the finished document stays on the surface.
//
// Page events (the page header's font, the page footer's text) are set on the
// surface by the caller before the run.
#pragma once

#include <QHash>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

#include "engine/Recordset.h"
#include "print/PrintSurface.h"
#include "report/BandPrinter.h"
#include "report/PageSetup.h"
#include "report/ReportData.h"
#include "report/clsGroupFmt.h"
#include "report/clsVariables.h"

namespace vantrep::grid { class GridModel; }
namespace vantrep::session { class Ui; }

namespace vantrep::report {

// The page set-up (paper, orientation, MarginLeft .. MarginBottom) is the
// report's own, from PageSetup.
class BandedReport : public PageSetup {
public:
    // `ui`, when given, shows the busy pointer during the run.
    explicit BandedReport(print::PrintSurface& surface, session::Ui* ui = nullptr);
    BandedReport(const BandedReport&) = delete;
    BandedReport& operator=(const BandedReport&) = delete;

    // Properties, set before the run. Data is read from its first record.
    engine::Recordset* Data = nullptr;
    const grid::GridModel* ReportGrid = nullptr;  // pictures of "img" items
    print::PrintFont ReportFont;  // the report grid's font: the print font
    QString SortOrder;  // kept for the caller
    QString GroupCriteria;
    QString RHFormat;
    QString RFFormat;
    QString PHFormat;
    QString PFFormat;
    QString GHFormat;
    QString GFFormat;
    QString DetFormat;
    bool ShowColumn = false;
    double LineSpacing = 0;
    bool SuppressBlankLines = false;
    bool SuppressZero = false;

    // Clears the surface's document and sets it up: the paper, `orientation`
    // (0 portrait, 1 landscape), pen reset, zoom 100, no table borders, the
    // print font, the margins; then reads the printable area back.
    void pageSetUp(int orientation);

    // The print run, from Data's first record; it may run again (after a
    // change of the page set-up) and prints the same report. The page is
    // the chosen orientation; without one portrait, or landscape when the
    // page header is wider than a portrait page. Without Data only the page
    // set-up is done (the grid report prints in that case). Throws
    // EngineError ("Data recordset is not set") when the variables cannot be
    // made.
    void printReport();

    const std::vector<clsGroupFmt>& groups() const { return groups_; }
    const clsVariables& variables() const { return variables_; }
    const print::PrintableArea& printableArea() const { return settings_.area; }
    double footerReserve() const { return settings_.footerReserve; }

    // The key of the current record for a group's criteria: "<EOF>" at the
    // end of the data, else the criteria's field values joined.
    QString groupKey(const QString& criteria);

private:
    void prepareBands();
    void printBand(const QString& band, bool pageBreakAfter = false);
    void groupHeaderPass();
    void groupFooterPass();
    clsGroupFmt* footerOf(const QString& criteria);

    print::PrintSurface& surface_;
    session::Ui* ui_;
    BandSettings settings_;
    BandPrinter printer_;
    std::optional<ReportData> data_;
    clsVariables variables_;
    std::vector<clsGroupFmt> groups_;
    // The page and report bands with their aggregates turned into
    // variables; the properties keep the bands as they were given.
    QString pageHeader_;
    QString pageFooter_;
    QString reportHeader_;
    QString reportFooter_;
    // Group keys of the current record: both passes and the footers' lookups
    // ask for the same few criteria.
    int64_t keysPosition_ = -1;
    QHash<QString, QString> keys_;
};

}  // namespace vantrep::report
