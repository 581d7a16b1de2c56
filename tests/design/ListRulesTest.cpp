// The lists: check rules, Ctrl+Up / Ctrl+Down, drops with their checks, and
// a listing's column order.
#include <gtest/gtest.h>

#include "design/CheckRules.h"
#include "design/FillGrids.h"
#include "design/VariableDrop.h"
#include "support/DesignFields.h"

namespace vantrep::design {
namespace {

using testing::Captions;
using testing::Dim;
using testing::Fields;

session::FieldDef Shown(const QString& caption, int divisor, int level) {
    session::FieldDef f = Dim(caption, "", level);
    f.Layout.clear();
    f.Displayed = divisor > 0;
    f.Divisor = divisor;
    return f;
}

class Listing : public ::testing::Test {
protected:
    void SetUp() override {
        aDims = Fields({Shown("A", 1, 1), Shown("B", 2, 2), Shown("C", 3, 0), Shown("D", 4, 0), Shown("E", 0, 0)});
        FillVariableLists(grids, aDims, session::FieldList(), true);
    }
    QStringList checks() const {
        QStringList out;
        for (int r = 2; r < grids.selected.rows(); ++r) out << (IsChecked(grids.selected, r, 0) ? "x" : "-");
        return out;
    }
    QStringList selected() const { return Captions(grids, DesignGrid::Selected); }

