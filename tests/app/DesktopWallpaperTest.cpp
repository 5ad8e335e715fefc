#include "tests/support/FakeDesktopWallpaper.h"

#include "app/Wallpaper.h"
#include "app/WallpaperLoader.h"

#include <wincodec.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/ImageFiles.h"
#include "tests/support/SystemColour.h"
#include "klib/ComPtr.h"

namespace {

using testing_support::FakeDesktopWallpaper;

// Two pictures of different sizes and colours, and two monitors of different sizes, side by side
// with their tops apart so that their bounding rectangle holds pixels no monitor shows.
constexpr int LEFT_WIDTH = 12, LEFT_HEIGHT = 6, RIGHT_WIDTH = 10, RIGHT_HEIGHT = 10;
constexpr RECT LEFT_MONITOR{0, 0, 40, 20}, RIGHT_MONITOR{40, 4, 64, 34}, BOTH{0, 0, 64, 34};
constexpr COLORREF BACKGROUND = RGB(10, 20, 30);

std::uint32_t leftPixel(int x, int y) { return static_cast<std::uint32_t>(x * 20) << 16 | static_cast<std::uint32_t>(y * 40) << 8 | 200; }
std::uint32_t rightPixel(int x, int y) { return static_cast<std::uint32_t>(250 - x * 20) << 16 | 100u << 8 | static_cast<std::uint32_t>(y * 25); }
COLORREF colourOf(std::uint32_t rgb) { return RGB(rgb >> 16, (rgb >> 8) & 255, rgb & 255); }

template <typename Pixel>
std::vector<std::uint32_t> pixels(int width, int height, Pixel pixel) {
    std::vector<std::uint32_t> all;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) all.push_back(pixel(x, y));
    return all;
}

bool inside(const RECT& rect, int x, int y) { return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom; }

class DesktopWallpaper : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(apartment.isReady());
        const std::wstring stem = testing_support::tempPath(L"orlivex-desktop-wallpaper");
        leftPath = stem + L"-left.png";
        rightPath = stem + L"-right.bmp";
        ASSERT_TRUE(testing_support::writeImage(leftPath, GUID_ContainerFormatPng, LEFT_WIDTH, LEFT_HEIGHT,
                                                pixels(LEFT_WIDTH, LEFT_HEIGHT, leftPixel)));
        ASSERT_TRUE(testing_support::writeImage(rightPath, GUID_ContainerFormatBmp, RIGHT_WIDTH, RIGHT_HEIGHT,
                                                pixels(RIGHT_WIDTH, RIGHT_HEIGHT, rightPixel)));
        // Device paths as Windows gives them, the right monitor listed first.
        desktop.monitors = {{L"\\\\?\\DISPLAY#DEL4092#5&2b1c&0&UID4353#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}",
                             RIGHT_MONITOR, rightPath},
                            {L"\\\\?\\DISPLAY#GSM5b7f#5&2b1c&0&UID4352#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}",
                             LEFT_MONITOR, leftPath}};
        desktop.background = BACKGROUND;
    }
    void TearDown() override {
        DeleteFileW(leftPath.c_str());
        DeleteFileW(rightPath.c_str());
        EXPECT_EQ(0, desktop.references);  // every reference taken was given back
    }
    // The two monitors' wallpaper read through the interface and placed over BOTH.
    std::unique_ptr<PlacedPicture> place(int step) {
        const std::vector<MonitorWallpaper> wallpapers = readDesktopWallpaper(desktop);
        return loadWallpaper(BOTH, {LEFT_MONITOR, RIGHT_MONITOR}, &wallpapers, GetTickCount() + 10000, step);
    }

    const klib::ComApartment apartment{COINIT_APARTMENTTHREADED};
    FakeDesktopWallpaper desktop;
    std::wstring leftPath, rightPath;
};

