#include "awt/DibSurface.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "awt/AWTException.h"
#include "klib/Exception.h"
#include "tests/support/ExpectThrows.h"

namespace {

using awt::DibSurface;

int countColour(const DibSurface& surface, std::uint32_t colour) {
    GdiFlush();
    int count = 0;
    for (int y = 0; y < surface.getHeight(); ++y)
        for (int x = 0; x < surface.getWidth(); ++x) count += surface.row(y)[x] == colour;
    return count;
}

void fill(DibSurface& surface, std::uint32_t colour) {
    for (int y = 0; y < surface.getHeight(); ++y)
        for (int x = 0; x < surface.getWidth(); ++x) surface.row(y)[x] = colour;
}

TEST(DibSurface, IsATopDownSurfaceThatGdiAndDirectWritesShareAndCopiesTheAskedPartCutToItself) {
    DibSurface surface(7, 5);
    surface.row(4)[6] = 0x123456;
    EXPECT_EQ(RGB(0x12, 0x34, 0x56), GetPixel(surface.getDC(), 6, 4));
    const RECT cell{2, 1, 3, 2};
    FillRect(surface.getDC(), &cell, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(RGB(255, 255, 255), surface.getPixel(2, 1));
    EXPECT_EQ(CLR_INVALID, surface.getPixel(7, 0));
    DibSurface target(50, 50);
    fill(surface, 0xFF0000);
    EXPECT_TRUE(surface.copyTo(target.getDC(), RECT{3, 2, 100, 100}));  // the asked part, cut to the surface
    EXPECT_EQ(4 * 3, countColour(target, 0xFF0000));
}

TEST(DibSurface, PresentCopiesOnlyTheDirtyPartsOnceAndMergesBandsWhereOneCopyIsCheaper) {
    const struct { RECT marks[2]; int rectangles; int copied; } cases[] = {
        {{{0, 0, 0, 0}, {0, 0, 0, 0}}, 0, 0},                    // nothing changed: no copy at all
        {{{-5, -5, 3, 2}, {0, 0, 0, 0}}, 1, 3 * 2},             // cut to the surface
        {{{10, 3, 20, 4}, {15, 3, 30, 5}}, 1, 20 * 2},          // one band: the rectangle around both
        {{{0, 10, 2000, 16}, {8, 16, 2000, 20}}, 1, 2000 * 10},  // neighbouring bands, little waste: one copy
        {{{0, 0, 4, 1}, {1990, 17, 2000, 18}}, 2, 4 + 10},      // far apart in x: two copies
        {{{0, 0, 4, 1}, {0, 40, 4, 41}}, 2, 4 + 4},             // bands apart in y: two copies
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.copied);
        DibSurface surface(2000, 60), target(2000, 60);
        fill(surface, 0x00FF00);
        for (const RECT& mark : c.marks) surface.markDirty(mark.left, mark.top, mark.right, mark.bottom);
        EXPECT_EQ(c.rectangles > 0, surface.isDirty());
        EXPECT_EQ(c.rectangles, static_cast<int>(surface.dirtyRectangles().size()));
        EXPECT_TRUE(surface.present(target.getDC()));
        EXPECT_EQ(c.copied, countColour(target, 0x00FF00));
        EXPECT_FALSE(surface.isDirty());
    }
}

TEST(DibSurface, FailsWithTheFailingCallForASizeNoMemoryHoldsAndRejectsAnEmptySize) {
    EXPECT_EQ(L"::CreateDIBSection() failed",
              testing_support::messageOf<awt::AWTException>([] { DibSurface huge(200000, 200000); }));
    EXPECT_EQ(L"size: 0x10", testing_support::messageOf<klib::IllegalArgumentException>([] { DibSurface(0, 10); }));
    EXPECT_EQ(L"size: 7x-1", testing_support::messageOf<klib::IllegalArgumentException>([] { DibSurface(7, -1); }));
}

}  // namespace
