// Flow layout: preferred size, row alignment, vertical centring, overflow, invisible and zero-width
// children, the alignment check.
#include <gtest/gtest.h>

#include "LayoutTestSupport.h"
#include "awt/FlowLayout.h"

namespace {

using awt::FlowLayout;
using layout_test::refusal;

class FlowLayoutTest : public layout_test::LayoutTest<FlowLayout> {
protected:
    FlowLayoutTest() : LayoutTest(FlowLayout::LEFT) { layout.setHgap(4); }
};

TEST_F(FlowLayoutTest, PrefersTheWidthsWithGapsAfterTheFirstNonZeroWidthAndTheTallestHeightPlusInsets) {
    useBox(awt::Insets{1, 2, 3, 4});
    add(0, 5);
    add(0, 5);
    add(10, 20);
    add(0, 3);
    add(15, 30);
    // 10 + 4 + 0 + 4 + 15, plus 2 + 4
    EXPECT_EQ("39x34", preferred());
}

TEST_F(FlowLayoutTest, WithoutVisibleChildrenPrefersTheInsetsAndPlacesNothing) {
    useBox(awt::Insets{1, 2, 3, 4});
    add(10, 10)->setVisible(false);
    box->getComponent(0)->setBounds(1, 2, 3, 4);

    EXPECT_EQ("6x4", preferred());
    layOut(100, 40);
    EXPECT_EQ("(1,2,3,4)", allBounds());
}

TEST_F(FlowLayoutTest, LeftRowStartsAtTheInsetAndCentresEachChildVertically) {
    useBox(awt::Insets{2, 3, 4, 5});
    add(10, 20);
    add(15, 30);
    add(20, 51);

    layOut(100, 40);

    // (34 - 51) / 2 truncates toward zero: -8.
    EXPECT_EQ("(3,9,10,20)(17,4,15,30)(36,-6,20,51)", allBounds());
}

TEST_F(FlowLayoutTest, RightRowEndsAtTheRightInsetUnlessWiderThanTheSpace) {
    layout.setAlignment(FlowLayout::RIGHT);
    useBox(awt::Insets{0, 3, 0, 5});
    add(10, 10);
    add(20, 10);

    layOut(100, 40);
    EXPECT_EQ("(61,15,10,10)(75,15,20,10)", allBounds());
    layOut(30, 10);
    EXPECT_EQ("(3,0,10,10)(17,0,20,10)", allBounds());
}

TEST_F(FlowLayoutTest, CentredRowSplitsTheSpareSpaceRoundingDown) {
    layout.setAlignment(FlowLayout::CENTER);
    useBox(awt::Insets{0, 2, 0, 4});
    add(10, 10);
    add(20, 10);

    layOut(101, 10);

    // 2 + (101 - 4 - 2 - 34) / 2 = 2 + 30
    EXPECT_EQ("(32,0,10,10)(46,0,20,10)", allBounds());
}

TEST_F(FlowLayoutTest, InvisibleChildrenKeepTheirBoundsAndLeaveNoGap) {
    add(10, 10);
    add(50, 10)->setVisible(false);
    add(20, 10);

    layOut(100, 10);

    EXPECT_EQ("(0,0,10,10)(0,0,0,0)(14,0,20,10)", allBounds());
}

TEST_F(FlowLayoutTest, LeadingZeroWidthChildKeepsARightRowInsideTheRightInset) {
    layout.setAlignment(FlowLayout::RIGHT);
    add(0, 8);
    add(10, 8);

    layOut(100, 8);

    EXPECT_EQ("(90,0,0,8)(90,0,10,8)", allBounds());
}

}  // namespace