TEST_F(DesktopWallpaper, EachMonitorGetsItsOwnRectanglePictureAndTheNumberedPlacement) {
    const struct { DESKTOP_WALLPAPER_POSITION position; Placement placement; } table[] = {
        {DWPOS_CENTER, Placement::CENTER}, {DWPOS_TILE, Placement::TILE}, {DWPOS_STRETCH, Placement::STRETCH},
        {DWPOS_FIT, Placement::FIT}, {DWPOS_FILL, Placement::FILL}, {DWPOS_SPAN, Placement::SPAN}};
    for (const auto& row : table) {
        SCOPED_TRACE(::testing::Message() << "DWPOS " << static_cast<int>(row.position));
        desktop.position = row.position;
        const std::vector<MonitorWallpaper> wallpapers = readDesktopWallpaper(desktop);
        ASSERT_EQ(2u, wallpapers.size());
        const std::wstring* const paths[] = {&rightPath, &leftPath};
        const RECT* const rects[] = {&RIGHT_MONITOR, &LEFT_MONITOR};
        for (std::size_t i = 0; i < 2; ++i) {
            EXPECT_TRUE(EqualRect(rects[i], &wallpapers[i].monitor)) << "monitor " << i;
            EXPECT_EQ(*paths[i], wallpapers[i].path) << "monitor " << i;
            EXPECT_EQ(row.placement, wallpapers[i].placement) << "monitor " << i;
            EXPECT_EQ(BACKGROUND, wallpapers[i].background) << "monitor " << i;
        }
    }
}

// Centred and tiled pictures keep their pixels, so every pixel of the area is known: each monitor's
// own picture where its placement puts it, the background around it, nothing outside the monitors,
// and held for cells of 3 pixels, nothing between the pixels they read.
TEST_F(DesktopWallpaper, CentredAndTiledPicturesLieOnTheirOwnMonitorsPixelForPixel) {
    for (const auto& run : {std::pair{DWPOS_CENTER, 1}, {DWPOS_TILE, 1}, {DWPOS_CENTER, 3}, {DWPOS_TILE, 3}}) {
        const DESKTOP_WALLPAPER_POSITION position = run.first;
        const int step = run.second;
        SCOPED_TRACE(::testing::Message() << "DWPOS " << static_cast<int>(position) << ", step " << step);
        desktop.position = position;
        const auto picture = place(step);
        ASSERT_NE(nullptr, picture);
        const auto expected = [position](const RECT& monitor, int width, int height, auto pixel, int x, int y) {
            const int dx = x - monitor.left, dy = y - monitor.top;
            if (position == DWPOS_TILE) return colourOf(pixel(dx % width, dy % height));
            const int left = (monitor.right - monitor.left - width) / 2, top = (monitor.bottom - monitor.top - height) / 2;
            const bool covered = dx >= left && dx < left + width && dy >= top && dy < top + height;
            return covered ? colourOf(pixel(dx - left, dy - top)) : BACKGROUND;
        };
        int wrong = 0;
        for (int y = BOTH.top; y < BOTH.bottom; ++y) {
            for (int x = BOTH.left; x < BOTH.right; ++x) {
                const COLORREF want = (x - BOTH.left) % step != 0 || (y - BOTH.top) % step != 0 ? CLR_INVALID
                                      : inside(LEFT_MONITOR, x, y)    ? expected(LEFT_MONITOR, LEFT_WIDTH, LEFT_HEIGHT, leftPixel, x, y)
                                      : inside(RIGHT_MONITOR, x, y) ? expected(RIGHT_MONITOR, RIGHT_WIDTH, RIGHT_HEIGHT, rightPixel, x, y)
                                                                    : CLR_INVALID;
                const COLORREF got = picture->getPixel(x, y);
                const bool same = want == CLR_INVALID ? got == CLR_INVALID : (got & 0xFFFFFF) == want;
                if (!same && ++wrong <= 5) ADD_FAILURE() << "at " << x << "," << y << ": " << std::hex << got << " not " << want;
            }
        }
        EXPECT_EQ(0, wrong);
    }
}

// What the interface cannot say is left to the fallbacks: a monitor without a rectangle is left out, one
// without a picture shows the background, and no position at all leaves the classic settings to serve.
TEST_F(DesktopWallpaper, WhatTheInterfaceCannotSayIsLeftOutOrFilledIn) {
    desktop.failRect = desktop.monitors[0].id;
    desktop.failWallpaper = desktop.monitors[1].id;
    desktop.backgroundFails = true;
    const COLORREF system = RGB(90, 140, 60);  // not the zero a missing fallback would leave
    const testing_support::SystemColour desktopColour(COLOR_DESKTOP, system);
    ASSERT_TRUE(desktopColour.isSet());
    const std::vector<MonitorWallpaper> wallpapers = readDesktopWallpaper(desktop);
    ASSERT_EQ(1u, wallpapers.size());
    EXPECT_TRUE(EqualRect(&LEFT_MONITOR, &wallpapers[0].monitor));
    EXPECT_EQ(L"", wallpapers[0].path);
    EXPECT_EQ(system, wallpapers[0].background);
    desktop.positionFails = true;
    EXPECT_TRUE(readDesktopWallpaper(desktop).empty());
}

}  // namespace
