#include "app/Orlivex.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/support/Canvas.h"

using testing_support::ScreenPicture;

namespace {

DWORD currentTick;
DWORD WINAPI testTick() { return currentTick; }

// A 10-pixel checkerboard whose even squares have a pure red top-left pixel (grey (255 + 0 + 0) / 3 = 85),
// everything else grey 100 mixed from green and blue, so a cell of size 10 is alive only when seeding
// reads exactly the pixel at its corner, and only when it takes the grey from all three channels.
bool redCorner(int x, int y) {
    return (x / 10 + y / 10) % 2 == 0 && x % 10 == 0 && y % 10 == 0;
}
COLORREF checkerCorners(int x, int y) {
    return redCorner(x, y) ? RGB(255, 0, 0) : RGB(0, 100, 200);
}

// A row wholly on the screen is read from one copy of it, any other pixel by pixel; unreadable pixels,
// past the screen's edges or left of it, read as grey 255.
TEST(SeedingFromTheScreen, BringsTheGreyBandOfTheKeyToLifeFromTheSeedOriginOn) {
    const ScreenPicture picture(checkerCorners);
    ASSERT_TRUE(picture.waitUntilShown());
    const int wider = picture.width + 76, taller = picture.height + 32;
    const struct { DWORD tick; int grey, left, top, width, height; } cases[] = {
        {0x47 << 2, 85, 0, 0, picture.width, picture.height}, {0x64 << 2, 100, 10, 0, picture.width - 10, 50},
        {0x47 << 2, 85, 0, 0, wider, taller}, {0x64 << 2, 100, 0, 0, wider, taller},
        {0xE0 << 2 | 3, 255, 0, 0, wider, taller}, {0x47 << 2, 85, -20, 10, 60, 30}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "grey " << c.grey << " from " << c.left << "," << c.top << " over "
                                          << c.width << "x" << c.height);
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
                wrong += life.isAlive(column, row) != ((onScreen ? (redCorner(x, y) ? 85 : 100) : 255) == c.grey);
            }
        }
        EXPECT_EQ(0, wrong);
    }
}

}  // namespace
