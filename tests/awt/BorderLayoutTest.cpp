// Border layout: preferred size with gaps and insets, placement order, invisible regions and the region-key check.
#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>
#include <vector>

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

// An invisible region takes no space and adds no gap; the bands are placed first, then the columns,
// then the centre. The second case fills every region the first one left in the layout.
TEST_F(BorderLayoutTest, InvisibleRegionsTakeNoSpaceAndBandsArePlacedFirstThenColumnsThenTheCentre) {
    using Child = std::tuple<int, int, const awt::LayoutManager::Constraints*>;  // a negative width: hidden
    const auto* const N = &BorderLayout::NORTH, *const S = &BorderLayout::SOUTH, *const E = &BorderLayout::EAST,
                      *const W = &BorderLayout::WEST, *const C = &BorderLayout::CENTER;
    const struct { awt::Insets insets; int hgap, vgap; std::vector<Child> children; const char* preferred;
                   int width, height; const char* bounds; } cases[] = {
        {{0, 0, 0, 0}, 5, 0, {{-20, 30, W}, {30, 30, C}, {10, 30, E}}, "45x30", 100, 50,
         "(0,0,0,0)(0,0,85,50)(90,0,10,50)"},
        // (115 + 2 * 6 + 4 + 2) x (40 + 10 + 12 + 2 * 7 + 5 + 3)
        {{5, 4, 3, 2}, 6, 7, {{50, 10, N}, {60, 12, S}, {25, 40, E}, {20, 30, W}, {70, 35, C}}, "133x84", 200, 150,
         "(4,5,194,10)(4,135,194,12)(173,22,25,106)(4,22,20,106)(30,22,137,106)"}};
    for (const auto& c : cases) {
        useBox(c.insets);
        layout.setHgap(c.hgap);
        layout.setVgap(c.vgap);
        for (const auto& [width, height, region] : c.children)
            add(std::abs(width), height, region)->setVisible(width >= 0);
        EXPECT_EQ(c.preferred, preferred()) << &c - cases;
        layOut(c.width, c.height);
        EXPECT_EQ(c.bounds, allBounds()) << &c - cases;
    }
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
