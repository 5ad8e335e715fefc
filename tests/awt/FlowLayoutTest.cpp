// Flow layout: preferred size, row alignment, vertical centring, overflow, invisible and zero-width
// children, alignment checks.
#include <gtest/gtest.h>

#include <memory>

#include "LayoutTestSupport.h"
#include "awt/FlowLayout.h"
#include "awt/TextMetrics.h"
#include "klib/Exception.h"

namespace {

using awt::FlowLayout;
using layout_test::addHiddenStub;
using layout_test::addStub;
using layout_test::boundsOf;
using layout_test::Box;
using layout_test::Stub;
using layout_test::text;

class FlowLayoutTest : public ::testing::Test {
protected:
    void SetUp() override { layout.setHgap(4); }

    void useBox(awt::Insets insets) {
        boxHolder = std::make_unique<Box>(0, insets);
        boxHolder->setLayout(&layout);
    }
    void layOut(int width, int height) {
        boxHolder->setSize(width, height);
        layout.layoutContainer(boxHolder.get());
    }

    FlowLayout layout{FlowLayout::LEFT};
    std::unique_ptr<Box> boxHolder;
};

TEST_F(FlowLayoutTest, PrefersTheWidthsWithGapsAndTheTallestHeightPlusInsets) {
    useBox(awt::Insets{1, 2, 3, 4});
    addStub(*boxHolder, 10, 20);
    addStub(*boxHolder, 15, 30);
    addStub(*boxHolder, 5, 10);
    EXPECT_EQ("44x34", text(boxHolder->getPreferredSize()));
}

TEST_F(FlowLayoutTest, LeadingZeroWidthChildrenAddNoGap) {
    useBox(awt::Insets{0, 0, 0, 0});
    addStub(*boxHolder, 0, 5);
    addStub(*boxHolder, 0, 5);
    addStub(*boxHolder, 10, 8);
    addStub(*boxHolder, 0, 3);
    addStub(*boxHolder, 7, 6);
    // 10 + 4 + 0 + 4 + 7
    EXPECT_EQ("25x8", text(boxHolder->getPreferredSize()));
}

TEST_F(FlowLayoutTest, WithoutVisibleChildrenPrefersTheInsetsAndPlacesNothing) {
    useBox(awt::Insets{1, 2, 3, 4});
    Stub* const hidden = addHiddenStub(*boxHolder, 10, 10);
    hidden->setBounds(1, 2, 3, 4);

    EXPECT_EQ("6x4", text(boxHolder->getPreferredSize()));
    layOut(100, 40);
    EXPECT_EQ("(1,2,3,4)", boundsOf(hidden));
}

TEST_F(FlowLayoutTest, LeftRowStartsAtTheInsetAndCentresEachChildVertically) {
    useBox(awt::Insets{2, 3, 4, 5});
    Stub* const a = addStub(*boxHolder, 10, 20);
    Stub* const b = addStub(*boxHolder, 15, 30);
    Stub* const tall = addStub(*boxHolder, 20, 51);

    layOut(100, 40);

    EXPECT_EQ("(3,9,10,20)", boundsOf(a));
    EXPECT_EQ("(17,4,15,30)", boundsOf(b));
    // (34 - 51) / 2 truncates toward zero: -8.
    EXPECT_EQ("(36,-6,20,51)", boundsOf(tall));
}

TEST_F(FlowLayoutTest, RightRowEndsAtTheRightInset) {
    layout.setAlignment(FlowLayout::RIGHT);
    useBox(awt::Insets{0, 3, 0, 5});
    Stub* const a = addStub(*boxHolder, 10, 10);
    Stub* const b = addStub(*boxHolder, 20, 10);

    layOut(100, 40);

    EXPECT_EQ("(61,15,10,10)", boundsOf(a));
    EXPECT_EQ("(75,15,20,10)", boundsOf(b));
}

TEST_F(FlowLayoutTest, RightRowWiderThanTheSpaceStartsAtTheLeftInset) {
    layout.setAlignment(FlowLayout::RIGHT);
    useBox(awt::Insets{0, 3, 0, 5});
    Stub* const a = addStub(*boxHolder, 10, 10);
    Stub* const b = addStub(*boxHolder, 20, 10);

    layOut(30, 10);

    EXPECT_EQ("(3,0,10,10)", boundsOf(a));
    EXPECT_EQ("(17,0,20,10)", boundsOf(b));
}

TEST_F(FlowLayoutTest, CentredRowSplitsTheSpareSpaceRoundingDown) {
    layout.setAlignment(FlowLayout::CENTER);
    useBox(awt::Insets{0, 2, 0, 4});
    Stub* const a = addStub(*boxHolder, 10, 10);
    Stub* const b = addStub(*boxHolder, 20, 10);

    layOut(101, 10);

    // 2 + (101 - 4 - 2 - 34) / 2 = 2 + 30
    EXPECT_EQ("(32,0,10,10)", boundsOf(a));
    EXPECT_EQ("(46,0,20,10)", boundsOf(b));
}

TEST_F(FlowLayoutTest, InvisibleChildrenKeepTheirBoundsAndLeaveNoGap) {
    useBox(awt::Insets{0, 0, 0, 0});
    Stub* const a = addStub(*boxHolder, 10, 10);
    Stub* const hidden = addHiddenStub(*boxHolder, 50, 10);
    Stub* const c = addStub(*boxHolder, 20, 10);

    layOut(100, 10);

    EXPECT_EQ("(0,0,10,10)", boundsOf(a));
    EXPECT_EQ("(14,0,20,10)", boundsOf(c));
    EXPECT_EQ("(0,0,0,0)", boundsOf(hidden));
}

TEST_F(FlowLayoutTest, LeadingZeroWidthChildKeepsARightRowInsideTheRightInset) {
    layout.setAlignment(FlowLayout::RIGHT);
    useBox(awt::Insets{0, 0, 0, 0});
    Stub* const empty = addStub(*boxHolder, 0, 8);
    Stub* const b = addStub(*boxHolder, 10, 8);

    layOut(100, 8);

    EXPECT_EQ("(90,0,0,8)", boundsOf(empty));
    EXPECT_EQ("(90,0,10,8)", boundsOf(b));
}

TEST_F(FlowLayoutTest, DefaultGapIsTheAverageCharacterWidth) {
    int charWidth = 0;
    int halfCharHeight = 0;
    awt::getDefaultFontUnits(charWidth, halfCharHeight);
    ASSERT_GT(charWidth, 0);
    EXPECT_EQ(charWidth, FlowLayout(FlowLayout::CENTER).getHgap());
}

TEST_F(FlowLayoutTest, UnknownAlignmentIsRefusedWithItsValue) {
    try {
        FlowLayout bad(3);
        FAIL() << "no exception";
    } catch (const klib::IllegalArgumentException& e) {
        EXPECT_EQ(L"alignment: 3", e.getMessage());
        EXPECT_EQ(-1, e.getErrorCode());
    }
    EXPECT_THROW(layout.setAlignment(-1), klib::IllegalArgumentException);
    EXPECT_EQ(FlowLayout::LEFT, layout.getAlignment());
}

}  // namespace
