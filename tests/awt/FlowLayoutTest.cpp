// Flow layout: preferred size, row alignment, vertical centring, overflow, invisible and zero-width
// children.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "tests/support/ComponentTestSupport.h"
#include "awt/FlowLayout.h"

namespace {

using awt::FlowLayout;

class FlowLayoutTest : public ui_test::LayoutTest<FlowLayout> {
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

TEST_F(FlowLayoutTest, PlacesTheRowByItsAlignmentCentresEachChildVerticallyAndNeverStartsLeftOfTheInset) {
    const FlowLayout::Alignment L = FlowLayout::LEFT, R = FlowLayout::RIGHT;
    const struct {
        FlowLayout::Alignment alignment;
        awt::Insets insets;
        std::vector<awt::Dimension> children;  // a negative width: hidden
        int width, height;
        const char* bounds;
    } cases[] = {
        // (34 - 51) / 2 truncates toward zero: -8.
        {L, {2, 3, 4, 5}, {{10, 20}, {15, 30}, {20, 51}}, 100, 40, "(3,9,10,20)(17,4,15,30)(36,-6,20,51)"},
        {L, {0, 0, 0, 0}, {{10, 10}, {-50, 10}, {20, 10}}, 100, 10, "(0,0,10,10)(0,0,0,0)(14,0,20,10)"},
        {R, {0, 3, 0, 5}, {{10, 10}, {20, 10}}, 100, 40, "(61,15,10,10)(75,15,20,10)"},
        {R, {0, 3, 0, 5}, {{10, 10}, {20, 10}}, 30, 10, "(3,0,10,10)(17,0,20,10)"},  // wider than the space
        {R, {0, 0, 0, 0}, {{0, 8}, {10, 8}}, 100, 8, "(90,0,0,8)(90,0,10,8)"},  // no gap after a zero width
    };
    for (const auto& c : cases) {
        layout.setAlignment(c.alignment);
        useBox(c.insets);
        for (const awt::Dimension& child : c.children) {
            add(std::abs(child.width), child.height)->setVisible(child.width >= 0);
        }
        layOut(c.width, c.height);
        EXPECT_EQ(c.bounds, allBounds()) << "case " << (&c - cases);
    }
}

}  // namespace
