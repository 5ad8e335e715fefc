// Grid-flow layout: grid shape, measuring, preferred size, grid and cell alignment, the FILL distribution
// with its rounding remainder, invisible children, negative space, and the checks of the setters.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "LayoutTestSupport.h"
#include "awt/GridFlowLayout.h"
#include "awt/TextMetrics.h"
#include "klib/Exception.h"

namespace {

using awt::GridFlowLayout;
using layout_test::addHiddenStub;
using layout_test::addStub;
using layout_test::boundsOf;
using layout_test::Box;
using layout_test::Stub;
using layout_test::text;

class GridFlowLayoutTest : public ::testing::Test {
protected:
    void useBox(awt::Insets insets = awt::Insets{0, 0, 0, 0}) {
        boxHolder = std::make_unique<Box>(0, insets);
        boxHolder->setLayout(&layout);
    }
    Box& box() { return *boxHolder; }
    std::string preferred() { return text(box().getPreferredSize()); }
    void layOut(int width, int height) {
        box().setSize(width, height);
        layout.layoutContainer(boxHolder.get());
    }
    void alignGrid(int horizontal, int vertical) {
        layout.setGridHAlign(horizontal);
        layout.setGridVAlign(vertical);
    }

    GridFlowLayout layout;
    std::unique_ptr<Box> boxHolder;
};

// --- shape and preferred size ---

TEST_F(GridFlowLayoutTest, FiveChildrenInTwoColumnsMakeThreeRowsTheLastWithOneCell) {
    layout.setGrid(0, 2);
    layout.setHgap(3);
    layout.setVgap(2);
    useBox(awt::Insets{1, 2, 3, 4});
    Stub* const c0 = addStub(box(), 10, 5);
    Stub* const c1 = addStub(box(), 20, 6);
    Stub* const c2 = addStub(box(), 12, 7);
    Stub* const c3 = addStub(box(), 8, 4);
    Stub* const c4 = addStub(box(), 15, 9);

    // Columns 15 and 20, rows 6, 7 and 9.
    EXPECT_EQ("44x30", preferred());
    layOut(44, 30);

    EXPECT_EQ("(2,1,15,6)", boundsOf(c0));
    EXPECT_EQ("(20,1,20,6)", boundsOf(c1));
    EXPECT_EQ("(2,9,15,7)", boundsOf(c2));
    EXPECT_EQ("(20,9,20,7)", boundsOf(c3));
    EXPECT_EQ("(2,18,15,9)", boundsOf(c4));
}

TEST_F(GridFlowLayoutTest, NoChildrenPreferExactlyTheInsets) {
    layout.setGrid(0, 2);
    useBox(awt::Insets{1, 2, 3, 4});
    EXPECT_EQ("6x4", preferred());
}

TEST_F(GridFlowLayoutTest, FixedRowsTakeAsManyColumnsAsTheChildrenNeed) {
    layout.setGrid(2, 0);
    useBox();
    std::vector<Stub*> c;
    for (int i = 0; i < 5; ++i) {
        c.push_back(addStub(box(), 10, 10));
    }

    EXPECT_EQ("30x20", preferred());
    layOut(30, 20);
    EXPECT_EQ("(0,10,10,10)", boundsOf(c[3]));
    EXPECT_EQ("(10,10,10,10)", boundsOf(c[4]));
}

TEST_F(GridFlowLayoutTest, ChildrenBeyondAFixedGridTakeNoPart) {
    useBox();
    Stub* const first = addStub(box(), 10, 10);
    Stub* const extra = addStub(box(), 50, 50);

    EXPECT_EQ("10x10", preferred());
    layOut(10, 10);
    EXPECT_EQ("(0,0,10,10)", boundsOf(first));
    EXPECT_EQ("(0,0,0,0)", boundsOf(extra));
}

// --- grid alignment ---

class GridAlignment : public GridFlowLayoutTest {
protected:
    void SetUp() override {
        layout.setGrid(1, 2);
        layout.setHgap(4);
        useBox(awt::Insets{1, 2, 3, 4});
        a = addStub(box(), 10, 10);
        b = addStub(box(), 20, 6);
    }
    Stub* a = nullptr;
    Stub* b = nullptr;
};

TEST_F(GridAlignment, LeftTopStartsAtTheInsets) {
    alignGrid(GridFlowLayout::LEFT, GridFlowLayout::TOP);
    layOut(100, 50);
    EXPECT_EQ("(2,1,10,10)", boundsOf(a));
    EXPECT_EQ("(16,1,20,10)", boundsOf(b));
}

TEST_F(GridAlignment, RightBottomEndsAtTheInsets) {
    alignGrid(GridFlowLayout::RIGHT, GridFlowLayout::BOTTOM);
    layOut(100, 50);
    EXPECT_EQ("(62,37,10,10)", boundsOf(a));
    EXPECT_EQ("(76,37,20,10)", boundsOf(b));
}

TEST_F(GridAlignment, CentreSplitsTheSpareSpace) {
    alignGrid(GridFlowLayout::CENTER, GridFlowLayout::CENTER);
    layOut(100, 50);
    EXPECT_EQ("(32,19,10,10)", boundsOf(a));
    EXPECT_EQ("(46,19,20,10)", boundsOf(b));
}

TEST_F(GridAlignment, FillStretchesColumnsAndRowsInProportion) {
    layOut(100, 50);
    // Inner 94 x 46; 90 pixels for columns of 10 and 20.
    EXPECT_EQ("(2,1,30,46)", boundsOf(a));
    EXPECT_EQ("(36,1,60,46)", boundsOf(b));
}

TEST_F(GridFlowLayoutTest, CentredGridWiderThanTheSpaceStartsLeftOfTheInset) {
    alignGrid(GridFlowLayout::CENTER, GridFlowLayout::TOP);
    useBox(awt::Insets{0, 2, 0, 4});
    Stub* const wide = addStub(box(), 50, 10);

    layOut(21, 10);

    // 2 + (21 - 6 - 50) / 2, truncated toward zero.
    EXPECT_EQ("(-15,0,50,10)", boundsOf(wide));
}

// --- FILL distribution ---

TEST_F(GridFlowLayoutTest, FillGivesTheRoundingRemainderToTheFirstColumn) {
    layout.setGrid(1, 2);
    layout.setHgap(4);
    useBox();
    Stub* const a = addStub(box(), 30, 10);
    Stub* const b = addStub(box(), 10, 10);

    layOut(45, 10);

    EXPECT_EQ("(0,0,31,10)", boundsOf(a));
    EXPECT_EQ("(35,0,10,10)", boundsOf(b));
}

TEST_F(GridFlowLayoutTest, FillShrinksColumnsAndStillEndsAtTheInnerWidth) {
    layout.setGrid(1, 3);
    layout.setHgap(2);
    useBox();
    Stub* const a = addStub(box(), 10, 5);
    Stub* const b = addStub(box(), 20, 5);
    Stub* const c = addStub(box(), 30, 5);

    layOut(35, 5);

    // 31 pixels scale to 5, 10, 15; the one left over goes to the first column.
    EXPECT_EQ("(0,0,6,5)", boundsOf(a));
    EXPECT_EQ("(8,0,10,5)", boundsOf(b));
    EXPECT_EQ("(20,0,15,5)", boundsOf(c));
}

TEST_F(GridFlowLayoutTest, FillRemainderSkipsAnEmptyColumnSoTheGridStillFits) {
    layout.setGrid(1, 3);
    layout.setHgap(5);
    useBox();
    addHiddenStub(box(), 40, 5);
    Stub* const b = addStub(box(), 10, 5);
    Stub* const c = addStub(box(), 10, 5);

    layOut(26, 5);

    EXPECT_EQ("(0,0,11,5)", boundsOf(b));
    EXPECT_EQ("(16,0,10,5)", boundsOf(c));
}

TEST_F(GridFlowLayoutTest, FillScalesLargeColumnsWithoutOverflow) {
    layout.setGrid(1, 2);
    useBox();
    addStub(box(), 70000, 5);
    Stub* const b = addStub(box(), 30000, 5);

    layOut(50000, 5);

    EXPECT_EQ("(35000,0,15000,5)", boundsOf(b));
}

TEST_F(GridFlowLayoutTest, FillNarrowerThanTheGapsPassesNegativeWidthsOn) {
    layout.setGrid(1, 2);
    layout.setHgap(10);
    useBox();
    Stub* const a = addStub(box(), 10, 5);
    Stub* const b = addStub(box(), 10, 5);

    layOut(6, 5);

    // 6 - 10 = -4 pixels for both columns.
    EXPECT_EQ("(0,0,-2,5)", boundsOf(a));
    EXPECT_EQ("(-2,0,-2,5)", boundsOf(b));
}

// --- cell alignment ---

class CellAlignment : public GridFlowLayoutTest {
protected:
    // Columns 40 and 30 wide, rows 30 and 20 high; b and c are smaller than their cells.
    void SetUp() override {
        layout.setGrid(2, 2);
        alignGrid(GridFlowLayout::LEFT, GridFlowLayout::TOP);
        useBox();
        addStub(box(), 40, 30);
        b = addStub(box(), 20, 10);
        c = addStub(box(), 10, 6);
        addStub(box(), 30, 20);
    }
    void alignCells(int horizontal, int vertical) {
        layout.setCellHAlign(horizontal);
        layout.setCellVAlign(vertical);
        layOut(200, 200);
    }
    Stub* b = nullptr;
    Stub* c = nullptr;
};

TEST_F(CellAlignment, LeftTopKeepsThePreferredSizeAtTheCellCorner) {
    alignCells(GridFlowLayout::LEFT, GridFlowLayout::TOP);
    EXPECT_EQ("(40,0,20,10)", boundsOf(b));
    EXPECT_EQ("(0,30,10,6)", boundsOf(c));
}

TEST_F(CellAlignment, RightBottomMovesToTheFarCorner) {
    alignCells(GridFlowLayout::RIGHT, GridFlowLayout::BOTTOM);
    EXPECT_EQ("(50,20,20,10)", boundsOf(b));
    EXPECT_EQ("(30,44,10,6)", boundsOf(c));
}

TEST_F(CellAlignment, CentreSplitsTheCellsSpareSpace) {
    alignCells(GridFlowLayout::CENTER, GridFlowLayout::CENTER);
    EXPECT_EQ("(45,10,20,10)", boundsOf(b));
    EXPECT_EQ("(15,37,10,6)", boundsOf(c));
}

// --- invisible children ---

TEST_F(GridFlowLayoutTest, HiddenChildDoesNotCollapseTheRowAndColumnOfVisibleOnes) {
    layout.setGrid(2, 2);
    useBox();
    addStub(box(), 10, 10);
    Stub* const b = addStub(box(), 20, 12);
    addStub(box(), 15, 8);
    addHiddenStub(box(), 5, 5);

    EXPECT_EQ("35x20", preferred());
    layOut(35, 20);
    EXPECT_EQ("(15,0,20,12)", boundsOf(b));
}

TEST_F(GridFlowLayoutTest, ColumnsStayAlignedWhenAChildInTheMiddleIsHidden) {
    layout.setGrid(0, 3);
    layout.setHgap(5);
    alignGrid(GridFlowLayout::LEFT, GridFlowLayout::TOP);
    useBox();
    std::vector<Stub*> c;
    for (int i = 0; i < 6; ++i) {
        c.push_back(addStub(box(), 10, 10));
    }
    c[4]->setVisible(false);

    layOut(100, 100);

    EXPECT_EQ("(30,0,10,10)", boundsOf(c[2]));
    EXPECT_EQ("(30,10,10,10)", boundsOf(c[5]));
}

TEST_F(GridFlowLayoutTest, RowOfHiddenChildrenTakesNoHeightAndNoGap) {
    layout.setGrid(0, 1);
    layout.setVgap(4);
    alignGrid(GridFlowLayout::LEFT, GridFlowLayout::TOP);
    useBox();
    addStub(box(), 10, 10);
    addHiddenStub(box(), 10, 10);
    Stub* const last = addStub(box(), 10, 10);

    EXPECT_EQ("10x24", preferred());
    layOut(100, 100);
    EXPECT_EQ("(0,14,10,10)", boundsOf(last));
}

// --- settings ---

void expectRefused(GridFlowLayout& layout, int rows, int cols, const wchar_t* message) {
    try {
        layout.setGrid(rows, cols);
        ADD_FAILURE() << "no exception";
    } catch (const klib::IllegalArgumentException& e) {
        EXPECT_EQ(message, e.getMessage());
        EXPECT_EQ(-1, e.getErrorCode());
    }
    EXPECT_EQ(2, layout.getRows());
    EXPECT_EQ(3, layout.getCols());
}

TEST_F(GridFlowLayoutTest, SetGridRefusesBadCountsInOrderAndKeepsTheGrid) {
    layout.setGrid(2, 3);
    expectRefused(layout, -1, 2, L"rows: -1");
    expectRefused(layout, 2, -3, L"cols: -3");
    expectRefused(layout, -1, -1, L"rows: -1");
    expectRefused(layout, 0, 0, L"both of rows and cols specified 0");
}

TEST_F(GridFlowLayoutTest, AlignmentSettersRefuseValuesOfTheOtherDirection) {
    const auto message = [](auto set) -> std::wstring {
        try {
            set();
        } catch (const klib::IllegalArgumentException& e) {
            return e.getMessage();
        }
        return L"no exception";
    };
    EXPECT_EQ(L"gridHAlign: 1", message([this] { layout.setGridHAlign(GridFlowLayout::TOP); }));
    EXPECT_EQ(L"gridVAlign: 3", message([this] { layout.setGridVAlign(GridFlowLayout::LEFT); }));
    EXPECT_EQ(L"cellHAlign: 2", message([this] { layout.setCellHAlign(GridFlowLayout::BOTTOM); }));
    EXPECT_EQ(L"cellVAlign: 4", message([this] { layout.setCellVAlign(GridFlowLayout::RIGHT); }));
    EXPECT_EQ(L"gridVAlign: 6", message([this] { layout.setGridVAlign(6); }));
    EXPECT_EQ(GridFlowLayout::FILL, layout.getGridVAlign());
}

TEST_F(GridFlowLayoutTest, DefaultGapsAreTheDefaultFontUnits) {
    int charWidth = 0;
    int halfCharHeight = 0;
    awt::getDefaultFontUnits(charWidth, halfCharHeight);
    ASSERT_GT(charWidth, 0);

    layout.useDefaultGaps();

    EXPECT_EQ(charWidth, layout.getHgap());
    EXPECT_EQ(halfCharHeight, layout.getVgap());
}

}  // namespace
