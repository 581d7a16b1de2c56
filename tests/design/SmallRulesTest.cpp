// The drag-start rule and the update of one dictionary field.
#include <gtest/gtest.h>

#include "design/DimensionUpdate.h"
#include "design/DragStart.h"
#include "support/DesignFields.h"

namespace vantrep::design {
namespace {

TEST(DragStart, OnlyTheLeftButtonAloneOnASelectedDataCellMayDrag) {
    EXPECT_TRUE(PressMayStartDrag(Qt::LeftButton, Qt::NoModifier, 2, 1, 1, 0, true));
    EXPECT_FALSE(PressMayStartDrag(Qt::LeftButton, Qt::NoModifier, 2, 1, 1, 0, false));
    EXPECT_FALSE(PressMayStartDrag(Qt::RightButton, Qt::NoModifier, 2, 1, 1, 0, true));
    EXPECT_FALSE(PressMayStartDrag(Qt::LeftButton | Qt::RightButton, Qt::NoModifier, 2, 1, 1, 0, true));
    EXPECT_FALSE(PressMayStartDrag(Qt::LeftButton, Qt::ShiftModifier, 2, 1, 1, 0, true));
    EXPECT_FALSE(PressMayStartDrag(Qt::LeftButton, Qt::NoModifier, 0, 1, 1, 0, true));   // header row
    EXPECT_FALSE(PressMayStartDrag(Qt::LeftButton, Qt::NoModifier, 2, 0, 1, 1, true));   // fixed column
    EXPECT_FALSE(PressMayStartDrag(Qt::LeftButton, Qt::NoModifier, -1, 1, 1, 0, true));  // no cell
}

TEST(DragStart, MoreThanFivePixelsInAllStartTheDrag) {
    EXPECT_FALSE(DragDistanceReached({10, 10}, {10, 10}));
    EXPECT_FALSE(DragDistanceReached({10, 10}, {13, 8}));  // exactly 5
    EXPECT_TRUE(DragDistanceReached({10, 10}, {13, 7}));   // 6
    EXPECT_TRUE(DragDistanceReached({10, 10}, {4, 10}));
}

TEST(DragStart, TheDimensionGridsIgnoreOneStripOfPresses) {
    EXPECT_FALSE(PressIgnoredByDimensionGrid(2999));
    EXPECT_TRUE(PressIgnoredByDimensionGrid(3000));
    EXPECT_TRUE(PressIgnoredByDimensionGrid(3150));
    EXPECT_FALSE(PressIgnoredByDimensionGrid(3151));
}

TEST(UpdateDimension, SetsOnlyWhatIsGivenOnTheFieldFoundByIndexOrCaption) {
    auto aDims = testing::Fields({testing::Dim("Media", "R", 1), testing::Dim("Brand", "R", 2, 0)});
    EXPECT_TRUE(UpdateDimension(aDims, -1, "brand", "c", -1, 2));
    EXPECT_EQ(aDims(2).Layout, "C");
    EXPECT_EQ(aDims(2).Level, 2);
    EXPECT_EQ(aDims(2).FDec, 2);
    EXPECT_TRUE(UpdateDimension(aDims, 1, notSupplied, notSupplied, 3));
    EXPECT_EQ(aDims(1).Level, 3);
    EXPECT_EQ(aDims(1).Layout, "R");
    EXPECT_FALSE(UpdateDimension(aDims, 1));                   // nothing given
    EXPECT_FALSE(UpdateDimension(aDims, -1, "Nowhere", "P"));  // no such field
    EXPECT_FALSE(UpdateDimension(aDims, 7, notSupplied, "P"));
    EXPECT_EQ(aDims(1).Layout, "R");
}

}  // namespace
}  // namespace vantrep::design
