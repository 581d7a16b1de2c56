// The page a report is laid out on: the paper, the orientation the user chose
// and the margins (the report window's MarginLeft .. MarginBottom). The grid
// report and the banded report carry one each; the preview's Page Setup
// edits the one of the report it shows, and every later lay-out keeps it.
//
// A report whose orientation was not chosen starts in portrait and turns to
// landscape when its content is wider than a portrait page; a chosen
// orientation is kept (a grid too wide for it prints in panels).
#pragma once

#include <QPageLayout>
#include <QPageSize>

#include <optional>

namespace vantrep::report {

// The smallest printable width and height a page set-up may leave, in twips.
inline constexpr double smallestPrintable = 1440;

struct PageSetup {
    QPageSize Paper{QPageSize::A4};
    std::optional<int> Orientation;  // 0 portrait, 1 landscape; empty: as the content needs
    double MarginLeft = 0;  // twips
    double MarginRight = 0;
    double MarginTop = 0;
    double MarginBottom = 0;

    // The orientation a print run starts in.
    int firstOrientation() const { return Orientation.value_or(0); }
    // Whether content wider than the page turns it to landscape.
    bool turnsWhenTooWide() const { return !Orientation.has_value(); }
    // Whether the margins leave at least smallestPrintable each way on the
    // paper in every orientation the report may print in.
    bool leavesRoom() const;

    friend bool operator==(const PageSetup&, const PageSetup&) = default;
};

// The set-up that prints on a printer set to `layout`, given the orientation
// `printed` of the document laid out with `setup`: the printer's paper; its
// orientation, chosen, when it differs from `printed`; and no margin smaller
// than the widest the printer cannot print on. Unchanged when the document
// already fits the printer.
PageSetup setupForPrinter(PageSetup setup, const QPageLayout& layout, int printed);

}  // namespace vantrep::report
