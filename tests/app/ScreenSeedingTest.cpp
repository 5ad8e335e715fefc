#include "app/Orlivex.h"
#include "app/ScreenCapture.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "ScreenPicture.h"

using testing_support::ScreenPicture;

namespace {

// Every pixel distinct from its neighbours, so that a shifted or swapped copy shows.
COLORREF pattern(int x, int y) {
    return RGB(x % 251, y % 241, (x + 2 * y) % 256);
}

class ScreenCaptureOfKnownPicture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(picture.waitUntilShown()); }
    ScreenPicture picture{pattern};
};

TEST_F(ScreenCaptureOfKnownPicture, CopiesEveryPixelOfTheScreen) {
    const ScreenCapture capture(picture.width(), picture.height());
    int wrong = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            wrong += capture.getPixel(x, y) != pattern(x, y);
        }
    }
    EXPECT_EQ(0, wrong);
}

TEST_F(ScreenCaptureOfKnownPicture, ReadsWhatGetPixelReadsAlsoBeyondTheScreen) {
    const int width = picture.width() + 176;
    const int height = picture.height() + 132;
    const ScreenCapture capture(width, height);
    const HDC screen = GetDC(nullptr);
    ASSERT_NE(nullptr, screen);
    int compared = 0;
    int wrong = 0;
    auto compare = [&](int x, int y) {
        ++compared;
        wrong += capture.getPixel(x, y) != GetPixel(screen, x, y);
    };
    // Every line next to the screen's edges, and a sparse grid over the rest.
    for (int x = 0; x < width; ++x) {
        for (int y : {0, 1, picture.height() - 1, picture.height(), height - 1}) compare(x, y);
    }
    for (int y = 0; y < height; ++y) {
        for (int x : {0, 1, picture.width() - 1, picture.width(), width - 1}) compare(x, y);
    }
    for (int y = 3; y < height; y += 13) {
        for (int x = 5; x < width; x += 11) compare(x, y);
    }
    ReleaseDC(nullptr, screen);
    EXPECT_GT(compared, 10000);
    EXPECT_EQ(0, wrong);
}

TEST_F(ScreenCaptureOfKnownPicture, GivesInvalidColourOutsideTheScreenAndTheArea) {
    const ScreenCapture capture(picture.width() + 50, picture.height() + 50);
    EXPECT_EQ(CLR_INVALID, capture.getPixel(picture.width(), 0));
    EXPECT_EQ(CLR_INVALID, capture.getPixel(0, picture.height()));
    EXPECT_EQ(CLR_INVALID, capture.getPixel(-1, 0));
    EXPECT_EQ(pattern(picture.width() - 1, picture.height() - 1),
              capture.getPixel(picture.width() - 1, picture.height() - 1));

    const ScreenCapture small(10, 10);
    EXPECT_EQ(pattern(9, 9), small.getPixel(9, 9));
    EXPECT_EQ(CLR_INVALID, small.getPixel(10, 9));
    EXPECT_EQ(CLR_INVALID, ScreenCapture(0, 0).getPixel(0, 0));
}

DWORD currentTick;
DWORD WINAPI testTick() { return currentTick; }

const COLORREF GREY_90 = RGB(90, 90, 90);
const COLORREF GREY_100 = RGB(100, 100, 100);

// Grey 90 only on the top-left pixel of the even squares of a 10-pixel checkerboard, so a cell
// of size 10 is alive only when seeding reads exactly that pixel.
COLORREF checkerCorners(int x, int y) {
    const bool even = (x / 10 + y / 10) % 2 == 0;
    return even && x % 10 == 0 && y % 10 == 0 ? GREY_90 : GREY_100;
}

class SeedingFromTheScreen : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(picture.waitUntilShown());
        life.setTickSource(testTick);
        life.setCellSize(10);
        // Larger than the screen: the cells past its edges cannot be read.
        life.setArea(picture.width() + 76, picture.height() + 32);
    }

    bool onScreen(int column, int row) const {
        return column * 10 < picture.width() && row * 10 < picture.height();
    }

    ScreenPicture picture{checkerCorners};
    Orlivex life;
};

TEST_F(SeedingFromTheScreen, KeyInTheBandOfGrey90MakesItAliveAndGrey100AndUnreadablePixelsDead) {
    currentTick = 0x47 << 2;
    life.createBoard();
    ASSERT_EQ((picture.width() + 76 + 9) / 10, life.getColumns());
    ASSERT_EQ((picture.height() + 32 + 9) / 10, life.getRows());
    int wrong = 0;
    for (int row = 0; row < life.getRows(); ++row) {
        for (int column = 0; column < life.getColumns(); ++column) {
            const bool expected = onScreen(column, row) && (column + row) % 2 == 0;
            wrong += life.isAlive(column, row) != expected;
        }
    }
    EXPECT_EQ(0, wrong);
    EXPECT_FALSE(life.isStagnant());
}

TEST_F(SeedingFromTheScreen, TopBandKeyMakesOnlyUnreadablePixelsAlive) {
    currentTick = 0xE0 << 2 | 3;  // the two low bits do not count
    life.createBoard();
    int wrong = 0;
    for (int row = 0; row < life.getRows(); ++row) {
        for (int column = 0; column < life.getColumns(); ++column) {
            wrong += life.isAlive(column, row) == onScreen(column, row);
        }
    }
    EXPECT_EQ(0, wrong);
}

TEST_F(SeedingFromTheScreen, KeyOfGrey100BandMakesTheOtherSquaresAlive) {
    currentTick = 0x64 << 2;
    life.setCellSize(5);  // samples (5, 0), (10, 5), ...: all grey 100 except the corners
    life.createBoard();
    int wrong = 0;
    for (int row = 0; row < life.getRows(); ++row) {
        for (int column = 0; column < life.getColumns(); ++column) {
            const int x = column * 5;
            const int y = row * 5;
            const bool readable = x < picture.width() && y < picture.height();
            wrong += life.isAlive(column, row) != (readable && checkerCorners(x, y) == GREY_100);
        }
    }
    EXPECT_EQ(0, wrong);
}

}  // namespace
