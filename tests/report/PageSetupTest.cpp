// A report's page set-up: when margins leave room to print, and the set-up a
// printer's page layout asks for.
#include <gtest/gtest.h>

#include "report/PageSetup.h"

namespace vantrep::report {
namespace {

PageSetup letterWith(std::optional<int> orientation, double across, double down) {
    PageSetup setup;
    setup.Paper = QPageSize(QPageSize::Letter);  // 12240 x 15840 twips
    setup.Orientation = orientation;
    setup.MarginLeft = setup.MarginRight = across;
    setup.MarginTop = setup.MarginBottom = down;
    return setup;
}

TEST(PageSetup, MarginsMustLeaveAnInchEachWayInEveryOrientationTheReportMayTake) {
    struct Case {
        std::optional<int> orientation;
        double across, down;
        bool room;
    };
    const Case cases[] = {
        {0, 5400, 7200, true},   // 12240 - 10800 = 1440 across, 15840 - 14400 down
        {0, 5401, 0, false},     // one twip less than an inch across
        {0, 0, 7201, false},
        {1, 7200, 5400, true},   // landscape: 15840 across, 12240 down
        {1, 5400, 7200, false},  // the portrait margins leave nothing down a landscape page
        {{}, 5400, 5400, true},  // may turn: the short side counts both ways
        {{}, 5400, 7200, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(letterWith(c.orientation, c.across, c.down).leavesRoom(), c.room)
            << c.orientation.value_or(-1) << " " << c.across << " " << c.down;
    }
    PageSetup a3 = letterWith(0, 5401, 0);
    a3.Paper = QPageSize(QPageSize::A3);  // 16838 across: room again
    EXPECT_TRUE(a3.leavesRoom());
}

TEST(PageSetup, APrinterLayoutBringsItsPaperItsOwnOrientationAndItsLeastMargins) {
    const PageSetup a4 = [] {
        PageSetup setup;
        setup.MarginLeft = setup.MarginRight = 200;
        setup.MarginTop = setup.MarginBottom = 720;
        return setup;
    }();
    // The printer as the document is: nothing changes.
    const QPageLayout same(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF());
    EXPECT_EQ(setupForPrinter(a4, same, 1), a4);
    // Letter, the orientation as printed: only the paper changes, the
    // orientation stays the report's choice.
    const PageSetup onLetter =
        setupForPrinter(a4, QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape, QMarginsF()), 1);
    EXPECT_TRUE(onLetter.Paper.isEquivalentTo(QPageSize(QPageSize::Letter)));
    EXPECT_FALSE(onLetter.Orientation.has_value());
    EXPECT_EQ(onLetter.MarginLeft, 200);
    // Another orientation in the print dialog is a choice.
    EXPECT_EQ(setupForPrinter(a4, same, 0).Orientation, 1);
    // A printer that cannot print within 0.25 inch of the edge raises every
    // margin below that (in points, 18 = 360 twips) and keeps the wider ones.
    QPageLayout edges(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(18, 18, 18, 18), QPageLayout::Point,
                      QMarginsF(18, 10, 12, 18));
    const PageSetup raised = setupForPrinter(a4, edges, 0);
    EXPECT_EQ(raised.MarginLeft, 360);
    EXPECT_EQ(raised.MarginRight, 360);
    EXPECT_EQ(raised.MarginTop, 720);
    EXPECT_EQ(raised.MarginBottom, 720);
}

}  // namespace
}  // namespace vantrep::report
