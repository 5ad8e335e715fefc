#include "app/Orlivex.h"
#include "app/ScreenCapture.h"
#include "app/Seeding.h"
#include "awt/Screen.h"

#include <windows.h>

#include <gtest/gtest.h>


#include "tests/support/Canvas.h"
#include "tests/support/KnownGap.h"
#include "tests/support/LifeGrid.h"

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

// Seeding copies the screen a band of rows at a time: the board is the one a single copy of the whole
// virtual screen seeds, also where the bands' ends fall between a cell's rows, and the colours that only
// the last rows show still count.
COLORREF noise(int x, int y) {
    const unsigned h = (static_cast<unsigned>(x) * 2654435761u) ^ (static_cast<unsigned>(y) * 40503u + 0x9E37u);
    return RGB(h >> 8 & 255, h >> 16 & 255, h >> 24);
}
// The last three rows, so that cells of 3 read one of them too.
COLORREF flatButTheLastRows(int, int y) {
    static const int last = GetSystemMetrics(SM_CYSCREEN) - 3;
    return y < last ? RGB(40, 40, 40) : RGB(200, 200, 200);
}

TEST(SeedingFromTheScreen, SeedsBandByBandWhatAWholeCaptureSeeds) {
    // The monitor's places are wrong there, and with them what the screen shows where none is.
    if (testing_support::wine10ShowsOneRectangleForEveryMonitor()) GTEST_SKIP() << "the monitor gap of Wine 10";
    const RECT all = awt::getVirtualScreen();
    const int width = all.right - all.left, height = all.bottom - all.top;
    ASSERT_GT(height, SCREEN_BAND_PIXELS / width + 1) << "a screen of one band";
    for (const ScreenPicture::Picture shown : {noise, flatButTheLastRows}) {
        const ScreenPicture picture(shown);
        ASSERT_TRUE(picture.waitUntilShown());
        for (const int cellSize : {1, 3}) {
            for (const unsigned key : {0x20u, 0xC0u}) {
                SCOPED_TRACE(::testing::Message() << (shown == noise ? "noise" : "flat but the last rows")
                                                  << ", cell size " << cellSize << ", key " << key);
                SeedRequest request;
                request.originX = all.left;
                request.originY = all.top;
                request.width = width;
                request.height = height;
                request.cellSize = cellSize;
                request.key = key;
                const int columns = (width + cellSize - 1) / cellSize, rows = (height + cellSize - 1) / cellSize;
                LifeBoard banded(columns, rows), whole(columns, rows);
                ASSERT_EQ(PictureSource::SCREEN, seedBoard(banded, request));
                const ScreenCapture screen(all.left, all.top, width, height);
                ASSERT_TRUE(screen.isCaptured());
                seedFromPicture(whole, screen, all.left, all.top, cellSize, key);
                const testing_support::Grid expected = testing_support::snapshot(whole);
                EXPECT_EQ(0, testing_support::differences(testing_support::snapshot(banded), expected));
                EXPECT_GT(testing_support::alive(expected), 0);
            }
        }
    }
}

}  // namespace
