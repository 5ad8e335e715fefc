#include "awt/OneBitSurface.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "awt/DibSurface.h"
#include "klib/Exception.h"

namespace {

using awt::OneBitSurface;

constexpr COLORREF CELL = RGB(0x60, 0x40, 0x80);

void setPixel(OneBitSurface& surface, int x, int y) {
    surface.row(y)[x / 8] = static_cast<std::uint8_t>(surface.row(y)[x / 8] | (0x80 >> (x % 8)));
}

// What the target shows at (x, y), without the alpha byte some systems fill.
std::uint32_t shown(const awt::DibSurface& target, int x, int y) {
    GdiFlush();
    return target.row(y)[x] & 0xFFFFFF;
}

// How the bits of a row show, most significant first in rows of whole doublewords, is the board
// painter's test at widths that end inside a word.
TEST(OneBitSurface, EveryCopyLeavesTheTargetsTextColourBlackAndItsBackgroundColourTheSurfaces) {
    // Windows copies a picture whose table is exactly black and white in these colours.
    OneBitSurface surface(40, 20, RGB(255, 255, 255) | 0x01000000);
    awt::DibSurface target(40, 20);
    for (const bool present : {true, false}) {
        SCOPED_TRACE(present ? "present" : "copyTo");
        SetTextColor(target.getDC(), RGB(1, 2, 3));
        SetBkColor(target.getDC(), RGB(4, 5, 6));
        setPixel(surface, 3, 4);
        surface.markDirty(0, 0, 40, 20);
        EXPECT_TRUE(present ? surface.present(target.getDC()) : surface.copyTo(target.getDC(), RECT{0, 0, 40, 20}));
        EXPECT_EQ(RGB(0, 0, 0), GetTextColor(target.getDC()));
        EXPECT_EQ(RGB(255, 255, 255), GetBkColor(target.getDC()));
        EXPECT_EQ(0xFFFFFFu, shown(target, 3, 4));
        EXPECT_EQ(0u, shown(target, 4, 4));
    }
}

TEST(OneBitSurface, ANewColourRecoloursEverySetBitAtOnceAndMakesTheWholeSurfaceDirty) {
    OneBitSurface surface(100, 40, CELL);
    awt::DibSurface target(100, 40);
    setPixel(surface, 5, 5);
    setPixel(surface, 90, 35);
    surface.markAllDirty();
    EXPECT_TRUE(surface.present(target.getDC()));
    EXPECT_FALSE(surface.isDirty());

    surface.setColor(RGB(0x12, 0xC4, 0x7E));
    EXPECT_EQ(RGB(0x12, 0xC4, 0x7E), surface.getColor());
    ASSERT_EQ(1u, surface.dirtyRectangles().size());
    EXPECT_EQ(100, surface.dirtyRectangles()[0].right);
    EXPECT_EQ(40, surface.dirtyRectangles()[0].bottom);
    EXPECT_TRUE(surface.present(target.getDC()));
    EXPECT_EQ(0x12C47Eu, shown(target, 5, 5));
    EXPECT_EQ(0x12C47Eu, shown(target, 90, 35));
    EXPECT_EQ(0u, shown(target, 6, 5));
}

// A size no memory holds is the renderer's test (OrlivexBoard), through this surface.
TEST(OneBitSurface, RejectsAnEmptySize) {
    EXPECT_THROW(OneBitSurface(10, 0, CELL), klib::IllegalArgumentException);
}

}  // namespace
