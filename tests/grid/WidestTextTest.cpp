#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetricsF>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <random>

#include "grid/FontMeasure.h"
#include "grid/GridModel.h"
#include "grid/WidestText.h"

namespace vantrep::grid {
namespace {

// Counts what it is asked to measure; digits alike when told so.
class CountingMeasure : public TextMeasure {
public:
    explicit CountingMeasure(bool digitsAlike) : digitsAlike_(digitsAlike) {}
    int widthTwips(const QString& text, bool bold) override {
        ++calls;
        int width = 0;
        for (QChar c : text) width += c.isDigit() ? 10 : (c == u'W' ? 25 : 8);
        return bold ? width * 2 : width;
    }
    bool digitsShareOneWidth() const override { return digitsAlike_; }
    int calls = 0;

private:
    bool digitsAlike_;
};

// Numbers, dates, times and words of the kinds a listing shows.
QStringList listingTexts(int count) {
    std::mt19937 random(7);
    QStringList texts;
    for (int i = 0; i < count; ++i) {
        switch (i % 4) {
        case 0: texts << QString::number(random() % 1000000 / 100.0, 'f', 2); break;
        case 1: texts << QString("%1/%2/2026").arg(random() % 12 + 1, 2, 10, QChar('0')).arg(random() % 28 + 1, 2, 10, QChar('0')); break;
        case 2: texts << QString("%1:%2:%3").arg(random() % 24).arg(random() % 60).arg(random() % 60); break;
        default: texts << QStringList{"Wave Cola", "Mill Oats", "WWF Fund", "ice"}[random() % 4]; break;
        }
    }
    return texts;
}

int measuredOneByOne(TextMeasure& measure, const QStringList& texts, bool bold) {
    int widest = 0;
    for (const QString& text : texts) widest = std::max(widest, measure.widthTwips(text, bold));
    return widest;
}

TEST(WidestText, MeasuresOneTextPerDigitPatternWhenDigitsAreAlike) {
    const QStringList texts = listingTexts(4000);
    CountingMeasure alike(true), distinct(false), reference(false);
    WidestText byPattern(alike), byText(distinct);
    for (const QString& text : texts) {
        byPattern.add(text, false);
        byText.add(text, false);
    }
    const int expected = measuredOneByOne(reference, texts, false);
    EXPECT_EQ(byPattern.widest(), expected);
    EXPECT_EQ(byText.widest(), expected);
    EXPECT_LT(alike.calls, 40);
    EXPECT_GT(distinct.calls, 2000);
}

TEST(WidestText, KeepsBoldAndPlainApartAndIsZeroWhenEmpty) {
    CountingMeasure measure(true);
    WidestText none(measure);
    EXPECT_EQ(none.widest(), 0);
    WidestText texts(measure);
    texts.add(u"123", false);
    texts.add(u"456", true);
    EXPECT_EQ(texts.widest(), 60);
}

// With the application's real font the result must equal measuring every
// text, whatever the font does with digits and kerning.
TEST(WidestText, AutoSizeWithARealFontEqualsMeasuringEveryText) {
    const QStringList texts = listingTexts(2000) + QStringList{"AV", "To", "1,111.11", "7.7", "Wy 1/1"};
    GridModel grid(0, 1);
    for (const QString& text : texts) grid.addItem(text);
    for (bool bold : {false, true}) {
        FontMeasure measure{QFont()};
        for (int r = 0; r < grid.rows(); ++r) grid.setCellBold(r, 0, bold);
        grid.autoSize(0, 0, measure, 0);
        EXPECT_EQ(grid.colWidth(0), measuredOneByOne(measure, texts, bold)) << "bold " << bold;
    }
}

// A large grid's columns are collected on several cores at once: each column
// must still get the width of its own widest text.
TEST(WidestText, AutoSizeOfALargeGridGivesEachColumnItsWidest) {
    const int rows = 60000, cols = 5;
    GridModel grid(rows, cols);
    const QStringList texts = listingTexts(rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) grid.setTextMatrix(r, c, texts[(r + c * 7) % rows].repeated(c + 1));
    grid.setCellBold(rows / 2, 3, true);
    CountingMeasure measure(true), reference(false);
    grid.autoSize(0, cols - 1, measure, 0);
    for (int c = 0; c < cols; ++c) {
        int widest = 0;
        for (int r = 0; r < rows; ++r)
            widest = std::max(widest, reference.widthTwips(grid.textMatrix(r, c), grid.cellBold(r, c)));
        EXPECT_EQ(grid.colWidth(c), widest) << "column " << c;
    }
}

// Texts with blanks are measured as their words and blanks added up: the
// result must be what measuring the whole text gives, to the twip.
TEST(FontMeasure, TextsMeasuredWordByWordMeasureAsAWhole) {
    const QStringList words{"AVANT", "To", "Wave", "Cola,", "T.", "y'all", "fi", "office", "WAY", "1,234.50", "(TV)",
                            "Lj", "\"Quote\"", "a"};
    std::mt19937 random(11);
    QFont font;
    FontMeasure measure{font};
    EXPECT_TRUE(measure.measuresByWords()) << "the test font kerns a blank, so no text here is measured by words";
    for (bool bold : {false, true}) {
        QFont face = font;
        face.setBold(bold);
        const QFontMetricsF metrics(face);
        for (int i = 0; i < 300; ++i) {
            QString text = random() % 5 == 0 ? " " : "";
            const int count = 1 + static_cast<int>(random() % 6);
            for (int w = 0; w < count; ++w) {
                if (w > 0) text += random() % 4 == 0 ? "  " : " ";
                text += words[static_cast<int>(random() % words.size())];
            }
            if (random() % 5 == 0) text += " ";
            const int whole = static_cast<int>(std::ceil(metrics.horizontalAdvance(text) * 15.0));
            EXPECT_EQ(measure.widthTwips(text, bold), whole) << text.toStdString() << (bold ? " bold" : "");
        }
    }
}

}  // namespace
}  // namespace vantrep::grid
