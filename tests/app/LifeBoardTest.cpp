#include "app/Orlivex.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <random>
#include <utility>
#include <vector>

#include "Canvas.h"

using testing_support::Canvas;

namespace {

using Grid = std::vector<std::vector<int>>;  // [row][column], 1 alive
using Pairs = std::initializer_list<std::pair<int, int>>;

DWORD WINAPI fixedTick() { return 12345; }

// The ordinary rule written plainly, with explicit bounds for the dead border.
Grid nextGeneration(const Grid& grid) {
    const int rows = static_cast<int>(grid.size());
    const int columns = rows == 0 ? 0 : static_cast<int>(grid[0].size());
    Grid next(rows, std::vector<int>(columns, 0));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            int n = 0;
            for (int dr = -1; dr <= 1; ++dr) {
                for (int dc = -1; dc <= 1; ++dc) {
                    const int rr = r + dr, cc = c + dc;
                    if ((dr != 0 || dc != 0) && rr >= 0 && rr < rows && cc >= 0 && cc < columns) n += grid[rr][cc];
                }
            }
            next[r][c] = n == 3 || (grid[r][c] && n == 2);
        }
    }
    return next;
}

int countChanges(const Grid& a, const Grid& b) {
    int changes = 0;
    for (size_t r = 0; r < a.size(); ++r) {
        for (size_t c = 0; c < a[r].size(); ++c) changes += a[r][c] != b[r][c];
    }
    return changes;
}

int countAlive(const Grid& grid) {
    int alive = 0;
    for (const auto& row : grid) {
        for (int cell : row) alive += cell;
    }
    return alive;
}

class LifeBoard : public ::testing::Test {
protected:
    // An empty board over width x height pixels.
    void build(int width, int height, int cellSize = 1) {
        life.setTickSource(fixedTick);
        life.setCellSize(cellSize);
        life.setArea(width, height);
        life.createBoard();  // seeds from whatever the screen shows; cleared below
        fill(Grid(life.getRows(), std::vector<int>(life.getColumns(), 0)));
    }

    void fill(const Grid& grid) {
        for (int r = 0; r < life.getRows(); ++r) {
            for (int c = 0; c < life.getColumns(); ++c) life.setAlive(c, r, grid[r][c] != 0);
        }
    }

    void randomFill(unsigned seed, int percent) {
        std::mt19937 random(seed);
        for (int r = 0; r < life.getRows(); ++r) {
            for (int c = 0; c < life.getColumns(); ++c) life.setAlive(c, r, static_cast<int>(random() % 100) < percent);
        }
    }

    // Rows of '#' (alive) and '.' with their top-left cell at (left, top).
    void draw(int left, int top, std::initializer_list<const char*> rows) {
        int r = top;
        for (const char* row : rows) {
            for (int c = 0; row[c] != '\0'; ++c) life.setAlive(left + c, r, row[c] == '#');
            ++r;
        }
    }

    Grid snapshot() const {
        Grid grid(life.getRows(), std::vector<int>(life.getColumns(), 0));
        for (int r = 0; r < life.getRows(); ++r) {
            for (int c = 0; c < life.getColumns(); ++c) grid[r][c] = life.isAlive(c, r);
        }
        return grid;
    }

    Orlivex life;
};

TEST_F(LifeBoard, RoundsPartialCellsUpAndTakesOneHundredthOfTheCellsAsThreshold) {
    build(1024, 768, 10);
    EXPECT_EQ(103, life.getColumns());
    EXPECT_EQ(77, life.getRows());
    EXPECT_EQ(79, life.getChangeThreshold());

    build(30, 20, 1);
    EXPECT_EQ(30, life.getColumns());
    EXPECT_EQ(20, life.getRows());
    EXPECT_EQ(6, life.getChangeThreshold());
}

TEST_F(LifeBoard, BlinkerTurnsEveryGenerationChangingFourCells) {
    build(20, 20);
    draw(4, 5, {"###"});
    const Grid horizontal = snapshot();
    EXPECT_EQ(4, life.lifeStep(nullptr));
    EXPECT_TRUE(life.isAlive(5, 4) && life.isAlive(5, 5) && life.isAlive(5, 6));
    EXPECT_EQ(3, countAlive(snapshot()));
    EXPECT_FALSE(life.isStagnant());  // 4 changes, threshold 4
    EXPECT_EQ(4, life.lifeStep(nullptr));
    EXPECT_EQ(horizontal, snapshot());
}

