// Parsing band items: the 15 fields, their defaults, numbers and flags.
#include <gtest/gtest.h>

#include "report/BandItem.h"
#include "report/BandText.h"

namespace vantrep::report {
namespace {

print::PrintFont current() {
    print::PrintFont font;
    font.name = QStringLiteral("Tahoma");
    font.size = 8;
    return font;
}

TEST(BandItemParse, EmptyFieldsTakeTheirDefaults) {
    BandItem item = parseBandItem(QStringLiteral("lbl;Page :;610;;;;;;true"), current());
    EXPECT_EQ(item.kind, u"lbl");
    EXPECT_EQ(item.text, u"Page :");
    EXPECT_EQ(item.width, 610);
    EXPECT_EQ(item.height, 0);
    EXPECT_EQ(item.maxChars, 0);
    EXPECT_EQ(item.align, 6);
    EXPECT_EQ(item.fontName, u"Tahoma");
    EXPECT_EQ(item.fontSize, 8);
    EXPECT_TRUE(item.bold);
    EXPECT_FALSE(item.italic);
    EXPECT_EQ(item.format, u"");
    EXPECT_EQ(item.color, 0);
}

TEST(BandItemParse, EveryFieldInItsPosition) {
    BandItem item = parseBandItem(
        QStringLiteral("LBL;Quorvel;100.5;50;3;0;Arial;14;true;1;TRUE;0;dd/mm/yy;7;16711680;extra;more"), current());
    EXPECT_EQ(item.kind, u"lbl");  // lower-cased
    EXPECT_EQ(item.width, 100.5);
    EXPECT_EQ(item.height, 50);
    EXPECT_EQ(item.maxChars, 3);
    EXPECT_EQ(item.align, 0);  // written 0 is not the default 6
    EXPECT_EQ(item.fontName, u"Arial");
    EXPECT_EQ(item.fontSize, 14);
    EXPECT_TRUE(item.bold);
    EXPECT_TRUE(item.italic);
    EXPECT_TRUE(item.underline);
    EXPECT_FALSE(item.strikeOut);
    EXPECT_EQ(item.format, u"dd/mm/yy");
    EXPECT_EQ(item.cellAttribute, 7);
    EXPECT_EQ(item.color, 16711680);
}

TEST(BandItemParse, TrailingStarIsDroppedBeforeTheFieldsAreCut) {
    BandItem item = parseBandItem(QStringLiteral("txt;break*"), current());
    EXPECT_EQ(item.text, u"break");
    BandItem line = parseBandItem(QStringLiteral("lin;dotline2;13350;;;2;;;;;;;,2*"), current());
    EXPECT_EQ(line.format, u",2");
    EXPECT_EQ(line.align, 2);
}

TEST(BandItemParse, NonNumericNumbersCountAsZero) {
    BandItem item = parseBandItem(QStringLiteral("lbl;x;wide;tall;many;right"), current());
    EXPECT_EQ(item.width, 0);
    EXPECT_EQ(item.height, 0);
    EXPECT_EQ(item.maxChars, 0);
    EXPECT_EQ(item.align, 0);
}

TEST(BandText, LeadingNumbersFlagsAndCutting) {
    EXPECT_EQ(leadingNumber(QStringLiteral(" 12.5abc")), 12.5);
    EXPECT_EQ(leadingNumber(QStringLiteral("-3")), -3);
    EXPECT_EQ(leadingNumber(QStringLiteral("1e3")), 1000);
    EXPECT_EQ(leadingNumber(QStringLiteral("x1")), 0);
    EXPECT_EQ(leadingNumber(QStringLiteral("")), 0);
    EXPECT_TRUE(flagValue(QStringLiteral("True")));
    EXPECT_TRUE(flagValue(QStringLiteral("-1")));
    EXPECT_FALSE(flagValue(QStringLiteral("0")));
    EXPECT_FALSE(flagValue(QStringLiteral("FALSE")));
    EXPECT_TRUE(cutText(QString(), QStringLiteral("|")).isEmpty());
    EXPECT_EQ(cutText(QStringLiteral("a|"), QStringLiteral("|")), QStringList({"a", ""}));
    EXPECT_EQ(levelPiece(QStringLiteral("+b+c"), 0), u"");
    EXPECT_EQ(levelPiece(QStringLiteral("+b+c"), 2), u"c");
    EXPECT_EQ(levelPiece(QStringLiteral("+b+c"), 3), u"");
}

}  // namespace
}  // namespace vantrep::report
