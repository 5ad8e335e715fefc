#include "app/BoardPainter.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <random>
#include <sstream>
#include <string>

#include "app/LifeBoard.h"
#include "awt/DibSurface.h"
#include "awt/OneBitSurface.h"

namespace {

constexpr COLORREF CELL = RGB(0x60, 0x40, 0x80);

// Pixels that the target shows differently from the board, each cell size x size pixels, the right
// and bottom cells cut; the first of them described in where.
int wrongPixels(const awt::DibSurface& target, const LifeBoard& board, int size, std::string& where) {
    GdiFlush();
    int wrong = 0;
    for (int y = 0; y < target.getHeight(); ++y) {
        for (int x = 0; x < target.getWidth(); ++x) {
            const std::uint32_t expected = board.isAlive(x / size, y / size) ? 0x604080u : 0u;
            if ((target.row(y)[x] & 0xFFFFFF) == expected) continue;
            if (wrong++ == 0) {
                std::ostringstream text;
                text << "first at pixel " << x << "," << y << " (cell " << x / size << "," << y / size << ")";
                where = text.str();
            }
        }
    }
    return wrong;
}

class BoardPainterTest : public ::testing::TestWithParam<std::tuple<int, int, int>> {};

// Each generation's changes presented onto what the window had shows the board: whole words of cells
// at every cell size, the last word cut where a row's pixels end before the board's 64-bit words.
TEST_P(BoardPainterTest, ShowsTheBoardAfterAFullPaintEachGenerationAndSingleCells) {
    const auto [width, height, size] = GetParam();
    LifeBoard board((width + size - 1) / size, (height + size - 1) / size);
    std::mt19937 random(static_cast<unsigned>(width * 16 + size));
    for (int r = 0; r < board.getRows(); ++r)
        for (int c = 0; c < board.getColumns(); ++c) board.setAlive(c, r, random() % 100 < 40);
    awt::OneBitSurface surface(width, height, CELL);
    BoardPainter painter(surface, size);
    awt::DibSurface target(width, height);
    std::string where;

    painter.paintAll(board);
    ASSERT_TRUE(surface.present(target.getDC()));
    ASSERT_EQ(0, wrongPixels(target, board, size, where)) << "full paint, " << where;
    for (int generation = 0; generation < 8; ++generation) {
        generation == 5 ? board.spreadStep(&painter) : static_cast<void>(board.lifeStep(&painter));
        ASSERT_TRUE(surface.present(target.getDC()));
        ASSERT_EQ(0, wrongPixels(target, board, size, where)) << "generation " << generation << ", " << where;
    }
    // The last cell of the last row is cut on both sides from cell size 2 on.
    const int lastColumn = board.getColumns() - 1, lastRow = board.getRows() - 1;
    for (const bool alive : {true, false}) {
        for (const int column : {0, 63, 64, lastColumn}) {
            if (column > lastColumn) continue;
            board.setAlive(column, lastRow, alive);
            painter.paintCell(column, lastRow, alive);
        }
        ASSERT_TRUE(surface.present(target.getDC()));
        EXPECT_EQ(0, wrongPixels(target, board, size, where)) << "single cells " << alive << ", " << where;
    }
}

// Widths 63 more than a multiple of 64 cells (191 at size 1, 254 at size 2: 127 columns), 1366 whose
// row of 172 bytes ends inside the board's 176, and cell size 2 far beyond the first word.
INSTANTIATE_TEST_SUITE_P(Widths, BoardPainterTest,
                         ::testing::Values(std::make_tuple(191, 9, 1), std::make_tuple(1366, 7, 1),
                                           std::make_tuple(254, 9, 2), std::make_tuple(1366, 9, 2),
                                           std::make_tuple(1363, 11, 3), std::make_tuple(700, 13, 4),
                                           std::make_tuple(1366, 12, 5), std::make_tuple(997, 20, 7),
                                           std::make_tuple(1366, 19, 10)));

}  // namespace
