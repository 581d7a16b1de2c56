// Parsing band items: the 15 fields, their defaults, numbers and flags.
#include <gtest/gtest.h>

#include "report/BandItem.h"
#include "report/BandText.h"

namespace vantrep::report {
namespace {

// Every field of an item parsed under Tahoma 8, joined by ";"; the four style
// flags (bold, italic, underline, strike-out) as one group of 0s and 1s.
QString parsed(const QString& text) {
    print::PrintFont current;
    current.name = QStringLiteral("Tahoma");
    current.size = 8;
    BandItem i = parseBandItem(text, current);
    QString flags = QString("%1%2%3%4").arg(i.bold).arg(i.italic).arg(i.underline).arg(i.strikeOut);
    return QStringList{i.kind, i.text, QString::number(i.width), QString::number(i.height),
                       QString::number(i.maxChars), QString::number(i.align), i.fontName, QString::number(i.fontSize),
                       flags, i.format, QString::number(i.cellAttribute), QString::number(i.color)}
        .join(';');
}

TEST(BandItemParse, EveryFieldInItsPositionAndDefaultsForEmptyOnes) {
    struct Case { QString item, fields; };
    const Case cases[] = {
        // Empty fields take their defaults: alignment 6 and the current font.
        {"lbl;Page :;610;;;;;;true", "lbl;Page :;610;0;0;6;Tahoma;8;1000;;0;0"},
        // The kind is lower-cased; a written alignment 0 is not the default 6; fields past 15 are ignored.
        {"LBL;Quorvel;100.5;50;3;0;Arial;14;true;1;TRUE;0;dd/mm/yy;7;16711680;extra;more",
         "lbl;Quorvel;100.5;50;3;0;Arial;14;1110;dd/mm/yy;7;16711680"},
        // A trailing star is dropped before the fields are cut.
        {"txt;break*", "txt;break;0;0;0;6;Tahoma;8;0000;;0;0"},
        {"lin;dotline2;13350;;;2;;;;;;;,2*", "lin;dotline2;13350;0;0;2;Tahoma;8;0000;,2;0;0"},
        // Numbers that are not numeric count as 0.
        {"lbl;x;wide;tall;many;right", "lbl;x;0;0;0;0;Tahoma;8;0000;;0;0"},
    };
    for (const Case& c : cases) EXPECT_EQ(parsed(c.item), c.fields) << c.item.toStdString();
}

TEST(BandText, LeadingNumbersFlagsAndCutting) {
    for (auto [text, number] : {std::pair{" 12.5abc", 12.5}, {"-3", -3.0}, {"1e3", 1000.0}, {"x1", 0.0}, {"", 0.0}})
        EXPECT_EQ(leadingNumber(text), number) << text;
    for (auto [text, flag] : {std::pair{"True", true}, {"-1", true}, {"0", false}, {"FALSE", false}})
        EXPECT_EQ(flagValue(text), flag) << text;
    EXPECT_TRUE(cutText(QString(), QStringLiteral("|")).isEmpty());
    EXPECT_EQ(cutText(QStringLiteral("a|"), QStringLiteral("|")), QStringList({"a", ""}));
    EXPECT_EQ(levelPiece(QStringLiteral("+b+c"), 0), u"");
    EXPECT_EQ(levelPiece(QStringLiteral("+b+c"), 2), u"c");
    EXPECT_EQ(levelPiece(QStringLiteral("+b+c"), 3), u"");
}

}  // namespace
}  // namespace vantrep::report
