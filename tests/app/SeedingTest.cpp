#include "app/CellAreas.h"
#include "app/GeneratedPicture.h"
#include "app/Placement.h"
#include "app/Seeding.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/Canvas.h"

using testing_support::ScreenPicture;

namespace {

bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(CellAreas, AMonitorShowsEveryCellItTouchesFromTheOriginOn) {
    const struct { RECT monitor; int originX, originY, cellSize; LifeBoard::CellArea area; } cases[] = {
        {{0, 0, 1920, 1080}, 0, 0, 2, {0, 0, 960, 540}}, {{0, 0, 1919, 1081}, 0, 0, 2, {0, 0, 960, 541}},
        // Right of a monitor at negative coordinates: the origin is the virtual screen's corner.
        {{-1024, 0, 0, 768}, -1024, 0, 10, {0, 0, 103, 77}}, {{0, 0, 1280, 1024}, -1024, 0, 10, {102, 0, 231, 103}},
        // Left of or above the origin, a partial cell counts.
        {{-5, -5, 5, 5}, 0, 0, 3, {-2, -2, 2, 2}}, {{7, 3, 8, 4}, 0, 0, 10, {0, 0, 1, 1}}};
    for (const auto& c : cases) {
        const auto areas = toCellAreas({c.monitor}, c.originX, c.originY, c.cellSize);
        ASSERT_EQ(1u, areas.size());
        EXPECT_EQ(c.area.left, areas[0].left);
        EXPECT_EQ(c.area.top, areas[0].top);
        EXPECT_EQ(c.area.right, areas[0].right);
        EXPECT_EQ(c.area.bottom, areas[0].bottom);
    }
}

TEST(Placement, BothNumberingsNameTheSamePlacements) {
    const struct { Placement placement; int position; const wchar_t* style; const wchar_t* tile; } table[] = {
        {Placement::CENTER, 0, L"0", L"0"}, {Placement::TILE, 1, L"0", L"1"}, {Placement::STRETCH, 2, L"2", L"0"},
        {Placement::FIT, 3, L"6", L"0"},    {Placement::FILL, 4, L"10", L"0"}, {Placement::SPAN, 5, L"22", L"0"}};
    for (const auto& row : table) {
        EXPECT_EQ(row.placement, placementFromPosition(row.position)) << row.position;
        EXPECT_EQ(row.placement, placementFromStyle(row.style, row.tile)) << row.style;
    }
    EXPECT_EQ(Placement::CENTER, placementFromStyle(L"0", L""));  // no TileWallpaper: not tiled
    EXPECT_EQ(Placement::STRETCH, placementFromStyle(L"2", L"1"));  // TileWallpaper only tiles style 0
    EXPECT_EQ(Placement::FILL, placementFromStyle(L"7", L"0"));
    EXPECT_EQ(Placement::FILL, placementFromPosition(6));
}

TEST(Placement, EachPlacementPutsThePictureWhereTheDesktopShowsIt) {
    const RECT monitor{100, 0, 500, 200}, desktop{0, 0, 500, 300};  // 400 x 200 beside another monitor
    const struct { Placement placement; int width, height; RECT placed; } cases[] = {
        {Placement::CENTER, 100, 50, {250, 75, 350, 125}}, {Placement::CENTER, 800, 400, {-100, -100, 700, 300}},
        {Placement::TILE, 30, 20, {100, 0, 130, 20}},      {Placement::STRETCH, 30, 20, {100, 0, 500, 200}},
        {Placement::FIT, 100, 100, {200, 0, 400, 200}},    {Placement::FIT, 800, 200, {100, 50, 500, 150}},
        {Placement::FILL, 100, 100, {100, -100, 500, 300}}, {Placement::FILL, 3840, 2160, {100, -12, 500, 213}},
        {Placement::SPAN, 1000, 300, {-250, 0, 750, 300}} /* the desktop covered, by its height */};
    for (const auto& c : cases) {
        const RECT placed = placedRectangle(c.placement, c.width, c.height, monitor, desktop);
        EXPECT_TRUE(placed == c.placed) << static_cast<int>(c.placement) << " " << c.width << "x" << c.height << ": "
                                        << placed.left << "," << placed.top << "," << placed.right << "," << placed.bottom;
    }
}

// The screen seeds only when the cells' pixels show two colours; otherwise the wallpaper (here none
// that shows more than its background) and then the generated picture.
TEST(PictureSources, TheScreenSeedsOnlyWhenItShowsMoreThanOneColour) {
    const std::vector<MonitorWallpaper> none;  // no monitor: an unreadable wallpaper
    SeedRequest request;
    request.width = 200;
    request.height = 100;
    request.cellSize = 4;
    request.key = 0x47;
    request.wallpapers = &none;
    {
        const ScreenPicture flat([](int, int) { return RGB(70, 70, 70); });
        ASSERT_TRUE(flat.waitUntilShown());
        LifeBoard board(50, 25);
        EXPECT_EQ(PictureSource::GENERATED, seedBoard(board, request));
    }
    {
        const ScreenPicture twoColours([](int x, int) { return x < 100 ? RGB(70, 70, 70) : RGB(255, 255, 255); });
        ASSERT_TRUE(twoColours.waitUntilShown());
        LifeBoard board(50, 25);
        EXPECT_EQ(PictureSource::SCREEN, seedBoard(board, request));
        EXPECT_TRUE(board.isAlive(24, 10));   // grey 70 is in the band of 0x47
        EXPECT_FALSE(board.isAlive(25, 10));  // grey 255 is not
        request.picture = 2;
        EXPECT_EQ(PictureSource::GENERATED, seedBoard(board, request));
        request.picture = 1;  // the screen is never read
        EXPECT_EQ(PictureSource::GENERATED, seedBoard(board, request));
    }
    request.picture = 0;
    request.originX = 100000;  // nothing to capture there
    LifeBoard board(50, 25);
    EXPECT_EQ(PictureSource::GENERATED, seedBoard(board, request));
}

// Every band of the generated picture brings 5 to 50 % of the cells alive, in clumps: far more live
// cells have live neighbours than scattered cells of the same share would.
TEST(GeneratedPicture, EveryBandLivesOnAPartOfTheCellsAsShapes) {
    const int columns = 400, rows = 300;
    const std::vector<std::uint8_t> grey = generateGreyLevels(columns, rows, 12345);
    EXPECT_NE(grey, generateGreyLevels(columns, rows, 54321));
    for (unsigned band = 0; band < 8; ++band) {
        int alive = 0, withNeighbours = 0;
        const auto isAlive = [&](int c, int r) {
            return c >= 0 && c < columns && r >= 0 && r < rows && grey[static_cast<std::size_t>(r * columns + c)] >> 5 == band;
        };
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < columns; ++c) {
                if (!isAlive(c, r)) continue;
                ++alive;
                withNeighbours += isAlive(c - 1, r) + isAlive(c + 1, r) + isAlive(c, r - 1) + isAlive(c, r + 1) >= 3;
            }
        }
        EXPECT_GE(alive * 100, 5 * columns * rows) << "band " << band;
        EXPECT_LE(alive * 100, 50 * columns * rows) << "band " << band;
        // Scattered at 12.5 %, about 1 in 12 live cells would have three live neighbours or more.
        EXPECT_GE(withNeighbours * 2, alive) << "band " << band;
    }
}

}  // namespace
