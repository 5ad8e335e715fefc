// Border layout: region keys, preferred size with gaps and insets, placement order, invisible and
// replaced regions, negative space.
#include <gtest/gtest.h>

#include <memory>

#include "LayoutTestSupport.h"
#include "awt/BorderLayout.h"
#include "awt/TextMetrics.h"
#include "klib/Exception.h"

namespace {

using awt::BorderLayout;
using layout_test::addHiddenStub;
using layout_test::addStub;
using layout_test::boundsOf;
using layout_test::Box;
using layout_test::Stub;
using layout_test::text;

class BorderLayoutTest : public ::testing::Test {
protected:
    // Insets top 1, left 2, bottom 3, right 4 unless a test builds its own box.
    void useBox(awt::Insets insets) {
        boxHolder = std::make_unique<Box>(0, insets);
        boxHolder->setLayout(&layout);
    }
    Box& box() {
        if (!boxHolder) {
            useBox(awt::Insets{1, 2, 3, 4});
        }
        return *boxHolder;
    }
    std::string preferred() { return text(box().getPreferredSize()); }
    void layOut(int width, int height) {
        box().setSize(width, height);
        layout.layoutContainer(&box());
    }

    BorderLayout layout;
    std::unique_ptr<Box> boxHolder;
};

TEST_F(BorderLayoutTest, EmptyLayoutPrefersExactlyTheInsets) {
    EXPECT_EQ("6x4", preferred());
}

TEST_F(BorderLayoutTest, OnlyACentreChildPrefersItsSizePlusInsetsWithoutGaps) {
    layout.setHgap(5);
    layout.setVgap(5);
    addStub(box(), 30, 20, &BorderLayout::CENTER);
    EXPECT_EQ("36x24", preferred());
}

TEST_F(BorderLayoutTest, WestAndEastAreSeparatedByOneHorizontalGap) {
    useBox(awt::Insets{0, 0, 0, 0});
    layout.setHgap(5);
    addStub(box(), 10, 8, &BorderLayout::WEST);
    addStub(box(), 20, 9, &BorderLayout::EAST);
    EXPECT_EQ("35x9", preferred());
}

TEST_F(BorderLayoutTest, ColumnGapIsAddedEvenWhenTheNorthBandIsWidest) {
    useBox(awt::Insets{0, 0, 0, 0});
    layout.setHgap(5);
    addStub(box(), 100, 10, &BorderLayout::NORTH);
    addStub(box(), 30, 20, &BorderLayout::CENTER);
    addStub(box(), 20, 15, &BorderLayout::WEST);
    EXPECT_EQ("105x30", preferred());
}

TEST_F(BorderLayoutTest, AllFiveRegionsPreferColumnsAndBandsWithTheirGaps) {
    layout.setHgap(6);
    layout.setVgap(7);
    addStub(box(), 50, 10, &BorderLayout::NORTH);
    addStub(box(), 60, 12, &BorderLayout::SOUTH);
    addStub(box(), 25, 40, &BorderLayout::EAST);
    addStub(box(), 20, 30, &BorderLayout::WEST);
    addStub(box(), 70, 35, &BorderLayout::CENTER);
    // (115 + 2 * 6 + 2 + 4) x (40 + 10 + 12 + 2 * 7 + 1 + 3)
    EXPECT_EQ("133x80", preferred());
}

TEST_F(BorderLayoutTest, LayoutPlacesBandsFirstThenColumnsThenTheCentre) {
    useBox(awt::Insets{5, 4, 3, 2});
    layout.setHgap(6);
    layout.setVgap(7);
    Stub* const north = addStub(box(), 50, 10, &BorderLayout::NORTH);
    Stub* const south = addStub(box(), 60, 12, &BorderLayout::SOUTH);
    Stub* const east = addStub(box(), 25, 40, &BorderLayout::EAST);
    Stub* const west = addStub(box(), 20, 30, &BorderLayout::WEST);
    Stub* const center = addStub(box(), 70, 35, &BorderLayout::CENTER);

    layOut(200, 150);

    EXPECT_EQ("(4,5,194,10)", boundsOf(north));
    EXPECT_EQ("(4,135,194,12)", boundsOf(south));
    EXPECT_EQ("(4,22,20,106)", boundsOf(west));
    EXPECT_EQ("(173,22,25,106)", boundsOf(east));
    EXPECT_EQ("(30,22,137,106)", boundsOf(center));
}

TEST_F(BorderLayoutTest, InvisibleRegionTakesNoSpaceAndAddsNoGap) {
    useBox(awt::Insets{0, 0, 0, 0});
    layout.setHgap(5);
    Stub* const west = addHiddenStub(box(), 20, 30, &BorderLayout::WEST);
    Stub* const center = addStub(box(), 30, 30, &BorderLayout::CENTER);
    Stub* const east = addStub(box(), 10, 30, &BorderLayout::EAST);

    EXPECT_EQ("45x30", preferred());
    layOut(100, 50);

    EXPECT_EQ("(0,0,85,50)", boundsOf(center));
    EXPECT_EQ("(90,0,10,50)", boundsOf(east));
    EXPECT_EQ("(0,0,0,0)", boundsOf(west));
}

TEST_F(BorderLayoutTest, TooSmallContainerPassesNegativeSizesOn) {
    useBox(awt::Insets{0, 0, 0, 0});
    layout.setVgap(2);
    Stub* const north = addStub(box(), 10, 15, &BorderLayout::NORTH);
    Stub* const south = addStub(box(), 10, 15, &BorderLayout::SOUTH);
    Stub* const center = addStub(box(), 10, 10, &BorderLayout::CENTER);

    layOut(30, 20);

    EXPECT_EQ("(0,0,30,15)", boundsOf(north));
    EXPECT_EQ("(0,5,30,15)", boundsOf(south));
    EXPECT_EQ("(0,17,30,-14)", boundsOf(center));
}

TEST_F(BorderLayoutTest, SecondCentreChildReplacesTheFirstWhichKeepsItsLastBounds) {
    useBox(awt::Insets{0, 0, 0, 0});
    Stub* const first = addStub(box(), 10, 10, &BorderLayout::CENTER);
    layOut(100, 50);
    Stub* const second = addStub(box(), 10, 10, &BorderLayout::CENTER);

    layOut(80, 40);

    EXPECT_EQ("(0,0,80,40)", boundsOf(second));
    EXPECT_EQ("(0,0,100,50)", boundsOf(first));
    EXPECT_EQ(2, box().getComponentCount());
}

TEST_F(BorderLayoutTest, NullKeyThrowsButTheChildStaysInTheContainer) {
    useBox(awt::Insets{0, 0, 0, 0});
    Stub* const center = addStub(box(), 10, 10, &BorderLayout::CENTER);
    Stub* const stray = new Stub;
    try {
        box().add(stray, nullptr);
        FAIL() << "no exception";
    } catch (const klib::IllegalArgumentException& e) {
        EXPECT_EQ(L"constraints", e.getMessage());
        EXPECT_EQ(-1, e.getErrorCode());
    }
    EXPECT_EQ(&box(), stray->getParent());

    layOut(60, 30);
    EXPECT_EQ("(0,0,60,30)", boundsOf(center));
    EXPECT_EQ("(0,0,0,0)", boundsOf(stray));
}

TEST_F(BorderLayoutTest, KeyThatIsNotARegionKeyThrows) {
    const awt::LayoutManager::Constraints foreign;
    Stub stub;
    try {
        layout.addLayoutComponent(&stub, &foreign);
        FAIL() << "no exception";
    } catch (const klib::IllegalArgumentException& e) {
        EXPECT_EQ(L"constraints", e.getMessage());
    }
}

TEST_F(BorderLayoutTest, RemovedChildLeavesItsRegionEmpty) {
    useBox(awt::Insets{0, 0, 0, 0});
    Stub* const north = addStub(box(), 10, 10, &BorderLayout::NORTH);
    Stub* const center = addStub(box(), 10, 10, &BorderLayout::CENTER);
    box().remove(0, north);
    const std::unique_ptr<Stub> removed(north);

    layOut(60, 30);

    EXPECT_EQ("(0,0,60,30)", boundsOf(center));
    EXPECT_EQ("10x10", preferred());
}

TEST_F(BorderLayoutTest, RemovingAChildHeldTwiceClearsOnlyTheFirstRegionInOrder) {
    useBox(awt::Insets{0, 0, 0, 0});
    Stub* const child = addStub(box(), 20, 10, &BorderLayout::NORTH);
    layout.addLayoutComponent(child, &BorderLayout::WEST);

    layout.removeLayoutComponent(child);
    layOut(100, 50);

    EXPECT_EQ("(0,0,20,50)", boundsOf(child));
}

TEST_F(BorderLayoutTest, DefaultGapsAreTheDefaultFontUnits) {
    int charWidth = 0;
    int halfCharHeight = 0;
    awt::getDefaultFontUnits(charWidth, halfCharHeight);
    ASSERT_GT(charWidth, 0);
    ASSERT_GT(halfCharHeight, 0);

    layout.useDefaultGaps();

    EXPECT_EQ(charWidth, layout.getHgap());
    EXPECT_EQ(halfCharHeight, layout.getVgap());
}

TEST_F(BorderLayoutTest, NegativeGapIsRefusedWithItsValue) {
    try {
        layout.setVgap(-3);
        FAIL() << "no exception";
    } catch (const klib::IllegalArgumentException& e) {
        EXPECT_EQ(L"vgap: -3", e.getMessage());
    }
    EXPECT_EQ(0, layout.getVgap());
}

}  // namespace
