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

TEST(RowTexts, AssignResizeMoveAndCopyMatchAListOfStrings) {
    // Random edits on a row and on a list of strings must leave the same texts.
    std::mt19937 random(7);
    const QStringList words = {"", "a", "Press", "1,234.50", QString::fromUtf8("Ελλάδα"), "TELEVISION AND CINEMA"};
    RowTexts row(5);
    QStringList expected(5);
    for (int step = 0; step < 2000; ++step) {
        const int n = static_cast<int>(expected.size());
        switch (random() % 5) {
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
        default: {
            RowTexts copy(row);
            row = RowTexts(1);
            row = copy;
        }
        }
        ASSERT_EQ(cells(row), expected) << "after step " << step;
    }
}
