#include "app/Orlivex.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/Canvas.h"
#include "tests/support/LifeGrid.h"
#include "awt/AWTException.h"
#include "awt/Events.h"
#include "klib/Exception.h"
#include "screensaver/SaverWindow.h"
#include "tests/support/ComponentTestSupport.h"

using testing_support::Canvas;
using testing_support::ScreenPicture;
using testing_support::Grid;
using testing_support::Rows;
using testing_support::alive;

namespace {

DWORD WINAPI fixedTick() { return 12345; }
DWORD WINAPI grey90Key() { return 0x47 << 2; }

// The renderer's board: its size in cells, the clock's part in the spread generation, drawing and reseeding.
class OrlivexBoard : public ::testing::Test {
protected:
    // A board over width x height pixels with nothing alive.
    void build(int width, int height, int cellSize = 1) {
        life.setTickSource(fixedTick);
        life.setCellSize(cellSize);
        life.setArea(width, height);
        life.createBoard();  // seeds from whatever the screen shows
        load(empty());
    }
    Grid empty() const { return testing_support::empty(life); }
    Grid shape(int left, int top, Rows rows) const { return testing_support::shape(life, left, top, rows); }
    Grid random(unsigned seed, unsigned percentAlive = 40) const { return testing_support::random(life, seed, percentAlive); }
    void load(const Grid& grid) { testing_support::load(life, grid); }
    Grid snapshot() const { return testing_support::snapshot(life); }
    Grid reference(const Grid& grid, bool spread) const {
        return testing_support::reference(life.getColumns(), life.getRows(), grid, spread);
    }

