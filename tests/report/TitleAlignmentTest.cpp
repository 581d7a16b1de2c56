// Titles keep their alignment inside their text with bars.
#include <gtest/gtest.h>

#include "report/PageStamp.h"
#include "report/TitleAlignment.h"

namespace vantrep::report {
namespace {

TEST(TitleAlignment, StoresAndReadsBackEachAlignment) {
    for (auto [name, stored] : {std::pair{"Left", "Spends||"}, {"Right", "||Spends"}, {"Center", "|Spends|"}}) {
        EXPECT_EQ(alignedTitle("Spends", name), stored);
        EXPECT_EQ(alignmentName(titleAlignment(stored)), name);
        EXPECT_EQ(titleWithoutBars(stored), "Spends") << stored;
    }
    EXPECT_EQ(titleAlignment("|typed as is"), titleCenter);
    EXPECT_EQ(titleAlignment("plain"), titleLeft);
    EXPECT_EQ(titleWithoutBars("a|b||c"), "abc");
}

TEST(PageStamp, FooterNamesMakerProductDateAndPage) {
    EXPECT_EQ(pageFooterText(QDate(2026, 3, 7), 12), "Quorvel|Vant|07-03-2026    Page :12");
}

}  // namespace
}  // namespace vantrep::report
