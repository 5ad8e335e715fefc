// Cells of the board that no monitor shows are off-screen: dead like the border, whatever happens.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/LifeBoard.h"

namespace {

// A 12 x 8 board of which the left 6 x 4 cells and the right half are shown (an L-shaped screen):
// the lower left quarter is off-screen.
struct OnScreenTest : ::testing::Test {
    void SetUp() override { board.setOnScreen({{0, 0, 6, 4}, {6, 0, 12, 8}}); }
    static bool offScreen(int column, int row) { return column < 6 && row >= 4; }
    void expectOffScreenDead(const char* after) {
        for (int row = 0; row < 8; ++row)
            for (int column = 0; column < 12; ++column)
                if (offScreen(column, row)) {
                    ASSERT_FALSE(board.isAlive(column, row)) << after << " " << column << "," << row;
                }
    }
    LifeBoard board{12, 8};
};

TEST_F(OnScreenTest, OffScreenCellsStayDeadThroughOrdinaryAndSpreadGenerations) {
    // A blinker along the edge would turn into the off-screen cell (4, 4) in the next generation.
    for (int column = 3; column <= 5; ++column) board.setAlive(column, 3, true);
    board.lifeStep(nullptr);
    EXPECT_TRUE(board.isAlive(4, 2));
    EXPECT_TRUE(board.isAlive(4, 3));
    expectOffScreenDead("life step");
    std::srand(1);
    // Spreading reaches every shown cell within 11 steps, but none off-screen.
    for (int i = 0; i < 12; ++i) board.spreadStep(nullptr);
    expectOffScreenDead("spread steps");
    EXPECT_TRUE(board.isAlive(11, 7)) << "the shown cells fill up";
    EXPECT_TRUE(board.isAlive(0, 0));
}

TEST_F(OnScreenTest, AnAreaCoveringTheGridPutsEveryCellOnScreenAgain) {
    board.setOnScreen({{-1, -1, 13, 9}});
    std::srand(1);
    for (int i = 0; i < 5; ++i) board.spreadStep(nullptr);
    EXPECT_TRUE(board.isAlive(0, 7));
}

}  // namespace
