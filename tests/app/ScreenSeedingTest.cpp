#include "app/Orlivex.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "Canvas.h"

using testing_support::ScreenPicture;

namespace {

DWORD currentTick;
DWORD WINAPI testTick() { return currentTick; }

// Grey 90 only on the top-left pixel of the even squares of a 10-pixel checkerboard, grey 100 elsewhere,
// so a cell of size 10 is alive only when seeding reads exactly the pixel at its corner.
COLORREF checkerCorners(int x, int y) {
    const int grey = (x / 10 + y / 10) % 2 == 0 && x % 10 == 0 && y % 10 == 0 ? 90 : 100;
    return RGB(grey, grey, grey);
}

// Unreadable pixels, past the screen's edges or left of it, read as grey 255.
TEST(SeedingFromTheScreen, BringsTheGreyBandOfTheKeyToLifeFromTheSeedOriginOn) {
    const ScreenPicture picture(checkerCorners);
    ASSERT_TRUE(picture.waitUntilShown());
    const struct { DWORD tick; int grey, left, top, width, height; } cases[] = {
        {0x47 << 2, 90, 0, 0, picture.width + 76, picture.height + 32}, {0x64 << 2, 100, 0, 0, picture.width + 76,
        picture.height + 32}, {0xE0 << 2 | 3, 255, 0, 0, picture.width + 76, picture.height + 32},
        {0x47 << 2, 90, -20, 10, 60, 30}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "grey " << c.grey << " from " << c.left << "," << c.top);
        Orlivex life;
        currentTick = c.tick;
        life.setTickSource(testTick);
        life.setCellSize(10);
        life.setSeedOrigin(c.left, c.top);
        life.setArea(c.width, c.height);
        life.createBoard();
        int wrong = 0;
        for (int row = 0; row < life.getRows(); ++row) {
            for (int column = 0; column < life.getColumns(); ++column) {
                const int x = c.left + column * 10, y = c.top + row * 10;
                const bool onScreen = x >= 0 && x < picture.width && y < picture.height;
                wrong += life.isAlive(column, row) != ((onScreen ? GetRValue(checkerCorners(x, y)) : 255) == c.grey);
            }
        }
        EXPECT_EQ(0, wrong);
    }
}

}  // namespace
