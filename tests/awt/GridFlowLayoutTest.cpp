// Grid-flow layout: grid shape, measuring, the alignments in use, the FILL distribution with its
// rounding remainder, invisible children, negative space and the setters' checks.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/ComponentTestSupport.h"
#include "awt/GridFlowLayout.h"

namespace {

using G = awt::GridFlowLayout;
using ui_test::refusal;

class GridFlowLayoutTest : public ui_test::LayoutTest<G> {
protected:
    // Lays out one FILL row of children 5 high and of the given widths (a negative width: hidden) in
    // width; returns the bounds of all of them.
    std::string fillRow(const std::vector<int>& widths, int hgap, int width) {
        useBox(awt::Insets{0, 0, 0, 0});
        layout.setGrid(1, static_cast<int>(widths.size()));
        layout.setHgap(hgap);
        for (const int w : widths) {
            add(std::abs(w), 5)->setVisible(w >= 0);
        }
        layOut(width, 5);
        return allBounds();
    }
};

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

TEST_F(GridFlowLayoutTest, FillScalesColumnsToTheInnerWidthAndGivesTheRemainderToTheFirstPositiveOnes) {
    const struct {
        std::vector<int> widths;  // negative: hidden
        int hgap, width;
        const char* bounds;
    } cases[] = {
        {{30, 10}, 4, 45, "(0,0,31,5)(35,0,10,5)"},  // 41 pixels for 30 + 10: one left over
        {{10, 20, 30}, 2, 35, "(0,0,6,5)(8,0,10,5)(20,0,15,5)"},  // 31 pixels: 5, 10, 15 and one left over
        {{-40, 10, 10}, 5, 26, "(0,0,0,0)(0,0,11,5)(16,0,10,5)"},  // the empty column gets no pixel
        {{70000, 30000}, 0, 50000, "(0,0,35000,5)(35000,0,15000,5)"},  // no overflow in the product
        {{10, 10}, 10, 6, "(0,0,-2,5)(-2,0,-2,5)"},  // narrower than the gaps: -4 for both
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.bounds, fillRow(c.widths, c.hgap, c.width)) << "case " << (&c - cases);
    }
}

// A hidden child keeps no cell, but the row and column of visible ones keep their sizes; a row of hidden
// children takes no height and no gap.
TEST_F(GridFlowLayoutTest, HiddenChildrenCollapseOnlyRowsWithNothingVisible) {
    const struct {
        int rows, cols, vgap;
        std::vector<awt::Dimension> children;  // a negative width: hidden
        const char *preferred, *bounds;
    } cases[] = {
        {2, 2, 0, {{10, 10}, {20, 12}, {15, 8}, {-5, 5}}, "35x20", "(0,0,15,12)(15,0,20,12)(0,12,15,8)(0,0,0,0)"},
        {0, 1, 4, {{10, 10}, {-10, 10}, {10, 10}}, "10x24", "(0,0,10,10)(0,0,0,0)(0,14,10,10)"}};
    for (const auto& c : cases) {
        useBox(awt::Insets{0, 0, 0, 0});
        layout.setGrid(c.rows, c.cols);
        layout.setVgap(c.vgap);
        for (const awt::Dimension& child : c.children) {
            add(std::abs(child.width), child.height)->setVisible(child.width >= 0);
        }
        EXPECT_EQ(c.preferred, preferred());
        const awt::Dimension size = box->getPreferredSize();
        layOut(size.width, size.height);
        EXPECT_EQ(c.bounds, allBounds());
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