TEST_F(LifeBoard, GliderMovesOneCellDiagonallyInFourGenerations) {
    build(16, 16);
    draw(2, 2, {".#.", "..#", "###"});
    Grid expected(16, std::vector<int>(16, 0));
    for (auto [c, r] : Pairs{{4, 3}, {5, 4}, {3, 5}, {4, 5}, {5, 5}}) expected[r][c] = 1;
    for (int i = 0; i < 4; ++i) life.lifeStep(nullptr);
    EXPECT_EQ(expected, snapshot());
}

TEST_F(LifeBoard, CellsOnTheEdgeCountTheBorderAsDeadAndNothingWraps) {
    build(8, 8);
    draw(0, 0, {"########"});
    life.lifeStep(nullptr);
    Grid expected(8, std::vector<int>(8, 0));
    for (int c = 1; c < 7; ++c) expected[0][c] = expected[1][c] = 1;
    EXPECT_EQ(expected, snapshot());  // the bottom row, below the border, stays empty
}

TEST_F(LifeBoard, FollowsTheRuleAndCountsTheChangesOnRandomBoardsOfAnySize) {
    for (auto [width, height] : Pairs{{1, 1}, {9, 7}, {37, 23}, {70, 3}, {3, 41}, {203, 17}}) {
        SCOPED_TRACE(::testing::Message() << width << "x" << height);
        build(width, height);
        randomFill(static_cast<unsigned>(width * 1000 + height), 40);
        for (int generation = 0; generation < 12; ++generation) {
            const Grid before = snapshot();
            const Grid expected = nextGeneration(before);
            const int changes = life.lifeStep(nullptr);
            ASSERT_EQ(expected, snapshot()) << "generation " << generation;
            ASSERT_EQ(countChanges(before, expected), changes);
        }
    }
}

TEST_F(LifeBoard, UnderOneHundredCellsNeverStagnatesNorSpreads) {
    build(11, 9);
    ASSERT_EQ(0, life.getChangeThreshold());
    for (int i = 0; i < 5; ++i) {
        life.nextGeneration(nullptr);
        EXPECT_FALSE(life.isStagnant());
    }
    EXPECT_EQ(0, countAlive(snapshot()));
}

TEST_F(LifeBoard, EmptyBoardOfOneHundredCellsBecomesStagnant) {
    build(10, 10);
    ASSERT_EQ(1, life.getChangeThreshold());
    EXPECT_EQ(0, life.lifeStep(nullptr));
    EXPECT_TRUE(life.isStagnant());
}

TEST_F(LifeBoard, LoneBlinkerUnderTheThresholdMakesTheNextTickSpread) {
    build(30, 30);  // threshold 9
    draw(10, 10, {"###"});
    life.nextGeneration(nullptr);
    ASSERT_TRUE(life.isStagnant());
    const int before = countAlive(snapshot());
    life.nextGeneration(nullptr);
    EXPECT_FALSE(life.isStagnant());
    EXPECT_GT(countAlive(snapshot()), before + 8);  // grown by its neighbours and random births
}

TEST_F(LifeBoard, StagnationGivesExactlyOneSpreadGenerationThenOrdinaryOnesAgain) {
    build(40, 40);
    draw(20, 20, {"##", "##"});
    life.nextGeneration(nullptr);
    ASSERT_TRUE(life.isStagnant());

    life.nextGeneration(nullptr);
    EXPECT_FALSE(life.isStagnant());
    // The block grew into its orthogonal neighbours, but not into its diagonal ones by that rule.
    for (auto [c, r] : Pairs{{20, 19}, {21, 19}, {19, 20}, {22, 20}, {19, 21}, {22, 21}, {20, 22}, {21, 22}}) {
        EXPECT_TRUE(life.isAlive(c, r)) << c << "," << r;
    }

    const Grid spread = snapshot();
    life.nextGeneration(nullptr);
    EXPECT_EQ(nextGeneration(spread), snapshot());
}

