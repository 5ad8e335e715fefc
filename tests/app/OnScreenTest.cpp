// Cells of the board that no monitor shows are off-screen: dead like the border, whatever happens.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/Canvas.h"
#include "app/LifeBoard.h"
#include "app/Orlivex.h"
#include "tests/support/ComponentTestSupport.h"

namespace {

// A 140 x 8 board of which the top half and the lower left 70 x 4 cells are shown (an L-shaped
// screen): the lower right is off-screen, from the middle of the second word of each row on.
struct OnScreenTest : ::testing::Test {
    void SetUp() override { board.setOnScreen({{0, 0, 140, 4}, {0, 4, 70, 8}}); }
    static bool offScreen(int column, int row) { return column >= 70 && row >= 4; }
    void expectOffScreenDead(const char* after) {
        for (int row = 0; row < 8; ++row)
            for (int column = 0; column < 140; ++column)
                if (offScreen(column, row)) {
                    ASSERT_FALSE(board.isAlive(column, row)) << after << " " << column << "," << row;
                }
    }
    LifeBoard board{140, 8};
};

TEST_F(OnScreenTest, OffScreenCellsStayDeadThroughOrdinaryAndSpreadGenerations) {
    // A blinker along the edge would turn into the off-screen cell (71, 4) in the next generation.
    for (int column = 70; column <= 72; ++column) board.setAlive(column, 3, true);
    board.lifeStep(nullptr);
    EXPECT_TRUE(board.isAlive(71, 2));
    EXPECT_TRUE(board.isAlive(71, 3));
    expectOffScreenDead("life step");
    std::srand(1);
    // Spreading fills the shown cells, but none off-screen.
    for (int i = 0; i < 12; ++i) board.spreadStep(nullptr);
    expectOffScreenDead("spread steps");
    EXPECT_TRUE(board.isAlive(69, 7)) << "the shown cells fill up";
    EXPECT_TRUE(board.isAlive(139, 3));
}

DWORD WINAPI grey90Key() { return 0x47 << 2; }

// Monitor rectangles in screen coordinates against the cells of a renderer seeded from a screen of
// greys 90 and 91 scattered (two colours, so the screen is seeded from), with a key that brings both to life.
class ShownAreas : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(grey90.waitUntilShown());
        life.setTickSource(grey90Key);
        life.setInterval(1000);
    }
    // After two spread generations exactly the cells that an area covers at least in part are alive:
    // seeding brings every shown cell with a readable corner to life and the spreads their shown
    // neighbours, out to a cell in a shown corner. Empty when so, else the count and the first wrong cell.
    std::string wrongCells(const std::vector<RECT>& areas, int originX, int originY, int cellSize) {
        life.spreadStep(nullptr);
        life.spreadStep(nullptr);
        int wrong = 0;
        std::string first;
        for (int row = 0; row < life.getRows(); ++row) {
            for (int column = 0; column < life.getColumns(); ++column) {
                const int x = originX + column * cellSize, y = originY + row * cellSize;
                const RECT cell{x, y, x + cellSize, y + cellSize};
                bool shown = false;
                for (const RECT& area : areas) {
                    RECT both;
                    shown = shown || IntersectRect(&both, &cell, &area);
                }
                if (life.isAlive(column, row) != shown && wrong++ == 0) {
                    first = " first (" + std::to_string(column) + "," + std::to_string(row) + ")";
                }
            }
        }
        return wrong == 0 ? std::string() : std::to_string(wrong) + " cells wrong of " +
                                                std::to_string(life.getColumns() * life.getRows()) + first;
    }

    // Held by pointer: fixtures must not have destructors that may throw.
    std::unique_ptr<testing_support::ScreenPicture> pictureHolder =
        std::make_unique<testing_support::ScreenPicture>(
            [](int x, int y) { return (x * 31 + y * 17) % 5 == 0 ? RGB(91, 91, 91) : RGB(90, 90, 90); });
    const testing_support::ScreenPicture& grey90 = *pictureHolder;
    Orlivex life;
};

// The saver window covers the virtual screen: a top-level target hanging over the screen's top-left
// corner stands in for it, so that its cells past the monitor are off-screen. The cell areas' arithmetic
// is CellAreas' table test, the board's mask across its words OnScreenTest's.
TEST_F(ShownAreas, ATopLevelTargetTakesTheMonitorsAsItsShownAreas) {
    if (GetSystemMetrics(SM_CMONITORS) != 1) {
        GTEST_SKIP() << "the grey picture covers the primary monitor only";
    }
    life.setCellSize(3);
    ui_test::TestWindow window;  // never shown: it would hide the picture it seeds from
    window.setBounds(-70, -20, grey90.width + 140, 60);
    window.addNotify();
    ASSERT_EQ(-70, window.getX());
    life.start(&window, window.getHandle());
    const std::string wrong = wrongCells({{0, 0, grey90.width, grey90.height}}, -70, -20, 3);
    life.stop(&window);
    EXPECT_EQ("", wrong);
}

}  // namespace
