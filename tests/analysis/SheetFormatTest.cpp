// Display patterns as the spreadsheet's number formats, and cell texts read
// back as the values they show.
#include <gtest/gtest.h>

#include "analysis/SheetFormat.h"

namespace vantrep::analysis {
namespace {

TEST(SheetFormat, PatternsBecomeSpreadsheetFormats) {
    struct Case {
        const char* pattern;
        SheetValueKind kind;
        const char* code;
    };
    const Case cases[] = {
        {"###,###,###.00", SheetValueKind::Number, "#,########.00"},
        {"#,###", SheetValueKind::Number, "#,###"},
        {"###.00", SheetValueKind::Number, "###.00"},
        {"###.00%", SheetValueKind::Number, "###.00%"},
        {".00", SheetValueKind::Number, "#.00"},
        {"0,", SheetValueKind::Number, "#,0"},
        {"\"USD \"#,##0", SheetValueKind::Number, "\\U\\S\\D\\ #,##0"},
        {"dd/mm/yyyy", SheetValueKind::Date, "dd\\/mm\\/yyyy"},
        {"d-m-yyyy", SheetValueKind::Date, "d\\-m\\-yyyy"},
        {"dd/mm/yy", SheetValueKind::Text, ""},
        {"mmm", SheetValueKind::Text, ""},
        {"hh:mm:ss", SheetValueKind::Text, ""},
        {"", SheetValueKind::Text, ""},
    };
    for (const Case& c : cases) {
        const SheetFormat f = SheetFormatOf(c.pattern);
        EXPECT_EQ(f.kind, c.kind) << c.pattern;
        EXPECT_EQ(f.numberFormat, c.code) << c.pattern;
    }
}

TEST(SheetFormat, CellsHoldTheValueTheyShow) {
    const SheetFormat number = SheetFormatOf("###,###.00");
    EXPECT_EQ(SheetValueOf("1,234.50", number), 1234.5);
    EXPECT_EQ(SheetValueOf("-.25", number), -0.25);
    EXPECT_EQ(SheetValueOf("12.50%", SheetFormatOf("###.00%")), 0.125);
    EXPECT_EQ(SheetValueOf("", number), std::nullopt);
    EXPECT_EQ(SheetValueOf("Others", number), std::nullopt);
    EXPECT_EQ(SheetValueOf("nan", number), std::nullopt);
    EXPECT_EQ(SheetValueOf("inf", number), std::nullopt);

    const SheetFormat date = SheetFormatOf("dd/mm/yyyy");
    EXPECT_EQ(SheetValueOf("04/11/2023", date), 45234.0);
    EXPECT_EQ(SheetValueOf("01/03/1900", date), 61.0);
    EXPECT_EQ(SheetValueOf("31/02/2023", date), std::nullopt);
    EXPECT_EQ(SheetValueOf("04/11/2023 ", date), std::nullopt);
    EXPECT_EQ(SheetValueOf("04-11-2023", date), std::nullopt);

    EXPECT_EQ(SheetValueOf("2023", SheetFormatOf("")), std::nullopt);
}

}  // namespace
}  // namespace vantrep::analysis