TEST_F(LifeBoard, SpreadDrawsOneRandomNumberPerIsolatedDeadCellInWalkOrder) {
    build(40, 30);
    draw(5, 5, {"##", "##"});
    draw(30, 20, {"#"});
    const Grid source = snapshot();
    const int rows = life.getRows();
    const int columns = life.getColumns();

    std::srand(fixedTick());
    Grid expected(rows, std::vector<int>(columns, 0));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const bool neighbour = (r > 0 && source[r - 1][c]) || (c > 0 && source[r][c - 1]) ||
                                   (c + 1 < columns && source[r][c + 1]) || (r + 1 < rows && source[r + 1][c]);
            expected[r][c] = source[r][c] || neighbour || (std::rand() & 15) == 0;
        }
    }
    std::srand(1);  // whatever the generator held before, spreadStep reseeds it
    life.spreadStep(nullptr);
    EXPECT_EQ(expected, snapshot());
}

TEST_F(LifeBoard, SpreadOnAnEmptyBoardBringsAboutOneCellInSixteenToLife) {
    build(200, 200);
    life.spreadStep(nullptr);
    const int alive = countAlive(snapshot());
    EXPECT_GT(alive, 40000 / 16 * 8 / 10);
    EXPECT_LT(alive, 40000 / 16 * 12 / 10);
}

TEST_F(LifeBoard, PaintFillsTheAreaBlackAndLiveCellsInFullPastTheEdge) {
    build(25, 25, 10);
    draw(0, 0, {"#..", "...", "..#"});
    Canvas canvas(40, 40, RGB(255, 0, 255));
    life.paint(canvas.dc());
    EXPECT_EQ(life.getColor(), canvas.pixel(0, 0));
    EXPECT_EQ(life.getColor(), canvas.pixel(9, 9));
    EXPECT_EQ(RGB(0, 0, 0), canvas.pixel(10, 0));
    EXPECT_EQ(RGB(0, 0, 0), canvas.pixel(24, 19));
    EXPECT_EQ(life.getColor(), canvas.pixel(29, 29));     // the partial cell is painted whole
    EXPECT_EQ(RGB(255, 0, 255), canvas.pixel(29, 5));     // background only inside the area
    EXPECT_EQ(RGB(255, 0, 255), canvas.pixel(30, 30));
}

TEST_F(LifeBoard, GenerationPaintsDeathsBlackAndBirthsInTheCellColour) {
    build(60, 60, 4);
    draw(5, 5, {"###"});
    Canvas canvas(60, 60, RGB(255, 0, 255));
    life.paint(canvas.dc());
    life.lifeStep(canvas.dc());
    EXPECT_EQ(RGB(0, 0, 0), canvas.pixel(5 * 4, 5 * 4));          // the left end died
    EXPECT_EQ(life.getColor(), canvas.pixel(6 * 4 + 3, 4 * 4));   // born above the middle
    EXPECT_EQ(life.getColor(), canvas.pixel(6 * 4, 6 * 4 + 3));   // born below the middle
}

class IncrementalPainting : public LifeBoard, public ::testing::WithParamInterface<int> {};

TEST_P(IncrementalPainting, EqualsAFullRepaintAfterOrdinaryAndSpreadGenerations) {
    const int width = 97;
    const int height = 61;
    build(width, height, GetParam());
    randomFill(static_cast<unsigned>(GetParam()), 35);
    life.setColor(RGB(0x12, 0xC4, 0x7E));
    Canvas incremental(width, height, RGB(255, 0, 255));
    life.paint(incremental.dc());
    const Grid first = snapshot();
    for (int tick = 0; tick < 40; ++tick) {
        if (tick % 9 == 4) {
            life.spreadStep(incremental.dc());
        } else {
            life.nextGeneration(incremental.dc());
        }
    }
    ASSERT_NE(first, snapshot());
    Canvas full(width, height, RGB(0, 0, 255));
    life.paint(full.dc());
    EXPECT_EQ(0, incremental.differences(full));
}

INSTANTIATE_TEST_SUITE_P(CellSizes, IncrementalPainting, ::testing::Values(1, 2, 3, 7, 10));

}  // namespace
