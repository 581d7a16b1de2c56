// Drops on the row and column grids: refusals, the column grid's selection
// check, the value check, removal by caption and the outline of groups.
#include <gtest/gtest.h>

#include "design/DimensionDrop.h"
#include "design/FillGrids.h"
#include "session/support/FakeUi.h"
#include "support/DesignFields.h"

namespace vantrep::design {
namespace {

using testing::Captions;
using testing::Dim;
using testing::Fields;
using testing::Groups;

class DimensionDrop : public ::testing::Test {
protected:
    void fill(const session::FieldList& aDims) { FillDimensionGrids(grids, aDims); }
    bool drop(DesignGrid source, int r1, int r2, DesignGrid target, int targetRow) {
        return DropOnDimensionGrid(grids, source, r1, r2, target, targetRow, check, ui);
    }
    QStringList rows() const { return Captions(grids, DesignGrid::Rows); }
    QStringList columns() const { return Captions(grids, DesignGrid::Columns); }

    DesignGrids grids;
    session::testing::FakeUi ui;
    QStringList checked;  // "caption:role" of every value check asked for
    QString refuse;       // the caption whose values do not fit
    DimensionValueCheck check = [this](const QString& caption, const QString& role) {
        checked << caption + ":" + role;
        return caption != refuse;
    };
};

TEST_F(DimensionDrop, ARowFieldOnTheHeaderRowBecomesTheLastGroupWithCopiesOfTheFirstGroupsChildren) {
    fill(Fields({Dim("R1", "R", 1), Dim("R2", "R", 2), Dim("A", "C", 1), Dim("X", "C", 2), Dim("Y", "C", 3)}));
    ASSERT_TRUE(drop(DesignGrid::Rows, 2, 2, DesignGrid::Columns, 0));
    EXPECT_EQ(rows(), QStringList({"R1"}));
    EXPECT_EQ(columns(), QStringList({"[A]", "X", "Y", "[R2]", "X", "Y"}));
    EXPECT_EQ(Groups(grids), QStringList({"A", "A", "A", "R2", "R2", "R2"}));
    EXPECT_EQ(grids.columns.cellData(5, 2).toString(), "X");
    EXPECT_EQ(checked, QStringList({"R2:C"}));
}

TEST_F(DimensionDrop, ARowFieldOnADataRowIsNestedInEveryGroup) {
    fill(Fields({Dim("R1", "R", 1), Dim("R2", "R", 2), Dim("A", "C", 1, 0), Dim("B", "C", 1, 2), Dim("X", "C", 2)}));
    ASSERT_TRUE(drop(DesignGrid::Rows, 1, 1, DesignGrid::Columns, 1));
    EXPECT_EQ(columns(), QStringList({"[A]", "X", "R1", "[B]", "X", "R1"}));
    EXPECT_EQ(Groups(grids), QStringList({"A", "A", "A", "B", "B", "B"}));
    EXPECT_EQ(rows(), QStringList({"R2"}));
}

TEST_F(DimensionDrop, AColumnChildLeavesEveryGroupAndArrivesOnceInTheRows) {
    fill(Fields({Dim("R1", "R", 1), Dim("A", "C", 1, 0), Dim("B", "C", 1, 2), Dim("X", "C", 2), Dim("Y", "C", 3)}));
    ASSERT_EQ(columns(), QStringList({"[A]", "X", "Y", "[B]", "X", "Y"}));
    ASSERT_TRUE(drop(DesignGrid::Columns, 2, 2, DesignGrid::Rows, 1));
    EXPECT_EQ(columns(), QStringList({"[A]", "Y", "[B]", "Y"}));
    EXPECT_EQ(rows(), QStringList({"X", "R1"}));
    EXPECT_EQ(grids.rows.cellData(1, 1).toString(), "X");
    EXPECT_EQ(checked, QStringList({"X:R"}));
}

TEST_F(DimensionDrop, TheOnlyGroupDraggedAwayLeavesItsFirstChildAsTheGroup) {
    fill(Fields({Dim("R1", "R", 1), Dim("A", "C", 1), Dim("X", "C", 2), Dim("Y", "C", 3)}));
    ASSERT_TRUE(drop(DesignGrid::Columns, 1, 1, DesignGrid::Rows, -1));
    EXPECT_EQ(columns(), QStringList({"[X]", "Y"}));
    EXPECT_EQ(Groups(grids), QStringList({"X", "X"}));
    EXPECT_EQ(rows(), QStringList({"R1", "A"}));
}

TEST_F(DimensionDrop, TwoGroupsInOneSelectionAreAnInvalidSelection) {
    fill(Fields({Dim("R1", "R", 1), Dim("A", "C", 1, 0), Dim("B", "C", 1, 2), Dim("X", "C", 2)}));
    EXPECT_FALSE(drop(DesignGrid::Columns, 1, 3, DesignGrid::Rows, -1));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Invalid selection");
    EXPECT_EQ(ui.messages[0].icon, session::MessageIcon::Critical);
    EXPECT_EQ(columns(), QStringList({"[A]", "X", "[B]", "X"}));
    EXPECT_EQ(rows(), QStringList({"R1"}));
    EXPECT_TRUE(checked.isEmpty());
}

TEST_F(DimensionDrop, AGroupDroppedOnAnotherGroupBecomesItsChild) {
    fill(Fields({Dim("R1", "R", 1), Dim("A", "C", 1, 0), Dim("B", "C", 1, 2)}));
    ASSERT_TRUE(drop(DesignGrid::Columns, 2, 2, DesignGrid::Columns, 1));
    EXPECT_EQ(columns(), QStringList({"[A]", "B"}));
    EXPECT_EQ(Groups(grids), QStringList({"A", "A"}));
    EXPECT_EQ(checked, QStringList({"B:C"}));  // checked also within one grid
}

TEST_F(DimensionDrop, AChildDroppedOnTheHeaderRowBecomesAGroup) {
    fill(Fields({Dim("R1", "R", 1), Dim("A", "C", 1), Dim("X", "C", 2), Dim("Y", "C", 3)}));
    ASSERT_TRUE(drop(DesignGrid::Columns, 3, 3, DesignGrid::Columns, 0));
    EXPECT_EQ(columns(), QStringList({"[A]", "X", "[Y]", "X"}));
    EXPECT_EQ(Groups(grids), QStringList({"A", "A", "Y", "Y"}));
}

TEST_F(DimensionDrop, AChildDroppedOnAnotherChildGoesBeforeItInEveryGroup) {
    fill(Fields({Dim("R1", "R", 1), Dim("A", "C", 1, 0), Dim("B", "C", 1, 2), Dim("X", "C", 2), Dim("Y", "C", 3)}));
    ASSERT_TRUE(drop(DesignGrid::Columns, 3, 3, DesignGrid::Columns, 2));
    EXPECT_EQ(columns(), QStringList({"[A]", "Y", "X", "[B]", "Y", "X"}));
    EXPECT_EQ(Groups(grids), QStringList({"A", "A", "A", "B", "B", "B"}));
}

TEST_F(DimensionDrop, AChildDroppedBelowTheLastRowIsTheLastChildOfEveryGroup) {
    fill(Fields({Dim("R1", "R", 1), Dim("A", "C", 1, 0), Dim("B", "C", 1, 2), Dim("X", "C", 2), Dim("Y", "C", 3)}));
    ASSERT_TRUE(drop(DesignGrid::Columns, 2, 2, DesignGrid::Columns, -1));
    EXPECT_EQ(columns(), QStringList({"[A]", "Y", "X", "[B]", "Y", "X"}));
}

TEST_F(DimensionDrop, AGroupDroppedOnAChildIsNestedBeforeItAndTakesItsChildCopiesAlong) {
    fill(Fields({Dim("R1", "R", 1), Dim("A", "C", 1, 0), Dim("B", "C", 1, 2), Dim("X", "C", 2)}));
    ASSERT_TRUE(drop(DesignGrid::Columns, 3, 3, DesignGrid::Columns, 2));
    EXPECT_EQ(columns(), QStringList({"[A]", "B", "X"}));
    EXPECT_EQ(Groups(grids), QStringList({"A", "A", "A"}));
}

TEST_F(DimensionDrop, ARowDroppedOnAColumnGridWithoutGroupsBecomesTheFirstGroup) {
    fill(Fields({Dim("R1", "R", 1), Dim("R2", "R", 2)}));
    ASSERT_TRUE(drop(DesignGrid::Rows, 1, 1, DesignGrid::Columns, -1));
    EXPECT_EQ(columns(), QStringList({"[R1]"}));
    EXPECT_EQ(Groups(grids), QStringList({"R1"}));
}

TEST_F(DimensionDrop, RowsMoveWithinTheRowGrid) {
    fill(Fields({Dim("R1", "R", 1), Dim("R2", "R", 2), Dim("R3", "R", 3)}));
    ASSERT_TRUE(drop(DesignGrid::Rows, 1, 1, DesignGrid::Rows, 3));  // on R3: R1 goes before it
    EXPECT_EQ(rows(), QStringList({"R2", "R1", "R3"}));
    ASSERT_TRUE(drop(DesignGrid::Rows, 3, 3, DesignGrid::Rows, 1));
    EXPECT_EQ(rows(), QStringList({"R3", "R2", "R1"}));
}

TEST_F(DimensionDrop, RefusedDropsChangeNothingAndSayNothing) {
    fill(Fields({Dim("R1", "R", 1), Dim("R2", "R", 2), Dim("A", "C", 1), Dim("X", "C", 2)}));
    EXPECT_FALSE(drop(DesignGrid::Columns, 2, 2, DesignGrid::Rows, 0));   // the row grid's header row
    EXPECT_FALSE(drop(DesignGrid::Rows, 1, 2, DesignGrid::Columns, 1));   // every row of the row grid
    EXPECT_FALSE(drop(DesignGrid::Columns, 1, 2, DesignGrid::Rows, 1));   // every row of the column grid
    EXPECT_FALSE(drop(DesignGrid::Rows, 0, 0, DesignGrid::Columns, 1));   // a header selection
    EXPECT_EQ(rows(), QStringList({"R1", "R2"}));
    EXPECT_EQ(columns(), QStringList({"[A]", "X"}));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(checked.isEmpty());
}

TEST_F(DimensionDrop, AFieldWhoseValuesDoNotFitCancelsTheWholeDrop) {
    fill(Fields({Dim("R1", "R", 1), Dim("R2", "R", 2), Dim("R3", "R", 3), Dim("A", "C", 1), Dim("X", "C", 2)}));
    refuse = "R2";
    EXPECT_FALSE(drop(DesignGrid::Rows, 1, 2, DesignGrid::Columns, 0));
    EXPECT_EQ(checked, QStringList({"R1:C", "R2:C"}));
    EXPECT_EQ(rows(), QStringList({"R1", "R2", "R3"}));
    EXPECT_EQ(columns(), QStringList({"[A]", "X"}));

    // The only group is not given up to a drop that is cancelled.
    refuse = "A";
    EXPECT_FALSE(drop(DesignGrid::Columns, 1, 1, DesignGrid::Rows, -1));
    EXPECT_EQ(columns(), QStringList({"[A]", "X"}));
}

TEST_F(DimensionDrop, ChecksTravelWithTheMovedRows) {
    fill(Fields({Dim("R1", "R", 1, 0, true), Dim("R2", "R", 2), Dim("A", "C", 1)}));
    ASSERT_TRUE(drop(DesignGrid::Rows, 1, 1, DesignGrid::Columns, 0));
    EXPECT_TRUE(IsChecked(grids.columns, 2, 1));
    EXPECT_FALSE(IsChecked(grids.columns, 1, 1));
}

}  // namespace
}  // namespace vantrep::design
