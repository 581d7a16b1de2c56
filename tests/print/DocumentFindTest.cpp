// Finding text in a recorded document from a page and a Y position.
#include <gtest/gtest.h>

#include "print/DocumentFind.h"
#include "print/PrintSurface.h"

namespace vantrep::print {
namespace {

// Three pages; "Total" on page 1 (twice, on two rows) and on page 3.
PrintDocument searchable() {
    PrintSurface surface;
    surface.setMargins(1000, 1000, 1000, 1000);
    auto row = [&](const QString& first, const QString& second) {
        PrintTable& table = surface.startTable(2);
        table.cells[0].text = first;
        table.cells[0].width = 3000;
        table.cells[1].text = second;
        table.cells[1].width = 3000;
        table.rowHeight = 300;
        surface.endTable();
    };
    surface.startDoc();
    row(QStringLiteral("Brand"), QStringLiteral("Grand Total"));
    row(QStringLiteral("Spots"), QStringLiteral("total of spots"));
    surface.newPage();
    row(QStringLiteral("nothing"), QStringLiteral("here"));
    surface.newPage();
    row(QStringLiteral("Total"), QString());
    surface.endDoc();
    return surface.document();
}

TEST(DocumentFind, SearchesOnFromTheLastHitThroughLaterPagesIgnoringCase) {
    PrintDocument doc = searchable();
    FontMetricsCache measure;
    FindHit first = findText(doc, QStringLiteral("total"), 0, 0, measure);
    ASSERT_EQ(first.page, 1);
    EXPECT_GE(first.rect.top(), 1000);
    EXPECT_LE(first.rect.bottom(), 1300);
    // "Grand " comes before the hit in its cell, which starts at 4000 + padding.
    EXPECT_NEAR(first.rect.left(), 4000 + cellPaddingX + measure.textWidth(PrintFont(), QStringLiteral("Grand ")), 0.5);
    EXPECT_NEAR(first.rect.width(), measure.textWidth(PrintFont(), QStringLiteral("Total")), 0.5);

    FindHit second = findText(doc, QStringLiteral("total"), first.page, first.rect.bottom(), measure);
    EXPECT_EQ(second.page, 1);
    EXPECT_GT(second.rect.top(), first.rect.top());
    FindHit third = findText(doc, QStringLiteral("total"), second.page, second.rect.bottom(), measure);
    EXPECT_EQ(third.page, 3);
    FindHit none = findText(doc, QStringLiteral("total"), third.page, third.rect.bottom(), measure);
    EXPECT_EQ(none.page, 0);
}

TEST(DocumentFind, EmptyOrMissingTextFindsNothing) {
    PrintDocument doc = searchable();
    FontMetricsCache measure;
    EXPECT_EQ(findText(doc, QString(), 0, 0, measure).page, 0);
    EXPECT_EQ(findText(doc, QStringLiteral("absent"), 0, 0, measure).page, 0);
    EXPECT_EQ(findText(doc, QStringLiteral("here"), 3, 0, measure).page, 0);
}

}  // namespace
}  // namespace vantrep::print
