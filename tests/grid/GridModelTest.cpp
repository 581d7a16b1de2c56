#include <gtest/gtest.h>

#include <bit>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "engine/EngineError.h"
#include "grid/GridModel.h"

using vantrep::engine::EngineError;
using namespace vantrep::grid;

TEST(GridModel, ResizingKeepsContent) {
    GridModel grid(3, 3);
    grid.setTextMatrix(1, 1, "kept");
    grid.setTextMatrix(2, 2, "dropped");
    grid.setCellBold(2, 2, true);
    grid.setRows(5);
    grid.setCols(5);
    EXPECT_EQ(grid.rows(), 5);
    EXPECT_EQ(grid.cols(), 5);
    EXPECT_EQ(grid.textMatrix(1, 1), "kept");
    EXPECT_EQ(grid.textMatrix(4, 4), "");
    grid.setRows(2);
    grid.setCols(2);
    EXPECT_EQ(grid.textMatrix(1, 1), "kept");
    grid.setRows(3);
    grid.setCols(3);
    EXPECT_EQ(grid.textMatrix(2, 2), "");
    EXPECT_FALSE(grid.cellBold(2, 2));
}

TEST(GridModel, FixedAndFrozenCounts) {
    GridModel grid(4, 4);
    grid.setFixedRows(2);
    grid.setFixedCols(1);
    grid.setFrozenCols(3);
    EXPECT_EQ(grid.fixedRows(), 2);
    EXPECT_EQ(grid.fixedCols(), 1);
    EXPECT_EQ(grid.frozenCols(), 3);
    EXPECT_THROW(grid.setFixedRows(5), EngineError);
    grid.setRows(1);
    EXPECT_EQ(grid.fixedRows(), 1);
}

TEST(GridModel, OutOfRangeCellsThrowWithPosition) {
    GridModel grid(2, 2);
    EXPECT_THROW(grid.textMatrix(2, 0), EngineError);
    EXPECT_THROW(grid.setTextMatrix(0, -1, "x"), EngineError);
    try {
        grid.textMatrix(7, 0);
        FAIL();
    } catch (const EngineError& e) {
        EXPECT_NE(e.description().find("row 7"), std::string::npos);
    }
}

TEST(GridModel, ValueMatrixReadsNumbersWithTheirCommasAndPercent) {
    const std::vector<std::pair<const char*, double>> cases = {
        {"1,234.50", 1234.5}, {"", 0.0}, {"12%", 0.12}, {"-7", -7.0}, {"abc", 0.0}, {" 3.25 ", 3.25},
        {"1,000,000", 1e6}, {"12abc", 0.0}, {"5.", 5.0}, {"-0", 0.0}, {".25", 0.25}, {"-1,234.5%", -12.345},
        {"1.2.3", 0.0}, {"--5", 0.0}, {"5-", 0.0}, {"%", 0.0}, {"-", 0.0}, {"1%%", 0.0}};
    GridModel grid(1, 1);
    for (const auto& [text, expected] : cases) {
        grid.setTextMatrix(0, 0, text);
        EXPECT_DOUBLE_EQ(grid.valueMatrix(0, 0), expected) << text;
    }
    EXPECT_TRUE(GridModel::isNumericText("1,234.50"));
    EXPECT_FALSE(GridModel::isNumericText(""));
    EXPECT_FALSE(GridModel::isNumericText("Others"));
}

// Short decimals are read by a quicker route than long ones: both must give
// the double a full reading of the text gives, to the last bit.
TEST(GridModel, NumbersReadBackAsTheNearestDouble) {
    std::mt19937_64 random(20261207);
    for (int i = 0; i < 20000; ++i) {
        const int integerDigits = static_cast<int>(random() % 17);
        const int fractionDigits = static_cast<int>(random() % 25);
        std::string text = random() % 4 == 0 ? "-" : "";
        for (int d = 0; d < integerDigits; ++d) text += static_cast<char>('0' + random() % 10);
        if (fractionDigits > 0 || integerDigits == 0) text += '.';
        for (int d = 0; d < fractionDigits || (integerDigits == 0 && d == 0); ++d)
            text += static_cast<char>('0' + random() % 10);
        double expected = 0;
        std::from_chars(text.data(), text.data() + text.size(), expected);
        // As shown: grouping commas in the integer digits, now and then a "%".
        std::string shown = text;
        const size_t point = std::min(shown.find('.'), shown.size());
        for (size_t at = point; at > 3 && std::isdigit(static_cast<unsigned char>(shown[at - 4])); at -= 3)
            shown.insert(at - 3, ",");
        if (random() % 5 == 0) {
            shown += '%';
            expected /= 100.0;
        }
        const double read = GridModel::numberFromText(QString::fromStdString(shown));
        EXPECT_EQ(std::bit_cast<uint64_t>(read), std::bit_cast<uint64_t>(expected)) << shown;
    }
}

