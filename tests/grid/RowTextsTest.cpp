#include <gtest/gtest.h>

#include <QStringList>

#include <algorithm>
#include <random>
#include <vector>

#include "grid/RowTexts.h"

using namespace vantrep::grid;

namespace {

QStringList cells(const RowTexts& row) {
    QStringList texts;
    for (int c = 0; c < row.size(); ++c) texts << row.text(c);
    return texts;
}

// The texts as the views of cell() give them, character by character.
QStringList viewedCells(const RowTexts& row) {
    QStringList texts;
    for (int c = 0; c < row.size(); ++c) {
        const CellText cell = row.cell(c);
        QString text;
        for (qsizetype i = 0; i < cell.size(); ++i) text += QChar(cell.at(i));
        texts << text;
    }
    return texts;
}

RowTexts rowOf(const QStringList& texts) {
    RowTexts row(static_cast<int>(texts.size()));
    std::vector<QStringView> views(texts.begin(), texts.end());
    row.assign(views);
    return row;
}

// Every character that has a byte of its own in the one-byte form.
QString everyOneByteCharacter() {
    QString all;
    for (char16_t c = 0; c <= 0xFF; ++c)
        if (c < 0x80 || c >= 0xA0) all += QChar(c);
    all += QString::fromUtf8("€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ");
    all += QChar(0x81);  // the five bytes Windows-1252 leaves unassigned keep their own characters
    all += QChar(0x8D);
    all += QChar(0x8F);
    all += QChar(0x90);
    all += QChar(0x9D);
    return all;
}

}  // namespace

TEST(RowTexts, CellsSetOneByOneInAnyOrderKeepTheirNeighbours) {
    RowTexts row(4);
    EXPECT_EQ(cells(row), QStringList({"", "", "", ""}));
    EXPECT_EQ(row.blockBytes(), 0u) << "an empty row needs no block";
    row.set(2, u"Radio");
    row.set(0, u"TV");
    row.set(3, QString::fromUtf8("Ελλάδα"));
    row.set(1, u"North");
    EXPECT_EQ(cells(row), QStringList({"TV", "North", "Radio", QString::fromUtf8("Ελλάδα")}));
    row.set(1, u"");  // shorter: the texts after it move left
    row.set(2, u"Outdoor and transit");  // longer: beyond the room the row had
    EXPECT_EQ(cells(row), QStringList({"TV", "", "Outdoor and transit", QString::fromUtf8("Ελλάδα")}));
}

TEST(RowTexts, ACellSetFromAViewOfItsOwnRowGetsThatText) {
    RowTexts row(3);
    row.set(0, u"abc");
    row.set(1, u"defgh");
    row.set(2, row[1]);
    row.set(0, row[2].mid(1, 3));
    row.set(1, row[1]);
    EXPECT_EQ(cells(row), QStringList({"efg", "defgh", "defgh"}));
}

TEST(RowTexts, TextsOfTheTablesCodePageTakeOneBytePerCharacter) {
    const QStringList texts = {"", "TV", QString::fromUtf8("ŠKODA Žilina"), QString::fromUtf8("Café – “Le Zèbre” €5"),
                               "1,234.50"};
    const RowTexts row = rowOf(texts);
    EXPECT_TRUE(row.isOneByte());
    EXPECT_EQ(cells(row), texts);
    EXPECT_EQ(viewedCells(row), texts);
    qsizetype characters = 0;
    for (const QString& text : texts) characters += text.size();
    EXPECT_LT(row.blockBytes(), (texts.size() + 1) * sizeof(uint32_t) + characters + sizeof(uint32_t))
        << "one byte per character beside the cell ends";

    // All 256 characters of the form survive the trip, in any cell.
    const QString all = everyOneByteCharacter();
    ASSERT_EQ(all.size(), 256);
    const RowTexts every = rowOf({all, all.left(7), all.mid(128)});
    EXPECT_TRUE(every.isOneByte());
    EXPECT_EQ(cells(every), QStringList({all, all.left(7), all.mid(128)}));
    EXPECT_TRUE(every.cell(0) == CellText(all)) << "a one-byte cell equals the same text in UTF-16";
    EXPECT_FALSE(every.cell(1) == CellText(all.left(6) + QChar(0x160)));
}

