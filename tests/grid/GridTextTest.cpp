// The grid written as text: hidden rows and columns left out, merged texts
// repeated, separators inside cells escaped or quoted.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "engine/EngineError.h"
#include "grid/GridText.h"

namespace vantrep::grid {
namespace {

GridModel sample() {
    GridModel g;
    g.setRows(3);
    g.setCols(4);
    g.setFixedRows(1);
    g.setTextMatrix(0, 1, "Media");
    g.setTextMatrix(0, 2, "Spend");
    g.setTextMatrix(0, 3, "Hidden");
    g.setTextMatrix(1, 1, "TV");
    g.setTextMatrix(1, 2, "1,234.50");
    g.setTextMatrix(2, 1, "TV");  // merged with the row above on screen
    g.setTextMatrix(2, 2, "say \"a\tb\"");
    g.setMergeCol(1, true);
    g.setColHidden(3, true);
    return g;
}

TEST(GridText, TabSeparatedEscapesTabsAndKeepsMergedTexts) {
    EXPECT_EQ(GridAsText(sample(), TextLayout::Tsv), "\tMedia\tSpend\n\tTV\t1,234.50\n\tTV\tsay \"a\\tb\"\n");
}

TEST(GridText, CommaSeparatedQuotesWhatNeedsIt) {
    GridModel g = sample();
    g.setRowHidden(2, true);
    EXPECT_EQ(GridAsText(g, TextLayout::Csv), ",Media,Spend\n,TV,\"1,234.50\"\n");
}

TEST(GridText, CommaSeparatedKeepsFormulaLikeTextsAsText) {
    struct Case {
        const char* cell;
        const char* written;
    };
    const Case cases[] = {
        {"=HYPERLINK(\"http://x\")", "\"'=HYPERLINK(\"\"http://x\"\")\""},
        {"+1-2", "'+1-2"},
        {"-2+3", "'-2+3"},
        {"@SUM(A1)", "'@SUM(A1)"},
        {"-", "'-"},
        {"-inf", "'-inf"},
        {"-1,2,3", "\"'-1,2,3\""},
        {"- 5", "'- 5"},
        // Numbers stay numbers.
        {"-12.5", "-12.5"},
        {"-1,234.50", "\"-1,234.50\""},
        {"+5", "+5"},
        {"-.50", "-.50"},
        {"-3%", "-3%"},
        {"-1.5E+10", "-1.5E+10"},
        // Nothing else changes.
        {"TV", "TV"},
        {"a=b", "a=b"},
        {"", ""},
    };
    for (const Case& c : cases) {
        GridModel g(1, 1);
        g.setTextMatrix(0, 0, c.cell);
        EXPECT_EQ(GridAsText(g, TextLayout::Csv), QString(c.written) + "\n") << c.cell;
        EXPECT_EQ(GridAsText(g, TextLayout::Tsv), QString(c.cell) + "\n") << c.cell;  // a tab file holds the texts as they are
    }
}

// A grid large enough to be written by several cores at once comes out as
// one text, rows in order.
TEST(GridText, ALargeGridIsWrittenWholeAndInOrder) {
    GridModel g(90001, 3);
    for (int r = 0; r < g.rows(); ++r) {
        g.setTextMatrix(r, 0, QString::number(r));
        g.setTextMatrix(r, 1, r % 7 == 0 ? QString("Çay\t%1").arg(r) : QString("row"));
        if (r % 1000 == 999) g.setRowHidden(r, true);
    }
    QTemporaryDir dir;
    const QString path = dir.filePath("grid.tsv");
    WriteGridText(g, path, TextLayout::Tsv);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()), GridAsText(g, TextLayout::Tsv));
}

TEST(GridText, AFileThatCannotBeWrittenIsReported) {
    EXPECT_THROW(WriteGridText(sample(), "/nonexistent-folder/grid.tsv", TextLayout::Tsv), engine::EngineError);
}

}  // namespace
}  // namespace vantrep::grid
