// Grid-flow layout: grid shape, measuring, the alignments in use, negative space and the setters' checks.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/ComponentTestSupport.h"
#include "awt/GridFlowLayout.h"

namespace {

using G = awt::GridFlowLayout;
using ui_test::refusal;

// The configuration dialog packs its grid to its preferred size and is not resizable: the remainder
// of a filled column and hidden children, which it never meets, are left out here.
using GridFlowLayoutTest = ui_test::LayoutTest<G>;

TEST_F(GridFlowLayoutTest, FiveChildrenInTwoColumnsMakeThreeRowsTheLastWithOneCell) {
    layout.setGrid(0, 2);
    layout.setHgap(3);
    layout.setVgap(2);
    useBox(awt::Insets{1, 2, 3, 4});
    EXPECT_EQ("6x4", preferred());
    add(10, 5);
    add(20, 6);
    add(12, 7);
    add(8, 4);
    add(15, 9);

    // Columns 15 and 20, rows 6, 7 and 9.
    EXPECT_EQ("44x30", preferred());
    layOut(44, 30);
    EXPECT_EQ("(2,1,15,6)(20,1,20,6)(2,9,15,7)(20,9,20,7)(2,18,15,9)", allBounds());
}

// The alignments the configuration dialog uses: the grid centred vertically, everything else filled.
TEST_F(GridFlowLayoutTest, FillAndAVerticallyCentredGridPlaceTheGridInTheInnerSpaceAndEachChildInItsCell) {
    const struct {
        G::Alignment gridV;
        int height;
        const char* bounds;
    } cases[] = {
        // Columns 40 and 30, rows 30 and 20; 110 x 74 pixels for the cells: 62 + 1 and 47 wide, 44 + 1 and 29 high.
        {G::FILL, 80, "(2,1,63,45)(69,1,47,45)(2,48,63,29)(69,48,47,29)"},
        {G::CENTER, 80, "(2,13,63,30)(69,13,47,30)(2,45,63,20)(69,45,47,20)"},  // 1 + (76 - 52) / 2
        {G::CENTER, 45, "(2,-4,63,30)(69,-4,47,30)(2,28,63,20)(69,28,47,20)"},  // (41 - 52) / 2 truncated toward zero
    };
    layout.setGrid(2, 2);
    layout.setHgap(4);
    layout.setVgap(2);
    useBox(awt::Insets{1, 2, 3, 4});
    add(40, 30);
    add(20, 10);
    add(10, 6);
    add(30, 20);
    for (const auto& c : cases) {
        layout.setGridVAlign(c.gridV);
        layOut(120, c.height);
        EXPECT_EQ(c.bounds, allBounds()) << "case " << (&c - cases);
    }
}

TEST_F(GridFlowLayoutTest, SettersRefuseBadCountsInOrderAndAnAlignmentOfTheOtherDirectionAndKeepTheirValues) {
    layout.setGrid(2, 3);
    const auto setGrid = [this](int rows, int cols) { return refusal([=] { layout.setGrid(rows, cols); }); };
    EXPECT_EQ(L"rows: -1", setGrid(-1, 2));
    EXPECT_EQ(L"cols: -3", setGrid(2, -3));
    EXPECT_EQ(L"rows: -1", setGrid(-1, -1));
    EXPECT_EQ(L"both of rows and cols specified 0", setGrid(0, 0));
    EXPECT_EQ(2, layout.getRows());
    EXPECT_EQ(3, layout.getCols());
    EXPECT_EQ(L"gridVAlign: 3", refusal([this] { layout.setGridVAlign(G::LEFT); }));
    EXPECT_EQ(G::FILL, layout.getGridVAlign());
}

}  // namespace
