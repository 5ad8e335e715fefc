#include "screensaver/SaverWindow.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(SaverCover, SpansTheVirtualScreenAndKeepsARecordedMouseAtTheSameScreenPoint) {
    struct Case {
        RECT screen;
        awt::Point location, firstMouse;
        awt::Rectangle bounds;
        awt::Point movedMouse;
    };
    const Case cases[] = {
        {{0, 0, 1024, 768}, {0, 0}, {-1, -1}, {0, 0, 1024, 768}, {-1, -1}},  // nothing recorded stays so
        {{0, 0, 1024, 768}, {0, 0}, {10, 20}, {0, 0, 1024, 768}, {10, 20}},  // unmoved
        // A monitor added on the left: the window moves left, the mouse's window position grows.
        {{-1280, 0, 1024, 1024}, {0, 0}, {10, 20}, {-1280, 0, 2304, 1024}, {1290, 20}},
        // The monitor on the left and above removed: the window moves right and down.
        {{0, 0, 800, 600}, {-1024, -300}, {1100, 350}, {0, 0, 800, 600}, {76, 50}},
        {{0, 0, 800, 600}, {-1024, 0}, {0, 0}, {0, 0, 800, 600}, {-1024, 0}},  // a recorded origin moves
        {{0, 0, 800, 600}, {-5, 0}, {-1, 7}, {0, 0, 800, 600}, {-6, 7}},  // only both -1 mean none
    };
    for (const Case& c : cases) {
        const screensaver::Cover cover = screensaver::coverScreen(c.screen, c.location, c.firstMouse);
        const auto fields = [](const awt::Rectangle& r, const awt::Point& p) {
            return std::vector<int>{r.x, r.y, r.width, r.height, p.x, p.y};
        };
        EXPECT_EQ(fields(cover.bounds, cover.firstMouse), fields(c.bounds, c.movedMouse)) << "case " << &c - cases;
    }
}

}  // namespace
