// The designer's grids filled from the field dictionary, and the filter marker.
#include <gtest/gtest.h>

#include "design/FillGrids.h"
#include "design/OutlineRows.h"
#include "support/DesignFields.h"

namespace vantrep::design {
namespace {

using testing::Captions;
using testing::Dim;
using testing::Fields;
using testing::Groups;

TEST(FillDimensionGrids, EveryGroupCarriesTheNestedDimensions) {
    // A (group 0) and B (group 2) at level 1, X nested at level 2.
    const auto aDims = Fields({Dim("A", "C", 1, 0), Dim("R1", "R", 1), Dim("X", "C", 2), Dim("B", "C", 1, 2, true)});
    DesignGrids grids;
    FillDimensionGrids(grids, aDims);
    EXPECT_EQ(Captions(grids, DesignGrid::Columns), QStringList({"[A]", "X", "[B]", "X"}));
    EXPECT_EQ(Groups(grids), QStringList({"A", "A", "B", "B"}));
    EXPECT_TRUE(grids.columns.isSubtotal(3));
    EXPECT_FALSE(grids.columns.isSubtotal(2));
    EXPECT_TRUE(IsChecked(grids.columns, 3, 1));  // B's ShowTotal travels in the hidden check column
    EXPECT_FALSE(IsChecked(grids.columns, 1, 1));
    EXPECT_EQ(grids.columns.cellData(2, 2).toString(), "X");
    EXPECT_EQ(Captions(grids, DesignGrid::Rows), QStringList({"R1"}));
    EXPECT_EQ(grids.rows.textMatrix(0, 1), "Row");
    EXPECT_EQ(grids.columns.textMatrix(0, 2), "Column");
    EXPECT_TRUE(grids.columns.cellBold(0, 2));
    EXPECT_TRUE(grids.rows.colHidden(0));
    EXPECT_TRUE(grids.columns.colHidden(1));
}

TEST(FillDimensionGrids, RowsFollowTheirLevelsAndTheLaterOfTwoEqualLevelsWins) {
    const auto aDims = Fields({Dim("Second", "R", 2), Dim("First", "R", 1), Dim("Other", "R", 1), Dim("Page", "P", 1),
                               Dim("Spend", "N", 1)});
    DesignGrids grids;
    FillDimensionGrids(grids, aDims);
    EXPECT_EQ(Captions(grids, DesignGrid::Rows), QStringList({"Other", "Second"}));
    EXPECT_TRUE(Captions(grids, DesignGrid::Columns).isEmpty());
}

TEST(FillDimensionGrids, AGapInTheLevelsLeavesNoEmptyRow) {
    const auto aDims = Fields({Dim("Third", "R", 3), Dim("First", "R", 1)});
    DesignGrids grids;
    FillDimensionGrids(grids, aDims);
    EXPECT_EQ(Captions(grids, DesignGrid::Rows), QStringList({"First", "Third"}));
}

TEST(OutlineRows, FindsTopLevelRowsAndCountsTheFirstGroup) {
    const auto aDims =
        Fields({Dim("A", "C", 1, 0), Dim("X", "C", 2), Dim("Y", "C", 3), Dim("B", "C", 1, 2), Dim("C", "C", 1, 3)});
    DesignGrids grids;
    FillDimensionGrids(grids, aDims);
    // A X Y B X Y C X Y
    EXPECT_EQ(FindOutlineRow(grids.columns, 1, 1), 1);
    EXPECT_EQ(FindOutlineRow(grids.columns, 2, 1), 4);
    EXPECT_EQ(FindOutlineRow(grids.columns, 8, 1), 0);
    EXPECT_EQ(CountFirstColumnGroup(grids.columns), 3);

    DesignGrids single;
    FillDimensionGrids(single, Fields({Dim("A", "C", 1), Dim("X", "C", 2)}));
    EXPECT_EQ(CountFirstColumnGroup(single.columns), 2);  // no second group: the last row
}

session::FieldDef Listed(const QString& caption, bool displayed, int divisor, int level = 0) {
    session::FieldDef f = Dim(caption, "", level);
    f.Layout.clear();
    f.Displayed = displayed;
    f.Divisor = divisor;
    return f;
}

TEST(FillVariableLists, AListingSelectsItsDisplayedFieldsInColumnOrderAndNeverListsClipdet) {
    session::FieldDef clip = Listed("Clip", true, 2);
    clip.FName = "CLIPDET";
    session::FieldDef date = Listed("When", true, 3, 0);
    date.FType = "D";
    date.FLen = 8;
    session::FieldDef amount = Listed("Amount", false, 0);
    amount.FType = "N";
    amount.FDec = 2;
    const auto aDims = Fields({Listed("Third", true, 4), date, Listed("First", true, 1, 1), clip, amount,
                               Listed("Hidden", false, 0)});
    DesignGrids grids;
    FillVariableLists(grids, aDims, session::FieldList(), true);
    // Column order 1, 2 (the clip field, not listed), 3, 4.
    EXPECT_EQ(Captions(grids, DesignGrid::Selected), QStringList({"First", "When", "Third"}));
    EXPECT_EQ(Captions(grids, DesignGrid::Available), QStringList({"Amount", "Hidden"}));
    EXPECT_TRUE(IsChecked(grids.selected, 2, 0));   // First groups (Level 1)
    EXPECT_FALSE(IsChecked(grids.selected, 3, 0));
    EXPECT_EQ(grids.selected.textMatrix(3, 2), "Date");
    EXPECT_EQ(grids.selected.textMatrix(3, 3), "8");
    EXPECT_EQ(grids.available.textMatrix(2, 2), "Num");
    EXPECT_EQ(grids.available.textMatrix(2, 6), "2");
    EXPECT_EQ(grids.available.textMatrix(3, 2), "Char");
    EXPECT_EQ(grids.selected.textMatrix(0, 3), "Selected");
    EXPECT_EQ(grids.selected.textMatrix(1, 3), "Width");
    EXPECT_FALSE(grids.selected.colHidden(2));
    EXPECT_FALSE(grids.selected.colHidden(0));
    EXPECT_TRUE(grids.available.colHidden(0));
    EXPECT_TRUE(grids.selected.colHidden(4));
}

TEST(FillVariableLists, ASummarySelectsItsPlacedVariablesInOrder) {
    session::FieldList aVars;
    for (auto [name, level, total] : {std::tuple{"Spend", 1, true}, {"Spots", 2, false}, {"Space", 0, false}}) {
        session::FieldDef v = Dim(name, "#,###", level, 2, total);
        v.FType.clear();
        v.Divisor = 1000;
        aVars.append(v);
    }
    DesignGrids grids;
    FillVariableLists(grids, session::FieldList(), aVars, false);
    EXPECT_EQ(Captions(grids, DesignGrid::Selected), QStringList({"Spend", "Spots"}));
    EXPECT_EQ(Captions(grids, DesignGrid::Available), QStringList({"Space"}));
    EXPECT_TRUE(IsChecked(grids.selected, 2, 0));
    EXPECT_FALSE(IsChecked(grids.selected, 3, 0));
    EXPECT_EQ(grids.selected.textMatrix(2, 2), "SPEND");
    EXPECT_EQ(grids.selected.textMatrix(2, 5), "#,###");
    EXPECT_EQ(grids.selected.textMatrix(2, 6), "1000");
    EXPECT_TRUE(grids.selected.colHidden(2));
    EXPECT_TRUE(grids.selected.colHidden(3));
}

TEST(MarkFilteredFields, AFilteredCaptionIsMarkedInBlueWhereverItStands) {
    const auto aDims = Fields({Dim("Media", "R", 1), Dim("Month", "C", 1), Dim("Brand", "C", 2)});
    std::vector<session::ValueList> cmbField(4);
    cmbField[1].items = QStringList{"Filtered Media", "TV"};
    cmbField[2].items = QStringList{"Month", "Jan", "Feb"};
    cmbField[3].items = QStringList{"Filtered Brand", "Acme"};
    DesignGrids grids;
    FillDimensionGrids(grids, Fields({Dim("Media", "R", 1), Dim("Month", "C", 1, 0), Dim("Other", "C", 1, 2),
                                      Dim("Brand", "C", 2)}));
    MarkFilteredFields(grids, aDims, cmbField, false);
    EXPECT_EQ(grids.rows.textMatrix(1, 1), "Filtered Media");
    EXPECT_EQ(grids.rows.cellForeColor(1, 1), filteredColor);
    EXPECT_EQ(Captions(grids, DesignGrid::Columns),
              QStringList({"[Month]", "Filtered Brand", "[Other]", "Filtered Brand"}));
    EXPECT_EQ(grids.columns.cellForeColor(2, 2), filteredColor);
    EXPECT_EQ(grids.columns.cellForeColor(4, 2), filteredColor);
    EXPECT_EQ(grids.columns.cellForeColor(1, 2), plainColor);
    EXPECT_EQ(RowCaption(grids.columns, DesignGrid::Columns, 2), "Brand");

    // The filter taken away: the bare caption in black again.
    cmbField[1].items = QStringList{"Media", "TV", "Radio"};
    MarkFilteredFields(grids, aDims, cmbField, false);
    EXPECT_EQ(grids.rows.textMatrix(1, 1), "Media");
    EXPECT_EQ(grids.rows.cellForeColor(1, 1), plainColor);
}

}  // namespace
}  // namespace vantrep::design