TEST(GridModel, ClearingACellsDataKeepsItsStyleAndCopiesOfExtrasStandApart) {
    GridModel grid(1, 2);
    grid.setCellBold(0, 1, true);
    grid.setCellData(0, 1, QVariant(7));
    grid.setCellData(0, 1, QVariant());
    EXPECT_TRUE(grid.cellBold(0, 1));
    EXPECT_FALSE(grid.cellData(0, 1).isValid());
    const CellExtra* extra = grid.rowAt(0).extras.find(1);
    ASSERT_NE(extra, nullptr);
    EXPECT_EQ(extra->attachment, nullptr) << "an emptied attachment is let go";

    CellExtra original;
    original.attach().data = QVariant(QString("clip.mp4"));
    CellExtra copy = original;
    copy.attach().data = QVariant(QString("other.mp4"));
    EXPECT_EQ(original.data().toString(), "clip.mp4");
    EXPECT_EQ(copy.data().toString(), "other.mp4");
    EXPECT_FALSE(copy.empty());
    EXPECT_TRUE(CellExtra().empty());
}

TEST(GridModel, CellAndRowDataAndPictures) {
    GridModel grid(3, 3);
    grid.setCellData(1, 2, QVariant(42));
    grid.setRowData(2, QVariant(QString("MEDIA")));
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    grid.setCellPicture(0, 1, picture);
    EXPECT_EQ(grid.cellData(1, 2).toInt(), 42);
    EXPECT_FALSE(grid.cellData(1, 1).isValid());
    EXPECT_EQ(grid.rowData(2).toString(), "MEDIA");
    EXPECT_FALSE(grid.rowData(1).isValid());
    EXPECT_EQ(grid.cellPicture(0, 1), picture);
    EXPECT_TRUE(grid.cellPicture(0, 0).isNull());
    grid.setCellData(1, 2, QVariant());
    EXPECT_TRUE(grid.rowAt(1).extras.empty());
}

// Settings start at their defaults, and a colour of -1 goes back to the default.
TEST(GridModel, SettingsStartAtTheirDefaultsAndCheckTheirRange) {
    GridModel grid(2, 2);
    EXPECT_EQ(grid.colAlignment(0), alignGeneral);
    EXPECT_THROW(grid.setColAlignment(1, 10), EngineError);
    EXPECT_EQ(grid.colWidth(1), -1);
    EXPECT_FALSE(grid.cellBold(0, 1));
    EXPECT_EQ(grid.cellBackColor(1, 1), -1);
    grid.setCellForeColor(0, 1, 0x0000CC);
    grid.setCellForeColor(0, 1, -1);
    EXPECT_EQ(grid.cellForeColor(0, 1), -1);
    EXPECT_TRUE(grid.rowAt(0).extras.empty()) << "a cell back at its defaults holds no extras";
}

TEST(GridModel, MergedRanges) {
    GridModel grid(4, 4);
    // Row 0: a header "A A B B" merged along the row.
    for (int c = 0; c < 4; ++c) grid.setTextMatrix(0, c, c < 2 ? "A" : "B");
    // Column 0 below: "x x y".
    grid.setTextMatrix(1, 0, "x");
    grid.setTextMatrix(2, 0, "x");
    grid.setTextMatrix(3, 0, "y");
    EXPECT_EQ(grid.mergedRange(0, 1), (CellRange{0, 1, 0, 1}));  // no flag yet
    grid.setMergeRow(0, true);
    EXPECT_EQ(grid.mergedRange(0, 1), (CellRange{0, 0, 0, 1}));
    EXPECT_EQ(grid.mergedRange(0, 2), (CellRange{0, 2, 0, 3}));
    EXPECT_EQ(grid.mergedRange(1, 0), (CellRange{1, 0, 1, 0}));
    grid.setMergeCol(0, true);
    EXPECT_EQ(grid.mergedRange(2, 0), (CellRange{1, 0, 2, 0}));
    EXPECT_EQ(grid.mergedRange(3, 0), (CellRange{3, 0, 3, 0}));
    // Empty cells never merge.
    grid.setMergeCol(1, true);
    EXPECT_EQ(grid.mergedRange(2, 1), (CellRange{2, 1, 2, 1}));
}

TEST(GridModel, RedrawOffBatchesNotifications) {
    GridModel grid(2, 2);
    int calls = 0;
    const int id = grid.addObserver([&calls] { ++calls; });
    grid.setTextMatrix(0, 0, "a");
    EXPECT_EQ(calls, 1);
    grid.setRedraw(false);
    grid.setTextMatrix(0, 1, "b");
    grid.setTextMatrix(1, 1, "c");
    EXPECT_EQ(calls, 1);
    grid.setRedraw(true);
    EXPECT_EQ(calls, 2);
    grid.setRedraw(false);
    grid.setRedraw(true);  // nothing changed: no notification
    EXPECT_EQ(calls, 2);
    grid.removeObserver(id);
    grid.setTextMatrix(0, 0, "d");
    EXPECT_EQ(calls, 2);
}

TEST(GridModel, LargeListingStaysCompact) {
    constexpr int rows = 200000;
    constexpr int cols = 12;
    GridModel grid(rows + 1, cols);
    grid.setFixedRows(1);
    for (int r = 1; r <= rows; ++r)
        for (int c = 0; c < cols; ++c) grid.setTextMatrix(r, c, QString::number(r * 13 + c));
    EXPECT_EQ(grid.textMatrix(rows, 11), QString::number(rows * 13 + 11));
    EXPECT_LT(grid.memoryEstimate(), std::size_t(300) * 1024 * 1024);
    EXPECT_GT(grid.memoryEstimate(), std::size_t(rows) * cols * 8);
}