    session::FieldList aDims;
    DesignGrids grids;
};

TEST_F(Listing, CheckedRowsStayOneBlockFromTheTop) {
    ASSERT_EQ(checks(), QStringList({"x", "x", "-", "-"}));
    EXPECT_FALSE(ToggleCheck(grids.selected, DesignGrid::Selected, 5, true));  // D: C above is unchecked
    EXPECT_FALSE(ToggleCheck(grids.selected, DesignGrid::Selected, 2, true));  // A: B below is checked
    EXPECT_TRUE(ToggleCheck(grids.selected, DesignGrid::Selected, 4, true));   // C under checked B
    EXPECT_TRUE(ToggleCheck(grids.selected, DesignGrid::Selected, 4, true));   // C again: D below is unchecked
    EXPECT_EQ(checks(), QStringList({"x", "x", "-", "-"}));
    EXPECT_FALSE(ToggleCheck(grids.rows, DesignGrid::Rows, 1, true));
}

TEST(SummaryChecks, AnySelectedVariableMayBeChecked) {
    session::FieldList aVars;
    for (const char* name : {"V1", "V2", "V3"}) aVars.append(Dim(name, "###", 1));
    DesignGrids grids;
    FillVariableLists(grids, session::FieldList(), aVars, false);
    EXPECT_TRUE(ToggleCheck(grids.selected, DesignGrid::Selected, 4, false));
    EXPECT_TRUE(IsChecked(grids.selected, 4, 0));
    EXPECT_TRUE(CanEditCell(DesignGrid::Selected, 0));
    EXPECT_FALSE(CanEditCell(DesignGrid::Selected, 1));
    EXPECT_TRUE(CanEditCell(DesignGrid::Columns, 1));
    EXPECT_FALSE(CanEditCell(DesignGrid::Columns, 2));
}

TEST_F(Listing, CtrlUpAndDownMoveOneRowAndKeepTheBlockAndTheColumnOrder) {
    EXPECT_EQ(MoveSelectedRow(grids.selected, 2, true, true, aDims), -1);   // first row up
    EXPECT_EQ(MoveSelectedRow(grids.selected, 5, false, true, aDims), -1);  // last row down
    // C up above B: the row below it (B) is checked, so C becomes checked.
    EXPECT_EQ(MoveSelectedRow(grids.selected, 4, true, true, aDims), 3);
    EXPECT_EQ(selected(), QStringList({"A", "C", "B", "D"}));
    EXPECT_EQ(checks(), QStringList({"x", "x", "x", "-"}));
    // B down under unchecked D becomes unchecked.
    EXPECT_EQ(MoveSelectedRow(grids.selected, 4, false, true, aDims), 5);
    EXPECT_EQ(selected(), QStringList({"A", "C", "D", "B"}));
    EXPECT_EQ(checks(), QStringList({"x", "x", "-", "-"}));
    // Every field's Divisor is its place in the list.
    EXPECT_EQ(aDims(1).Divisor, 1);
    EXPECT_EQ(aDims(3).Divisor, 2);
    EXPECT_EQ(aDims(4).Divisor, 3);
    EXPECT_EQ(aDims(2).Divisor, 4);
}

TEST_F(Listing, AnUncheckedFieldDroppedBetweenTwoCheckedOnesIsChecked) {
    ASSERT_TRUE(DropOnVariableList(grids, DesignGrid::Available, {2}, DesignGrid::Selected, 3));  // E on B
    EXPECT_EQ(selected(), QStringList({"A", "E", "B", "C", "D"}));
    EXPECT_EQ(checks(), QStringList({"x", "x", "x", "-", "-"}));
    EXPECT_TRUE(Captions(grids, DesignGrid::Available).isEmpty());
}

TEST_F(Listing, ACheckedRowTakesTheCheckAboveItUnlessItLandsFirst) {
    // A (checked) dropped on D: the row above (C) is unchecked.
    ASSERT_TRUE(DropOnVariableList(grids, DesignGrid::Selected, {2}, DesignGrid::Selected, 5));
    EXPECT_EQ(selected(), QStringList({"B", "C", "A", "D"}));
    EXPECT_EQ(checks(), QStringList({"x", "-", "-", "-"}));
    // B (checked) dropped on the first row keeps its check.
    ASSERT_TRUE(DropOnVariableList(grids, DesignGrid::Selected, {2}, DesignGrid::Selected, 2));
    EXPECT_EQ(checks(), QStringList({"x", "-", "-", "-"}));
}

TEST_F(Listing, AnAppendedUncheckedRowTakesTheCheckOfTheLastRow) {
    ASSERT_TRUE(DropOnVariableList(grids, DesignGrid::Selected, {4, 5}, DesignGrid::Available, -1));
    EXPECT_EQ(Captions(grids, DesignGrid::Available), QStringList({"E", "C", "D"}));
    ToggleCheck(grids.selected, DesignGrid::Selected, 3, true);  // B off: A is the block
    ToggleCheck(grids.selected, DesignGrid::Selected, 3, true);  // and on again
    ASSERT_TRUE(DropOnVariableList(grids, DesignGrid::Available, {2}, DesignGrid::Selected, 1));  // header: append
    EXPECT_EQ(selected(), QStringList({"A", "B", "E"}));
    EXPECT_EQ(checks(), QStringList({"x", "x", "x"}));
}

TEST_F(Listing, SelectedCannotBeEmptiedAndHeaderRowsDoNotMove) {
    EXPECT_FALSE(DropOnVariableList(grids, DesignGrid::Selected, {2, 3, 4, 5}, DesignGrid::Available, -1));
    EXPECT_FALSE(DropOnVariableList(grids, DesignGrid::Available, {1, 2}, DesignGrid::Selected, -1));
    EXPECT_EQ(selected(), QStringList({"A", "B", "C", "D"}));
    EXPECT_EQ(Captions(grids, DesignGrid::Available), QStringList({"E"}));
}

TEST_F(Listing, SeveralRowsKeepTheirOrderWithinTheList) {
    ASSERT_TRUE(DropOnVariableList(grids, DesignGrid::Selected, {2, 3}, DesignGrid::Selected, -1));
    EXPECT_EQ(selected(), QStringList({"C", "D", "A", "B"}));
    WriteDivisorPositions(grids.selected, aDims);
    EXPECT_EQ(aDims(3).Divisor, 1);
    EXPECT_EQ(aDims(2).Divisor, 4);
}

}  // namespace
}  // namespace vantrep::design