TEST(RowTexts, ACharacterWithoutAByteKeepsTheRowInUtf16) {
    // A Greek letter, and a control character of 0x80-0x9F that the one-byte
    // form gives to a typographic character, need UTF-16.
    for (const QString& odd : {QString::fromUtf8("Ελλάδα"), QString(QChar(0x80)), QString(QChar(0x9F))}) {
        RowTexts row = rowOf({"TV", QString::fromUtf8("Š"), ""});
        ASSERT_TRUE(row.isOneByte());
        row.set(2, odd);
        EXPECT_FALSE(row.isOneByte());
        EXPECT_EQ(cells(row), QStringList({"TV", QString::fromUtf8("Š"), odd}));
        const std::vector<QStringView> again = {u"TV", row[1], u"Radio"};
        row.assign(again);  // the row fits one byte again: its new block takes that form
        EXPECT_TRUE(row.isOneByte());
        EXPECT_EQ(cells(row), QStringList({"TV", QString::fromUtf8("Š"), "Radio"}));
    }
}

TEST(RowTexts, ReadingAOneByteRowAsUtf16WidensItAndKeepsItsTexts) {
    RowTexts row = rowOf({"Press", QString::fromUtf8("Žurnal"), "12"});
    const QStringView view = row[1];
    EXPECT_FALSE(row.isOneByte());
    EXPECT_EQ(view.toString(), QString::fromUtf8("Žurnal"));
    EXPECT_EQ(row[0].toString(), "Press");
    row.set(2, row[1]);  // a view of the widened block, set into its own row
    EXPECT_EQ(cells(row), QStringList({"Press", QString::fromUtf8("Žurnal"), QString::fromUtf8("Žurnal")}));
}

// A row refilled from its own cells and new texts, as a summary adds its
// percentages, keeps the one-byte form: its cells are copied, never widened.
TEST(RowTexts, AssigningCellsOfItsOwnKeepsTheRowOneBytePerCharacter) {
    RowTexts row = rowOf({"Radio", QString::fromUtf8("Škoda"), "1,234", ""});
    ASSERT_TRUE(row.isOneByte());
    const QString percentage = "12.50";
    const std::vector<CellText> again = {row.cell(0), row.cell(1), row.cell(2), CellText(percentage)};
    row.assign(again);
    EXPECT_TRUE(row.isOneByte());
    EXPECT_EQ(cells(row), QStringList({"Radio", QString::fromUtf8("Škoda"), "1,234", "12.50"}));
}

TEST(RowTexts, AssignResizeMoveAndCopyMatchAListOfStrings) {
    // Random edits on a row and on a list of strings must leave the same
    // texts, whichever form the row takes on the way.
    std::mt19937 random(7);
    const QStringList words = {"",         "a", "Press", "1,234.50", QString::fromUtf8("Ελλάδα"), "TELEVISION AND CINEMA",
                               QString::fromUtf8("Šport – Žena")};
    RowTexts row(5);
    QStringList expected(5);
    for (int step = 0; step < 2000; ++step) {
        const int n = static_cast<int>(expected.size());
        switch (random() % 6) {
        case 0: {
            const int col = static_cast<int>(random() % n);
            const QString word = words[random() % words.size()];
            row.set(col, word);
            expected[col] = word;
            break;
        }
        case 1: {
            std::vector<QString> given(random() % (n + 1));
            for (QString& text : given) text = words[random() % words.size()];
            row.assign(std::vector<QStringView>(given.begin(), given.end()));
            for (int c = 0; c < n; ++c) expected[c] = c < static_cast<int>(given.size()) ? given[c] : QString();
            break;
        }
        case 2: {
            const int size = 1 + static_cast<int>(random() % 8);
            row.resize(size);
            expected.resize(size);
            break;
        }
        case 3: {
            const int from = static_cast<int>(random() % n), to = static_cast<int>(random() % n);
            row.move(from, to);
            expected.move(from, to);
            break;
        }
        case 4: {
            const int col = static_cast<int>(random() % n);
            ASSERT_EQ(row[col].toString(), expected[col]) << "after step " << step;  // widens the row
            break;
        }
        default: {
            RowTexts copy(row);
            row = RowTexts(1);
            row = copy;
        }
        }
        ASSERT_EQ(cells(row), expected) << "after step " << step;
        ASSERT_EQ(viewedCells(row), expected) << "after step " << step;
    }
}