    Orlivex life;
};

TEST_F(OrlivexBoard, RoundsPartialCellsUpAndStagnatesWhenFewerThanOneHundredthOfTheCellsChange) {
    const struct { int width, height, size, columns, rows, threshold; } cases[] = {
        {1024, 768, 10, 103, 77, 79}, {10, 10, 1, 10, 10, 1}, {11, 9, 1, 11, 9, 0}, {21, 19, 10, 3, 2, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height << " size " << c.size);
        build(c.width, c.height, c.size);
        EXPECT_EQ(c.columns, life.getColumns());
        EXPECT_EQ(c.rows, life.getRows());
        EXPECT_EQ(c.threshold, life.getChangeThreshold());
        EXPECT_EQ(L"column: " + std::to_wstring(c.columns) + L" (must be 0<=column<" + std::to_wstring(c.columns) + L")",
                  ui_test::messageOf<klib::IndexOutOfBoundsException>([&] { life.isAlive(c.columns, 0); }));
        EXPECT_EQ(L"row: -1 (must be 0<=row<" + std::to_wstring(c.rows) + L")",
                  ui_test::messageOf<klib::IndexOutOfBoundsException>([&] { life.setAlive(0, -1, true); }));
        life.nextGeneration(nullptr);  // an empty board changes nothing: stagnant unless the threshold is 0
        EXPECT_EQ(c.threshold > 0, life.isStagnant());
        life.nextGeneration(nullptr);
        EXPECT_EQ(c.threshold > 0, alive(snapshot()) > 0);
    }
}

TEST_F(OrlivexBoard, StagnationGivesExactlyOneSpreadGenerationDrawnFromTheClock) {
    build(200, 200);
    load(shape(20, 20, {"##", "##"}));
    life.nextGeneration(nullptr);
    ASSERT_TRUE(life.isStagnant());

    std::srand(fixedTick());
    const Grid spread = reference(snapshot(), true);
    std::srand(1);  // whatever the generator holds, the spread generation reseeds it
    life.nextGeneration(nullptr);
    EXPECT_FALSE(life.isStagnant());
    ASSERT_EQ(spread, snapshot());

    life.nextGeneration(nullptr);
    EXPECT_EQ(reference(spread, false), snapshot());
}

constexpr COLORREF FIRST_COLOUR = RGB(0x12, 0xC4, 0x7E), SECOND_COLOUR = RGB(0xF0, 0x30, 0x08);

// The window shows the board in colour on black, from its own paint and from the ticks' copies alike.
TEST_F(OrlivexBoard, TheSaverWindowOnScreenShowsTheBoardInItsColourThroughTicksAndAColourChange) {
    life.setTickSource(fixedTick);
    life.setInterval(1000);
    life.setCellSize(3);
    life.setColor(FIRST_COLOUR);
    screensaver::SaverWindow window;
    window.setRenderer(&life);
    window.setVisible(true);
    const HWND handle = window.getHandle();
    const auto painted = [&] { return IsWindowVisible(handle) && !GetUpdateRect(handle, nullptr, FALSE); };
    ASSERT_TRUE(ui_test::pumpUntil(painted, 10000));
    life.suspend();  // the generations are the test's alone
    load(random(5));  // busy whatever the screen seeded
    const int width = window.getWidth();
    // The pixels that do not show the board's cells of 3 x 3 in colour.
    const auto wrongPixels = [&](COLORREF colour) {
        Canvas shown(width, window.getHeight(), RGB(255, 0, 255));
        shown.copyFrom(handle);
        return shown.differences(Canvas(width, window.getHeight(), [&](int x, int y) {
            return life.isAlive(x / 3, y / 3) ? colour : RGB(0, 0, 0);
        }));
    };
    InvalidateRect(handle, nullptr, FALSE);
    UpdateWindow(handle);
    ASSERT_EQ(0, wrongPixels(FIRST_COLOUR)) << "first paint";

    awt::WindowProcedure* const source = &window;
    awt::ActionEvent tick{source, false};
    for (int i = 0; i < 8; ++i) {
        if (i == 4) life.setColor(SECOND_COLOUR);  // all live cells at once, with the tick's copy
        life.actionPerformed(tick);
    }
    EXPECT_EQ(0, wrongPixels(SECOND_COLOUR)) << "after the ticks";
    InvalidateRect(handle, nullptr, FALSE);
    UpdateWindow(handle);
    EXPECT_EQ(0, wrongPixels(SECOND_COLOUR)) << "repainted";
    window.setVisible(false);
}

TEST_F(OrlivexBoard, SettersAcceptTheirRangeAndRejectValuesOutsideWithNameAndNumber) {
    life.setInterval(0);  // both ends are accepted
    life.setInterval(1000);
    EXPECT_EQ(L"interval: -1", ui_test::refusal([&] { life.setInterval(-1); }));
    EXPECT_EQ(L"interval: 1001", ui_test::refusal([&] { life.setInterval(1001); }));
    EXPECT_EQ(1000, life.getInterval());
    EXPECT_EQ(L"size: 0", ui_test::refusal([&] { life.setCellSize(0); }));
    EXPECT_EQ(L"size: 11", ui_test::refusal([&] { life.setCellSize(11); }));
    EXPECT_EQ(2, life.getCellSize());
    life.setCellSize(10);  // without a board only the value is stored
    EXPECT_FALSE(life.hasBoard());
    EXPECT_EQ(L"no board", ui_test::messageOf<klib::IllegalStateException>([&] { life.isAlive(0, 0); }));
}

TEST_F(OrlivexBoard, AnAreaTooLargeForASurfaceFailsWithTheFailingCallAndLeavesNoBoard) {
    life.setCellSize(10);
    life.setArea(200000, 200000);
    EXPECT_EQ(L"::CreateDIBSection() failed", ui_test::messageOf<awt::AWTException>([&] { life.createBoard(); }));
    EXPECT_FALSE(life.hasBoard());
    Canvas canvas(4, 4, RGB(255, 0, 255));
    life.lifeStep(canvas.getDC());  // nothing to draw, nothing drawn
    EXPECT_EQ(RGB(255, 0, 255), canvas.pixel(3, 3));
}

TEST_F(OrlivexBoard, NewCellSizeRebuildsAndReseedsTheBoardButTheSameSizeDoesNothing) {
    // Grey 90 everywhere but the pixel of cell (1, 1) at size 5: the screen shows two colours and is seeded from.
    const ScreenPicture grey90([](int x, int y) { return x == 5 && y == 5 ? RGB(250, 250, 250) : RGB(90, 90, 90); });
    ASSERT_TRUE(grey90.waitUntilShown());
    build(100, 50, 2);
    life.setTickSource(grey90Key);  // a reseed makes every grey 90 cell alive
    life.setCellSize(2);
    EXPECT_EQ(0, alive(snapshot()));
    life.setCellSize(5);
    EXPECT_EQ(20, life.getColumns());
    EXPECT_EQ(10, life.getRows());
    EXPECT_EQ(199, alive(snapshot()));
    EXPECT_FALSE(life.isAlive(1, 1));
}

}  // namespace
