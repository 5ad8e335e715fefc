#include "app/Orlivex.h"
#include "app/ScreenCapture.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "Canvas.h"

using testing_support::ScreenPicture;

namespace {

// Every pixel distinct from its neighbours, so that a shifted or swapped copy shows.
COLORREF pattern(int x, int y) { return RGB(x % 251, y % 241, (x + 2 * y) % 256); }

TEST(ScreenCaptureOfAKnownPicture, ReadsEveryPixelAsGetPixelDoesAlsoBeyondTheScreen) {
    const ScreenPicture picture(pattern);
    ASSERT_TRUE(picture.waitUntilShown());
    const int width = picture.width + 176, height = picture.height + 132;
    const ScreenCapture capture(0, 0, width, height);
    const HDC screen = GetDC(nullptr);
    ASSERT_NE(nullptr, screen);
    // Lines next to the screen's and the area's edges, and a sparse grid over the rest.
    const auto edge = [](int v, int screenEdge, int last) {
        return v <= 1 || v == screenEdge - 1 || v == screenEdge || v == last;
    };
    int wrongPicture = 0, wrongGetPixel = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF read = capture.getPixel(x, y);
            if (x < picture.width && y < picture.height) wrongPicture += read != pattern(x, y);
            const bool sampled = (x % 11 == 5 && y % 13 == 3) || edge(x, picture.width, width - 1);
            if (sampled || edge(y, picture.height, height - 1)) wrongGetPixel += read != GetPixel(screen, x, y);
        }
    }
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(0, wrongPicture);
    EXPECT_EQ(0, wrongGetPixel);
    EXPECT_EQ(CLR_INVALID, capture.getPixel(-1, 0));
    const ScreenCapture small(0, 0, 10, 10);
    EXPECT_EQ(pattern(9, 9), small.getPixel(9, 9));
    EXPECT_EQ(CLR_INVALID, small.getPixel(10, 9));
    EXPECT_EQ(CLR_INVALID, ScreenCapture(0, 0, 0, 0).getPixel(0, 0));
    const ScreenCapture shifted(-3, -2, 10, 10);  // partly left of and above the screen
    EXPECT_EQ(CLR_INVALID, shifted.getPixel(-1, 5));
    EXPECT_EQ(pattern(6, 7), shifted.getPixel(6, 7));
    EXPECT_EQ(CLR_INVALID, shifted.getPixel(7, 7));
}

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
