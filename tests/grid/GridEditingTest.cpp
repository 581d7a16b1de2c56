#include <gtest/gtest.h>

#include "engine/EngineError.h"
#include "grid/GridModel.h"

using vantrep::engine::EngineError;
using namespace vantrep::grid;

namespace {

// The texts of one column, top to bottom, joined by "|".
QString columnTexts(const GridModel& grid, int col) {
    QStringList texts;
    for (int r = 0; r < grid.rows(); ++r) texts << grid.textMatrix(r, col);
    return texts.join('|');
}

QString rowTexts(const GridModel& grid, int row) {
    QStringList texts;
    for (int c = 0; c < grid.cols(); ++c) texts << grid.textMatrix(row, c);
    return texts.join('|');
}

}  // namespace

TEST(GridEditing, AddItemAppendsAndInserts) {
    GridModel grid(1, 3);
    grid.setTextMatrix(0, 0, "head");
    grid.addItem("a\tb\tc");
    grid.addItem("x\ty", 1);
    grid.addItem("first\t\tlast\textra", 0);
    ASSERT_EQ(grid.rows(), 4);
    EXPECT_EQ(rowTexts(grid, 0), "first||last");
    EXPECT_EQ(rowTexts(grid, 1), "head||");
    EXPECT_EQ(rowTexts(grid, 2), "x|y|");
    EXPECT_EQ(rowTexts(grid, 3), "a|b|c");
    EXPECT_THROW(grid.addItem("z", 9), EngineError);
}

TEST(GridEditing, RemoveItemShiftsRowsAndTheirFormatting) {
    GridModel grid(3, 1);
    for (int r = 0; r < 3; ++r) grid.setTextMatrix(r, 0, QString::number(r));
    grid.setCellBold(2, 0, true);
    grid.setRowData(2, 7);
    grid.removeItem(1);
    EXPECT_EQ(columnTexts(grid, 0), "0|2");
    EXPECT_TRUE(grid.cellBold(1, 0));
    EXPECT_EQ(grid.rowData(1).toInt(), 7);
    EXPECT_THROW(grid.removeItem(2), EngineError);
}

TEST(GridEditing, ColPositionMovesTextsSettingsAndFormatting) {
    GridModel grid(2, 4);
    for (int c = 0; c < 4; ++c) grid.setTextMatrix(0, c, QString(QChar('A' + c)));
    grid.setColWidth(0, 500);
    grid.setCellForeColor(1, 0, 0x0000CC);
    grid.setCellBold(1, 2, true);
    grid.colPosition(0, 2);  // A to index 2
    EXPECT_EQ(rowTexts(grid, 0), "B|C|A|D");
    EXPECT_EQ(grid.colWidth(2), 500);
    EXPECT_EQ(grid.cellForeColor(1, 2), 0x0000CC);
    EXPECT_TRUE(grid.cellBold(1, 1));  // C moved left with its format
    grid.colPosition(3, 0);  // D to the front
    EXPECT_EQ(rowTexts(grid, 0), "D|B|C|A");
    EXPECT_EQ(grid.cellForeColor(1, 3), 0x0000CC);
    EXPECT_TRUE(grid.cellBold(1, 2));
}

TEST(GridEditing, RowPositionMovesRows) {
    GridModel grid(4, 1);
    for (int r = 0; r < 4; ++r) grid.setTextMatrix(r, 0, QString::number(r));
    grid.rowPosition(0, 3);
    EXPECT_EQ(columnTexts(grid, 0), "1|2|3|0");
    grid.rowPosition(3, 1);
    EXPECT_EQ(columnTexts(grid, 0), "1|0|2|3");
}

TEST(GridEditing, ClearEmptiesCellsButKeepsSizes) {
    GridModel grid(2, 2);
    grid.setFixedRows(1);
    grid.setTextMatrix(1, 1, "x");
    grid.setCellBold(1, 1, true);
    grid.setRowData(1, 3);
    grid.setColWidth(1, 900);
    grid.clear();
    EXPECT_EQ(grid.rows(), 2);
    EXPECT_EQ(grid.fixedRows(), 1);
    EXPECT_EQ(grid.textMatrix(1, 1), "");
    EXPECT_FALSE(grid.cellBold(1, 1));
    EXPECT_FALSE(grid.rowData(1).isValid());
    EXPECT_EQ(grid.colWidth(1), 900);
}

TEST(GridEditing, SortComparesNumbersAsNumbersAndKeepsFixedRows) {
    GridModel grid(1, 2);
    grid.setFixedRows(1);
    grid.setTextMatrix(0, 0, "Header");
    for (const char* text : {"10", "9", "1,000", "apple", "Banana", "2.5"}) grid.addItem(QString(text) + "\t" + text);
    grid.sort(0, true);
    // Numbers among themselves by value; texts after digits by case-insensitive order.
    EXPECT_EQ(columnTexts(grid, 0), "Header|2.5|9|10|1,000|apple|Banana");
    grid.sort(0, false);
    EXPECT_EQ(columnTexts(grid, 0), "Header|Banana|apple|1,000|10|9|2.5");
    EXPECT_EQ(grid.textMatrix(1, 1), "Banana");  // whole rows move
}

TEST(GridEditing, SortIsStable) {
    GridModel grid(0, 2);
    grid.addItem("b\t1");
    grid.addItem("a\t2");
    grid.addItem("b\t3");
    grid.addItem("a\t4");
    grid.sort(0, true);
    EXPECT_EQ(columnTexts(grid, 1), "2|4|1|3");
}

TEST(GridEditing, ClipTextOfASelection) {
    GridModel grid(3, 3);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) grid.setTextMatrix(r, c, QString("%1%2").arg(r).arg(c));
    EXPECT_EQ(grid.clipText({1, 0, 2, 1}), "10\t11\r20\t21");
    EXPECT_EQ(grid.clipText({2, 2, 1, 1}), "11\t12\r21\t22");
    EXPECT_EQ(grid.clipText({0, 2, 0, 2}), "02");
}

namespace {

// Ten twips per character, twice that when bold.
class FixedMeasure : public TextMeasure {
public:
    int widthTwips(const QString& text, bool bold) override {
        ++calls;
        return static_cast<int>(text.size()) * (bold ? 20 : 10);
    }
    int calls = 0;
};

}  // namespace

TEST(GridEditing, AutoSizeUsesTheWidestVisibleText) {
    GridModel grid(3, 2);
    grid.setTextMatrix(0, 0, "abc");
    grid.setTextMatrix(1, 0, "abcdefghij");  // hidden below
    grid.setTextMatrix(2, 0, "abcde");
    grid.setTextMatrix(0, 1, "ab");
    grid.setCellBold(0, 1, true);
    grid.setRowHidden(1, true);
    FixedMeasure measure;
    grid.autoSize(0, 1, measure, 100);
    EXPECT_EQ(grid.colWidth(0), 150);
    EXPECT_EQ(grid.colWidth(1), 140);
    EXPECT_EQ(measure.calls, 3);
}

TEST(GridEditing, SortPutsNumbersBeforeTextsAndEmptyCells) {
    GridModel grid(0, 1);
    for (const char* text : {"b", "", "100", "A", "-5", "20%"}) grid.addItem(text);
    grid.sort(0, true);
    EXPECT_EQ(columnTexts(grid, 0), "-5|20%|100||A|b");
}
