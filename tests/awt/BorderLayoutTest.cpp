// Border layout: preferred size with gaps and insets, placement order and the region-key check.
#include <gtest/gtest.h>

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

// The bands are placed first, then the columns, then the centre, with the gaps and inside the insets.
TEST_F(BorderLayoutTest, BandsArePlacedFirstThenColumnsThenTheCentre) {
    using Child = std::tuple<int, int, const awt::LayoutManager::Constraints*>;
    const auto* const N = &BorderLayout::NORTH, *const S = &BorderLayout::SOUTH, *const E = &BorderLayout::EAST,
                      *const W = &BorderLayout::WEST, *const C = &BorderLayout::CENTER;
    const struct { awt::Insets insets; int hgap, vgap; std::vector<Child> children; const char* preferred;
                   int width, height; const char* bounds; } cases[] = {
        // (115 + 2 * 6 + 4 + 2) x (40 + 10 + 12 + 2 * 7 + 5 + 3)
        {{5, 4, 3, 2}, 6, 7, {{50, 10, N}, {60, 12, S}, {25, 40, E}, {20, 30, W}, {70, 35, C}}, "133x84", 200, 150,
         "(4,5,194,10)(4,135,194,12)(173,22,25,106)(4,22,20,106)(30,22,137,106)"}};
    for (const auto& c : cases) {
        useBox(c.insets);
        layout.setHgap(c.hgap);
        layout.setVgap(c.vgap);
        for (const auto& [width, height, region] : c.children)
            add(width, height, region);
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
