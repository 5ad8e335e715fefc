// Border layout: preferred size with gaps and insets, placement order and the region-key check.
#include <gtest/gtest.h>

#include "tests/support/ComponentTestSupport.h"
#include "awt/BorderLayout.h"

namespace {

using awt::BorderLayout;
using ui_test::refusal;
using Stub = ui_test::Control;

class BorderLayoutTest : public ui_test::LayoutTest<BorderLayout> {};

TEST_F(BorderLayoutTest, EmptyLayoutPrefersTheInsetsAndALoneCentreAddsNoGaps) {
    useBox(awt::Insets{1, 2, 3, 4});
    layout.setHgap(5);
    layout.setVgap(5);
    EXPECT_EQ("6x4", preferred());
    add(30, 20, &BorderLayout::CENTER);
    EXPECT_EQ("36x24", preferred());
}

// The bands are placed first, then the columns, then the centre, with the gaps and inside the insets.
TEST_F(BorderLayoutTest, BandsArePlacedFirstThenColumnsThenTheCentre) {
    useBox(awt::Insets{5, 4, 3, 2});
    layout.setHgap(6);
    layout.setVgap(7);
    add(50, 10, &BorderLayout::NORTH);
    add(60, 12, &BorderLayout::SOUTH);
    add(25, 40, &BorderLayout::EAST);
    add(20, 30, &BorderLayout::WEST);
    add(70, 35, &BorderLayout::CENTER);
    // (115 + 2 * 6 + 4 + 2) x (40 + 10 + 12 + 2 * 7 + 5 + 3)
    EXPECT_EQ("133x84", preferred());
    layOut(200, 150);
    EXPECT_EQ("(4,5,194,10)(4,135,194,12)(173,22,25,106)(4,22,20,106)(30,22,137,106)", allBounds());
}

TEST_F(BorderLayoutTest, KeyThatIsNotARegionKeyIsRefusedButTheChildStaysUnplaced) {
    Stub* const center = add(10, 10, &BorderLayout::CENTER);
    Stub* const stray = new Stub;  // owned by the box once added
    const awt::LayoutManager::Constraints foreign;

    EXPECT_EQ(L"constraints", refusal([&] { box->add(stray, nullptr); }));
    EXPECT_EQ(L"constraints", refusal([&] { layout.addLayoutComponent(center, &foreign); }));
    EXPECT_EQ(L"vgap: -3", refusal([&] { layout.setVgap(-3); }));

    EXPECT_EQ(box.get(), stray->getParent());
    layOut(60, 30);
    EXPECT_EQ("(0,0,60,30)(0,0,0,0)", allBounds());
    EXPECT_EQ(0, layout.getVgap());
}

}  // namespace
